// Hands captions and texts of long operations to the host's progress handler.
#pragma once

#include <cstdint>

namespace pelmix {

// Reports start (0) on construction and end (100) on destruction, when caption or text is
// non-empty and a handler is registered.
class Progress {
public:
    Progress(const char* caption, const char* text);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    void step(int32_t percent) const;

private:
    const char* caption_;
    const char* text_;
    bool active_;
};

} // namespace pelmix
