// What a save needs to know about the file it replaces: where it really lives (through symbolic
// links), whether it may be replaced, which permissions and owner the replacement keeps, and the
// name of the temporary file written beside it.
#pragma once

#include <string>
#include <sys/types.h>

namespace pelmix {

struct SaveTarget {
    std::string path;   // the file to replace: the end of the link chain the caller's path starts
    std::string folder; // the folder holding it, "" for the current folder
    std::string name;   // its name within that folder
    bool exists = false;
    bool writable = true; // false: an existing file the process may not write to
    mode_t mode = 0;      // permission bits the replacement gets (st_mode & 07777)
    uid_t owner = 0;      // owner and group of the existing file
    gid_t group = 0;
};

// Resolves the symbolic links of path (at most 40 in a chain; a relative link counts from the
// folder of the link) and looks at the file found there. False when the chain is too long or the
// path is empty.
bool inspectSaveTarget(const std::string& path, SaveTarget& out);

// The mkstemp pattern of the temporary file for target: in its folder, "." + its name (cut at a
// UTF-8 character boundary when needed) + ".pmxtmp.XXXXXX", within the folder's longest name.
std::string tempPatternFor(const SaveTarget& target);

} // namespace pelmix
