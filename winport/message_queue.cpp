// Per-thread message queues with a host-registered pump.
#include "winport.h"

WINPORT_API BOOL GetMessageA(LPMSG, HWND, UINT, UINT) { return -1; }
WINPORT_API BOOL PeekMessageA(LPMSG, HWND, UINT, UINT, UINT) { return FALSE; }
WINPORT_API BOOL PostMessageA(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
WINPORT_API BOOL TranslateMessage(const MSG*) { return FALSE; }
WINPORT_API LRESULT DispatchMessageA(const MSG*) { return 0; }
WINPORT_API void PostQuitMessage(int) {}
WINPORT_API void WinportSetMessagePump(WinportPumpProc, WinportPumpProc, void*) {}
WINPORT_API void WinportBindWindow(HWND) {}
WINPORT_API void WinportUnbindWindow(HWND) {}
WINPORT_API void WinportSetWindowProc(HWND, WNDPROC) {}
