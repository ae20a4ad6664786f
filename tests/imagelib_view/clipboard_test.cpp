// The clipboard and the display's colour count, with a QGuiApplication on the offscreen platform.
#include "gui_app.h"
#include "pelmix_view.h"
#include "test_images.h"

#include <QClipboard>
#include <gtest/gtest.h>

namespace {

class Clipboard : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureGuiApplication(); }
};

TEST_F(Clipboard, HoldsACopyOfThePicture) {
    ImageHandle image = makeRgbImage(5, 3, [](int x, int y) {
        return Colour{uint8_t(x * 50), uint8_t(y * 100), 77};
    });
    ASSERT_EQ(PelmixSetToClipBrd(nullptr, image.get()), 1);
    // The caller's handle stays usable and the clipboard does not depend on it.
    image.reset();
    const QImage pasted = QGuiApplication::clipboard()->image();
    ASSERT_EQ(pasted.size(), QSize(5, 3));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(pasted.pixelColor(x, y), QColor(x * 50, y * 100, 77)) << x << "," << y;
        }
    }
}

TEST_F(Clipboard, PalettePicturesKeepTheirColours) {
    const std::vector<Colour> two = {{255, 255, 255}, {0, 0, 128}};
    ImageHandle image = makeIndexedImage(9, 2, 1, two, [](int x, int) { return x % 3 == 0; });
    ASSERT_EQ(PelmixSetToClipBrd(nullptr, image.get()), 1);
    const QImage pasted = QGuiApplication::clipboard()->image();
    ASSERT_EQ(pasted.size(), QSize(9, 2));
    EXPECT_EQ(pasted.pixelColor(0, 1), QColor(0, 0, 128));
    EXPECT_EQ(pasted.pixelColor(1, 1), QColor(255, 255, 255));
    EXPECT_EQ(pasted.pixelColor(8, 0), QColor(255, 255, 255));
}

TEST_F(Clipboard, RefusesBadImagesAndLeavesTheClipboardAlone) {
    ImageHandle image = makeRgbImage(2, 2, [](int, int) { return Colour{1, 2, 3}; });
    ASSERT_EQ(PelmixSetToClipBrd(nullptr, image.get()), 1);
    EXPECT_EQ(PelmixSetToClipBrd(nullptr, nullptr), 0);
    HGLOBAL freed = makeRgbImage(7, 7, [](int, int) { return Colour{}; }).release();
    PelmixMemFree(freed);
    EXPECT_EQ(PelmixSetToClipBrd(nullptr, freed), 0);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(2, 2));
}

TEST_F(Clipboard, SystemPaletteIsAPowerOfTwoOrFullColour) {
    const int32_t colours = PelmixSystemPalette();
    ASSERT_GT(colours, 0);
    EXPECT_TRUE((colours & (colours - 1)) == 0 || colours == 16777216) << colours;
    EXPECT_LE(colours, 16777216);
}

} // namespace
