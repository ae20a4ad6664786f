// The search for SANE devices when the manager opens, on a thread of its own: a network search
// can take seconds, and a server that stopped answering as long as the host's limit. The
// application's windows go on answering meanwhile; a search that takes longer than a moment
// shows a small window with Cancel, which ends the search (the sources found are then none).
#pragma once

#include "source.h"

#include <chrono>
#include <memory>
#include <vector>

class QWidget;

namespace twaindsm {

class DeviceSearch {
public:
    // How long the search runs before its window appears.
    static constexpr std::chrono::milliseconds kQuietTime{400};

    // The sources discoverSaneSources() finds, the window owned by owner. Without a
    // QApplication, or on another thread than its own, the search runs on the calling thread.
    static std::vector<std::unique_ptr<Source>> run(QWidget* owner);
};

} // namespace twaindsm
