// SNAPLET [switches] folder: makes the thumbnails of folder. Switches look like "HW\:1" (a
// letter pair, a backslash, a colon and a value) and are accepted for the callers' sake; the
// last other argument is the folder. Prints a one-line summary; exit code 0 on success, 1 when
// the folder cannot be processed, 2 without a folder.
#include "thumbnail_folder.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.find("\\:") == std::string::npos) {
            folder = argument;
        }
    }
    if (folder.empty()) {
        std::fprintf(stderr, "usage: SNAPLET [switches] folder\n");
        return 2;
    }
    thumbnail_folder::Counts counts;
    const bool ok = thumbnail_folder::update(folder, counts);
    std::printf("%s: %d written, %d current, %d removed, %d failed\n", folder.c_str(),
                counts.written, counts.kept, counts.removed, counts.failed);
    return ok && counts.failed == 0 ? 0 : 1;
}
