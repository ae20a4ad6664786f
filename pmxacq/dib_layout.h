// Sizes of the parts of a packed DIB, worked out from its header with overflow checks.
#pragma once

#include "pelmix.h"

#include <cstdint>

namespace pmxacq {

struct DibLayout {
    bool valid = false;      // positive width and bit count, sizes that fit in memory
    uint64_t tableBytes = 0; // 4 bytes per colour-table entry
    uint64_t rowBytes = 0;   // one row, padded to a multiple of 4
    uint64_t rows = 0;       // |biHeight|: top-down DIBs have as many rows
    uint64_t pixelBytes = 0; // rowBytes x rows
    uint64_t totalBytes = 0; // header + table + rows

    static DibLayout of(const PELMIX_BITMAPINFOHEADER& header);
};

} // namespace pmxacq
