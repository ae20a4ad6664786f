// Whether a scanned page holds nothing: paper, perhaps coloured, with scanner noise, dust,
// punch holes and the faint show-through of the other side, but no mark of its own.
#pragma once

#include "leptonica_pix.h"

namespace pelmix {

// sensitivity from 1 to 100: the higher, the fainter a mark that makes a page not blank. At 50, a
// mark must be about a fifth darker than the paper; show-through is rarely a tenth.
bool looksBlank(PIX* grey, int dpi, int sensitivity);

} // namespace pelmix
