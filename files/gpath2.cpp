#include "gpath2.h"

#include "program.h"

GPATH2::GPATH2(Program& program, QWidget* owner)
    : FolderChooser(program, owner, "GPATH2", tr("%1 (取り込みPath指定)").arg(program.APP_TITLE)) {
    startAt(program.settings.NTWP);
}

void GPATH2::accepted() {
    const QString folder = chosenFolder();
    if (!folder.isEmpty()) {
        program_.settings.NTWP = folder;
    }
    close();
}
