#include "twips.h"

#include <cmath>

int twipsToPixels(int64_t twips, double dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

int32_t pixelsToTwips(int64_t pixels, double dpi) {
    if (dpi <= 0) {
        return 0;
    }
    return static_cast<int32_t>(std::lround(static_cast<double>(pixels) * 1440.0 / dpi));
}
