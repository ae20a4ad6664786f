// Colour-depth conversion in place and the 256-colour copy.
#include "test_images.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <tuple>
#include <vector>

namespace {

ImageHandle copyOf(HGLOBAL image) {
    return ImageHandle(PelmixCopy(image, "", ""));
}

std::vector<uint8_t> bytesOf(HGLOBAL image) {
    const auto* base = static_cast<const uint8_t*>(GlobalLock(image));
    std::vector<uint8_t> bytes(base, base + GlobalSize(image));
    GlobalUnlock(image);
    return bytes;
}

int countDifferentPixels(HGLOBAL a, HGLOBAL b) {
    const IMAGE_INFO info = infoOf(a);
    int count = 0;
    for (int y = 0; y < info.HEIGHT; ++y) {
        for (int x = 0; x < info.WIDTH; ++x) {
            count += !(pixelAt(a, x, y) == pixelAt(b, x, y));
        }
    }
    return count;
}

// A picture with exactly `colours` distinct colours, scattered so that no two neighbours match.
ImageHandle makeFewColours(int width, int height, int colours) {
    return makeRgbImage(width, height, [=](int x, int y) {
        const int i = (x * 31 + y * 17) % colours;
        return Colour{uint8_t(i * 37 % 256), uint8_t(255 - i), uint8_t(i * 101 % 256)};
    });
}

ImageHandle makePhoto(int width, int height) {
    return makeRgbImage(width, height, [=](int x, int y) {
        Colour c = testPattern(x, y, width, height);
        c.b = uint8_t(c.b / 2 + 60 + 50 * std::sin(x * 0.1 + y * 0.05));
        return c;
    });
}

ImageHandle make32Bit(HGLOBAL rgb) {
    const IMAGE_INFO info = infoOf(rgb);
    HGLOBAL h = GlobalAlloc(GHND, 40 + size_t(4) * info.WIDTH * info.HEIGHT);
    auto* base = static_cast<uint8_t*>(GlobalLock(h));
    PELMIX_BITMAPINFOHEADER header{};
    header.biSize = 40;
    header.biWidth = info.WIDTH;
    header.biHeight = info.HEIGHT;
    header.biPlanes = 1;
    header.biBitCount = 32;
    std::memcpy(base, &header, 40);
    for (int y = 0; y < info.HEIGHT; ++y) {
        for (int x = 0; x < info.WIDTH; ++x) {
            const Colour c = pixelAt(rgb, x, y);
            uint8_t* p = base + 40 + 4 * (size_t(info.HEIGHT - 1 - y) * info.WIDTH + x);
            p[0] = c.b, p[1] = c.g, p[2] = c.r;
        }
    }
    GlobalUnlock(h);
    return ImageHandle(h);
}

class ExactReduction : public ::testing::TestWithParam<std::tuple<int, int>> {};

// Pictures with no more colours than the palette holds must not lose anything, dithered or not.
TEST_P(ExactReduction, KeepsEveryColour) {
    const auto [bits, dither] = GetParam();
    const int colours = bits == 8 ? 200 : 16;
    ImageHandle image = makeFewColours(53, 41, colours);
    ImageHandle original = copyOf(image.get());
    const HGLOBAL handle = image.get();
    ASSERT_EQ(PelmixConvertColor(handle, bits, dither, 0, "", ""), 1);
    EXPECT_EQ(image.get(), handle);
    EXPECT_EQ(infoOf(handle).BIT_COUNT, bits);
    EXPECT_EQ(infoOf(handle).RESOLUTION, 300);
    EXPECT_EQ(countDifferentPixels(handle, original.get()), 0);
}

INSTANTIATE_TEST_SUITE_P(DepthsAndDithering, ExactReduction,
                         ::testing::Combine(::testing::Values(4, 8), ::testing::Values(0, -1)));

TEST(ConvertColor, KeepsPhotosRecognisable) {
    ImageHandle photo = makePhoto(160, 120);
    ImageHandle eight = copyOf(photo.get());
    ASSERT_EQ(PelmixConvertColor(eight.get(), 8, -1, -1, "", ""), 1);
    EXPECT_EQ(infoOf(eight.get()).COLOR_TYPE, PELMIX_256_COLOURS);
    EXPECT_LT(meanDifference(photo.get(), eight.get()), 12.0);

    ImageHandle four = copyOf(photo.get());
    ASSERT_EQ(PelmixConvertColor(four.get(), 4, 0, 0, "", ""), 1);
    EXPECT_EQ(infoOf(four.get()).COLOR_TYPE, PELMIX_16_COLOURS);
    EXPECT_LT(meanDifference(photo.get(), four.get()), 30.0);

    // 8 -> 4 goes through the same reduction.
    ASSERT_EQ(PelmixConvertColor(eight.get(), 4, 1, 0, "", ""), 1);
    EXPECT_EQ(infoOf(eight.get()).BIT_COUNT, 4);
    EXPECT_LT(meanDifference(photo.get(), eight.get()), 30.0);
}

TEST(ConvertColor, ReducesPaletteImagesWithFewColoursExactly) {
    std::vector<Colour> palette(256);
    for (int i = 0; i < 256; ++i) {
        palette[i] = Colour{uint8_t(i), uint8_t(i * 7), uint8_t(255 - i)};
    }
    // Twelve of the 256 entries in use.
    ImageHandle image = makeIndexedImage(
        19, 7, 8, palette, [](int x, int y) { return uint8_t(((x + 2 * y) % 12) * 20); });
    ImageHandle original = copyOf(image.get());
    ASSERT_EQ(PelmixConvertColor(image.get(), 4, -1, 0, "", ""), 1);
    EXPECT_EQ(infoOf(image.get()).BIT_COUNT, 4);
    EXPECT_EQ(countDifferentPixels(image.get(), original.get()), 0);
}

TEST(ConvertColor, GreyRampUsesLuminance) {
    ImageHandle image = makeRgbImage(4, 1, [](int x, int) {
        const Colour colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
        return colours[x];
    });
    ImageHandle grey256 = copyOf(image.get());
    ASSERT_EQ(PelmixConvertColor(grey256.get(), 8, 0, 1, "", ""), 1);
    EXPECT_EQ(infoOf(grey256.get()).COLOR_TYPE, PELMIX_256_GREYS);
    EXPECT_EQ(pixelAt(grey256.get(), 0, 0), (Colour{76, 76, 76}));
    EXPECT_EQ(pixelAt(grey256.get(), 1, 0), (Colour{150, 150, 150}));
    EXPECT_EQ(pixelAt(grey256.get(), 2, 0), (Colour{29, 29, 29}));
    EXPECT_EQ(pixelAt(grey256.get(), 3, 0), (Colour{255, 255, 255}));

    ImageHandle grey16 = copyOf(image.get());
    ASSERT_EQ(PelmixConvertColor(grey16.get(), 4, 0, 1, "", ""), 1);
    EXPECT_EQ(infoOf(grey16.get()).COLOR_TYPE, PELMIX_16_GREYS);
    EXPECT_EQ(pixelAt(grey16.get(), 0, 0), (Colour{68, 68, 68}));    // 76 -> level 4
    EXPECT_EQ(pixelAt(grey16.get(), 1, 0), (Colour{153, 153, 153})); // 150 -> level 9
    EXPECT_EQ(pixelAt(grey16.get(), 3, 0), (Colour{255, 255, 255}));
}

TEST(ConvertColor, DitheredGreysKeepTheAverageTone) {
    // A flat grey between two ramp levels: dithering mixes the neighbours.
    ImageHandle flat = makeRgbImage(64, 64, [](int, int) { return Colour{76, 76, 76}; });
    ASSERT_EQ(PelmixConvertColor(flat.get(), 4, -1, 1, "", ""), 1);
    std::set<uint8_t> levels;
    double sum = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            levels.insert(indexAt(flat.get(), x, y));
            sum += pixelAt(flat.get(), x, y).r;
        }
    }
    EXPECT_EQ(levels, (std::set<uint8_t>{4, 5}));
    EXPECT_NEAR(sum / (64 * 64), 76.0, 1.0);
}

TEST(ConvertColor, WidensPaletteImagesLosslessly) {
    const std::vector<Colour> two = {{250, 10, 20}, {5, 6, 7}};
    for (int bits : {4, 8}) {
        ImageHandle bw =
            makeIndexedImage(13, 3, 1, two, [](int x, int y) { return (x + y) % 3 == 0; });
        ImageHandle original = copyOf(bw.get());
        ASSERT_EQ(PelmixConvertColor(bw.get(), bits, -1, 1, "", ""), 1);
        EXPECT_EQ(infoOf(bw.get()).BIT_COUNT, bits);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 13; ++x) {
                ASSERT_EQ(indexAt(bw.get(), x, y), indexAt(original.get(), x, y));
                ASSERT_EQ(pixelAt(bw.get(), x, y), pixelAt(original.get(), x, y));
            }
        }
    }
    ImageHandle sixteen =
        makeIndexedImage(7, 2, 4, greyPalette(4), [](int x, int y) { return uint8_t(x * 2 + y); });
    ImageHandle original = copyOf(sixteen.get());
    ASSERT_EQ(PelmixConvertColor(sixteen.get(), 8, 0, 0, "", ""), 1);
    EXPECT_EQ(indexAt(sixteen.get(), 6, 1), 13);
    EXPECT_EQ(countDifferentPixels(sixteen.get(), original.get()), 0);
}

TEST(ConvertColor, ExpandsToFullColourExactly) {
    std::vector<Colour> palette(256);
    for (int i = 0; i < 256; ++i) {
        palette[i] = Colour{uint8_t(i), uint8_t(i ^ 0x55), uint8_t(3 * i)};
    }
    for (int bits : {1, 4, 8}) {
        ImageHandle image = makeIndexedImage(11, 5, bits, palette, [=](int x, int y) {
            return uint8_t((x * 5 + y * 3) & ((1 << bits) - 1));
        });
        ImageHandle original = copyOf(image.get());
        ASSERT_EQ(PelmixConvertColor(image.get(), 24, 0, 1, "", ""), 1);
        EXPECT_EQ(infoOf(image.get()).BIT_COUNT, 24);
        EXPECT_EQ(infoOf(image.get()).RESOLUTION, 300);
        EXPECT_EQ(countDifferentPixels(image.get(), original.get()), 0) << bits << " bits";
    }
    // A short table, and an index beyond it (malformed, but it must not read past the table).
    const std::vector<Colour> three = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    ImageHandle shortTable =
        makeIndexedImage(4, 1, 8, three, [](int x, int) { return uint8_t(x == 3 ? 200 : x); });
    ASSERT_EQ(PelmixConvertColor(shortTable.get(), 24, 0, 0, "", ""), 1);
    EXPECT_EQ(pixelAt(shortTable.get(), 2, 0), (Colour{7, 8, 9}));
    EXPECT_EQ(pixelAt(shortTable.get(), 3, 0), (Colour{0, 0, 0}));

    ImageHandle photo = makePhoto(9, 4);
    ImageHandle wide = make32Bit(photo.get());
    ASSERT_EQ(PelmixConvertColor(wide.get(), 24, 0, 0, "", ""), 1);
    EXPECT_EQ(infoOf(wide.get()).BIT_COUNT, 24);
    EXPECT_EQ(meanDifference(wide.get(), photo.get()), 0.0);
}

TEST(ConvertColor, SameDepthKeepsAndOtherDepthsAreRefused) {
    ImageHandle image = makePhoto(10, 10);
    const std::vector<uint8_t> before = bytesOf(image.get());
    EXPECT_EQ(PelmixConvertColor(image.get(), 24, -1, 0, "", ""), 1);
    for (int bits : {0, 1, 2, 16, 32, -8}) {
        EXPECT_EQ(PelmixConvertColor(image.get(), bits, -1, 0, "", ""), 0) << bits;
    }
    EXPECT_EQ(bytesOf(image.get()), before);

    ImageHandle four = makeIndexedImage(5, 5, 4, greyPalette(4), [](int x, int) { return x; });
    const std::vector<uint8_t> fourBefore = bytesOf(four.get());
    EXPECT_EQ(PelmixConvertColor(four.get(), 4, -1, 1, "", ""), 1);
    EXPECT_EQ(bytesOf(four.get()), fourBefore);
}

TEST(ConvertColor, RefusesBadHandlesAndLeavesFailedImagesAlone) {
    EXPECT_EQ(PelmixConvertColor(nullptr, 8, 0, 0, "", ""), 0);
    HGLOBAL freed = makePhoto(4, 4).release();
    PelmixMemFree(freed);
    EXPECT_EQ(PelmixConvertColor(freed, 8, 0, 0, "", ""), 0);

    // A handle the caller keeps locked cannot be resized: the conversion fails cleanly.
    ImageHandle image = makePhoto(12, 12);
    const std::vector<uint8_t> before = bytesOf(image.get());
    GlobalLock(image.get());
    EXPECT_EQ(PelmixConvertColor(image.get(), 8, 0, 0, "", ""), 0);
    GlobalUnlock(image.get());
    EXPECT_EQ(bytesOf(image.get()), before);
}

TEST(Bit24To8, MakesANewPaletteImage) {
    ImageHandle photo = makePhoto(120, 90);
    const std::vector<uint8_t> before = bytesOf(photo.get());
    ImageHandle eight(PelmixBit24To8(photo.get(), "", ""));
    ASSERT_TRUE(eight);
    EXPECT_NE(eight.get(), photo.get());
    EXPECT_EQ(infoOf(eight.get()).BIT_COUNT, 8);
    EXPECT_EQ(infoOf(eight.get()).RESOLUTION, 300);
    EXPECT_LT(meanDifference(photo.get(), eight.get()), 12.0);
    EXPECT_EQ(bytesOf(photo.get()), before);

    ImageHandle few = makeFewColours(30, 20, 150);
    ImageHandle fewEight(PelmixBit24To8(few.get(), "", ""));
    EXPECT_EQ(countDifferentPixels(few.get(), fewEight.get()), 0);

    ImageHandle wide = make32Bit(photo.get());
    ImageHandle wideEight(PelmixBit24To8(wide.get(), "", ""));
    ASSERT_TRUE(wideEight);
    EXPECT_LT(meanDifference(photo.get(), wideEight.get()), 12.0);
}

TEST(Bit24To8, CopiesAndWidensPaletteImages) {
    ImageHandle grey =
        makeIndexedImage(9, 9, 8, greyPalette(8), [](int x, int y) { return uint8_t(x * 28 + y); });
    ImageHandle copy(PelmixBit24To8(grey.get(), "", ""));
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.get(), grey.get());
    EXPECT_EQ(bytesOf(copy.get()), bytesOf(grey.get()));

    ImageHandle bw = makeIndexedImage(10, 3, 1, greyPalette(1), [](int x, int) { return x & 1; });
    ImageHandle widened(PelmixBit24To8(bw.get(), "", ""));
    ASSERT_TRUE(widened);
    EXPECT_EQ(infoOf(widened.get()).BIT_COUNT, 8);
    EXPECT_EQ(countDifferentPixels(widened.get(), bw.get()), 0);

    EXPECT_EQ(PelmixBit24To8(nullptr, "", ""), nullptr);
}

} // namespace
