// The paper inside a dark frame: what a scanner's lid leaves around a sheet smaller than the
// glass, or a black backing behind a feeder's page.
#pragma once

#include "leptonica_pix.h"

namespace pelmix {

// The paper's rectangle in grey (8-bit); null when no side of the picture has a dark band, so
// nothing is to be cut.
OwnedBox paperInsideDarkFrame(PIX* grey);

} // namespace pelmix
