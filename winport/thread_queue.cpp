#include "thread_queue.h"

namespace winport {

bool MessageFilter::accepts(const MSG& msg) const {
    if (msg.message == WM_QUIT) {
        return true;
    }
    if (window != nullptr && msg.hwnd != window) {
        return false;
    }
    if (first == 0 && last == 0) {
        return true;
    }
    return msg.message >= first && msg.message <= last;
}

void ThreadQueue::post(const MSG& msg) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!closed_) {
        messages_.push_back(msg);
    }
}

void ThreadQueue::postQuit(int exitCode, DWORD time) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (closed_) {
        return;
    }
    quitPending_ = true;
    quit_ = MSG{};
    quit_.message = WM_QUIT;
    quit_.wParam = static_cast<WPARAM>(exitCode);
    quit_.time = time;
}

bool ThreadQueue::takeLocked(const MessageFilter& filter, bool remove, MSG* out) {
    for (auto it = messages_.begin(); it != messages_.end(); ++it) {
        if (filter.accepts(*it)) {
            *out = *it;
            if (remove) {
                messages_.erase(it);
            }
            return true;
        }
    }
    // The quit request waits behind every message the caller could still take.
    if (quitPending_) {
        *out = quit_;
        if (remove) {
            quitPending_ = false;
        }
        return true;
    }
    return false;
}

bool ThreadQueue::peek(const MessageFilter& filter, bool remove, MSG* out) {
    std::lock_guard<std::mutex> lock(mutex_);
    return takeLocked(filter, remove, out);
}

void ThreadQueue::get(const MessageFilter& filter, MSG* out) {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!takeLocked(filter, true, out)) {
        if (pump_ != nullptr) {
            // The pump waits for the host's events and may post or peek itself: run it unlocked.
            const WinportPumpProc pump = pump_;
            void* context = context_;
            lock.unlock();
            pump(context);
            lock.lock();
        } else {
            arrived_.wait(lock);
        }
    }
}

void ThreadQueue::setPump(WinportPumpProc pump, WinportPumpProc wake, void* context) {
    std::lock_guard<std::mutex> lock(mutex_);
    pump_ = pump;
    wake_ = pump != nullptr ? wake : nullptr;
    context_ = pump != nullptr ? context : nullptr;
}

void ThreadQueue::wake() {
    WinportPumpProc wake = nullptr;
    void* context = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        wake = wake_;
        context = context_;
    }
    if (wake != nullptr) {
        wake(context);
    }
    arrived_.notify_all();
}

void ThreadQueue::close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    messages_.clear();
    quitPending_ = false;
    pump_ = nullptr;
    wake_ = nullptr;
    context_ = nullptr;
}

} // namespace winport
