// Feeds arbitrary bytes to the TIFF decoder, whole and reduced; whatever it returns must be a
// well-formed image.
#include "codecs.h"
#include "dib.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const int32_t box : {0, 7}) {
        HGLOBAL image = pelmix::decodeTiff(data, size, box, box, nullptr);
        if (image != nullptr) {
            {
                pelmix::DibView dib(image);
                if (!dib.valid() || (box > 0 && (dib.width() > box || dib.height() > box))) {
                    std::abort();
                }
            }
            GlobalFree(image);
        }
    }
    return 0;
}
