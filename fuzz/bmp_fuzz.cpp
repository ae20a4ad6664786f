// Feeds arbitrary bytes to the BMP reader, from memory and from a file read only as far as its
// headers describe; whatever it accepts must describe itself and write back.
#include "codecs.h"
#include "file_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

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
    check(pelmix::decodeBmp(data, size));
    static const int fd = ::memfd_create("bmp", MFD_CLOEXEC);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != ssize_t(size)) {
        return 0;
    }
    pelmix::FileReader file;
    if (file.open(("/proc/self/fd/" + std::to_string(fd)).c_str(), uint64_t(1) << 31)) {
        check(pelmix::decodeBmp(file));
    }
    return 0;
}
