#include "image_repack.h"

#include "dib_layout.h"
#include "pelmix.h"

#include <cstring>

namespace pmxacq {

void unlockCompletely(HGLOBAL image) {
    UINT flags = GlobalFlags(image);
    if (flags == GMEM_INVALID_HANDLE) {
        return;
    }
    for (UINT locks = flags & GMEM_LOCKCOUNT; locks > 0; --locks) {
        GlobalUnlock(image);
    }
}

HGLOBAL repackImage(HGLOBAL image) {
    if (image == nullptr) {
        return nullptr;
    }
    unlockCompletely(image);
    SIZE_T available = GlobalSize(image);
    if (available < sizeof(PELMIX_BITMAPINFOHEADER)) {
        return image;
    }
    auto* source = static_cast<const unsigned char*>(GlobalLock(image));
    if (source == nullptr) {
        return image;
    }
    PELMIX_BITMAPINFOHEADER header;
    std::memcpy(&header, source, sizeof header);
    DibLayout layout = DibLayout::of(header);
    // Never read past the block the source gave us.
    if (!layout.valid || layout.totalBytes > available) {
        GlobalUnlock(image);
        return image;
    }
    HGLOBAL copy = GlobalAlloc(GHND, static_cast<SIZE_T>(layout.totalBytes));
    auto* target = copy != nullptr ? static_cast<unsigned char*>(GlobalLock(copy)) : nullptr;
    if (target == nullptr) {
        if (copy != nullptr) {
            GlobalFree(copy);
        }
        GlobalUnlock(image);
        return image;
    }
    size_t front = sizeof header + static_cast<size_t>(layout.tableBytes);
    std::memcpy(target, source, front);
    header.biSizeImage = static_cast<uint32_t>(layout.pixelBytes);
    std::memcpy(target, &header, sizeof header);
    std::memcpy(target + front, source + front, static_cast<size_t>(layout.pixelBytes));
    GlobalUnlock(copy);
    GlobalUnlock(image);
    PelmixMemFree(image);
    return copy;
}

} // namespace pmxacq
