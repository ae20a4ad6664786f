#include "tiff_rgba_rows.h"

#include <algorithm>
#include <new>

namespace pelmix {

namespace {

// A band never needs more than this, unless one row of tiles is larger.
constexpr uint64_t kBandBytes = uint64_t(32) << 20;

} // namespace

TiffRgbaRows::TiffRgbaRows(TiffFile& file, const Layout& layout)
    : file_(file), width_(layout.width), height_(layout.height) {
    TIFF* tif = file.get();
    char message[1024] = {};
    if (TIFFRGBAImageOK(tif, message) != 1 || TIFFRGBAImageBegin(&image_, tif, 1, message) != 1) {
        return;
    }
    begun_ = true;
    // libtiff mirrors the rows of a band; the bands themselves come in file order, so the rows
    // are asked for unflipped vertically (orientations 5 to 8 are read as 1 to 4, as libtiff does).
    switch (layout.orientation) {
    case ORIENTATION_BOTRIGHT:
    case ORIENTATION_BOTLEFT:
    case ORIENTATION_RIGHTBOT:
    case ORIENTATION_LEFTBOT:
        bottomFirst_ = true;
        break;
    default:
        break;
    }
    image_.req_orientation = bottomFirst_ ? ORIENTATION_BOTLEFT : ORIENTATION_TOPLEFT;
    uint32_t rows = 0;
    if (layout.tiled) {
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &rows);
    } else {
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rows);
        const uint64_t limit = std::max<uint64_t>(16, kBandBytes / 4 / width_ / 16 * 16);
        if (rows > limit) {
            rows = static_cast<uint32_t>(limit);
        }
    }
    bandRows_ = std::clamp<uint32_t>(rows, 1, height_);
    band_.reset(new (std::nothrow) uint32_t[size_t(bandRows_) * width_]);
    valid_ = band_ != nullptr;
}

TiffRgbaRows::~TiffRgbaRows() {
    if (begun_) {
        TIFFRGBAImageEnd(&image_);
    }
}

const uint32_t* TiffRgbaRows::next() {
    if (!valid_ || row_ >= height_) {
        return nullptr;
    }
    if (row_ >= bandTop_ + bandCount_) {
        bandTop_ = row_;
        bandCount_ = std::min(bandRows_, height_ - row_);
        image_.row_offset = static_cast<int>(bandTop_);
        image_.col_offset = 0;
        if (TIFFRGBAImageGet(&image_, band_.get(), width_, bandCount_) != 1 || file_.failed()) {
            valid_ = false;
            return nullptr;
        }
    }
    return band_.get() + size_t(row_++ - bandTop_) * width_;
}

} // namespace pelmix
