// Feeds arbitrary bytes to the TIFF decoder; whatever it returns must be a well-formed image.
#include "codecs.h"
#include "dib.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HGLOBAL image = pelmix::decodeTiff(data, size);
    if (image != nullptr) {
        {
            pelmix::DibView dib(image);
            if (!dib.valid()) {
                std::abort();
            }
        }
        GlobalFree(image);
    }
    return 0;
}
