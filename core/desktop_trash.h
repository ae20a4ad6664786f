// The desktop's trash, as file managers on this system keep it: the file is moved into the trash's
// "files" folder and a ".trashinfo" beside it in "info" records where it came from and when, so
// that any file manager can put it back. The user's trash is $XDG_DATA_HOME/Trash; a file on
// another volume goes to that volume's ".Trash/<uid>" (when the administrator made one) or
// ".Trash-<uid>", since a trash does not copy across volumes. A volume's trash is used only when it
// is the user's own (a real folder, not a link, owned by the user, closed to others); otherwise the
// file is copied to the user's trash and then removed.
#pragma once

#include "bound_folder.h"

#include <QString>

namespace desktop_trash {

struct Result {
    bool ok = false;
    QString trashedPath; // where the file went
    QString reason;      // the system's description of a failure
};

// Moves the file at path (the path's own bytes, see native_name.h) to the trash.
Result moveToTrash(const QString& path);
// Moves name, a regular file in folder (never one reached through a link), to the trash; path is
// where it is, for the trash's record.
Result moveToTrash(const BoundFolder& folder, const QString& name, const QString& path);

} // namespace desktop_trash
