// Message boxes, routed to the host's handler.
#include "winport.h"

#include <cstdio>
#include <mutex>

namespace {

struct Handler {
    std::mutex mutex;
    WinportMessageBoxHandler handler = nullptr;
    void* context = nullptr;
};

Handler& registered() {
    static Handler* instance = new Handler; // lives until the process ends
    return *instance;
}

// Without a host there is nobody to ask: say it on stderr and take the positive answer, so that
// a question such as "continue?" does not stop the work.
int answerOnStderr(LPCSTR text, LPCSTR caption, UINT type) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    const UINT buttons = type & MB_TYPEMASK;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

} // namespace

WINPORT_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    text = text != nullptr ? text : "";
    caption = caption != nullptr ? caption : "";
    WinportMessageBoxHandler handler = nullptr;
    void* context = nullptr;
    {
        Handler& h = registered();
        std::lock_guard<std::mutex> lock(h.mutex);
        handler = h.handler;
        context = h.context;
    }
    // The handler runs unlocked: it usually shows a modal dialog and may itself show another.
    if (handler == nullptr) {
        return answerOnStderr(text, caption, type);
    }
    return handler(context, owner, text, caption, type);
}

WINPORT_API void WinportSetMessageBoxHandler(WinportMessageBoxHandler handler, void* context) {
    Handler& h = registered();
    std::lock_guard<std::mutex> lock(h.mutex);
    h.handler = handler;
    h.context = handler != nullptr ? context : nullptr;
}
