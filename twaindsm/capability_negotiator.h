// DAT_CAPABILITY for the capabilities the acquisition library negotiates, on a source's
// ScanSettings within its SourceLimits. Containers are TWON_ONEVALUE in GlobalAlloc blocks.
#pragma once

#include "source.h"

namespace twaindsm {

class CapabilityNegotiator {
public:
    // source: the open source; defaults: its settings as they were when it was opened (what
    // MSG_GETDEFAULT reports and MSG_RESET restores). The manager checks the state first.
    CapabilityNegotiator(Source& source, const ScanSettings& defaults)
        : source_(source), defaults_(defaults) {}

    // MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_SET or MSG_RESET. Returns TWRC_SUCCESS or
    // TWRC_FAILURE with condition set. Get and reset messages put a new container, owned by the
    // application, into capability.hContainer.
    TW_UINT16 handle(TW_UINT16 msg, TW_CAPABILITY& capability, TW_UINT16& condition);

private:
    TW_UINT16 set(TW_CAPABILITY& capability, TW_UINT16& condition);
    TW_UINT16 reply(TW_CAPABILITY& capability, const ScanSettings& from, TW_UINT16& condition);

    Source& source_;
    const ScanSettings& defaults_;
};

} // namespace twaindsm
