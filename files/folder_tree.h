// The folder lists of the file tray and the folder dialogs: a tree of the file system's folders
// (names only) whose current folder is the list's path, and the drive list beside it that holds
// the mounted volumes, the root first.
#pragma once

#include <QString>

class Program;
class QComboBox;
class QTreeView;
class QWidget;

namespace folder_tree {

// A folder tree named name, from the root folder down.
QTreeView* make(QWidget* parent, const char* name);

// Makes folder (with or without a trailing "/") the tree's current folder, its parents opened and
// its name scrolled into view; false, leaving the tree as it was, when it is not a folder.
bool show(QTreeView* tree, const QString& folder);

// The tree's current folder without a trailing "/" (the root is "/"); "" when there is none.
QString path(const QTreeView* tree);

// Fills a drive list with the mounted volumes, "/" first.
void fillDrives(QComboBox* drives);
// Selects the drive that holds folder (the longest volume root it lies in).
void selectDriveOf(QComboBox* drives, const QString& folder);

// Moves tree to the drive root. When the volume cannot be read, the drive error is shown (caption
// APP_TITLE, exclamation icon) and false returned.
bool moveToDrive(Program& program, QWidget* owner, QTreeView* tree, const QString& root);

// folder with "/" appended when it does not end in one.
QString withSlash(const QString& folder);

} // namespace folder_tree
