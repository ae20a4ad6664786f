// The source the user chose as default, remembered by ProductName in a one-line text file
// "twain-default-source" in the user's configuration folder (…/orvana).
#pragma once

#include <string>

namespace twaindsm {

class DefaultSourceStore {
public:
    // The remembered ProductName; empty when nothing was chosen or the file cannot be read.
    static std::string load();
    // False when the folder or file cannot be written.
    static bool save(const std::string& productName);
    static std::string filePath();
};

} // namespace twaindsm
