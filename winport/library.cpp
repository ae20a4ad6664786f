// Dynamic loading over dlopen. Every module handed out is remembered with its load count, so a
// handle that did not come from LoadLibraryA (or was freed as often as it was loaded) is refused
// instead of being passed to dlclose/dlsym, which would crash on it.
#include "last_error.h"
#include "winport.h"

#include <cctype>
#include <dlfcn.h>
#include <mutex>
#include <string>
#include <unordered_map>

namespace {

class ModuleTable {
public:
    std::mutex mutex;
    std::unordered_map<void*, unsigned> counts;
};

ModuleTable& modules() {
    static ModuleTable* instance = new ModuleTable; // lives until the process ends
    return *instance;
}

bool endsWithDll(const std::string& name) {
    static const char suffix[] = ".dll";
    const size_t n = sizeof(suffix) - 1;
    if (name.size() <= n) {
        return false;
    }
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[name.size() - n + i]);
        if (std::tolower(c) != suffix[i]) {
            return false;
        }
    }
    return true;
}

void* openModule(const char* fileName) {
    void* module = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (module != nullptr) {
        return module;
    }
    const std::string name(fileName);
    if (!endsWithDll(name)) {
        return nullptr;
    }
    // "<dir>/NAME.DLL" is built here as "<dir>/libNAME.so" (or, less often, "<dir>/NAME.so").
    const size_t slash = name.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
    const size_t stemStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string stem = name.substr(stemStart, name.size() - 4 - stemStart);
    if (stem.empty()) {
        return nullptr;
    }
    for (const std::string& candidate : {dir + "lib" + stem + ".so", dir + stem + ".so"}) {
        module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module != nullptr) {
            return module;
        }
    }
    return nullptr;
}

} // namespace

WINPORT_API HMODULE LoadLibraryA(LPCSTR fileName) {
    if (fileName == nullptr || *fileName == '\0') {
        winport::setLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // dlopen runs the module's constructors, which may load libraries themselves: no lock here.
    void* module = openModule(fileName);
    if (module == nullptr) {
        winport::setLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ModuleTable& t = modules();
    std::lock_guard<std::mutex> lock(t.mutex);
    ++t.counts[module];
    return static_cast<HMODULE>(module);
}

WINPORT_API FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    ModuleTable& t = modules();
    std::lock_guard<std::mutex> lock(t.mutex);
    // Held across dlsym so that a concurrent FreeLibrary cannot unload the module meanwhile.
    if (module == nullptr || t.counts.find(module) == t.counts.end()) {
        winport::setLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (procName == nullptr) {
        winport::setLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    void* symbol = dlsym(module, procName);
    if (symbol == nullptr) {
        winport::setLastError(ERROR_PROC_NOT_FOUND);
    }
    return reinterpret_cast<FARPROC>(symbol);
}

WINPORT_API BOOL FreeLibrary(HMODULE module) {
    ModuleTable& t = modules();
    {
        std::lock_guard<std::mutex> lock(t.mutex);
        auto it = t.counts.find(module);
        if (module == nullptr || it == t.counts.end()) {
            winport::setLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        if (--it->second == 0) {
            t.counts.erase(it);
        }
    }
    // Outside the lock: dlclose runs destructors, which may free libraries of their own.
    // Each LoadLibraryA was one dlopen, so the counts of dlopen and of the table stay equal.
    if (dlclose(module) != 0) {
        winport::setLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
