#include "pdf_file_sink.h"

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace pelmix {

namespace {

constexpr size_t kBlockBytes = size_t(1) << 16;

} // namespace

PdfFileSink::PdfFileSink(const std::string& path) : Pipeline("document file", nullptr) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
    if (fd_ < 0) {
        error_ = errno != 0 ? errno : EIO;
    }
    gathered_.reserve(kBlockBytes);
}

PdfFileSink::~PdfFileSink() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void PdfFileSink::fail(int error) {
    if (error_ == 0) {
        error_ = error != 0 ? error : EIO;
    }
    throw std::runtime_error("the document could not be written");
}

void PdfFileSink::writeAll(const unsigned char* data, size_t size) {
    if (fd_ < 0 || error_ != 0) {
        fail(error_);
    }
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            fail(n < 0 ? errno : ENOSPC);
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
}

void PdfFileSink::writeOut() {
    writeAll(gathered_.data(), gathered_.size());
    gathered_.clear();
}

void PdfFileSink::write(unsigned char const* data, size_t size) {
    if (fd_ < 0 || error_ != 0) {
        fail(error_);
    }
    // Small pieces (the objects' text) are gathered into blocks; a picture's data goes as it is.
    if (size >= kBlockBytes) {
        writeOut();
        writeAll(data, size);
        return;
    }
    if (gathered_.size() + size > kBlockBytes) {
        writeOut();
    }
    gathered_.insert(gathered_.end(), data, data + size);
}

void PdfFileSink::finish() {
    // Never throws: the writer also finishes its pipelines from destructors, while an earlier
    // failure unwinds. A failure here is remembered, and the next write stops the writer.
    if (error_ != 0) {
        return;
    }
    try {
        writeOut();
    } catch (const std::exception&) {
    }
}

bool PdfFileSink::close() {
    try {
        writeOut();
    } catch (const std::exception&) {
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::fsync(fd) != 0) {
        error_ = errno != 0 ? errno : EIO;
        ::close(fd);
        return false;
    }
    if (::close(fd) != 0) {
        error_ = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

} // namespace pelmix
