// Capability negotiation in one-value containers, and TWAIN's fixed-point numbers.
#pragma once

#include "twain_protocol.h"

#include <cstddef>
#include <cstdint>

namespace pmxacq {

class Session;

// x * 65536 + 0.5, truncated to 32 bits: Whole is the upper half, Frac the lower.
TW_FIX32 toFix32(double x);
double fromFix32(TW_FIX32 value);

// Bytes an item of the type takes in a container: 1, 2 or 4 for numbers, the text size for the
// string types, 0 for anything else.
size_t itemWidth(TW_UINT16 itemType);

// MSG_SET with a one-value container holding value, copied with the width of itemType (for the
// string types value is text). True on TWRC_SUCCESS.
bool setCapability(Session& session, TW_UINT16 cap, TW_UINT16 itemType, const void* value);
bool setCapabilityNumber(Session& session, TW_UINT16 cap, TW_UINT16 itemType, uint32_t value);
bool setCapabilityFix32(Session& session, TW_UINT16 cap, double value);

// MSG_GET or MSG_GETCURRENT: copies the container's item, with the width of the item type found
// there and at most size bytes, into buffer; frees the container. True on TWRC_SUCCESS with a
// readable one-value container.
bool getCapability(Session& session, TW_UINT16 cap, TW_UINT16 msg, void* buffer, size_t size);

} // namespace pmxacq
