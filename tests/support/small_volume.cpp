#include "small_volume.h"

#include <sys/mount.h>

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
