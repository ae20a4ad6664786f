#include "base_folders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace winport {

namespace {

std::string absolute(const char* value) {
    std::string path = value != nullptr && value[0] == '/' ? std::string(value) : std::string();
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string home() {
    std::string found = absolute(std::getenv("HOME"));
    if (found.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid())) {
            found = absolute(entry->pw_dir);
        }
    }
    return found;
}

} // namespace

std::string baseFolder(BaseFolder kind) {
    static const struct {
        const char* variable;
        const char* fallback;
    } kRules[] = {{nullptr, ""},
                  {"XDG_CONFIG_HOME", "/.config"},
                  {"XDG_DATA_HOME", "/.local/share"},
                  {"XDG_CACHE_HOME", "/.cache"}};
    const auto& rule = kRules[int(kind)];
    if (rule.variable == nullptr) {
        return home();
    }
    const std::string given = absolute(std::getenv(rule.variable));
    if (!given.empty()) {
        return given;
    }
    const std::string base = home();
    return base.empty() ? std::string() : (base == "/" ? std::string() : base) + rule.fallback;
}

} // namespace winport
