// The shared thumbnail cache is used only while its folders are the user's own: a cache folder,
// or one flavour's folder, that is a link or belongs to another user is neither written nor read,
// so thumbnails never land in, or come from, a folder someone else planted.
#include "shared_thumbnails.h"
#include "temp_dir.h"
#include "test_images.h"

#include <QImage>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

size_t filesIn(const std::string& folder) {
    size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        count += entry.is_regular_file() ? 1 : 0;
    }
    return count;
}

} // namespace

TEST(SharedThumbnailsTest, AFolderThatIsALinkOrAnotherUsersIsNeitherWrittenNorRead) {
    TempDir root;
    const std::string picture = root.file("photo.jpg");
    ImageHandle image =
        makeRgbImage(1200, 900, [](int x, int y) { return testPattern(x, y, 1200, 900); });
    ASSERT_NE(PelmixJpegFileSave(picture.c_str(), image.get(), "", "", 90, 0), 0);
    fs::last_write_time(picture, fs::last_write_time(picture) - std::chrono::seconds(10));
    const QString path = QString::fromStdString(picture);
    const FileStamp stamp = FileStamp::of(path);
    const QImage decoded = QImage(1200, 900, QImage::Format_RGB32);
    const QSize box(200, 150);

    // The user's own cache takes the thumbnail and gives it back.
    const std::string own = root.file("own/thumbnails");
    const SharedThumbnails ownCache(QString::fromStdString(own));
    ASSERT_TRUE(ownCache.store(path, stamp, decoded, QSize(1200, 900), box));
    ASSERT_FALSE(ownCache.find(path, stamp, box).image.isNull());

    struct Planted {
        const char* name;
        std::function<void(const std::string& cache)> plant;
    };
    const bool root_user = ::geteuid() == 0;
    const Planted cases[] = {
        {"cache folder a link",
         [&](const std::string& cache) { fs::create_directory_symlink(own, cache); }},
        {"flavour folder a link",
         [&](const std::string& cache) {
             fs::create_directories(cache);
             fs::create_directory_symlink(own + "/large", cache + "/large");
         }},
        {"flavour folder another user's",
         [&](const std::string& cache) {
             fs::create_directories(cache);
             fs::copy(own + "/large", cache + "/large");
             ASSERT_EQ(::chown((cache + "/large").c_str(), 65534, 65534), 0);
         }},
    };
    for (const Planted& c : cases) {
        SCOPED_TRACE(c.name);
        if (!root_user && std::string(c.name).find("user") != std::string::npos) {
            continue; // only root may give a folder away
        }
        const std::string cache = root.file(std::string(c.name) + "/thumbnails");
        fs::create_directories(fs::path(cache).parent_path());
        c.plant(cache);
        const size_t before = filesIn(own) + filesIn(cache);
        const SharedThumbnails planted(QString::fromStdString(cache));
        EXPECT_TRUE(planted.find(path, stamp, box).image.isNull());
        EXPECT_FALSE(planted.store(path, stamp, decoded, QSize(1200, 900), box));
        EXPECT_EQ(filesIn(own) + filesIn(cache), before);
    }
}
