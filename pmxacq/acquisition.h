// The steps every acquiring call takes before it negotiates: manager, source, probe.
#pragma once

#include "session.h"

#include <cstdint>
#include <optional>

namespace pmxacq {

// Which source to open: the manager's default, or the one named (null: the manager's current
// source, as the identity is left empty).
struct SourcePick {
    bool useDefault = true;
    const char* name = nullptr;
};

// Opens the manager and the source and checks that the source answers. Nothing on success, else
// the result code the call ends with.
std::optional<int32_t> openAndProbeSource(Session& session, SourcePick pick);

// CAP_XFERCOUNT = 1: exactly one page per batch.
bool askForOnePage(Session& session);

} // namespace pmxacq
