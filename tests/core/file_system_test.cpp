// The file operations under the situations they must survive: a name that is taken (exactly, in
// another letter case, by a link), a name that is not UTF-8, another volume, a full volume and a
// read-only one. After every failure both files are as they were and nothing is left behind.
#include "fifo.h"
#include "file_system.h"
#include "native_name.h"
#include "qt_support.h"
#include "small_volume.h"
#include "temp_dir.h"

#include <cerrno>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fsys = file_system;

namespace {

void put(const std::string& path, const std::string& text) {
    ASSERT_TRUE(writeBytes(path, text.data(), text.size())) << path;
}

bool there(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

using Operation = std::function<fsys::Result(const QString&, const QString&)>;

const struct {
    const char* name;
    Operation run;
    bool replaces; // takes a name that is there
    bool keepsSource;
} kOperations[] = {
    {"rename", fsys::renameNoReplace, false, false},
    {"copy", [](auto& a, auto& b) { return fsys::copyFile(a, b, false); }, false, true},
    {"copy replacing", [](auto& a, auto& b) { return fsys::copyFile(a, b, true); }, true, true},
    {"move", [](auto& a, auto& b) { return fsys::moveFile(a, b, false); }, false, false},
    {"move replacing", [](auto& a, auto& b) { return fsys::moveFile(a, b, true); }, true, false},
};

} // namespace

TEST(FileSystem, ANameThatIsTakenIsRefusedOrReplacedButNeverWrittenThrough) {
    const struct {
        const char* situation;
        std::function<void(const TempDir&)> occupy; // puts something at "b.jpg"
        bool taken;                                 // whether "b.jpg" counts as there
    } situations[] = {
        {"free", [](const TempDir&) {}, false},
        {"a file", [](const TempDir& d) { put(d.file("b.jpg"), "old"); }, true},
        {"a file in other letters", [](const TempDir& d) { put(d.file("B.JPG"), "old"); }, false},
        {"a link to another file",
         [](const TempDir& d) {
             put(d.file("other"), "old");
             ASSERT_EQ(::symlink("other", d.file("b.jpg").c_str()), 0);
         },
         true},
        {"a link to nothing",
         [](const TempDir& d) { ASSERT_EQ(::symlink("gone", d.file("b.jpg").c_str()), 0); }, true},
    };
    for (const auto& op : kOperations) {
        for (const auto& s : situations) {
            SCOPED_TRACE(std::string(op.name) + " onto " + s.situation);
            TempDir dir;
            put(dir.file("a.jpg"), "new");
            s.occupy(dir);
            const bool linkTarget = there(dir.file("other"));
            const fsys::Result result = op.run(q(dir.file("a.jpg")), q(dir.file("b.jpg")));
            const bool done = !s.taken || op.replaces;
            EXPECT_EQ(result.ok, done) << result.reason.toStdString();
            if (!done) {
                EXPECT_EQ(result.error, EEXIST);
                EXPECT_FALSE(result.reason.isEmpty());
            }
            EXPECT_EQ(readBytes(dir.file("a.jpg")) == "new", !done || op.keepsSource);
            if (done) {
                // A link in the way is replaced, never followed.
                EXPECT_EQ(readBytes(dir.file("b.jpg")), "new");
                EXPECT_FALSE(std::filesystem::is_symlink(dir.file("b.jpg")));
            }
            if (linkTarget) {
                EXPECT_EQ(readBytes(dir.file("other")), "old");
            }
            if (there(dir.file("B.JPG"))) {
                EXPECT_EQ(readBytes(dir.file("B.JPG")), "old");
            }
            for (const std::string& name : namesIn(dir.path())) {
                EXPECT_NE(name[0], '.') << "left behind: " << name;
            }
        }
    }
}

TEST(FileSystem, NamesThatAreNotUtf8KeepTheirBytes) {
    TempDir dir;
    const std::string latin = dir.file("caf\xe9.jpg");     // Latin-1
    const std::string sjis = dir.file("\x8e\xca\x90\x5e"); // Shift-JIS, no extension
    put(latin, "picture");
    EXPECT_EQ(fsys::list(q(dir.path())), QStringList{q("caf\xe9.jpg")});
    EXPECT_TRUE(fsys::isFile(q(latin)));
    EXPECT_EQ(fsys::findName(q(dir.path() + "/"), q("CAF\xe9.JPG")), q("caf\xe9.jpg"));
    EXPECT_TRUE(fsys::copyFile(q(latin), q(sjis), false));
    EXPECT_EQ(readBytes(sjis), "picture");
    EXPECT_TRUE(fsys::remove(q(sjis)));
    EXPECT_TRUE(fsys::moveFile(q(latin), q(sjis), false));
    EXPECT_EQ(readBytes(sjis), "picture");
    EXPECT_TRUE(fsys::makePath(q(dir.file("\xff/\xfe"))));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("\xff/\xfe")));
    EXPECT_TRUE(fsys::renameNoReplace(q(sjis), q(dir.file("\xff/\xfe/p"))));
    EXPECT_EQ(fsys::canonical(q(dir.file("\xff/../\xff/\xfe/p"))),
              q(std::filesystem::canonical(dir.path()).string() + "/\xff/\xfe/p"));
}

TEST(FileSystem, ListingFindingAndComparingNames) {
    TempDir dir;
    put(dir.file("b.BMP"), "b");
    put(dir.file("a.jpg"), "a");
    put(dir.file("A.JPG"), "A");
    std::filesystem::create_directory(dir.file("folder.jpg"));
    ASSERT_EQ(::symlink("a.jpg", dir.file("link.jpg").c_str()), 0);
    ASSERT_EQ(::symlink("nothing", dir.file("dangling.jpg").c_str()), 0);
    ASSERT_EQ(::symlink("folder.jpg", dir.file("tofolder.jpg").c_str()), 0);
    EXPECT_EQ(fsys::list(q(dir.path())),
              (QStringList{"A.JPG", "a.jpg", "b.BMP", "dangling.jpg", "link.jpg"}));
    EXPECT_EQ(fsys::list(q(dir.path()), "*.jpg"),
              (QStringList{"a.jpg", "dangling.jpg", "link.jpg"}));
    EXPECT_TRUE(fsys::list(q(dir.file("none"))).isEmpty());

    const QString folder = q(dir.path() + "/");
    EXPECT_EQ(fsys::findName(folder, "A.JPG"), "A.JPG") << "the exact spelling first";
    EXPECT_EQ(fsys::findName(folder, "B.bmp"), "b.BMP");
    EXPECT_EQ(fsys::findName(folder, "c.jpg"), "");
    EXPECT_TRUE(fsys::sameFile(q(dir.file("link.jpg")), q(dir.file("a.jpg"))));
    EXPECT_FALSE(fsys::sameFile(q(dir.file("A.JPG")), q(dir.file("a.jpg"))));
    EXPECT_FALSE(fsys::sameFile(q(dir.file("dangling.jpg")), q(dir.file("dangling.jpg"))));
}

TEST(FileSystem, AnotherVolumeAFullOneAndAReadOnlyOne) {
    SmallVolume volume(64 * 1024);
    if (!volume.mounted()) {
        GTEST_SKIP() << "cannot mount a volume of our own";
    }
    TempDir home;
    const std::string big(200 * 1024, 'z');
    put(home.file("big.tif"), big);
    put(home.file("small.jpg"), "small");
    put(volume.file("kept.jpg"), "old");

    // A full volume: the copy fails with the system's reason, the old file stays whole.
    for (const bool replace : {false, true}) {
        SCOPED_TRACE(replace);
        const fsys::Result full =
            fsys::copyFile(q(home.file("big.tif")), q(volume.file("kept.jpg")), replace);
        EXPECT_FALSE(full);
        EXPECT_EQ(full.error, replace ? ENOSPC : EEXIST);
        const fsys::Result moved =
            fsys::moveFile(q(home.file("big.tif")), q(volume.file("big.tif")), replace);
        EXPECT_EQ(moved.error, ENOSPC);
        EXPECT_EQ(readBytes(home.file("big.tif")), big);
        EXPECT_EQ(readBytes(volume.file("kept.jpg")), "old");
        EXPECT_EQ(namesIn(volume.path()), std::vector<std::string>{"kept.jpg"});
    }

    // Across volumes: copied, flushed, and only then the source removed.
    EXPECT_TRUE(fsys::moveFile(q(home.file("small.jpg")), q(volume.file("small.jpg")), false));
    EXPECT_FALSE(there(home.file("small.jpg")));
    EXPECT_EQ(readBytes(volume.file("small.jpg")), "small");

    // A read-only volume: nothing is made on it, and nothing leaves it.
    ASSERT_TRUE(volume.setReadOnly(true));
    const auto onVolume = namesIn(volume.path());
    EXPECT_EQ(fsys::copyFile(q(home.file("big.tif")), q(volume.file("x")), false).error, EROFS);
    EXPECT_EQ(fsys::moveFile(q(home.file("big.tif")), q(volume.file("x")), false).error, EROFS);
    EXPECT_EQ(fsys::makePath(q(volume.file("a/b"))).error, EROFS);
    EXPECT_EQ(fsys::makeFolder(q(volume.file("a"))).error, EROFS);
    EXPECT_EQ(fsys::remove(q(volume.file("kept.jpg"))).error, EROFS);
    const fsys::Result stays =
        fsys::moveFile(q(volume.file("small.jpg")), q(home.file("small.jpg")), false);
    EXPECT_EQ(stays.error, EROFS);
    EXPECT_FALSE(there(home.file("small.jpg"))) << "the file would be in two places";
    EXPECT_EQ(namesIn(volume.path()), onVolume);
    EXPECT_EQ(readBytes(home.file("big.tif")), big);
    ASSERT_TRUE(volume.setReadOnly(false));
}

TEST(FileSystem, FoldersAndWhatIsNotAFile) {
    TempDir dir;
    EXPECT_TRUE(fsys::makePath(q(dir.file("a/b/c/"))));
    EXPECT_TRUE(fsys::makePath(q(dir.file("a/b/c")))) << "there already";
    EXPECT_EQ(fsys::makeFolder(q(dir.file("a"))).error, EEXIST);
    EXPECT_EQ(fsys::makeFolder(q(dir.file("x/y"))).error, ENOENT);
    put(dir.file("file"), "f");
    EXPECT_EQ(fsys::makePath(q(dir.file("file/sub"))).error, ENOTDIR);
    EXPECT_FALSE(fsys::moveFile(q(dir.file("a")), q(dir.file("moved")), false))
        << "folders are not moved as files";
    EXPECT_EQ(fsys::copyFile(q(dir.file("a")), q(dir.file("copied")), false).error, EISDIR);
    EXPECT_EQ(fsys::moveFile(q(dir.file("none")), q(dir.file("x")), false).error, ENOENT);
    EXPECT_FALSE(fsys::copyFile(QString(), q(dir.file("x")), false));
    EXPECT_FALSE(fsys::renameNoReplace(q(dir.file("file")), q(dir.file("none/file"))));
    EXPECT_TRUE(there(dir.file("file")));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a", "file"}));
}

// A FIFO where a file is expected is refused at once, never waited on; a name holding a NUL is
// refused whole, never cut short to the file its first part names.
TEST(FileSystem, AFifoOrANameWithANulIsNeverTakenForAFile) {
    TempDir dir;
    const std::string fifo = dir.file("pipe.jpg");
    const PlantedFifo planted(fifo);
    ASSERT_TRUE(planted.made());
    put(dir.file("AB"), "kept");
    const QString cut = q(dir.file("AB")) + QChar(0) + QStringLiteral("CD");
    QFile file;
    EXPECT_FALSE(fsys::openForReading(file, q(fifo)));
    EXPECT_FALSE(fsys::openForWriting(file, q(fifo)));
    EXPECT_FALSE(fsys::openForReading(file, cut));
    EXPECT_FALSE(fsys::openForWriting(file, cut));
    EXPECT_EQ(fsys::copyFile(q(fifo), q(dir.file("copied.jpg")), false).error, EINVAL);
    EXPECT_FALSE(fsys::moveFile(q(fifo), q(dir.file("moved.jpg")), false));
    EXPECT_FALSE(fsys::isFile(q(fifo)));
    for (const auto& operation : kOperations) {
        SCOPED_TRACE(operation.name);
        EXPECT_FALSE(operation.run(q(dir.file("AB")), cut));
        EXPECT_FALSE(operation.run(cut, q(dir.file("other"))));
    }
    EXPECT_FALSE(fsys::exists(cut));
    EXPECT_FALSE(fsys::isFile(cut));
    EXPECT_FALSE(fsys::remove(cut));
    EXPECT_FALSE(fsys::makeFolder(cut));
    EXPECT_EQ(readBytes(dir.file("AB")), "kept");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"AB", "pipe.jpg"}));
    EXPECT_EQ(planted.rescues(), 0);
}
