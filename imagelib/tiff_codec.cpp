// TIFF reading: the first page, keeping bilevel, grey and palette pictures as they are and
// handing everything else to libtiff's RGBA reader.
#include "codecs.h"
#include "dib.h"
#include "tiff_file.h"

#include <cmath>
#include <cstring>
#include <new>

namespace pelmix {

namespace {

// What the first directory says about the pixels, with libtiff's defaults filled in.
struct Layout {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bits = 1;
    uint16_t samples = 1;
    uint16_t photometric = 0xFFFF; // absent
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t compression = COMPRESSION_NONE;
    uint16_t sampleFormat = SAMPLEFORMAT_UINT;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    uint16_t extraSamples = 0;
    bool tiled = false;
};

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
    layout.tiled = TIFFIsTiled(tif) != 0;
    return true;
}

// Refuses a file whose strips or tiles lie outside it, or (uncompressed) that holds fewer
// bytes than its size promises, before anything is allocated for the picture.
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
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t offset = TIFFGetStrileOffset(tif, i);
        const uint64_t bytes = TIFFGetStrileByteCount(tif, i);
        if (offset > fileSize || bytes > fileSize - offset) {
            return false;
        }
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
    return true;
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

// A one-sample picture read line by line into a 1-, 4- or 8-bit image: the colour table and
// how each stored sample value maps to an index.
struct IndexPlan {
    uint16_t outBits = 0;
    uint32_t colours = 0;
    Rgbq palette[256] = {};
    uint8_t map[256] = {};
    bool identity = true;
};

uint8_t colourMapValue(uint16_t value, bool eightBit) {
    return eightBit ? static_cast<uint8_t>(value)
                    : static_cast<uint8_t>((static_cast<uint32_t>(value) * 255 + 32767) / 65535);
}

bool planIndexed(TIFF* tif, const Layout& layout, IndexPlan& plan) {
    const uint16_t bits = layout.bits;
    const uint32_t values = 1u << bits;
    plan.outBits = bits == 2 ? 4 : bits;
    plan.colours = 1u << plan.outBits;
    for (uint32_t v = 0; v < values; ++v) {
        plan.map[v] = static_cast<uint8_t>(v);
    }
    if (layout.photometric == PHOTOMETRIC_PALETTE) {
        uint16_t* red = nullptr;
        uint16_t* green = nullptr;
        uint16_t* blue = nullptr;
        if (TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) != 1 || !red || !green ||
            !blue) {
            return false;
        }
        // Some old writers stored 8-bit values; a map with nothing above 255 is one of those.
        bool eightBit = true;
        for (uint32_t i = 0; i < values; ++i) {
            eightBit = eightBit && red[i] <= 255 && green[i] <= 255 && blue[i] <= 255;
        }
        for (uint32_t i = 0; i < values; ++i) {
            plan.palette[i] = {colourMapValue(blue[i], eightBit),
                               colourMapValue(green[i], eightBit), colourMapValue(red[i], eightBit),
                               0};
        }
        return true;
    }
    const bool whiteIsZero = layout.photometric == PHOTOMETRIC_MINISWHITE;
    if (bits == 1) {
        // Keep the bits; the two-entry table carries the polarity.
        const uint8_t first = whiteIsZero ? 255 : 0;
        plan.palette[0] = {first, first, first, 0};
        plan.palette[1] = {static_cast<uint8_t>(255 - first), static_cast<uint8_t>(255 - first),
                           static_cast<uint8_t>(255 - first), 0};
        return true;
    }
    // Grey: a plain black-first ramp, stored values turned into indices on it.
    const uint32_t step = 255 / (plan.colours - 1);
    for (uint32_t i = 0; i < plan.colours; ++i) {
        const auto g = static_cast<uint8_t>(i * step);
        plan.palette[i] = {g, g, g, 0};
    }
    const uint32_t scale = (plan.colours - 1) / (values - 1);
    for (uint32_t v = 0; v < values; ++v) {
        const uint32_t level = whiteIsZero ? values - 1 - v : v;
        plan.map[v] = static_cast<uint8_t>(level * scale);
    }
    plan.identity = !whiteIsZero && bits == plan.outBits;
    return true;
}

uint8_t sampleAt(const uint8_t* line, uint32_t x, uint16_t bits) {
    if (bits == 8) {
        return line[x];
    }
    const uint32_t bit = x * bits;
    const uint32_t shift = 8 - bits - (bit & 7);
    return static_cast<uint8_t>((line[bit >> 3] >> shift) & ((1u << bits) - 1));
}

// Reads the strips line by line into image; false on any read error.
bool readLines(TiffFile& file, const Layout& layout, const IndexPlan* plan, HGLOBAL image) {
    TIFF* tif = file.get();
    const tmsize_t lineSize = TIFFScanlineSize(tif);
    const uint64_t minimum =
        (static_cast<uint64_t>(layout.width) * layout.bits * layout.samples + 7) / 8;
    if (lineSize <= 0 || static_cast<uint64_t>(lineSize) < minimum) {
        return false;
    }
    std::unique_ptr<uint8_t[]> line(new (std::nothrow) uint8_t[static_cast<size_t>(lineSize)]);
    DibView dib(image);
    if (!line || !dib.valid()) {
        return false;
    }
    const auto width = static_cast<int32_t>(layout.width);
    const auto height = static_cast<int32_t>(layout.height);
    const bool flipX =
        layout.orientation == ORIENTATION_TOPRIGHT || layout.orientation == ORIENTATION_BOTRIGHT;
    const bool flipY =
        layout.orientation == ORIENTATION_BOTRIGHT || layout.orientation == ORIENTATION_BOTLEFT;
    for (int32_t y = 0; y < height; ++y) {
        if (TIFFReadScanline(tif, line.get(), static_cast<uint32_t>(y), 0) < 0 || file.failed()) {
            return false;
        }
        uint8_t* out = dib.row(flipY ? height - 1 - y : y);
        const uint8_t* in = line.get();
        if (plan == nullptr) {
            for (int32_t x = 0; x < width; ++x) {
                uint8_t* px = out + 3 * (flipX ? width - 1 - x : x);
                px[0] = in[3 * x + 2];
                px[1] = in[3 * x + 1];
                px[2] = in[3 * x];
            }
        } else if (plan->identity && !flipX) {
            std::memcpy(out, in, static_cast<size_t>(minimum));
        } else {
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t index =
                    plan->map[sampleAt(in, static_cast<uint32_t>(x), layout.bits)];
                setIndexAt(out, flipX ? width - 1 - x : x, plan->outBits, index);
            }
        }
    }
    return true;
}

// Everything libtiff can turn into RGBA, as 24 bits.
HGLOBAL readRgba(TiffFile& file, const Layout& layout) {
    const uint64_t pixels = static_cast<uint64_t>(layout.width) * layout.height;
    // Four bytes a pixel: at most 1 GiB within the library's pixel limit.
    if (pixels > PELMIX_MAX_PIXELS) {
        return nullptr;
    }
    std::unique_ptr<uint32_t[]> raster(new (std::nothrow) uint32_t[static_cast<size_t>(pixels)]);
    if (!raster) {
        return nullptr;
    }
    if (TIFFReadRGBAImageOriented(file.get(), layout.width, layout.height, raster.get(),
                                  ORIENTATION_BOTLEFT, 1) != 1 ||
        file.failed()) {
        return nullptr;
    }
    HGLOBAL image =
        createDib(static_cast<int32_t>(layout.width), static_cast<int32_t>(layout.height), 24);
    if (image == nullptr) {
        return nullptr;
    }
    DibView dib(image);
    // Bottom-left first, the same row order as the image's own storage.
    const uint32_t* in = raster.get();
    for (uint32_t y = 0; y < layout.height; ++y) {
        uint8_t* out = dib.pixels() + static_cast<size_t>(y) * dib.stride();
        for (uint32_t x = 0; x < layout.width; ++x, ++in) {
            out[3 * x] = static_cast<uint8_t>(TIFFGetB(*in));
            out[3 * x + 1] = static_cast<uint8_t>(TIFFGetG(*in));
            out[3 * x + 2] = static_cast<uint8_t>(TIFFGetR(*in));
        }
    }
    return image;
}

bool readsByLine(const Layout& layout) {
    if (layout.tiled || layout.sampleFormat != SAMPLEFORMAT_UINT || layout.extraSamples != 0 ||
        layout.orientation < ORIENTATION_TOPLEFT || layout.orientation > ORIENTATION_BOTLEFT) {
        return false;
    }
    const bool smallSamples =
        layout.bits == 1 || layout.bits == 2 || layout.bits == 4 || layout.bits == 8;
    switch (layout.photometric) {
    case PHOTOMETRIC_MINISBLACK:
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_PALETTE:
        return layout.samples == 1 && smallSamples;
    case PHOTOMETRIC_RGB:
        return layout.samples == 3 && layout.bits == 8 && layout.planar == PLANARCONFIG_CONTIG;
    default:
        return false;
    }
}

HGLOBAL readByLine(TiffFile& file, const Layout& layout) {
    IndexPlan plan;
    const bool indexed = layout.photometric != PHOTOMETRIC_RGB;
    if (indexed && !planIndexed(file.get(), layout, plan)) {
        return nullptr;
    }
    HGLOBAL image = createDib(static_cast<int32_t>(layout.width),
                              static_cast<int32_t>(layout.height), indexed ? plan.outBits : 24);
    if (image == nullptr) {
        return nullptr;
    }
    if (indexed) {
        DibView dib(image);
        std::memcpy(dib.colours(), plan.palette, plan.colours * sizeof(Rgbq));
    }
    if (!readLines(file, layout, indexed ? &plan : nullptr, image)) {
        GlobalFree(image);
        return nullptr;
    }
    return image;
}

} // namespace

HGLOBAL decodeTiff(const uint8_t* data, size_t size) {
    TiffFile file(data, size);
    Layout layout;
    if (!file.isOpen() || file.failed() || !readLayout(file.get(), layout) ||
        !sizeAllowed(layout.width, layout.height) || !dataPresent(file.get(), layout, size) ||
        file.failed()) {
        return nullptr;
    }
    HGLOBAL image = nullptr;
    if (readsByLine(layout)) {
        image = readByLine(file, layout);
        // A codec that cannot deliver lines may still deliver whole strips to the RGBA reader.
        file.forgetErrors();
    }
    if (image == nullptr) {
        image = readRgba(file, layout);
    }
    if (image != nullptr) {
        DibView dib(image);
        setResolution(file.get(), dib.header());
    }
    return image;
}

} // namespace pelmix
