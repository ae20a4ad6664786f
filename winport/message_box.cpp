// Message boxes, routed to the host's handler.
#include "winport.h"

#include <cstdio>

WINPORT_API int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    return (type & MB_TYPEMASK) == MB_YESNO || (type & MB_TYPEMASK) == MB_YESNOCANCEL ? IDYES : IDOK;
}

WINPORT_API void WinportSetMessageBoxHandler(WinportMessageBoxHandler, void*) {}
