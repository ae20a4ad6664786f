// What identifies one version of a file: its device and inode, its size and its modification time
// to the nanosecond. A picture decoded from a file is only used while the file's stamp is the one
// it was decoded from.
#pragma once

#include <QString>
#include <cstdint>

struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = -1;
    int64_t seconds = 0;     // modification time, whole seconds
    int64_t nanoseconds = 0; // and the rest
    bool valid = false;      // false when the file could not be examined

    // The stamp of path (a name as the program keeps it, escaped bytes allowed).
    static FileStamp of(const QString& path);

    bool operator==(const FileStamp&) const = default;
};
