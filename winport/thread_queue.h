// One thread's message queue: the messages posted to it, the quit request of PostQuitMessage and
// the pump the thread runs while it waits.
#pragma once

#include "winport.h"

#include <condition_variable>
#include <deque>
#include <mutex>

namespace winport {

// Which messages GetMessageA/PeekMessageA accept. WM_QUIT is accepted by every filter.
struct MessageFilter {
    HWND window = nullptr; // 0: any window
    UINT first = 0;        // first = last = 0: any message
    UINT last = 0;

    bool accepts(const MSG& msg) const;
};

class ThreadQueue {
public:
    // Appends a message. Once the owning thread has ended the message is dropped.
    void post(const MSG& msg);
    // Asks for WM_QUIT (wParam = exitCode) once no other accepted message is left.
    void postQuit(int exitCode, DWORD time);

    // Copies the first accepted message to out, taking it off the queue when remove is set.
    bool peek(const MessageFilter& filter, bool remove, MSG* out);
    // Takes the first accepted message, running the pump (or sleeping) until there is one.
    void get(const MessageFilter& filter, MSG* out);

    // pump 0 removes both functions.
    void setPump(WinportPumpProc pump, WinportPumpProc wake, void* context);
    // Rouses a waiting get() from another thread after a post.
    void wake();
    // The owning thread has ended: drop everything and accept nothing more.
    void close();

private:
    bool takeLocked(const MessageFilter& filter, bool remove, MSG* out);

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<MSG> messages_;
    bool quitPending_ = false;
    MSG quit_{};
    WinportPumpProc pump_ = nullptr;
    WinportPumpProc wake_ = nullptr;
    void* context_ = nullptr;
    bool closed_ = false;
};

} // namespace winport
