// What the view shows after another part of the program changed the display folder or a file of
// it: the one place for those rules. Each lists the folder afresh through the refresh of the view
// in use.
#include "browsing_state.h"
#include "display_refresh.h"
#include "file_system.h"
#include "program.h"

void DisplayRefresh::folderChanged(const QString& folder, const QString& firstFile) {
    BrowsingState& state = program_.browse;
    if (folder != state.DISP_DIR) {
        // The old folder's current file is not in this one (a file of the same name would be
        // another file), and its pictures are not this folder's.
        state.CAT_CURRENT.clear();
        state.PAGE_NAME.fill(QString());
    }
    state.DISP_DIR = folder;
    state.PAGE_FIRST.clear();
    state.PAGE_LAST.clear();
    state.PAGE_ANCHOR = firstFile;
    if (program_.settings.DSPM == 2) {
        state.ONE_NAME = firstFile;
        REFRESH_SINGLE(0);
    } else {
        REFRESH_CATALOGUE(0);
    }
}

void DisplayRefresh::forgetPictures() {
    for (QString& date : program_.browse.PAGE_DATE) {
        date = QStringLiteral("DUMMY"); // a date no file has
    }
}

void DisplayRefresh::fileLeft(const QString& name, int cell) {
    BrowsingState& state = program_.browse;
    // A current file that is gone is current no more: the menu's delete and rename would work
    // on a name the folder no longer has.
    if (state.CAT_CURRENT == name && !file_system::exists(state.DISP_DIR + name)) {
        state.CAT_CURRENT.clear();
    }
    if (program_.settings.DSPM == 2) {
        if (state.ONE_NAME == name) {
            state.CAT_CURRENT.clear();
        }
        state.ONE_NAME = state.ONE_NEIGHBOUR;
        REFRESH_SINGLE(0);
        state.CAT_STALE = true;
    } else {
        state.PAGE_ANCHOR = cell == 0 ? state.PAGE_NAME[1] : state.PAGE_NAME[0];
        REFRESH_CATALOGUE(0);
    }
}

void DisplayRefresh::pictureDropped() {
    program_.browse.CAT_CURRENT.clear();
}

void DisplayRefresh::fileDeleted(const QString& name) {
    // The menu works on CAT_CURRENT, which need not be the file on show, so the single view is
    // not moved on to a neighbour of its own file: it is read again from the folder's first
    // file, and the page is anchored by the deleted name rather than by a dragged cell.
    BrowsingState& state = program_.browse;
    if (program_.settings.DSPM == 2) {
        state.ONE_NAME.clear();
        REFRESH_SINGLE(0);
    } else {
        state.PAGE_ANCHOR = state.PAGE_NAME[0] == name ? state.PAGE_NAME[1] : state.PAGE_NAME[0];
        REFRESH_CATALOGUE(0);
    }
    state.CAT_CURRENT.clear();
}

void DisplayRefresh::fileRenamed(const QString& oldName, const QString& newName) {
    BrowsingState& state = program_.browse;
    if (program_.settings.DSPM == 2) {
        state.ONE_NAME = newName;
        REFRESH_SINGLE(0);
        state.CAT_STALE = true;
    } else {
        state.PAGE_ANCHOR = state.PAGE_NAME[0] == oldName ? newName : state.PAGE_NAME[0];
        REFRESH_CATALOGUE(0);
    }
    if (oldName == state.CAT_CURRENT) {
        state.CAT_CURRENT.clear();
    }
}

bool DisplayRefresh::fileChanged(const QString& path) {
    BrowsingState& state = program_.browse;
    bool shown = false;
    for (int i = 0; i < BrowsingState::kSlots; ++i) {
        if (!state.PAGE_NAME[i].isEmpty() && state.DISP_DIR + state.PAGE_NAME[i] == path) {
            state.PAGE_DATE[i].clear(); // the cell reads its picture again
            shown = true;
        }
    }
    return shown || (program_.settings.DSPM == 2 && state.DISP_DIR + state.ONE_NAME == path);
}
