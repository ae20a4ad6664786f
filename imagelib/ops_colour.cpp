// Colour-depth conversions.
#include "dib.h"

PELMIX_API int32_t PELMIX_CALL PelmixConvertColor(HGLOBAL, int32_t, int32_t, int32_t, const char*,
                                                  const char*) {
    return 0;
}

PELMIX_API HGLOBAL PELMIX_CALL PelmixBit24To8(HGLOBAL, const char*, const char*) { return nullptr; }
