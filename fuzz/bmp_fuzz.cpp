// Feeds arbitrary bytes to the BMP reader, from memory and from a file read only as far as its
// headers describe; whatever it accepts must describe itself and write back.
#include "codecs.h"
#include "file_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

// Whether the data is an RLE picture, whose runs the file reader may read only in part (what
// lies past the longest stream a picture of its size can take).
bool runLength(const uint8_t* data, size_t size) {
    // Every header but the 12-byte one keeps the compression 16 bytes in (OS/2's from 20 bytes).
    if (size < 34) {
        return false;
    }
    const uint32_t header = data[14] | data[15] << 8 | data[16] << 16 | uint32_t(data[17]) << 24;
    if (header < 20) {
        return false;
    }
    const uint32_t compression =
        data[30] | data[31] << 8 | data[32] << 16 | uint32_t(data[33]) << 24;
    return compression == 1 || compression == 2;
}

bool same(HGLOBAL a, HGLOBAL b) {
    const SIZE_T size = GlobalSize(a);
    if (size != GlobalSize(b)) {
        return false;
    }
    const bool equal = std::memcmp(GlobalLock(a), GlobalLock(b), size) == 0;
    GlobalUnlock(a);
    GlobalUnlock(b);
    return equal;
}

void check(HGLOBAL image) {
    if (image == nullptr) {
        return;
    }
    IMAGE_INFO info;
    if (!PelmixImageInfo(image, &info)) {
        std::abort(); // the reader handed out a handle the library itself rejects
    }
    std::vector<uint8_t> bytes;
    if (!pelmix::encodeBmp(image, bytes)) {
        std::abort();
    }
    PelmixMemFree(image);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HGLOBAL fromMemory = pelmix::decodeBmp(data, size);
    static const int fd = ::memfd_create("bmp", MFD_CLOEXEC);
    HGLOBAL fromFile = nullptr;
    if (fd >= 0 && ::ftruncate(fd, 0) == 0 && ::pwrite(fd, data, size, 0) == ssize_t(size)) {
        pelmix::FileReader file;
        if (file.open(("/proc/self/fd/" + std::to_string(fd)).c_str(), uint64_t(1) << 31)) {
            fromFile = pelmix::decodeBmp(file);
            // Reading only what the headers describe gives the very picture of the whole file.
            if (!runLength(data, size) &&
                ((fromMemory == nullptr) != (fromFile == nullptr) ||
                 (fromMemory != nullptr && !same(fromMemory, fromFile)))) {
                std::abort();
            }
        }
    }
    check(fromMemory);
    check(fromFile);
    return 0;
}
