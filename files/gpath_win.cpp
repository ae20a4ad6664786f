#include "gpath_win.h"

#include "browsing.h"
#include "display_refresh.h"
#include "file_view.h"
#include "program.h"
#include "startup_folders.h"

GPATH_WIN::GPATH_WIN(Program& program, FileView& view, QWidget* owner, bool ownWindow)
    : FolderChooser(program, owner, "GPATH_WIN", tr("%1 (表示Path指定)").arg(program.APP_TITLE),
                    ownWindow),
      view_(view) {
    startAt(browsing::displayFolder(program));
}

void GPATH_WIN::accepted() {
    const QString folder = chosenFolder();
    if (folder.isEmpty()) {
        return;
    }
    MAKE_ACQ_DIR(program_);
    view_.refresh().folderChanged(folder);
    view_.addToFolderHistory();
    view_.updateCaption();
    close();
}
