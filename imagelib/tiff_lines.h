// The rows of a TIFF's first image one after another, whether it is stored in strips or tiles.
#pragma once

#include "tiff_file.h"

#include <cstdint>
#include <memory>

namespace pelmix {

// Delivers the rows in file order as TIFFReadScanline lays them out (contiguous samples, packed,
// libtiff's native byte order for 16-bit samples). Holds one row of a striped file (libtiff
// decodes strips row by row) or one row of tiles of a tiled one.
class TiffLines {
public:
    TiffLines(TiffFile& file, uint32_t width, uint32_t height, uint32_t bitsPerPixel);
    TiffLines(const TiffLines&) = delete;
    TiffLines& operator=(const TiffLines&) = delete;

    bool valid() const { return valid_; }
    // The next row; nullptr on a read error or past the last row.
    const uint8_t* next();

private:
    bool readTileRow(uint32_t top);

    TiffFile& file_;
    uint32_t height_ = 0;
    uint32_t width_ = 0;
    uint32_t bitsPerPixel_ = 0;
    size_t lineBytes_ = 0;
    bool tiled_ = false;
    uint32_t tileWidth_ = 0;
    uint32_t tileLength_ = 0;
    size_t tileRowBytes_ = 0;
    std::unique_ptr<uint8_t[]> band_; // one row, or one row of tiles
    std::unique_ptr<uint8_t[]> tile_;
    uint32_t row_ = 0;
    bool valid_ = false;
};

} // namespace pelmix
