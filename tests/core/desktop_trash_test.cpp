// The trash of another volume is used only when it is the user's own. On a volume others can
// write to, a ".Trash-<uid>" planted as a link or as a folder of another user's, or one left open
// to others, would receive the user's files; the file then goes to the user's own trash instead,
// copied across and removed only once the copy is complete. Checked on a volume of its own.
#include "desktop_trash.h"
#include "native_name.h"
#include "small_volume.h"
#include "test_images.h"

#include <QString>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(DesktopTrash, AVolumeTrashIsUsedOnlyWhenItIsTheUsersOwn) {
    SmallVolume volume(8 << 20);
    if (!volume.mounted()) {
        GTEST_SKIP() << "no right to mount a small volume here";
    }
    TempDir data;
    setenv("XDG_DATA_HOME", data.path().c_str(), 1);
    const std::string own = volume.file(".Trash-" + std::to_string(::getuid()));
    const std::string victim = volume.file("victim");
    struct Case {
        const char* name;
        std::function<void()> plant;
        bool volumeTrash; // whether the volume's trash takes the file
    };
    const Case cases[] = {
        {"none yet: made for the user", [] {}, true},
        {"the user's own",
         [&] {
             fs::create_directory(own);
             fs::permissions(own, fs::perms::owner_all);
         },
         true},
        {"a link", [&] { fs::create_directory_symlink(victim, own); }, false},
        {"open to others",
         [&] {
             fs::create_directory(own);
             fs::permissions(own, fs::perms::all);
         },
         false},
        {"another user's",
         [&] {
             fs::create_directory(own);
             fs::permissions(own, fs::perms::owner_all);
             ASSERT_EQ(::chown(own.c_str(), 65534, 65534), 0);
         },
         false},
        {"a shared trash with another user's folder in it",
         [&] {
             fs::create_directories(volume.file(".Trash/" + std::to_string(::getuid())));
             fs::permissions(volume.file(".Trash"), fs::perms::all | fs::perms::sticky_bit);
             ASSERT_EQ(
                 ::chown(volume.file(".Trash/" + std::to_string(::getuid())).c_str(), 65534, 65534),
                 0);
         },
         true}, // the user's ".Trash-<uid>" then
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(volume.path())) {
            fs::remove_all(entry.path());
        }
        fs::remove_all(data.file("Trash"));
        fs::create_directory(victim);
        fs::permissions(victim, fs::perms::all);
        c.plant();
        const std::string picture = volume.file("a.jpg");
        ASSERT_TRUE(writeBytes(picture, "picture bytes", 13));

        const desktop_trash::Result trashed =
            desktop_trash::moveToTrash(QString::fromStdString(picture));

        ASSERT_TRUE(trashed.ok) << trashed.reason.toStdString();
        EXPECT_FALSE(fs::exists(picture));
        EXPECT_TRUE(fs::is_empty(victim));
        const std::string expected =
            c.volumeTrash ? own + "/files/a.jpg" : data.file("Trash/files/a.jpg");
        EXPECT_EQ(trashed.trashedPath.toStdString(), expected);
        EXPECT_EQ(readBytes(expected), "picture bytes");
        const std::string info =
            readBytes(fs::path(expected).parent_path().parent_path() / "info/a.jpg.trashinfo");
        // A volume's trash records the path from the volume's top, the user's the whole path.
        EXPECT_NE(info.find(c.volumeTrash ? "Path=a.jpg\n" : "Path=" + picture + "\n"),
                  std::string::npos)
            << info;
        if (c.volumeTrash) {
            struct stat made {};
            ASSERT_EQ(::lstat(own.c_str(), &made), 0);
            EXPECT_EQ(made.st_mode & 0777, 0700u);
        }
    }
}
