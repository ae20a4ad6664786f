// What a source scans with: the values the application negotiates through capabilities and the
// image layout, and the limits a source sets on them.
#pragma once

#include "twain_protocol.h"

#include <string>
#include <vector>

namespace twaindsm {

// A frame in inches from the top-left corner of the scan area.
struct Frame {
    double left = 0;
    double top = 0;
    double right = 8.5;
    double bottom = 11.0;
    bool operator==(const Frame&) const = default;
};

struct ScanSettings {
    TW_UINT16 pixelType = TWPT_RGB;
    TW_UINT16 bitDepth = 8; // bits per sample: 1 for TWPT_BW, 8 otherwise (RGB pages are 24-bit)
    TW_UINT16 units = TWUN_INCHES;
    double xResolution = 150;
    double yResolution = 150;
    Frame frame;
    int xferCount = -1; // pages the application wants; -1 all the source has
    bool feederEnabled = false;
    bool duplexEnabled = false; // both sides of each sheet, front first (a feeder's)
    // The device's own name of the paper source chosen in its window; it stands while it agrees
    // with feederEnabled and duplexEnabled, which an application may change.
    std::string sourceName;
    bool autoFeed = false;
    bool indicators = true;
    bool autoBright = false;
    double brightness = 0; // -1000..1000
    double contrast = 0;   // -1000..1000
    double threshold = 128;
    double gamma = 2.2;
    double highlight = 255;
    double shadow = 0;
};

// A picture adjustment the device offers, in its own unit and range.
struct Adjustment {
    bool offered = false;
    double min = 0;
    double max = 0;
    double step = 0;
    bool fixed = false; // a fixed-point value, not a whole number
};

struct SourceLimits {
    std::vector<TW_UINT16> pixelTypes{TWPT_BW, TWPT_GRAY, TWPT_RGB, TWPT_PALETTE};
    double minResolution = 50;
    double maxResolution = 1200;
    Frame scanArea; // the largest frame: the physical page size
    bool hasFeeder = false;
    bool hasDuplex = false;
    // The device's paper sources by its own names, in its order; empty when it has no choice.
    std::vector<std::string> sources;
    Adjustment brightness, contrast, threshold;
};

} // namespace twaindsm
