// Rotation, flips and cut-out.
#include "dib.h"

PELMIX_API HGLOBAL PELMIX_CALL PelmixRotation(HGLOBAL, const char*, const char*, int32_t) {
    return nullptr;
}
PELMIX_API HGLOBAL PELMIX_CALL PelmixRectCut(HGLOBAL, const char*, const char*, int32_t, int32_t,
                                             int32_t, int32_t) {
    return nullptr;
}
