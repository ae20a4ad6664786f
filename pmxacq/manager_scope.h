// Holds the manager library for the length of one exported call: loaded on entry, and on every
// way out the source is disabled and closed, the manager closed and the library unloaded, in that
// order. A page still in hand then is released: whatever the caller receives was taken out first.
#pragma once

#include "session.h"

namespace pmxacq {

class ManagerScope {
public:
    ManagerScope(Session& session, HWND window) : session_(session) {
        loaded_ = session_.load(window);
    }
    ~ManagerScope() {
        if (loaded_) {
            session_.unload();
            session_.releaseImage();
        }
    }
    ManagerScope(const ManagerScope&) = delete;
    ManagerScope& operator=(const ManagerScope&) = delete;

    bool loaded() const { return loaded_; }

private:
    Session& session_;
    bool loaded_ = false;
};

} // namespace pmxacq
