#include "file_stamp.h"

#include "native_name.h"

#include <sys/stat.h>

FileStamp FileStamp::of(const QString& path) {
    FileStamp stamp;
    const QByteArray name = native_name::toBytes(path);
    struct stat info {};
    if (name.isEmpty() || stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return stamp;
    }
    stamp.device = static_cast<uint64_t>(info.st_dev);
    stamp.inode = static_cast<uint64_t>(info.st_ino);
    stamp.size = static_cast<int64_t>(info.st_size);
    stamp.seconds = static_cast<int64_t>(info.st_mtim.tv_sec);
    stamp.nanoseconds = static_cast<int64_t>(info.st_mtim.tv_nsec);
    stamp.valid = true;
    return stamp;
}
