// Feeds arbitrary bytes to the BMP reader; whatever it accepts must describe itself and write back.
#include "codecs.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HGLOBAL image = pelmix::decodeBmp(data, size);
    if (image == nullptr) {
        return 0;
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
    return 0;
}
