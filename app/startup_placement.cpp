#include "startup_placement.h"

#include "usr_settings.h"

#include <algorithm>

namespace {

// The design size, cut to the screen where the screen is smaller, centred on it.
TwipsRect centred(TwipsSize screen, TwipsSize design) {
    const int32_t width = std::clamp(design.width, 1, std::max(1, screen.width));
    const int32_t height = std::clamp(design.height, 1, std::max(1, screen.height));
    return {screen.width / 2 - width / 2, screen.height / 2 - height / 2, width, height};
}

} // namespace

TwipsRect windowPlacement(const USR_SETTINGS& s, TwipsSize screen, TwipsSize design) {
    if (s.POSW == 0) {
        return centred(screen, design);
    }
    // Sums in 64 bits: stored values come from a file and may be anything an int32 holds.
    const int64_t right = int64_t{s.POSL} + s.POSW;
    const int64_t bottom = int64_t{s.POST} + s.POSH;
    const bool onScreen = s.POSL >= 0 && s.POST >= 0 && s.POSL <= screen.width &&
                          s.POST <= screen.height && right >= 0 && right <= screen.width &&
                          bottom >= 0 && bottom <= screen.height;
    if (!onScreen) {
        return centred(screen, design);
    }
    return {s.POSL, s.POST, s.POSW, s.POSH};
}
