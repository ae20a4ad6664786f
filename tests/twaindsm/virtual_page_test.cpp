// The virtual scanner's pages: size, depth, colour tables and recognisable content.
#include "dib.h"
#include "test_images.h"
#include "virtual_page.h"

#include <QColor>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

using namespace twaindsm;

namespace {

ImageHandle render(int width, int height, TW_UINT16 pixelType, int page = 1, int threshold = 128) {
    VirtualPageRequest request;
    request.width = width;
    request.height = height;
    request.pixelType = pixelType;
    request.pageNumber = page;
    request.threshold = threshold;
    return ImageHandle(renderVirtualPage(request));
}

int grey(Colour c) {
    return qGray(c.r, c.g, c.b);
}

Colour colourOf(const QColor& c) {
    return {static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
            static_cast<uint8_t>(c.blue())};
}

int darkPixelsIn(HGLOBAL page, const QRect& box) {
    int dark = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            dark += grey(pixelAt(page, x, y)) < 64;
        }
    }
    return dark;
}

} // namespace

TEST(VirtualPageSize, FrameTimesResolutionRoundedAndAtLeastOnePixel) {
    EXPECT_EQ(virtualPageSize(1, 2, 100, 100), QSize(100, 200));
    EXPECT_EQ(virtualPageSize(8.27, 11.69, 300, 150), QSize(2481, 1754));
    EXPECT_EQ(virtualPageSize(1.006, 0.004, 100, 100), QSize(101, 1));
    EXPECT_EQ(virtualPageSize(-1, 0, 100, 100), QSize(1, 1));
    EXPECT_EQ(virtualPageSize(std::nan(""), 1, 100, std::nan("")), QSize(1, 1));
    EXPECT_EQ(virtualPageSize(1e12, 1, 1e12, 100).width(), INT_MAX);
}

TEST(VirtualPage, EachPixelTypeHasItsDepthColourTableAndResolution) {
    struct Case {
        TW_UINT16 type;
        int bits;
        uint32_t colours;
    };
    for (const Case& c : {Case{TWPT_BW, 1, 2}, Case{TWPT_GRAY, 8, 256}, Case{TWPT_RGB, 24, 0},
                          Case{TWPT_PALETTE, 8, 256}}) {
        SCOPED_TRACE(c.type);
        ImageHandle page = render(120, 160, c.type);
        ASSERT_TRUE(page);
        pelmix::DibView dib(page.get());
        ASSERT_TRUE(dib.valid());
        EXPECT_EQ(dib.bitCount(), c.bits);
        EXPECT_EQ(dib.colourCount(), c.colours);
        EXPECT_EQ(dib.width(), 120);
        EXPECT_EQ(dib.header().biHeight, 160); // positive: bottom-up
        EXPECT_EQ(dib.header().biXPelsPerMeter, 5906);
        EXPECT_EQ(dib.header().biYPelsPerMeter, 5906);
        if (c.type == TWPT_BW) {
            EXPECT_EQ(dib.colours()[0].red, 0); // index 0 black, 1 white
            EXPECT_EQ(dib.colours()[1].red, 255);
        } else if (c.type == TWPT_GRAY) {
            EXPECT_TRUE(pelmix::greyPalette(dib.colours(), 256));
            EXPECT_EQ(dib.colours()[200].green, 200);
        }
    }
}

TEST(VirtualPage, FrameIsDarkAndBarsHaveTheirColoursInEveryPixelType) {
    const VirtualPageLayout layout = layoutVirtualPage(QSize(400, 300));
    const QPoint onFrame(layout.frame.left() + layout.frameWidth / 2, layout.frame.center().y());
    for (TW_UINT16 type : {TWPT_BW, TWPT_GRAY, TWPT_RGB, TWPT_PALETTE}) {
        SCOPED_TRACE(type);
        ImageHandle page = render(400, 300, type);
        ASSERT_TRUE(page);
        EXPECT_LT(grey(pixelAt(page.get(), onFrame.x(), onFrame.y())), 64);
        EXPECT_EQ(pixelAt(page.get(), 0, 0), (Colour{255, 255, 255})); // outside the frame
        for (size_t i = 0; i < layout.bars.size(); ++i) {
            const QColor expected = virtualBarColours()[i];
            const Colour got =
                pixelAt(page.get(), layout.bars[i].center().x(), layout.bars[i].center().y());
            if (type == TWPT_RGB || type == TWPT_PALETTE) {
                EXPECT_EQ(got, colourOf(expected)) << "bar " << i;
            } else if (type == TWPT_GRAY) {
                EXPECT_EQ(grey(got), qGray(expected.rgb())) << "bar " << i;
            } else {
                EXPECT_EQ(grey(got), qGray(expected.rgb()) >= 128 ? 255 : 0) << "bar " << i;
            }
        }
    }
}

TEST(VirtualPage, TopOfThePictureIsTheLastRowInMemory) {
    ImageHandle page = render(200, 100, TWPT_RGB);
    const VirtualPageLayout layout = layoutVirtualPage(QSize(200, 100));
    const QRect red = layout.bars[0];
    pelmix::DibView dib(page.get());
    const uint8_t* stored = dib.pixels() + (99 - red.center().y()) * dib.stride();
    const uint8_t* pixel = stored + 3 * red.center().x();
    EXPECT_EQ(pixel[0], 0); // blue, green, red
    EXPECT_EQ(pixel[1], 0);
    EXPECT_EQ(pixel[2], 255);
}

TEST(VirtualPage, NumberIsLargeAndDiffersFromPageToPage) {
    const VirtualPageLayout layout = layoutVirtualPage(QSize(300, 400));
    ImageHandle one = render(300, 400, TWPT_GRAY, 1);
    ImageHandle two = render(300, 400, TWPT_GRAY, 2);
    ImageHandle twelve = render(300, 400, TWPT_GRAY, 12);
    const int area = layout.number.width() * layout.number.height();
    EXPECT_GT(darkPixelsIn(one.get(), layout.number), area / 30);
    EXPECT_GT(darkPixelsIn(two.get(), layout.number), darkPixelsIn(one.get(), layout.number));
    EXPECT_NE(darkPixelsIn(twelve.get(), layout.number), darkPixelsIn(two.get(), layout.number));
    // Everything but the number is the same on every page.
    EXPECT_EQ(pixelAt(one.get(), layout.bars[3].center().x(), layout.bars[3].center().y()),
              pixelAt(two.get(), layout.bars[3].center().x(), layout.bars[3].center().y()));
    EXPECT_EQ(darkPixelsIn(one.get(), QRect(0, 0, 300, layout.number.top())),
              darkPixelsIn(two.get(), QRect(0, 0, 300, layout.number.top())));
}

TEST(VirtualPage, ThresholdDecidesBlackAndWhite) {
    ImageHandle allWhite = render(64, 64, TWPT_BW, 1, 0);
    ImageHandle allBlack = render(64, 64, TWPT_BW, 1, 256);
    EXPECT_EQ(darkPixelsIn(allWhite.get(), QRect(0, 0, 64, 64)), 0);
    EXPECT_EQ(darkPixelsIn(allBlack.get(), QRect(0, 0, 64, 64)), 64 * 64);
}

TEST(VirtualPage, DegenerateSizesDrawAndOversizedOnesAreRefused) {
    for (QSize size : {QSize(1, 1), QSize(1, 500), QSize(3, 3), QSize(700, 2)}) {
        for (TW_UINT16 type : {TWPT_BW, TWPT_PALETTE}) {
            EXPECT_TRUE(render(size.width(), size.height(), type))
                << size.width() << "x" << size.height();
        }
    }
    EXPECT_FALSE(render(0, 10, TWPT_RGB));
    EXPECT_FALSE(render(70000, 10, TWPT_RGB));     // wider than any side the library takes
    EXPECT_FALSE(render(20000, 20000, TWPT_GRAY)); // more pixels than it takes
}

TEST(VirtualPage, BandedDrawingJoinsSeamlessly) {
    // Tall enough to be drawn in several bands: the frame's side must run unbroken.
    const QSize size(2000, 1400);
    const VirtualPageLayout layout = layoutVirtualPage(size);
    ImageHandle page = render(size.width(), size.height(), TWPT_BW);
    ASSERT_TRUE(page);
    const int x = layout.frame.left();
    for (int y = layout.frame.top(); y <= layout.frame.bottom(); ++y) {
        ASSERT_EQ(indexAt(page.get(), x, y), 0) << "row " << y;
    }
}
