// The companion thumbnail program and the editors started for real, on a folder whose name is
// not valid UTF-8: the command lines reach them as the file system's bytes.
#include "browsing_state.h"
#include "companion_program.h"
#include "fifo.h"
#include "native_name.h"
#include "program.h"
#include "scripted_prompter.h"
#include "snaplet_inf.h"
#include "temp_dir.h"
#include "test_images.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Waits up to ten seconds for path to exist.
bool appears(const std::string& path) {
    for (int i = 0; i < 200 && !fs::exists(path); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return fs::exists(path);
}

struct timespec changed(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_ctim;
}

bool same(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

TEST(Companion, MakesThumbnailsThatAreReadBackAndNotRewritten) {
    TempDir root;
    const std::string folder = root.file("Scans caf\xe9");
    fs::create_directory(folder);
    ImageHandle wide =
        makeRgbImage(640, 400, [](int x, int y) { return testPattern(x, y, 640, 400); });
    ASSERT_NE(PelmixJpegFileSave((folder + "/a.jpg").c_str(), wide.get(), "", "", 90, 0), 0);
    ASSERT_NE(PelmixBmpFileSave((folder + "/b.bmp").c_str(), wide.get(), "", "", 0), 0);

    ScriptedPrompter prompter;
    ProcessLauncher launcher;
    BrowsingState browsing;
    Program program(prompter, launcher, browsing);
    program.settings.UTNP = QStringLiteral(ORVANA_PROGRAM_DIR "/../Snaplet/SNAPLET");
    const QString disp = native_name::fromBytes(folder.c_str()) + QLatin1Char('/');
    RUN_SNAPLET(program, disp);
    ASSERT_TRUE(appears(folder + "/SNAPLET.INF"));
    ASSERT_TRUE(appears(folder + "/SNAPTN/b.bmp"));
    EXPECT_TRUE(prompter.requests.empty());

    QString value;
    EXPECT_EQ(READ_SNAPLET_INF(disp, value), 0);
    EXPECT_EQ(value, QStringLiteral("SNAPTN"));
    EXPECT_EQ(companionThumbnails(disp), QStringLiteral("SNAPTN/"));
    for (const char* name : {"a.jpg", "b.bmp"}) {
        SCOPED_TRACE(name);
        IMAGE_INFO info{};
        HGLOBAL thumbnail = PelmixFileLoadFit((folder + "/SNAPTN/" + name).c_str(), 0, 0, &info);
        ASSERT_NE(thumbnail, nullptr);
        PelmixMemFree(thumbnail);
        EXPECT_EQ(info.WIDTH, 160);
        EXPECT_EQ(info.HEIGHT, 100);
        EXPECT_EQ(fs::last_write_time(folder + "/SNAPTN/" + name),
                  fs::last_write_time(folder + "/" + name));
    }

    // A second run over the unchanged folder leaves every file as it was.
    const std::vector<std::string> files = {folder + "/SNAPLET.INF", folder + "/SNAPTN/a.jpg",
                                            folder + "/SNAPTN/b.bmp"};
    std::vector<struct timespec> before;
    for (const std::string& file : files) {
        before.push_back(changed(file));
    }
    const std::string command =
        "'" + program.settings.UTNP.toStdString() + "' 'HW\\:1' '" + folder + "' > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_TRUE(same(changed(files[i]), before[i])) << files[i];
    }

    EXPECT_FALSE(launcher.start(QStringLiteral("/nonexistent/editor"), {}));
}

// FIFOs where the companion expects its note and a picture: none is waited on, the pictures
// around them get their thumbnails, and the note becomes a file again.
TEST(Companion, AFifoForItsNoteOrAPictureIsPassedOver) {
    TempDir folder;
    ImageHandle picture =
        makeRgbImage(320, 200, [](int x, int y) { return testPattern(x, y, 320, 200); });
    ASSERT_NE(PelmixJpegFileSave(folder.file("a.jpg").c_str(), picture.get(), "", "", 90, 0), 0);
    const PlantedFifo note(folder.file("SNAPLET.INF"));
    const PlantedFifo pipe(folder.file("b.jpg"));
    ASSERT_TRUE(note.made() && pipe.made());
    const std::string command = "timeout 20 '" ORVANA_PROGRAM_DIR
                                "/../Snaplet/SNAPLET' 'HW\\:1' '" +
                                folder.path() + "' > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(note.rescues() + pipe.rescues(), 0);
    EXPECT_TRUE(fs::is_regular_file(folder.file("SNAPTN/a.jpg")));
    EXPECT_FALSE(fs::exists(folder.file("SNAPTN/b.jpg")));
    EXPECT_TRUE(fs::is_regular_file(folder.file("SNAPLET.INF")));
    QString value;
    EXPECT_EQ(READ_SNAPLET_INF(native_name::fromBytes(folder.path().c_str()) + '/', value), 0);
    EXPECT_EQ(value, QStringLiteral("SNAPTN"));
}

TEST(Companion, ThumbnailFolderStaysInsideThePictureFolder) {
    // Deleting and renaming take the thumbnail along: a description pointing elsewhere is ignored.
    TempDir folder;
    fs::create_directories(folder.file("TN/sub"));
    const QString disp = QString::fromStdString(folder.path()) + QLatin1Char('/');
    const std::pair<const char*, const char*> cases[] = {
        {"TNDN,.\r\n", ""},        {"TNDN,TN/./sub\r\n", ""},         {"TNDN,missing\r\n", ""},
        {"TNDN,TN\r\n", "TN/"},    {"TNDN,TN\\sub\\\r\n", "TN/sub/"}, {"TNDN,/etc\r\n", ""},
        {"TNDN,../other\r\n", ""}, {"TNDN,a/../../b\r\n", ""},        {"' none\r\n", ""}};
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(writeBytes(folder.file("SNAPLET.INF"), text, std::strlen(text)));
        EXPECT_EQ(companionThumbnails(disp), QString::fromLatin1(expected));
    }
}
