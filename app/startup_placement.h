// Where the main window opens: the rectangle stored at the last exit when it lies on the screen,
// else centred at the window's design size, cut to the screen where the screen is smaller.
// screen is the area windows may use (without panels and task bars); everything in twips,
// relative to that area's top left corner.
#pragma once

#include "twips.h"

#include <cstdint>

struct USR_SETTINGS;

struct TwipsRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct TwipsSize {
    int32_t width = 0;
    int32_t height = 0;
};

TwipsRect windowPlacement(const USR_SETTINGS& settings, TwipsSize screen, TwipsSize design);
