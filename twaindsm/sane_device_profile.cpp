#include "sane_device_profile.h"

#include "sane_device.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sane/saneopts.h>
#include <utility>

namespace twaindsm {

namespace {

constexpr double kMillimetresPerInch = 25.4;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool contains(const std::string& haystack, const char* needle) {
    return haystack.find(needle) != std::string::npos;
}

bool offersDepth(const std::vector<double>& depths, int depth) {
    return std::find(depths.begin(), depths.end(), static_cast<double>(depth)) != depths.end();
}

// 8 bits where the device offers it, else 16 (the reader keeps the high byte), else whatever
// the device does now.
int sampleDepth(const std::vector<double>& depths) {
    if (offersDepth(depths, 8)) {
        return 8;
    }
    return offersDepth(depths, 16) ? 16 : 0;
}

} // namespace

SaneDeviceProfile::SaneDeviceProfile() {
    limits_.pixelTypes = {TWPT_BW, TWPT_GRAY, TWPT_RGB};
    bw_.offered = gray_.offered = color_.offered = true;
    bw_.depth = 1;
}

SaneDeviceProfile::ModeKind SaneDeviceProfile::modeKind(const std::string& mode) {
    const std::string m = lower(mode);
    if (contains(m, "lineart") || contains(m, "line art") || contains(m, "binary") ||
        contains(m, "black & white") || contains(m, "black and white") || m == "bw" ||
        contains(m, "monochrome")) {
        return ModeKind::Lineart;
    }
    if (contains(m, "gray") || contains(m, "grey")) {
        return ModeKind::Gray;
    }
    if (contains(m, "color") || contains(m, "colour")) {
        return ModeKind::Color;
    }
    return ModeKind::Other;
}

bool SaneDeviceProfile::feederEntry(const std::string& source) {
    const std::string s = lower(source);
    return contains(s, "adf") || contains(s, "feeder") || contains(s, "automatic document");
}

bool SaneDeviceProfile::duplexEntry(const std::string& source) {
    return contains(lower(source), "duplex");
}

bool SaneDeviceProfile::flatbedEntry(const std::string& source) {
    const std::string s = lower(source);
    return contains(s, "flatbed") || contains(s, "platen") || contains(s, "normal");
}

double SaneDeviceProfile::rescale(double value, double from, double to, double lo, double hi) {
    if (to == from) {
        return lo;
    }
    const double t = std::clamp((value - from) / (to - from), 0.0, 1.0);
    return lo + t * (hi - lo);
}

SaneDeviceProfile SaneDeviceProfile::read(const SaneDevice& device) {
    SaneDeviceProfile p;
    const std::vector<std::string> modes = device.stringList(SANE_NAME_SCAN_MODE);
    const std::vector<double> depths = device.wordList(SANE_NAME_BIT_DEPTH);
    if (!modes.empty()) {
        p.bw_ = p.gray_ = p.color_ = Mode{};
        for (const std::string& mode : modes) {
            Mode* slot = nullptr;
            switch (modeKind(mode)) {
            case ModeKind::Lineart:
                slot = &p.bw_;
                break;
            case ModeKind::Gray:
                slot = &p.gray_;
                break;
            case ModeKind::Color:
                slot = &p.color_;
                break;
            case ModeKind::Other:
                break;
            }
            if (slot != nullptr && !slot->offered) {
                *slot = Mode{mode, 0, true};
            }
        }
        // The depth list belongs to the current mode; it is what a grey or colour scan offers
        // on the devices that expose one list for both.
        if (p.gray_.offered) {
            p.gray_.depth = sampleDepth(depths);
        }
        if (p.color_.offered) {
            p.color_.depth = sampleDepth(depths);
        }
        if (!p.bw_.offered && p.gray_.offered && offersDepth(depths, 1)) {
            p.bw_ = Mode{p.gray_.name, 1, true};
        }
    }
    p.limits_.pixelTypes.clear();
    if (p.bw_.offered) {
        p.limits_.pixelTypes.push_back(TWPT_BW);
    }
    if (p.gray_.offered) {
        p.limits_.pixelTypes.push_back(TWPT_GRAY);
    }
    if (p.color_.offered) {
        p.limits_.pixelTypes.push_back(TWPT_RGB);
    }
    if (p.limits_.pixelTypes.empty()) {
        // A mode list of names nobody could classify: scan in whatever the device does.
        p = SaneDeviceProfile();
        p.bw_.name = p.gray_.name = p.color_.name = "";
    }

    double lo = 0, hi = 0;
    if (device.numericBounds(SANE_NAME_SCAN_RESOLUTION, lo, hi) && lo > 0) {
        p.limits_.minResolution = lo;
        p.limits_.maxResolution = hi;
    }

    const SANE_Option_Descriptor* brx = device.option(SANE_NAME_SCAN_BR_X);
    const SANE_Option_Descriptor* bry = device.option(SANE_NAME_SCAN_BR_Y);
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    if (brx != nullptr && bry != nullptr && brx->unit == SANE_UNIT_MM &&
        bry->unit == SANE_UNIT_MM && device.numericBounds(SANE_NAME_SCAN_BR_X, xMin, xMax) &&
        device.numericBounds(SANE_NAME_SCAN_BR_Y, yMin, yMax) && xMax > 0 && yMax > 0) {
        p.limits_.scanArea = Frame{0, 0, xMax / kMillimetresPerInch, yMax / kMillimetresPerInch};
    }

    for (const auto& [name, adjustment] : {std::pair{SANE_NAME_BRIGHTNESS, &p.limits_.brightness},
                                           std::pair{SANE_NAME_CONTRAST, &p.limits_.contrast},
                                           std::pair{SANE_NAME_THRESHOLD, &p.limits_.threshold}}) {
        const SANE_Option_Descriptor* d = device.option(name);
        double lo = 0, hi = 0;
        if (d != nullptr && SANE_OPTION_IS_SETTABLE(d->cap) && device.numericBounds(name, lo, hi) &&
            lo < hi) {
            *adjustment = Adjustment{true, lo, hi, 0, d->type == SANE_TYPE_FIXED};
            if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range != nullptr) {
                adjustment->step = d->type == SANE_TYPE_FIXED
                                       ? SANE_UNFIX(d->constraint.range->quant)
                                       : double(d->constraint.range->quant);
            }
        }
    }
    p.limits_.sources = device.stringList(SANE_NAME_SCAN_SOURCE);
    for (const std::string& source : p.limits_.sources) {
        if (duplexEntry(source)) {
            if (p.duplex_.empty()) {
                p.duplex_ = source;
            }
        } else if (feederEntry(source)) {
            // The first simplex feeder for an application that asks for a feeder (the front
            // side where a driver lists the sides one by one).
            if (p.feeder_.empty()) {
                p.feeder_ = source;
            }
        } else if (p.flatbed_.empty() || (!flatbedEntry(p.flatbed_) && flatbedEntry(source))) {
            p.flatbed_ = source;
        }
    }
    // A driver that feeds both sides only is a feeder all the same.
    if (p.feeder_.empty()) {
        p.feeder_ = p.duplex_;
    }
    p.limits_.hasFeeder = !p.feeder_.empty();
    p.limits_.hasDuplex = !p.duplex_.empty();
    return p;
}

const SaneDeviceProfile::Mode& SaneDeviceProfile::modeFor(TW_UINT16 pixelType) const {
    switch (pixelType) {
    case TWPT_BW:
        return bw_;
    case TWPT_GRAY:
        return gray_;
    case TWPT_RGB:
        return color_;
    default: {
        static const Mode none;
        return none;
    }
    }
}

std::set<std::string> SaneDeviceProfile::negotiatedOptions() {
    return {SANE_NAME_SCAN_SOURCE,     SANE_NAME_SCAN_MODE,         SANE_NAME_BIT_DEPTH,
            SANE_NAME_SCAN_RESOLUTION, SANE_NAME_SCAN_X_RESOLUTION, SANE_NAME_SCAN_Y_RESOLUTION,
            SANE_NAME_SCAN_TL_X,       SANE_NAME_SCAN_TL_Y,         SANE_NAME_SCAN_BR_X,
            SANE_NAME_SCAN_BR_Y,       SANE_NAME_BRIGHTNESS,        SANE_NAME_CONTRAST,
            SANE_NAME_THRESHOLD,       SANE_NAME_PAGE_WIDTH,        SANE_NAME_PAGE_HEIGHT};
}

std::string SaneDeviceProfile::sourceFor(const ScanSettings& settings) const {
    const std::string& chosen = settings.sourceName;
    const bool listed =
        std::find(limits_.sources.begin(), limits_.sources.end(), chosen) != limits_.sources.end();
    const bool duplex = settings.feederEnabled && settings.duplexEnabled && !duplex_.empty();
    // The window's choice, unless an application has asked for another kind of source since.
    if (listed && duplexEntry(chosen) == duplex &&
        (duplexEntry(chosen) || feederEntry(chosen)) == settings.feederEnabled) {
        return chosen;
    }
    if (duplex) {
        return duplex_;
    }
    return settings.feederEnabled && !feeder_.empty() ? feeder_ : flatbed_;
}

bool SaneDeviceProfile::apply(SaneDevice& device, ScanSettings& settings) const {
    // The source first: a feeder may come with a scan area of its own. Then mode before depth and
    // resolution, whose choices can depend on the mode.
    const std::string source = sourceFor(settings);
    if (!source.empty()) {
        device.setString(SANE_NAME_SCAN_SOURCE, source);
    }
    const Mode& mode = modeFor(settings.pixelType);
    if (!mode.offered) {
        return false;
    }
    if (!mode.name.empty() && !device.setString(SANE_NAME_SCAN_MODE, mode.name)) {
        return false;
    }
    if (mode.depth != 0) {
        device.setNumber(SANE_NAME_BIT_DEPTH, mode.depth);
    }

    double x = settings.xResolution;
    double y = settings.yResolution;
    const char* xName = device.has(SANE_NAME_SCAN_RESOLUTION) ? SANE_NAME_SCAN_RESOLUTION
                                                              : SANE_NAME_SCAN_X_RESOLUTION;
    if (device.has(xName)) {
        if (!device.setNumber(xName, settings.xResolution, &x)) {
            return false;
        }
        y = x;
    }
    if (device.has(SANE_NAME_SCAN_Y_RESOLUTION)) {
        device.setNumber(SANE_NAME_SCAN_Y_RESOLUTION, settings.yResolution, &y);
    }
    settings.xResolution = x;
    settings.yResolution = y;

    // Top-left before bottom-right; devices clamp each corner to the area. Each edge keeps the
    // value the device settled on (its steps are often whole millimetres).
    Frame& f = settings.frame;
    const std::pair<const char*, double*> edges[] = {{SANE_NAME_SCAN_TL_X, &f.left},
                                                     {SANE_NAME_SCAN_TL_Y, &f.top},
                                                     {SANE_NAME_SCAN_BR_X, &f.right},
                                                     {SANE_NAME_SCAN_BR_Y, &f.bottom}};
    for (const auto& [name, edge] : edges) {
        const SANE_Option_Descriptor* d = device.option(name);
        if (d == nullptr || d->unit != SANE_UNIT_MM) {
            continue;
        }
        double settled = 0;
        if (device.setNumber(name, *edge * kMillimetresPerInch, &settled)) {
            *edge = settled / kMillimetresPerInch;
        }
    }

    // Sheet-fed drivers also want the paper's size, to find its edges on the way through.
    for (const auto& [name, size] : {std::pair{SANE_NAME_PAGE_WIDTH, f.right - f.left},
                                     std::pair{SANE_NAME_PAGE_HEIGHT, f.bottom - f.top}}) {
        const SANE_Option_Descriptor* d = device.option(name);
        if (d != nullptr && d->unit == SANE_UNIT_MM) {
            device.setNumber(name, size * kMillimetresPerInch);
        }
    }

    double lo = 0, hi = 0;
    if (device.numericBounds(SANE_NAME_BRIGHTNESS, lo, hi)) {
        device.setNumber(SANE_NAME_BRIGHTNESS, rescale(settings.brightness, -1000, 1000, lo, hi));
    }
    if (device.numericBounds(SANE_NAME_CONTRAST, lo, hi)) {
        device.setNumber(SANE_NAME_CONTRAST, rescale(settings.contrast, -1000, 1000, lo, hi));
    }
    if (settings.pixelType == TWPT_BW && device.numericBounds(SANE_NAME_THRESHOLD, lo, hi)) {
        device.setNumber(SANE_NAME_THRESHOLD, rescale(settings.threshold, 0, 255, lo, hi));
    }
    return true;
}

} // namespace twaindsm
