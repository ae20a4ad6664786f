// A Prompter for tests: records every request with its exact texts and answers from a script.
#pragma once

#include "prompter.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class ScriptedPrompter : public Prompter {
public:
    struct Request {
        QString kind; // "message", "open", "save", "folder", "printer"
        Message message;
        QString caption;
        QString start;
    };

    // Answers given in turn; when the script runs out, messages get their default button's
    // answer and dialogs are cancelled.
    std::deque<int> answers;
    std::deque<QString> paths;
    std::vector<Request> requests;
    // Called while a file or folder dialog is open, before it answers.
    std::function<void()> whileAsked;
    // The filters and the first choice of the last saveFileAs.
    QStringList saveFilters;
    int saveFilter = -1;

    // The texts of the message boxes shown, in order.
    QStringList messages() const {
        QStringList texts;
        for (const Request& request : requests) {
            if (request.kind == QLatin1String("message")) {
                texts << request.message.text;
            }
        }
        return texts;
    }

    int message(QWidget*, const Message& m) override {
        requests.push_back({"message", m, {}, {}});
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return defaultAnswer(m);
    }
    QString openFileName(QWidget*, const QString& caption, const QString& folder,
                         const QString&) override {
        return nextPath("open", caption, folder);
    }
    QString saveFileName(QWidget*, const QString& caption, const QString& path,
                         const QString&) override {
        return nextPath("save", caption, path);
    }
    QString saveFileAs(QWidget*, const QString& caption, const QString& path,
                       const QStringList& filters, int selected) override {
        saveFilters = filters;
        saveFilter = selected;
        return nextPath("save", caption, path);
    }
    QString folder(QWidget*, const QString& caption, const QString& start) override {
        return nextPath("folder", caption, start);
    }
    bool printerSetup(QWidget*, QPrinter&) override {
        requests.push_back({"printer", {}, {}, {}});
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer == Ok;
        }
        return false;
    }

    static int defaultAnswer(const Message& m) {
        switch (m.buttons) {
        case Buttons::Ok:
            return Ok;
        case Buttons::OkCancel:
            return m.defaultButton == 2 ? Cancel : Ok;
        case Buttons::YesNo:
            return m.defaultButton == 2 ? No : Yes;
        case Buttons::YesNoCancel:
            return m.defaultButton == 3 ? Cancel : m.defaultButton == 2 ? No : Yes;
        case Buttons::RetryCancel:
            return m.defaultButton == 2 ? Cancel : Retry;
        }
        return Ok;
    }

private:
    QString nextPath(const char* kind, const QString& caption, const QString& start) {
        requests.push_back({kind, {}, caption, start});
        if (whileAsked) {
            whileAsked(); // what happens while the user looks at the dialog
        }
        if (paths.empty()) {
            return {};
        }
        QString path = paths.front();
        paths.pop_front();
        return path;
    }
};
