// The acquisition library PMXACQ, bound by name from the program folder on first use. Its calls
// run TWAIN conversations with their own message loop; the host's event loop and message boxes
// are registered with winport before the first one.
#pragma once

#include "winport.h"

#include <QString>
#include <memory>

class Prompter;

class AcquisitionLibrary {
public:
    AcquisitionLibrary(QString programDir, Prompter& prompter);
    virtual ~AcquisitionLibrary();
    AcquisitionLibrary(const AcquisitionLibrary&) = delete;
    AcquisitionLibrary& operator=(const AcquisitionLibrary&) = delete;

    // Loads the library and binds its calls once; false when the library or a call is missing.
    bool load();

    // The comma list of TWAIN sources, the default source first; false when it could not be read.
    virtual bool sourceList(HWND window, QString& list);
    // The manager's source chooser; true when the user chose a source.
    virtual bool selectSource(HWND window);
    // Every page of the default source into "<baseName>.000" …; the number of page files.
    virtual int scanPages(HWND window, const QString& baseName);

    // The first element of a source list: the default source's name.
    static QString defaultSource(const QString& list);

private:
    struct Bound;
    QString programDir_;
    Prompter& prompter_;
    std::unique_ptr<Bound> bound_;
    bool tried_ = false;
};
