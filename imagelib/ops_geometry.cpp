// Rotation, flips and cut-out. The results are new bottom-up images with the source's palette
// and resolution; 16- and 32-bit sources come out as 24 bits.
#include "ops_common.h"
#include "progress.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

using namespace pelmix;

// Pixel copiers, one per depth, so the inner loops are plain byte work the compiler can inline.
struct Copy24 {
    void operator()(uint8_t* out, int32_t x, const uint8_t* in, int32_t sx) const {
        out += 3 * static_cast<ptrdiff_t>(x);
        in += 3 * static_cast<ptrdiff_t>(sx);
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
    }
};

struct Copy8 {
    void operator()(uint8_t* out, int32_t x, const uint8_t* in, int32_t sx) const {
        out[x] = in[sx];
    }
};

template <uint16_t Bits> struct CopyPacked {
    void operator()(uint8_t* out, int32_t x, const uint8_t* in, int32_t sx) const {
        setIndexAt(out, x, Bits, indexAt(in, sx, Bits));
    }
};

// Fills dst (already sized for the mode) from src. Coordinates count from the top left as seen.
template <typename Copy>
void rotatePixels(const DibView& src, const DibView& dst, int32_t mode, Copy copy) {
    const int32_t w = src.width();
    const int32_t h = src.height();
    for (int32_t y = 0; y < dst.height(); ++y) {
        uint8_t* out = dst.row(y);
        switch (mode) {
        case PELMIX_ROTATE_180: {
            const uint8_t* in = src.row(h - 1 - y);
            for (int32_t x = 0; x < w; ++x) {
                copy(out, x, in, w - 1 - x);
            }
            break;
        }
        case PELMIX_ROTATE_LEFT: {
            // Output row y is source column w-1-y, read from the top row down.
            const int32_t sx = w - 1 - y;
            for (int32_t x = 0; x < h; ++x) {
                copy(out, x, src.row(x), sx);
            }
            break;
        }
        case PELMIX_ROTATE_RIGHT: {
            // Output row y is source column y, read from the bottom row up.
            for (int32_t x = 0; x < h; ++x) {
                copy(out, x, src.row(h - 1 - x), y);
            }
            break;
        }
        case PELMIX_FLIP_TOP_BOTTOM:
            std::memcpy(out, src.row(h - 1 - y), dst.stride());
            break;
        default: { // PELMIX_MIRROR_LEFT_RIGHT
            const uint8_t* in = src.row(y);
            for (int32_t x = 0; x < w; ++x) {
                copy(out, x, in, w - 1 - x);
            }
        }
        }
    }
}

} // namespace

PELMIX_API HGLOBAL PELMIX_CALL PelmixRotation(HGLOBAL image, const char* caption, const char* text,
                                              int32_t mode) {
    Progress progress(caption, text);
    if (mode < PELMIX_ROTATE_180 || mode > PELMIX_MIRROR_LEFT_RIGHT) {
        return nullptr;
    }
    SourceImage source(image);
    if (!source.valid()) {
        return nullptr;
    }
    const DibView& src = source.view();
    const bool quarter = mode == PELMIX_ROTATE_LEFT || mode == PELMIX_ROTATE_RIGHT;
    const int32_t width = quarter ? src.height() : src.width();
    const int32_t height = quarter ? src.width() : src.height();
    HGLOBAL result = createDibFrom(src, width, height, src.bitCount());
    if (result == nullptr) {
        return nullptr;
    }
    DibView dst(result);
    if (quarter) {
        std::swap(dst.header().biXPelsPerMeter, dst.header().biYPelsPerMeter);
    }
    switch (src.bitCount()) {
    case 24:
        rotatePixels(src, dst, mode, Copy24{});
        break;
    case 8:
        rotatePixels(src, dst, mode, Copy8{});
        break;
    case 4:
        rotatePixels(src, dst, mode, CopyPacked<4>{});
        break;
    default:
        rotatePixels(src, dst, mode, CopyPacked<1>{});
    }
    return result;
}

PELMIX_API HGLOBAL PELMIX_CALL PelmixRectCut(HGLOBAL image, const char* caption, const char* text,
                                             int32_t left, int32_t top, int32_t right,
                                             int32_t bottom) {
    Progress progress(caption, text);
    if (right < left || bottom < top) {
        return nullptr;
    }
    SourceImage source(image);
    if (!source.valid()) {
        return nullptr;
    }
    const DibView& src = source.view();
    const int32_t x0 = std::max(left, 0);
    const int32_t y0 = std::max(top, 0);
    const int32_t x1 = std::min(right, src.width() - 1);
    const int32_t y1 = std::min(bottom, src.height() - 1);
    if (x1 < x0 || y1 < y0) {
        return nullptr;
    }
    const int32_t width = x1 - x0 + 1;
    const uint16_t bits = src.bitCount();
    HGLOBAL result = createDibFrom(src, width, y1 - y0 + 1, bits);
    if (result == nullptr) {
        return nullptr;
    }
    DibView dst(result);
    for (int32_t y = 0; y < dst.height(); ++y) {
        const uint8_t* in = src.row(y0 + y);
        uint8_t* out = dst.row(y);
        if (bits >= 8) {
            const size_t bytesPerPixel = bits / 8;
            std::memcpy(out, in + bytesPerPixel * x0, bytesPerPixel * width);
            continue;
        }
        for (int32_t x = 0; x < width; ++x) {
            setIndexAt(out, x, bits, indexAt(in, x0 + x, bits));
        }
    }
    return result;
}
