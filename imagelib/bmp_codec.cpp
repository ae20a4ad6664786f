#include "codecs.h"

namespace pelmix {

HGLOBAL decodeBmp(const uint8_t*, size_t) { return nullptr; }
bool encodeBmp(HGLOBAL, std::vector<uint8_t>&) { return false; }

} // namespace pelmix
