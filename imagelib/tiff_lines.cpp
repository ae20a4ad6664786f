#include "tiff_lines.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace pelmix {

namespace {

// Larger tiles go to libtiff's RGBA reader, which refuses them itself.
constexpr tmsize_t kMaxTileBytes = tmsize_t(64) << 20;

} // namespace

TiffLines::TiffLines(TiffFile& file, uint32_t width, uint32_t height, uint32_t bitsPerPixel)
    : file_(file), height_(height), width_(width), bitsPerPixel_(bitsPerPixel) {
    TIFF* tif = file.get();
    const tmsize_t lineSize = TIFFScanlineSize(tif);
    const uint64_t minimum = (uint64_t(width) * bitsPerPixel + 7) / 8;
    if (lineSize <= 0 || static_cast<uint64_t>(lineSize) < minimum) {
        return;
    }
    lineBytes_ = static_cast<size_t>(lineSize);
    tiled_ = TIFFIsTiled(tif) != 0;
    size_t bandRows = 1;
    if (tiled_) {
        const tmsize_t tileSize = TIFFTileSize(tif);
        const tmsize_t tileRow = TIFFTileRowSize(tif);
        if (TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth_) != 1 ||
            TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileLength_) != 1 || tileWidth_ == 0 ||
            tileLength_ == 0 || tileWidth_ % 8 != 0 || tileSize <= 0 || tileSize > kMaxTileBytes ||
            tileRow <= 0 || uint64_t(tileRow) * tileLength_ > uint64_t(tileSize)) {
            return;
        }
        tileRowBytes_ = static_cast<size_t>(tileRow);
        bandRows = std::min(tileLength_, height);
        tile_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(tileSize)]);
        if (!tile_) {
            return;
        }
    }
    band_.reset(new (std::nothrow) uint8_t[bandRows * lineBytes_]);
    valid_ = band_ != nullptr;
}

bool TiffLines::readTileRow(uint32_t top) {
    TIFF* tif = file_.get();
    const uint32_t rows = std::min(tileLength_, height_ - top);
    for (uint32_t left = 0; left < width_; left += tileWidth_) {
        if (TIFFReadTile(tif, tile_.get(), left, top, 0, 0) < 0 || file_.failed()) {
            return false;
        }
        // Tile widths are multiples of 16 pixels, so every tile starts on a byte.
        const size_t offset = static_cast<size_t>(uint64_t(left) * bitsPerPixel_ / 8);
        const size_t bytes = std::min(tileRowBytes_, lineBytes_ - offset);
        for (uint32_t r = 0; r < rows; ++r) {
            std::memcpy(band_.get() + r * lineBytes_ + offset, tile_.get() + r * tileRowBytes_,
                        bytes);
        }
    }
    return true;
}

const uint8_t* TiffLines::next() {
    if (!valid_ || row_ >= height_) {
        return nullptr;
    }
    const uint32_t y = row_++;
    if (!tiled_) {
        if (TIFFReadScanline(file_.get(), band_.get(), y, 0) < 0 || file_.failed()) {
            return nullptr;
        }
        return band_.get();
    }
    const uint32_t inTile = y % tileLength_;
    if (inTile == 0 && !readTileRow(y)) {
        valid_ = false;
        return nullptr;
    }
    return band_.get() + inTile * lineBytes_;
}

} // namespace pelmix
