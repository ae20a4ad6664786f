#include "codecs.h"

namespace pelmix {

HGLOBAL decodeTiff(const uint8_t*, size_t) { return nullptr; }
bool encodeTiff(HGLOBAL, int32_t, const char*) { return false; }

} // namespace pelmix
