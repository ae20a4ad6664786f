// The skew of a page of text or lines, and the page turned straight.
#pragma once

#include "leptonica_pix.h"

namespace pelmix {

struct Skew {
    bool found = false; // false: too little text or too few lines to tell
    double degrees = 0; // positive: the lines fall to the right, as seen
};

// The skew within plus or minus 15 degrees of grey (8-bit).
Skew findSkew(PIX* grey);

// pix turned back by a skew of degrees, the same size, the corners brought in white.
OwnedPix straighten(PIX* pix, double degrees);

} // namespace pelmix
