// Colour-depth conversions.
#include "ops_common.h"
#include "ops_quantise.h"
#include "progress.h"

#include <cstring>

namespace {

using namespace pelmix;

// Full colour from a palette image.
HGLOBAL expandedTo24(const DibView& src) {
    HGLOBAL handle = createDibFrom(src, src.width(), src.height(), 24);
    if (handle == nullptr) {
        return nullptr;
    }
    DibView out(handle);
    const uint16_t bits = src.bitCount();
    for (int32_t y = 0; y < src.height(); ++y) {
        const uint8_t* in = src.row(y);
        uint8_t* p = out.row(y);
        for (int32_t x = 0; x < src.width(); ++x, p += 3) {
            const Rgbq c = paletteColour(src, indexAt(in, x, bits));
            p[0] = c.blue;
            p[1] = c.green;
            p[2] = c.red;
        }
    }
    return handle;
}

// The same indices and colour table in a palette image of at least as many bits per pixel; the
// extra table entries stay black.
HGLOBAL widened(const DibView& src, uint16_t bits) {
    HGLOBAL handle = createDibFrom(src, src.width(), src.height(), bits);
    if (handle == nullptr) {
        return nullptr;
    }
    DibView out(handle);
    const uint16_t from = src.bitCount();
    for (int32_t y = 0; y < src.height(); ++y) {
        const uint8_t* in = src.row(y);
        uint8_t* row = out.row(y);
        if (from == bits) {
            std::memcpy(row, in, out.stride());
            continue;
        }
        for (int32_t x = 0; x < src.width(); ++x) {
            setIndexAt(row, x, bits, indexAt(in, x, from));
        }
    }
    return handle;
}

// A new image of 4, 8 or 24 bits from a 1/4/8/24-bit source of another depth.
HGLOBAL convertedCopy(const DibView& src, uint16_t bits, bool dither, bool greyRamp) {
    if (bits == 24) {
        return expandedTo24(src);
    }
    if (src.bitCount() < bits) {
        return widened(src, bits);
    }
    return quantisedCopy(src, bits, dither, greyRamp);
}

} // namespace

PELMIX_API int32_t PELMIX_CALL PelmixConvertColor(HGLOBAL image, int32_t bits, int32_t dither,
                                                  int32_t palette, const char* caption,
                                                  const char* text) {
    Progress progress(caption, text);
    if (bits != 4 && bits != 8 && bits != 24) {
        return 0;
    }
    uint16_t current = 0;
    {
        DibView dib(image);
        if (!dib.valid()) {
            return 0;
        }
        current = dib.bitCount();
    }
    if (current == bits) {
        return 1;
    }
    OwnedDib result;
    if (bits == 24 && current > 8) {
        result.reset(normalizedCopy(image)); // 16 or 32 bits: the 24-bit copy is the answer
    } else {
        // Only the palette value 1 asks for greys; any other value means an optimal palette.
        SourceImage source(image);
        if (!source.valid()) {
            return 0;
        }
        result.reset(
            convertedCopy(source.view(), static_cast<uint16_t>(bits), dither != 0, palette == 1));
    } // the source must be unlocked before the caller's handle can take the result
    if (!result || !replaceContents(image, result.get())) {
        return 0;
    }
    result.release(); // freed by replaceContents
    return 1;
}

PELMIX_API HGLOBAL PELMIX_CALL PelmixBit24To8(HGLOBAL image, const char* caption,
                                              const char* text) {
    Progress progress(caption, text);
    SourceImage source(image);
    if (!source.valid()) {
        return nullptr;
    }
    const DibView& src = source.view();
    // Palette images of up to 8 bits already fit: their own table is the best one.
    if (src.bitCount() <= 8) {
        return widened(src, 8);
    }
    return quantisedCopy(src, 8, true, false);
}
