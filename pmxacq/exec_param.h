// Checking and correcting the batch record before a batch starts.
#pragma once

#include "pmxacq.h"

namespace pmxacq {

// Brings out-of-range settings into range, in the caller's record: a negative resolution becomes
// 0, the bit depth is made to suit the pixel type, brightness and contrast outside -1000..1000
// become 0, highlight, threshold and shadow outside 0..255 become 255, 128 and 0.
void correctExecParam(ScanExecParam& param);

// False for a mode other than 0..2 or a feeder flag other than 0 or 1.
bool execParamAccepted(const ScanExecParam& param);

} // namespace pmxacq
