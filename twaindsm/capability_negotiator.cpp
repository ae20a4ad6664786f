#include "capability_negotiator.h"

#include "fix32.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace twaindsm {

namespace {

enum class Kind { Integer, Fixed, Boolean };
// What the source must have for the capability to be answered at all.
enum class Needs { Nothing, Feeder, Duplex };

struct CapInfo {
    TW_UINT16 cap;
    TW_UINT16 itemType; // what a get reports
    Kind kind;
    Needs needs;
    bool readOnly;
};

constexpr CapInfo capTable[] = {
    {CAP_XFERCOUNT, TWTY_INT16, Kind::Integer, Needs::Nothing, false},
    {ICAP_PIXELTYPE, TWTY_UINT16, Kind::Integer, Needs::Nothing, false},
    {ICAP_BITDEPTH, TWTY_UINT16, Kind::Integer, Needs::Nothing, false},
    {ICAP_UNITS, TWTY_UINT16, Kind::Integer, Needs::Nothing, false},
    {ICAP_XRESOLUTION, TWTY_FIX32, Kind::Fixed, Needs::Nothing, false},
    {ICAP_YRESOLUTION, TWTY_FIX32, Kind::Fixed, Needs::Nothing, false},
    {ICAP_AUTOBRIGHT, TWTY_BOOL, Kind::Boolean, Needs::Nothing, false},
    {ICAP_BRIGHTNESS, TWTY_FIX32, Kind::Fixed, Needs::Nothing, false},
    {ICAP_CONTRAST, TWTY_FIX32, Kind::Fixed, Needs::Nothing, false},
    {ICAP_GAMMA, TWTY_FIX32, Kind::Fixed, Needs::Nothing, false},
    {ICAP_HIGHLIGHT, TWTY_FIX32, Kind::Fixed, Needs::Nothing, false},
    {ICAP_SHADOW, TWTY_FIX32, Kind::Fixed, Needs::Nothing, false},
    {ICAP_THRESHOLD, TWTY_FIX32, Kind::Fixed, Needs::Nothing, false},
    {CAP_INDICATORS, TWTY_BOOL, Kind::Boolean, Needs::Nothing, false},
    {CAP_FEEDERENABLED, TWTY_BOOL, Kind::Boolean, Needs::Feeder, false},
    {CAP_FEEDERLOADED, TWTY_BOOL, Kind::Boolean, Needs::Feeder, true},
    {CAP_AUTOFEED, TWTY_BOOL, Kind::Boolean, Needs::Feeder, false},
    // Whether the source scans both sides is answered by every source.
    {CAP_DUPLEX, TWTY_UINT16, Kind::Integer, Needs::Nothing, true},
    {CAP_DUPLEXENABLED, TWTY_BOOL, Kind::Boolean, Needs::Duplex, false},
};

const CapInfo* lookup(TW_UINT16 cap) {
    for (const CapInfo& info : capTable) {
        if (info.cap == cap)
            return &info;
    }
    return nullptr;
}

bool isWhole(double v) {
    return std::floor(v) == v;
}
bool within(double v, double low, double high) {
    return v >= low && v <= high;
}

// Applications disagree on the exact item type (an unsigned count, a whole number as FIX32…),
// so any numeric type is read for its value; only text and frames are refused.
bool typeAccepted(Kind kind, TW_UINT16 itemType) {
    if (itemType <= TWTY_UINT32)
        return true;
    switch (kind) {
    case Kind::Integer:
        return itemType == TWTY_BOOL || itemType == TWTY_FIX32;
    case Kind::Fixed:
        return itemType == TWTY_FIX32;
    case Kind::Boolean:
        return itemType == TWTY_BOOL;
    }
    return false;
}

// The item is stored with the width of its type from the start of the Item field.
std::optional<double> readItem(const TW_ONEVALUE& value) {
    const auto* bytes =
        reinterpret_cast<const unsigned char*>(&value) + offsetof(TW_ONEVALUE, Item);
    switch (value.ItemType) {
    case TWTY_INT8:
        return static_cast<double>(static_cast<TW_INT8>(bytes[0]));
    case TWTY_UINT8:
        return static_cast<double>(bytes[0]);
    case TWTY_INT16: {
        TW_INT16 v;
        std::memcpy(&v, bytes, sizeof v);
        return v;
    }
    case TWTY_UINT16:
    case TWTY_BOOL: {
        TW_UINT16 v;
        std::memcpy(&v, bytes, sizeof v);
        return v;
    }
    case TWTY_INT32: {
        TW_INT32 v;
        std::memcpy(&v, bytes, sizeof v);
        return v;
    }
    case TWTY_UINT32: {
        TW_UINT32 v;
        std::memcpy(&v, bytes, sizeof v);
        return v;
    }
    case TWTY_FIX32: {
        TW_FIX32 v;
        std::memcpy(&v, bytes, sizeof v);
        return fromFix32(v);
    }
    default:
        return std::nullopt;
    }
}

void writeItem(TW_ONEVALUE& value, TW_UINT16 itemType, double v) {
    auto* bytes = reinterpret_cast<unsigned char*>(&value) + offsetof(TW_ONEVALUE, Item);
    value.ItemType = itemType;
    std::memset(bytes, 0, sizeof value.Item);
    if (itemType == TWTY_FIX32) {
        const TW_FIX32 fix = toFix32(v);
        std::memcpy(bytes, &fix, sizeof fix);
    } else if (itemType == TWTY_INT16) {
        const auto i = static_cast<TW_INT16>(v);
        std::memcpy(bytes, &i, sizeof i);
    } else { // TWTY_UINT16, TWTY_BOOL
        const auto u = static_cast<TW_UINT16>(v);
        std::memcpy(bytes, &u, sizeof u);
    }
}

double valueOf(TW_UINT16 cap, const ScanSettings& s, const SourceLimits& limits,
               bool feederLoaded) {
    switch (cap) {
    case CAP_XFERCOUNT:
        return s.xferCount;
    case ICAP_PIXELTYPE:
        return s.pixelType;
    case ICAP_BITDEPTH:
        return s.bitDepth;
    case ICAP_UNITS:
        return s.units;
    case ICAP_XRESOLUTION:
        return s.xResolution;
    case ICAP_YRESOLUTION:
        return s.yResolution;
    case ICAP_AUTOBRIGHT:
        return s.autoBright;
    case ICAP_BRIGHTNESS:
        return s.brightness;
    case ICAP_CONTRAST:
        return s.contrast;
    case ICAP_GAMMA:
        return s.gamma;
    case ICAP_HIGHLIGHT:
        return s.highlight;
    case ICAP_SHADOW:
        return s.shadow;
    case ICAP_THRESHOLD:
        return s.threshold;
    case CAP_INDICATORS:
        return s.indicators;
    case CAP_FEEDERENABLED:
        return s.feederEnabled;
    case CAP_FEEDERLOADED:
        return feederLoaded;
    case CAP_AUTOFEED:
        return s.autoFeed;
    case CAP_DUPLEX:
        return limits.hasDuplex ? TWDX_1PASSDUPLEX : TWDX_NONE;
    case CAP_DUPLEXENABLED:
        return s.duplexEnabled;
    }
    return 0;
}

TW_UINT16 depthFor(TW_UINT16 pixelType) {
    return pixelType == TWPT_BW ? 1 : 8;
}

// Stores v into the capability's setting; the condition code, TWCC_SUCCESS when stored.
TW_UINT16 assign(TW_UINT16 cap, double v, ScanSettings& s, const SourceLimits& limits) {
    const auto level = [&](double& field, double low, double high) -> TW_UINT16 {
        if (!within(v, low, high))
            return TWCC_BADVALUE;
        field = v;
        return TWCC_SUCCESS;
    };
    const auto flag = [&](bool& field) -> TW_UINT16 {
        field = v != 0;
        return TWCC_SUCCESS;
    };
    switch (cap) {
    case CAP_XFERCOUNT:
        // -1 (all pages) arrives as 65535 or 4294967295 when sent unsigned.
        if (v == -1 || v == 0xFFFF || v == 0xFFFFFFFF) {
            s.xferCount = -1;
            return TWCC_SUCCESS;
        }
        if (!isWhole(v) || !within(v, 1, 0x7FFF))
            return TWCC_BADVALUE;
        s.xferCount = static_cast<int>(v);
        return TWCC_SUCCESS;
    case ICAP_PIXELTYPE: {
        const auto& types = limits.pixelTypes;
        if (!isWhole(v) || std::find(types.begin(), types.end(), v) == types.end())
            return TWCC_BADVALUE;
        s.pixelType = static_cast<TW_UINT16>(v);
        s.bitDepth = depthFor(s.pixelType);
        return TWCC_SUCCESS;
    }
    case ICAP_BITDEPTH: {
        // Colour may be asked for as 24 bits per pixel; it is kept as 8 bits per sample.
        const bool fits = v == depthFor(s.pixelType) || (s.pixelType == TWPT_RGB && v == 24);
        if (!fits)
            return TWCC_BADVALUE;
        s.bitDepth = depthFor(s.pixelType);
        return TWCC_SUCCESS;
    }
    case ICAP_UNITS:
        // Frames and resolutions are kept in inches only.
        if (v != TWUN_INCHES)
            return TWCC_BADVALUE;
        s.units = TWUN_INCHES;
        return TWCC_SUCCESS;
    case ICAP_XRESOLUTION:
        return level(s.xResolution, limits.minResolution, limits.maxResolution);
    case ICAP_YRESOLUTION:
        return level(s.yResolution, limits.minResolution, limits.maxResolution);
    case ICAP_BRIGHTNESS:
        return level(s.brightness, -1000, 1000);
    case ICAP_CONTRAST:
        return level(s.contrast, -1000, 1000);
    case ICAP_GAMMA:
        if (v <= 0)
            return TWCC_BADVALUE;
        return level(s.gamma, 0, 10);
    case ICAP_HIGHLIGHT:
        return level(s.highlight, 0, 255);
    case ICAP_SHADOW:
        return level(s.shadow, 0, 255);
    case ICAP_THRESHOLD:
        return level(s.threshold, 0, 255);
    case ICAP_AUTOBRIGHT:
        return flag(s.autoBright);
    case CAP_INDICATORS:
        return flag(s.indicators);
    case CAP_FEEDERENABLED:
        return flag(s.feederEnabled);
    case CAP_AUTOFEED:
        return flag(s.autoFeed);
    case CAP_DUPLEXENABLED:
        return flag(s.duplexEnabled);
    }
    return TWCC_BADCAP;
}

void restore(TW_UINT16 cap, const ScanSettings& from, ScanSettings& to) {
    switch (cap) {
    case CAP_XFERCOUNT:
        to.xferCount = from.xferCount;
        break;
    case ICAP_PIXELTYPE:
        to.pixelType = from.pixelType;
        to.bitDepth = depthFor(to.pixelType);
        break;
    case ICAP_BITDEPTH:
        to.bitDepth = depthFor(to.pixelType);
        break;
    case ICAP_UNITS:
        to.units = from.units;
        break;
    case ICAP_XRESOLUTION:
        to.xResolution = from.xResolution;
        break;
    case ICAP_YRESOLUTION:
        to.yResolution = from.yResolution;
        break;
    case ICAP_AUTOBRIGHT:
        to.autoBright = from.autoBright;
        break;
    case ICAP_BRIGHTNESS:
        to.brightness = from.brightness;
        break;
    case ICAP_CONTRAST:
        to.contrast = from.contrast;
        break;
    case ICAP_GAMMA:
        to.gamma = from.gamma;
        break;
    case ICAP_HIGHLIGHT:
        to.highlight = from.highlight;
        break;
    case ICAP_SHADOW:
        to.shadow = from.shadow;
        break;
    case ICAP_THRESHOLD:
        to.threshold = from.threshold;
        break;
    case CAP_INDICATORS:
        to.indicators = from.indicators;
        break;
    case CAP_FEEDERENABLED:
        to.feederEnabled = from.feederEnabled;
        break;
    case CAP_AUTOFEED:
        to.autoFeed = from.autoFeed;
        break;
    case CAP_DUPLEXENABLED:
        to.duplexEnabled = from.duplexEnabled;
        break;
    }
}

} // namespace

TW_UINT16 CapabilityNegotiator::handle(TW_UINT16 msg, TW_CAPABILITY& capability,
                                       TW_UINT16& condition) {
    const CapInfo* info = lookup(capability.Cap);
    const SourceLimits& limits = source_.limits();
    if (!info || (info->needs == Needs::Feeder && !limits.hasFeeder) ||
        (info->needs == Needs::Duplex && !limits.hasDuplex)) {
        condition = TWCC_BADCAP;
        return TWRC_FAILURE;
    }
    switch (msg) {
    case MSG_GET:
    case MSG_GETCURRENT:
        return reply(capability, source_.settings(), condition);
    case MSG_GETDEFAULT:
        return reply(capability, defaults_, condition);
    case MSG_SET:
        return set(capability, condition);
    case MSG_RESET:
        restore(capability.Cap, defaults_, source_.settings());
        return reply(capability, source_.settings(), condition);
    }
    condition = TWCC_BADPROTOCOL;
    return TWRC_FAILURE;
}

TW_UINT16 CapabilityNegotiator::reply(TW_CAPABILITY& capability, const ScanSettings& from,
                                      TW_UINT16& condition) {
    const CapInfo* info = lookup(capability.Cap);
    HGLOBAL container = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
    void* block = container ? GlobalLock(container) : nullptr;
    if (!block) {
        if (container)
            GlobalFree(container);
        condition = TWCC_LOWMEMORY;
        return TWRC_FAILURE;
    }
    TW_ONEVALUE value{};
    writeItem(value, info->itemType,
              valueOf(capability.Cap, from, source_.limits(), source_.feederLoaded()));
    std::memcpy(block, &value, sizeof value);
    GlobalUnlock(container);
    capability.ConType = TWON_ONEVALUE;
    capability.hContainer = container;
    return TWRC_SUCCESS;
}

TW_UINT16 CapabilityNegotiator::set(TW_CAPABILITY& capability, TW_UINT16& condition) {
    const CapInfo* info = lookup(capability.Cap);
    if (info->readOnly) {
        condition = TWCC_BADCAP;
        return TWRC_FAILURE;
    }
    condition = TWCC_BADVALUE;
    if (capability.ConType != TWON_ONEVALUE || !capability.hContainer ||
        GlobalSize(capability.hContainer) < sizeof(TW_ONEVALUE))
        return TWRC_FAILURE;
    const void* block = GlobalLock(capability.hContainer);
    if (!block)
        return TWRC_FAILURE;
    TW_ONEVALUE value;
    std::memcpy(&value, block, sizeof value);
    GlobalUnlock(capability.hContainer);

    const std::optional<double> v = readItem(value);
    if (!v || !typeAccepted(info->kind, value.ItemType))
        return TWRC_FAILURE;
    condition = assign(capability.Cap, *v, source_.settings(), source_.limits());
    return condition == TWCC_SUCCESS ? TWRC_SUCCESS : TWRC_FAILURE;
}

} // namespace twaindsm
