// Every external program the main program starts goes through a Launcher, so that tests can
// read the command lines.
#pragma once

#include <QString>
#include <QStringList>

class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts program with its arguments without waiting; false when it could not be started.
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
};

// Starts programs as detached processes.
class ProcessLauncher : public Launcher {
public:
    bool start(const QString& program, const QStringList& arguments) override;
};
