#include "user_folders.h"

#include "native_name.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace user_folders {

namespace {

QString absolute(const char* value) {
    return value != nullptr && value[0] == '/' ? native_name::fromBytes(value) : QString();
}

} // namespace

QString home() {
    QString found = absolute(std::getenv("HOME"));
    if (found.isEmpty()) {
        if (const passwd* entry = ::getpwuid(::getuid())) {
            found = absolute(entry->pw_dir);
        }
    }
    while (found.size() > 1 && found.endsWith(QLatin1Char('/'))) {
        found.chop(1);
    }
    return found;
}

QString of(Kind kind) {
    static const struct {
        const char* variable;
        const char* fallback;
    } kRules[] = {{"XDG_CONFIG_HOME", "/.config"},
                  {"XDG_DATA_HOME", "/.local/share"},
                  {"XDG_CACHE_HOME", "/.cache"}};
    const auto& rule = kRules[int(kind)];
    QString given = absolute(std::getenv(rule.variable));
    if (!given.isEmpty()) {
        while (given.size() > 1 && given.endsWith(QLatin1Char('/'))) {
            given.chop(1);
        }
        return given;
    }
    const QString base = home();
    return base.isEmpty()
               ? QString()
               : (base == QLatin1String("/") ? QString() : base) + QLatin1String(rule.fallback);
}

} // namespace user_folders
