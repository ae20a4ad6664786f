// Root reads and writes past every permission, so a test of an unreadable folder or a read-only
// one would prove nothing in CI, which runs as root. While one of these lives, the calling thread
// (and every thread it starts meanwhile, not those already running) goes without the capabilities
// that override file permissions, as an ordinary user's process would; they come back at its end.
// For anyone else it changes nothing.
#pragma once

class WithoutRootRights {
public:
    WithoutRootRights();
    ~WithoutRootRights();
    WithoutRootRights(const WithoutRootRights&) = delete;
    WithoutRootRights& operator=(const WithoutRootRights&) = delete;

    // Whether permissions now hold for this thread: false only where the rights could not be
    // put down (the test then has nothing to check, and skips).
    bool enforced() const { return enforced_; }

private:
    bool enforced_ = false;
    bool dropped_ = false;
    unsigned effective_[2] = {0, 0};
};
