// The "Windows folder": where the data source manager is looked for. By default that is the
// program folder, which is where this library lives.
#include "last_error.h"
#include "winport.h"

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

std::string libraryFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&GetWindowsDirectoryA), &info) == 0 ||
        info.dli_fname == nullptr || *info.dli_fname == '\0') {
        return std::string();
    }
    std::string path(info.dli_fname);
    if (path.front() != '/') {
        // Loaded by a relative name: anchor it at the current folder rather than resolving
        // links, so that a link to the library still names the program folder.
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(path, error);
        if (error) {
            return std::string();
        }
        path = absolute.lexically_normal().string();
    }
    const size_t slash = path.rfind('/');
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string windowsFolder() {
    const char* configured = std::getenv("ORVANA_WINDOWS_DIR");
    std::string folder =
        configured != nullptr && *configured != '\0' ? std::string(configured) : libraryFolder();
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

} // namespace

WINPORT_API UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    const std::string folder = windowsFolder();
    if (folder.empty()) {
        winport::setLastError(ERROR_FILE_NOT_FOUND);
        if (buffer != nullptr && size > 0) {
            buffer[0] = '\0';
        }
        return 0;
    }
    const UINT length = static_cast<UINT>(folder.size());
    if (buffer == nullptr || size <= length) {
        if (buffer != nullptr && size > 0) {
            buffer[0] = '\0';
        }
        return length + 1;
    }
    std::memcpy(buffer, folder.c_str(), folder.size() + 1);
    return length;
}
