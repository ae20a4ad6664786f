// Colour reduction to 16 or 256 colours.
#pragma once

#include "dib.h"

namespace pelmix {

// A new 4- or 8-bit image of a 1/4/8/24-bit picture, with source's resolution; 0 on failure.
//   greyRamp: a fixed ramp of 2^bits greys chosen by luminance (16 greys are dithered when
//             dither is set);
//   otherwise: the optimal palette libimagequant finds, dithered when dither is set. Pictures
//             with no more colours than the palette holds come out exact.
HGLOBAL quantisedCopy(const DibView& source, uint16_t bits, bool dither, bool greyRamp);

} // namespace pelmix
