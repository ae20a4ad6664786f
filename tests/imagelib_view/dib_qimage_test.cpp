// Image handles to QImage and back.
#include "pelmix_view.h"
#include "test_images.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

// A hand-made handle: header, then the 32-bit table entries, then rows as given (already in
// storage order and padded). height < 0 makes it top-down.
HGLOBAL rawDib(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
               const std::vector<uint32_t>& table, const std::vector<uint8_t>& rows) {
    PELMIX_BITMAPINFOHEADER header{};
    header.biSize = 40;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biCompression = compression;
    header.biClrUsed = bits <= 8 ? static_cast<uint32_t>(table.size()) : 0;
    const size_t size = 40 + table.size() * 4 + rows.size();
    HGLOBAL handle = GlobalAlloc(GHND, size);
    auto* base = static_cast<uint8_t*>(GlobalLock(handle));
    std::memcpy(base, &header, 40);
    if (!table.empty()) {
        std::memcpy(base + 40, table.data(), table.size() * 4);
    }
    std::memcpy(base + 40 + table.size() * 4, rows.data(), rows.size());
    GlobalUnlock(handle);
    return handle;
}

QColor qcolour(Colour c) {
    return QColor(c.r, c.g, c.b);
}

// Every pixel of the QImage has the colour pixelAt gives for the handle.
void expectSamePicture(HGLOBAL image, const QImage& picture) {
    const IMAGE_INFO info = infoOf(image);
    ASSERT_EQ(picture.width(), info.WIDTH);
    ASSERT_EQ(picture.height(), info.HEIGHT);
    for (int y = 0; y < info.HEIGHT; ++y) {
        for (int x = 0; x < info.WIDTH; ++x) {
            ASSERT_EQ(picture.pixelColor(x, y), qcolour(pixelAt(image, x, y)))
                << x << "," << y << " at " << info.BIT_COUNT << " bits";
        }
    }
}

std::vector<Colour> rainbow(int count) {
    std::vector<Colour> colours(count);
    for (int i = 0; i < count; ++i) {
        colours[i] = Colour{uint8_t(i * 37), uint8_t(255 - i * 11), uint8_t(i * 5 + 3)};
    }
    return colours;
}

TEST(ToQImage, PaletteDepthsBecomeIndexed8TopRowFirst) {
    // Odd widths so that packed rows end inside a byte and rows carry padding.
    ImageHandle mono = makeIndexedImage(13, 3, 1, {{0, 0, 0}, {200, 100, 50}},
                                        [](int x, int y) { return (x * y + x) % 3 == 0; });
    ImageHandle nibble =
        makeIndexedImage(7, 4, 4, rainbow(16), [](int x, int y) { return uint8_t(x + 3 * y); });
    ImageHandle byte =
        makeIndexedImage(5, 3, 8, rainbow(256), [](int x, int y) { return uint8_t(x * 50 + y); });
    for (HGLOBAL image : {mono.get(), nibble.get(), byte.get()}) {
        const QImage picture = PelmixToQImage(image);
        EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
        EXPECT_EQ(picture.colorCount(), 1 << infoOf(image).BIT_COUNT);
        expectSamePicture(image, picture);
        EXPECT_EQ(picture.pixelIndex(0, 0), indexAt(image, 0, 0));
    }
}

TEST(ToQImage, TwentyFourBitsKeepChannelOrderAndResolution) {
    ImageHandle rgb = makeRgbImage(5, 4, [](int x, int y) {
        return Colour{uint8_t(x * 60), uint8_t(y * 80), uint8_t(7)};
    });
    const QImage picture = PelmixToQImage(rgb.get());
    expectSamePicture(rgb.get(), picture);
    const PELMIX_BITMAPINFOHEADER header = headerOf(rgb.get());
    EXPECT_EQ(picture.dotsPerMeterX(), header.biXPelsPerMeter);
    EXPECT_EQ(picture.dotsPerMeterY(), header.biYPelsPerMeter);
}

TEST(ToQImage, SixteenAndThirtyTwoBitsAreReadThroughTheirMasks) {
    // 2 x 1, bottom-up. 16-bit 5-5-5: pure red, then white.
    ImageHandle rgb555(rawDib(2, 1, 16, PELMIX_BI_RGB, {}, {0x00, 0x7C, 0xFF, 0x7F}));
    QImage picture = PelmixToQImage(rgb555.get());
    ASSERT_EQ(picture.size(), QSize(2, 1));
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(picture.pixelColor(1, 0), QColor(255, 255, 255));

    // 16-bit 5-6-5 bit fields: pure green, then mid blue (16 of 31).
    ImageHandle rgb565(
        rawDib(2, 1, 16, PELMIX_BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}, {0xE0, 0x07, 0x10, 0x00}));
    picture = PelmixToQImage(rgb565.get());
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(0, 255, 0));
    EXPECT_EQ(picture.pixelColor(1, 0), QColor(0, 0, (16 * 255 + 15) / 31));

    // 32-bit BI_RGB (B, G, R, x) and bit fields with red in the low byte.
    ImageHandle bgrx(rawDib(1, 1, 32, PELMIX_BI_RGB, {}, {10, 20, 30, 99}));
    EXPECT_EQ(PelmixToQImage(bgrx.get()).pixelColor(0, 0), QColor(30, 20, 10));
    ImageHandle rgbx(
        rawDib(1, 1, 32, PELMIX_BI_BITFIELDS, {0xFF, 0xFF00, 0xFF0000}, {10, 20, 30, 99}));
    EXPECT_EQ(PelmixToQImage(rgbx.get()).pixelColor(0, 0), QColor(10, 20, 30));
}

TEST(ToQImage, TopDownRowsAndShortColourTables) {
    // Two rows stored top row first (negative height): index 0 on top, 1 below.
    ImageHandle topDown(
        rawDib(1, -2, 8, PELMIX_BI_RGB, {0x00FF0000, 0x000000FF}, {0, 0, 0, 0, 1, 0, 0, 0}));
    QImage picture = PelmixToQImage(topDown.get());
    ASSERT_EQ(picture.size(), QSize(1, 2));
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(picture.pixelColor(0, 1), QColor(0, 0, 255));

    // An index past a two-entry table shows black instead of reading past the table.
    ImageHandle shortTable(
        rawDib(1, 1, 8, PELMIX_BI_RGB, {0x00FFFFFF, 0x00FFFFFF}, {200, 0, 0, 0}));
    picture = PelmixToQImage(shortTable.get());
    ASSERT_EQ(picture.colorCount(), 256);
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(0, 0, 0));
}

TEST(ToQImage, BadHandlesGiveANullImage) {
    EXPECT_TRUE(PelmixToQImage(nullptr).isNull());
    HGLOBAL freed = makeRgbImage(2, 2, [](int, int) { return Colour{}; }).release();
    PelmixMemFree(freed);
    EXPECT_TRUE(PelmixToQImage(freed).isNull());

    const auto spoilt = [](auto change) {
        ImageHandle image = makeRgbImage(4, 4, [](int, int) { return Colour{1, 2, 3}; });
        auto* header = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(image.get()));
        change(*header);
        GlobalUnlock(image.get());
        return PelmixToQImage(image.get()).isNull();
    };
    EXPECT_TRUE(spoilt([](PELMIX_BITMAPINFOHEADER& h) { h.biHeight = 5; }));
    EXPECT_TRUE(spoilt([](PELMIX_BITMAPINFOHEADER& h) { h.biWidth = 0; }));
    EXPECT_TRUE(spoilt([](PELMIX_BITMAPINFOHEADER& h) { h.biHeight = INT32_MIN; }));
    EXPECT_TRUE(spoilt([](PELMIX_BITMAPINFOHEADER& h) { h.biWidth = 70000; }));
    EXPECT_TRUE(spoilt([](PELMIX_BITMAPINFOHEADER& h) { h.biSize = 108; }));
    EXPECT_TRUE(spoilt([](PELMIX_BITMAPINFOHEADER& h) { h.biBitCount = 3; }));
    EXPECT_TRUE(spoilt([](PELMIX_BITMAPINFOHEADER& h) { h.biCompression = PELMIX_BI_RLE8; }));
    EXPECT_TRUE(spoilt([](PELMIX_BITMAPINFOHEADER& h) { h.biCompression = PELMIX_BI_BITFIELDS; }));
    EXPECT_FALSE(spoilt([](PELMIX_BITMAPINFOHEADER&) {}));

    HGLOBAL tiny = GlobalAlloc(GHND, 12);
    EXPECT_TRUE(PelmixToQImage(tiny).isNull());
    GlobalFree(tiny);
}

TEST(FromQImage, OneBitPicturesStayOneBit) {
    QImage mono(11, 3, QImage::Format_Mono);
    mono.setColorTable({qRgb(10, 20, 30), qRgb(240, 230, 220)});
    mono.fill(0xFF); // also sets QImage's row padding, which must not leak into the handle
    mono.setPixel(0, 0, 0);
    mono.setPixel(10, 2, 0);
    ImageHandle image(PelmixFromQImage(mono));
    ASSERT_TRUE(image);
    EXPECT_EQ(infoOf(image.get()).BIT_COUNT, 1);
    expectSamePicture(image.get(), mono);
    // The first stored row is the bottom one: pixels 8 and 9 set, 10 clear, padding zero.
    const auto* base = static_cast<const uint8_t*>(GlobalLock(image.get()));
    EXPECT_EQ(base[40 + 8 + 1], 0xC0);
    GlobalUnlock(image.get());

    QImage lsb = mono.convertToFormat(QImage::Format_MonoLSB);
    ImageHandle fromLsb(PelmixFromQImage(lsb));
    EXPECT_EQ(infoOf(fromLsb.get()).BIT_COUNT, 1);
    expectSamePicture(fromLsb.get(), mono);
}

TEST(FromQImage, IndexedAndGreyBecomeEightBitsWithAPalette) {
    QImage indexed(6, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)});
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 6; ++x) {
            indexed.setPixel(x, y, uint(x + y) % 3);
        }
    }
    ImageHandle fromIndexed(PelmixFromQImage(indexed));
    EXPECT_EQ(infoOf(fromIndexed.get()).BIT_COUNT, 8);
    EXPECT_EQ(infoOf(fromIndexed.get()).COLOR_TYPE, PELMIX_256_COLOURS);
    EXPECT_EQ(indexAt(fromIndexed.get(), 4, 1), 2);
    expectSamePicture(fromIndexed.get(), indexed);

    // Two colours are a one-bit picture.
    QImage twoColours(10, 2, QImage::Format_Indexed8);
    twoColours.setColorTable({qRgb(9, 9, 90), qRgb(250, 250, 0)});
    for (int x = 0; x < 10; ++x) {
        twoColours.setPixel(x, 0, x % 3 == 0);
        twoColours.setPixel(x, 1, x == 9);
    }
    ImageHandle fromTwo(PelmixFromQImage(twoColours));
    EXPECT_EQ(infoOf(fromTwo.get()).BIT_COUNT, 1);
    expectSamePicture(fromTwo.get(), twoColours);

    QImage grey(5, 3, QImage::Format_Grayscale8);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            grey.setPixel(x, y, qRgb(x * 60, x * 60, x * 60));
        }
    }
    ImageHandle fromGrey(PelmixFromQImage(grey));
    EXPECT_EQ(infoOf(fromGrey.get()).BIT_COUNT, 8);
    EXPECT_EQ(infoOf(fromGrey.get()).COLOR_TYPE, PELMIX_256_GREYS);
    expectSamePicture(fromGrey.get(), grey);
}

TEST(FromQImage, EverythingElseBecomesTwentyFourBitsWithResolution) {
    QImage argb(3, 2, QImage::Format_ARGB32);
    argb.fill(QColor(12, 34, 56));
    argb.setPixelColor(2, 1, QColor(200, 100, 0));
    argb.setDotsPerMeterX(11811); // 300 dpi
    argb.setDotsPerMeterY(5906);
    ImageHandle image(PelmixFromQImage(argb));
    ASSERT_TRUE(image);
    EXPECT_EQ(infoOf(image.get()).BIT_COUNT, 24);
    EXPECT_EQ(infoOf(image.get()).RESOLUTION, 300);
    EXPECT_EQ(headerOf(image.get()).biYPelsPerMeter, 5906);
    expectSamePicture(image.get(), argb);
}

TEST(FromQImage, RefusesNullAndOversizedPictures) {
    EXPECT_EQ(PelmixFromQImage(QImage()), nullptr);
    EXPECT_EQ(PelmixFromQImage(QImage(PELMIX_MAX_SIDE + 1, 1, QImage::Format_Mono)), nullptr);
}

TEST(RoundTrip, HandleToQImageAndBackKeepsPixelsDepthAndResolution) {
    std::vector<ImageHandle> images;
    images.push_back(makeIndexedImage(9, 5, 1, {{255, 255, 255}, {0, 0, 0}},
                                      [](int x, int y) { return (x ^ y) & 1; }));
    images.push_back(makeIndexedImage(7, 3, 8, rainbow(256),
                                      [](int x, int y) { return uint8_t(x * 31 + y * 7); }));
    images.push_back(makeIndexedImage(6, 6, 8, greyPalette(8),
                                      [](int x, int y) { return uint8_t(x * 40 + y); }));
    images.push_back(makeRgbImage(7, 5, [](int x, int y) {
        return Colour{uint8_t(x * 30), uint8_t(y * 50), uint8_t(x * y)};
    }));
    for (const ImageHandle& original : images) {
        ImageHandle back(PelmixFromQImage(PelmixToQImage(original.get())));
        ASSERT_TRUE(back);
        const IMAGE_INFO before = infoOf(original.get());
        const IMAGE_INFO after = infoOf(back.get());
        EXPECT_EQ(after.BIT_COUNT, before.BIT_COUNT);
        EXPECT_EQ(after.COLOR_TYPE, before.COLOR_TYPE);
        EXPECT_EQ(after.RESOLUTION, before.RESOLUTION);
        EXPECT_EQ(meanDifference(original.get(), back.get()), 0.0) << before.BIT_COUNT;
    }
}

} // namespace
