#include "bound_folder.h"

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// A folder is held by its path alone (O_PATH): enough to work below it, and a folder the user may
// pass through but not list still serves. With O_DIRECTORY, a link is refused (ENOTDIR).
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// 0 when name in the folder fd is a regular file; else ENOENT and the like, or EPERM for a link,
// a folder or anything else that is not a plain file.
int regularFile(int fd, const std::string& name) {
    struct stat info {};
    if (::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno;
    }
    return S_ISREG(info.st_mode) ? 0 : EPERM;
}

} // namespace

BoundFolder::~BoundFolder() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

BoundFolder::BoundFolder(BoundFolder&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(std::exchange(other.error_, EBADF)) {}

BoundFolder& BoundFolder::operator=(BoundFolder&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
        error_ = std::exchange(other.error_, EBADF);
    }
    return *this;
}

BoundFolder BoundFolder::at(const std::string& path) {
    if (path.empty()) {
        return BoundFolder(-1, ENOENT);
    }
    const int fd = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return BoundFolder(fd, fd < 0 ? errno : 0);
}

bool BoundFolder::isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

bool BoundFolder::isPlainRelative(std::string_view relative) {
    if (relative.empty()) {
        return false;
    }
    size_t start = 0;
    while (true) {
        const size_t slash = relative.find('/', start);
        if (!isPlainName(relative.substr(start, slash - start))) {
            return false;
        }
        if (slash == std::string_view::npos) {
            return true;
        }
        start = slash + 1;
    }
}

BoundFolder BoundFolder::below(std::string_view relative, bool create, mode_t mode) const {
    if (fd_ < 0) {
        return BoundFolder(-1, error_);
    }
    if (!isPlainRelative(relative)) {
        return BoundFolder(-1, EINVAL);
    }
    int current = ::dup(fd_);
    if (current < 0) {
        return BoundFolder(-1, errno);
    }
    size_t start = 0;
    while (start <= relative.size()) {
        const size_t slash = relative.find('/', start);
        const std::string step(relative.substr(start, slash - start));
        if (create && ::mkdirat(current, step.c_str(), mode) != 0 && errno != EEXIST) {
            const int error = errno;
            ::close(current);
            return BoundFolder(-1, error);
        }
        const int next = ::openat(current, step.c_str(), kFolderFlags);
        const int error = errno;
        ::close(current);
        if (next < 0) {
            // A link or a file at the step: not a folder of ours.
            return BoundFolder(-1, error == ELOOP ? ENOTDIR : error);
        }
        current = next;
        if (slash == std::string_view::npos) {
            break;
        }
        start = slash + 1;
    }
    return BoundFolder(current, 0);
}

bool BoundFolder::holdsFile(std::string_view name) const {
    return fd_ >= 0 && isPlainName(name) && regularFile(fd_, std::string(name)) == 0;
}

int BoundFolder::removeFile(std::string_view name) const {
    if (fd_ < 0 || !isPlainName(name)) {
        return EINVAL;
    }
    const std::string file(name);
    if (const int error = regularFile(fd_, file); error != 0) {
        return error;
    }
    return ::unlinkat(fd_, file.c_str(), 0) == 0 ? 0 : errno;
}

int BoundFolder::renameFile(std::string_view from, std::string_view to) const {
    if (fd_ < 0 || !isPlainName(from) || !isPlainName(to)) {
        return EINVAL;
    }
    const std::string source(from);
    const std::string target(to);
    if (const int error = regularFile(fd_, source); error != 0) {
        return error;
    }
    if (::renameat2(fd_, source.c_str(), fd_, target.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // A file system without the flag: test, then rename.
    struct stat info {};
    if (::fstatat(fd_, target.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        return EEXIST;
    }
    return ::renameat(fd_, source.c_str(), fd_, target.c_str()) == 0 ? 0 : errno;
}

int BoundFolder::openFile(std::string_view name, int flags, mode_t mode) const {
    if (fd_ < 0 || !isPlainName(name)) {
        errno = EINVAL;
        return -1;
    }
    return ::openat(fd_, std::string(name).c_str(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
}
