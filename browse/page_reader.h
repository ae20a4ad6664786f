// Chooses what the two views show: the names of the catalogue page and the file of the single
// view, from a fresh listing of the display folder. Sets the count label and the two scroll bars.
#pragma once

#include "folder_list.h"

#include <QString>
#include <QStringList>

class BrowseView;
class Program;
struct USR_SETTINGS;

class PageReader {
public:
    PageReader(Program& program, BrowseView& view) : program_(program), view_(view) {}

    // Fills PAGE_NAME, PAGE_DATE, PAGE_FIRST and PAGE_LAST for direction 1 (next page), -1
    // (previous page) or 0 (the page from PAGE_ANCHOR). False when the folder could not be
    // listed (PAGE_NAME is then empty and nothing else changed).
    bool READ_CATALOGUE_PAGE(int direction);
    // Sets ONE_NAME and ONE_NEIGHBOUR for direction 1 (next file), -1 (previous file) or 0 (the
    // file ONE_NAME). False when the folder could not be listed (nothing changed).
    bool READ_SINGLE_POSITION(int direction);

    // The message box about a folder that cannot be listed.
    void FOLDER_READ_ERROR(int errorNumber, const QString& reason);

    // The names the next READ_CATALOGUE_PAGE(direction) would put on the page, from the last
    // listing (for reading their pictures ahead); empty when no page has been read.
    QStringList namesAhead(int direction) const;

    // The listing of the last read (names by position, for the scroll bars).
    const FolderList& list() const { return list_; }
    // Whether the last catalogue page left DSP8_SCR usable (more files than cells).
    bool catalogueBarUsable() const { return catalogueBarUsable_; }

    // CMTT as a cell count, 1..12.
    static int cellsPerPage(const USR_SETTINGS& settings);

private:
    // The first steps of both readers: list DISP_DIR, report a failure, set PTOTAL. Returns the
    // file count, or -1 when the folder could not be listed.
    int listFolder();
    // The listing position of the first name on the page READ_CATALOGUE_PAGE(direction) reads.
    int firstOfPage(int direction) const;

    Program& program_;
    BrowseView& view_;
    FolderList list_;
    bool catalogueBarUsable_ = true;
};
