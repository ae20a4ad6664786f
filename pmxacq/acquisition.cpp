#include "acquisition.h"

#include "capability.h"
#include "pmxacq.h"

namespace pmxacq {

std::optional<int32_t> openAndProbeSource(Session& session, SourcePick pick) {
    if (!session.openManager()) {
        return PMXACQ_FAILED;
    }
    if (pick.useDefault) {
        if (!session.chooseDefaultSource()) {
            return PMXACQ_FAILED;
        }
    } else if (pick.name != nullptr) {
        session.nameSource(pick.name);
    }
    if (!session.openSource()) {
        return session.failureResult(false);
    }
    TW_UINT16 units = 0;
    if (!getCapability(session, ICAP_UNITS, MSG_GETCURRENT, &units, sizeof units)) {
        return PMXACQ_FAILED;
    }
    return std::nullopt;
}

bool askForOnePage(Session& session) {
    return setCapabilityNumber(session, CAP_XFERCOUNT, TWTY_UINT16, 1);
}

} // namespace pmxacq
