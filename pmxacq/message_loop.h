// The loop an acquiring call runs while its source is enabled: messages of the calling thread go
// to the source first, and everything the source does not claim is dispatched as usual.
#pragma once

#include "session.h"

namespace pmxacq {

// Hands one message to the source and acts on a transfer-ready or close request. True when the
// message was the source's.
bool handleSourceEvent(Session& session, MSG& message);

// Runs until the source's work for this call is over: the batch is done, the source closed, it is
// no longer enabled, or WM_QUIT arrived.
void runMessageLoop(Session& session);

} // namespace pmxacq
