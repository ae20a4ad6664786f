#include "file_commands.h"

#include "browsing.h"
#include "delete_file.h"
#include "display_refresh.h"
#include "file_view.h"
#include "program.h"
#include "ren_win.h"

#include <QCoreApplication>

void MNU_FILE_DELETE(Program& program, FileView& view) {
    const QString name = browsing::currentFile(program);
    if (name.isEmpty()) {
        program.tell(view.owner(),
                     QCoreApplication::translate(
                         "file_commands",
                         "削除したい絵をドラッグしてゴミ箱の上へドロップしてするか指定してから"
                         "実行させてください。"));
        return;
    }
    if (DELETE_FILE(program, view.owner(), name) != 0) {
        return;
    }
    view.refresh().fileDeleted(name);
}

void MNU_FILE_RENAME(Program& program, FileView& view) {
    if (browsing::currentFile(program).isEmpty()) {
        program.tell(view.owner(),
                     QCoreApplication::translate(
                         "file_commands",
                         "名前を変えたい絵のファイル名をクリックするか指定してから実行させて"
                         "ください。"));
        return;
    }
    program.RENAME_NAME = browsing::currentFile(program);
    OPEN_RENAME(program, view);
}

void OPEN_RENAME(Program& program, FileView& view) {
    auto* dialog = new REN_WIN(program, view, view.owner());
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
}
