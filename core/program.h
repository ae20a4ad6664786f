// The program-wide state of the main program: settings, folders, the folder history, the
// hand-over values of the dialogs, and the Prompter and Launcher every part asks. What the window
// is browsing belongs to browse/, which keeps it in a BrowsingState the Program only refers to.
// Created in main() and passed by reference; tests create as many as they like.
#pragma once

#include "launcher.h"
#include "prompter.h"
#include "usr_settings.h"

#include <QString>
#include <array>
#include <memory>

class AcquisitionLibrary;
struct BrowsingState;
class QPrinter;

class Program {
public:
    Program(Prompter& prompter, Launcher& launcher, BrowsingState& browse)
        : prompter(prompter), launcher(launcher), browse(browse) {}
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // A message box with the program's title and an OK button, owned by owner.
    void tell(QWidget* owner, const QString& text, Prompter::Icon icon = Prompter::Icon::None) {
        Prompter::Message message;
        message.caption = APP_TITLE;
        message.text = text;
        message.icon = icon;
        prompter.message(owner, message);
    }

    Prompter& prompter;
    Launcher& launcher;
    BrowsingState& browse; // holds DISP_DIR
    // The acquisition library PMXACQ (owned by main, or by a test); null when there is none.
    AcquisitionLibrary* acquisitionLibrary = nullptr;

    USR_SETTINGS settings;
    QString PROGRAM_DIR;  // ends in "/"
    QString SETTINGS_DIR; // where ORVA.CNF is kept: PROGRAM_DIR, or the user's configuration
    QString APP_TITLE = QStringLiteral("Orvana");
    QString APP_VERSION = QStringLiteral("Version 5.5.0 R55(Snaplet Ready)");
    QString TODAY_STR; // MMDDYYYY
    QString ACQ_DIR;   // ends in "/"
    // The thumbnail cache shared with other desktop programs; "" keeps none (main sets the
    // user's).
    QString sharedThumbnails;

    // The folder history: slot 0 the most recent; slots 0..9 are saved as DD00..DD09.
    std::array<QString, 11> FOLDER_HISTORY;
    bool HISTORY_BUSY = false;

    // Hand-over values: the caller sets them, then opens the dialog.
    QString PRINT_PATH;
    QString ADJUST_PATH;
    QString ADJUST_NAME;
    QString RENAME_NAME;

    // The program's one printer, made on first use (see programPrinter); the printer set-up
    // changes it for both print dialogs.
    std::shared_ptr<QPrinter> printer;
};
