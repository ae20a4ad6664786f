#include "file_reader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelmix {

int openRegularFile(const char* path) {
    if (path == nullptr || *path == '\0') {
        return -1;
    }
    int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    struct stat st {};
    if (fd < 0 && (errno == EWOULDBLOCK || errno == EAGAIN) && ::stat(path, &st) == 0 &&
        S_ISREG(st.st_mode)) {
        fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY);
    }
    if (fd < 0) {
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

FileReader::~FileReader() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FileReader::open(const char* path, uint64_t maxBytes) {
    if (fd_ >= 0) {
        return false;
    }
    fd_ = openRegularFile(path);
    if (fd_ < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || st.st_size < 0 || static_cast<uint64_t>(st.st_size) > maxBytes) {
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    size_ = static_cast<uint64_t>(st.st_size);
    return true;
}

size_t FileReader::readAt(uint64_t offset, void* buffer, size_t count) const {
    if (fd_ < 0 || offset >= size_) {
        return 0;
    }
    if (count > size_ - offset) {
        count = static_cast<size_t>(size_ - offset);
    }
    auto* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break; // the file shrank since it was opened: what is left is all there is
        }
        done += static_cast<size_t>(n);
    }
    return done;
}

uint64_t FileReader::dataFrom(uint64_t offset) const {
    if (fd_ < 0 || offset >= size_) {
        return size_;
    }
    const off_t data = ::lseek(fd_, static_cast<off_t>(offset), SEEK_DATA);
    if (data < 0) {
        return errno == ENXIO ? size_ : offset;
    }
    return static_cast<uint64_t>(data) < size_ ? static_cast<uint64_t>(data) : size_;
}

} // namespace pelmix
