// Brightness, colour balance and negative. Each is a lookup table per channel, applied to the
// pixels of full-colour images and to the colour table of palette images (the indices stay, and
// a grey table stays grey because all three channels move alike).
#include "ops_common.h"
#include "progress.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace pelmix;

struct ChannelTables {
    uint8_t red[256];
    uint8_t green[256];
    uint8_t blue[256];
};

void fillOffset(uint8_t* table, int32_t delta) {
    for (int32_t v = 0; v < 256; ++v) {
        table[v] = static_cast<uint8_t>(std::clamp(v + delta, 0, 255));
    }
}

void applyTables(const DibView& dib, const ChannelTables& tables) {
    if (dib.bitCount() <= 8) {
        Rgbq* colours = dib.colours();
        for (uint32_t i = 0; i < dib.colourCount(); ++i) {
            colours[i].red = tables.red[colours[i].red];
            colours[i].green = tables.green[colours[i].green];
            colours[i].blue = tables.blue[colours[i].blue];
        }
        return;
    }
    const int32_t width = dib.width();
    for (int32_t y = 0; y < dib.height(); ++y) {
        uint8_t* p = dib.row(y);
        for (int32_t x = 0; x < width; ++x, p += 3) {
            p[0] = tables.blue[p[0]];
            p[1] = tables.green[p[1]];
            p[2] = tables.red[p[2]];
        }
    }
}

// Nothing can fail once the tables are being applied, so the image is either fully changed or,
// for a bad handle, not touched at all.
int32_t applyInPlace(HGLOBAL image, const ChannelTables& tables) {
    {
        DibView dib(image);
        if (!dib.valid()) {
            return 0;
        }
        const uint16_t bits = dib.bitCount();
        if (bits != 16 && bits != 32) {
            applyTables(dib, tables);
            return 1;
        }
    }
    // 16 and 32 bits become 24 bits; the caller's handle receives the converted result.
    OwnedDib work(normalizedCopy(image));
    if (!work) {
        return 0;
    }
    {
        DibView dib(work.get());
        if (!dib.valid()) {
            return 0;
        }
        applyTables(dib, tables);
    }
    if (!replaceContents(image, work.get())) {
        return 0;
    }
    work.release(); // freed by replaceContents
    return 1;
}

} // namespace

PELMIX_API int32_t PELMIX_CALL PelmixBright(HGLOBAL image, const char* caption, const char* text,
                                            double factor) {
    Progress progress(caption, text);
    if (std::isnan(factor)) {
        return 0;
    }
    const double limited = std::clamp(factor, -2.55, 2.55);
    const auto delta = static_cast<int32_t>(std::lround(limited * 100.0));
    ChannelTables tables;
    fillOffset(tables.red, delta);
    fillOffset(tables.green, delta);
    fillOffset(tables.blue, delta);
    return applyInPlace(image, tables);
}

PELMIX_API int32_t PELMIX_CALL PelmixRGB(HGLOBAL image, const char* caption, const char* text,
                                         int32_t red, int32_t green, int32_t blue) {
    Progress progress(caption, text);
    ChannelTables tables;
    fillOffset(tables.red, std::clamp(red, -255, 255));
    fillOffset(tables.green, std::clamp(green, -255, 255));
    fillOffset(tables.blue, std::clamp(blue, -255, 255));
    return applyInPlace(image, tables);
}

PELMIX_API int32_t PELMIX_CALL PelmixColorReverse(HGLOBAL image, const char* caption,
                                                  const char* text) {
    Progress progress(caption, text);
    ChannelTables tables;
    for (int32_t v = 0; v < 256; ++v) {
        tables.red[v] = tables.green[v] = tables.blue[v] = static_cast<uint8_t>(255 - v);
    }
    return applyInPlace(image, tables);
}
