// Shows a folder in the file tray's folder tree: selected, its parents opened, and scrolled both
// ways so that its name can be read however deep it lies. The tree reads folders as it goes, so
// the scrolling is done again as the folders on the way are read and the column grows.
#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QString>

class QFileSystemModel;
class QTreeView;

class FolderTrayReveal : public QObject {
    Q_OBJECT

public:
    FolderTrayReveal(QTreeView* tree, QFileSystemModel* model);

    // Selects folder; false when the tree has no such folder.
    bool reveal(const QString& folder);

private:
    void scrollToName();
    void folderRead(const QString& path);

    QTreeView* tree_;
    QFileSystemModel* model_;
    QPersistentModelIndex target_;
    QString targetPath_;
};
