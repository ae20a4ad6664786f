// The built-in virtual scanner: a source that needs no device. Its pages are drawn (see
// virtual_page.h) at the negotiated frame, resolution and pixel type; it has a document feeder
// that holds five sheets whenever a batch starts, and a small window of its own.
#pragma once

#include "source.h"

#include <QPointer>
#include <vector>

namespace twaindsm {

class VirtualScannerWindow;

class VirtualScanner : public Source {
public:
    // Sheets the feeder holds at the start of each batch.
    static constexpr int kFeederPages = 5;

    VirtualScanner();
    ~VirtualScanner() override;
    VirtualScanner(const VirtualScanner&) = delete;
    VirtualScanner& operator=(const VirtualScanner&) = delete;

    TW_IDENTITY identity() const override;
    bool open(TW_UINT16& condition) override;
    void close() override;
    ScanSettings& settings() override { return settings_; }
    const SourceLimits& limits() const override { return limits_; }
    bool feederLoaded() const override;
    bool enable(bool showUI, HWND parent, NoticeSink notices, TW_UINT16& condition) override;
    void disable() override;
    TW_UINT16 transfer(TW_HANDLE& page, TW_UINT16& condition) override;
    TW_UINT16 pending() override;
    void discardPending() override;

    // The source's window while it is enabled with its user interface, else null.
    VirtualScannerWindow* window() const;

private:
    void startBatch(int pages, bool countKnown = true);
    void post(TW_UINT16 notice) const;
    void scanFromWindow(int pixelType, int pages);

    ScanSettings settings_;
    SourceLimits limits_;
    NoticeSink notices_;
    QPointer<VirtualScannerWindow> window_;
    // Windows of earlier enables whose deletion is still deferred.
    std::vector<QPointer<VirtualScannerWindow>> retired_;
    bool enabled_ = false;
    bool batchRunning_ = false;
    int remaining_ = 0; // pages of the current batch not yet transferred
    // False for a feeder batch: like a real feeder, the scanner only knows whether a sheet is left.
    bool countKnown_ = true;
    int nextPage_ = 1; // the number drawn on the next page; counts on across batches
};

} // namespace twaindsm
