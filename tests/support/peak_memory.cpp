#include "peak_memory.h"

#include <fstream>

namespace peak_memory {

long statusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return -1;
}

bool resetPeak() {
    std::ofstream refs("/proc/self/clear_refs");
    refs << "5";
    refs.flush();
    return refs.good();
}

} // namespace peak_memory
