#include "adjust_commands.h"

#include "adjust_view.h"
#include "browsing.h"
#include "cnf_win.h"
#include "program.h"

#include <QCoreApplication>

void MNU_FILE_CNF(Program& program, AdjustView& view) {
    const QString& current = browsing::currentFile(program);
    if (current.isEmpty()) {
        program.tell(view.owner(),
                     QCoreApplication::translate(
                         "adjust_commands",
                         "調整したい絵をドラッグして調整の上へドロップしてするか指定してから"
                         "実行させてください。"));
        return;
    }
    program.ADJUST_PATH = browsing::displayFolder(program) + current;
    program.ADJUST_NAME = current;
    OPEN_ADJUST(program, view);
}

void OPEN_ADJUST(Program& program, AdjustView& view) {
    if (program.ADJUST_PATH.isEmpty()) {
        program.tell(view.owner(), QCoreApplication::translate(
                                       "adjust_commands", "調整するデーターが指定されていません"));
        return;
    }
    auto* dialog = new CNF_WIN(program, view);
    dialog->start();
}
