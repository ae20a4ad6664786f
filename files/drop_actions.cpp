#include "drop_actions.h"

#include "browsing.h"
#include "companion_program.h"
#include "delete_file.h"
#include "display_refresh.h"
#include "file_system.h"
#include "file_view.h"
#include "native_name.h"
#include "pelmix.h"
#include "pelmix_view.h"
#include "program.h"

#include <QCoreApplication>

namespace {

QString withSlash(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    return folder;
}

} // namespace

bool DropActions::prepare(const QString& name, bool move, QString& destination, bool& replace) {
    const QString source = browsing::displayFolder(program_) + name;
    const QString tray = view_.trayFolder();
    if (tray.isEmpty()) {
        return false;
    }
    const QString folder = withSlash(tray);
    destination = folder + name;
    const auto refuseSameFile = [&] {
        program_.tell(
            view_.owner(),
            move ? QCoreApplication::translate("DropActions",
                                               "移動元と移動先が一緒です、移動を中止します。")
                 : QCoreApplication::translate(
                       "DropActions", "コピー元とコピー先が一緒です、コピーを中止します。"));
        return false;
    };
    if (source == destination || file_system::sameFile(source, destination)) {
        return refuseSameFile();
    }
    // The file keeps its name, byte for byte. A file of that very name is replaced only when
    // the user says so; one whose name differs only in letter case is another file here, but
    // the user may well take it for this one: asked, naming both.
    const QString shown = native_name::forMessage(destination);
    Prompter::Message question;
    question.caption = program_.APP_TITLE;
    question.icon = Prompter::Icon::Question;
    question.buttons = Prompter::Buttons::OkCancel;
    question.defaultButton = 2;
    replace = file_system::exists(destination);
    if (replace) {
        question.text =
            move ? QCoreApplication::translate(
                       "DropActions", "%1\n移動先にファイルが既に存在しています上書きしますか?")
                       .arg(shown)
                 : QCoreApplication::translate("DropActions",
                                               "%1\nファイルが既に存在しています上書きしますか?")
                       .arg(shown);
    } else {
        const QString other = file_system::findName(folder, name);
        if (other.isEmpty()) {
            return true;
        }
        if (file_system::sameFile(source, folder + other)) {
            return refuseSameFile(); // a folder that ignores letter case: the very file
        }
        const QString otherShown = native_name::forMessage(folder + other);
        question.text =
            move ? QCoreApplication::translate(
                       "DropActions",
                       "%1\n移動先には大文字と小文字だけが違う名前のファイルがあります:\n%2\n"
                       "別のファイルとして移動しますか?")
                       .arg(shown, otherShown)
                 : QCoreApplication::translate(
                       "DropActions",
                       "%1\nコピー先には大文字と小文字だけが違う名前のファイルがあります:\n%2\n"
                       "別のファイルとしてコピーしますか?")
                       .arg(shown, otherShown);
    }
    if (program_.prompter.message(view_.owner(), question) != Prompter::Ok) {
        return false;
    }
    return true;
}

void DropActions::copy(const QString& name) {
    QString destination;
    bool replace = false;
    if (!prepare(name, false, destination, replace)) {
        return;
    }
    const file_system::Result result =
        file_system::copyFile(browsing::displayFolder(program_) + name, destination, replace);
    if (!result.ok) {
        program_.tell(view_.owner(), QCoreApplication::translate(
                                         "DropActions", "%1\nへコピーできませんでした。\n理由 : %2")
                                         .arg(native_name::forMessage(destination), result.reason));
    }
}

void DropActions::move(const QString& name, int index) {
    QString destination;
    bool replace = false;
    if (!prepare(name, true, destination, replace)) {
        return;
    }
    const file_system::Result result =
        file_system::moveFile(browsing::displayFolder(program_) + name, destination, replace);
    if (!result.ok) {
        program_.tell(view_.owner(), QCoreApplication::translate(
                                         "DropActions", "%1\nへ移動できませんでした。\n理由 : %2")
                                         .arg(native_name::forMessage(destination), result.reason));
    }
    // The view follows the folder as it now is, whether or not the move went through.
    view_.refresh().fileLeft(name, index);
}

void DropActions::remove(const QString& name, int index) {
    if (DELETE_FILE(program_, view_.owner(), name) == 0) {
        view_.refresh().fileLeft(name, index);
    }
}

void DropActions::edit(int editor, const QString& name) {
    RUN_EDITOR(program_, editor, browsing::displayFolder(program_), name, view_.owner());
}

void DropActions::print(const QString& name) {
    program_.PRINT_PATH = browsing::displayFolder(program_) + name;
    view_.openPrintDialog();
}

void DropActions::adjust(const QString& name) {
    program_.ADJUST_PATH = browsing::displayFolder(program_) + name;
    program_.ADJUST_NAME = name;
    if (program_.ADJUST_PATH.isEmpty()) {
        program_.tell(view_.owner(), QCoreApplication::translate(
                                         "DropActions", "調整するデーターが指定されていません"));
        return;
    }
    view_.openAdjustDialog();
}

void DropActions::toClipboard(const QString& name) {
    program_.ADJUST_PATH = browsing::displayFolder(program_) + name;
    program_.ADJUST_NAME = name;
    if (program_.ADJUST_PATH.isEmpty()) {
        program_.tell(view_.owner(), QCoreApplication::translate(
                                         "DropActions", "調整するデーターが指定されていません"));
        return;
    }
    // The picture as the views show it, turned upright.
    const QByteArray path = native_name::toBytes(program_.ADJUST_PATH);
    HGLOBAL image = PelmixFileLoadUpright(path.constData(), "", "");
    if (image == nullptr) {
        return;
    }
    PelmixSetToClipBrd(nullptr, image);
    PelmixMemFree(image);
}
