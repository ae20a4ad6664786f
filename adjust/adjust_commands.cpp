#include "adjust_commands.h"

#include "adjust_view.h"
#include "cnf_win.h"
#include "program.h"

namespace {

void tell(Program& program, AdjustView& view, const QString& text) {
    Prompter::Message message;
    message.caption = program.APP_TITLE;
    message.text = text;
    program.prompter.message(view.owner(), message);
}

} // namespace

void MNU_FILE_CNF(Program& program, AdjustView& view) {
    const QString& current = program.browse.CAT_CURRENT;
    if (current.isEmpty()) {
        tell(program, view,
             QStringLiteral("調整したい絵をドラッグして調整の上へドロップしてするか指定してから"
                            "実行させてください。"));
        return;
    }
    program.ADJUST_PATH = program.browse.DISP_DIR + current;
    program.ADJUST_NAME = current;
    OPEN_ADJUST(program, view);
}

void OPEN_ADJUST(Program& program, AdjustView& view) {
    if (program.ADJUST_PATH.isEmpty()) {
        tell(program, view, QStringLiteral("調整するデーターが指定されていません"));
        return;
    }
    auto* dialog = new CNF_WIN(program, view);
    dialog->start();
}
