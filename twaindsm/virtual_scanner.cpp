// The built-in virtual scanner source.
#include "virtual_scanner.h"

#include "dib.h"
#include "source_factory.h"
#include "virtual_page.h"
#include "virtual_scanner_window.h"

#include <QApplication>
#include <algorithm>
#include <cstring>

namespace twaindsm {
namespace {

// TWAIN's language and country codes for the source's version record.
constexpr TW_UINT16 kLanguageEnglish = 2;
constexpr TW_UINT16 kCountryUsa = 1;

void copyName(TW_STR32& target, const char* text) {
    std::memset(target, 0, sizeof(target));
    std::strncpy(target, text, sizeof(target) - 1);
}

// The largest batch the pending count can report; 0xFFFF would mean "an unknown number".
constexpr int kMostPages = 0xFFFE;

int thresholdOf(double value) {
    return value >= 0 && value <= 255 ? static_cast<int>(value) : 128; // NaN too
}

ScanSettings defaultSettings(const SourceLimits& limits) {
    ScanSettings settings;
    settings.frame = limits.scanArea;
    return settings;
}

} // namespace

std::unique_ptr<Source> makeVirtualScanner() {
    return std::make_unique<VirtualScanner>();
}

VirtualScanner::VirtualScanner() {
    limits_.pixelTypes = {TWPT_BW, TWPT_GRAY, TWPT_RGB, TWPT_PALETTE};
    limits_.minResolution = 50;
    limits_.maxResolution = 1200;
    limits_.scanArea = Frame{0, 0, 8.27, 11.69}; // A4
    limits_.hasFeeder = true;
    settings_ = defaultSettings(limits_);
}

VirtualScanner::~VirtualScanner() {
    // Widgets may only be destroyed while their application lives; after that, let it go.
    if (QCoreApplication::instance() != nullptr) {
        delete window_.data();
        // A window disabled a moment ago may still wait for its deferred deletion. Its code lives
        // in this library, which the application may unload right after closing the manager, so
        // it goes now, with its source.
        for (const QPointer<VirtualScannerWindow>& window : retired_) {
            delete window.data();
        }
    }
}

TW_IDENTITY VirtualScanner::identity() const {
    TW_IDENTITY id{};
    id.Version.MajorNum = 1;
    id.Version.MinorNum = 0;
    id.Version.Language = kLanguageEnglish;
    id.Version.Country = kCountryUsa;
    copyName(id.Version.Info, "Orvana virtual scanner");
    id.ProtocolMajor = 1;
    id.ProtocolMinor = 9;
    id.SupportedGroups = DG_CONTROL | DG_IMAGE;
    copyName(id.Manufacturer, "Orvana");
    copyName(id.ProductFamily, "Virtual");
    copyName(id.ProductName, "Virtual Scanner");
    return id;
}

bool VirtualScanner::open(TW_UINT16& condition) {
    // Every session starts from the scanner's defaults, as a real device does when it is opened.
    settings_ = defaultSettings(limits_);
    batchRunning_ = false;
    remaining_ = 0;
    condition = TWCC_SUCCESS;
    return true;
}

void VirtualScanner::close() {
    disable();
}

VirtualScannerWindow* VirtualScanner::window() const {
    return window_.data();
}

bool VirtualScanner::feederLoaded() const {
    return !batchRunning_ || remaining_ > 0;
}

bool VirtualScanner::enable(bool showUI, HWND parent, NoticeSink notices, TW_UINT16& condition) {
    if (showUI && qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        // Widgets need an application object; without one there is nothing to show.
        condition = TWCC_OPERATIONERROR;
        return false;
    }
    disable();
    notices_ = std::move(notices);
    enabled_ = true;
    nextPage_ = 1;
    condition = TWCC_SUCCESS;
    if (!showUI) {
        if (settings_.xferCount > 0) {
            startBatch(settings_.xferCount);
        } else if (settings_.feederEnabled) {
            startBatch(kFeederPages, false);
        } else {
            startBatch(1); // flatbed
        }
        post(MSG_XFERREADY);
        return true;
    }
    QWidget* over = QWidget::find(reinterpret_cast<WId>(parent));
    const int suggested = settings_.xferCount > 0 ? std::min(settings_.xferCount, 99) : 1;
    window_ = new VirtualScannerWindow(over, settings_.pixelType, suggested);
    QObject::connect(window_, &VirtualScannerWindow::scanRequested, window_,
                     [this](int pixelType, int pages) { scanFromWindow(pixelType, pages); });
    QObject::connect(window_, &VirtualScannerWindow::closeRequested, window_,
                     [this] { post(MSG_CLOSEDSREQ); });
    window_->show();
    window_->raise();
    window_->activateWindow();
    return true;
}

void VirtualScanner::disable() {
    if (window_ != nullptr) {
        // Later, not now: disable() may be reached from inside one of the window's own signals.
        window_->hide();
        window_->disconnect();
        window_->deleteLater();
        std::erase_if(retired_, [](const auto& window) { return window.isNull(); });
        retired_.push_back(window_);
        window_ = nullptr;
    }
    enabled_ = false;
    batchRunning_ = false;
    remaining_ = 0;
    notices_ = nullptr;
}

void VirtualScanner::scanFromWindow(int pixelType, int pages) {
    // The choice made in the source's own window wins over what the application negotiated.
    settings_.pixelType = static_cast<TW_UINT16>(pixelType);
    settings_.bitDepth = pixelType == TWPT_BW ? 1 : 8;
    startBatch(settings_.xferCount > 0 ? std::min(pages, settings_.xferCount) : pages);
    post(MSG_XFERREADY);
}

void VirtualScanner::startBatch(int pages, bool countKnown) {
    batchRunning_ = true;
    remaining_ = std::clamp(pages, 1, kMostPages);
    countKnown_ = countKnown;
}

void VirtualScanner::post(TW_UINT16 notice) const {
    // A copy, since the receiver may disable the source and so drop the sink while it runs.
    const NoticeSink sink = notices_;
    if (sink) {
        sink(notice);
    }
}

TW_UINT16 VirtualScanner::transfer(TW_HANDLE& page, TW_UINT16& condition) {
    page = nullptr;
    if (!enabled_ || !batchRunning_ || remaining_ <= 0) {
        condition = TWCC_SEQERROR;
        return TWRC_FAILURE;
    }
    // The sheet leaves the feeder whether or not its picture can be delivered, so a page that
    // fails is not offered again and the batch still comes to an end.
    --remaining_;
    const int number = nextPage_++;

    const Frame& frame = settings_.frame;
    const QSize size = virtualPageSize(frame.right - frame.left, frame.bottom - frame.top,
                                       settings_.xResolution, settings_.yResolution);
    if (!pelmix::sizeAllowed(size.width(), size.height())) {
        condition = TWCC_LOWMEMORY;
        return TWRC_FAILURE;
    }
    VirtualPageRequest request;
    request.width = size.width();
    request.height = size.height();
    request.pixelType = settings_.pixelType;
    request.xResolution = settings_.xResolution;
    request.yResolution = settings_.yResolution;
    request.threshold = thresholdOf(settings_.threshold);
    request.pageNumber = number;
    page = renderVirtualPage(request);
    if (page == nullptr) {
        condition = TWCC_LOWMEMORY;
        return TWRC_FAILURE;
    }
    condition = TWCC_SUCCESS;
    return TWRC_XFERDONE;
}

TW_UINT16 VirtualScanner::pending() {
    if (batchRunning_ && remaining_ == 0) {
        batchRunning_ = false;
    }
    if (!batchRunning_) {
        return 0;
    }
    return countKnown_ ? static_cast<TW_UINT16>(remaining_) : kPagesUnknown;
}

void VirtualScanner::discardPending() {
    batchRunning_ = false;
    remaining_ = 0;
}

} // namespace twaindsm
