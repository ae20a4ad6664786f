#include "ops_common.h"

#include <algorithm>
#include <cstring>

namespace pelmix {

SourceImage::SourceImage(HGLOBAL image) {
    {
        DibView probe(image);
        if (!probe.valid()) {
            return;
        }
        if (probe.bitCount() == 16 || probe.bitCount() == 32) {
            copy_.reset(normalizedCopy(image));
            if (!copy_) {
                return;
            }
        }
    }
    view_.emplace(copy_ ? copy_.get() : image);
}

HGLOBAL createDibFrom(const DibView& source, int32_t width, int32_t height, uint16_t bits) {
    HGLOBAL handle = createDib(width, height, bits);
    if (handle == nullptr) {
        return nullptr;
    }
    DibView out(handle);
    copyResolution(source.header(), out.header());
    if (bits <= 8 && source.bitCount() <= 8) {
        const uint32_t count = std::min(source.colourCount(), out.colourCount());
        std::memcpy(out.colours(), source.colours(), count * sizeof(Rgbq));
    }
    return handle;
}

void readRowRgba(const DibView& dib, int32_t y, uint8_t* rgba) {
    const uint8_t* row = dib.row(y);
    const int32_t width = dib.width();
    const uint16_t bits = dib.bitCount();
    for (int32_t x = 0; x < width; ++x, rgba += 4) {
        if (bits == 24) {
            rgba[0] = row[3 * x + 2];
            rgba[1] = row[3 * x + 1];
            rgba[2] = row[3 * x];
        } else {
            const Rgbq c = paletteColour(dib, indexAt(row, x, bits));
            rgba[0] = c.red;
            rgba[1] = c.green;
            rgba[2] = c.blue;
        }
        rgba[3] = 255;
    }
}

} // namespace pelmix
