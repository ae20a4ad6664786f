#include "sane_scan_job.h"

#include "sane_frame_reader.h"
#include "sane_host.h"
#include "sane_wire.h"

#include <vector>

namespace twaindsm {

SaneScanJob::SaneScanJob(SANE_Handle handle, Batch batch, Changed changed)
    : handle_(handle), batch_(batch), changed_(std::move(changed)) {}

SaneScanJob::~SaneScanJob() {
    stop();
    dropPages();
}

void SaneScanJob::start() {
    if (!worker_.joinable()) {
        worker_ = std::thread([this] { run(); });
    }
}

void SaneScanJob::stop() {
    stopRequested_ = true;
    if (worker_.joinable()) {
        // A read that waits for the device returns at once (or the driver is ended).
        if (!over()) {
            sane_host::interrupt(handle_);
        }
        worker_.join();
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (end_ == End::Running) {
        end_ = End::Cancelled; // never started
    }
}

HGLOBAL SaneScanJob::takePage() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (pages_.empty()) {
        return nullptr;
    }
    HGLOBAL page = pages_.front();
    pages_.pop_front();
    return page;
}

size_t SaneScanJob::pagesReady() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return pages_.size();
}

void SaneScanJob::dropPages() {
    std::deque<HGLOBAL> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        dropped.swap(pages_);
    }
    for (HGLOBAL page : dropped) {
        GlobalFree(page);
    }
}

std::string SaneScanJob::fault() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return fault_;
}

SaneScanJob::End SaneScanJob::end() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return end_;
}

bool SaneScanJob::settled() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return !pages_.empty() || end_ != End::Running;
}

bool SaneScanJob::waitSettled(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return wake_.wait_for(lock, timeout,
                          [this] { return !pages_.empty() || end_ != End::Running; });
}

int SaneScanJob::progressPercent() const {
    if (over()) {
        return pagesRead_ > 0 ? 100 : 0;
    }
    const uint64_t expected = bytesExpected_;
    if (expected == 0) {
        return 0;
    }
    return static_cast<int>(std::min<uint64_t>(100, bytesRead_ * 100 / expected));
}

void SaneScanJob::run() {
    End end = End::Completed;
    for (int page = 0;; ++page) {
        if (stopRequested_) {
            end = End::Cancelled;
            break;
        }
        if (batch_.maxPages >= 0 && page >= batch_.maxPages) {
            break;
        }
        bool gotPage = false;
        end = readPage(gotPage);
        // A stop cancels the call under way: whatever the driver answered then, it was cancelled.
        if (end == End::DeviceError && stopRequested_) {
            end = End::Cancelled;
        }
        if (end != End::Completed || !gotPage) {
            break;
        }
        if (changed_) {
            changed_(pagesRead_, false);
        }
        if (!batch_.feeder) {
            break;
        }
    }
    // Ends the batch on the device (a feeder stops drawing paper) whatever happened.
    if (end == End::DeviceError && !sane_host::current(handle_)) {
        std::lock_guard<std::mutex> lock(mutex_);
        fault_ = sane_host::fault();
        faultKind_ = sane_host::faultKind();
    } else {
        sane_host::cancel(handle_);
    }
    finish(end);
}

// Reads one page into the queue. An empty feeder gives no page and ends the batch: Completed
// when pages came before, else a device error (nothing could be scanned).
SaneScanJob::End SaneScanJob::readPage(bool& gotPage) {
    gotPage = false;
    bytesRead_ = 0;
    bytesExpected_ = 0;
    SANE_Status status = sane_host::start(handle_);
    if (status == SANE_STATUS_NO_DOCS) {
        feederEmptied_ = true;
        if (pagesRead_ > 0) {
            return End::Completed; // the feeder ran out: the batch is over
        }
        return fail(SANE_STATUS_NO_DOCS, true);
    }
    if (status == SANE_STATUS_CANCELLED) {
        return End::Cancelled;
    }
    if (status != SANE_STATUS_GOOD) {
        return fail(status, true);
    }
    SANE_Parameters parameters{};
    status = sane_host::parameters(handle_, &parameters);
    if (status != SANE_STATUS_GOOD) {
        return fail(status, false);
    }
    double xDpi = batch_.xDpi;
    double yDpi = batch_.yDpi;
    if (batch_.deviceDpi) {
        batch_.deviceDpi(xDpi, yDpi);
    }
    SaneFrameReader reader;
    if (!parameters.last_frame || !reader.begin(parameters, xDpi, yDpi)) {
        // Separate colour planes, or a frame no image can hold.
        return fail(SANE_STATUS_UNSUPPORTED, false);
    }
    bytesExpected_ = reader.bytesExpected();
    for (;;) {
        if (stopRequested_) {
            return End::Cancelled;
        }
        SANE_Int length = 0;
        // As much as the host reads at once, where it read it: a page takes few round trips.
        const SANE_Byte* data = nullptr;
        status = sane_host::read(handle_, SANE_Int(sane_wire::kReadChunk), &data, &length);
        if (status == SANE_STATUS_EOF) {
            break;
        }
        if (status == SANE_STATUS_CANCELLED) {
            return End::Cancelled;
        }
        if (status != SANE_STATUS_GOOD) {
            return fail(status, false);
        }
        if (length < 0 || static_cast<size_t>(length) > sane_wire::kReadChunk ||
            !reader.append(data, static_cast<size_t>(length))) {
            return fail(SANE_STATUS_IO_ERROR, false);
        }
        bytesRead_ = reader.bytesReceived();
    }
    HGLOBAL image = reader.finish();
    if (image == nullptr) {
        return fail(SANE_STATUS_IO_ERROR, false);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pages_.push_back(image);
    }
    ++pagesRead_;
    gotPage = true;
    wake_.notify_all();
    return End::Completed;
}

SaneScanJob::End SaneScanJob::fail(SANE_Status status, bool atStart) {
    failure_ = status;
    failedAtStart_ = atStart;
    return End::DeviceError;
}

void SaneScanJob::finish(End end) {
    // The last word goes out before the batch is seen to be over: whoever waits for the end finds
    // it said.
    if (changed_) {
        changed_(pagesRead_, true);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        end_ = end;
    }
    wake_.notify_all();
}

} // namespace twaindsm
