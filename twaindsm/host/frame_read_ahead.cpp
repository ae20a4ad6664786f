#include "frame_read_ahead.h"

#include <algorithm>
#include <chrono>

SANE_Status FrameReadAhead::fill(SANE_Handle handle, int k, size_t& filled) const {
    filled = 0;
    SANE_Byte* into = shared_ + size_t(k) * half_;
    const auto began = std::chrono::steady_clock::now();
    while (filled < half_) {
        SANE_Int length = 0;
        const SANE_Status status =
            sane_read(handle, into + filled, SANE_Int(half_ - filled), &length);
        if (status != SANE_STATUS_GOOD) {
            return status;
        }
        filled += size_t(std::clamp<SANE_Int>(length, 0, SANE_Int(half_ - filled)));
        // A slow device still shows its progress.
        if (filled > 0 &&
            std::chrono::steady_clock::now() - began > std::chrono::milliseconds(50)) {
            break;
        }
    }
    return SANE_STATUS_GOOD;
}

void FrameReadAhead::run(SANE_Handle handle) {
    for (int k = 0;; k ^= 1) {
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || state_[k] == Half::Free; });
            if (stopping_) {
                return;
            }
        }
        size_t filled = 0;
        const SANE_Status status = fill(handle, k, filled);
        std::unique_lock lock(mutex_);
        // Bytes before an end are given first; the end comes with the next part.
        state_[k] = Half::Ready;
        status_[k] = filled > 0 ? SANE_STATUS_GOOD : status;
        size_[k] = filled;
        changed_.notify_all();
        if (status != SANE_STATUS_GOOD && filled > 0) {
            changed_.wait(lock, [&] { return stopping_ || state_[k ^ 1] == Half::Free; });
            if (stopping_) {
                return;
            }
            state_[k ^ 1] = Half::Ready;
            status_[k ^ 1] = status;
            size_[k ^ 1] = 0;
            changed_.notify_all();
        }
        if (status != SANE_STATUS_GOOD) {
            return;
        }
    }
}

SANE_Status FrameReadAhead::next(SANE_Handle handle, size_t& offset, size_t& size) {
    offset = 0;
    size = 0;
    if (!thread_.joinable()) {
        stopping_ = false;
        state_[0] = state_[1] = Half::Free;
        given_ = -1;
        wanted_ = 0;
        thread_ = std::thread([this, handle] { run(handle); });
    }
    SANE_Status status = SANE_STATUS_GOOD;
    {
        std::unique_lock lock(mutex_);
        if (given_ >= 0) {
            state_[given_] = Half::Free;
            changed_.notify_all();
        }
        changed_.wait(lock, [&] { return state_[wanted_] == Half::Ready; });
        status = status_[wanted_];
        size = size_[wanted_];
        offset = size_t(wanted_) * half_;
        given_ = wanted_;
        wanted_ ^= 1;
    }
    if (status != SANE_STATUS_GOOD) {
        stop(); // the frame is over: the thread has ended
    }
    return status;
}

void FrameReadAhead::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}
