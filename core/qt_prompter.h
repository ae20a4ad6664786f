// The Prompter of the running program: Qt's message boxes and dialogs.
#pragma once

#include "prompter.h"

class QtPrompter : public Prompter {
public:
    int message(QWidget* owner, const Message& message) override;
    QString openFileName(QWidget* owner, const QString& caption, const QString& folder,
                         const QString& filter) override;
    QString saveFileName(QWidget* owner, const QString& caption, const QString& path,
                         const QString& filter) override;
    QString saveFileAs(QWidget* owner, const QString& caption, const QString& path,
                       const QStringList& filters, int selected) override;
    QString folder(QWidget* owner, const QString& caption, const QString& start) override;
    bool printerSetup(QWidget* owner, QPrinter& printer) override;
};
