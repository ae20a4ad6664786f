// Capability negotiation of the calls that run the source without its user interface. Each
// returns nothing when the source took the settings, else the result code the call ends with.
#pragma once

#include "pmxacq.h"
#include "session.h"

#include <cstdint>
#include <optional>

namespace pmxacq {

// One image with the record's pixel type, resolution (inches) and frame.
std::optional<int32_t> negotiateSingleImage(Session& session, const ScanInfo& info);

// The batch record's settings: indicators, feeder, transfer count and, with a resolution above
// 0, every image setting. A feeder the source will not set up ends the call with result 0.
std::optional<int32_t> negotiateBatch(Session& session, const ScanExecParam& param);

} // namespace pmxacq
