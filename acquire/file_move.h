// Moving one file to a new path, possibly onto another file system, without ever losing it.
#pragma once

#include <QString>

enum class MoveResult {
    Moved,
    Failed,      // nothing changed: the source stays, no destination was made
    SourceStays, // across file systems the source could not be removed (a read-only folder
                 // or volume): the good copy was removed again, so the file is not moved twice
};

// Moves source to destination. An existing destination is never replaced. Within one file system
// this is a rename; across file systems the file is copied, the copy's size checked against the
// source's, and only then the source removed. On any failure the source stays where it was and
// no copy is left behind.
MoveResult moveFile(const QString& source, const QString& destination);
