#include "skew.h"

#include <cmath>
#include <numbers>

namespace pelmix {
namespace {

constexpr double kSweepRange = 15;        // degrees either way
constexpr double kSweepStep = 0.5;        // degrees between the sweep's angles
constexpr double kSearchPrecision = 0.01; // degrees, where the search stops
// Leptonica's confidence is the best score over the mean; below this the page has no lines.
constexpr double kLeastConfidence = 3.0;
// Text on white: a darker page is thresholded at its own mid-grey.
constexpr l_int32 kInkBelow = 140;

} // namespace

Skew findSkew(PIX* grey) {
    if (grey == nullptr || pixGetDepth(grey) != 8) {
        return {};
    }
    OwnedPix ink(pixThresholdToBinary(grey, kInkBelow));
    if (!ink) {
        return {};
    }
    // The sweep on a picture reduced four times (fast), the search on one reduced twice (still
    // sharp enough for a hundredth of a degree on a page of 300 dpi).
    l_float32 angle = 0;
    l_float32 confidence = 0;
    if (pixFindSkewSweepAndSearch(ink.get(), &angle, &confidence, 4, 2, kSweepRange, kSweepStep,
                                  kSearchPrecision) != 0 ||
        confidence < kLeastConfidence) {
        return {};
    }
    // Leptonica gives the turn that makes the lines level: the skew is the other way.
    return {true, -angle};
}

OwnedPix straighten(PIX* pix, double degrees) {
    if (pix == nullptr) {
        return nullptr;
    }
    // Area mapping keeps grey and colour smooth; a 1-bit page is turned by shears, which keep
    // it 1 bit.
    const l_int32 type = pixGetDepth(pix) == 1 ? L_ROTATE_SHEAR : L_ROTATE_AREA_MAP;
    const auto radians = static_cast<l_float32>(-degrees * std::numbers::pi / 180);
    return OwnedPix(pixRotate(pix, radians, type, L_BRING_IN_WHITE, 0, 0));
}

} // namespace pelmix
