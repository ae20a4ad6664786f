// Page files: "<base>.<counter in at least three digits>", written as BMP.
#pragma once

#include "winport.h"

#include <cstddef>
#include <cstdint>

namespace pmxacq {

// Whether the base name leaves room for the dot, three digits and the terminator in a name
// buffer of capacity bytes.
bool baseNameFits(const char* baseName, size_t capacity);

// Forms the page file name into out (capacity bytes); false, with out emptied, when it does not
// fit.
bool formatPageFileName(char* out, size_t capacity, const char* baseName, int32_t counter);

// Sets biSizeImage to the size of the rows the header describes (row length x height).
void setImageSize(HGLOBAL image);

} // namespace pmxacq
