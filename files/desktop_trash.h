// The desktop's trash, as file managers on this system keep it: the file is moved into the trash's
// "files" folder and a ".trashinfo" beside it in "info" records where it came from and when, so
// that any file manager can put it back. The user's trash is $XDG_DATA_HOME/Trash; a file on
// another volume goes to that volume's ".Trash/<uid>" (when the administrator made one) or
// ".Trash-<uid>", since a trash never copies across volumes.
#pragma once

#include <QString>

namespace desktop_trash {

struct Result {
    bool ok = false;
    QString trashedPath; // where the file went
    QString reason;      // the system's description of a failure
};

// Moves the file at path (the path's own bytes, see native_name.h) to the trash.
Result moveToTrash(const QString& path);

} // namespace desktop_trash
