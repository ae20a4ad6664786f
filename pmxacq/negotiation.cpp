#include "negotiation.h"

#include "capability.h"
#include "image_layout.h"

namespace pmxacq {
namespace {

bool setUint16(Session& session, TW_UINT16 cap, int value) {
    return setCapabilityNumber(session, cap, TWTY_UINT16, static_cast<TW_UINT16>(value));
}

bool setBool(Session& session, TW_UINT16 cap, bool value) {
    return setCapabilityNumber(session, cap, TWTY_BOOL, value ? 1 : 0);
}

// Pixel type first, then units and both resolutions: the failures that end a call.
std::optional<int32_t> setUnitsAndResolution(Session& session, double resolution) {
    if (!setUint16(session, ICAP_UNITS, TWUN_INCHES) ||
        !setCapabilityFix32(session, ICAP_XRESOLUTION, resolution) ||
        !setCapabilityFix32(session, ICAP_YRESOLUTION, resolution)) {
        return session.failureResult(true);
    }
    return std::nullopt;
}

// Feeder on and feeding by itself; every step must succeed.
bool setUpFeeder(Session& session) {
    TW_BOOL value = 0;
    return getCapability(session, CAP_FEEDERENABLED, MSG_GET, &value, sizeof value) &&
           setBool(session, CAP_FEEDERENABLED, true) &&
           getCapability(session, CAP_FEEDERLOADED, MSG_GET, &value, sizeof value) &&
           setBool(session, CAP_AUTOFEED, true);
}

} // namespace

std::optional<int32_t> negotiateSingleImage(Session& session, const ScanInfo& info) {
    setBool(session, ICAP_AUTOBRIGHT, true);
    if (!setUint16(session, ICAP_PIXELTYPE, info.pixelType)) {
        return session.failureResult(true);
    }
    if (info.pixelType == PMXACQ_GRAY || info.pixelType == PMXACQ_PALETTE) {
        setUint16(session, ICAP_BITDEPTH, 8);
    }
    if (auto failed = setUnitsAndResolution(session, info.resolution)) {
        return failed;
    }
    ImageSettings frame;
    frame.left = info.frameLeft;
    frame.top = info.frameTop;
    frame.right = info.frameRight;
    frame.bottom = info.frameBottom;
    if (!setFrame(session, frame)) {
        return session.failureResult(true);
    }
    return std::nullopt;
}

std::optional<int32_t> negotiateBatch(Session& session, const ScanExecParam& param) {
    setBool(session, CAP_INDICATORS, param.indicators != 0);
    if (param.feeder == 1 && param.resolution != 0) {
        if (!setUpFeeder(session)) {
            return PMXACQ_OK;
        }
    }
    // With the feeder the source's own count stays: it feeds until the tray is empty.
    if (param.feeder == 0 && !setUint16(session, CAP_XFERCOUNT, 1)) {
        return PMXACQ_FAILED;
    }
    if (param.resolution <= 0) {
        return std::nullopt; // the source keeps its own image settings
    }
    setBool(session, ICAP_AUTOBRIGHT, true);
    if (!setUint16(session, ICAP_PIXELTYPE, param.pixelType)) {
        return session.failureResult(true);
    }
    setUint16(session, ICAP_BITDEPTH, param.bitDepth);
    if (param.pixelType == PMXACQ_BW) {
        setCapabilityFix32(session, ICAP_THRESHOLD, param.threshold);
    } else {
        if (param.pixelType != PMXACQ_GRAY) {
            setCapabilityFix32(session, ICAP_CONTRAST, param.contrast);
        }
        setCapabilityFix32(session, ICAP_BRIGHTNESS, param.brightness);
        setCapabilityFix32(session, ICAP_GAMMA, param.gamma);
        setCapabilityFix32(session, ICAP_HIGHLIGHT, param.highlight);
        setCapabilityFix32(session, ICAP_SHADOW, param.shadow);
    }
    return setUnitsAndResolution(session, param.resolution);
}

} // namespace pmxacq
