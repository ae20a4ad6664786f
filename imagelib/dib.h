// Packed DIBs in global-memory handles: the one place that knows their layout.
#pragma once

#include "pelmix.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pelmix {

struct Rgbq {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    uint8_t reserved;
};
static_assert(sizeof(Rgbq) == 4);
static_assert(sizeof(PELMIX_BITMAPINFOHEADER) == 40);

constexpr uint32_t kHeaderSize = 40;

// Bytes of one row, padded to 4; 0 when the result would not fit in 32 bits.
uint64_t rowBytes(uint32_t bitCount, uint64_t width);

// Whether width x height is an image size this library accepts (positive, within the limits).
bool sizeAllowed(int64_t width, int64_t height);

// Colour-table entries that follow a header (as DibNumColors).
uint32_t colourEntries(const PELMIX_BITMAPINFOHEADER& header);

// An image handle that is released when it goes out of scope, unless released first.
struct DibFree {
    void operator()(void* handle) const {
        if (handle != nullptr) {
            GlobalFree(handle);
        }
    }
};
using OwnedDib = std::unique_ptr<void, DibFree>;

// Allocates a zero-filled image of 1, 4, 8 or 24 bits, bottom-up, with biSizeImage set and, for
// palette depths, 2^bits colour-table entries (all zero: callers fill them). 0 on refusal.
HGLOBAL createDib(int32_t width, int32_t height, uint16_t bitCount);

// A locked, checked view of an image handle. The header is checked against the block's size:
// a view of anything that is not a well-formed DIB (bad handle, freed handle, short block,
// impossible sizes, unknown compression) is !valid(). Unlocks on destruction.
class DibView {
public:
    explicit DibView(HGLOBAL handle);
    ~DibView();
    DibView(const DibView&) = delete;
    DibView& operator=(const DibView&) = delete;

    bool valid() const { return base_ != nullptr; }
    HGLOBAL handle() const { return handle_; }

    PELMIX_BITMAPINFOHEADER& header() const {
        return *reinterpret_cast<PELMIX_BITMAPINFOHEADER*>(base_);
    }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    uint16_t bitCount() const { return header().biBitCount; }
    uint32_t stride() const { return stride_; }

    // The colour table (colourCount() entries; for BI_BITFIELDS the three masks).
    Rgbq* colours() const { return reinterpret_cast<Rgbq*>(base_ + kHeaderSize); }
    uint32_t colourCount() const { return colourCount_; }

    // Row y counted from the top of the picture as seen (0 = top), whatever the row order.
    uint8_t* row(int32_t y) const {
        return bits_ + static_cast<size_t>(bottomUp_ ? height_ - 1 - y : y) * stride_;
    }
    uint8_t* pixels() const { return bits_; }
    bool bottomUp() const { return bottomUp_; }

    // The three channel masks of a 16- or 32-bit image (defaults for BI_RGB).
    void masks(uint32_t& red, uint32_t& green, uint32_t& blue) const;

private:
    HGLOBAL handle_ = nullptr;
    uint8_t* base_ = nullptr;
    uint8_t* bits_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
    uint32_t stride_ = 0;
    uint32_t colourCount_ = 0;
    bool bottomUp_ = true;
};

// Whether every colour-table entry has red = green = blue.
bool greyPalette(const Rgbq* colours, uint32_t count);

// IMAGE_INFO.COLOR_TYPE of a valid view.
int32_t colourType(const DibView& dib);

// Palette index of pixel x in a row of 1, 4 or 8 bits.
inline uint8_t indexAt(const uint8_t* row, int32_t x, uint16_t bits) {
    switch (bits) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default:
        return row[x];
    }
}

inline void setIndexAt(uint8_t* row, int32_t x, uint16_t bits, uint8_t value) {
    switch (bits) {
    case 1: {
        const uint8_t mask = static_cast<uint8_t>(0x80 >> (x & 7));
        row[x >> 3] = value & 1 ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask);
        break;
    }
    case 4:
        row[x >> 1] = (x & 1) ? static_cast<uint8_t>((row[x >> 1] & 0xF0) | (value & 0x0F))
                              : static_cast<uint8_t>((row[x >> 1] & 0x0F) | (value << 4));
        break;
    default:
        row[x] = value;
    }
}

// A new bottom-up BI_RGB image of 1, 4, 8 or 24 bits with the same pixels: 16- and 32-bit
// images (BI_RGB or BI_BITFIELDS) become 24 bits, top-down images are turned bottom-up, others
// are copied. 0 for a bad handle.
HGLOBAL normalizedCopy(HGLOBAL image);

// Moves the contents of source into target (resizing target's block) and frees source, so an
// in-place operation keeps the caller's handle. On failure both are left as they were.
bool replaceContents(HGLOBAL target, HGLOBAL source);

// Copies the resolution of one header to another.
void copyResolution(const PELMIX_BITMAPINFOHEADER& from, PELMIX_BITMAPINFOHEADER& to);

} // namespace pelmix
