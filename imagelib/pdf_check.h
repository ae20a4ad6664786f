// Whether a PDF file on disk is whole: it ends in its end-of-file marker, qpdf reads it without
// having to repair anything, and every object and every stream's data is where its cross-reference
// and its length say. A document cut short by a full volume or a kill is not, even where qpdf
// could rebuild most of it.
#pragma once

#include <cstdint>

namespace pelmix {

// The pages of the whole PDF file at path; -1 when it is not one (not a regular file included:
// a FIFO is never waited for).
int32_t wholePdfPages(const char* path);

} // namespace pelmix
