// The sources this manager offers: one per SANE device, and the built-in virtual scanner.
#pragma once

#include "source.h"

#include <memory>
#include <vector>

namespace twaindsm {

// The built-in virtual scanner, ProductName "Virtual Scanner".
std::unique_ptr<Source> makeVirtualScanner();

// One source per SANE device present now (sane_get_devices), ProductName containing the SANE
// device name (e.g. "test:0"). Empty when SANE finds none or cannot start.
std::vector<std::unique_ptr<Source>> discoverSaneSources();

} // namespace twaindsm
