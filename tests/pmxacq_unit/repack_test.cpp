// The single image handed to the caller: unlocked, exact size, pixels intact, source block gone.
#include "image_repack.h"
#include "page_file.h"
#include "test_images.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace pmxacq;

namespace {

// A source's block: the image with slack bytes after the rows and biSizeImage left at 0.
HGLOBAL sourceBlock(HGLOBAL image, size_t slack) {
    SIZE_T size = GlobalSize(image);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size + slack);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    std::memcpy(bytes, GlobalLock(image), size);
    GlobalUnlock(image);
    std::memset(bytes + size, 0xEE, slack);
    PELMIX_BITMAPINFOHEADER header;
    std::memcpy(&header, bytes, sizeof header);
    header.biSizeImage = 0;
    std::memcpy(bytes, &header, sizeof header);
    GlobalUnlock(block);
    return block;
}

Colour pattern(int x, int y) {
    return Colour{uint8_t(x * 40), uint8_t(y * 60), uint8_t(x + y)};
}

} // namespace

TEST(Repack, LockedBlockComesBackUnlockedExactAndIntact) {
    ImageHandle original = makeRgbImage(5, 3, pattern); // 5 * 3 = 15 bytes, rows of 16
    HGLOBAL block = sourceBlock(original.get(), 37);
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(GlobalLock(block), nullptr);
    }
    ImageHandle repacked(repackImage(block));
    ASSERT_TRUE(repacked);
    EXPECT_NE(repacked.get(), block);
    EXPECT_EQ(GlobalFlags(block), GMEM_INVALID_HANDLE) << "the source's block was not freed";
    EXPECT_EQ(GlobalFlags(repacked.get()) & GMEM_LOCKCOUNT, 0u);
    EXPECT_EQ(GlobalSize(repacked.get()), 40u + 16u * 3u);
    EXPECT_EQ(headerOf(repacked.get()).biSizeImage, 16u * 3u);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(pixelAt(repacked.get(), x, y), pattern(x, y)) << x << "," << y;
        }
    }
}

TEST(Repack, ColourTableTravelsWithThePicture) {
    std::vector<Colour> palette = greyPalette(8);
    palette[7] = Colour{1, 2, 3};
    ImageHandle original =
        makeIndexedImage(3, 2, 8, palette, [](int x, int y) { return uint8_t(x + 5 * y); });
    ImageHandle repacked(repackImage(sourceBlock(original.get(), 4)));
    ASSERT_TRUE(repacked);
    EXPECT_EQ(GlobalSize(repacked.get()), 40u + 256u * 4u + 4u * 2u);
    EXPECT_EQ(indexAt(repacked.get(), 2, 1), 7);
    EXPECT_EQ(pixelAt(repacked.get(), 2, 1), (Colour{1, 2, 3}));
}

TEST(Repack, BlockShorterThanItsHeaderSaysIsReturnedAsItIs) {
    ImageHandle original = makeRgbImage(8, 8, pattern);
    PELMIX_BITMAPINFOHEADER header = headerOf(original.get());
    header.biHeight = 100000; // far more rows than the block holds
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof header + 64);
    std::memcpy(GlobalLock(block), &header, sizeof header);
    GlobalLock(block); // left locked by the source
    EXPECT_EQ(repackImage(block), block);
    EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 0u);
    GlobalFree(block);

    HGLOBAL tiny = GlobalAlloc(GHND, 10);
    EXPECT_EQ(repackImage(tiny), tiny);
    GlobalFree(tiny);
    EXPECT_EQ(repackImage(nullptr), nullptr);
}

TEST(Repack, TopDownRowsAreCountedByMagnitude) {
    ImageHandle original = makeRgbImage(4, 2, pattern);
    HGLOBAL block = sourceBlock(original.get(), 0);
    PELMIX_BITMAPINFOHEADER header = headerOf(block);
    header.biHeight = -2;
    std::memcpy(GlobalLock(block), &header, sizeof header);
    GlobalUnlock(block);
    ImageHandle repacked(repackImage(block));
    EXPECT_EQ(headerOf(repacked.get()).biSizeImage, 12u * 2u);
    EXPECT_EQ(GlobalSize(repacked.get()), 40u + 24u);
}

TEST(PageImageSize, SetInPlaceFromTheHeader) {
    ImageHandle original = makeRgbImage(5, 3, pattern);
    HGLOBAL block = sourceBlock(original.get(), 0);
    setImageSize(block);
    EXPECT_EQ(headerOf(block).biSizeImage, 16u * 3u);
    GlobalFree(block);
}
