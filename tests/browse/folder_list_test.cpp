// Listing a folder: pattern, exclusions, order, failures and modification texts; the case and
// number helpers the browsing code compares and labels with.
#include "folder_list.h"
#include "native_name.h"
#include "picture_loader.h"
#include "temp_dir.h"
#include "test_images.h"
#include "upper_ascii.h"
#include "without_root_rights.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void touch(const TempDir& dir, const std::string& name) {
    ASSERT_TRUE(writeBytes(dir.file(name), "x", 1)) << name;
}

QString folderOf(const TempDir& dir) {
    return QString::fromStdString(dir.path()) + QLatin1Char('/');
}

TEST(FolderListTest, ListsOnlyThePictureEndingsInNameOrder) {
    TempDir dir;
    for (const char* name : {"b.JPG", "a.bmp", "c.tiff", "d.gif"}) {
        touch(dir, name);
    }
    FolderList list;
    ASSERT_TRUE(list.setFolder(folderOf(dir)));
    EXPECT_EQ(list.names(), (QStringList{"a.bmp", "b.JPG"}));
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.name(0), "a.bmp");
    EXPECT_EQ(list.name(1), "b.JPG");
    EXPECT_EQ(list.name(2), "");
    EXPECT_EQ(list.name(-1), "");
}

TEST(NativeNameTest, BytesComeBackExactlyAndShowAsTheLocaleCan) {
    struct Case {
        const char* bytes;
        const char16_t* shown;
    };
    const Case cases[] = {
        {"plain.jpg", u"plain.jpg"},
        {"\xe6\x97\xa5\xe6\x9c\xac.jpg", u"日本.jpg"},   // UTF-8
        {"caf\xe9.bmp", u"café.bmp"},                    // Latin-1
        {"\x83\x65\x83\x58\x83\x67.bmp", u"テスト.bmp"}, // Shift-JIS
        {"\xf0\x9f\x93\xb7.tif", u"📷.tif"},              // four bytes of UTF-8
        {"\xc0\xaf\xed\xa0\x80\xff.bmp", u"\u00c0\u00af\u00ed\u00a0\u0080\u00ff.bmp"}, // not UTF-8
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        const QByteArray bytes(c.bytes);
        const QString text = native_name::fromBytes(bytes);
        EXPECT_EQ(native_name::toBytes(text), bytes);
        EXPECT_EQ(native_name::forDisplay(text), QString::fromUtf16(c.shown));
    }
}

TEST(FolderListTest, NamesThatAreNotUtf8AreListedAndOpened) {
    TempDir dir;
    const std::string names[] = {"caf\xe9.bmp", "\x83\x65\x83\x58\x83\x67.bmp"};
    ImageHandle image = makeRgbImage(8, 6, [](int x, int y) { return testPattern(x, y, 8, 6); });
    for (const std::string& name : names) {
        ASSERT_EQ(PelmixBmpFileSave(dir.file(name).c_str(), image.get(), "", "", 0), 1);
    }
    FolderList list;
    ASSERT_TRUE(list.setFolder(folderOf(dir)));
    ASSERT_EQ(list.count(), 2);
    PictureLoader loader;
    for (const QString& name : list.names()) {
        EXPECT_FALSE(loader.loadImage(folderOf(dir) + name, QSize(4, 3)).isNull())
            << native_name::toBytes(name).toStdString();
        EXPECT_FALSE(FolderList::dateTimeText(folderOf(dir) + name).isEmpty());
    }
}

TEST(PictureLoaderTest, WhatTheLibraryRefusesTheSystemLoaderReads) {
    TempDir dir;
    QImage png(400, 300, QImage::Format_RGB32);
    png.fill(Qt::red);
    ASSERT_TRUE(png.save(QString::fromStdString(dir.file("photo.jpg")), "PNG"));
    ASSERT_TRUE(writeBytes(dir.file("broken.jpg"), "\xff\xd8 nothing", 10));
    PictureLoader loader;
    QSize natural;
    const QImage shown = loader.loadImage(folderOf(dir) + "photo.jpg", QSize(40, 40), &natural);
    EXPECT_EQ(natural, QSize(400, 300));
    EXPECT_EQ(shown.size(), QSize(40, 30)) << "reduced for the box";
    EXPECT_EQ(shown.pixelColor(20, 15), QColor(Qt::red));
    EXPECT_TRUE(loader.loadImage(folderOf(dir) + "broken.jpg", QSize(40, 40)).isNull());
}

TEST(FolderListTest, LeavesOutFoldersHiddenFilesAndNearMisses) {
    TempDir dir;
    for (const char* name : {"x.Tif", ".hidden.jpg", "bmp", "a.jpeg", "a.jpg.txt", "y.BmP"}) {
        touch(dir, name);
    }
    std::filesystem::create_directory(dir.file("folder.jpg"));
    std::filesystem::create_symlink(dir.file("x.Tif"), dir.file("link.jpg"));
    std::filesystem::create_symlink(dir.file("folder.jpg"), dir.file("dirlink.bmp"));
    std::filesystem::create_symlink(dir.file("gone"), dir.file("broken.bmp"));
    ASSERT_EQ(mkfifo(dir.file("pipe.jpg").c_str(), 0600), 0);
    std::filesystem::create_symlink(dir.file("pipe.jpg"), dir.file("pipelink.bmp"));

    FolderList list;
    ASSERT_TRUE(list.setFolder(folderOf(dir)));
    EXPECT_EQ(list.names(), (QStringList{"link.jpg", "x.Tif", "y.BmP"}));
}

TEST(FolderListTest, OrdersWithoutRegardToCaseAndKeepsEqualNamesStable) {
    TempDir dir;
    for (const char* name : {"B2.jpg", "a10.bmp", "A1.tif", "b1.JPG", "_x.bmp", "0.bmp"}) {
        touch(dir, name);
    }
    FolderList list;
    ASSERT_TRUE(list.setFolder(folderOf(dir)));
    // Letters compare in one case, so "_" comes before them and "A1" before "a10".
    EXPECT_EQ(list.names(),
              (QStringList{"0.bmp", "_x.bmp", "A1.tif", "a10.bmp", "b1.JPG", "B2.jpg"}));

    // Names equal but for case: both listed, next to each other.
    TempDir same;
    touch(same, "p.jpg");
    touch(same, "P.JPG");
    touch(same, "o.jpg");
    ASSERT_TRUE(list.setFolder(folderOf(same)));
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.name(0), "o.jpg");
    EXPECT_EQ(UPPER_ASCII(list.name(1)), "P.JPG");
    EXPECT_EQ(UPPER_ASCII(list.name(2)), "P.JPG");
}

TEST(FolderListTest, RefreshSeesNewAndRemovedFiles) {
    TempDir dir;
    touch(dir, "a.bmp");
    FolderList list;
    ASSERT_TRUE(list.setFolder(folderOf(dir)));
    EXPECT_EQ(list.count(), 1);
    touch(dir, "b.bmp");
    std::filesystem::remove(dir.file("a.bmp"));
    ASSERT_TRUE(list.refresh());
    EXPECT_EQ(list.names(), QStringList{"b.bmp"});
}

TEST(FolderListTest, MissingFolderIsPathNotFound) {
    TempDir dir;
    touch(dir, "a.bmp");
    FolderList list;
    ASSERT_TRUE(list.setFolder(folderOf(dir)));
    EXPECT_FALSE(list.setFolder(folderOf(dir) + "nowhere/"));
    EXPECT_EQ(list.errorNumber(), FolderList::kPathNotFound);
    EXPECT_FALSE(list.errorText().isEmpty());
    EXPECT_EQ(list.count(), 0); // the old listing is gone

    EXPECT_FALSE(list.setFolder(QString::fromStdString(dir.file("a.bmp")) + "/"));
    EXPECT_EQ(list.errorNumber(), FolderList::kPathNotFound);
    EXPECT_FALSE(list.setFolder(QString()));
    EXPECT_EQ(list.errorNumber(), FolderList::kPathNotFound);
}

TEST(FolderListTest, UnreadableFolderIsAccessDenied) {
    const WithoutRootRights ordinaryUser;
    if (!ordinaryUser.enforced()) {
        GTEST_SKIP() << "permissions are not enforced here";
    }
    TempDir dir;
    const std::string locked = dir.file("locked");
    std::filesystem::create_directory(locked);
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    FolderList list;
    EXPECT_FALSE(list.setFolder(QString::fromStdString(locked) + "/"));
    EXPECT_EQ(list.errorNumber(), FolderList::kAccessDenied);
    EXPECT_EQ(list.errorText(), QString::fromLocal8Bit(strerror(EACCES)));
    chmod(locked.c_str(), 0700);
}

TEST(FolderListTest, DateTimeTextFollowsTheModificationTime) {
    TempDir dir;
    touch(dir, "a.bmp");
    const QString path = QString::fromStdString(dir.file("a.bmp"));
    const QString first = FolderList::dateTimeText(path);
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(FolderList::dateTimeText(path), first);

    std::filesystem::last_write_time(dir.file("a.bmp"),
                                     std::filesystem::last_write_time(dir.file("a.bmp")) +
                                         std::chrono::seconds(5));
    EXPECT_NE(FolderList::dateTimeText(path), first);
    EXPECT_EQ(FolderList::dateTimeText(path + "x"), "");
    EXPECT_EQ(FolderList::dateTimeText(QString()), "");
}

TEST(FolderListTest, PatternMatchesTheThreeEndingsInAnyCase) {
    for (const char* name : {"a.bmp", "A.BMP", "x.y.JpG", "t.tIF", "日本.jpg"}) {
        EXPECT_TRUE(FolderList::matchesPattern(QString::fromUtf8(name))) << name;
    }
    for (const char* name : {"a.jpeg", "a.tiff", "abmp", "a.bmp ", "a.gif", "", "jpg"}) {
        EXPECT_FALSE(FolderList::matchesPattern(QString::fromUtf8(name))) << name;
    }
}

TEST(UpperAsciiTest, ChangesOnlyTheLettersAToZ) {
    EXPECT_EQ(UPPER_ASCII("abc.Jpg"), "ABC.JPG");
    EXPECT_EQ(UPPER_ASCII("z9_-[]{}"), "Z9_-[]{}");
    // Letters outside a-z keep their case: accented, full-width and Japanese characters.
    EXPECT_EQ(UPPER_ASCII(QString::fromUtf8("éàｂ写真a")), QString::fromUtf8("éàｂ写真A"));
    EXPECT_EQ(UPPER_ASCII(""), "");
}

TEST(UpperAsciiTest, NumbersGetTheirSignPosition) {
    EXPECT_EQ(signedNumberText(5), " 5");
    EXPECT_EQ(signedNumberText(23), " 23");
    EXPECT_EQ(signedNumberText(0), " 0");
    EXPECT_EQ(signedNumberText(-7), "-7");
}

} // namespace
