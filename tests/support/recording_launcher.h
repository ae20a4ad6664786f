#pragma once

// A Launcher for tests: records the programs and arguments it was asked to start.
#include "launcher.h"

#include <vector>

class RecordingLauncher : public Launcher {
public:
    struct Start {
        QString program;
        QStringList arguments;
    };
    std::vector<Start> starts;
    bool succeed = true;
    bool start(const QString& program, const QStringList& arguments) override {
        starts.push_back({program, arguments});
        return succeed;
    }
};
