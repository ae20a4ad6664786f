// A source for one SANE device. The device is opened at open(); a batch is read by a
// SaneScanJob on its own thread while the application's thread transfers the pages.
#pragma once

#include "sane_device_profile.h"
#include "sane_option.h"
#include "source.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <string>

namespace twaindsm {

class SaneDevice;
class SaneLibrary;
class SaneScanJob;
class SaneSourceWindow;

class SaneSource : public Source {
public:
    struct DeviceInfo {
        std::string name; // e.g. "test:0"
        std::string vendor;
        std::string model;
        std::string type;
    };

    SaneSource(std::shared_ptr<SaneLibrary> library, DeviceInfo info, SaneDeviceProfile profile);
    ~SaneSource() override;

    // The short, stable identity the choice is remembered by, in at most 33 bytes: for a device
    // on this machine "<vendor> <model> (<name>)", shortening vendor and model first; for a
    // network device its readable name where that fits, else its device name. A name too long
    // for either keeps its start and a digest of the whole, so two devices never share one.
    static std::string productName(const DeviceInfo& info);
    // The whole readable name: "<vendor> <model> (<name>)", or for a device reached through
    // saned "<vendor> <model> (<its name there>) on <host>", for an eSCL URL "… on <host>".
    static std::string displayName(const DeviceInfo& info);
    // The machine a network device is on ("" for a device on this one).
    static std::string networkHost(const std::string& deviceName);
    std::string displayName() const override { return displayName(info_); }

    TW_IDENTITY identity() const override;
    bool open(TW_UINT16& condition) override;
    void close() override;
    ScanSettings& settings() override { return settings_; }
    const SourceLimits& limits() const override { return profile_.limits(); }
    bool feederLoaded() const override;
    bool enable(bool showUI, HWND parent, NoticeSink notices, TW_UINT16& condition) override;
    void disable() override;
    TW_UINT16 transfer(TW_HANDLE& page, TW_UINT16& condition) override;
    TW_UINT16 pending() override;
    void discardPending() override;

private:
    // Puts the settings on the device and starts a batch; false if the device refuses them.
    bool startBatch();
    // Waits for a page or the end of the batch, keeping the application's windows alive.
    void waitSettled();
    // The window's periodic look at the batch: progress, and unlocking when it is over.
    void followBatch();
    void fitSettings();
    // Puts back the options remembered for the device; memoryNote_ tells what could not be.
    void restoreRemembered();
    // The window's own choices (mode, resolution, source, frame, picture), remembered at each
    // Scan and put into the settings when the window opens again.
    void rememberWindowChoices();
    void recallWindowChoices();
    // Forgets them and puts back the values the driver held when it was first opened.
    void resetToDefaults();
    // Sets each value on its option, in the device's order; the names of those refused.
    QStringList applyValues(std::map<std::string, SaneValue> values);
    QString optionTitle(const std::string& name) const;
    // A scan of the whole area at a low resolution for the window's preview, and its end.
    void scanPreview();
    void finishPreview();
    // What a preview of this device shows, kept with it.
    QString previewShows() const;
    // Sets what the user chose on the options page, remembers it, and shows the device's
    // options again.
    void chooseOption(const std::string& name, const SaneValue& value);

    std::shared_ptr<SaneLibrary> library_;
    DeviceInfo info_;
    SaneDeviceProfile profile_;
    ScanSettings settings_;
    std::unique_ptr<SaneDevice> device_;
    std::unique_ptr<SaneScanJob> job_;
    std::unique_ptr<SaneScanJob> previewJob_;
    QImage previewPicture_;      // the last preview, shown again while the source is open
    bool batchDeferred_ = false; // enabled without a window: the batch starts at the first transfer
    QPointer<SaneSourceWindow> window_;
    NoticeSink notices_;
    bool showUI_ = false;
    bool feederEmptied_ = false;
    // The pages the current batch may give at most (-1 while a feeder decides) and the pages
    // transferred from it so far.
    int batchLimit_ = -1;
    int pagesTaken_ = 0;
    // A transfer waits in a local event loop: the window's look must not clear the batch then.
    bool waiting_ = false;
    QString memoryNote_;
    std::map<std::string, SaneValue> driverDefaults_;
};

} // namespace twaindsm
