#include "orva_win_file_view.h"

#include "adjust_commands.h"
#include "browsing.h"
#include "catalogue_view.h"
#include "folder_history.h"
#include "folder_tree.h"
#include "mprt_win.h"
#include "orva_win.h"
#include "program.h"
#include "prt_win.h"
#include "single_view.h"

#include <QFileSystemModel>
#include <QTreeView>

QWidget* OrvaFileView::owner() {
    return &window_;
}

DisplayRefresh& OrvaFileView::refresh() {
    return window_.displayRefresh();
}

QString OrvaFileView::trayFolder() const {
    return folder_tree::path(window_.F_DIR);
}

void OrvaFileView::relistTrayFolder() {
    // The model watches the folders it has read; asking for the folder again picks up a new
    // sub-folder at once.
    const QModelIndex current = window_.F_DIR->currentIndex();
    if (current.isValid()) {
        window_.F_DIR_MODEL->fetchMore(current);
        window_.F_DIR->expand(current);
    }
}

void OrvaFileView::unmarkDragSource(int index) {
    if (index < 0) {
        window_.singleView().setMark(false);
    } else if (index < ORVA_WIN::kCells) {
        window_.catalogueView().markCell(index, false);
    }
}

void OrvaFileView::updateCaption() {
    window_.MAIN_LAYOUT();
}

void OrvaFileView::addToFolderHistory() {
    ADD_FOLDER_HISTORY(window_.program, browsing::displayFolder(window_.program), window_.Combo1);
}

void OrvaFileView::openPrintDialog() {
    auto* dialog = new PRT_WIN(window_.program, &window_);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
}

void OrvaFileView::openCataloguePrintDialog() {
    auto* dialog = new MPRT_WIN(window_.program, &window_, false);
    if (!dialog->hasPictures()) {
        delete dialog;
        return;
    }
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
}

void OrvaFileView::openAdjustDialog() {
    OPEN_ADJUST(window_.program, *this);
}
