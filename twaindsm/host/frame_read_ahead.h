// One frame read ahead into the two halves of the memory shared with the manager: while the
// manager turns one half into lines of its page, a thread of the host reads the driver's next
// bytes into the other, so the driver never waits for the manager.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <sane/sane.h>
#include <thread>

class FrameReadAhead {
public:
    // shared: two halves of half bytes each.
    FrameReadAhead(SANE_Byte* shared, size_t half) : shared_(shared), half_(half) {}
    ~FrameReadAhead() { stop(); }
    FrameReadAhead(const FrameReadAhead&) = delete;
    FrameReadAhead& operator=(const FrameReadAhead&) = delete;

    // The next part of the frame of handle: its place in the shared memory and its size, or the
    // status that ended the frame (size 0). The part given before is free again once this is
    // asked for. Reading starts with the first call after stop().
    SANE_Status next(SANE_Handle handle, size_t& offset, size_t& size);
    // Ends the reading. A driver blocked in a read must be cancelled first.
    void stop();

private:
    enum class Half { Free, Ready };
    void run(SANE_Handle handle);
    // Fills half k: up to half_ bytes, no longer than a moment once some are there.
    SANE_Status fill(SANE_Handle handle, int k, size_t& filled) const;

    SANE_Byte* shared_;
    size_t half_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    Half state_[2] = {Half::Free, Half::Free};
    SANE_Status status_[2] = {SANE_STATUS_GOOD, SANE_STATUS_GOOD};
    size_t size_[2] = {0, 0};
    int given_ = -1; // the half the manager holds
    int wanted_ = 0; // the half it gets next
    bool stopping_ = false;
};
