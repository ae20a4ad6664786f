// TIFF writing: one page, bilevel, grey, palette or RGB, uncompressed, PackBits or Group 4.
#include "codecs.h"
#include "dib.h"
#include "temporary_file.h"
#include "tiff_file.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace pelmix {

namespace {

// The whole number of dots per inch that pixels per metre were rounded from (300 dpi is stored
// as 11811), so that the file says 300 rather than 299.9994; 0 when there is none.
long wholeDotsPerInch(int32_t perMetre) {
    const long dpi = std::lround(perMetre * 0.0254);
    return dpi > 0 && std::lround(dpi / 0.0254) == perMetre ? dpi : 0;
}

uint32_t luminance(const Rgbq& c) {
    return 299u * c.red + 587u * c.green + 114u * c.blue;
}

// The whole 2^bits colour table of an indexed view; entries the image leaves out are black.
void fullPalette(const DibView& dib, Rgbq* table) {
    const uint32_t count = 1u << dib.bitCount();
    std::memset(table, 0, count * sizeof(Rgbq));
    std::memcpy(table, dib.colours(),
                (dib.colourCount() < count ? dib.colourCount() : count) * sizeof(Rgbq));
}

bool plainRamp(const Rgbq* table, uint32_t count) {
    const uint32_t step = 255 / (count - 1);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t g = i * step;
        if (table[i].red != g || table[i].green != g || table[i].blue != g) {
            return false;
        }
    }
    return true;
}

// Tags describing the picture; false when libtiff refused one.
bool describe(TIFF* tif, const DibView& dib, uint16_t compression, bool oneStrip = false) {
    const uint16_t bits = dib.bitCount();
    const uint16_t samples = bits == 24 ? 3 : 1;
    uint16_t photometric = PHOTOMETRIC_RGB;
    Rgbq table[256];
    if (bits <= 8) {
        fullPalette(dib, table);
    }
    if (bits == 1) {
        // Bits as stored; the photometric says which of the two is the dark one.
        photometric = luminance(table[0]) <= luminance(table[1]) ? PHOTOMETRIC_MINISBLACK
                                                                 : PHOTOMETRIC_MINISWHITE;
    } else if (bits <= 8) {
        photometric = plainRamp(table, 1u << bits) ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_PALETTE;
    }
    bool ok = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(dib.width())) == 1 &&
              TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(dib.height())) == 1 &&
              TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits == 24 ? 8 : bits) == 1 &&
              TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples) == 1 &&
              TIFFSetField(tif, TIFFTAG_COMPRESSION, compression) == 1 &&
              TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric) == 1 &&
              TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) == 1 &&
              TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) == 1;
    if (ok && photometric == PHOTOMETRIC_PALETTE) {
        uint16_t red[256], green[256], blue[256];
        for (uint32_t i = 0; i < (1u << bits); ++i) {
            red[i] = static_cast<uint16_t>(table[i].red * 257);
            green[i] = static_cast<uint16_t>(table[i].green * 257);
            blue[i] = static_cast<uint16_t>(table[i].blue * 257);
        }
        ok = TIFFSetField(tif, TIFFTAG_COLORMAP, red, green, blue) == 1;
    }
    const PELMIX_BITMAPINFOHEADER& header = dib.header();
    if (ok && header.biXPelsPerMeter > 0) {
        const int32_t yPerMetre =
            header.biYPelsPerMeter > 0 ? header.biYPelsPerMeter : header.biXPelsPerMeter;
        const bool inches =
            wholeDotsPerInch(header.biXPelsPerMeter) != 0 && wholeDotsPerInch(yPerMetre) != 0;
        const auto value = [inches](int32_t perMetre) {
            return inches ? static_cast<double>(wholeDotsPerInch(perMetre)) : perMetre / 100.0;
        };
        ok = TIFFSetField(tif, TIFFTAG_XRESOLUTION, value(header.biXPelsPerMeter)) == 1 &&
             TIFFSetField(tif, TIFFTAG_YRESOLUTION, value(yPerMetre)) == 1 &&
             TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT,
                          inches ? RESUNIT_INCH : RESUNIT_CENTIMETER) == 1;
    }
    const uint32_t rows =
        oneStrip ? static_cast<uint32_t>(dib.height()) : TIFFDefaultStripSize(tif, 0);
    return ok && TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rows) == 1;
}

// The rows, top to bottom, through a scratch line (codecs may scribble on what they are given).
bool writeRows(TiffFile& file, const DibView& dib) {
    TIFF* tif = file.get();
    const uint16_t bits = dib.bitCount();
    const size_t bytes = (static_cast<size_t>(dib.width()) * bits + 7) / 8;
    const tmsize_t lineSize = TIFFScanlineSize(tif);
    if (lineSize <= 0 || static_cast<size_t>(lineSize) < bytes) {
        return false;
    }
    std::unique_ptr<uint8_t[]> line(new (std::nothrow) uint8_t[static_cast<size_t>(lineSize)]);
    if (!line) {
        return false;
    }
    for (int32_t y = 0; y < dib.height(); ++y) {
        const uint8_t* in = dib.row(y);
        uint8_t* out = line.get();
        if (bits == 24) {
            for (int32_t x = 0; x < dib.width(); ++x) {
                out[3 * x] = in[3 * x + 2];
                out[3 * x + 1] = in[3 * x + 1];
                out[3 * x + 2] = in[3 * x];
            }
        } else {
            std::memcpy(out, in, bytes);
        }
        if (TIFFWriteScanline(tif, out, static_cast<uint32_t>(y), 0) != 1 || file.failed()) {
            return false;
        }
    }
    return true;
}

} // namespace

bool encodeTiff(HGLOBAL image, int32_t compression, const char* path) {
    uint16_t codec = COMPRESSION_NONE;
    switch (compression) {
    case PELMIX_TIFF_NONE:
        codec = COMPRESSION_NONE;
        break;
    case PELMIX_TIFF_PACKBITS:
        codec = COMPRESSION_PACKBITS;
        break;
    case PELMIX_TIFF_GROUP4:
        codec = COMPRESSION_CCITTFAX4;
        break;
    default:
        return false;
    }
    if (path == nullptr) {
        return false;
    }
    OwnedDib converted;
    {
        DibView probe(image);
        if (!probe.valid() || (codec == COMPRESSION_CCITTFAX4 && probe.bitCount() != 1)) {
            return false;
        }
        if (probe.bitCount() == 16 || probe.bitCount() == 32) {
            converted.reset(normalizedCopy(image));
            if (!converted) {
                return false;
            }
        }
    }
    DibView dib(converted ? converted.get() : image);
    if (!dib.valid()) {
        return false;
    }
    TiffFile file(path);
    if (!file.isOpen() || !describe(file.get(), dib, codec) || !writeRows(file, dib) ||
        TIFFWriteDirectory(file.get()) != 1) {
        return false;
    }
    return file.close();
}

bool encodeGroup4(HGLOBAL image, std::vector<uint8_t>& out, bool& zeroIsBlack) {
    DibView dib(image);
    if (!dib.valid() || dib.bitCount() != 1) {
        return false;
    }
    Rgbq table[256];
    fullPalette(dib, table);
    zeroIsBlack = luminance(table[0]) <= luminance(table[1]);
    // libtiff encodes into a file only: a one-strip TIFF in the temporary folder, whose strip is
    // the Group 4 data.
    const TemporaryFile temp("pelmix-g4");
    if (!temp.made()) {
        return false;
    }
    const std::string& name = temp.path();
    {
        TiffFile file(name.c_str());
        if (!file.isOpen() || !describe(file.get(), dib, COMPRESSION_CCITTFAX4, true) ||
            !writeRows(file, dib) || TIFFWriteDirectory(file.get()) != 1 || !file.close()) {
            return false;
        }
    }
    FileReader reader;
    if (!reader.open(name.c_str(), uint64_t(1) << 31)) {
        return false;
    }
    TiffFile file(reader);
    uint64_t* counts = nullptr;
    if (!file.isOpen() || TIFFNumberOfStrips(file.get()) != 1 ||
        TIFFGetField(file.get(), TIFFTAG_STRIPBYTECOUNTS, &counts) != 1 || counts == nullptr) {
        return false;
    }
    out.resize(static_cast<size_t>(counts[0]));
    return TIFFReadRawStrip(file.get(), 0, out.data(), static_cast<tmsize_t>(out.size())) ==
               static_cast<tmsize_t>(out.size()) &&
           !file.failed();
}

} // namespace pelmix
