#include "upright.h"

namespace pelmix {
namespace {

constexpr int32_t kNone = -1;

// The rotation steps, first to last, that bring stored rows upright.
struct Steps {
    int32_t first;
    int32_t second;
};

Steps stepsFor(int orientation) {
    switch (orientation) {
    case 2:
        return {PELMIX_MIRROR_LEFT_RIGHT, kNone};
    case 3:
        return {PELMIX_ROTATE_180, kNone};
    case 4:
        return {PELMIX_FLIP_TOP_BOTTOM, kNone};
    case 5: // transposed: the first stored row is the left column
        return {PELMIX_ROTATE_RIGHT, PELMIX_MIRROR_LEFT_RIGHT};
    case 6:
        return {PELMIX_ROTATE_RIGHT, kNone};
    case 7: // transposed the other way: the first stored row is the right column, bottom first
        return {PELMIX_ROTATE_LEFT, PELMIX_MIRROR_LEFT_RIGHT};
    case 8:
        return {PELMIX_ROTATE_LEFT, kNone};
    default:
        return {kNone, kNone};
    }
}

HGLOBAL step(HGLOBAL image, int32_t mode) {
    if (mode == kNone || image == nullptr) {
        return image;
    }
    HGLOBAL turned = PelmixRotation(image, nullptr, nullptr, mode);
    PelmixMemFree(image);
    return turned;
}

} // namespace

HGLOBAL turnUpright(HGLOBAL image, int orientation) {
    const Steps steps = stepsFor(orientation);
    return step(step(image, steps.first), steps.second);
}

} // namespace pelmix
