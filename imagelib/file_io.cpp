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

} // namespace

bool readWholeFile(const char* path, size_t maxBytes, FileBytes& out) {
    out = FileBytes{};
    if (path == nullptr || *path == '\0') {
        return false;
    }
    Fd fd(::open(path, O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
        static_cast<uint64_t>(st.st_size) > maxBytes) {
        return false;
    }
    const size_t size = static_cast<size_t>(st.st_size);
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[size == 0 ? 1 : size]);
    if (!data) {
        return false;
    }
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd.get(), data.get() + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break; // the file shrank while we read it: take what is there
        }
        done += static_cast<size_t>(n);
    }
    out.data = std::move(data);
    out.size = done;
    return true;
}

AtomicFile::AtomicFile(const char* target) : target_(target ? target : "") {}

AtomicFile::~AtomicFile() {
    if (!temp_.empty() && !committed_) {
        ::unlink(temp_.c_str());
    }
}

bool AtomicFile::create() {
    if (target_.empty() || !temp_.empty()) {
        return false;
    }
    std::string pattern = target_ + ".pmxtmp.XXXXXX";
    Fd fd(::mkstemp(pattern.data()));
    if (fd.get() < 0) {
        return false;
    }
    temp_ = pattern;
    ::fchmod(
        fd.get(), 0666 & ~[] {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            return mask;
        }());
    return true;
}

bool AtomicFile::write(const uint8_t* data, size_t size) {
    if (temp_.empty() || committed_) {
        return false;
    }
    Fd fd(::open(temp_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (fd.get() < 0 || !writeAll(fd.get(), data, size)) {
        return false;
    }
    return ::close(fd.release()) == 0;
}

bool AtomicFile::commit() {
    if (temp_.empty() || committed_) {
        return false;
    }
    {
        Fd fd(::open(temp_.c_str(), O_RDONLY | O_CLOEXEC));
        if (fd.get() < 0 || ::fsync(fd.get()) != 0) {
            return false;
        }
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
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
