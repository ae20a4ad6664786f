#include "frame_read_ahead.h"

#include <algorithm>
#include <chrono>
#include <poll.h>
#include <thread>

namespace {

// After a read that gave nothing: waits until the device has more, rather than asking again at
// once. With the descriptor the driver offers (the net backend's connection, a select-fd
// driver's pipe) this waits on it; false when its other end has closed and a read then still
// gave nothing, so a dropped connection ends the frame at once instead of being asked forever.
// Without one, a short pause that grows.
bool awaitData(SANE_Handle handle, int& idleReads, bool& hungUp) {
    SANE_Int fd = -1;
    if (sane_get_select_fd(handle, &fd) == SANE_STATUS_GOOD && fd >= 0) {
        if (hungUp) {
            return false;
        }
        pollfd watched{fd, POLLIN | POLLRDHUP, 0};
        if (::poll(&watched, 1, 200) > 0 &&
            (watched.revents & (POLLHUP | POLLRDHUP | POLLERR | POLLNVAL)) != 0) {
            hungUp = true; // what is still buffered is read first
        }
        return true;
    }
    ++idleReads;
    std::this_thread::sleep_for(
        std::chrono::milliseconds(std::min(1 << std::min(idleReads, 6), 50)));
    return true;
}

} // namespace

SANE_Status FrameReadAhead::fill(SANE_Handle handle, int k, size_t& filled) const {
    filled = 0;
    SANE_Byte* into = shared_ + size_t(k) * half_;
    const auto began = std::chrono::steady_clock::now();
    int idleReads = 0;
    bool hungUp = false;
    while (filled < half_) {
        SANE_Int length = 0;
        const SANE_Status status =
            sane_read(handle, into + filled, SANE_Int(half_ - filled), &length);
        if (status != SANE_STATUS_GOOD) {
            return status;
        }
        if (length <= 0) {
            if (filled > 0) {
                break; // what came is given now; the wait comes with the next part
            }
            if (!awaitData(handle, idleReads, hungUp)) {
                return SANE_STATUS_IO_ERROR;
            }
            continue;
        }
        idleReads = 0;
        hungUp = false;
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
