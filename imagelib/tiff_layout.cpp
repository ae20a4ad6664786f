#include "tiff_layout.h"

#include <cmath>

namespace pelmix {

bool readLayout(TIFF* tif, Layout& layout) {
    if (TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &layout.width) != 1 ||
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &layout.height) != 1) {
        return false;
    }
    uint16_t* extra = nullptr;
    if (TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &layout.bits) != 1 ||
        TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &layout.samples) != 1 ||
        TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &layout.planar) != 1 ||
        TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &layout.compression) != 1 ||
        TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &layout.sampleFormat) != 1 ||
        TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &layout.orientation) != 1 ||
        TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &layout.extraSamples, &extra) != 1) {
        return false;
    }
    if (TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &layout.photometric) != 1) {
        layout.photometric = 0xFFFF; // the RGBA reader knows how to guess
    }
    if (layout.extraSamples > 0 && extra != nullptr) {
        layout.extraType = extra[0];
    }
    layout.tiled = TIFFIsTiled(tif) != 0;
    return true;
}

namespace {

// The fewest bytes any encoder of the compression needs for the picture: CCITT codes a row in no
// less than a bit; PackBits, LZW and Deflate expand a byte to at most 64, 3640 and 1032 bytes;
// JPEG spends at least a bit on every 8 x 8 block of its first sample. 0 where no bound is known.
uint64_t leastBytes(const Layout& layout) {
    const uint64_t rows = layout.height;
    const uint64_t samples = layout.planar == PLANARCONFIG_SEPARATE ? layout.samples : 1;
    const uint64_t raw = (uint64_t(layout.width) * layout.bits *
                              (layout.planar == PLANARCONFIG_SEPARATE ? 1 : layout.samples) +
                          7) /
                         8 * rows * samples;
    switch (layout.compression) {
    case COMPRESSION_CCITTRLE:
    case COMPRESSION_CCITTRLEW:
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4:
        return rows * samples / 8;
    case COMPRESSION_PACKBITS:
        return raw / 64;
    case COMPRESSION_LZW:
        return raw / 3640;
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
        return raw / 1032;
    case COMPRESSION_JPEG:
        return uint64_t(layout.width) * rows / (64 * 8);
    default:
        return 0;
    }
}

} // namespace

bool dataPresent(TIFF* tif, const Layout& layout, uint64_t fileSize) {
    const uint32_t count = layout.tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    uint32_t rowsPerStrip = layout.height;
    if (count == 0 ||
        (!layout.tiled && TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip) != 1)) {
        return false;
    }
    if (rowsPerStrip == 0 || rowsPerStrip > layout.height) {
        rowsPerStrip = layout.height;
    }
    const uint32_t stripsPerPlane = (layout.height - 1) / rowsPerStrip + 1;
    const bool raw = layout.compression == COMPRESSION_NONE && !layout.tiled;
    uint64_t total = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t offset = TIFFGetStrileOffset(tif, i);
        const uint64_t bytes = TIFFGetStrileByteCount(tif, i);
        if (offset > fileSize || bytes > fileSize - offset) {
            return false;
        }
        total += bytes;
        if (raw) {
            // Uncompressed: the strip must hold all of its rows (the last one may be short).
            const uint32_t first = (i % stripsPerPlane) * rowsPerStrip;
            const uint32_t rows = first < layout.height && layout.height - first < rowsPerStrip
                                      ? layout.height - first
                                      : rowsPerStrip;
            if (bytes < TIFFVStripSize64(tif, rows)) {
                return false;
            }
        }
    }
    // A few bytes that claim a huge picture would cost the time and memory of all its pixels.
    return total >= leastBytes(layout);
}

void setResolution(TIFF* tif, PELMIX_BITMAPINFOHEADER& header) {
    uint16_t unit = RESUNIT_INCH;
    float x = 0;
    float y = 0;
    if (TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit) != 1 ||
        TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x) != 1) {
        return;
    }
    if (TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y) != 1) {
        y = x;
    }
    double perMetre = 0;
    if (unit == RESUNIT_INCH) {
        perMetre = 1 / 0.0254;
    } else if (unit == RESUNIT_CENTIMETER) {
        perMetre = 100;
    } else {
        return; // no absolute unit: only an aspect ratio
    }
    const auto convert = [perMetre](float value) -> int32_t {
        const double ppm = std::round(static_cast<double>(value) * perMetre);
        return std::isfinite(ppm) && ppm > 0 && ppm <= INT32_MAX ? static_cast<int32_t>(ppm) : 0;
    };
    header.biXPelsPerMeter = convert(x);
    header.biYPelsPerMeter = convert(y);
}

} // namespace pelmix
