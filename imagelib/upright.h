// Turning a decoded picture upright for display, by the TIFF/Exif Orientation value that says
// how its rows are stored (1 = top row first, left column first; 5 to 8 store it transposed).
#pragma once

#include "pelmix.h"

namespace pelmix {

// Orientations 5 to 8: the upright picture's width is the stored height.
inline bool sidesExchanged(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

// The picture the stored rows of image show when read as the orientation says: a new handle, the
// given one being released; image itself for orientation 1 and values outside 1 to 8; 0 when
// the turn fails (image released too).
HGLOBAL turnUpright(HGLOBAL image, int orientation);

} // namespace pelmix
