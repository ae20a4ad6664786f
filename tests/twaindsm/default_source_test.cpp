// Which source is the default: the remembered choice when it is present, else the first SANE
// device, else the virtual scanner; and the file that remembers it. Runs without a
// QApplication, as a program that never shows the chooser does.
#include "default_source_store.h"
#include "manager_harness.h"
#include "winport_host.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace twaindsm;
using namespace twaindsm::testing;

namespace {

std::string defaultName(ManagerHarness& h) {
    TW_IDENTITY id{};
    if (h.toManager(DAT_IDENTITY, MSG_GETDEFAULT, &id) != TWRC_SUCCESS)
        return "(failed)";
    return id.ProductName;
}

void remember(const ManagerHarness& h, const std::string& text) {
    std::filesystem::create_directories(h.config.file("orvana"));
    ASSERT_TRUE(writeBytes(h.config.file("orvana/twain-default-source"), text.data(), text.size()));
}

TEST(DefaultSource, FirstSaneDeviceThenVirtualScanner) {
    ManagerHarness sane({{"test:0"}, {"test:1"}, {"Virtual Scanner", true}});
    ASSERT_TRUE(sane.openManager());
    EXPECT_EQ(defaultName(sane), "test:0");

    ManagerHarness bare({{"Virtual Scanner", true}});
    ASSERT_TRUE(bare.openManager());
    EXPECT_EQ(defaultName(bare), "Virtual Scanner");
    ASSERT_TRUE(bare.openSource());
    EXPECT_EQ(std::string(bare.source.ProductName), "Virtual Scanner");
}

TEST(DefaultSource, RememberedChoiceWinsWhilePresent) {
    ManagerHarness h({{"test:0"}, {"test:1"}, {"Virtual Scanner", true}});
    remember(h, "test:1\n");
    ASSERT_TRUE(h.openManager());
    EXPECT_EQ(defaultName(h), "test:1");
    ASSERT_TRUE(h.openSource()) << "an empty name opens the default";
    EXPECT_EQ(std::string(h.source.ProductName), "test:1");
    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_CLOSEDS, &h.source), TWRC_SUCCESS);

    remember(h, "Virtual Scanner\r\n");
    EXPECT_EQ(defaultName(h), "Virtual Scanner") << "read afresh, line end of any kind";
    remember(h, "test:7\n"); // unplugged since
    EXPECT_EQ(defaultName(h), "test:0");
    // Opening the stand-in says so, naming both.
    static std::vector<std::string> told;
    WinportSetMessageBoxHandler(
        [](void*, HWND, LPCSTR text, LPCSTR, UINT) {
            told.emplace_back(text);
            return IDOK;
        },
        nullptr);
    ASSERT_TRUE(h.openSource());
    EXPECT_EQ(std::string(h.source.ProductName), "test:0");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("「test:7」"), std::string::npos) << told[0];
    EXPECT_NE(told[0].find("「test:0」"), std::string::npos) << told[0];
    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_CLOSEDS, &h.source), TWRC_SUCCESS);
    WinportSetMessageBoxHandler(nullptr, nullptr);
    remember(h, "");
    EXPECT_EQ(defaultName(h), "test:0");
}

TEST(DefaultSource, SelectionNeedsAnApplication) {
    ManagerHarness h;
    ASSERT_TRUE(h.openManager());
    TW_IDENTITY id{};
    EXPECT_EQ(h.toManager(DAT_IDENTITY, MSG_USERSELECT, &id), TWRC_FAILURE);
    EXPECT_EQ(h.condition(), TWCC_OPERATIONERROR);
    EXPECT_FALSE(std::filesystem::exists(h.config.file("orvana/twain-default-source")));
}

TEST(DefaultSourceStore, SavesAndLoadsUnderTheConfigurationFolder) {
    TempDir config;
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    EXPECT_EQ(DefaultSourceStore::filePath(), config.file("orvana/twain-default-source"));
    EXPECT_EQ(DefaultSourceStore::load(), "") << "nothing chosen yet";
    ASSERT_TRUE(DefaultSourceStore::save("epson2:libusb:001:004"));
    EXPECT_EQ(readBytes(DefaultSourceStore::filePath()), "epson2:libusb:001:004\n");
    EXPECT_EQ(DefaultSourceStore::load(), "epson2:libusb:001:004");
    ASSERT_TRUE(DefaultSourceStore::save("Virtual Scanner"));
    EXPECT_EQ(DefaultSourceStore::load(), "Virtual Scanner") << "replaced, not appended";

    // A configuration "folder" that is a file cannot hold the choice.
    const std::string blocker = config.file("not-a-folder");
    ASSERT_TRUE(writeBytes(blocker, "x", 1));
    setenv("XDG_CONFIG_HOME", blocker.c_str(), 1);
    EXPECT_FALSE(DefaultSourceStore::save("Virtual Scanner"));
    EXPECT_EQ(DefaultSourceStore::load(), "");
}

} // namespace
