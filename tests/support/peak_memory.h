// This process's memory as the kernel counts it, for tests and benchmarks that bound a peak.
#pragma once

#include <string>

namespace peak_memory {

// A field of /proc/self/status in kilobytes ("VmHWM", "VmRSS"); -1 when there is none.
long statusKb(const std::string& field);
// Starts a new peak (VmHWM); false where the kernel does not let the process reset it.
bool resetPeak();

} // namespace peak_memory
