#include "small_volume.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

SmallVolume::SmallVolume(size_t bytes) : options_("size=" + std::to_string(bytes)) {
    mounted_ = ::mount("tmpfs", folder_.path().c_str(), "tmpfs", 0, options_.c_str()) == 0;
}

SmallVolume::~SmallVolume() {
    if (mounted_) {
        ::umount2(folder_.path().c_str(), MNT_DETACH);
    }
}

bool SmallVolume::setReadOnly(bool readOnly) {
    const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    return mounted_ &&
           ::mount("tmpfs", folder_.path().c_str(), "tmpfs", flags, options_.c_str()) == 0;
}

uint64_t SmallVolume::freeBytes() const {
    struct statvfs info {};
    return ::statvfs(folder_.path().c_str(), &info) == 0
               ? uint64_t(info.f_bavail) * uint64_t(info.f_frsize)
               : 0;
}

bool SmallVolume::leaveFree(uint64_t bytes) {
    if (!mounted_) {
        return false;
    }
    const std::string filler = folder_.file(".filler");
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (fd < 0) {
        return false;
    }
    // Up to the brim, a page at a time at the end, then back to what is asked.
    const std::vector<char> block(64 * 1024, 'f');
    for (size_t chunk = block.size(); chunk >= 4096;) {
        if (::write(fd, block.data(), chunk) < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno != ENOSPC) {
                ::close(fd);
                return false;
            }
            chunk /= 2;
        }
    }
    const off_t full = ::lseek(fd, 0, SEEK_END);
    const bool cut = full >= off_t(bytes) && ::ftruncate(fd, full - off_t(bytes)) == 0;
    ::close(fd);
    return cut && freeBytes() == bytes;
}
