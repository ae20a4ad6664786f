#include "folder_reveal.h"

#include <QEvent>
#include <QFileSystemModel>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

namespace {

// How long after a reveal the rows sorted under the target still move the view.
constexpr qint64 kSortingMs = 3000;

} // namespace

FolderReveal::FolderReveal(QTreeView* tree, QFileSystemModel* model)
    : QObject(tree), tree_(tree), model_(model) {
    connect(model_, &QFileSystemModel::directoryLoaded, this, &FolderReveal::folderRead);
    connect(model_, &QAbstractItemModel::layoutChanged, this, [this] {
        if (!targetPath_.isEmpty() && revealed_.isValid() && revealed_.elapsed() < kSortingMs) {
            QTimer::singleShot(0, this, &FolderReveal::scrollToName);
        }
    });
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
    revealed_.start();
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
    // Its parents opened first: the tree's own opening of them is laid out too late for the
    // scroll that asked for it, and a dialog's tree would stay at its top.
    for (QModelIndex parent = target_.parent(); parent.isValid(); parent = parent.parent()) {
        tree_->expand(parent);
    }
    tree_->scrollTo(target_);
    tree_->resizeColumnToContents(0);
    tree_->viewport()->update();
    // Sideways, the tree stays at its left edge when the name fits there, so that no name above
    // it is cut; a deep folder's name is shown from its first letter.
    QScrollBar* bar = tree_->horizontalScrollBar();
    const QRect name = tree_->visualRect(target_);
    const int left = bar->value() + name.left(); // from the tree's left edge
    // The row reaches to the column's edge; what must show is its icon and text.
    const int shown = tree_->iconSize().width() + 8 +
                      tree_->fontMetrics().horizontalAdvance(target_.data().toString());
    const int wanted = left + std::min(shown, name.width()) <= tree_->viewport()->width()
                           ? 0
                           : left - tree_->indentation();
    bar->setValue(std::clamp(wanted, bar->minimum(), bar->maximum()));
}
