// The help window: the help file of the program folder in a browser window of its own. The main
// window opens it at its contents and closes it when the program ends.
#pragma once

#include <QTextBrowser>

class HelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the file from its top; false (and nothing shown) when the file cannot be read.
    bool showContents(const QString& path);
    // Closes the window; the next showContents opens it again.
    void quit();

    static constexpr const char* fileName = "ORVAHELP.html";
    // The help file of programDir in the program's language, or fileName when it has none.
    static QString pathIn(const QString& programDir);
};
