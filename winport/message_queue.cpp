// The message queue calls: which thread's queue a message goes to, and window procedures.
#include "thread_queue.h"
#include "winport.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

using winport::MessageFilter;
using winport::ThreadQueue;
using QueuePtr = std::shared_ptr<ThreadQueue>;

struct Window {
    QueuePtr queue; // 0: not bound, messages go to the user-interface thread
    WNDPROC proc = nullptr;
};

// Posters keep queues alive through these shared pointers, so posting to a thread that has
// ended is safe; its closed queue just drops the message.
class Tables {
public:
    std::mutex mutex;
    std::unordered_map<HWND, Window> windows;
    QueuePtr userInterface;
    std::atomic<bool> userInterfaceChosen{false};
};

Tables& tables() {
    static Tables* instance = new Tables; // lives until the process ends
    return *instance;
}

// Closes the thread's queue when the thread ends.
struct QueueOwner {
    QueuePtr queue;
    ~QueueOwner() {
        if (queue) {
            queue->close();
        }
    }
};

thread_local QueueOwner currentThread;

// The calling thread's queue, created on first use. A thread that gets it through one of the
// receiving calls becomes the user-interface thread if there is none yet.
const QueuePtr& ownQueue(bool receiving) {
    if (!currentThread.queue) {
        currentThread.queue = std::make_shared<ThreadQueue>();
    }
    Tables& t = tables();
    if (receiving && !t.userInterfaceChosen.load()) {
        std::lock_guard<std::mutex> lock(t.mutex);
        if (!t.userInterface) {
            t.userInterface = currentThread.queue;
            t.userInterfaceChosen = true;
        }
    }
    return currentThread.queue;
}

QueuePtr userInterfaceQueue() {
    ownQueue(true);
    Tables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    return t.userInterface;
}

QueuePtr queueOfWindow(HWND window) {
    if (window == nullptr) {
        return ownQueue(false);
    }
    {
        Tables& t = tables();
        std::lock_guard<std::mutex> lock(t.mutex);
        auto it = t.windows.find(window);
        if (it != t.windows.end() && it->second.queue) {
            return it->second.queue;
        }
        if (t.userInterface) {
            return t.userInterface;
        }
    }
    return userInterfaceQueue();
}

DWORD millisecondsSinceStart() {
    static const auto start = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<DWORD>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

} // namespace

WINPORT_API BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    if (msg == nullptr) {
        return -1;
    }
    ownQueue(true)->get(MessageFilter{window, filterMin, filterMax}, msg);
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

WINPORT_API BOOL PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax,
                              UINT removeMsg) {
    if (msg == nullptr) {
        return FALSE;
    }
    const MessageFilter filter{window, filterMin, filterMax};
    return ownQueue(true)->peek(filter, (removeMsg & PM_REMOVE) != 0, msg) ? TRUE : FALSE;
}

WINPORT_API BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = millisecondsSinceStart();
    const QueuePtr target = queueOfWindow(window);
    target->post(msg);
    if (target != currentThread.queue) {
        target->wake();
    }
    return TRUE;
}

// No keyboard messages are generated here, so there is never anything to translate.
WINPORT_API BOOL TranslateMessage(const MSG*) {
    return FALSE;
}

WINPORT_API LRESULT DispatchMessageA(const MSG* msg) {
    if (msg == nullptr) {
        return 0;
    }
    WNDPROC proc = nullptr;
    {
        Tables& t = tables();
        std::lock_guard<std::mutex> lock(t.mutex);
        auto it = t.windows.find(msg->hwnd);
        if (it != t.windows.end()) {
            proc = it->second.proc;
        }
    }
    // Unlocked: window procedures post, dispatch and open message boxes of their own.
    return proc != nullptr ? proc(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

WINPORT_API void PostQuitMessage(int exitCode) {
    ownQueue(false)->postQuit(exitCode, millisecondsSinceStart());
}

WINPORT_API void WinportSetMessagePump(WinportPumpProc pump, WinportPumpProc wake, void* context) {
    ownQueue(true)->setPump(pump, wake, context);
}

WINPORT_API void WinportBindWindow(HWND window) {
    if (window == nullptr) {
        return;
    }
    const QueuePtr queue = ownQueue(true);
    Tables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    t.windows[window].queue = queue;
}

WINPORT_API void WinportUnbindWindow(HWND window) {
    Tables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    t.windows.erase(window);
}

WINPORT_API void WinportSetWindowProc(HWND window, WNDPROC proc) {
    if (window == nullptr) {
        return;
    }
    Tables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.windows.find(window);
    if (proc != nullptr) {
        t.windows[window].proc = proc;
    } else if (it != t.windows.end()) {
        it->second.proc = nullptr;
        if (!it->second.queue) {
            t.windows.erase(it);
        }
    }
}
