// The file system by the bytes of its names, for the program and the companion alike. Paths are
// QStrings as native_name makes them (bytes that are not UTF-8 escaped); Qt's own file classes
// would encode them again and miss such files; a path holding a NUL names no file, and every call
// refuses it. Operations that can fail give a Result with the system's reason, and none of them
// ever loses a file: a copy is written beside its target, flushed and renamed over it; a move
// across volumes removes its source only after the copy is complete, and takes the copy back when
// the source cannot go.
//
// The system's calls are in file_system_posix.cpp; what is the same on every system is in
// file_system.cpp.
#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

namespace file_system {

struct Result {
    bool ok = true;
    int error = 0;  // the system's error number
    QString reason; // its description, for a message

    explicit operator bool() const { return ok; }
    static Result failure(int error);
};

// The names of the files in folder (links followed; a link to nothing counts as a file), sorted
// by their text; pattern, when given, is a wildcard such as "*.run". Empty when the folder cannot
// be read.
QStringList list(const QString& folder, const QString& pattern = {});

bool exists(const QString& path); // anything there, a dangling link included
bool isFile(const QString& path);
bool isFolder(const QString& path);
bool isWritableFolder(const QString& path);
QDateTime lastModified(const QString& path);
// The path with links and dots resolved; empty when it does not exist.
QString canonical(const QString& path);
// Whether the two paths name one file (the same device and inode), e.g. through a link or another
// letter case on a case-insensitive volume. False when either does not exist.
bool sameFile(const QString& a, const QString& b);
// What tells one version of a file from another: a file replaced or written again since has
// another stamp. Empty (all zero) when there is no file.
struct Stamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    bool operator==(const Stamp&) const = default;
};
Stamp stampOf(const QString& path);
// The name of an entry of folder (ending in "/") that equals name when both are compared with
// UPPER_ASCII, preferring the exact spelling; "" when there is none.
QString findName(const QString& folder, const QString& name);

// Makes one folder; its parent must exist.
Result makeFolder(const QString& path);
// Makes the folder and its parents; fine when it is there already.
Result makePath(const QString& folder);
Result remove(const QString& path);

// Renames within one file system; an existing destination is refused (EEXIST).
Result renameNoReplace(const QString& from, const QString& to);
// Renames within one file system, replacing the destination in one step; the folder's new entry
// is flushed to the disk.
Result renameReplacing(const QString& from, const QString& to);

// Copies source to destination through a temporary file beside it, checked and flushed before
// it takes the destination's name, so a destination is never left half-written and a failure
// leaves both files as they were. With replace false an existing destination is refused.
Result copyFile(const QString& source, const QString& destination, bool replace);

// Moves a regular file: a rename within one file system; across file systems copyFile, then the
// source is removed. A source that cannot be removed (a read-only folder or volume) is found
// before the copy and nothing changes. Should the removal still fail, a copy under a free name is
// removed again (the file stays where it was, once), while a copy that replaced a file stays, so
// the replaced file is not lost as well; the failure is reported either way.
Result moveFile(const QString& source, const QString& destination, bool replace);

// Opens file by the path's own bytes: for reading, or for writing (created, emptied). Only a
// regular file is opened: a FIFO, a device or a folder is refused at once.
bool openForReading(QFile& file, const QString& path);
bool openForWriting(QFile& file, const QString& path);

} // namespace file_system
