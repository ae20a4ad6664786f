#include "dib_layout.h"

namespace pmxacq {

DibLayout DibLayout::of(const PELMIX_BITMAPINFOHEADER& header) {
    DibLayout layout;
    if (header.biWidth <= 0 || header.biBitCount == 0 || header.biBitCount > 32) {
        return layout;
    }
    uint64_t bits = uint64_t(header.biBitCount) * uint64_t(header.biWidth);
    layout.rowBytes = (bits + 31) / 32 * 4;
    int64_t height = header.biHeight;
    layout.rows = uint64_t(height < 0 ? -height : height);
    layout.pixelBytes = layout.rowBytes * layout.rows; // < 2^38 * 2^31: no overflow
    int32_t colours = DibNumColors(&header);
    if (colours < 0) {
        return layout;
    }
    layout.tableBytes = 4 * uint64_t(colours);
    layout.totalBytes = sizeof(PELMIX_BITMAPINFOHEADER) + layout.tableBytes + layout.pixelBytes;
    // biSizeImage must be able to hold the pixel bytes.
    layout.valid = layout.pixelBytes <= UINT32_MAX && layout.totalBytes <= SIZE_MAX;
    return layout;
}

} // namespace pmxacq
