#include "save_target.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pelmix {

namespace {

// As the kernel's own limit on links followed while resolving one path.
constexpr int kMostLinks = 40;
constexpr char kTempMarker[] = ".pmxtmp.XXXXXX";
constexpr long kUsualNameMax = 255;

// The folder part of path with its trailing "/", or "" when path has no folder.
std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool readLink(const std::string& path, std::string& out) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0) {
            return false;
        }
        if (static_cast<size_t>(n) < buffer.size()) {
            out.assign(buffer.data(), static_cast<size_t>(n));
            return !out.empty();
        }
        buffer.resize(buffer.size() * 2);
    }
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Root may write to any file; a file that has no write bit at all is still treated as one the
// user meant to protect.
bool mayReplace(const std::string& path, const struct stat& st) {
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        return false;
    }
    return ::geteuid() != 0 || (st.st_mode & 0222) != 0;
}

// The longest prefix of name of at most bytes bytes that does not end inside a UTF-8 character.
std::string cutAtCharacter(const std::string& name, size_t bytes) {
    if (name.size() <= bytes) {
        return name;
    }
    size_t cut = bytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return name.substr(0, cut);
}

} // namespace

bool inspectSaveTarget(const std::string& path, SaveTarget& out) {
    out = SaveTarget{};
    if (path.empty()) {
        return false;
    }
    std::string current = path;
    struct stat st {};
    bool found = false;
    for (int links = 0;; ++links) {
        found = ::lstat(current.c_str(), &st) == 0;
        if (!found || !S_ISLNK(st.st_mode)) {
            break;
        }
        std::string link;
        if (links == kMostLinks || !readLink(current, link)) {
            return false;
        }
        current = link.front() == '/' ? link : folderOf(current) + link;
    }
    out.path = current;
    out.folder = folderOf(current);
    out.name = current.substr(out.folder.size());
    if (out.name.empty()) {
        return false;
    }
    out.exists = found;
    if (found) {
        out.writable = mayReplace(current, st);
        out.mode = st.st_mode & 07777;
        out.owner = st.st_uid;
        out.group = st.st_gid;
    } else {
        out.mode = newFileMode();
    }
    return true;
}

std::string tempPatternFor(const SaveTarget& target) {
    long nameMax = ::pathconf(target.folder.empty() ? "." : target.folder.c_str(), _PC_NAME_MAX);
    if (nameMax <= 0) {
        nameMax = kUsualNameMax;
    }
    const size_t fixed = 1 + sizeof kTempMarker - 1; // the leading dot and the marker
    const size_t room =
        static_cast<size_t>(nameMax) > fixed ? static_cast<size_t>(nameMax) - fixed : 0;
    return target.folder + "." + cutAtCharacter(target.name, room) + kTempMarker;
}

} // namespace pelmix
