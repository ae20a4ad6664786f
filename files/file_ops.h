// The file operations of the drop targets, the rename and the folder dialogs, on the paths' own
// bytes (names that are not valid UTF-8 are carried as escaped bytes, see native_name.h). Each
// reports the system's reason when it fails, and none of them ever loses the source file.
#pragma once

#include <QString>

namespace file_ops {

struct Result {
    bool ok = true;
    QString reason; // the system's description of the failure
};

bool exists(const QString& path);
bool isFile(const QString& path);
bool isFolder(const QString& path);

// Whether the two paths name one file (the same device and inode), e.g. through a link or another
// letter case on a case-insensitive volume. False when either does not exist.
bool sameFile(const QString& a, const QString& b);

// The name of a file in folder (ending in "/") that equals name when both are compared with
// UPPER_ASCII, preferring the exact spelling; "" when there is none.
QString findName(const QString& folder, const QString& name);

// Copies source to destination. The bytes go to a temporary file beside the destination first,
// which is checked, flushed and then renamed over it, so a destination that is replaced is never
// left half-written and a failure leaves both files as they were. With replace false an existing
// destination is refused.
Result copyFile(const QString& source, const QString& destination, bool replace);

// Moves source to destination: a rename within one file system, else copyFile followed by the
// removal of the source. The source is removed only when the destination is complete; when it
// cannot be removed (a read-only folder) the failure is reported and the file is in both places.
Result moveFile(const QString& source, const QString& destination, bool replace);

// Renames within one folder; an existing destination is refused.
Result rename(const QString& from, const QString& to);

// Makes one folder.
Result makeFolder(const QString& path);

} // namespace file_ops
