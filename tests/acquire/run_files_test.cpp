// The file pieces of the acquisition run: file times carried over a move, moves that never lose
// a file (also across file systems), the extension rule of the move method, and the companion
// program's start.
#include "browsing_state.h"
#include "companion_program.h"
#include "file_system.h"
#include "file_times.h"
#include "program.h"
#include "qt_support.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"
#include "source_folder_move.h"
#include "temp_dir.h"

#include <QString>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void writeText(const std::string& path, const std::string& text) {
    ASSERT_TRUE(writeBytes(path, text.data(), text.size())) << path;
}

constexpr int64_t kSecond = 1000000000;
// 2001-09-09 01:46:40 UTC and a day later, with sub-second parts.
constexpr int64_t kAccess = 1000000000 * kSecond + 250;
constexpr int64_t kWrite = 1000086400 * kSecond + 123456789;

TEST(FileTimes, RestoredTimesReadBackExactly) {
    TempDir dir;
    writeText(dir.file("a.bmp"), "BM");
    const QString path = q(dir.file("a.bmp"));
    ASSERT_EQ(SET_FILE_TIMES(path, 0, kAccess, kWrite), 0);
    FileTimes times;
    ASSERT_EQ(GET_FILE_TIMES(path, times), 0);
    EXPECT_EQ(times.lastAccess, kAccess);
    EXPECT_EQ(times.lastWrite, kWrite);
}

TEST(FileTimes, TimesBefore1970SurviveTheRoundTrip) {
    TempDir dir;
    writeText(dir.file("old.jpg"), "x");
    const QString path = q(dir.file("old.jpg"));
    const int64_t before = -86400 * kSecond + 5; // 1969-12-31 plus 5 ns
    ASSERT_EQ(SET_FILE_TIMES(path, 0, before, before), 0);
    FileTimes times;
    ASSERT_EQ(GET_FILE_TIMES(path, times), 0);
    EXPECT_EQ(times.lastWrite, before);
}

TEST(FileTimes, MissingFilesAndFoldersGiveMinusOneAndLeaveTheOutputs) {
    TempDir dir;
    int64_t creation = 7, access = 8, write = 9;
    EXPECT_EQ(GET_FILE_TIMES(q(dir.file("none.bmp")), creation, access, write), -1);
    EXPECT_EQ(GET_FILE_TIMES(q(dir.path()), creation, access, write), -1);
    EXPECT_EQ(GET_FILE_TIMES(QString(), creation, access, write), -1);
    EXPECT_EQ(creation, 7);
    EXPECT_EQ(access, 8);
    EXPECT_EQ(write, 9);
    EXPECT_EQ(SET_FILE_TIMES(q(dir.file("none.bmp")), 0, kAccess, kWrite), -1);
    EXPECT_EQ(SET_FILE_TIMES(q(dir.path()), 0, kAccess, kWrite), -1);
}

TEST(SourceFolderNames, ExtensionIsTheTextAfterTheLastDotWithItsCase) {
    EXPECT_EQ(extensionOf("photo.JPG"), ".JPG");
    EXPECT_EQ(extensionOf("a.b.tif"), ".tif");
    EXPECT_EQ(extensionOf("noext"), "");
    EXPECT_EQ(extensionOf("trailing."), ".");
}

class CompanionTest : public ::testing::Test {
protected:
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    TempDir dir;
};

TEST_F(CompanionTest, StartsWithTheSwitchesAndTheFolder) {
    writeText(dir.file("SNAPLET.EXE"), "");
    program.settings.UTNP = q(dir.file("SNAPLET.EXE"));
    const QString folder = q(dir.path()) + '/';
    RUN_SNAPLET(program, folder);
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].program, program.settings.UTNP);
    EXPECT_EQ(launcher.starts[0].arguments, QStringList({"HW\\:1", "CE\\:2", "MD\\:1", folder}));
    EXPECT_TRUE(prompter.requests.empty());
}

TEST_F(CompanionTest, MissingFolderLeavesTheShortPathOut) {
    writeText(dir.file("SNAPLET.EXE"), "");
    program.settings.UTNP = q(dir.file("SNAPLET.EXE"));
    EXPECT_EQ(SHORT_PATH(q(dir.file("gone/"))), "");
    RUN_SNAPLET(program, q(dir.file("gone/")));
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].arguments, QStringList({"HW\\:1", "CE\\:2", "MD\\:1"}));
}

TEST_F(CompanionTest, MissingProgramIsReportedAndNotStarted) {
    program.settings.UTNP = q(dir.file("SNAPLET.EXE"));
    RUN_SNAPLET(program, q(dir.path()));
    program.settings.UTNP = q(dir.path()); // a folder is no program either
    RUN_SNAPLET(program, q(dir.path()));
    EXPECT_TRUE(launcher.starts.empty());
    ASSERT_EQ(prompter.requests.size(), 2u);
    const Prompter::Message& m = prompter.requests[0].message;
    EXPECT_EQ(m.text, QStringLiteral("Snapletが見つかりません。"));
    EXPECT_EQ(m.caption, "Orvana");
    EXPECT_EQ(m.icon, Prompter::Icon::None);
    EXPECT_EQ(m.buttons, Prompter::Buttons::Ok);
}

} // namespace
