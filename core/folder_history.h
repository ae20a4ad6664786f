// The folder history behind the display-folder box: eleven slots, the newest first; slots 0..9
// are kept in the settings as DD00..DD09, slot 10 only catches the entry pushed out.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Program;
class QComboBox;

// Fills the folder list box with entries (most recent first) and shows text in it.
using FolderListFill = std::function<void(const QStringList& entries, const QString& text)>;

// Puts folder at the head of the history (an older copy of it leaves its place), then refills
// the folder list box through fill with HISTORY_BUSY set, so that the box's own change handlers
// stay quiet. An empty folder only refills the box.
void ADD_FOLDER_HISTORY(Program& program, const QString& folder, const FolderListFill& fill);

// The same, refilling the combo box itself.
void ADD_FOLDER_HISTORY(Program& program, const QString& folder, QComboBox* combo);

// Slots 0..9 from DD00..DD09 (after the settings were loaded); slot 10 becomes empty.
void loadFolderHistory(Program& program);
