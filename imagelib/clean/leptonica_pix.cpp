#include "leptonica_pix.h"

#include "dib.h"

#include <cmath>

namespace pelmix {
namespace {

constexpr double kInchesPerMetre = 0.0254;

int dpiOf(int32_t pelsPerMetre) {
    return pelsPerMetre > 0 ? static_cast<int>(std::lround(pelsPerMetre * kInchesPerMetre)) : 0;
}

int32_t pelsPerMetreOf(l_int32 dpi) {
    return dpi > 0 ? static_cast<int32_t>(std::lround(dpi / kInchesPerMetre)) : 0;
}

} // namespace

OwnedPix pixFromImage(HGLOBAL image) {
    OwnedDib plain(normalizedCopy(image)); // 1, 4, 8 or 24 bits, bottom-up
    const DibView dib(plain.get());
    if (!dib.valid()) {
        return nullptr;
    }
    const int32_t width = dib.width();
    const int32_t height = dib.height();
    const uint16_t bits = dib.bitCount();
    const bool grey = bits == 8 && greyPalette(dib.colours(), dib.colourCount());
    const l_int32 depth = bits == 1 ? 1 : grey ? 8 : 32;
    OwnedPix pix(pixCreate(width, height, depth));
    if (!pix) {
        return nullptr;
    }
    pixSetResolution(pix.get(), dpiOf(dib.header().biXPelsPerMeter),
                     dpiOf(dib.header().biYPelsPerMeter));
    const Rgbq* colours = dib.colours();
    // The darker of the two entries is black.
    const auto lightness = [&](uint32_t i) {
        return i < dib.colourCount()
                   ? int(colours[i].red) + int(colours[i].green) + int(colours[i].blue)
                   : int(i) * 765;
    };
    const uint8_t blackIndex = bits == 1 && lightness(1) < lightness(0) ? 1 : 0;
    const l_int32 wpl = pixGetWpl(pix.get());
    l_uint32* data = pixGetData(pix.get());
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = dib.row(y);
        l_uint32* line = data + static_cast<size_t>(y) * wpl;
        if (depth == 1) {
            for (int32_t x = 0; x < width; ++x) {
                if (indexAt(row, x, 1) == blackIndex) {
                    SET_DATA_BIT(line, x);
                }
            }
        } else if (depth == 8) {
            for (int32_t x = 0; x < width; ++x) {
                SET_DATA_BYTE(line, x, colours[row[x]].red);
            }
        } else if (bits == 24) {
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t* p = row + 3 * x;
                line[x] = (l_uint32(p[2]) << L_RED_SHIFT) | (l_uint32(p[1]) << L_GREEN_SHIFT) |
                          (l_uint32(p[0]) << L_BLUE_SHIFT);
            }
        } else {
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t index = indexAt(row, x, bits);
                const Rgbq c = index < dib.colourCount() ? colours[index] : Rgbq{0, 0, 0, 0};
                line[x] = (l_uint32(c.red) << L_RED_SHIFT) | (l_uint32(c.green) << L_GREEN_SHIFT) |
                          (l_uint32(c.blue) << L_BLUE_SHIFT);
            }
        }
    }
    return pix;
}

HGLOBAL imageFromPix(PIX* source) {
    if (source == nullptr) {
        return nullptr;
    }
    OwnedPix converted;
    PIX* pix = source;
    const l_int32 depth = pixGetDepth(source);
    if (pixGetColormap(source) != nullptr || (depth != 1 && depth != 8 && depth != 32)) {
        converted.reset(pixConvertTo32(source));
        pix = converted.get();
        if (pix == nullptr) {
            return nullptr;
        }
    }
    const l_int32 width = pixGetWidth(pix);
    const l_int32 height = pixGetHeight(pix);
    const l_int32 bits = pixGetDepth(pix) == 32 ? 24 : pixGetDepth(pix);
    OwnedDib image(createDib(width, height, static_cast<uint16_t>(bits)));
    const DibView dib(image.get());
    if (!dib.valid()) {
        return nullptr;
    }
    dib.header().biXPelsPerMeter = pelsPerMetreOf(pixGetXRes(pix));
    dib.header().biYPelsPerMeter = pelsPerMetreOf(pixGetYRes(pix));
    Rgbq* colours = dib.colours();
    if (bits == 1) {
        colours[0] = Rgbq{0, 0, 0, 0};
        colours[1] = Rgbq{255, 255, 255, 0};
    } else if (bits == 8) {
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<uint8_t>(i);
            colours[i] = Rgbq{v, v, v, 0};
        }
    }
    const l_int32 wpl = pixGetWpl(pix);
    const l_uint32* data = pixGetData(pix);
    for (l_int32 y = 0; y < height; ++y) {
        uint8_t* row = dib.row(y);
        const l_uint32* line = data + static_cast<size_t>(y) * wpl;
        if (bits == 1) {
            for (l_int32 x = 0; x < width; ++x) {
                setIndexAt(row, x, 1, GET_DATA_BIT(line, x) ? 0 : 1);
            }
        } else if (bits == 8) {
            for (l_int32 x = 0; x < width; ++x) {
                row[x] = static_cast<uint8_t>(GET_DATA_BYTE(line, x));
            }
        } else {
            for (l_int32 x = 0; x < width; ++x) {
                const l_uint32 p = line[x];
                row[3 * x] = static_cast<uint8_t>(p >> L_BLUE_SHIFT);
                row[3 * x + 1] = static_cast<uint8_t>(p >> L_GREEN_SHIFT);
                row[3 * x + 2] = static_cast<uint8_t>(p >> L_RED_SHIFT);
            }
        }
    }
    return image.release();
}

OwnedPix greyOf(PIX* pix) {
    if (pix == nullptr) {
        return nullptr;
    }
    switch (pixGetDepth(pix)) {
    case 32:
        return OwnedPix(pixConvertRGBToLuminance(pix));
    case 1:
        return OwnedPix(pixConvert1To8(nullptr, pix, 255, 0));
    case 8:
        if (pixGetColormap(pix) == nullptr) {
            return OwnedPix(pixCopy(nullptr, pix));
        }
        [[fallthrough]];
    default:
        return OwnedPix(pixConvertTo8(pix, 0));
    }
}

} // namespace pelmix
