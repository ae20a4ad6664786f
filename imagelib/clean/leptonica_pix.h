// Leptonica's pictures (PIX) owned like any other handle, and the library's images turned into
// them and back. 1-bit images become 1-bit PIX (1 = black), grey palettes 8-bit grey, everything
// else 32-bit colour; the way back gives the same kinds, bottom-up, with the resolution kept.
#pragma once

#include "pelmix.h"

#include <leptonica/allheaders.h>
#include <memory>

namespace pelmix {

struct PixFree {
    void operator()(PIX* pix) const { pixDestroy(&pix); }
};
using OwnedPix = std::unique_ptr<PIX, PixFree>;

struct BoxFree {
    void operator()(BOX* box) const { boxDestroy(&box); }
};
using OwnedBox = std::unique_ptr<BOX, BoxFree>;

struct NumaFree {
    void operator()(NUMA* numa) const { numaDestroy(&numa); }
};
using OwnedNuma = std::unique_ptr<NUMA, NumaFree>;

// The image as a PIX; null for a handle that is not a well-formed image.
OwnedPix pixFromImage(HGLOBAL image);
// The PIX as an image of the library (a 1, 8 or 24-bit DIB); nullptr when it cannot be made.
HGLOBAL imageFromPix(PIX* pix);
// The picture in 8-bit grey, for finding things in it (a copy even when it is grey already).
OwnedPix greyOf(PIX* pix);

} // namespace pelmix
