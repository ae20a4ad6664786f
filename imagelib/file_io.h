// Writing files so that a failure never leaves a partial one behind.
#pragma once

#include "save_target.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace pelmix {

// A file written under a temporary name beside its target and renamed over the target by
// commit(). Destroying an uncommitted one removes the temporary file. A target that is a symbolic
// link is replaced where the link points, so the link stays; an existing target keeps its
// permissions (and owner and group where the process may set them), and one the user may not
// write to is refused.
class AtomicFile {
public:
    explicit AtomicFile(const char* target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file; false when the target may not be replaced or the folder cannot
    // take it.
    bool create();
    // The temporary file's path (valid after create()).
    const std::string& tempPath() const { return temp_; }
    // A run of bytes to write.
    struct Bytes {
        const uint8_t* data;
        size_t size;
    };
    // Writes bytes to the temporary file, replacing what it held.
    bool write(const uint8_t* data, size_t size) { return write({{data, size}}); }
    // Writes the runs one after the other, replacing what the file held.
    bool write(std::initializer_list<Bytes> runs);
    // Gives the temporary file the target's permissions, flushes it to disk and renames it over
    // the target.
    bool commit();

private:
    std::string path_;
    SaveTarget target_;
    std::string temp_;
    bool committed_ = false;
};

// Writes bytes to path through an AtomicFile.
bool writeFileAtomically(const char* path, const std::vector<uint8_t>& bytes);

} // namespace pelmix
