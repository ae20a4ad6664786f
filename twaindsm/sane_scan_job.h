// One batch read from a SANE device on a worker thread: sane_start, the frame, the next page for
// a document feeder, sane_cancel at the end. Finished pages wait in a queue for the transfers.
// While the job runs, the worker is the only one that calls SANE for the device's handle.
#pragma once

#include "sane_host.h"
#include "winport.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <sane/sane.h>
#include <string>
#include <thread>

namespace twaindsm {

class SaneScanJob {
public:
    struct Batch {
        bool feeder = false; // pages until the feeder is empty; otherwise one page
        int maxPages = -1;   // stop after this many pages; -1 no limit
        double xDpi = 0;     // written into the pages' headers, unless deviceDpi says
        double yDpi = 0;
        // Asked after each sane_start: the resolution the device settled on for the page, which
        // replaces xDpi / yDpi where it is known (> 0).
        std::function<void(double& xDpi, double& yDpi)> deviceDpi;
    };
    enum class End { Running, Completed, DeviceError, Cancelled };

    // Runs on the worker thread after every page and once at the end of the batch, with the
    // pages read so far and whether the batch is over (said before over() turns true).
    using Changed = std::function<void(int pagesRead, bool over)>;

    SaneScanJob(SANE_Handle handle, Batch batch, Changed changed = {});
    // Stops the batch if it still runs (and waits for the worker); frees pages nobody took.
    ~SaneScanJob();
    SaneScanJob(const SaneScanJob&) = delete;
    SaneScanJob& operator=(const SaneScanJob&) = delete;

    void start();
    // Asks the worker to stop after the current read, and waits for it. The batch ends as
    // Cancelled unless it had ended already. Pages already read stay in the queue.
    void stop();

    // The next page (the caller owns it), or 0 when none is ready now.
    HGLOBAL takePage();
    size_t pagesReady() const;
    // Frees the pages nobody took.
    void dropPages();

    End end() const;
    bool over() const { return end() != End::Running; }
    // Whether a page is waiting or the batch is over: nothing more to wait for.
    bool settled() const;
    // Waits until settled() or the timeout; returns settled().
    bool waitSettled(std::chrono::milliseconds timeout);

    // The feeder reported that it has no more paper.
    bool feederEmptied() const { return feederEmptied_; }
    int pagesRead() const { return pagesRead_; }
    // The SANE status that ended the batch as a device error (SANE_STATUS_GOOD otherwise), and
    // whether sane_start gave it, before any byte of that page.
    SANE_Status failure() const { return failure_; }
    bool failedAtStart() const { return failedAtStart_; }
    // What ended the driver when the batch failed with it ("" otherwise): it stopped answering or
    // crashed, and the page being read is lost (the pages before it are kept).
    std::string fault() const;
    sane_host::Fault faultKind() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return faultKind_;
    }
    // How far the page being read is, 0..100 (100 once the batch is over with pages).
    int progressPercent() const;

private:
    void run();
    End readPage(bool& gotPage);
    End fail(SANE_Status status, bool atStart);
    void finish(End end);

    SANE_Handle handle_;
    Batch batch_;
    Changed changed_;
    std::thread worker_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> feederEmptied_{false};
    std::atomic<SANE_Status> failure_{SANE_STATUS_GOOD};
    std::atomic<bool> failedAtStart_{false};
    std::atomic<int> pagesRead_{0};
    std::atomic<uint64_t> bytesRead_{0};
    std::atomic<uint64_t> bytesExpected_{0};

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<HGLOBAL> pages_;
    End end_ = End::Running;
    std::string fault_;
    sane_host::Fault faultKind_ = sane_host::Fault::None;
};

} // namespace twaindsm
