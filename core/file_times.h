// The three time stamps of a file, read before a file is moved or renamed and put back on it
// afterwards, so that a picture keeps the date it was taken or scanned.
#pragma once

#include <QString>
#include <cstdint>

// Times are nanoseconds since 1970-01-01 UTC; 0 stands for a time the file system does not keep.
struct FileTimes {
    int64_t creation = 0;
    int64_t lastAccess = 0;
    int64_t lastWrite = 0;
};

// Reads the creation (where the file system records it), last access and last write times of
// path. 0, or -1 when the file cannot be examined; the out-arguments then stay unchanged.
int GET_FILE_TIMES(const QString& path, int64_t& creation, int64_t& lastAccess, int64_t& lastWrite);
int GET_FILE_TIMES(const QString& path, FileTimes& times);

// Puts the last access and last write times back on path. The creation time cannot be set on
// this system and is ignored. 0, or -1 when the file cannot be changed.
int SET_FILE_TIMES(const QString& path, int64_t creation, int64_t lastAccess, int64_t lastWrite);
int SET_FILE_TIMES(const QString& path, const FileTimes& times);
