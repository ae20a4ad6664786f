#include "folder_reveal.h"

#include <QEvent>
#include <QFileSystemModel>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

FolderReveal::FolderReveal(QTreeView* tree, QFileSystemModel* model)
    : QObject(tree), tree_(tree), model_(model) {
    connect(model_, &QFileSystemModel::directoryLoaded, this, &FolderReveal::folderRead);
    tree_->installEventFilter(this);
}

bool FolderReveal::eventFilter(QObject* watched, QEvent* event) {
    // A tree revealed before its window was shown is laid out anew when it appears.
    if (watched == tree_ && (event->type() == QEvent::Show || event->type() == QEvent::Resize) &&
        target_.isValid()) {
        QTimer::singleShot(0, this, &FolderReveal::scrollToName);
    }
    return false;
}

bool FolderReveal::reveal(const QString& folder) {
    const QModelIndex index = model_->index(folder);
    if (!index.isValid()) {
        return false;
    }
    target_ = index;
    targetPath_ = model_->filePath(index);
    tree_->setCurrentIndex(index);
    scrollToName();
    // Once the tree has laid its rows out for the opened parents.
    QTimer::singleShot(0, this, &FolderReveal::scrollToName);
    return true;
}

void FolderReveal::folderRead(const QString& path) {
    // Only the folders on the way to the target move the view; after that it is the user's.
    if (!targetPath_.isEmpty() &&
        (targetPath_ == path ||
         targetPath_.startsWith(path.endsWith(QLatin1Char('/')) ? path
                                                                : path + QLatin1Char('/')))) {
        QTimer::singleShot(0, this, &FolderReveal::scrollToName);
    }
}

void FolderReveal::scrollToName() {
    if (!target_.isValid() || tree_->currentIndex() != QModelIndex(target_)) {
        targetPath_.clear(); // another folder was chosen meanwhile
        return;
    }
    tree_->scrollTo(target_);
    tree_->resizeColumnToContents(0);
    tree_->viewport()->update();
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
