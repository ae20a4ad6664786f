// What the user set on a SANE device's options, remembered per device in the user's config
// folder ("orvana/devices/", one file a device) and put back when the device is opened again.
// A device is found by its SANE name; a network device whose host has another name now is found
// by its vendor, model and its name on that host. Each file is written whole (temporary file,
// flush, rename), so a kill leaves the old one or the new one.
#pragma once

#include "sane_option.h"

#include <QImage>
#include <QString>
#include <map>
#include <string>

namespace twaindsm {

class DeviceMemory {
public:
    struct Device {
        std::string name; // SANE's, e.g. "net:scanbox:epson2:libusb:001:004"
        std::string vendor;
        std::string model;
    };
    enum class Read { Nothing, Values, Damaged };

    // The folder of the files: the config folder's "orvana/devices/".
    static QString folder();

    explicit DeviceMemory(Device device);

    // Reads what was remembered; Damaged when a file is there but cannot be read as one, and
    // then nothing is remembered (the next write replaces it).
    Read read();
    const std::map<std::string, SaneValue>& values() const { return values_; }

    // Remembers value for the option and writes the file; false when it could not be written.
    bool remember(const std::string& option, const SaneValue& value);
    // Forgets an option the device no longer takes.
    bool forget(const std::string& option);
    // Forgets everything: the device's defaults from now on.
    bool clear();

    // The device's last preview, kept beside its values until the next one, with what it shows
    // (the area, as the caller names it). A picture of something else, or one that cannot be
    // read as a picture of ours, is none.
    bool keepPreview(const QImage& picture, const QString& shows) const;
    QImage keptPreview(const QString& shows) const;

private:
    QString path(const char* extension = ".json") const;
    bool write() const;

    Device device_;
    std::map<std::string, SaneValue> values_;
};

} // namespace twaindsm
