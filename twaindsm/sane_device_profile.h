// What a SANE device can do in TWAIN's terms, read from its options, and how the negotiated
// settings are put onto those options before a scan.
#pragma once

#include "scan_settings.h"

#include <set>
#include <string>
#include <vector>

namespace twaindsm {

class SaneDevice;

class SaneDeviceProfile {
public:
    // A profile for a device that could not be read: every pixel type but PALETTE, the default
    // resolution range and a letter-sized area, no feeder.
    SaneDeviceProfile();

    static SaneDeviceProfile read(const SaneDevice& device);

    const SourceLimits& limits() const { return limits_; }
    // Whether the device has a glass to lay a page on (a preview needs one).
    bool hasFlatbed() const { return !flatbed_.empty() || limits_.sources.empty(); }

    // Puts settings onto the device: source (feeder or flatbed), mode and depth for the pixel
    // type, resolution, the frame, and brightness, contrast and threshold where the device has
    // them. The resolution and frame the device settled on are written back into settings.
    // False when the device refuses the pixel type or the resolution.
    bool apply(SaneDevice& device, ScanSettings& settings) const;

    // The options apply() sets from the negotiated settings: the window offers them on its basic
    // page, not among the driver's other options.
    static std::set<std::string> negotiatedOptions();

    // The device's paper source for settings: the one chosen in the window while it agrees with
    // feederEnabled and duplexEnabled, else the duplex feeder, the (first simplex) feeder or the
    // flatbed they ask for. "" when the device has no choice.
    std::string sourceFor(const ScanSettings& settings) const;

    // Kinds of entries, as backends name them.
    enum class ModeKind { Other, Lineart, Gray, Color };
    static ModeKind modeKind(const std::string& mode);
    static bool feederEntry(const std::string& source);
    static bool duplexEntry(const std::string& source);
    static bool flatbedEntry(const std::string& source);

    // value (from..to) carried to the same place in (lo..hi).
    static double rescale(double value, double from, double to, double lo, double hi);

private:
    struct Mode {
        std::string name; // empty: the device has no mode option, leave it alone
        int depth = 0;    // 0: leave the depth alone
        bool offered = false;
    };
    const Mode& modeFor(TW_UINT16 pixelType) const;

    SourceLimits limits_;
    Mode bw_, gray_, color_;
    std::string flatbed_, feeder_, duplex_;
};

} // namespace twaindsm
