// Frames built byte by byte, as a device would send them, turned into images.
#include "dib.h"
#include "sane_frame_reader.h"
#include "test_images.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using twaindsm::SaneFrameReader;

namespace {

SANE_Parameters frame(SANE_Frame format, int depth, int width, int lines, int bytesPerLine) {
    SANE_Parameters p{};
    p.format = format;
    p.last_frame = SANE_TRUE;
    p.depth = depth;
    p.pixels_per_line = width;
    p.lines = lines;
    p.bytes_per_line = bytesPerLine;
    return p;
}

ImageHandle read(SaneFrameReader& reader, const std::vector<uint8_t>& bytes, size_t chunk = 7) {
    for (size_t at = 0; at < bytes.size(); at += chunk) {
        EXPECT_TRUE(reader.append(bytes.data() + at, std::min(chunk, bytes.size() - at)));
    }
    return ImageHandle(reader.finish());
}

} // namespace

TEST(SaneFrameReader, OneBitFramesBecomeBlackAndWhiteWithSetBitsBlack) {
    // 10 pixels a line: the second byte carries two pixels and six padding bits.
    SaneFrameReader reader;
    ASSERT_TRUE(reader.begin(frame(SANE_FRAME_GRAY, 1, 10, 2, 2), 100, 100));
    const ImageHandle image = read(reader, {0x80, 0x40, 0x00, 0x40}, 1);
    ASSERT_TRUE(image);
    const IMAGE_INFO info = infoOf(image.get());
    EXPECT_EQ(info.WIDTH, 10);
    EXPECT_EQ(info.HEIGHT, 2);
    EXPECT_EQ(info.BIT_COUNT, 1);
    EXPECT_EQ(pixelAt(image.get(), 0, 0), (Colour{0, 0, 0}));
    EXPECT_EQ(pixelAt(image.get(), 1, 0), (Colour{255, 255, 255}));
    EXPECT_EQ(pixelAt(image.get(), 9, 0), (Colour{0, 0, 0}));
    EXPECT_EQ(pixelAt(image.get(), 0, 1), (Colour{255, 255, 255}));
    EXPECT_EQ(pixelAt(image.get(), 8, 1), (Colour{255, 255, 255}));
    EXPECT_EQ(pixelAt(image.get(), 9, 1), (Colour{0, 0, 0}));
    // The bits beyond the width stay clear, whatever the device sent there.
    pelmix::DibView view(image.get());
    EXPECT_EQ(view.row(1)[1] & 0x3F, 0);
}

TEST(SaneFrameReader, GreyAndSixteenBitSamplesBecomeEightBitGrey) {
    SaneFrameReader reader;
    ASSERT_TRUE(reader.begin(frame(SANE_FRAME_GRAY, 8, 3, 1, 3), 200, 200));
    ImageHandle grey = read(reader, {0, 128, 255});
    ASSERT_TRUE(grey);
    EXPECT_EQ(infoOf(grey.get()).BIT_COUNT, 8);
    EXPECT_EQ(indexAt(grey.get(), 1, 0), 128);
    EXPECT_EQ(pixelAt(grey.get(), 1, 0), (Colour{128, 128, 128}));
    EXPECT_EQ(pixelAt(grey.get(), 2, 0), (Colour{255, 255, 255}));
    pelmix::DibView view(grey.get());
    EXPECT_EQ(view.header().biXPelsPerMeter, 7874); // 200 dpi

    // 16-bit samples arrive in the host's byte order; the high byte counts.
    const uint16_t samples[2] = {0x12FF, 0xAB01};
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), samples, 4);
    ASSERT_TRUE(reader.begin(frame(SANE_FRAME_GRAY, 16, 2, 1, 4), 100, 100));
    ImageHandle deep = read(reader, bytes);
    ASSERT_TRUE(deep);
    EXPECT_EQ(indexAt(deep.get(), 0, 0), 0x12);
    EXPECT_EQ(indexAt(deep.get(), 1, 0), 0xAB);
}

TEST(SaneFrameReader, RgbFramesBecomeTwentyFourBitsInImageOrder) {
    SaneFrameReader reader;
    // Two lines of two pixels with two bytes of padding (pixels the device lost) on each line.
    ASSERT_TRUE(reader.begin(frame(SANE_FRAME_RGB, 8, 2, 2, 8), 100, 100));
    const ImageHandle image =
        read(reader, {255, 0, 0, 0, 255, 0, 9, 9, 0, 0, 255, 10, 20, 30, 9, 9}, 3);
    ASSERT_TRUE(image);
    EXPECT_EQ(infoOf(image.get()).BIT_COUNT, 24);
    EXPECT_EQ(pixelAt(image.get(), 0, 0), (Colour{255, 0, 0}));
    EXPECT_EQ(pixelAt(image.get(), 1, 0), (Colour{0, 255, 0}));
    EXPECT_EQ(pixelAt(image.get(), 0, 1), (Colour{0, 0, 255}));
    EXPECT_EQ(pixelAt(image.get(), 1, 1), (Colour{10, 20, 30}));

    const uint16_t deep[3] = {0xFF00, 0x8000, 0x0100};
    std::vector<uint8_t> bytes(6);
    std::memcpy(bytes.data(), deep, 6);
    ASSERT_TRUE(reader.begin(frame(SANE_FRAME_RGB, 16, 1, 1, 6), 100, 100));
    const ImageHandle wide = read(reader, bytes);
    ASSERT_TRUE(wide);
    EXPECT_EQ(pixelAt(wide.get(), 0, 0), (Colour{255, 128, 1}));
}

TEST(SaneFrameReader, UnknownHeightGrowsWithTheLinesAndDropsAPartialOne) {
    SaneFrameReader reader;
    ASSERT_TRUE(reader.begin(frame(SANE_FRAME_GRAY, 8, 4, -1, 4), 100, 100));
    EXPECT_EQ(reader.bytesExpected(), 0u);
    std::vector<uint8_t> bytes(4 * 5 + 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i);
    }
    const ImageHandle image = read(reader, bytes, 5);
    ASSERT_TRUE(image);
    EXPECT_EQ(infoOf(image.get()).HEIGHT, 5);
    EXPECT_EQ(indexAt(image.get(), 0, 0), 0);
    EXPECT_EQ(indexAt(image.get(), 3, 4), 19);
    EXPECT_EQ(reader.bytesReceived(), bytes.size());
}

TEST(SaneFrameReader, AShortFrameKeepsTheLinesThatCame) {
    SaneFrameReader reader;
    ASSERT_TRUE(reader.begin(frame(SANE_FRAME_GRAY, 8, 2, 10, 2), 100, 100));
    EXPECT_EQ(reader.bytesExpected(), 20u);
    const ImageHandle image = read(reader, {1, 2, 3, 4, 5});
    ASSERT_TRUE(image);
    EXPECT_EQ(infoOf(image.get()).HEIGHT, 2);

    // Not a single line: no image.
    ASSERT_TRUE(reader.begin(frame(SANE_FRAME_GRAY, 8, 4, 10, 4), 100, 100));
    EXPECT_FALSE(read(reader, {1, 2, 3}));
}

TEST(SaneFrameReader, RefusesFramesItCannotHoldOrThatOverflow) {
    SaneFrameReader reader;
    // Separate colour planes, odd depths, one-bit colour.
    EXPECT_FALSE(reader.begin(frame(SANE_FRAME_RED, 8, 4, 4, 4), 100, 100));
    EXPECT_FALSE(reader.begin(frame(SANE_FRAME_GRAY, 4, 4, 4, 2), 100, 100));
    EXPECT_FALSE(reader.begin(frame(SANE_FRAME_RGB, 1, 8, 4, 3), 100, 100));
    // Lines shorter than their pixels, absurd padding, impossible sizes: refused before any
    // allocation.
    EXPECT_FALSE(reader.begin(frame(SANE_FRAME_RGB, 8, 4, 4, 11), 100, 100));
    EXPECT_FALSE(reader.begin(frame(SANE_FRAME_GRAY, 8, 4, 4, 1 << 30), 100, 100));
    EXPECT_FALSE(reader.begin(frame(SANE_FRAME_GRAY, 8, 0, 4, 4), 100, 100));
    EXPECT_FALSE(reader.begin(frame(SANE_FRAME_GRAY, 8, 1 << 30, 1 << 30, 1 << 30), 100, 100));
    EXPECT_FALSE(reader.begin(frame(SANE_FRAME_GRAY, 8, 4, -5, 4), 100, 100));
    const uint8_t byte = 0;
    EXPECT_FALSE(reader.append(&byte, 1));
    EXPECT_EQ(reader.finish(), nullptr);

    // More bytes than the frame announced.
    ASSERT_TRUE(reader.begin(frame(SANE_FRAME_GRAY, 8, 2, 1, 2), 100, 100));
    const uint8_t three[3] = {1, 2, 3};
    EXPECT_FALSE(reader.append(three, 3));
    ImageHandle(reader.finish());
}
