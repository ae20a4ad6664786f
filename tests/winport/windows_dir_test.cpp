// GetWindowsDirectoryA: the configured folder or the folder of the winport library.
#include "winport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

const char* const variable = "ORVANA_WINDOWS_DIR";

class WindowsDirectory : public ::testing::Test {
protected:
    void TearDown() override { unsetenv(variable); }

    static std::string query() {
        char buffer[4096];
        const UINT length = GetWindowsDirectoryA(buffer, sizeof(buffer));
        EXPECT_LT(length, sizeof(buffer));
        return length == 0 || length >= sizeof(buffer) ? std::string() : std::string(buffer);
    }
};

// The folder of libwinport.so as the process's memory map tells it.
std::string mappedWinportFolder() {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        const size_t name = line.find("/libwinport.so");
        if (name != std::string::npos) {
            const size_t start = line.find('/');
            return line.substr(start, name - start);
        }
    }
    return std::string();
}

TEST_F(WindowsDirectory, NamesTheConfiguredFolderWithoutTrailingSeparator) {
    setenv(variable, "/opt/scan/dsm", 1);
    EXPECT_EQ(query(), "/opt/scan/dsm");
    setenv(variable, "/opt/scan/dsm/", 1);
    EXPECT_EQ(query(), "/opt/scan/dsm");
    setenv(variable, "/", 1);
    EXPECT_EQ(query(), "/");
}

TEST_F(WindowsDirectory, DefaultsToTheFolderOfTheLibrary) {
    const std::string expected = mappedWinportFolder();
    ASSERT_FALSE(expected.empty());
    unsetenv(variable);
    EXPECT_EQ(query(), expected);
    setenv(variable, "", 1); // empty counts as not set
    EXPECT_EQ(query(), expected);
}

TEST_F(WindowsDirectory, FollowsTheWindowsBufferRules) {
    setenv(variable, "/abc/def", 1); // 8 characters
    EXPECT_EQ(GetWindowsDirectoryA(nullptr, 0), 9u);

    char buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    // One short of the terminator: nothing but an empty string, and the size needed.
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 8), 9u);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], 'x');

    // Exactly large enough: the text with its terminator, and its length without.
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 9), 8u);
    EXPECT_STREQ(buffer, "/abc/def");
    EXPECT_EQ(buffer[9], 'x');

    // A zero size writes nothing at all.
    buffer[0] = 'y';
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 0), 9u);
    EXPECT_EQ(buffer[0], 'y');
}

} // namespace
