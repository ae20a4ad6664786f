// Reduces a picture that arrives row by row, keeping only one row of sums.
#pragma once

#include "dib.h"

#include <cstdint>
#include <vector>

namespace pelmix {

// Averages the block of source pixels that falls on each pixel of a smaller target image (every
// source pixel counts towards exactly one target pixel). The target is an 8-bit (one byte a
// pixel, grey) or 24-bit (blue, green, red) image no larger than the source in either direction;
// source rows carry the same pixel format.
class BoxReducer {
public:
    // Rows arrive in file order; bottomFirst says the first of them is the bottom of the picture.
    BoxReducer(HGLOBAL target, uint32_t sourceWidth, uint32_t sourceHeight, bool bottomFirst);
    BoxReducer(const BoxReducer&) = delete;
    BoxReducer& operator=(const BoxReducer&) = delete;

    bool valid() const { return valid_; }
    // The next source row, sourceWidth pixels.
    void addRow(const uint8_t* pixels);

private:
    void flush();

    DibView dib_;
    uint32_t channels_ = 0;
    uint32_t sourceHeight_ = 0;
    bool bottomFirst_ = false;
    bool valid_ = false;
    std::vector<uint32_t> column_;  // target column of each source column
    std::vector<uint32_t> columns_; // source columns per target column
    std::vector<uint64_t> sums_;    // of the target row being filled, per channel
    uint32_t sourceRow_ = 0;
    uint32_t targetRow_ = 0;
    uint32_t rowsIn_ = 0;
};

} // namespace pelmix
