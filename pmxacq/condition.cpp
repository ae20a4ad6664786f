#include "condition.h"

#include "pmxacq.h"

namespace pmxacq {

int32_t resultForCondition(bool read, TW_UINT16 condition) {
    if (!read) {
        return PMXACQ_FAILED;
    }
    switch (condition) {
    case TWCC_SUCCESS:
        return PMXACQ_OK;
    case TWCC_LOWMEMORY:
        return PMXACQ_LOWMEMORY;
    case TWCC_BADCAP:
        return PMXACQ_BADCAP;
    case TWCC_BADVALUE:
        return PMXACQ_BADVALUE;
    default:
        return PMXACQ_FAILED;
    }
}

} // namespace pmxacq
