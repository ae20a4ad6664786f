#include "capability.h"

#include "session.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace pmxacq {
namespace {

// A one-value container: the item type, then the item (numbers in the first bytes).
constexpr size_t kItemOffset = offsetof(TW_ONEVALUE, Item);

} // namespace

TW_FIX32 toFix32(double x) {
    double scaled = x * 65536.0 + 0.5;
    // Out-of-range values saturate instead of overflowing the conversion.
    constexpr double low = std::numeric_limits<int32_t>::min();
    constexpr double high = std::numeric_limits<int32_t>::max();
    if (std::isnan(scaled)) {
        scaled = 0;
    }
    scaled = std::clamp(scaled, low, high);
    auto v = static_cast<int32_t>(scaled);
    TW_FIX32 fix;
    fix.Whole = static_cast<TW_INT16>(v >> 16);
    fix.Frac = static_cast<TW_UINT16>(static_cast<uint32_t>(v) & 0xFFFFu);
    return fix;
}

double fromFix32(TW_FIX32 value) {
    return value.Whole + value.Frac / 65536.0;
}

size_t itemWidth(TW_UINT16 itemType) {
    switch (itemType) {
    case TWTY_INT8:
    case TWTY_UINT8:
        return 1;
    case TWTY_INT16:
    case TWTY_UINT16:
    case TWTY_BOOL:
        return 2;
    case TWTY_INT32:
    case TWTY_UINT32:
    case TWTY_FIX32:
        return 4;
    case TWTY_STR32:
        return sizeof(TW_STR32);
    case TWTY_STR64:
        return sizeof(TW_STR64);
    case TWTY_STR128:
        return sizeof(TW_STR128);
    case TWTY_STR255:
        return sizeof(TW_STR255);
    default:
        return 0;
    }
}

static bool isText(TW_UINT16 itemType) {
    return itemType >= TWTY_STR32 && itemType <= TWTY_STR255;
}

bool setCapability(Session& session, TW_UINT16 cap, TW_UINT16 itemType, const void* value) {
    size_t width = itemWidth(itemType);
    // Text items need room beyond the four bytes of a numeric item.
    size_t bytes = std::max(sizeof(TW_ONEVALUE), kItemOffset + width);
    HGLOBAL container = GlobalAlloc(GHND, bytes);
    if (container == nullptr) {
        return false;
    }
    auto* block = static_cast<unsigned char*>(GlobalLock(container));
    if (block == nullptr) {
        GlobalFree(container);
        return false;
    }
    std::memcpy(block, &itemType, sizeof itemType);
    if (value != nullptr && width > 0) {
        if (isText(itemType)) {
            const char* text = static_cast<const char*>(value);
            std::memcpy(block + kItemOffset, text, strnlen(text, width - 1));
        } else {
            std::memcpy(block + kItemOffset, value, width);
        }
    }
    GlobalUnlock(container);

    TW_CAPABILITY capability{};
    capability.Cap = cap;
    capability.ConType = TWON_ONEVALUE;
    capability.hContainer = container;
    TW_UINT16 rc = session.call(true, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability);
    GlobalFree(container);
    return rc == TWRC_SUCCESS;
}

bool setCapabilityNumber(Session& session, TW_UINT16 cap, TW_UINT16 itemType, uint32_t value) {
    // The item's narrower widths take the low bytes, as the container is little-endian.
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    }
    return setCapability(session, cap, itemType, bytes);
}

bool setCapabilityFix32(Session& session, TW_UINT16 cap, double value) {
    TW_FIX32 fix = toFix32(value);
    return setCapability(session, cap, TWTY_FIX32, &fix);
}

bool getCapability(Session& session, TW_UINT16 cap, TW_UINT16 msg, void* buffer, size_t size) {
    TW_CAPABILITY capability{};
    capability.Cap = cap;
    capability.ConType = TWON_ONEVALUE;
    capability.hContainer = nullptr;
    if (session.call(true, DG_CONTROL, DAT_CAPABILITY, msg, &capability) != TWRC_SUCCESS ||
        capability.hContainer == nullptr) {
        return false;
    }
    HGLOBAL container = capability.hContainer;
    bool ok = false;
    size_t available = GlobalSize(container);
    if (auto* block = static_cast<const unsigned char*>(GlobalLock(container))) {
        if (available >= kItemOffset) {
            TW_UINT16 itemType;
            std::memcpy(&itemType, block, sizeof itemType);
            size_t width = std::min({itemWidth(itemType), available - kItemOffset, size});
            if (buffer != nullptr && width > 0) {
                std::memcpy(buffer, block + kItemOffset, width);
            }
            ok = true;
        }
        GlobalUnlock(container);
    }
    GlobalFree(container);
    return ok;
}

} // namespace pmxacq
