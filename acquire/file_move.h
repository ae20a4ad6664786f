// Moving one file to a new path, possibly onto another file system, without ever losing it.
#pragma once

#include <QString>

// Moves source to destination. An existing destination is never replaced (false). Within one
// file system this is a rename; across file systems the file is copied, the copy's size checked
// against the source's, and only then the source removed. On any failure the source stays
// where it was and no partial copy is left behind; a source that cannot be removed after a good
// copy also gives false, and then both files remain.
bool moveFile(const QString& source, const QString& destination);
