// The device functions in a program that never made a QGuiApplication.
#include "pelmix_view.h"
#include "test_images.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

TEST(WithoutApplication, ClipboardRefusesAndPaletteIsFullColour) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    ImageHandle image = makeRgbImage(2, 2, [](int, int) { return Colour{9, 9, 9}; });
    EXPECT_EQ(PelmixSetToClipBrd(nullptr, image.get()), 0);
    EXPECT_EQ(PelmixSystemPalette(), 16777216);
}

TEST(WithoutApplication, ConversionsStillWork) {
    ImageHandle image = makeRgbImage(3, 2, [](int x, int) { return Colour{uint8_t(x), 0, 0}; });
    const QImage picture = PelmixToQImage(image.get());
    ASSERT_EQ(picture.size(), QSize(3, 2));
    EXPECT_EQ(picture.pixelColor(2, 1), QColor(2, 0, 0));
}

} // namespace
