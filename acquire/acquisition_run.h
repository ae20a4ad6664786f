// The acquisition run: pages from the TWAIN source through the acquisition library and/or files
// moved out of the watched source folder, each given the next automatic name in the acquisition
// folder, then the folder shown in the main window on the first new file.
#pragma once

#include "winport.h"

#include <QString>
#include <QStringList>
#include <cstdint>

class AcquisitionLibrary;
class DisplayRefresh;
class KeptPages;
class PageStore;
class Program;
class QComboBox;

class AcquisitionRun {
public:
    // What the run needs of the main window; any part may be missing (null) in tests.
    struct Window {
        HWND handle = nullptr;             // owner of the source's window
        QComboBox* folderBox = nullptr;    // Combo1, refilled with the folder history
        DisplayRefresh* refresh = nullptr; // shows the acquisition folder afterwards
    };

    // How a run ended.
    enum class Outcome {
        Busy,         // another run is still going on (the source's window is open)
        NoNameLeft,   // the acquisition folder has no automatic name left
        BadPrefix,    // the prefix cannot begin a file name: nothing was scanned
        NoFolder,     // the acquisition folder cannot be made or written: nothing was scanned
        FolderBusy,   // another program is acquiring into the folder: nothing was scanned
        NothingFound, // no page scanned (TWAIN only) or no file in the source folder (move only)
        Shown,        // the final steps ran: the acquisition folder is the display folder
    };

    AcquisitionRun(Program& program, AcquisitionLibrary* library, Window window);

    // The whole run. A run started while another is waiting for its source (the library keeps
    // the window's events flowing) does nothing.
    Outcome RUN_ACQUISITION();

    // Every page of the default source as page files baseName.000, .001 …; the page count
    // (0 without a library).
    int16_t ACQUIRE_PAGES(const QString& baseName);

    // The first file (name without folder) stored by the last step that stored files.
    const QString& firstNewFile() const { return firstNewFile_; }

private:
    void storePages(PageStore& store, int count);
    QStringList libraryKeptPages() const;
    bool moveFromSourceFolder(PageStore& store);
    void finish();

    Program& program_;
    AcquisitionLibrary* library_;
    Window window_;
    QString runFolder_;
    int64_t lastNumber_ = 0;
    int64_t nextNumber_ = 0;
    QString firstNewFile_;
};
