#include "folder_tray_reveal.h"

#include <QFileSystemModel>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

FolderTrayReveal::FolderTrayReveal(QTreeView* tree, QFileSystemModel* model)
    : QObject(tree), tree_(tree), model_(model) {
    connect(model_, &QFileSystemModel::directoryLoaded, this, &FolderTrayReveal::folderRead);
}

bool FolderTrayReveal::reveal(const QString& folder) {
    const QModelIndex index = model_->index(folder);
    if (!index.isValid()) {
        return false;
    }
    target_ = index;
    targetPath_ = model_->filePath(index);
    tree_->setCurrentIndex(index);
    scrollToName();
    // Once the tree has laid its rows out for the opened parents.
    QTimer::singleShot(0, this, &FolderTrayReveal::scrollToName);
    return true;
}

void FolderTrayReveal::folderRead(const QString& path) {
    // Only the folders on the way to the target move the view; after that it is the user's.
    if (!targetPath_.isEmpty() &&
        (targetPath_ == path ||
         targetPath_.startsWith(path.endsWith(QLatin1Char('/')) ? path
                                                                : path + QLatin1Char('/')))) {
        QTimer::singleShot(0, this, &FolderTrayReveal::scrollToName);
    }
}

void FolderTrayReveal::scrollToName() {
    if (!target_.isValid() || tree_->currentIndex() != QModelIndex(target_)) {
        targetPath_.clear(); // another folder was chosen meanwhile
        return;
    }
    tree_->scrollTo(target_);
    tree_->resizeColumnToContents(0);
    // The tree scrolls its column into view from its left edge; a deep folder's name lies far to
    // the right of it.
    const QRect name = tree_->visualRect(target_);
    const int width = tree_->viewport()->width();
    if (name.left() >= 0 && name.right() < width) {
        return;
    }
    QScrollBar* bar = tree_->horizontalScrollBar();
    const int wanted = bar->value() + name.left() - tree_->indentation();
    bar->setValue(std::clamp(wanted, bar->minimum(), bar->maximum()));
}
