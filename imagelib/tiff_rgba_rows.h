// Rows of any TIFF libtiff's RGBA reader understands, a band of rows at a time.
#pragma once

#include "tiff_file.h"
#include "tiff_layout.h"

#include <cstdint>
#include <memory>

namespace pelmix {

// Delivers the picture's rows in file order as packed ABGR pixels (libtiff's TIFFGetR … with
// the colour premultiplied by alpha). Decodes one strip or one row of tiles at a time (fewer rows
// of an overly tall strip), so memory stays at one band whatever the picture's height.
class TiffRgbaRows {
public:
    TiffRgbaRows(TiffFile& file, const Layout& layout);
    ~TiffRgbaRows();
    TiffRgbaRows(const TiffRgbaRows&) = delete;
    TiffRgbaRows& operator=(const TiffRgbaRows&) = delete;

    bool valid() const { return valid_; }
    // Whether the first row in file order is the bottom of the picture.
    bool bottomFirst() const { return bottomFirst_; }
    // The next row; nullptr on a read error or past the last row.
    const uint32_t* next();

private:
    TiffFile& file_;
    TIFFRGBAImage image_{};
    bool begun_ = false;
    bool valid_ = false;
    bool bottomFirst_ = false;
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    uint32_t bandRows_ = 0;
    std::unique_ptr<uint32_t[]> band_;
    uint32_t bandTop_ = 0;
    uint32_t bandCount_ = 0;
    uint32_t row_ = 0;
};

// A premultiplied ABGR pixel composed on white.
inline void abgrOnWhite(uint32_t pixel, uint8_t* bgr) {
    const uint32_t clear = 255 - TIFFGetA(pixel);
    const auto put = [clear](uint32_t value) {
        return static_cast<uint8_t>(value + clear > 255 ? 255 : value + clear);
    };
    bgr[0] = put(TIFFGetB(pixel));
    bgr[1] = put(TIFFGetG(pixel));
    bgr[2] = put(TIFFGetR(pixel));
}

} // namespace pelmix
