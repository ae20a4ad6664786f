// Pieces shared by the pixel operations: owning image handles, reading any image as
// 1/4/8/24 bits, and making results that keep the source's resolution and colours.
#pragma once

#include "dib.h"

#include <memory>
#include <optional>

namespace pelmix {

// Read access to any valid image at 1, 4, 8 or 24 bits. 16- and 32-bit images are read through
// a temporary 24-bit copy; the others directly (DibView::row already hides the row order).
class SourceImage {
public:
    explicit SourceImage(HGLOBAL image);
    bool valid() const { return view_.has_value() && view_->valid(); }
    const DibView& view() const { return *view_; }

private:
    OwnedDib copy_;
    std::optional<DibView> view_; // after copy_, so the view unlocks before the copy is freed
};

// A new zero-filled bottom-up image with source's resolution and, when both have a palette,
// source's colour table. 0 on refusal.
HGLOBAL createDibFrom(const DibView& source, int32_t width, int32_t height, uint16_t bits);

// The colour of palette index i, black for indices beyond the table (malformed images).
inline Rgbq paletteColour(const DibView& dib, uint32_t index) {
    return index < dib.colourCount() ? dib.colours()[index] : Rgbq{0, 0, 0, 0};
}

// Row y (0 = top) of a 1/4/8/24-bit image as red, green, blue, 255 quadruples.
void readRowRgba(const DibView& dib, int32_t y, uint8_t* rgba);

} // namespace pelmix
