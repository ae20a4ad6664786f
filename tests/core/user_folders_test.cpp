// The user's folders from the environment, by the base-directory rules.
#include "native_name.h"
#include "user_folders.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

using user_folders::Kind;

namespace {

void set(const char* name, const char* value) {
    if (value == nullptr) {
        ::unsetenv(name);
    } else {
        ::setenv(name, value, 1);
    }
}

} // namespace

std::string bytes(Kind kind) {
    return native_name::toBytes(user_folders::of(kind)).toStdString();
}

TEST(UserFolders, TheVariableWhenAbsoluteElseTheHomeFolder) {
    const passwd* entry = ::getpwuid(::getuid());
    ASSERT_NE(entry, nullptr);
    const std::string own = entry->pw_dir;
    const struct {
        const char* home;
        const char* variable; // XDG_CONFIG_HOME and XDG_CACHE_HOME
        std::string config;
        std::string cache;
        std::string data; // XDG_DATA_HOME unset
    } cases[] = {
        {"/home/u", "/x/conf/", "/x/conf", "/x/conf", "/home/u/.local/share"},
        {"/home/u/", nullptr, "/home/u/.config", "/home/u/.cache", "/home/u/.local/share"},
        {"/home/u", "relative/dir", "/home/u/.config", "/home/u/.cache", "/home/u/.local/share"},
        {"/home/u", "", "/home/u/.config", "/home/u/.cache", "/home/u/.local/share"},
        {"/home/caf\xe9", nullptr, "/home/caf\xe9/.config", "/home/caf\xe9/.cache",
         "/home/caf\xe9/.local/share"},
        {nullptr, nullptr, own + "/.config", own + "/.cache", own + "/.local/share"},
        {"not/absolute", nullptr, own + "/.config", own + "/.cache", own + "/.local/share"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.home ? c.home : "(no HOME)") + " " +
                     (c.variable ? c.variable : "(unset)"));
        set("HOME", c.home);
        set("XDG_CONFIG_HOME", c.variable);
        set("XDG_CACHE_HOME", c.variable);
        set("XDG_DATA_HOME", nullptr);
        EXPECT_EQ(bytes(Kind::Config), c.config);
        EXPECT_EQ(bytes(Kind::Cache), c.cache);
        EXPECT_EQ(bytes(Kind::Data), c.data);
    }
}
