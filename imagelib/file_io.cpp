#include "file_io.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelmix {

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

bool writeAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Hands the file to the existing target's owner and group as far as the process may: a user who
// is not root can only pass it to another of their groups. Changing the owner clears set-id bits,
// so this comes before the mode is set.
void takeOwnership(int fd, const SaveTarget& target) {
    if (!target.exists || (target.owner == ::geteuid() && target.group == ::getegid())) {
        return;
    }
    if (::fchown(fd, target.owner, target.group) == 0) {
        return;
    }
    // Where even the group cannot be set, the file stays the process's own; the save still holds.
    const int groupOnly = ::fchown(fd, static_cast<uid_t>(-1), target.group);
    (void)groupOnly;
}

} // namespace

AtomicFile::AtomicFile(const char* target) : path_(target ? target : "") {}

AtomicFile::~AtomicFile() {
    if (!temp_.empty() && !committed_) {
        ::unlink(temp_.c_str());
    }
}

bool AtomicFile::create() {
    if (!temp_.empty() || !inspectSaveTarget(path_, target_) || !target_.writable) {
        return false;
    }
    std::string pattern = tempPatternFor(target_);
    Fd fd(::mkstemp(pattern.data()));
    if (fd.get() < 0) {
        return false;
    }
    temp_ = pattern;
    return true;
}

bool AtomicFile::write(std::initializer_list<Bytes> runs) {
    if (temp_.empty() || committed_) {
        return false;
    }
    Fd fd(::open(temp_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (fd.get() < 0) {
        return false;
    }
    for (const Bytes& run : runs) {
        if (!writeAll(fd.get(), run.data, run.size)) {
            return false;
        }
    }
    return ::close(fd.release()) == 0;
}

bool AtomicFile::commit() {
    if (temp_.empty() || committed_) {
        return false;
    }
    {
        // The temporary file keeps mkstemp's private mode while it is written (the TIFF writer
        // opens it again by name); it takes the target's only now.
        Fd fd(::open(temp_.c_str(), O_RDONLY | O_CLOEXEC));
        if (fd.get() < 0) {
            return false;
        }
        takeOwnership(fd.get(), target_);
        if (::fchmod(fd.get(), target_.mode) != 0 || ::fsync(fd.get()) != 0) {
            return false;
        }
    }
    if (::rename(temp_.c_str(), target_.path.c_str()) != 0) {
        return false;
    }
    committed_ = true;
    return true;
}

bool writeFileAtomically(const char* path, const std::vector<uint8_t>& bytes) {
    AtomicFile file(path);
    return file.create() && file.write(bytes.data(), bytes.size()) && file.commit();
}

} // namespace pelmix
