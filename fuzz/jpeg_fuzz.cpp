// Feeds arbitrary bytes to the JPEG reader, whole and reduced; whatever it accepts must describe
// itself consistently and fit the box it was asked for no worse than a whole decode.
#include "codecs.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(HGLOBAL image, const IMAGE_INFO& full) {
    if (image == nullptr) {
        return;
    }
    IMAGE_INFO info;
    if (!PelmixImageInfo(image, &info) || info.WIDTH > full.WIDTH || info.HEIGHT > full.HEIGHT ||
        info.BIT_COUNT != full.BIT_COUNT) {
        std::abort();
    }
    PelmixMemFree(image);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    IMAGE_INFO whole{};
    check(pelmix::decodeJpeg(data, size, 0, 0, &whole), whole);
    IMAGE_INFO reduced{};
    check(pelmix::decodeJpeg(data, size, 64, 48, &reduced), reduced);
    return 0;
}
