// Drawing image handles through a screen context (a painter on a QImage).
#include "gui_app.h"
#include "pelmix_view.h"
#include "test_images.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

const Colour kRed{255, 0, 0}, kGreen{0, 200, 0}, kBlue{0, 0, 255}, kYellow{250, 240, 10};

QColor qcolour(Colour c) {
    return QColor(c.r, c.g, c.b);
}

class Display : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureGuiApplication(); }
    void SetUp() override { canvas_.fill(Qt::white); }

    // Displays the image on the canvas through a fresh context on a painter that is first moved
    // to origin; returns what PelmixDisplayHdc returned.
    int32_t display(HGLOBAL image, int32_t width, int32_t height, QPoint origin = {}) {
        QPainter painter(&canvas_);
        painter.translate(origin);
        HDC dc = PelmixCreatePainterDC(&painter);
        const int32_t result = PelmixDisplayHdc(dc, image, width, height, 1);
        PelmixDeleteDC(dc);
        return result;
    }

    QColor at(int x, int y) const { return canvas_.pixelColor(x, y); }

    bool allWhite() const {
        for (int y = 0; y < canvas_.height(); ++y) {
            for (int x = 0; x < canvas_.width(); ++x) {
                if (canvas_.pixel(x, y) != qRgb(255, 255, 255)) {
                    return false;
                }
            }
        }
        return true;
    }

    QImage canvas_{88, 48, QImage::Format_RGB32};
};

TEST_F(Display, StretchesFourPixelsIntoFourQuadrants) {
    const Colour quad[2][2] = {{kRed, kGreen}, {kBlue, kYellow}};
    ImageHandle image = makeRgbImage(2, 2, [&](int x, int y) { return quad[y][x]; });
    ASSERT_EQ(display(image.get(), 20, 20), 1);
    EXPECT_TRUE(near(at(3, 3), qcolour(kRed)));
    EXPECT_TRUE(near(at(16, 3), qcolour(kGreen)));
    EXPECT_TRUE(near(at(3, 16), qcolour(kBlue)));
    EXPECT_TRUE(near(at(16, 16), qcolour(kYellow)));
    // Smooth scaling blends across the middle rather than cutting hard.
    const QColor middle = at(9, 3);
    EXPECT_FALSE(near(middle, qcolour(kRed), 10));
    EXPECT_FALSE(near(middle, qcolour(kGreen), 10));
    // Nothing outside the target rectangle.
    EXPECT_EQ(at(21, 5), QColor(Qt::white));
    EXPECT_EQ(at(5, 21), QColor(Qt::white));
}

TEST_F(Display, DrawsAtThePaintersOriginAndLeavesItsSettingsAlone) {
    ImageHandle image = makeRgbImage(1, 1, [](int, int) { return kBlue; });
    QPainter painter(&canvas_);
    painter.translate(10, 20);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    HDC dc = PelmixCreatePainterDC(&painter);
    ASSERT_EQ(PelmixDisplayHdc(dc, image.get(), 8, 4, 1), 1);
    EXPECT_FALSE(painter.testRenderHint(QPainter::SmoothPixmapTransform));
    EXPECT_EQ(painter.transform(), QTransform::fromTranslate(10, 20));
    PelmixDeleteDC(dc);
    painter.end();
    EXPECT_TRUE(near(at(10, 20), qcolour(kBlue)));
    EXPECT_TRUE(near(at(17, 23), qcolour(kBlue)));
    EXPECT_EQ(at(9, 20), QColor(Qt::white));
    EXPECT_EQ(at(18, 20), QColor(Qt::white));
    EXPECT_EQ(at(10, 24), QColor(Qt::white));
}

// Each depth shown with its colours. Smooth scaling blends neighbours a little even at a
// stretched pixel's centre, so the pictures are made of 2 x 2 blocks and each block's centre is
// checked: an 8 x 4 picture shown at 80 x 40.
void expectShownAsIs(const QImage& canvas, HGLOBAL image) {
    for (int by = 0; by < 2; ++by) {
        for (int bx = 0; bx < 4; ++bx) {
            const Colour c = pixelAt(image, 2 * bx, 2 * by);
            const QColor shown = canvas.pixelColor(20 * bx + 10, 20 * by + 10);
            EXPECT_TRUE(near(shown, qcolour(c)))
                << shown.name().toStdString() << " for block " << bx << "," << by << " of a "
                << infoOf(image).BIT_COUNT << "-bit image";
        }
    }
}

TEST_F(Display, ShowsEveryDepthWithItsColours) {
    const std::vector<Colour> two = {{20, 30, 120}, {250, 160, 0}};
    ImageHandle mono =
        makeIndexedImage(8, 4, 1, two, [](int x, int y) { return (x / 2 + y / 2) & 1; });
    std::vector<Colour> sixteen(16);
    for (int i = 0; i < 16; ++i) {
        sixteen[i] = Colour{uint8_t(i * 16), uint8_t(255 - i * 16), uint8_t(i * 5)};
    }
    ImageHandle nibble = makeIndexedImage(
        8, 4, 4, sixteen, [](int x, int y) { return uint8_t(x / 2 * 4 + y / 2 * 3); });
    std::vector<Colour> many(256);
    for (int i = 0; i < 256; ++i) {
        many[i] = Colour{uint8_t(i), uint8_t(i * 7), uint8_t(255 - i)};
    }
    ImageHandle byte = makeIndexedImage(
        8, 4, 8, many, [](int x, int y) { return uint8_t(x / 2 * 60 + y / 2 * 17); });
    ImageHandle rgb = makeRgbImage(8, 4, [](int x, int y) {
        return Colour{uint8_t(x / 2 * 80), uint8_t(y / 2 * 200), uint8_t(255 - x / 2 * 40)};
    });
    for (HGLOBAL image : {mono.get(), nibble.get(), byte.get(), rgb.get()}) {
        canvas_.fill(Qt::white);
        ASSERT_EQ(display(image, 80, 40), 1);
        expectShownAsIs(canvas_, image);
    }
}

TEST_F(Display, RefusesBadContextsHandlesAndSizesWithoutDrawing) {
    ImageHandle image = makeRgbImage(2, 2, [](int, int) { return kRed; });
    EXPECT_EQ(PelmixDisplayHdc(nullptr, image.get(), 10, 10, 1), 0);
    EXPECT_EQ(display(nullptr, 10, 10), 0);
    EXPECT_EQ(display(image.get(), 0, 10), 0);
    EXPECT_EQ(display(image.get(), 10, -1), 0);

    HGLOBAL freed = makeRgbImage(2, 2, [](int, int) { return kRed; }).release();
    PelmixMemFree(freed);
    EXPECT_EQ(display(freed, 10, 10), 0);

    // A header promising more rows than the block holds.
    ImageHandle shortBlock = makeRgbImage(4, 4, [](int, int) { return kRed; });
    auto* header = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(shortBlock.get()));
    header->biHeight = 400;
    GlobalUnlock(shortBlock.get());
    EXPECT_EQ(display(shortBlock.get(), 10, 10), 0);
    EXPECT_TRUE(allWhite());
}

TEST_F(Display, RefusesDeletedForeignAndIdleContexts) {
    ImageHandle image = makeRgbImage(2, 2, [](int, int) { return kRed; });
    QPainter painter(&canvas_);
    HDC dc = PelmixCreatePainterDC(&painter);
    PelmixDeleteDC(dc);
    EXPECT_EQ(PelmixDisplayHdc(dc, image.get(), 10, 10, 1), 0);
    PelmixDeleteDC(dc); // a second delete is ignored

    // Something that merely looks like a context is never used.
    alignas(16) unsigned char junk[256] = {};
    EXPECT_EQ(PelmixDisplayHdc(reinterpret_cast<HDC>(junk), image.get(), 10, 10, 1), 0);
    painter.end();

    // A painter that is not painting any more.
    HDC idle = PelmixCreatePainterDC(&painter);
    EXPECT_EQ(PelmixDisplayHdc(idle, image.get(), 10, 10, 1), 0);
    PelmixDeleteDC(idle);
    EXPECT_EQ(PelmixCreatePainterDC(nullptr), nullptr);
    EXPECT_TRUE(allWhite());
}

} // namespace
