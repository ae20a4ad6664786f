#include "sane_source.h"

#include "device_memory.h"
#include "dib_qimage.h"
#include "sane_device.h"
#include "sane_host.h"
#include "sane_library.h"
#include "sane_option_control.h"
#include "sane_scan_job.h"
#include "sane_source_window.h"
#include "scan_end_text.h"
#include "source_factory.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sane/saneopts.h>

namespace twaindsm {

namespace {

constexpr size_t kNameBytes = sizeof(TW_STR32) - 1;

void copyName(char* target, const std::string& text) {
    const size_t n = std::min(text.size(), kNameBytes);
    std::memcpy(target, text.data(), n);
    target[n] = '\0';
}

} // namespace

SaneSource::SaneSource(std::shared_ptr<SaneLibrary> library, DeviceInfo info,
                       SaneDeviceProfile profile)
    : library_(std::move(library)), info_(std::move(info)), profile_(std::move(profile)) {
    fitSettings();
}

SaneSource::~SaneSource() {
    close();
}

namespace {

std::string vendorAndModel(const SaneSource::DeviceInfo& info) {
    std::string head = info.vendor;
    if (!info.model.empty()) {
        head += head.empty() ? info.model : " " + info.model;
    }
    return head;
}

bool onNetwork(const std::string& name) {
    return name.rfind("net:", 0) == 0 || name.rfind("escl:", 0) == 0 ||
           name.rfind("airscan:", 0) == 0;
}

// The start of text and a digest of the whole, kNameBytes long.
std::string digested(const std::string& text) {
    uint32_t hash = 2166136261u; // FNV-1a
    for (const unsigned char c : text) {
        hash = (hash ^ c) * 16777619u;
    }
    char tail[8];
    std::snprintf(tail, sizeof tail, "~%06x", hash & 0xffffffu);
    return text.substr(0, kNameBytes - 7) + tail;
}

// The host at the start of text, a bracketed IPv6 address without its brackets; stops is where a
// host name ends.
std::string leadingHost(const std::string& text, const char* stops) {
    if (!text.empty() && text[0] == '[') {
        const size_t close = text.find(']');
        return close == std::string::npos ? std::string() : text.substr(1, close - 1);
    }
    return text.substr(0, text.find_first_of(stops));
}

} // namespace

std::string SaneSource::networkHost(const std::string& name) {
    if (name.rfind("net:", 0) == 0) {
        return leadingHost(name.substr(4), ":");
    }
    const size_t scheme = name.find("://");
    if (name.rfind("escl:", 0) == 0 && scheme != std::string::npos) {
        return leadingHost(name.substr(scheme + 3), ":/");
    }
    return {};
}

std::string SaneSource::displayName(const DeviceInfo& info) {
    const std::string head = vendorAndModel(info);
    const std::string host = networkHost(info.name);
    if (host.empty() || head.empty()) {
        return head.empty() ? info.name : head + " (" + info.name + ")";
    }
    if (info.name.rfind("net:", 0) == 0) {
        // What the device is called on that machine: the name after the host's.
        const size_t at = info.name.find(':', info.name.find(host) + host.size());
        const std::string there =
            at == std::string::npos ? std::string() : info.name.substr(at + 1);
        return head + (there.empty() ? "" : " (" + there + ")") + " on " + host;
    }
    return head + " on " + host;
}

std::string SaneSource::productName(const DeviceInfo& info) {
    if (onNetwork(info.name)) {
        const std::string whole = displayName(info);
        if (whole.size() <= kNameBytes) {
            return whole;
        }
        return info.name.size() <= kNameBytes ? info.name : digested(info.name);
    }
    const std::string suffix = " (" + info.name + ")";
    if (suffix.size() >= kNameBytes) {
        return info.name.size() <= kNameBytes ? info.name : digested(info.name);
    }
    std::string head = vendorAndModel(info).substr(0, kNameBytes - suffix.size());
    while (!head.empty() && head.back() == ' ') {
        head.pop_back();
    }
    return head.empty() ? info.name : head + suffix;
}

TW_IDENTITY SaneSource::identity() const {
    TW_IDENTITY id{};
    id.Version.MajorNum = 1;
    id.Version.MinorNum = 0;
    copyName(id.Version.Info, "SANE " + info_.name);
    id.ProtocolMajor = 1;
    id.ProtocolMinor = 9;
    id.SupportedGroups = DG_SUPPORTED;
    copyName(id.Manufacturer, info_.vendor);
    copyName(id.ProductFamily, info_.type);
    copyName(id.ProductName, productName(info_));
    return id;
}

// Fresh settings for a session, within what the device offers.
void SaneSource::fitSettings() {
    const SourceLimits& l = profile_.limits();
    settings_ = ScanSettings{};
    const auto& types = l.pixelTypes;
    if (!types.empty() &&
        std::find(types.begin(), types.end(), settings_.pixelType) == types.end()) {
        settings_.pixelType = types.front();
    }
    settings_.bitDepth = settings_.pixelType == TWPT_BW ? 1 : 8;
    settings_.xResolution = std::clamp(settings_.xResolution, l.minResolution, l.maxResolution);
    settings_.yResolution = settings_.xResolution;
    settings_.frame.right = std::min(settings_.frame.right, l.scanArea.right);
    settings_.frame.bottom = std::min(settings_.frame.bottom, l.scanArea.bottom);
}

bool SaneSource::open(TW_UINT16& condition) {
    if (device_ && sane_host::current(device_->handle())) {
        return true;
    }
    // A device whose driver failed went with its host: it is opened again in a new one.
    device_.reset();
    SANE_Status status = SANE_STATUS_GOOD;
    device_ = SaneDevice::open(info_.name, status);
    if (!device_) {
        condition = status == SANE_STATUS_DEVICE_BUSY ? TWCC_MAXCONNECTIONS : TWCC_OPERATIONERROR;
        return false;
    }
    restoreRemembered();
    // The device may offer more now than when it was found (it was busy, or was reconfigured).
    profile_ = SaneDeviceProfile::read(*device_);
    fitSettings();
    if (previewPicture_.isNull()) {
        previewPicture_ =
            DeviceMemory({info_.name, info_.vendor, info_.model}).keptPreview(previewShows());
    }
    feederEmptied_ = false;
    return true;
}

void SaneSource::close() {
    disable();
    device_.reset();
}

bool SaneSource::feederLoaded() const {
    if (!profile_.limits().hasFeeder) {
        return false;
    }
    return !(job_ ? job_->feederEmptied() : feederEmptied_);
}

bool SaneSource::enable(bool showUI, HWND parent, NoticeSink notices, TW_UINT16& condition) {
    if (!device_) {
        condition = TWCC_SEQERROR;
        return false;
    }
    disable();
    notices_ = std::move(notices);
    showUI_ = showUI;
    if (!showUI) {
        // Settings the device cannot take refuse the enable; the scan itself starts with the
        // first transfer, since an application may still set the frame of its pages once the
        // transfer is ready (and the transfer waits for the page anyway).
        if (!profile_.apply(*device_, settings_)) {
            notices_ = {};
            condition = TWCC_OPERATIONERROR;
            return false;
        }
        batchDeferred_ = true;
        feederEmptied_ = false; // a new batch is asked for: the user has loaded paper
        if (notices_) {
            notices_(MSG_XFERREADY);
        }
        return true;
    }

    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        notices_ = {};
        condition = TWCC_OPERATIONERROR;
        return false;
    }
    QWidget* owner = parent != nullptr ? QWidget::find(reinterpret_cast<WId>(parent)) : nullptr;
    // The user's last choices in this device's window come back in it.
    recallWindowChoices();
    window_ =
        new SaneSourceWindow(owner, QString::fromStdString(displayName(info_)), profile_.limits(),
                             settings_, SaneDeviceProfile::negotiatedOptions());
    window_->selectSource(profile_.sourceFor(settings_));
    window_->showOptions(device_->options());
    window_->setStatus(memoryNote_);
    window_->setPreviewOffered(profile_.hasFlatbed());
    window_->showPreview(previewPicture_);
    QObject::connect(window_, &SaneSourceWindow::previewRequested, [this] { scanPreview(); });
    QObject::connect(window_, &SaneSourceWindow::defaultsRequested, [this] { resetToDefaults(); });
    QObject::connect(
        window_, &SaneSourceWindow::optionChosen,
        [this](const std::string& name, const SaneValue& value) { chooseOption(name, value); });
    QObject::connect(window_, &SaneSourceWindow::scanRequested, [this] {
        settings_.pixelType = window_->pixelType();
        settings_.bitDepth = settings_.pixelType == TWPT_BW ? 1 : 8;
        settings_.xResolution = settings_.yResolution = window_->resolution();
        settings_.sourceName = window_->sourceName();
        settings_.feederEnabled = window_->feederEnabled();
        settings_.duplexEnabled = window_->duplexEnabled();
        settings_.frame = window_->frame();
        window_->adjustments(settings_);
        rememberWindowChoices();
        window_->setProgress(0);
        if (startBatch()) {
            window_->setStatus(QCoreApplication::translate("ScanEnd", "スキャンしています…"));
            window_->setScanning(true);
        } else {
            window_->setStatus(
                QCoreApplication::translate("ScanEnd", "スキャナーがこの設定を受け付けません。モー"
                                                       "ド、解像度または範囲を変えてください。"));
        }
    });
    QObject::connect(window_, &SaneSourceWindow::closeRequested, [this] {
        if (notices_) {
            notices_(MSG_CLOSEDSREQ);
        }
    });
    QObject::connect(window_->ticker(), &QTimer::timeout, [this] { followBatch(); });
    window_->ticker()->start();
    window_->show();
    return true;
}

QStringList SaneSource::applyValues(std::map<std::string, SaneValue> values) {
    // Options in the device's order, again after each round: one may make others active.
    QStringList refused;
    for (int round = 0; round < 4 && !values.empty(); ++round) {
        bool applied = false;
        for (const SaneOption& option : device_->options()) {
            const auto wanted = values.find(option.name);
            if (wanted == values.end() || !option.settable()) {
                continue;
            }
            if (!device_->set(option.name, wanted->second).ok()) {
                refused += QString::fromStdString(option.name);
            }
            values.erase(wanted);
            applied = true;
        }
        if (!applied) {
            break; // the rest are inactive now
        }
    }
    return refused;
}

void SaneSource::restoreRemembered() {
    memoryNote_.clear();
    // What the driver holds before anything is put back is what Defaults returns to: SANE has
    // no reset, and a driver may keep its values from one opening to the next.
    if (driverDefaults_.empty()) {
        for (const SaneOption& option : device_->options()) {
            if (option.settable() && option.readable) {
                driverDefaults_[option.name] = option.value;
            }
        }
    }
    DeviceMemory memory({info_.name, info_.vendor, info_.model});
    if (memory.read() == DeviceMemory::Read::Damaged) {
        memoryNote_ = QCoreApplication::translate(
            "SaneSource", "この機器の前回の設定を読めなかったため、機器の既定値で開きました。");
        return;
    }
    const QStringList refused = applyValues(memory.values());
    QStringList titles;
    for (const QString& name : refused) {
        memory.forget(name.toStdString());
        titles += optionTitle(name.toStdString());
    }
    if (!titles.isEmpty()) {
        memoryNote_ = QCoreApplication::translate(
                          "SaneSource", "前回の設定のうち「%1」はこの機器が受け付けないため、"
                                        "既定値に戻しました。")
                          .arg(titles.join(QCoreApplication::translate(
                              "SaneSource", "」「", "between two option titles in the message")));
    }
}

QString SaneSource::optionTitle(const std::string& name) const {
    for (const SaneOption& option : device_->options()) {
        if (option.name == name) {
            return SaneOptionControl::driverText(option.title);
        }
    }
    return QString::fromStdString(name);
}

namespace {

// The window's own choices in the device's memory: a name no SANE option can have ('.').
const std::string kWindowChoices = "orvana.window";

} // namespace

void SaneSource::rememberWindowChoices() {
    const ScanSettings& s = settings_;
    const Frame& f = s.frame;
    DeviceMemory memory({info_.name, info_.vendor, info_.model});
    memory.read();
    memory.remember(kWindowChoices,
                    SaneValue{{double(s.pixelType), s.xResolution, f.left, f.top, f.right, f.bottom,
                               s.brightness, s.contrast, s.threshold},
                              s.sourceName});
}

void SaneSource::recallWindowChoices() {
    DeviceMemory memory({info_.name, info_.vendor, info_.model});
    if (memory.read() != DeviceMemory::Read::Values) {
        return;
    }
    const auto found = memory.values().find(kWindowChoices);
    if (found == memory.values().end() || found->second.numbers.size() != 9) {
        return;
    }
    // Each value only where the device still allows it.
    const std::vector<double>& n = found->second.numbers;
    const SourceLimits& l = profile_.limits();
    ScanSettings& s = settings_;
    const auto type = static_cast<TW_UINT16>(n[0]);
    if (std::find(l.pixelTypes.begin(), l.pixelTypes.end(), type) != l.pixelTypes.end()) {
        s.pixelType = type;
        s.bitDepth = type == TWPT_BW ? 1 : 8;
    }
    if (n[1] >= l.minResolution && n[1] <= l.maxResolution) {
        s.xResolution = s.yResolution = n[1];
    }
    const Frame frame{n[2], n[3], n[4], n[5]};
    const Frame& area = l.scanArea;
    if (frame.left >= area.left && frame.top >= area.top && frame.right <= area.right + 1e-6 &&
        frame.bottom <= area.bottom + 1e-6 && frame.left < frame.right &&
        frame.top < frame.bottom) {
        s.frame = frame;
    }
    s.brightness = std::clamp(n[6], -1000.0, 1000.0);
    s.contrast = std::clamp(n[7], -1000.0, 1000.0);
    s.threshold = std::clamp(n[8], 0.0, 255.0);
    const std::string& source = found->second.text;
    if (std::find(l.sources.begin(), l.sources.end(), source) != l.sources.end()) {
        s.sourceName = source;
        s.feederEnabled =
            SaneDeviceProfile::feederEntry(source) || SaneDeviceProfile::duplexEntry(source);
        s.duplexEnabled = SaneDeviceProfile::duplexEntry(source);
    }
}

void SaneSource::resetToDefaults() {
    if (!window_ || !device_ || job_) {
        return;
    }
    DeviceMemory({info_.name, info_.vendor, info_.model}).clear();
    applyValues(driverDefaults_);
    profile_ = SaneDeviceProfile::read(*device_);
    window_->showOptions(device_->options());
    window_->setStatus(
        QCoreApplication::translate("SaneSource", "この機器の設定を既定値に戻しました。"));
}

QString SaneSource::previewShows() const {
    // A preview is of the whole area: one of another area (another source's, or a device that
    // reports another glass now) is not this device's picture.
    const Frame& area = profile_.limits().scanArea;
    return QString::asprintf("area %.4f %.4f %.4f %.4f in", area.left, area.top, area.right,
                             area.bottom);
}

void SaneSource::scanPreview() {
    if (!window_ || !device_ || job_ || previewJob_) {
        return;
    }
    // The whole glass at 75 dpi or the device's least, in the window's mode.
    const SourceLimits& limits = profile_.limits();
    ScanSettings preview = settings_;
    preview.pixelType = window_->pixelType();
    preview.bitDepth = preview.pixelType == TWPT_BW ? 1 : 8;
    preview.xResolution = preview.yResolution = std::clamp(
        75.0, limits.minResolution, std::max(limits.minResolution, limits.maxResolution));
    preview.frame = limits.scanArea;
    preview.feederEnabled = preview.duplexEnabled = false;
    preview.sourceName.clear();
    if (!profile_.apply(*device_, preview)) {
        window_->setStatus(QCoreApplication::translate(
            "SaneSource", "スキャナーがプレビューの設定を受け付けません。"));
        return;
    }
    SaneScanJob::Batch batch;
    batch.xDpi = preview.xResolution;
    batch.yDpi = preview.yResolution;
    previewJob_ = std::make_unique<SaneScanJob>(device_->handle(), batch);
    previewJob_->start();
    window_->setScanning(true);
    window_->setStatus(
        QCoreApplication::translate("SaneSource", "プレビューをスキャンしています…"));
}

void SaneSource::finishPreview() {
    HGLOBAL page = previewJob_->takePage();
    if (page != nullptr) {
        previewPicture_ = PelmixToQImage(page).copy();
        GlobalFree(page);
        // Kept for the next opening too; without it the window simply has no preview then.
        DeviceMemory({info_.name, info_.vendor, info_.model})
            .keepPreview(previewPicture_, previewShows());
        window_->showPreview(previewPicture_);
        window_->setStatus(QString());
    } else {
        ScanEnd end;
        end.device = QString::fromStdString(displayName(info_));
        end.network = onNetwork(info_.name);
        end.status = previewJob_->failure();
        end.atStart = previewJob_->failedAtStart();
        end.fault = previewJob_->faultKind();
        window_->setStatus(scanEndText(end));
    }
    previewJob_.reset();
    window_->setScanning(false);
}

void SaneSource::chooseOption(const std::string& name, const SaneValue& value) {
    if (!window_ || !device_ || job_ || previewJob_) {
        return;
    }
    const SaneSetResult result = device_->set(name, value);
    // Everything is read again: the device may have settled on another value, or changed other
    // options with it.
    const std::vector<SaneOption> options = device_->options();
    window_->showOptions(options);
    QString title = QString::fromStdString(name);
    const SaneOption* now = nullptr;
    for (const SaneOption& option : options) {
        if (option.name == name) {
            now = &option;
            title = SaneOptionControl::driverText(option.title);
        }
    }
    // What the device now holds is what the next opening puts back.
    if (result.ok() && now != nullptr && now->readable) {
        DeviceMemory memory({info_.name, info_.vendor, info_.model});
        memory.read();
        memory.remember(name, now->value);
    }
    if (!result.ok()) {
        window_->setStatus(QCoreApplication::translate("SaneSource",
                                                       "スキャナーは「%1」をその値にできません。"
                                                       "元の値のままです。")
                               .arg(title));
    } else if (now != nullptr && now->count() == 1 && now->value.numbers.size() == 1 &&
               value.numbers.size() == 1 && now->type != SANE_TYPE_BOOL &&
               (result.inexact || std::fabs(now->value.numbers[0] - value.numbers[0]) > 1e-6)) {
        // The device, or its range and step, settled on another value than the one asked for.
        window_->setStatus(
            QCoreApplication::translate("SaneSource",
                                        "「%1」はスキャナーに合わせて %2 になりました。")
                .arg(title, SaneOptionControl::numberText(now->value.numbers.front(), *now)));
    } else {
        window_->setStatus(QString());
    }
}

bool SaneSource::startBatch() {
    job_.reset();
    if (!device_) {
        return false; // it could not be opened again
    }
    feederEmptied_ = false;
    if (!profile_.apply(*device_, settings_)) {
        return false;
    }
    SaneScanJob::Batch batch;
    batch.feeder = settings_.feederEnabled && profile_.limits().hasFeeder;
    batch.maxPages = settings_.xferCount > 0 ? settings_.xferCount : -1;
    batch.xDpi = settings_.xResolution;
    batch.yDpi = settings_.yResolution;
    // The pages say the resolution the device scans at, which need not be the one asked for.
    batch.deviceDpi = [device = device_.get()](double& x, double& y) {
        double dpi = 0;
        if (device->getNumber(SANE_NAME_SCAN_RESOLUTION, dpi) && dpi > 0) {
            x = y = dpi;
        }
        if (device->getNumber(SANE_NAME_SCAN_X_RESOLUTION, dpi) && dpi > 0) {
            x = dpi;
        }
        if (device->getNumber(SANE_NAME_SCAN_Y_RESOLUTION, dpi) && dpi > 0) {
            y = dpi;
        }
    };
    batchLimit_ = batch.feeder ? batch.maxPages : 1;
    pagesTaken_ = 0;

    SaneScanJob::Changed changed;
    if (showUI_) {
        // With a window the application learns of the batch when its first page is there.
        auto posted = std::make_shared<std::atomic<bool>>(false);
        changed = [notices = notices_, posted](int pagesRead, bool) {
            if (pagesRead > 0 && notices && !posted->exchange(true)) {
                notices(MSG_XFERREADY);
            }
        };
    }
    job_ = std::make_unique<SaneScanJob>(device_->handle(), batch, std::move(changed));
    job_->start();
    return true;
}

void SaneSource::followBatch() {
    if (window_ && previewJob_ && previewJob_->over()) {
        finishPreview();
    }
    if (!window_ || !job_ || waiting_) {
        return;
    }
    window_->setProgress(job_->progressPercent());
    if (!job_->over() || job_->pagesReady() > 0) {
        return;
    }
    // Everything the batch gave has been transferred: the next batch may start.
    const int pages = job_->pagesRead();
    QString told;
    switch (job_->end()) {
    case SaneScanJob::End::Cancelled:
        window_->setStatus(QCoreApplication::translate("ScanEnd", "スキャンを中止しました。"));
        break;
    case SaneScanJob::End::DeviceError: {
        ScanEnd end;
        end.device = QString::fromStdString(displayName(info_));
        end.network = onNetwork(info_.name);
        end.status = job_->failure();
        end.atStart = job_->failedAtStart();
        end.fault = job_->faultKind();
        end.pagesBefore = pages;
        told = scanEndText(end);
        window_->setStatus(told);
        break;
    }
    default:
        window_->setStatus(QCoreApplication::translate("ScanEnd", "%n ページをスキャンしました。",
                                                       nullptr, pages));
        break;
    }
    feederEmptied_ = job_->feederEmptied();
    job_.reset();
    window_->setScanning(false);
    // Said in a box as well, so that it cannot go unseen: the status line is small. The batch is
    // cleared first, since the box waits for the user while the window's look goes on.
    if (!told.isEmpty()) {
        const QByteArray text = told.toUtf8();
        MessageBoxA(nullptr, text.constData(), "Orvana", MB_OK | MB_ICONEXCLAMATION);
    }
}

void SaneSource::disable() {
    batchDeferred_ = false;
    previewJob_.reset();
    if (job_) {
        feederEmptied_ = job_->feederEmptied();
        job_.reset(); // stops the worker and frees pages nobody took
    }
    if (window_) {
        window_->ticker()->stop();
        window_->disconnect();
        window_->hide();
        delete window_.data();
    }
    notices_ = {};
}

void SaneSource::waitSettled() {
    if (!job_ || job_->settled()) {
        return;
    }
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr || QThread::currentThread() != app->thread()) {
        while (!job_->waitSettled(std::chrono::milliseconds(200))) {
        }
        return;
    }
    // A local loop keeps the windows painting and the buttons answering while the worker reads.
    QEventLoop loop;
    QTimer poll;
    SaneScanJob* job = job_.get();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (job_.get() != job || job->settled()) {
            loop.quit();
        }
    });
    poll.start(10);
    waiting_ = true;
    loop.exec();
    waiting_ = false;
}

TW_UINT16 SaneSource::transfer(TW_HANDLE& page, TW_UINT16& condition) {
    page = nullptr;
    if (!job_ && batchDeferred_) {
        batchDeferred_ = false;
        if (!startBatch()) {
            condition = TWCC_OPERATIONERROR;
            return TWRC_FAILURE;
        }
    }
    if (!job_) {
        condition = TWCC_SEQERROR;
        return TWRC_FAILURE;
    }
    waitSettled();
    if (!job_) {
        condition = TWCC_OPERATIONERROR;
        return TWRC_FAILURE;
    }
    page = job_->takePage();
    if (page != nullptr) {
        ++pagesTaken_;
        return TWRC_XFERDONE;
    }
    if (job_->end() == SaneScanJob::End::Cancelled) {
        return TWRC_CANCEL;
    }
    condition = TWCC_OPERATIONERROR;
    return TWRC_FAILURE;
}

TW_UINT16 SaneSource::pending() {
    if (!job_) {
        return 0;
    }
    waitSettled();
    if (!job_) {
        return 0;
    }
    // Once the device is done, the pages read and not yet transferred are all there is. While it
    // still reads, a page is ready and more may follow: as many as the batch has left when the
    // application set a count, an unknown number from a feeder.
    const size_t ready = job_->pagesReady();
    if (job_->over()) {
        return static_cast<TW_UINT16>(std::min<size_t>(ready, kPagesUnknown - 1));
    }
    if (batchLimit_ > 0) {
        const size_t left = static_cast<size_t>(std::max(batchLimit_ - pagesTaken_, 0));
        return static_cast<TW_UINT16>(std::min<size_t>(std::max(left, ready), kPagesUnknown - 1));
    }
    return kPagesUnknown;
}

void SaneSource::discardPending() {
    batchDeferred_ = false;
    if (job_) {
        job_->stop();
        job_->dropPages();
        feederEmptied_ = job_->feederEmptied();
    }
    // With a window the finished job is cleared by the window's next look; without, now.
    if (!window_) {
        job_.reset();
    }
}

std::vector<std::unique_ptr<Source>> discoverSaneSources() {
    std::vector<std::unique_ptr<Source>> sources;
    std::shared_ptr<SaneLibrary> library = SaneLibrary::acquire();
    if (!library) {
        return sources;
    }
    std::vector<sane_host::Device> devices;
    if (sane_host::devices(devices) != SANE_STATUS_GOOD) {
        return sources;
    }
    std::vector<SaneSource::DeviceInfo> found;
    for (sane_host::Device& d : devices) {
        if (!d.name.empty()) {
            found.push_back({d.name, d.vendor, d.model, d.type});
        }
    }
    for (SaneSource::DeviceInfo& info : found) {
        // What a device offers is read when it is opened to scan; a device on this machine is
        // looked at now too, a network one only then (each look is a round trip to it, and it
        // may be busy with another computer).
        SaneDeviceProfile profile;
        SANE_Status status = SANE_STATUS_GOOD;
        if (!onNetwork(info.name)) {
            if (auto device = SaneDevice::open(info.name, status)) {
                profile = SaneDeviceProfile::read(*device);
            }
        }
        sources.push_back(std::make_unique<SaneSource>(library, std::move(info), profile));
    }
    return sources;
}

} // namespace twaindsm
