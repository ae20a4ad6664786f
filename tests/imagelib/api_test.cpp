// Description, copy and release of image handles, and refusal of bad handles everywhere.
#include "temp_dir.h"
#include "test_images.h"

#include <gtest/gtest.h>

TEST(ImageInfo, ReportsSizeColourTypeDepthAndResolution) {
    ImageHandle rgb = makeRgbImage(7, 3, [](int, int) { return Colour{1, 2, 3}; });
    IMAGE_INFO info = infoOf(rgb.get());
    EXPECT_EQ(info.WIDTH, 7);
    EXPECT_EQ(info.HEIGHT, 3);
    EXPECT_EQ(info.COLOR_TYPE, PELMIX_FULL_COLOUR);
    EXPECT_EQ(info.BIT_COUNT, 24);
    EXPECT_EQ(info.RESOLUTION, 300);

    ImageHandle grey = makeIndexedImage(4, 4, 8, greyPalette(8), [](int x, int) { return x; });
    EXPECT_EQ(infoOf(grey.get()).COLOR_TYPE, PELMIX_256_GREYS);
    std::vector<Colour> colours(256, Colour{10, 20, 30});
    ImageHandle pal = makeIndexedImage(4, 4, 8, colours, [](int, int) { return 0; });
    EXPECT_EQ(infoOf(pal.get()).COLOR_TYPE, PELMIX_256_COLOURS);
    ImageHandle grey4 = makeIndexedImage(4, 4, 4, greyPalette(4), [](int, int) { return 3; });
    EXPECT_EQ(infoOf(grey4.get()).COLOR_TYPE, PELMIX_16_GREYS);
    ImageHandle col4 = makeIndexedImage(4, 4, 4, std::vector<Colour>(16, Colour{255, 0, 0}),
                                        [](int, int) { return 3; });
    EXPECT_EQ(infoOf(col4.get()).COLOR_TYPE, PELMIX_16_COLOURS);
    ImageHandle bw = makeIndexedImage(9, 2, 1, greyPalette(1), [](int x, int) { return x & 1; });
    EXPECT_EQ(infoOf(bw.get()).COLOR_TYPE, PELMIX_TWO_COLOUR);
}

TEST(ImageInfo, RefusesBadHandlesAndShortBlocks) {
    IMAGE_INFO info{1, 2, 3, 4, 5};
    EXPECT_EQ(PelmixImageInfo(nullptr, &info), 0);
    EXPECT_EQ(info.WIDTH, 0);

    HGLOBAL freed = makeRgbImage(2, 2, [](int, int) { return Colour{}; }).release();
    PelmixMemFree(freed);
    EXPECT_EQ(PelmixImageInfo(freed, &info), 0);
    EXPECT_EQ(PelmixMemFree(freed), 0);

    // A header that promises more rows than the block holds.
    ImageHandle img = makeRgbImage(4, 4, [](int, int) { return Colour{}; });
    auto* h = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(img.get()));
    h->biHeight = 4000;
    GlobalUnlock(img.get());
    EXPECT_EQ(PelmixImageInfo(img.get(), &info), 0);
    EXPECT_EQ(PelmixCopy(img.get(), "", ""), nullptr);
    EXPECT_EQ(PelmixRotation(img.get(), "", "", 0), nullptr);
    EXPECT_EQ(PelmixBright(img.get(), "", "", 1.0), 0);
}

TEST(DibNumColors, CountsTheColourTable) {
    PELMIX_BITMAPINFOHEADER h{};
    h.biSize = 40;
    h.biBitCount = 8;
    EXPECT_EQ(DibNumColors(&h), 256);
    h.biClrUsed = 17;
    EXPECT_EQ(DibNumColors(&h), 17);
    h.biBitCount = 1;
    h.biClrUsed = 0;
    EXPECT_EQ(DibNumColors(&h), 2);
    h.biBitCount = 24;
    EXPECT_EQ(DibNumColors(&h), 0);
    h.biBitCount = 32;
    h.biCompression = PELMIX_BI_BITFIELDS;
    EXPECT_EQ(DibNumColors(&h), 3);
    EXPECT_EQ(DibNumColors(nullptr), 0);
}

TEST(Copy, IsIndependentOfTheOriginal) {
    ImageHandle a = makeRgbImage(3, 3, [](int x, int y) {
        return Colour{uint8_t(x), uint8_t(y), 9};
    });
    ImageHandle b(PelmixCopy(a.get(), "", ""));
    ASSERT_TRUE(b);
    EXPECT_NE(a.get(), b.get());
    EXPECT_EQ(meanDifference(a.get(), b.get()), 0.0);
    a.reset();
    EXPECT_EQ(pixelAt(b.get(), 2, 1), (Colour{2, 1, 9}));
}

TEST(FileLoad, RefusesMissingEmptyAndUnknownFiles) {
    TempDir dir;
    EXPECT_EQ(PelmixFileLoad(dir.file("missing.bmp").c_str(), "", ""), nullptr);
    EXPECT_EQ(PelmixFileLoad(dir.path().c_str(), "", ""), nullptr);
    EXPECT_EQ(PelmixFileLoad(nullptr, "", ""), nullptr);
    writeBytes(dir.file("empty.jpg"), "", 0);
    EXPECT_EQ(PelmixFileLoad(dir.file("empty.jpg").c_str(), "", ""), nullptr);
    writeBytes(dir.file("text.tif"), "hello, world", 12);
    EXPECT_EQ(PelmixFileLoad(dir.file("text.tif").c_str(), "", ""), nullptr);
}

TEST(Progress, HandlerSeesCaptionAndTextOnlyWhenGiven) {
    struct Seen {
        int calls = 0;
        std::string caption, text;
    } seen;
    PelmixSetProgressHandler(
        [](void* ctx, const char* c, const char* t, int32_t) {
            auto* s = static_cast<Seen*>(ctx);
            ++s->calls;
            s->caption = c;
            s->text = t;
        },
        &seen);
    ImageHandle a = makeRgbImage(2, 2, [](int, int) { return Colour{}; });
    ImageHandle b(PelmixCopy(a.get(), "", ""));
    EXPECT_EQ(seen.calls, 0);
    ImageHandle c(PelmixCopy(a.get(), "変換保存中", "PIC0001.JPG"));
    EXPECT_GE(seen.calls, 2);
    EXPECT_EQ(seen.caption, "変換保存中");
    EXPECT_EQ(seen.text, "PIC0001.JPG");
    PelmixSetProgressHandler(nullptr, nullptr);
}

TEST(Normalising, TopDownImageWithShortColourTableKeepsItsPixels) {
    // Three colours in an 8-bit top-down image: saving has to turn it bottom-up first.
    const std::vector<Colour> table = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    const int w = 5, h = 3, stride = 8;
    HGLOBAL raw = GlobalAlloc(GHND, 40 + 3 * 4 + stride * h);
    auto* base = static_cast<uint8_t*>(GlobalLock(raw));
    auto* hd = reinterpret_cast<PELMIX_BITMAPINFOHEADER*>(base);
    hd->biSize = 40;
    hd->biWidth = w;
    hd->biHeight = -h;
    hd->biPlanes = 1;
    hd->biBitCount = 8;
    hd->biClrUsed = 3;
    for (int i = 0; i < 3; ++i) {
        base[40 + 4 * i] = table[i].b;
        base[41 + 4 * i] = table[i].g;
        base[42 + 4 * i] = table[i].r;
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            base[52 + y * stride + x] = static_cast<uint8_t>((x + y) % 3);
        }
    }
    GlobalUnlock(raw);
    ImageHandle image(raw);

    TempDir dir;
    const std::string path = dir.file("short.bmp");
    ASSERT_NE(PelmixBmpFileSave(path.c_str(), image.get(), "", "", 0), 0);
    ImageHandle back(PelmixFileLoad(path.c_str(), "", ""));
    ASSERT_TRUE(back);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            EXPECT_EQ(pixelAt(back.get(), x, y), table[(x + y) % 3]) << x << "," << y;
        }
    }
}
