#include "page_file.h"

#include "dib_layout.h"
#include "pelmix.h"

#include <cstdio>
#include <cstring>

namespace pmxacq {

bool baseNameFits(const char* baseName, size_t capacity) {
    constexpr size_t suffix = 1 + 3 + 1; // ".", three digits, terminator
    return baseName != nullptr && capacity >= suffix &&
           strnlen(baseName, capacity) <= capacity - suffix;
}

bool formatPageFileName(char* out, size_t capacity, const char* baseName, int32_t counter) {
    if (out == nullptr || capacity == 0) {
        return false;
    }
    out[0] = '\0';
    if (baseName == nullptr) {
        return false;
    }
    int n = std::snprintf(out, capacity, "%s.%03d", baseName, static_cast<int>(counter));
    if (n < 0 || static_cast<size_t>(n) >= capacity) {
        out[0] = '\0';
        return false;
    }
    return true;
}

void setImageSize(HGLOBAL image) {
    SIZE_T available = GlobalSize(image);
    auto* block = static_cast<unsigned char*>(GlobalLock(image));
    if (block == nullptr) {
        return;
    }
    if (available >= sizeof(PELMIX_BITMAPINFOHEADER)) {
        PELMIX_BITMAPINFOHEADER header;
        std::memcpy(&header, block, sizeof header);
        DibLayout layout = DibLayout::of(header);
        if (layout.valid && layout.pixelBytes <= UINT32_MAX) {
            header.biSizeImage = static_cast<uint32_t>(layout.pixelBytes);
            std::memcpy(block, &header, sizeof header);
        }
    }
    GlobalUnlock(image);
}

} // namespace pmxacq
