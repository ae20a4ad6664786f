// Brightness, colour balance and negative: in place, on pixels or on the colour table.
#include "test_images.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

ImageHandle makePicture() {
    return makeRgbImage(7, 5, [](int x, int y) { return testPattern(x, y, 7, 5); });
}

ImageHandle copyOf(HGLOBAL image) {
    return ImageHandle(PelmixCopy(image, "", ""));
}

std::vector<uint8_t> bytesOf(HGLOBAL image) {
    const auto* base = static_cast<const uint8_t*>(GlobalLock(image));
    std::vector<uint8_t> bytes(base, base + GlobalSize(image));
    GlobalUnlock(image);
    return bytes;
}

bool everyPixelIs(HGLOBAL image, Colour colour) {
    const IMAGE_INFO info = infoOf(image);
    for (int y = 0; y < info.HEIGHT; ++y) {
        for (int x = 0; x < info.WIDTH; ++x) {
            if (!(pixelAt(image, x, y) == colour)) {
                return false;
            }
        }
    }
    return info.WIDTH > 0;
}

// A 32-bit bottom-up image with the given colour everywhere.
ImageHandle make32Bit(int width, int height, Colour colour) {
    HGLOBAL h = GlobalAlloc(GHND, 40 + size_t(4) * width * height);
    auto* base = static_cast<uint8_t*>(GlobalLock(h));
    PELMIX_BITMAPINFOHEADER header{};
    header.biSize = 40;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    std::memcpy(base, &header, 40);
    for (int i = 0; i < width * height; ++i) {
        base[40 + 4 * i] = colour.b;
        base[41 + 4 * i] = colour.g;
        base[42 + 4 * i] = colour.r;
    }
    GlobalUnlock(h);
    return ImageHandle(h);
}

TEST(Bright, AddsTheRoundedFactorToEveryChannel) {
    ImageHandle image = makeRgbImage(2, 1, [](int x, int) {
        return x == 0 ? Colour{100, 200, 250} : Colour{3, 40, 0};
    });
    ASSERT_EQ(PelmixBright(image.get(), "", "", 0.304), 1);
    EXPECT_EQ(pixelAt(image.get(), 0, 0), (Colour{130, 230, 255}));
    EXPECT_EQ(pixelAt(image.get(), 1, 0), (Colour{33, 70, 30}));
    ASSERT_EQ(PelmixBright(image.get(), "", "", -0.5), 1);
    EXPECT_EQ(pixelAt(image.get(), 0, 0), (Colour{80, 180, 205}));
    EXPECT_EQ(pixelAt(image.get(), 1, 0), (Colour{0, 20, 0}));
}

TEST(Bright, ZeroKeepsAndTheLimitsSaturate) {
    ImageHandle image = makePicture();
    ImageHandle original = copyOf(image.get());
    ASSERT_EQ(PelmixBright(image.get(), "", "", 0.0), 1);
    EXPECT_EQ(bytesOf(image.get()), bytesOf(original.get()));
    ASSERT_EQ(PelmixBright(image.get(), "", "", 0.004), 1); // rounds to nothing
    EXPECT_EQ(bytesOf(image.get()), bytesOf(original.get()));

    ASSERT_EQ(PelmixBright(image.get(), "", "", 2.55), 1);
    EXPECT_TRUE(everyPixelIs(image.get(), Colour{255, 255, 255}));
    ASSERT_EQ(PelmixBright(image.get(), "", "", -2.55), 1);
    EXPECT_TRUE(everyPixelIs(image.get(), Colour{0, 0, 0}));

    // Beyond the limits acts as the limits.
    ImageHandle other = makePicture();
    ASSERT_EQ(PelmixBright(other.get(), "", "", 1e9), 1);
    EXPECT_TRUE(everyPixelIs(other.get(), Colour{255, 255, 255}));
    ASSERT_EQ(PelmixBright(other.get(), "", "", -INFINITY), 1);
    EXPECT_TRUE(everyPixelIs(other.get(), Colour{0, 0, 0}));
}

TEST(Bright, PaletteImagesChangeOnlyTheirTable) {
    ImageHandle image = makeIndexedImage(9, 3, 4, greyPalette(4),
                                         [](int x, int y) { return uint8_t((x + y) % 16); });
    const HGLOBAL handle = image.get();
    ASSERT_EQ(PelmixBright(handle, "", "", 0.2), 1);
    EXPECT_EQ(image.get(), handle);
    EXPECT_EQ(infoOf(handle).BIT_COUNT, 4);
    EXPECT_EQ(infoOf(handle).COLOR_TYPE, PELMIX_16_GREYS);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 9; ++x) {
            const int index = (x + y) % 16;
            ASSERT_EQ(indexAt(handle, x, y), index);
            const auto grey = uint8_t(std::min(255, index * 17 + 20));
            ASSERT_EQ(pixelAt(handle, x, y), (Colour{grey, grey, grey}));
        }
    }
}

TEST(RGB, AddsPerChannelAndClamps) {
    ImageHandle image = makeRgbImage(1, 1, [](int, int) { return Colour{10, 128, 250}; });
    ASSERT_EQ(PelmixRGB(image.get(), "", "", 5, -28, 4), 1);
    EXPECT_EQ(pixelAt(image.get(), 0, 0), (Colour{15, 100, 254}));
    ASSERT_EQ(PelmixRGB(image.get(), "", "", -20, 0, 20), 1);
    EXPECT_EQ(pixelAt(image.get(), 0, 0), (Colour{0, 100, 255}));
    // Out-of-range arguments act as -255 / 255.
    ASSERT_EQ(PelmixRGB(image.get(), "", "", 100000, INT32_MIN, 0), 1);
    EXPECT_EQ(pixelAt(image.get(), 0, 0), (Colour{255, 0, 255}));

    std::vector<Colour> palette = {{0, 0, 0}, {200, 100, 50}};
    ImageHandle bw = makeIndexedImage(10, 2, 1, palette, [](int x, int) { return x & 1; });
    ASSERT_EQ(PelmixRGB(bw.get(), "", "", 60, 0, -60), 1);
    EXPECT_EQ(pixelAt(bw.get(), 0, 0), (Colour{60, 0, 0}));
    EXPECT_EQ(pixelAt(bw.get(), 9, 1), (Colour{255, 100, 0}));
    EXPECT_EQ(indexAt(bw.get(), 9, 1), 1);
}

TEST(ColorReverse, GivesTheNegativeAndTwiceTheOriginal) {
    ImageHandle image = makePicture();
    ImageHandle original = copyOf(image.get());
    ASSERT_EQ(PelmixColorReverse(image.get(), "", ""), 1);
    const Colour before = pixelAt(original.get(), 6, 4);
    EXPECT_EQ(pixelAt(image.get(), 6, 4),
              (Colour{uint8_t(255 - before.r), uint8_t(255 - before.g), uint8_t(255 - before.b)}));
    ASSERT_EQ(PelmixColorReverse(image.get(), "", ""), 1);
    EXPECT_EQ(bytesOf(image.get()), bytesOf(original.get()));

    ImageHandle grey =
        makeIndexedImage(5, 5, 8, greyPalette(8), [](int x, int y) { return uint8_t(x * 50 + y); });
    ASSERT_EQ(PelmixColorReverse(grey.get(), "", ""), 1);
    EXPECT_EQ(indexAt(grey.get(), 4, 3), 203);
    EXPECT_EQ(pixelAt(grey.get(), 4, 3), (Colour{52, 52, 52}));
    EXPECT_EQ(infoOf(grey.get()).COLOR_TYPE, PELMIX_256_GREYS);
}

TEST(ToneOperations, WorkOnWideImagesInTheCallersHandle) {
    ImageHandle wide = make32Bit(3, 2, Colour{10, 20, 30});
    const HGLOBAL handle = wide.get();
    ASSERT_EQ(PelmixColorReverse(handle, "", ""), 1);
    EXPECT_EQ(infoOf(handle).BIT_COUNT, 24);
    EXPECT_TRUE(everyPixelIs(handle, Colour{245, 235, 225}));
    ASSERT_EQ(PelmixBright(handle, "", "", 0.1), 1);
    EXPECT_TRUE(everyPixelIs(handle, Colour{255, 245, 235}));
}

TEST(ToneOperations, RefuseBadHandlesAndLeaveFailedImagesAlone) {
    EXPECT_EQ(PelmixBright(nullptr, "", "", 1.0), 0);
    EXPECT_EQ(PelmixRGB(nullptr, "", "", 1, 2, 3), 0);
    EXPECT_EQ(PelmixColorReverse(nullptr, "", ""), 0);
    HGLOBAL freed = makePicture().release();
    PelmixMemFree(freed);
    EXPECT_EQ(PelmixBright(freed, "", "", 1.0), 0);
    EXPECT_EQ(PelmixRGB(freed, "", "", 1, 2, 3), 0);
    EXPECT_EQ(PelmixColorReverse(freed, "", ""), 0);

    ImageHandle image = makePicture();
    const std::vector<uint8_t> before = bytesOf(image.get());
    EXPECT_EQ(PelmixBright(image.get(), "", "", NAN), 0);
    EXPECT_EQ(bytesOf(image.get()), before);

    // A locked wide image cannot take its converted result: nothing may change.
    ImageHandle wide = make32Bit(4, 4, Colour{1, 2, 3});
    const std::vector<uint8_t> wideBefore = bytesOf(wide.get());
    GlobalLock(wide.get());
    EXPECT_EQ(PelmixColorReverse(wide.get(), "", ""), 0);
    GlobalUnlock(wide.get());
    EXPECT_EQ(bytesOf(wide.get()), wideBefore);
}

} // namespace
