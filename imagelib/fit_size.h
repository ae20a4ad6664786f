// The size a picture is reduced to for a box: the rule every reduced load follows.
#pragma once

#include <algorithm>
#include <cstdint>

namespace pelmix {

struct FitSize {
    int64_t width = 0;
    int64_t height = 0;
};

// The picture fitted into the box with its proportions kept, never enlarged. A box side of 0 or
// less means "whole".
inline FitSize fitInto(int64_t width, int64_t height, int64_t boxWidth, int64_t boxHeight) {
    if (boxWidth <= 0 || boxHeight <= 0 || (width <= boxWidth && height <= boxHeight)) {
        return {width, height};
    }
    if (width * boxHeight >= height * boxWidth) {
        return {boxWidth, std::max<int64_t>(1, (2 * height * boxWidth + width) / (2 * width))};
    }
    return {std::max<int64_t>(1, (2 * width * boxHeight + height) / (2 * height)), boxHeight};
}

} // namespace pelmix
