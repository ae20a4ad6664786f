// TIFF loading and saving through the exported functions, checked against libtiff itself.
#include "temp_dir.h"
#include "test_images.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <tiffio.h>

namespace {

ImageHandle load(const std::string& path) {
    return ImageHandle(PelmixFileLoad(path.c_str(), "", ""));
}

void expectSamePixels(HGLOBAL a, HGLOBAL b) {
    const IMAGE_INFO ia = infoOf(a);
    ASSERT_EQ(ia.WIDTH, infoOf(b).WIDTH);
    ASSERT_EQ(ia.HEIGHT, infoOf(b).HEIGHT);
    for (int y = 0; y < ia.HEIGHT; ++y) {
        for (int x = 0; x < ia.WIDTH; ++x) {
            ASSERT_EQ(pixelAt(a, x, y), pixelAt(b, x, y)) << x << "," << y;
        }
    }
}

uint16_t tagOf(const std::string& path, ttag_t tag) {
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    uint16_t value = 0;
    if (tif != nullptr) {
        TIFFGetField(tif, tag, &value);
        TIFFClose(tif);
    }
    return value;
}

// Writes a TIFF with libtiff: tags are integer tags to set (besides the size), body writes
// the pixels (and any further pages).
void writeWithLibtiff(const std::string& path, uint32_t width, uint32_t height,
                      std::initializer_list<std::pair<ttag_t, int>> tags,
                      const std::function<void(TIFF*)>& body, const char* mode = "w") {
    TIFF* tif = TIFFOpen(path.c_str(), mode);
    ASSERT_NE(tif, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    for (const auto& [tag, value] : tags) {
        TIFFSetField(tif, tag, value);
    }
    body(tif);
    TIFFClose(tif);
}

// Every row from a function of (x, y, sample) for 8-bit contiguous samples.
std::function<void(TIFF*)> rows8(uint32_t width, uint32_t height, int samples,
                                 const std::function<uint8_t(int, int, int)>& value) {
    return [=](TIFF* tif) {
        std::vector<uint8_t> line(width * samples);
        for (uint32_t y = 0; y < height; ++y) {
            for (uint32_t x = 0; x < width; ++x) {
                for (int s = 0; s < samples; ++s) {
                    line[x * samples + s] = value(x, y, s);
                }
            }
            TIFFWriteScanline(tif, line.data(), y, 0);
        }
    };
}

Colour rgbAt(int x, int y) {
    return testPattern(x, y, 21, 9);
}

struct RoundTrip {
    const char* name;
    int bits;
    std::vector<Colour> palette;
    uint16_t photometric;
};

std::vector<Colour> colourful(int bits) {
    std::vector<Colour> p(1u << bits);
    for (size_t i = 0; i < p.size(); ++i) {
        p[i] = {static_cast<uint8_t>(i * 37), static_cast<uint8_t>(255 - i),
                static_cast<uint8_t>(i * 5)};
    }
    return p;
}

class TiffRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(TiffRoundTrip, KeepsPixelsColourTypeAndResolution) {
    const int compression = GetParam();
    const std::vector<RoundTrip> cases = {
        {"bilevel", 1, {{0, 0, 0}, {255, 255, 255}}, PHOTOMETRIC_MINISBLACK},
        {"bilevel-inverted", 1, {{255, 255, 255}, {0, 0, 0}}, PHOTOMETRIC_MINISWHITE},
        {"grey4", 4, greyPalette(4), PHOTOMETRIC_MINISBLACK},
        {"palette4", 4, colourful(4), PHOTOMETRIC_PALETTE},
        {"grey8", 8, greyPalette(8), PHOTOMETRIC_MINISBLACK},
        {"palette8", 8, colourful(8), PHOTOMETRIC_PALETTE},
    };
    TempDir dir;
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        const int levels = 1 << c.bits;
        ImageHandle image = makeIndexedImage(
            21, 9, c.bits, c.palette, [&](int x, int y) { return (x * 7 + y * 3) % levels; });
        const IMAGE_INFO before = infoOf(image.get());
        const std::string path = dir.file(std::string(c.name) + ".tif");
        ASSERT_EQ(PelmixTiffFileSave(path.c_str(), image.get(), "", "", compression), 1);
        EXPECT_EQ(tagOf(path, TIFFTAG_PHOTOMETRIC), c.photometric);
        ImageHandle loaded = load(path);
        ASSERT_TRUE(loaded);
        const IMAGE_INFO after = infoOf(loaded.get());
        EXPECT_EQ(after.BIT_COUNT, c.bits);
        EXPECT_EQ(after.COLOR_TYPE, before.COLOR_TYPE);
        EXPECT_EQ(after.RESOLUTION, 300);
        expectSamePixels(image.get(), loaded.get());
    }

    ImageHandle rgb = makeRgbImage(21, 9, [](int x, int y) { return rgbAt(x, y); });
    const std::string path = dir.file("rgb.tif");
    ASSERT_EQ(PelmixTiffFileSave(path.c_str(), rgb.get(), "", "", compression), 1);
    ImageHandle loaded = load(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(infoOf(loaded.get()).BIT_COUNT, 24);
    EXPECT_EQ(infoOf(loaded.get()).RESOLUTION, 300);
    expectSamePixels(rgb.get(), loaded.get());
    EXPECT_EQ(tagOf(path, TIFFTAG_COMPRESSION),
              compression == PELMIX_TIFF_PACKBITS ? COMPRESSION_PACKBITS : COMPRESSION_NONE);
}

INSTANTIATE_TEST_SUITE_P(Compressions, TiffRoundTrip,
                         ::testing::Values(PELMIX_TIFF_NONE, PELMIX_TIFF_PACKBITS));

TEST(TiffSave, ResolutionIsWrittenExactly) {
    // Pixels per metre rounded from whole dots per inch are written as those dots per inch;
    // others per centimetre, which holds them exactly.
    struct Case {
        int32_t perMetre;
        uint16_t unit;
        float x;
    };
    const Case cases[] = {{11811, RESUNIT_INCH, 300},
                          {23622, RESUNIT_INCH, 600},
                          {3780, RESUNIT_INCH, 96},
                          {10000, RESUNIT_INCH, 254},
                          {12345, RESUNIT_CENTIMETER, 123.45f}};
    TempDir dir;
    const std::string path = dir.file("res.tif");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.perMetre);
        ImageHandle image =
            makeIndexedImage(4, 2, 1, greyPalette(1), [](int x, int) { return x & 1; });
        auto* header = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(image.get()));
        header->biXPelsPerMeter = header->biYPelsPerMeter = c.perMetre;
        GlobalUnlock(image.get());
        ASSERT_EQ(PelmixTiffFileSave(path.c_str(), image.get(), "", "", PELMIX_TIFF_NONE), 1);
        TIFF* tif = TIFFOpen(path.c_str(), "r");
        ASSERT_NE(tif, nullptr);
        float x = 0, y = 0;
        uint16_t unit = 0;
        TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x);
        TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y);
        TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
        TIFFClose(tif);
        EXPECT_EQ(unit, c.unit);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.x);
        ImageHandle loaded = load(path);
        ASSERT_TRUE(loaded);
        header = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(loaded.get()));
        EXPECT_EQ(header->biXPelsPerMeter, c.perMetre);
        GlobalUnlock(loaded.get());
    }
}

TEST(TiffSave, GroupFourWritesBilevelThatLibtiffReadsBack) {
    TempDir dir;
    ImageHandle image = makeIndexedImage(37, 19, 1, {{0, 0, 0}, {255, 255, 255}},
                                         [](int x, int y) { return ((x / 3) ^ (y / 2)) & 1; });
    const std::string path = dir.file("fax.tif");
    ASSERT_EQ(PelmixTiffFileSave(path.c_str(), image.get(), "", "", PELMIX_TIFF_GROUP4), 1);

    TIFF* tif = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(tif, nullptr);
    uint16_t compression = 0, photometric = 0;
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    EXPECT_EQ(compression, COMPRESSION_CCITTFAX4);
    EXPECT_EQ(photometric, PHOTOMETRIC_MINISBLACK);
    std::vector<uint8_t> line(TIFFScanlineSize(tif));
    for (uint32_t y = 0; y < 19; ++y) {
        ASSERT_EQ(TIFFReadScanline(tif, line.data(), y, 0), 1);
        for (int x = 0; x < 37; ++x) {
            ASSERT_EQ((line[x / 8] >> (7 - x % 8)) & 1, indexAt(image.get(), x, y));
        }
    }
    TIFFClose(tif);

    ImageHandle loaded = load(path);
    ASSERT_TRUE(loaded);
    expectSamePixels(image.get(), loaded.get());
}

TEST(TiffSave, RefusesGroupFourBeyondBilevelAndUnknownCompressions) {
    TempDir dir;
    const std::string path = dir.file("out.tif");
    ImageHandle grey4 = makeIndexedImage(8, 8, 4, greyPalette(4), [](int x, int) { return x; });
    ImageHandle grey8 = makeIndexedImage(8, 8, 8, greyPalette(8), [](int x, int) { return x; });
    ImageHandle rgb = makeRgbImage(8, 8, [](int x, int y) { return rgbAt(x, y); });
    for (HGLOBAL image : {grey4.get(), grey8.get(), rgb.get()}) {
        EXPECT_EQ(PelmixTiffFileSave(path.c_str(), image, "", "", PELMIX_TIFF_GROUP4), 0);
    }
    ImageHandle bilevel =
        makeIndexedImage(8, 8, 1, greyPalette(1), [](int x, int) { return x & 1; });
    for (int compression : {1, 2, 3, 7, 32773, -1}) {
        EXPECT_EQ(PelmixTiffFileSave(path.c_str(), bilevel.get(), "", "", compression), 0);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(TiffSave, SixteenBitHandlesAreWrittenAsRgb) {
    TempDir dir;
    HGLOBAL h = GlobalAlloc(GHND, 40 + 4 * 2 * 3);
    auto* header = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(h));
    *header = {40, 3, 2, 1, 16, PELMIX_BI_RGB, 0, 0, 0, 0, 0};
    auto* pixels = reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(header) + 40);
    pixels[0] = 0x7C00; // bottom row: red, green, blue (5-5-5)
    pixels[1] = 0x03E0;
    pixels[2] = 0x001F;
    GlobalUnlock(h);
    ImageHandle image(h);
    const std::string path = dir.file("565.tif");
    ASSERT_EQ(PelmixTiffFileSave(path.c_str(), image.get(), "", "", PELMIX_TIFF_NONE), 1);
    ImageHandle loaded = load(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(infoOf(loaded.get()).BIT_COUNT, 24);
    EXPECT_EQ(pixelAt(loaded.get(), 0, 1), (Colour{255, 0, 0}));
    EXPECT_EQ(pixelAt(loaded.get(), 2, 1), (Colour{0, 0, 255}));
}

TEST(TiffLoad, ReadsWhatLibtiffWritesInOtherLayouts) {
    TempDir dir;
    const uint32_t w = 21, h = 9;
    const auto rgb8 = [](int x, int y, int s) {
        const Colour c = rgbAt(x, y);
        return s == 0 ? c.r : s == 1 ? c.g : c.b;
    };
    const auto grey = [](int x, int y, int) { return static_cast<uint8_t>(x * 12 + y); };
    const auto expectRgb = [&](const std::string& path, int tolerance) {
        ImageHandle image = load(path);
        ASSERT_TRUE(image);
        EXPECT_EQ(infoOf(image.get()).BIT_COUNT, 24);
        ImageHandle want = makeRgbImage(w, h, [](int x, int y) { return rgbAt(x, y); });
        EXPECT_LE(meanDifference(image.get(), want.get()), tolerance);
    };
    const std::initializer_list<std::pair<ttag_t, int>> rgbTags = {
        {TIFFTAG_BITSPERSAMPLE, 8},
        {TIFFTAG_SAMPLESPERPIXEL, 3},
        {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB},
        {TIFFTAG_ROWSPERSTRIP, 4}};

    {
        SCOPED_TRACE("LZW");
        const std::string path = dir.file("lzw.tif");
        writeWithLibtiff(path, w, h, rgbTags, [&](TIFF* t) {
            TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
            rows8(w, h, 3, rgb8)(t);
        });
        expectRgb(path, 0);
    }
    if (TIFFIsCODECConfigured(COMPRESSION_JPEG)) {
        SCOPED_TRACE("JPEG, YCbCr");
        const std::string path = dir.file("jpeg.tif");
        writeWithLibtiff(path, w, h,
                         {{TIFFTAG_BITSPERSAMPLE, 8},
                          {TIFFTAG_SAMPLESPERPIXEL, 3},
                          {TIFFTAG_COMPRESSION, COMPRESSION_JPEG},
                          {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR},
                          {TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB},
                          {TIFFTAG_JPEGQUALITY, 95},
                          {TIFFTAG_ROWSPERSTRIP, 16}},
                         rows8(w, h, 3, rgb8));
        expectRgb(path, 12);
    }
    {
        SCOPED_TRACE("tiles");
        const std::string path = dir.file("tiles.tif");
        writeWithLibtiff(path, w, h,
                         {{TIFFTAG_BITSPERSAMPLE, 8},
                          {TIFFTAG_SAMPLESPERPIXEL, 3},
                          {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB}},
                         [&](TIFF* t) {
                             TIFFSetField(t, TIFFTAG_TILEWIDTH, 16);
                             TIFFSetField(t, TIFFTAG_TILELENGTH, 16);
                             std::vector<uint8_t> tile(16 * 16 * 3);
                             for (uint32_t tx = 0; tx < w; tx += 16) {
                                 for (size_t i = 0; i < tile.size(); ++i) {
                                     const int x = tx + (i / 3) % 16, y = (i / 3) / 16;
                                     tile[i] = rgb8(x, y, i % 3);
                                 }
                                 TIFFWriteTile(t, tile.data(), tx, 0, 0, 0);
                             }
                         });
        expectRgb(path, 0);
    }
    {
        SCOPED_TRACE("separate planes, 16-bit samples");
        const std::string path = dir.file("planes16.tif");
        writeWithLibtiff(path, w, h,
                         {{TIFFTAG_BITSPERSAMPLE, 16},
                          {TIFFTAG_SAMPLESPERPIXEL, 3},
                          {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB}},
                         [&](TIFF* t) {
                             TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_SEPARATE);
                             std::vector<uint16_t> line(w);
                             for (uint16_t s = 0; s < 3; ++s) {
                                 for (uint32_t y = 0; y < h; ++y) {
                                     for (uint32_t x = 0; x < w; ++x) {
                                         line[x] = static_cast<uint16_t>(rgb8(x, y, s) * 257);
                                     }
                                     TIFFWriteScanline(t, line.data(), y, s);
                                 }
                             }
                         });
        expectRgb(path, 0);
    }
    {
        SCOPED_TRACE("RGBA");
        const std::string path = dir.file("rgba.tif");
        writeWithLibtiff(path, w, h,
                         {{TIFFTAG_BITSPERSAMPLE, 8},
                          {TIFFTAG_SAMPLESPERPIXEL, 4},
                          {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB}},
                         [&](TIFF* t) {
                             const uint16_t alpha = EXTRASAMPLE_ASSOCALPHA;
                             TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &alpha);
                             rows8(w, h, 4, [&](int x, int y, int s) {
                                 return s == 3 ? 255 : rgb8(x, y, s);
                             })(t);
                         });
        expectRgb(path, 0);
    }
    {
        SCOPED_TRACE("Deflate, white is zero");
        const std::string path = dir.file("deflate.tif");
        writeWithLibtiff(path, w, h,
                         {{TIFFTAG_BITSPERSAMPLE, 8},
                          {TIFFTAG_SAMPLESPERPIXEL, 1},
                          {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE},
                          {TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE}},
                         rows8(w, h, 1, grey));
        ImageHandle image = load(path);
        ASSERT_TRUE(image);
        EXPECT_EQ(infoOf(image.get()).COLOR_TYPE, PELMIX_256_GREYS);
        const uint8_t v = 255 - grey(5, 3, 0);
        EXPECT_EQ(pixelAt(image.get(), 5, 3), (Colour{v, v, v}));
    }
    {
        SCOPED_TRACE("two pages, big-endian");
        const std::string path = dir.file("pages.tif");
        writeWithLibtiff(
            path, 3, 2,
            {{TIFFTAG_BITSPERSAMPLE, 8},
             {TIFFTAG_SAMPLESPERPIXEL, 3},
             {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB}},
            [&](TIFF* t) {
                rows8(3, 2, 3, [](int, int, int s) { return s == 0 ? 200 : 0; })(t);
                TIFFWriteDirectory(t);
                TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 5);
                TIFFSetField(t, TIFFTAG_IMAGELENGTH, 5);
                TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
                TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
                TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
                rows8(5, 5, 3, [](int, int, int s) { return s == 2 ? 200 : 0; })(t);
            },
            "wb");
        ASSERT_EQ(readBytes(path).substr(0, 2), "MM");
        ImageHandle image = load(path);
        ASSERT_TRUE(image);
        EXPECT_EQ(infoOf(image.get()).WIDTH, 3);
        EXPECT_EQ(pixelAt(image.get(), 2, 1), (Colour{200, 0, 0}));
    }
}

TEST(TiffLoad, WidensTwoBitsAndReadsOldColourMapsAndOrientation) {
    TempDir dir;
    const std::string twoBit = dir.file("two.tif");
    writeWithLibtiff(twoBit, 4, 1,
                     {{TIFFTAG_BITSPERSAMPLE, 2},
                      {TIFFTAG_SAMPLESPERPIXEL, 1},
                      {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK}},
                     [](TIFF* t) {
                         uint8_t line = 0x1B; // 0 1 2 3
                         TIFFWriteScanline(t, &line, 0, 0);
                     });
    ImageHandle grey = load(twoBit);
    ASSERT_TRUE(grey);
    EXPECT_EQ(infoOf(grey.get()).BIT_COUNT, 4);
    EXPECT_EQ(infoOf(grey.get()).COLOR_TYPE, PELMIX_16_GREYS);
    for (int x = 0; x < 4; ++x) {
        const auto v = static_cast<uint8_t>(x * 85);
        EXPECT_EQ(pixelAt(grey.get(), x, 0), (Colour{v, v, v}));
    }

    // A colour map holding 8-bit values, and rows stored bottom first.
    const std::string old = dir.file("old.tif");
    writeWithLibtiff(old, 2, 2,
                     {{TIFFTAG_BITSPERSAMPLE, 4},
                      {TIFFTAG_SAMPLESPERPIXEL, 1},
                      {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE},
                      {TIFFTAG_ORIENTATION, ORIENTATION_BOTLEFT}},
                     [](TIFF* t) {
                         uint16_t r[16] = {}, g[16] = {}, b[16] = {};
                         r[1] = 200;
                         g[2] = 100;
                         TIFFSetField(t, TIFFTAG_COLORMAP, r, g, b);
                         uint8_t bottom = 0x12, top = 0x21;
                         TIFFWriteScanline(t, &bottom, 0, 0);
                         TIFFWriteScanline(t, &top, 1, 0);
                     });
    ImageHandle palette = load(old);
    ASSERT_TRUE(palette);
    EXPECT_EQ(infoOf(palette.get()).COLOR_TYPE, PELMIX_16_COLOURS);
    EXPECT_EQ(pixelAt(palette.get(), 0, 0), (Colour{0, 100, 0}));
    EXPECT_EQ(pixelAt(palette.get(), 0, 1), (Colour{200, 0, 0}));
}

TEST(TiffLoad, ResolutionFollowsTheUnitAndOtherColourSpacesBecomeFullColour) {
    TempDir dir;
    const std::string path = dir.file("res.tif");
    const auto write = [&](int unit, uint16_t photometric, int samples) {
        writeWithLibtiff(path, 2, 2,
                         {{TIFFTAG_BITSPERSAMPLE, 8},
                          {TIFFTAG_SAMPLESPERPIXEL, samples},
                          {TIFFTAG_PHOTOMETRIC, photometric},
                          {TIFFTAG_RESOLUTIONUNIT, unit}},
                         [&](TIFF* t) {
                             TIFFSetField(t, TIFFTAG_XRESOLUTION, 100.0);
                             TIFFSetField(t, TIFFTAG_YRESOLUTION, 50.0);
                             // Cyan in CMYK; a mid grey otherwise.
                             rows8(2, 2, samples, [&](int, int, int s) {
                                 return samples == 4 ? (s == 0 ? 255 : 0) : 128;
                             })(t);
                         });
        return load(path);
    };
    ImageHandle cm = write(RESUNIT_CENTIMETER, PHOTOMETRIC_MINISBLACK, 1);
    ASSERT_TRUE(cm);
    EXPECT_EQ(infoOf(cm.get()).RESOLUTION, 254);
    const auto* header = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(cm.get()));
    EXPECT_EQ(header->biXPelsPerMeter, 10000);
    EXPECT_EQ(header->biYPelsPerMeter, 5000);
    GlobalUnlock(cm.get());
    ImageHandle none = write(RESUNIT_NONE, PHOTOMETRIC_MINISBLACK, 1);
    ASSERT_TRUE(none);
    EXPECT_EQ(infoOf(none.get()).RESOLUTION, 0);

    ImageHandle cmyk = write(RESUNIT_INCH, PHOTOMETRIC_SEPARATED, 4);
    ASSERT_TRUE(cmyk);
    EXPECT_EQ(infoOf(cmyk.get()).BIT_COUNT, 24);
    EXPECT_EQ(infoOf(cmyk.get()).RESOLUTION, 100);
    EXPECT_EQ(pixelAt(cmyk.get(), 1, 1), (Colour{0, 255, 255}));
}

// An uncompressed 8-bit grey TIFF built byte by byte, so that its fields can lie.
struct RawTiff {
    bool bigEndian = false;
    uint32_t width = 4, height = 2;
    uint32_t ifdOffset = 8;
    uint32_t stripOffset = 0; // 0: where the pixels are
    uint32_t stripBytes = 0;  // 0: width * height
    uint16_t bits = 8;
    uint16_t compression = 1;

    std::string build() const {
        std::string out = bigEndian ? "MM" : "II";
        const auto put = [&](uint32_t v, int bytes) {
            for (int i = 0; i < bytes; ++i) {
                const int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
                out.push_back(static_cast<char>((v >> shift) & 0xFF));
            }
        };
        const uint32_t pixels = 8 + 2 + 9 * 12 + 4;
        put(42, 2);
        put(ifdOffset, 4);
        put(9, 2);
        const auto entry = [&](uint16_t tag, bool isShort, uint32_t value) {
            put(tag, 2);
            put(isShort ? 3 : 4, 2);
            put(1, 4);
            isShort ? (put(value, 2), put(0, 2)) : put(value, 4);
        };
        entry(256, false, width);
        entry(257, false, height);
        entry(258, true, bits);
        entry(259, true, compression);
        entry(262, true, 1);
        entry(273, false, stripOffset ? stripOffset : pixels);
        entry(277, true, 1);
        entry(278, false, height);
        entry(279, false, stripBytes ? stripBytes : width * height);
        put(0, 4);
        for (uint32_t i = 0; i < 4 * 2; ++i) {
            out.push_back(static_cast<char>(i * 30));
        }
        return out;
    }
};

TEST(TiffLoad, HandBuiltFilesInBothByteOrders) {
    TempDir dir;
    for (bool bigEndian : {false, true}) {
        RawTiff raw;
        raw.bigEndian = bigEndian;
        const std::string bytes = raw.build();
        const std::string path = dir.file("raw.tif");
        ASSERT_TRUE(writeBytes(path, bytes.data(), bytes.size()));
        ImageHandle image = load(path);
        ASSERT_TRUE(image) << bigEndian;
        EXPECT_EQ(infoOf(image.get()).COLOR_TYPE, PELMIX_256_GREYS);
        EXPECT_EQ(infoOf(image.get()).RESOLUTION, 0);
        EXPECT_EQ(pixelAt(image.get(), 1, 1), (Colour{150, 150, 150}));
    }
}

TEST(TiffLoad, RefusesHostileFiles) {
    TempDir dir;
    const std::string path = dir.file("bad.tif");
    const auto loads = [&](const std::string& bytes) {
        EXPECT_TRUE(writeBytes(path, bytes.data(), bytes.size()));
        return load(path);
    };
    RawTiff huge;
    huge.width = huge.height = 100000;
    EXPECT_FALSE(loads(huge.build()));
    RawTiff lostDirectory;
    lostDirectory.ifdOffset = 1u << 30;
    EXPECT_FALSE(loads(lostDirectory.build()));
    RawTiff lostStrip;
    lostStrip.stripOffset = 1u << 20;
    EXPECT_FALSE(loads(lostStrip.build()));
    RawTiff shortStrip; // promises more rows than the strip holds
    shortStrip.height = 40;
    shortStrip.stripBytes = 8;
    EXPECT_FALSE(loads(shortStrip.build()));
    RawTiff faxBomb; // 8 bytes of Group 4 for 211 million pixels: less than a bit a row
    faxBomb.width = 8968;
    faxBomb.height = 23559;
    faxBomb.bits = 1;
    faxBomb.compression = 4;
    faxBomb.stripBytes = 8;
    EXPECT_FALSE(loads(faxBomb.build()));
    // The same with a broken photometric tag, which sends it to libtiff's RGBA reader: there it
    // took seconds, row by row, before it was refused.
    const char fuzzed[] =
        "\x49\x49\x2a\x00\x20\x00\x00\x00\x27\x94\x31\xf9\x35\x44\x74\x47\x5c\x3b\x00\x00\x00\x00\x00\x00"
        "\x00\xc2\xc8\xea\xe0\x02\x00\x20\x0d\x00\x00\x01\x03\x00\x01\x00\x00\x00\x08\x23\x00\x00\x01\x01"
        "\x03\x00\x01\x00\x00\x00\x07\x5c\x00\x00\x02\x01\x03\x00\x01\x00\x00\x00\x01\x00\x00\x00\x03\x01"
        "\x03\x00\x01\x00\x00\x00\x04\x00\x00\x00\x06\x01\x03\x00\x01\x00\x02\x00\x00\x00\x00\x00\x0a\x01"
        "\x03\x00\x01\x00\x00\x00\x01\x00\x00\x08\x11\x01\x04\x00\x01\x00\x00\x00\x08\x00\x00\x00\x12\x01"
        "\x03\x00\x00\xfc\x00\xfe\x01\x00\x00\x00\x18\x01\x03\x00\x01\x00\x00\x00\x01\x80\x00\x00\x24\x01"
        "\x03\x00\x01\x05\x00\x00\x00\x00\x00\x00\x17\x01\x04\x00\x01\x00\x00\x00\x18\x00\x00\x00\x1c\x01"
        "\x03\x00\x01\x00\x00\x00\x01\x00\x00\x00\x29\x01\x03\x00\x02\x06\x00\x00\x00\x00\xff\x1f\xfd\x00"
        "\x00\x00";
    EXPECT_FALSE(loads(std::string(fuzzed, sizeof fuzzed - 1)));
    EXPECT_EQ(ImageHandle(PelmixFileLoadFit(path.c_str(), 7, 7, nullptr)).get(), nullptr);

    std::mt19937 random(1234);
    for (int i = 0; i < 300; ++i) {
        std::string bytes = "II*";
        bytes.push_back('\0');
        const size_t size = random() % 600;
        for (size_t j = 0; j < size; ++j) {
            bytes.push_back(static_cast<char>(random()));
        }
        ImageHandle image = loads(bytes);
        if (image) {
            EXPECT_GT(infoOf(image.get()).WIDTH, 0);
        }
    }
}

TEST(TiffLoad, EveryPrefixOfAValidFileIsHandled) {
    TempDir dir;
    ImageHandle image =
        makeIndexedImage(19, 7, 8, colourful(8), [](int x, int y) { return x * y; });
    const std::string whole = dir.file("whole.tif");
    ASSERT_EQ(PelmixTiffFileSave(whole.c_str(), image.get(), "", "", PELMIX_TIFF_PACKBITS), 1);
    const std::string bytes = readBytes(whole);
    ASSERT_GT(bytes.size(), 100u);
    const std::string path = dir.file("prefix.tif");
    size_t loaded = 0;
    for (size_t n = 0; n < bytes.size(); ++n) {
        ASSERT_TRUE(writeBytes(path, bytes.data(), n));
        ImageHandle prefix = load(path);
        if (prefix) {
            ++loaded;
            EXPECT_EQ(infoOf(prefix.get()).WIDTH, 19);
        }
    }
    // The directory comes last, so nothing short of the whole file is a picture.
    EXPECT_EQ(loaded, 0u);
    EXPECT_TRUE(load(whole));
}

} // namespace
