// Rotations, flips and cut-outs, checked pixel by pixel at every depth.
#include "test_images.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The 3 x 2 picture "abc/def": label i (0..5) is index i, or a distinct colour at 24 bits.
Colour labelColour(int i) {
    return Colour{uint8_t(40 * i + 10), uint8_t(200 - 30 * i), 7};
}

std::vector<Colour> labelPalette(int bits) {
    std::vector<Colour> palette(size_t(1) << bits);
    for (size_t i = 0; i < palette.size(); ++i) {
        palette[i] = labelColour(int(i));
    }
    return palette;
}

ImageHandle makeLabels(int bits) {
    const auto label = [](int x, int y) { return 3 * y + x; };
    if (bits == 24) {
        return makeRgbImage(3, 2, [&](int x, int y) { return labelColour(label(x, y)); });
    }
    return makeIndexedImage(3, 2, bits, labelPalette(bits),
                            [&](int x, int y) { return uint8_t(label(x, y)); });
}

// The picture as labels, rows separated by '/'.
std::string labelsOf(HGLOBAL image) {
    const IMAGE_INFO info = infoOf(image);
    std::string out;
    for (int y = 0; y < info.HEIGHT; ++y) {
        if (y > 0) {
            out += '/';
        }
        for (int x = 0; x < info.WIDTH; ++x) {
            const Colour c = pixelAt(image, x, y);
            char label = '?';
            for (int i = 0; i < 6; ++i) {
                if (labelColour(i) == c) {
                    label = char('a' + i);
                }
            }
            out += label;
        }
    }
    return out;
}

// A picture where every pixel differs from its neighbours in a way a misplaced row, column or
// packed bit shows.
ImageHandle makeBusy(int width, int height, int bits) {
    const auto value = [](int x, int y) { return uint8_t((x * 7 + y * 13 + x * y) % 251); };
    if (bits == 24) {
        return makeRgbImage(width, height, [&](int x, int y) {
            return Colour{value(x, y), uint8_t(x), uint8_t(y)};
        });
    }
    const int mask = (1 << bits) - 1;
    std::vector<Colour> palette(size_t(1) << bits);
    for (size_t i = 0; i < palette.size(); ++i) {
        palette[i] = Colour{uint8_t(i), uint8_t(255 - i), uint8_t(i * 3)};
    }
    return makeIndexedImage(width, height, bits, palette,
                            [&](int x, int y) { return uint8_t(value(x, y) & mask); });
}

// Where output pixel (x, y) comes from, for a w x h source.
void sourceOf(int mode, int w, int h, int x, int y, int& sx, int& sy) {
    switch (mode) {
    case PELMIX_ROTATE_180:
        sx = w - 1 - x, sy = h - 1 - y;
        break;
    case PELMIX_ROTATE_LEFT:
        sx = w - 1 - y, sy = x;
        break;
    case PELMIX_ROTATE_RIGHT:
        sx = y, sy = h - 1 - x;
        break;
    case PELMIX_FLIP_TOP_BOTTOM:
        sx = x, sy = h - 1 - y;
        break;
    default:
        sx = w - 1 - x, sy = y;
    }
}

void setResolution(HGLOBAL image, int32_t x, int32_t y) {
    auto* header = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(image));
    header->biXPelsPerMeter = x;
    header->biYPelsPerMeter = y;
    GlobalUnlock(image);
}

// The same picture stored as a 32-bit top-down image.
ImageHandle as32BitTopDown(HGLOBAL rgb) {
    const IMAGE_INFO info = infoOf(rgb);
    const size_t size = 40 + size_t(4) * info.WIDTH * info.HEIGHT;
    HGLOBAL h = GlobalAlloc(GHND, size);
    auto* base = static_cast<uint8_t*>(GlobalLock(h));
    PELMIX_BITMAPINFOHEADER header = headerOf(rgb);
    header.biBitCount = 32;
    header.biHeight = -info.HEIGHT;
    header.biSizeImage = uint32_t(size - 40);
    header.biClrUsed = 0;
    std::memcpy(base, &header, 40);
    for (int y = 0; y < info.HEIGHT; ++y) {
        for (int x = 0; x < info.WIDTH; ++x) {
            const Colour c = pixelAt(rgb, x, y);
            uint8_t* p = base + 40 + 4 * (size_t(y) * info.WIDTH + x);
            p[0] = c.b, p[1] = c.g, p[2] = c.r;
        }
    }
    GlobalUnlock(h);
    return ImageHandle(h);
}

// Two colours cannot carry six labels; 1 bit is covered by the pixel-by-pixel test below.
TEST(Rotation, TurnsTheLabelledPictureAsSeen) {
    for (int bits : {4, 8, 24}) {
        ImageHandle source = makeLabels(bits);
        ASSERT_EQ(labelsOf(source.get()), "abc/def");
        const struct {
            int mode;
            const char* expected;
        } cases[] = {
            {PELMIX_ROTATE_180, "fed/cba"},        {PELMIX_ROTATE_LEFT, "cf/be/ad"},
            {PELMIX_ROTATE_RIGHT, "da/eb/fc"},     {PELMIX_FLIP_TOP_BOTTOM, "def/abc"},
            {PELMIX_MIRROR_LEFT_RIGHT, "cba/fed"},
        };
        for (const auto& c : cases) {
            ImageHandle turned(PelmixRotation(source.get(), "", "", c.mode));
            ASSERT_TRUE(turned) << "mode " << c.mode;
            EXPECT_EQ(infoOf(turned.get()).BIT_COUNT, bits);
            EXPECT_EQ(labelsOf(turned.get()), c.expected) << "mode " << c.mode;
        }
        EXPECT_EQ(labelsOf(source.get()), "abc/def");
    }
}

class RotationAtDepth : public ::testing::TestWithParam<int> {};

TEST_P(RotationAtDepth, MovesEveryPixelOfOddSizedPictures) {
    const int bits = GetParam();
    // Widths around byte and nibble boundaries of packed rows.
    for (const auto& [w, h] : {std::pair{13, 5}, {9, 17}, {1, 7}, {8, 1}}) {
        ImageHandle source = makeBusy(w, h, bits);
        for (int mode = 0; mode <= 4; ++mode) {
            ImageHandle turned(PelmixRotation(source.get(), "", "", mode));
            ASSERT_TRUE(turned);
            const IMAGE_INFO info = infoOf(turned.get());
            const bool quarter = mode == PELMIX_ROTATE_LEFT || mode == PELMIX_ROTATE_RIGHT;
            ASSERT_EQ(info.WIDTH, quarter ? h : w);
            ASSERT_EQ(info.HEIGHT, quarter ? w : h);
            int wrong = 0;
            for (int y = 0; y < info.HEIGHT; ++y) {
                for (int x = 0; x < info.WIDTH; ++x) {
                    int sx = 0, sy = 0;
                    sourceOf(mode, w, h, x, y, sx, sy);
                    wrong += !(pixelAt(turned.get(), x, y) == pixelAt(source.get(), sx, sy));
                }
            }
            EXPECT_EQ(wrong, 0) << w << "x" << h << " mode " << mode;
        }
    }
}

TEST_P(RotationAtDepth, QuarterTurnsUndoEachOther) {
    ImageHandle source = makeBusy(11, 6, GetParam());
    ImageHandle turned(PelmixCopy(source.get(), "", ""));
    for (int i = 0; i < 4; ++i) {
        turned.reset(PelmixRotation(turned.get(), "", "", PELMIX_ROTATE_LEFT));
        ASSERT_TRUE(turned);
    }
    EXPECT_EQ(meanDifference(source.get(), turned.get()), 0.0);

    ImageHandle left(PelmixRotation(source.get(), "", "", PELMIX_ROTATE_LEFT));
    ImageHandle back(PelmixRotation(left.get(), "", "", PELMIX_ROTATE_RIGHT));
    EXPECT_EQ(meanDifference(source.get(), back.get()), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Depths, RotationAtDepth, ::testing::Values(1, 4, 8, 24));

TEST(Rotation, SwapsResolutionOnlyForQuarterTurns) {
    ImageHandle source = makeBusy(4, 3, 24);
    setResolution(source.get(), 11811, 5906);
    ImageHandle left(PelmixRotation(source.get(), "", "", PELMIX_ROTATE_LEFT));
    EXPECT_EQ(headerOf(left.get()).biXPelsPerMeter, 5906);
    EXPECT_EQ(headerOf(left.get()).biYPelsPerMeter, 11811);
    ImageHandle flipped(PelmixRotation(source.get(), "", "", PELMIX_FLIP_TOP_BOTTOM));
    EXPECT_EQ(headerOf(flipped.get()).biXPelsPerMeter, 11811);
    EXPECT_EQ(headerOf(flipped.get()).biYPelsPerMeter, 5906);
}

TEST(Rotation, ReadsWideAndTopDownImagesAsTheyAreSeen) {
    ImageHandle rgb = makeLabels(24);
    ImageHandle wide = as32BitTopDown(rgb.get());
    ImageHandle turned(PelmixRotation(wide.get(), "", "", PELMIX_ROTATE_RIGHT));
    ASSERT_TRUE(turned);
    EXPECT_EQ(infoOf(turned.get()).BIT_COUNT, 24);
    EXPECT_GT(headerOf(turned.get()).biHeight, 0);
    EXPECT_EQ(labelsOf(turned.get()), "da/eb/fc");
}

TEST(Rotation, RefusesUnknownModesAndBadHandles) {
    ImageHandle source = makeLabels(8);
    EXPECT_EQ(PelmixRotation(source.get(), "", "", 5), nullptr);
    EXPECT_EQ(PelmixRotation(source.get(), "", "", -1), nullptr);
    EXPECT_EQ(PelmixRotation(nullptr, "", "", 0), nullptr);
    HGLOBAL freed = makeLabels(24).release();
    PelmixMemFree(freed);
    EXPECT_EQ(PelmixRotation(freed, "", "", 0), nullptr);
}

TEST(RectCut, CutsTheInclusiveRectangleAtEveryDepth) {
    for (int bits : {1, 4, 8, 24}) {
        ImageHandle source = makeBusy(21, 9, bits);
        const struct {
            int left, top, right, bottom;
        } rects[] = {{3, 2, 17, 6}, {0, 0, 20, 8}, {5, 4, 5, 4}, {7, 0, 8, 8}, {1, 8, 20, 8}};
        for (const auto& r : rects) {
            ImageHandle cut(PelmixRectCut(source.get(), "", "", r.left, r.top, r.right, r.bottom));
            ASSERT_TRUE(cut);
            const IMAGE_INFO info = infoOf(cut.get());
            ASSERT_EQ(info.WIDTH, r.right - r.left + 1);
            ASSERT_EQ(info.HEIGHT, r.bottom - r.top + 1);
            EXPECT_EQ(info.BIT_COUNT, bits);
            int wrong = 0;
            for (int y = 0; y < info.HEIGHT; ++y) {
                for (int x = 0; x < info.WIDTH; ++x) {
                    wrong +=
                        !(pixelAt(cut.get(), x, y) == pixelAt(source.get(), r.left + x, r.top + y));
                    if (bits < 24) {
                        wrong += indexAt(cut.get(), x, y) !=
                                 indexAt(source.get(), r.left + x, r.top + y);
                    }
                }
            }
            EXPECT_EQ(wrong, 0) << bits << " bits, left " << r.left << " top " << r.top;
        }
    }
}

TEST(RectCut, ClampsToThePicture) {
    ImageHandle source = makeBusy(10, 6, 24);
    ImageHandle all(PelmixRectCut(source.get(), "", "", -5, -100, 1000, 6));
    ASSERT_TRUE(all);
    EXPECT_EQ(meanDifference(all.get(), source.get()), 0.0);

    ImageHandle corner(PelmixRectCut(source.get(), "", "", 8, -3, 40, 1));
    ASSERT_TRUE(corner);
    EXPECT_EQ(infoOf(corner.get()).WIDTH, 2);
    EXPECT_EQ(infoOf(corner.get()).HEIGHT, 2);
    EXPECT_EQ(pixelAt(corner.get(), 1, 1), pixelAt(source.get(), 9, 1));
    EXPECT_EQ(infoOf(corner.get()).RESOLUTION, 300);
}

TEST(RectCut, GivesNothingForEmptyInvertedOrOutsideRectangles) {
    ImageHandle source = makeBusy(10, 6, 8);
    EXPECT_EQ(PelmixRectCut(source.get(), "", "", 5, 2, 4, 3), nullptr);
    EXPECT_EQ(PelmixRectCut(source.get(), "", "", 2, 5, 4, 3), nullptr);
    EXPECT_EQ(PelmixRectCut(source.get(), "", "", 10, 0, 20, 5), nullptr);
    EXPECT_EQ(PelmixRectCut(source.get(), "", "", 0, 6, 9, 9), nullptr);
    EXPECT_EQ(PelmixRectCut(source.get(), "", "", -9, -9, -1, -1), nullptr);
    ImageHandle extreme(
        PelmixRectCut(source.get(), "", "", INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
    EXPECT_EQ(meanDifference(extreme.get(), source.get()), 0.0);
    EXPECT_EQ(PelmixRectCut(nullptr, "", "", 0, 0, 1, 1), nullptr);
}

TEST(Rotation, KeepsShortColourTables) {
    // Three table entries instead of 256: the result must still show the same colours.
    const std::vector<Colour> palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ImageHandle source =
        makeIndexedImage(5, 4, 8, palette, [](int x, int y) { return uint8_t((x + y) % 3); });
    ImageHandle turned(PelmixRotation(source.get(), "", "", PELMIX_ROTATE_RIGHT));
    ASSERT_TRUE(turned);
    EXPECT_EQ(pixelAt(turned.get(), 3, 4), pixelAt(source.get(), 4, 0));
    ImageHandle cut(PelmixRectCut(source.get(), "", "", 1, 1, 2, 2));
    ASSERT_TRUE(cut);
    EXPECT_EQ(pixelAt(cut.get(), 1, 0), (Colour{255, 0, 0})); // source (2, 1): index 0
}

TEST(Rotation, ReportsProgressWhenGivenACaption) {
    std::vector<int> percents;
    PelmixSetProgressHandler(
        [](void* context, const char*, const char*, int32_t percent) {
            static_cast<std::vector<int>*>(context)->push_back(percent);
        },
        &percents);
    ImageHandle source = makeLabels(24);
    ImageHandle turned(PelmixRotation(source.get(), "Rotate", "", PELMIX_ROTATE_LEFT));
    ImageHandle cut(PelmixRectCut(source.get(), "", "", 0, 0, 1, 1));
    PelmixSetProgressHandler(nullptr, nullptr);
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(percents.front(), 0);
    EXPECT_EQ(percents.back(), 100);
}

} // namespace
