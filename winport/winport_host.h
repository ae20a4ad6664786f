/*
 * The hooks a host program registers with winport. They have no counterpart on Windows, where
 * the system owns message boxes, the message loop and window procedures; there they do nothing.
 */
#ifndef ORVANA_WINPORT_HOST_H
#define ORVANA_WINPORT_HOST_H

#ifdef _WIN32

typedef int (*WinportMessageBoxHandler)(void* context, HWND owner, LPCSTR text, LPCSTR caption,
                                        UINT type);
typedef void (*WinportPumpProc)(void* context);
static inline void WinportSetMessageBoxHandler(WinportMessageBoxHandler h, void* c) {
    (void)h;
    (void)c;
}
static inline void WinportSetMessagePump(WinportPumpProc p, WinportPumpProc w, void* c) {
    (void)p;
    (void)w;
    (void)c;
}
static inline void WinportBindWindow(HWND w) {
    (void)w;
}
static inline void WinportUnbindWindow(HWND w) {
    (void)w;
}
static inline void WinportSetWindowProc(HWND w, WNDPROC p) {
    (void)w;
    (void)p;
}

#else

/* Answers a MessageBoxA call: returns IDOK, IDCANCEL, IDYES or IDNO. */
typedef int (*WinportMessageBoxHandler)(void* context, HWND owner, LPCSTR text, LPCSTR caption,
                                        UINT type);

/* Registers the process-wide message-box handler; 0 restores the default (stderr, IDOK/IDYES). */
WINPORT_API void WinportSetMessageBoxHandler(WinportMessageBoxHandler handler, void* context);

typedef void (*WinportPumpProc)(void* context);

/*
 * Registers, for the calling thread's queue, the pump that GetMessageA runs while the queue is
 * empty (one pass of the host's event loop, waiting for events), and the wake function that a
 * PostMessageA from another thread calls so that a waiting pump returns. pump 0 removes both;
 * GetMessageA then sleeps until a message is posted.
 */
WINPORT_API void WinportSetMessagePump(WinportPumpProc pump, WinportPumpProc wake, void* context);

/* Makes the calling thread's queue the one that receives messages posted to the window. */
WINPORT_API void WinportBindWindow(HWND window);
/* Forgets the window's thread and window procedure. */
WINPORT_API void WinportUnbindWindow(HWND window);

/* The procedure DispatchMessageA calls for messages of the window; 0 removes it. */
WINPORT_API void WinportSetWindowProc(HWND window, WNDPROC proc);

#endif /* _WIN32 */

#endif /* ORVANA_WINPORT_HOST_H */
