// Every question, message box, file dialog and printer dialog of the program goes through a
// Prompter, so that tests can read the exact texts and answer them.
#pragma once

#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

class Prompter {
public:
    enum class Icon { None, Information, Question, Exclamation, Critical };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
    // Answers, with the values the program compares them with.
    enum Answer { Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

    struct Message {
        QString caption;
        QString text; // lines separated by "\n"
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        int defaultButton = 1; // 1 = the first button of the row, 2 = the second …
    };

    virtual ~Prompter() = default;

    // A message box; returns the Answer of the button pressed (Cancel / No when closed).
    virtual int message(QWidget* owner, const Message& message) = 0;

    // File dialogs: the chosen path, or "" when cancelled. filter as QFileDialog takes it.
    virtual QString openFileName(QWidget* owner, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* owner, const QString& caption, const QString& path,
                                 const QString& filter) = 0;
    // A save dialog offering filters (each as "Name(*.EXT)"), filters[selected] chosen at the
    // start, asking before it replaces a file: the chosen path, or "" when cancelled.
    virtual QString saveFileAs(QWidget* owner, const QString& caption, const QString& path,
                               const QStringList& filters, int selected) {
        (void)selected;
        return saveFileName(owner, caption, path, filters.join(QStringLiteral(";;")));
    }
    // A folder dialog: the chosen folder, or "" when cancelled.
    virtual QString folder(QWidget* owner, const QString& caption, const QString& start) = 0;

    // The printer set-up dialog on the printer: true when the user confirmed it.
    virtual bool printerSetup(QWidget* owner, QPrinter& printer) = 0;
};
