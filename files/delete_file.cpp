#include "delete_file.h"

#include "browsing.h"
#include "desktop_trash.h"
#include "native_name.h"
#include "program.h"
#include "snaplet_inf.h"

#include <QCoreApplication>

int16_t DELETE_FILE(Program& program, QWidget* owner, const QString& name) {
    Prompter::Message question;
    question.caption = QCoreApplication::translate("delete_file", "Orvana ファイル削除確認");
    question.text = QCoreApplication::translate("delete_file", "%1を削除します\nよろしいですか ?")
                        .arg(native_name::forDisplay(name));
    question.icon = Prompter::Icon::Question;
    question.buttons = Prompter::Buttons::YesNo;
    question.defaultButton = 2;
    if (program.prompter.message(owner, question) != Prompter::Yes) {
        return -1;
    }
    // The callers tell the view, which forgets the current file (see DisplayRefresh).
    const QString& displayFolder = browsing::displayFolder(program);
    const desktop_trash::Result trashed = desktop_trash::moveToTrash(displayFolder + name);
    if (!trashed.ok) {
        program.tell(
            owner,
            QCoreApplication::translate("delete_file", "%1をゴミ箱へ移せませんでした。\n理由 : %2")
                .arg(native_name::forDisplay(name), trashed.reason),
            Prompter::Icon::Exclamation);
        return 0;
    }
    if (program.settings.UTNT == 1) {
        QString thumbnails;
        const BoundFolder folder = companionFolder(displayFolder, &thumbnails);
        if (folder.holdsFile(native_name::toBytes(name).toStdString())) {
            desktop_trash::moveToTrash(folder, name, displayFolder + thumbnails + name);
        }
    }
    return 0;
}
