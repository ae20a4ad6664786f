// The list of sources: the default source's name, then every source the manager enumerates,
// each followed by ",".
#pragma once

#include "session.h"

#include <string>

namespace pmxacq {

struct SourceList {
    bool opened = false;     // the manager opened; otherwise the text is empty
    bool enumerated = false; // the first source could be enumerated
    std::string text;
};

// Opens the manager, collects the names and closes it again.
SourceList listSources(Session& session);

// The list cut to at most limit bytes: whole when it fits, else up to the last "," that fits
// (so only whole entries), else "".
std::string fitList(const std::string& text, size_t limit);

} // namespace pmxacq
