// A file of its own in the temporary folder (TMPDIR, else /tmp), removed when the owner goes:
// for the libraries that write only into files.
#pragma once

#include <string>

namespace pelmix {

class TemporaryFile {
public:
    // Makes an empty file named from stem ("pelmix-g4" …) and six random characters.
    explicit TemporaryFile(const char* stem);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // False when no file could be made.
    bool made() const { return !path_.empty(); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace pelmix
