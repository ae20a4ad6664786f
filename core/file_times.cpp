// POSIX version: statx for the birth time where the kernel and file system give it,
// utimensat to restore access and modification.
#include "file_times.h"

#include "native_name.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr int64_t kNanos = 1000000000;

int64_t nanos(const struct statx_timestamp& t) {
    return static_cast<int64_t>(t.tv_sec) * kNanos + t.tv_nsec;
}

struct timespec timespecOf(int64_t nanoseconds) {
    struct timespec t {};
    t.tv_sec = static_cast<time_t>(nanoseconds / kNanos);
    t.tv_nsec = static_cast<long>(nanoseconds % kNanos);
    if (t.tv_nsec < 0) { // before 1970: the remainder takes the sign of the dividend
        t.tv_nsec += kNanos;
        t.tv_sec -= 1;
    }
    return t;
}

} // namespace

int GET_FILE_TIMES(const QString& path, int64_t& creation, int64_t& lastAccess,
                   int64_t& lastWrite) {
    if (path.isEmpty()) {
        return -1;
    }
    const QByteArray name = native_name::toBytes(path);
    struct statx st {};
    const unsigned mask = STATX_ATIME | STATX_MTIME | STATX_BTIME | STATX_TYPE;
    if (::statx(AT_FDCWD, name.constData(), 0, mask, &st) != 0) {
        return -1;
    }
    // Only files have the times the program carries over; a folder is not a picture.
    if ((st.stx_mask & STATX_TYPE) == 0 || !S_ISREG(st.stx_mode)) {
        return -1;
    }
    creation = (st.stx_mask & STATX_BTIME) != 0 ? nanos(st.stx_btime) : 0;
    lastAccess = nanos(st.stx_atime);
    lastWrite = nanos(st.stx_mtime);
    return 0;
}

int GET_FILE_TIMES(const QString& path, FileTimes& times) {
    return GET_FILE_TIMES(path, times.creation, times.lastAccess, times.lastWrite);
}

int SET_FILE_TIMES(const QString& path, int64_t, int64_t lastAccess, int64_t lastWrite) {
    if (path.isEmpty()) {
        return -1;
    }
    const QByteArray name = native_name::toBytes(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return -1;
    }
    const struct timespec times[2] = {timespecOf(lastAccess), timespecOf(lastWrite)};
    return ::utimensat(AT_FDCWD, name.constData(), times, 0) == 0 ? 0 : -1;
}

int SET_FILE_TIMES(const QString& path, const FileTimes& times) {
    return SET_FILE_TIMES(path, times.creation, times.lastAccess, times.lastWrite);
}
