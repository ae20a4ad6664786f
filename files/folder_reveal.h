// Shows a folder in a folder tree (the file tray's, the folder dialogs'): selected, its parents
// opened, and scrolled both ways so that its name can be read however deep it lies. The tree reads
// folders as it goes, so the scrolling is done again as the folders on the way are read and the
// column grows.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPersistentModelIndex>
#include <QString>

class QFileSystemModel;
class QTreeView;

class FolderReveal : public QObject {
    Q_OBJECT

public:
    FolderReveal(QTreeView* tree, QFileSystemModel* model);

    // Selects folder; false when the tree has no such folder.
    bool reveal(const QString& folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void scrollToName();
    void folderRead(const QString& path);

    QTreeView* tree_;
    QFileSystemModel* model_;
    QPersistentModelIndex target_;
    QString targetPath_;
    // Since the last reveal: the model sorts the folders it has read a moment after it reports
    // them, which moves the rows under the target; only that moment follows the sorting.
    QElapsedTimer revealed_;
};
