// What the main window is browsing: the display folder, the names on the current catalogue page,
// the file of the single view and the flags of the refresh. One instance, in the Program.
#pragma once

#include "winport.h"

#include <QString>
#include <array>

struct BrowsingState {
    static constexpr int kSlots = 13; // catalogue slots 0..12; cells use 0..11

    QString DISP_DIR; // ends in "/"
    std::array<QString, kSlots> PAGE_NAME;
    std::array<QString, kSlots> PAGE_DATE; // "DUMMY" matches no file: the cell is drawn again
    std::array<HGLOBAL, kSlots> PAGE_IMAGE{};
    QString PAGE_FIRST;
    QString PAGE_LAST;
    QString PAGE_ANCHOR;
    QString CAT_CURRENT;
    QString ONE_NAME;
    QString ONE_NEIGHBOUR;
    bool CAT_SCROLL_LOCK = false;
    bool ONE_SCROLL_LOCK = false;
    bool CAT_BUSY = false;
    bool CAT_STOP = false;
    bool CAT_STALE = false;
    HGLOBAL WORK_IMAGE = nullptr;
};
