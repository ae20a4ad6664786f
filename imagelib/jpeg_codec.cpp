#include "codecs.h"

namespace pelmix {

HGLOBAL decodeJpeg(const uint8_t*, size_t, int32_t, int32_t, IMAGE_INFO*) { return nullptr; }
bool encodeJpeg(HGLOBAL, int32_t, bool, std::vector<uint8_t>&) { return false; }

} // namespace pelmix
