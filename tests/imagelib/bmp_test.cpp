// BMP reading and writing through the exported load and save functions: round trips, files built
// byte by byte for the layouts our own writer never produces, and files that lie.
#include "temp_dir.h"
#include "test_images.h"
#include "without_root_rights.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Bytes = std::vector<uint8_t>;

// Offsets of the header fields patched by the hostile-file tests.
constexpr size_t kOffBits = 10, kWidth = 18, kHeight = 22, kBitCount = 28, kCompression = 30,
                 kClrUsed = 46;

void set32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

void add32(Bytes& b, uint32_t v) {
    b.resize(b.size() + 4);
    set32(b, b.size() - 4, v);
}

// A file with the given header size; `table` is whatever sits between header and pixels
// (palette, or the masks of a 40-byte BITFIELDS header). Larger headers carry `masks`.
Bytes bmpFile(uint32_t headerSize, int32_t width, int32_t height, uint16_t bits,
              uint32_t compression, const Bytes& table, const Bytes& pixels,
              std::vector<uint32_t> masks = {}, uint32_t clrUsed = 0) {
    Bytes b = {'B', 'M'};
    add32(b, 0);
    add32(b, 0);
    add32(b, static_cast<uint32_t>(14 + headerSize + table.size()));
    add32(b, headerSize);
    if (headerSize == 12) {
        const uint16_t core[] = {uint16_t(width), uint16_t(height), 1, bits};
        for (uint16_t v : core) {
            b.push_back(uint8_t(v));
            b.push_back(uint8_t(v >> 8));
        }
    } else {
        add32(b, uint32_t(width));
        add32(b, uint32_t(height));
        add32(b, 1u | (uint32_t(bits) << 16));
        for (uint32_t v : {compression, uint32_t(pixels.size()), 3780u, 3780u, clrUsed, 0u}) {
            add32(b, v);
        }
        for (uint32_t m : masks) {
            add32(b, m);
        }
        b.resize(14 + headerSize, 0);
    }
    b.insert(b.end(), table.begin(), table.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    set32(b, 2, uint32_t(b.size()));
    return b;
}

// A palette of n entries, entry i = (i, 2i, 3i) as (red, green, blue), in 4- or 3-byte form.
Bytes palette(int n, int entrySize = 4) {
    Bytes p;
    for (int i = 0; i < n; ++i) {
        p.insert(p.end(), {uint8_t(3 * i), uint8_t(2 * i), uint8_t(i)});
        if (entrySize == 4) {
            p.push_back(0);
        }
    }
    return p;
}

class Bmp : public ::testing::Test {
protected:
    ImageHandle load(const Bytes& bytes) {
        const std::string path = dir.file("in.bmp");
        EXPECT_TRUE(writeBytes(path, bytes.data(), bytes.size()));
        return ImageHandle(PelmixFileLoad(path.c_str(), "", ""));
    }
    ImageHandle roundTrip(HGLOBAL image) {
        const std::string path = dir.file("out.bmp");
        EXPECT_EQ(PelmixBmpFileSave(path.c_str(), image, "", "", 0), 1);
        return ImageHandle(PelmixFileLoad(path.c_str(), "", ""));
    }
    TempDir dir;
};

TEST_F(Bmp, IndexedImagesRoundTripWithIndicesPaletteTypeAndResolution) {
    std::vector<Colour> colours;
    for (int i = 0; i < 256; ++i) {
        colours.push_back({uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)});
    }
    struct Case {
        int bits;
        std::vector<Colour> palette;
        int type;
    } cases[] = {{1, greyPalette(1), PELMIX_TWO_COLOUR},
                 {4, greyPalette(4), PELMIX_16_GREYS},
                 {4, {colours.begin(), colours.begin() + 16}, PELMIX_16_COLOURS},
                 {8, greyPalette(8), PELMIX_256_GREYS},
                 {8, colours, PELMIX_256_COLOURS}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        const int n = int(c.palette.size());
        ImageHandle in = makeIndexedImage(
            13, 5, c.bits, c.palette, [n](int x, int y) { return uint8_t((x * 7 + y * 3) % n); });
        ImageHandle out = roundTrip(in.get());
        ASSERT_TRUE(out);
        const IMAGE_INFO info = infoOf(out.get());
        EXPECT_EQ(info.BIT_COUNT, c.bits);
        EXPECT_EQ(info.COLOR_TYPE, c.type);
        EXPECT_EQ(info.RESOLUTION, 300);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 13; ++x) {
                ASSERT_EQ(indexAt(out.get(), x, y), indexAt(in.get(), x, y)) << x << "," << y;
                ASSERT_EQ(pixelAt(out.get(), x, y), pixelAt(in.get(), x, y));
            }
        }
    }
}

TEST_F(Bmp, WritesAPlainFileWithOnlyTheTableEntriesTheImageHas) {
    ImageHandle in = makeIndexedImage(3, 2, 8, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}},
                                      [](int x, int) { return uint8_t(x); });
    ASSERT_EQ(PelmixBmpFileSave(dir.file("a.bmp").c_str(), in.get(), "", "", 0), 1);
    const std::string f = readBytes(dir.file("a.bmp"));
    ASSERT_EQ(f.size(), 14u + 40 + 3 * 4 + 2 * 4);
    const auto at32 = [&](size_t i) {
        uint32_t v = 0;
        for (int k = 3; k >= 0; --k) {
            v = (v << 8) | uint8_t(f[i + k]);
        }
        return v;
    };
    EXPECT_EQ(at32(2), f.size());
    EXPECT_EQ(at32(kOffBits), 14u + 40 + 12);
    EXPECT_EQ(at32(34), 8u); // biSizeImage
    EXPECT_EQ(at32(kClrUsed), 3u);
    ImageHandle out = load(Bytes(f.begin(), f.end()));
    EXPECT_EQ(pixelAt(out.get(), 2, 1), (Colour{0, 0, 255}));
}

TEST_F(Bmp, FullColourTopDownAndThirtyTwoBitHandlesSaveAsBottomUp24Bits) {
    ImageHandle rgb = makeRgbImage(17, 9, [](int x, int y) { return testPattern(x, y, 17, 9); });
    ImageHandle back = roundTrip(rgb.get());
    EXPECT_EQ(meanDifference(rgb.get(), back.get()), 0.0);
    EXPECT_EQ(infoOf(back.get()).RESOLUTION, 300);

    // A 3x2 top-down 32-bit handle as another producer might hand it over.
    HGLOBAL h = GlobalAlloc(GHND, 40 + 3 * 2 * 4);
    auto* hd = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(h));
    *hd = {40, 3, -2, 1, 32, PELMIX_BI_RGB, 24, 0, 0, 0, 0};
    auto* px = reinterpret_cast<uint8_t*>(hd + 1);
    const uint8_t topLeft[] = {10, 20, 30}, bottomRight[] = {1, 2, 3};
    std::copy(topLeft, topLeft + 3, px);
    std::copy(bottomRight, bottomRight + 3, px + 12 + 8);
    GlobalUnlock(h);
    ImageHandle top(h);
    ImageHandle out = roundTrip(top.get());
    ASSERT_TRUE(out);
    EXPECT_EQ(infoOf(out.get()).BIT_COUNT, 24);
    EXPECT_EQ(pixelAt(out.get(), 0, 0), (Colour{30, 20, 10}));
    EXPECT_EQ(pixelAt(out.get(), 2, 1), (Colour{3, 2, 1}));
}

TEST_F(Bmp, ReadsSixteenAndThirtyTwoBitFilesThroughTheirMasks) {
    // 555 with the masks after a 40-byte header; 2x1 rows padded to 4 bytes.
    Bytes masks555;
    for (uint32_t m : {0x7C00u, 0x03E0u, 0x001Fu}) {
        add32(masks555, m);
    }
    ImageHandle a =
        load(bmpFile(40, 2, 1, 16, PELMIX_BI_BITFIELDS, masks555, {0xFF, 0x7F, 0x10, 0}));
    ASSERT_TRUE(a);
    EXPECT_EQ(pixelAt(a.get(), 0, 0), (Colour{255, 255, 255}));
    EXPECT_EQ(pixelAt(a.get(), 1, 0), (Colour{0, 0, 132}));
    // 565 with the masks inside a 56-byte header.
    ImageHandle b = load(bmpFile(56, 2, 1, 16, PELMIX_BI_BITFIELDS, {}, {0x00, 0xF8, 0x00, 0x04},
                                 {0xF800, 0x07E0, 0x001F, 0}));
    ASSERT_TRUE(b);
    EXPECT_EQ(pixelAt(b.get(), 0, 0), (Colour{255, 0, 0}));
    EXPECT_EQ(pixelAt(b.get(), 1, 0), (Colour{0, 130, 0}));
    // 32 bits BI_RGB: blue, green, red and an ignored fourth byte.
    ImageHandle c = load(bmpFile(40, 1, 1, 32, PELMIX_BI_RGB, {}, {1, 2, 3, 0xEE}));
    EXPECT_EQ(pixelAt(c.get(), 0, 0), (Colour{3, 2, 1}));
    // 10-bit channels with alpha, in a V5 header whose resolution must survive.
    ImageHandle d = load(bmpFile(124, 1, 1, 32, PELMIX_BI_BITFIELDS, {}, {0xFF, 0x03, 0, 0xE0},
                                 {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}));
    ASSERT_TRUE(d);
    EXPECT_EQ(pixelAt(d.get(), 0, 0), (Colour{128, 0, 255}));
    EXPECT_EQ(infoOf(d.get()).RESOLUTION, 96);
    EXPECT_EQ(infoOf(d.get()).BIT_COUNT, 24);
}

TEST_F(Bmp, TopDownAndOs2FilesKeepTheirOrientationAndPalette) {
    // 2x2 24 bits, top row stored first; the last row lacks its padding.
    ImageHandle a = load(bmpFile(40, 2, -2, 24, 0, {}, {1, 1, 1, 2, 2, 2, 0, 0, 3, 3, 3, 4, 4, 4}));
    ASSERT_TRUE(a);
    EXPECT_EQ(pixelAt(a.get(), 1, 0), (Colour{2, 2, 2}));
    EXPECT_EQ(pixelAt(a.get(), 0, 1), (Colour{3, 3, 3}));
    // OS/2 4 bits with a full 3-byte palette.
    ImageHandle b = load(bmpFile(12, 3, 1, 4, 0, palette(16, 3), {0x1F, 0x20, 0, 0}));
    ASSERT_TRUE(b);
    EXPECT_EQ(infoOf(b.get()).RESOLUTION, 0);
    EXPECT_EQ(pixelAt(b.get(), 1, 0), (Colour{15, 30, 45}));
    // OS/2 8 bits whose table stops after two entries: index 5 lies beyond it and reads black.
    ImageHandle c = load(bmpFile(12, 2, 1, 8, 0, palette(2, 3), {1, 5, 0, 0}));
    ASSERT_TRUE(c);
    EXPECT_EQ(pixelAt(c.get(), 0, 0), (Colour{1, 2, 3}));
    EXPECT_EQ(pixelAt(c.get(), 1, 0), (Colour{}));
    // OS/2 2.x: the 64-byte header and its 16-byte short form, with 4-byte palette entries.
    ImageHandle d = load(bmpFile(64, 2, 1, 8, 0, palette(4), {1, 3, 0, 0}, {}, 4));
    ASSERT_TRUE(d);
    EXPECT_EQ(infoOf(d.get()).RESOLUTION, 96);
    EXPECT_EQ(pixelAt(d.get(), 1, 0), (Colour{3, 6, 9}));
    ImageHandle e = load(bmpFile(16, 3, 1, 4, 0, palette(16), {0x1F, 0x20, 0, 0}));
    ASSERT_TRUE(e);
    EXPECT_EQ(infoOf(e.get()).RESOLUTION, 0);
    EXPECT_EQ(pixelAt(e.get(), 1, 0), (Colour{15, 30, 45}));
    // Its compression 3 is one-dimensional Huffman coding, not bit fields.
    EXPECT_FALSE(load(bmpFile(64, 2, 1, 24, 3, {}, {1, 2, 3, 4, 5, 6, 0, 0})));
}

TEST_F(Bmp, RunLengthFilesHonourEveryEscape) {
    const Bytes rle8 = {3, 1, 0, 3, 2, 3, 4, 0, 0, 0, // run, odd absolute run + pad, end of line
                        0, 2, 2, 1,                   // delta over the rest of row 1
                        2, 5, 0, 0,                   // run in row 2, end of line
                        0, 4, 6, 7, 8, 9, 0, 1,       // absolute run, end of bitmap
                        6, 9};                        // after the end: ignored
    ImageHandle a = load(bmpFile(40, 6, 4, 8, PELMIX_BI_RLE8, palette(16), rle8, {}, 16));
    ASSERT_TRUE(a);
    const char* expect8[] = {"6789..", "..55..", "......", "111234"};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            const char e = expect8[y][x];
            EXPECT_EQ(indexAt(a.get(), x, y), e == '.' ? 0 : e - '0') << x << "," << y;
        }
    }
    const Bytes rle4 = {2, 0x12, 0, 5, 0x34, 0x56, 0x70, 0, 0, 0, // run, absolute 5 + pad, eol
                        0, 2,    3, 1, 4,    0xAB, 0,    1};      // delta, run, end of bitmap
    ImageHandle b = load(bmpFile(40, 7, 3, 4, PELMIX_BI_RLE4, palette(16), rle4));
    ASSERT_TRUE(b);
    const char* expect4[] = {"...abab", ".......", "1234567"};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 7; ++x) {
            const char e = expect4[y][x];
            EXPECT_EQ(indexAt(b.get(), x, y), e == '.' ? 0 : e >= 'a' ? e - 'a' + 10 : e - '0');
        }
    }
}

TEST_F(Bmp, DamagedRunLengthStreamsAreClippedOrCutShort) {
    // A run far past the row, an absolute run past it, then a delta far outside the picture.
    ImageHandle a =
        load(bmpFile(40, 4, 2, 8, PELMIX_BI_RLE8, palette(8),
                     {200, 3, 0, 0, 0, 6, 1, 2, 3, 4, 5, 6, 0, 2, 255, 255, 9, 7}, {}, 8));
    ASSERT_TRUE(a);
    EXPECT_EQ(indexAt(a.get(), 3, 1), 3);
    EXPECT_EQ(indexAt(a.get(), 3, 0), 4);
    // The stream stops in the middle of an absolute run: the rest stays 0.
    ImageHandle b = load(bmpFile(40, 4, 2, 8, PELMIX_BI_RLE8, palette(8), {0, 4, 7, 7}, {}, 8));
    ASSERT_TRUE(b);
    EXPECT_EQ(indexAt(b.get(), 1, 1), 7);
    EXPECT_EQ(indexAt(b.get(), 2, 1), 0);
    // Run-length pictures must be bottom-up.
    EXPECT_FALSE(load(bmpFile(40, 4, -2, 8, PELMIX_BI_RLE8, palette(8), {0, 1}, {}, 8)));
}

TEST_F(Bmp, EveryPrefixOfAFileIsRefusedOrReadable) {
    const Bytes plain = bmpFile(40, 5, 3, 8, 0, palette(4), Bytes(24, 1), {}, 4);
    const Bytes rle =
        bmpFile(40, 5, 3, 8, PELMIX_BI_RLE8, palette(4), {5, 1, 0, 0, 5, 2, 0, 1}, {}, 4);
    for (size_t n = 0; n < plain.size(); ++n) {
        ImageHandle img = load(Bytes(plain.begin(), plain.begin() + n));
        // Only the padding of the last row may be missing.
        EXPECT_EQ(bool(img), n >= plain.size() - 3) << n;
    }
    for (size_t n = 0; n < rle.size(); ++n) {
        ImageHandle img = load(Bytes(rle.begin(), rle.begin() + n));
        if (img) {
            EXPECT_EQ(infoOf(img.get()).WIDTH, 5) << n;
        }
    }
}

TEST_F(Bmp, HeadersThatLieAreRefused) {
    const Bytes base = bmpFile(40, 4, 2, 8, 0, palette(4), Bytes(8, 1), {}, 4);
    ASSERT_TRUE(load(base));
    const std::pair<size_t, uint32_t> lies[] = {{kWidth, 0x7FFFFFFF},
                                                {kHeight, 0x7FFFFFFF},
                                                {kWidth, 0x80000000},
                                                {kHeight, 0x80000000},
                                                {kWidth, uint32_t(-4)},
                                                {kWidth, 0},
                                                {kHeight, 0},
                                                {kWidth, 65536},
                                                {kWidth, 5},
                                                {kHeight, 3},
                                                {kOffBits, 10000},
                                                {kOffBits, uint32_t(base.size())},
                                                {kOffBits, 20},
                                                {kClrUsed, 257},
                                                {kClrUsed, 0xFFFFFFFF},
                                                {kClrUsed, 0},
                                                {kBitCount, 2},
                                                {kBitCount, 64},
                                                {kBitCount, 0},
                                                {kCompression, 7},
                                                {kCompression, PELMIX_BI_RLE4},
                                                {kCompression, PELMIX_BI_BITFIELDS},
                                                {14, 64}};
    for (const auto& [at, value] : lies) {
        Bytes b = base;
        set32(b, at, value);
        EXPECT_FALSE(load(b)) << at << " = " << value;
    }
    EXPECT_FALSE(load({'B', 'M'}));
    // More table entries than 4 bits can index, all present in the file.
    EXPECT_FALSE(load(bmpFile(40, 4, 2, 4, 0, palette(16), Bytes(8, 0x11), {}, 17)));
    // A quarter-gigapixel run-length picture announced by a few bytes.
    EXPECT_FALSE(load(bmpFile(40, 16384, 16384, 8, PELMIX_BI_RLE8, palette(4), {0, 1}, {}, 4)));
    // Masks that overlap, have holes or leave the 16-bit pixel.
    for (std::vector<uint32_t> m : {std::vector<uint32_t>{0xF800, 0x0FE0, 0x1F},
                                    {0xF800, 0x07E0, 0x15},
                                    {0xF8000, 0x07E0, 0x1F},
                                    {0xF800, 0x07E0, 0}}) {
        EXPECT_FALSE(load(bmpFile(52, 2, 1, 16, PELMIX_BI_BITFIELDS, {}, {0, 0, 0, 0}, m)));
    }
}

TEST_F(Bmp, FailedSavesLeaveNothingBehind) {
    ImageHandle img = makeRgbImage(2, 2, [](int, int) { return Colour{9, 9, 9}; });
    EXPECT_EQ(PelmixBmpFileSave((dir.path() + "/missing/a.bmp").c_str(), img.get(), "", "", 0), 0);
    EXPECT_EQ(PelmixBmpFileSave(dir.file("a.bmp").c_str(), img.get(), "", "", 1), 0);
    EXPECT_EQ(PelmixBmpFileSave(dir.file("a.bmp").c_str(), nullptr, "", "", 0), 0);
    HGLOBAL freed = makeRgbImage(2, 2, [](int, int) { return Colour{}; }).release();
    PelmixMemFree(freed);
    EXPECT_EQ(PelmixBmpFileSave(dir.file("a.bmp").c_str(), freed, "", "", 0), 0);
    // A target that cannot be replaced (a folder) keeps the folder clean of temporary files.
    std::filesystem::create_directory(dir.file("taken.bmp"));
    EXPECT_EQ(PelmixBmpFileSave(dir.file("taken.bmp").c_str(), img.get(), "", "", 0), 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);

    const std::string locked = dir.file("locked");
    std::filesystem::create_directory(locked);
    writeBytes(locked + "/old.bmp", "old", 3);
    chmod(locked.c_str(), 0555);
    {
        const WithoutRootRights ordinaryUser;
        if (!ordinaryUser.enforced()) {
            chmod(locked.c_str(), 0755);
            GTEST_SKIP() << "permissions are not enforced here";
        }
        EXPECT_EQ(PelmixBmpFileSave((locked + "/old.bmp").c_str(), img.get(), "", "", 0), 0);
    }
    EXPECT_EQ(readBytes(locked + "/old.bmp"), "old");
    chmod(locked.c_str(), 0755);
}

} // namespace
