// How a TWAIN condition code becomes the result code of the records.
#pragma once

#include "twain_protocol.h"

#include <cstdint>

namespace pmxacq {

// read false: the condition could not be read at all (counts as any other failure).
int32_t resultForCondition(bool read, TW_UINT16 condition);

} // namespace pmxacq
