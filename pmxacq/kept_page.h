// Pages the acquisition folder refused. A scanned sheet cannot be scanned again for free, so a
// page whose page file could not be written is put somewhere safe instead of being dropped:
//   1. the folder named by ORVANA_KEPT_DIR, when that is set and not empty; otherwise
//      orvana/kept/ in the user's data folder (winport's baseFolder: $XDG_DATA_HOME when it is
//      an absolute path, else ~/.local/share), made with its parents, mode 0700, when missing;
//   2. if that cannot take it, the system's temporary folder ($TMPDIR, else /tmp).
// The page is written there as BMP under "ORVA_KEEP.<yyyyMMdd-hhmmss>.<process id>.<NNNN>.bmp"
// (local time of the write, the page's number in the call in four digits), which no acquisition
// run writes or renames; an existing file is never replaced, the name gets "-2", "-3", … before
// ".bmp" instead. The main program looks in the same folders for these names.
#pragma once

#include "winport.h"

#include <cstdint>
#include <string>

namespace pmxacq {

// Writes the page; the path written, or "" when no folder would take it.
std::string keepPage(HGLOBAL image, int32_t pageNumber);

} // namespace pmxacq
