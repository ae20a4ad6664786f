// A file system of its own for one test: a small tmpfs mounted on a fresh folder, so that a test
// can fill a disk or make a folder read-only in a way that holds for root too. Needs the right to
// mount (root in the test machine); mounted() is false otherwise, and the test skips.
#pragma once

#include "temp_dir.h"

#include <cstddef>
#include <cstdint>
#include <string>

class SmallVolume {
public:
    explicit SmallVolume(size_t bytes);
    ~SmallVolume();
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& path() const { return folder_.path(); }
    std::string file(const std::string& name) const { return folder_.file(name); }
    // Remounts the volume read-only (true) or writable again (false).
    bool setReadOnly(bool readOnly);
    // Fills the volume with a hidden file of its own until exactly freeBytes (a multiple of the
    // page size) are left; 0 fills it up. False when it cannot be made so.
    bool leaveFree(uint64_t freeBytes);
    // The bytes still free.
    uint64_t freeBytes() const;

private:
    TempDir folder_;
    std::string options_;
    bool mounted_ = false;
};
