#include "exec_param.h"

namespace pmxacq {
namespace {

int16_t withinOr(int16_t value, int lowest, int highest, int16_t otherwise) {
    return value < lowest || value > highest ? otherwise : value;
}

int16_t correctedBitDepth(int16_t pixelType, int16_t bitDepth) {
    if (pixelType == PMXACQ_BW) {
        return 1;
    }
    if (bitDepth >= 24) {
        return 24;
    }
    if (bitDepth >= 9) {
        return pixelType == PMXACQ_GRAY || pixelType == PMXACQ_PALETTE ? 8 : 24;
    }
    return bitDepth;
}

} // namespace

void correctExecParam(ScanExecParam& param) {
    if (param.resolution < 0) {
        param.resolution = 0;
    }
    param.bitDepth = correctedBitDepth(param.pixelType, param.bitDepth);
    param.brightness = withinOr(param.brightness, -1000, 1000, 0);
    param.contrast = withinOr(param.contrast, -1000, 1000, 0);
    param.highlight = withinOr(param.highlight, 0, 255, 255);
    param.threshold = withinOr(param.threshold, 0, 255, 128);
    param.shadow = withinOr(param.shadow, 0, 255, 0);
}

bool execParamAccepted(const ScanExecParam& param) {
    return param.mode >= 0 && param.mode <= 2 && (param.feeder == 0 || param.feeder == 1);
}

} // namespace pmxacq
