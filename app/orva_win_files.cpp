// The main window's file commands: the trays' drop targets, the editor targets, the delete and
// rename menu items, the folder dialogs and the companion program.
#include "browse_view.h"
#include "browsing.h"
#include "companion_program.h"
#include "display_refresh.h"
#include "drop_targets.h"
#include "editor_icon.h"
#include "file_commands.h"
#include "folder_document.h"
#include "folder_history.h"
#include "folder_tree.h"
#include "gpath_win.h"
#include "md_win.h"
#include "mprt_win.h"
#include "orva_win.h"
#include "orva_win_file_view.h"
#include "orva_win_picture_list.h"
#include "program.h"
#include "prt_win.h"
#include "set_win.h"
#include "startup_folders.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QToolButton>
#include <QTreeView>

void ORVA_WIN::buildDropTargets() {
    dropTargets_ = new DropTargets(program, *fileView_, this);
    using T = DropTargets::Target;
    dropTargets_->add(COPY, COPY_LABEL, T::Copy);
    dropTargets_->add(MOVE, MOVE_LABEL, T::Move);
    dropTargets_->add(Image1, Label1, T::Trash);
    dropTargets_->add(Image2, Label2, T::Editor1);
    dropTargets_->add(Image3, Label3, T::Print);
    dropTargets_->add(Image4, Label4, T::Editor2);
    dropTargets_->add(Image5, Label5, T::Adjust);
    dropTargets_->add(Image6, Label6, T::Clipboard);
}

void ORVA_WIN::REFRESH_EDITOR_BUTTONS() {
    const USR_SETTINGS& settings = program.settings;
    struct Editor {
        const QString& path;
        QLabel* target;
        QLabel* label;
        QAction* item;
    };
    for (const Editor& editor : {Editor{settings.LEXE, Image2, Label2, MNU_FILE_EDIT1},
                                 Editor{settings.LEX2, Image4, Label4, MNU_FILE_EDIT2}}) {
        const bool set = !editor.path.isEmpty();
        if (set && QFileInfo(editor.path).isFile()) {
            const QPixmap icon =
                editorIcon(editor.path, editor.target->palette().color(QPalette::Button));
            if (!icon.isNull()) {
                editor.target->setPixmap(icon);
            }
        }
        editor.target->setVisible(set);
        editor.target->setEnabled(set);
        editor.item->setEnabled(set);
        editor.label->setVisible(set && settings.CTDM != 1);
    }
    for (QLabel* label : {Label1, Label3, Label5, Label6}) {
        label->setVisible(settings.CTDM != 1);
    }
}

void ORVA_WIN::onMNU_FILE_EDIT1() {
    RUN_EDITOR(program, 1, browsing::displayFolder(program), browsing::currentFile(program), this);
}

void ORVA_WIN::onMNU_FILE_EDIT2() {
    RUN_EDITOR(program, 2, browsing::displayFolder(program), browsing::currentFile(program), this);
}

void ORVA_WIN::onMNU_FILE_DELETE() {
    ::MNU_FILE_DELETE(program, *fileView_);
}

void ORVA_WIN::onMNU_FILE_RENAME() {
    ::MNU_FILE_RENAME(program, *fileView_);
}

void ORVA_WIN::onMNU_DISP_MKTN() {
    RUN_SNAPLET(program, browsing::displayFolder(program));
}

void ORVA_WIN::onMNU_DISP_DFILE() {
    // Without waiting: the main window stays usable beside it.
    auto* dialog = new GPATH_WIN(program, *fileView_, this, true);
    dialog->show();
}

void ORVA_WIN::onBTN_DFILE() {
    showPressed(BTN_DFILE, IMG_DFILE->picture(1));
    auto* dialog = new GPATH_WIN(program, *fileView_, this);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QObject::destroyed, BTN_DFILE,
            [this] { BTN_DFILE->setIcon(IMG_DFILE->picture(0)); });
    dialog->show();
}

void ORVA_WIN::openSettings(bool owned, bool fromButton) {
    // One settings dialog at a time.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* open = qobject_cast<SET_WIN*>(top); open != nullptr && open->isVisible()) {
            open->raise();
            open->activateWindow();
            return;
        }
    }
    auto* dialog = new SET_WIN(program, *this, owned);
    if (fromButton) {
        showPressed(BTN_SET_GO, IMG_SET->picture(1));
        connect(dialog, &QObject::destroyed, BTN_SET_GO,
                [this] { BTN_SET_GO->setIcon(IMG_SET->picture(0)); });
    }
    dialog->show();
}

void ORVA_WIN::onMNU_SETUP_SETUP() {
    openSettings(true, false);
}

void ORVA_WIN::onBTN_SET_GO() {
    openSettings(true, true);
}

void ORVA_WIN::onMNU_FILE_SELGETDIR() {
    openSettings(false, false);
}

void ORVA_WIN::onCommand1() {
    // The display and the file tray exchange folders. The folder keeps its letter case here: on
    // this file system another case names another folder.
    const QString tray = folder_tree::path(F_DIR);
    if (tray.isEmpty()) {
        return;
    }
    const QString previous = browsing::displayFolder(program);
    const QString folder = folder_tree::withSlash(tray);
    MAKE_ACQ_DIR(program);
    ADD_FOLDER_HISTORY(program, folder, Combo1);
    displayRefresh().folderChanged(folder);
    MAIN_LAYOUT();
    if (folder_tree::show(F_DIR, previous)) {
        folder_tree::selectDriveOf(F_DRIVE, previous);
    }
}

void ORVA_WIN::onCommand2() {
    auto* dialog = new MD_WIN(program, *fileView_, this);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
}

void ORVA_WIN::onF_DRIVE_activated(int index) {
    if (!folder_tree::moveToDrive(program, this, F_DIR, F_DRIVE->itemText(index))) {
        folder_tree::selectDriveOf(F_DRIVE, folder_tree::path(F_DIR));
    }
}

void ORVA_WIN::onMNU_FILE_1PRNT() {
    if (browsing::currentFile(program).isEmpty()) {
        program.tell(this, tr("印刷したい絵をドラッグして印刷の上へドロップするか指定"
                              "してから実行させてください。"));
        return;
    }
    program.PRINT_PATH = browsing::displayFolder(program) + browsing::currentFile(program);
    if (program.PRINT_PATH.isEmpty()) {
        program.tell(this, tr("印刷するデーターが指定されていません"));
        return;
    }
    // Without waiting; the dialog keeps the main window disabled while it is open.
    (new PRT_WIN(program, this))->show();
}

void ORVA_WIN::onMNU_FILE_PDF() {
    folder_document::make(program, this);
}

void ORVA_WIN::onMNU_FILE_CATPRINT() {
    auto* dialog = new MPRT_WIN(program, this, true);
    if (!dialog->hasPictures()) {
        delete dialog;
        return;
    }
    dialog->show();
}
