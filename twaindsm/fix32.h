// TWAIN's fixed-point numbers: a signed whole part and a fraction in 1/65536.
#pragma once

#include "twain_protocol.h"

#include <cmath>
#include <cstdint>

namespace twaindsm {

inline TW_FIX32 toFix32(double value) {
    // Rounded to the nearest 1/65536 and kept within what 16 whole bits can hold.
    double scaled = std::floor(value * 65536.0 + 0.5);
    if (scaled > 2147483647.0)
        scaled = 2147483647.0;
    if (scaled < -2147483648.0)
        scaled = -2147483648.0;
    const auto v = static_cast<int32_t>(scaled);
    TW_FIX32 fix;
    fix.Whole = static_cast<TW_INT16>(v >> 16);
    fix.Frac = static_cast<TW_UINT16>(v & 0xFFFF);
    return fix;
}

inline double fromFix32(TW_FIX32 fix) {
    return fix.Whole + fix.Frac / 65536.0;
}

} // namespace twaindsm
