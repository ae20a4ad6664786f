/*
 * winport: the few Win32 kernel and user calls that the acquisition library and the TWAIN data
 * source manager use, for systems other than Windows. On Windows this header simply includes
 * <windows.h> and the real API is used.
 *
 * What the calls mean here:
 * - Global memory: every block is reached through a handle (pointer-sized, never the block's
 *   address). A handle that was never returned by GlobalAlloc or was freed is refused: the call
 *   fails with ERROR_INVALID_HANDLE and nothing is dereferenced. GMEM_FIXED blocks are handles too.
 * - Dynamic loading: LoadLibraryA/GetProcAddress/FreeLibrary over dlopen. A name ending in ".DLL"
 *   that does not exist as given is looked for as "lib<name>.so" and "<name>.so" in the same
 *   folder, so "<dir>/TWAIN_32.DLL" finds "<dir>/libTWAIN_32.so".
 * - GetWindowsDirectoryA: the folder that holds the data source manager: the folder named by the
 *   environment variable ORVANA_WINDOWS_DIR when it is set and not empty, else the folder this
 *   library was loaded from (the program folder). No trailing separator, as on Windows.
 * - MessageBoxA: handed to the handler the host registered (winport_host.h); without one the
 *   text is written to stderr and the answer is IDOK (IDYES for MB_YESNO boxes).
 * - Message queue: one queue per thread. Windows belong to the thread that bound them
 *   (WinportBindWindow); a message posted to a window nobody bound goes to the queue of the first
 *   thread that used a queue (the user-interface thread), a message posted to no window (0) to the
 *   calling thread. While GetMessageA finds its queue empty it runs the pump the host registered
 *   for that thread, or else sleeps until a message arrives. DispatchMessageA calls the window
 *   procedure registered for the message's window.
 */
#ifndef ORVANA_WINPORT_H
#define ORVANA_WINPORT_H

#include <stddef.h>
#include <stdint.h>

#ifdef _WIN32
#include <windows.h>
#define WINPORT_API
#else

#ifdef __cplusplus
#define WINPORT_EXTERN_C extern "C"
#else
#define WINPORT_EXTERN_C
#endif
#define WINPORT_API WINPORT_EXTERN_C __attribute__((visibility("default")))

#define WINAPI
#define CALLBACK
#define APIENTRY

typedef int BOOL;
typedef unsigned int UINT;
typedef uint32_t DWORD;
typedef uint16_t WORD;
typedef uint8_t BYTE;
typedef int32_t LONG;
typedef size_t SIZE_T;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef void* HANDLE;
typedef void* HGLOBAL;
typedef void* LPVOID;
typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HMODULE;
typedef HMODULE HINSTANCE;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef intptr_t (*FARPROC)(void);

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#define MAX_PATH 260

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;

typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);

/* Global memory flags. */
#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
#define GMEM_LOCKCOUNT 0x00FFu
#define GMEM_DISCARDED 0x4000u
#define GMEM_INVALID_HANDLE 0x8000u

/* Errors reported by GetLastError. */
#define ERROR_SUCCESS 0u
#define NO_ERROR 0u
#define ERROR_FILE_NOT_FOUND 2u
#define ERROR_INVALID_HANDLE 6u
#define ERROR_NOT_ENOUGH_MEMORY 8u
#define ERROR_INVALID_PARAMETER 87u
#define ERROR_INSUFFICIENT_BUFFER 122u
#define ERROR_MOD_NOT_FOUND 126u
#define ERROR_PROC_NOT_FOUND 127u
#define ERROR_NOT_LOCKED 158u

/* Messages. */
#define WM_NULL 0x0000u
#define WM_CLOSE 0x0010u
#define WM_QUIT 0x0012u
#define WM_USER 0x0400u
#define PM_NOREMOVE 0x0000u
#define PM_REMOVE 0x0001u

/* Message boxes. */
#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_YESNOCANCEL 0x00000003u
#define MB_YESNO 0x00000004u
#define MB_ICONHAND 0x00000010u
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040u
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000u
#define MB_DEFBUTTON2 0x00000100u
#define MB_DEFBUTTON3 0x00000200u
#define MB_APPLMODAL 0x00000000u
#define MB_SYSTEMMODAL 0x00001000u
#define MB_TASKMODAL 0x00002000u
#define MB_TYPEMASK 0x0000000Fu
#define MB_ICONMASK 0x000000F0u
#define MB_DEFMASK 0x00000F00u
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

WINPORT_API DWORD GetLastError(void);
WINPORT_API void SetLastError(DWORD error);

WINPORT_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
WINPORT_API HGLOBAL GlobalReAlloc(HGLOBAL mem, SIZE_T bytes, UINT flags);
WINPORT_API LPVOID GlobalLock(HGLOBAL mem);
WINPORT_API BOOL GlobalUnlock(HGLOBAL mem);
WINPORT_API UINT GlobalFlags(HGLOBAL mem);
WINPORT_API SIZE_T GlobalSize(HGLOBAL mem);
WINPORT_API HGLOBAL GlobalFree(HGLOBAL mem);

WINPORT_API HMODULE LoadLibraryA(LPCSTR fileName);
WINPORT_API FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
WINPORT_API BOOL FreeLibrary(HMODULE module);

WINPORT_API UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);

WINPORT_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

WINPORT_API BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax);
WINPORT_API BOOL PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax,
                              UINT removeMsg);
WINPORT_API BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WINPORT_API BOOL TranslateMessage(const MSG* msg);
WINPORT_API LRESULT DispatchMessageA(const MSG* msg);
WINPORT_API void PostQuitMessage(int exitCode);

#endif /* _WIN32 */

#include "winport_host.h"

#endif /* ORVANA_WINPORT_H */
