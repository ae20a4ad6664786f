#include "kept_page.h"

#include "base_folders.h"
#include "pelmix.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pmxacq {
namespace {

// Enough for any number of pages kept within one second of one process.
constexpr int kMostNameTries = 1000;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

// The user's folder for kept pages, "" when there is no way to name one.
std::string userFolder() {
    const std::string chosen = environment("ORVANA_KEPT_DIR");
    if (!chosen.empty()) {
        return withSlash(chosen);
    }
    const std::string data = winport::baseFolder(winport::BaseFolder::Data);
    return data.empty() ? std::string() : withSlash(data) + "orvana/kept/";
}

std::string temporaryFolder() {
    const std::string tmp = environment("TMPDIR");
    return withSlash(tmp.empty() ? std::string("/tmp") : tmp);
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Makes folder (ending in "/") and its missing parents, each private to the user.
bool makeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return isFolder(folder);
}

std::string timeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[32] = {};
    if (::localtime_r(&now, &local) == nullptr ||
        std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local) == 0) {
        return "00000000-000000";
    }
    return text;
}

// Claims a free name in folder with O_EXCL and writes the page over the empty claim, so no file
// already there is ever replaced.
std::string writeInto(const std::string& folder, HGLOBAL image, int32_t pageNumber) {
    char stem[96];
    std::snprintf(stem, sizeof stem, "ORVA_KEEP.%s.%ld.%04d", timeStamp().c_str(),
                  static_cast<long>(::getpid()), static_cast<int>(pageNumber));
    for (int n = 1; n <= kMostNameTries; ++n) {
        const std::string path =
            folder + stem + (n == 1 ? std::string() : "-" + std::to_string(n)) + ".bmp";
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return std::string();
        }
        ::close(fd);
        if (PelmixBmpFileSave(path.c_str(), image, "", "", 0) != 0) {
            return path;
        }
        ::unlink(path.c_str());
        return std::string();
    }
    return std::string();
}

} // namespace

std::string keepPage(HGLOBAL image, int32_t pageNumber) {
    const std::string user = userFolder();
    if (!user.empty() && makeFolders(user)) {
        std::string written = writeInto(user, image, pageNumber);
        if (!written.empty()) {
            return written;
        }
    }
    const std::string tmp = temporaryFolder();
    return isFolder(tmp) ? writeInto(tmp, image, pageNumber) : std::string();
}

} // namespace pmxacq
