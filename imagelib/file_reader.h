// A file read where it lies, a range at a time: nothing of it is held beyond what the caller
// asks for. Reads go through pread, so a file that shrinks or grows while it is read only gives
// short reads (never a fault, as a mapping of it would), and holes are known without reading them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelmix {

// Opens the regular file at path for reading, never waiting on a FIFO or a device in its place
// (which is refused, as a folder is); -1 when it is not one. A regular file under a lease (a
// network share's lock, which a non-blocking open refuses) is opened again the usual way.
int openRegularFile(const char* path);

class FileReader {
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Opens a regular file of at most maxBytes; false otherwise, at once (a FIFO, a device or a
    // folder is never waited for).
    bool open(const char* path, uint64_t maxBytes);
    bool isOpen() const { return fd_ >= 0; }
    // The size when the file was opened: what every reader takes the file to be.
    uint64_t size() const { return size_; }

    // Reads up to count bytes at offset into buffer; the bytes read, fewer at the end of the
    // file (or where it has since been cut short).
    size_t readAt(uint64_t offset, void* buffer, size_t count) const;
    // The first offset from offset on that may hold data: offset itself where the file system
    // cannot tell, size() when only a hole follows.
    uint64_t dataFrom(uint64_t offset) const;

private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

} // namespace pelmix
