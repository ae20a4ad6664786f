// Dynamic loading over dlopen.
#include "last_error.h"
#include "winport.h"

#include <dlfcn.h>

WINPORT_API HMODULE LoadLibraryA(LPCSTR fileName) {
    if (fileName == nullptr || *fileName == '\0') {
        winport::setLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    void* module = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        winport::setLastError(ERROR_MOD_NOT_FOUND);
    }
    return static_cast<HMODULE>(module);
}

WINPORT_API FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    if (module == nullptr || procName == nullptr) {
        winport::setLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    void* symbol = dlsym(module, procName);
    if (symbol == nullptr) {
        winport::setLastError(ERROR_PROC_NOT_FOUND);
    }
    return reinterpret_cast<FARPROC>(symbol);
}

WINPORT_API BOOL FreeLibrary(HMODULE module) {
    if (module == nullptr) {
        winport::setLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return dlclose(module) == 0 ? TRUE : FALSE;
}
