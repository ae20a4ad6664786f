// Brightness, colour balance and negative.
#include "dib.h"

PELMIX_API int32_t PELMIX_CALL PelmixBright(HGLOBAL, const char*, const char*, double) { return 0; }
PELMIX_API int32_t PELMIX_CALL PelmixRGB(HGLOBAL, const char*, const char*, int32_t, int32_t,
                                         int32_t) {
    return 0;
}
PELMIX_API int32_t PELMIX_CALL PelmixColorReverse(HGLOBAL, const char*, const char*) { return 0; }
