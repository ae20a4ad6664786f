#include "picture_placement.h"

#include <algorithm>
#include <cmath>

namespace {

LONG tenth(double millimetres) {
    return static_cast<LONG>(std::nearbyint(millimetres * 10));
}

} // namespace

RECT PicturePlacement::tenths() const {
    return RECT{tenth(left), tenth(top), LONG(std::nearbyint(width * 10 + left * 10)),
                LONG(std::nearbyint(height * 10 + top * 10))};
}

QRect PicturePlacement::onPreview(double scale) const {
    return QRect(int(left * scale), int(top * scale), std::max(1, int(width * scale)),
                 std::max(1, int(height * scale)));
}
