// Pictures read ahead by the workers and thumbnails shared with other desktop programs: every
// picture is decoded once however the user pages, what is shown is always the file as it is now,
// Cancel stops the workers, memory stays bounded, and the shared cache is written the way other
// programs read it and believed only while it is current.
#include "catalogue_fixture.h"
#include "native_name.h"
#include "peak_memory.h"
#include "shared_thumbnails.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <future>
#include <sys/stat.h>

class CatalogueAheadTest : public CatalogueFixture {
protected:
    DecodeAhead& ahead() { return view().ahead(); }
    // A window of its own, with nothing read ahead yet.
    void newWindow() {
        window_.reset();
        program.browse.PAGE_DATE.fill(QStringLiteral("DUMMY")); // nothing is shown yet
        loader().resetCount();
    }
    QString path(int number) const {
        return program.browse.DISP_DIR + QString::fromStdString(nameOf(number));
    }
};

TEST_F(CatalogueAheadTest, EveryPictureIsDecodedOnceHoweverThePagesAreTurned) {
    makePictures(20);
    refresh().displayFolderChanged();
    ahead().waitIdle(); // the second page read ahead
    EXPECT_EQ(ahead().decodes(), 16);
    refresh().nextPage();
    ahead().waitIdle(); // and the last files after it
    refresh().nextPage();
    refresh().previousPage();
    refresh().previousPage();
    ahead().waitIdle();
    EXPECT_EQ(ahead().decodes(), 20);
    // What the cells counted is what they showed, in cell order, page after page.
    QStringList expected;
    for (int i : {0,  1,  2,  3,  4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                  16, 17, 18, 19, 4, 5, 6, 7, 8, 9, 10, 11, 0,  1,  2,  3}) {
        expected << QString::fromStdString(nameOf(i));
    }
    EXPECT_EQ(names(loader().loadedPaths()).join(' ').toStdString(),
              expected.join(' ').toStdString());
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(near(shownColour(i), colourOf(i))) << i;
    }
}

TEST_F(CatalogueAheadTest, AFileChangedAfterItWasReadAheadIsReadAgain) {
    makePictures(16);
    refresh().displayFolderChanged();
    ahead().waitIdle();
    writePicture(folder.file(nameOf(9)), colourOf(3), 64, 48);
    touch(folder.file(nameOf(9)), 5);
    refresh().nextPage();
    EXPECT_TRUE(near(shownColour(1), colourOf(3)));
    EXPECT_TRUE(near(shownColour(2), colourOf(10)));
    EXPECT_EQ(ahead().decodes(), 17);
}

TEST_F(CatalogueAheadTest, CancelAndTheOtherModesLeaveTheWorkersIdle) {
    makePictures(20);
    window();
    QMetaObject::invokeMethod(&window(), "onCommand3", Qt::QueuedConnection);
    refresh().displayFolderChanged();
    ahead().waitIdle();
    EXPECT_EQ(ahead().decodes(), 0);

    // Handle modes read through the library on the window's thread, one cell at a time.
    program.settings.C256 = 1;
    refresh().redrawInPlace();
    ahead().waitIdle();
    EXPECT_EQ(ahead().decodes(), 0);
    EXPECT_EQ(loader().loads(), 8);

    // A Cancel on a queue of pictures not started drops them. The worker's first picture (if it
    // has begun one) is held until the Cancel is through, so however fast or slow the machine,
    // it is the only one decoded.
    DecodeAhead queue{SharedThumbnails(), 1};
    std::promise<void> cancelled;
    const std::shared_future<void> through = cancelled.get_future().share();
    std::vector<DecodeAhead::Request> requests;
    for (int i = 0; i < 20; ++i) {
        requests.push_back({path(i), QSize(64, 48), false, [through](QSize) {
                                through.wait();
                                return QSize();
                            }});
    }
    queue.wantNow(requests);
    queue.dropPending();
    cancelled.set_value();
    queue.waitIdle();
    EXPECT_LE(queue.decodes(), 1);
}

TEST_F(CatalogueAheadTest, KeptPicturesStayWithinThreePages) {
    makePictures(60);
    refresh().displayFolderChanged();
    for (int page = 0; page < 6; ++page) {
        refresh().nextPage();
    }
    ahead().waitIdle();
    EXPECT_LE(ahead().kept(), DecodeAhead::kKeptPictures);
    EXPECT_GE(ahead().kept(), 24);
}

TEST_F(CatalogueAheadTest, FileUrisAreEncodedAsOtherDesktopProgramsDo) {
    const struct {
        QByteArray path;
        const char* uri;
    } cases[] = {
        {"/tmp/a b/caf\xe9.jpg", "file:///tmp/a%20b/caf%E9.jpg"},
        {"/x/100%#?;[]^`{|}\".jpg", "file:///x/100%25%23%3F%3B%5B%5D%5E%60%7B%7C%7D%22.jpg"},
        {"/x/!$&'()*+,-.:=@_~.JPG", "file:///x/!$&'()*+,-.:=@_~.JPG"},
        {"/写真/1.jpg", "file:///%E5%86%99%E7%9C%9F/1.jpg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SharedThumbnails::uriOf(native_name::fromBytes(c.path)), QByteArray(c.uri))
            << c.path.constData();
    }
}

TEST_F(CatalogueAheadTest, SharedThumbnailsAreWrittenForOthersAndBelievedOnlyWhileCurrent) {
    const std::string cache = folder.file(".cache-thumbnails");
    program.sharedThumbnails = QString::fromStdString(cache);
    const SharedThumbnails shared(program.sharedThumbnails);
    program.settings.CMTY = 3; // cells small enough for the cache's 256-pixel thumbnails
    program.settings.CMTT = 12;
    const auto sizeOf = [](int i) { return i % 2 == 0 ? QSize(1600, 1200) : QSize(1920, 1080); };
    for (int i = 0; i < 7; ++i) {
        writePicture(folder.file(nameOf(i)), colourOf(i), sizeOf(i).width(), sizeOf(i).height());
        // The last one seems changed within the current second however long the decoding takes
        // on a busy machine: its time lies ahead.
        touch(folder.file(nameOf(i)), i < 6 ? -10 : 60);
    }
    refresh().displayFolderChanged();
    ahead().waitIdle();
    // A picture changed within this second gets no thumbnail: one more change in the same
    // second would leave its time as it is.
    const QByteArray racy = SharedThumbnails::uriOf(path(6));
    EXPECT_FALSE(QFile::exists(shared.fileOf(racy, 256)) ||
                 QFile::exists(shared.fileOf(racy, 512)));

    // Written as the cache's readers expect: named by the URI's MD5, the URI and the time in it,
    // readable by the user alone, and no temporary file left.
    std::vector<QString> thumbnails;
    for (int i = 0; i < 6; ++i) {
        const QByteArray uri = SharedThumbnails::uriOf(path(i));
        const QString large = shared.fileOf(uri, 256);
        const QString extraLarge = shared.fileOf(uri, 512);
        thumbnails.push_back(QFile::exists(large) ? large : extraLarge);
        QImageReader reader(thumbnails.back());
        EXPECT_EQ(reader.format(), "png");
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << i;
        EXPECT_EQ(image.text("Thumb::URI").toLatin1(), uri);
        struct stat file {};
        ASSERT_EQ(stat(folder.file(nameOf(i)).c_str(), &file), 0);
        EXPECT_EQ(image.text("Thumb::MTime").toLongLong(), qint64(file.st_mtim.tv_sec));
        EXPECT_EQ(std::max(image.width(), image.height()) % 256, 0) << i;
        struct stat written {};
        ASSERT_EQ(stat(thumbnails.back().toLocal8Bit().constData(), &written), 0);
        EXPECT_EQ(written.st_mode & 0777, 0600u);
    }
    const QDir flavour = QFileInfo(thumbnails[0]).dir();
    EXPECT_EQ(flavour.entryList(QDir::Files).size(), 6);

    // A window of its own shows the thumbnails instead of reading the pictures...
    newWindow();
    refresh().displayFolderChanged();
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(loader().loadedPaths().value(i), thumbnails[i]) << i;
        EXPECT_TRUE(near(shownColour(i), colourOf(i))) << i;
        EXPECT_EQ(view().pictureSize(i), sizeOf(i)) << i;
    }

    // ...but none that is stale, broken (here a text chunk claiming 1.8 GB, which the reader
    // would allocate), another file's, or too small for the cell.
    touch(folder.file(nameOf(0)), 10);
    std::string lying = readBytes(thumbnails[1].toStdString());
    lying.insert(33, std::string("\x6C\x74\x20\x25tEXtThumb::URI\0x", 20));
    ASSERT_TRUE(writeBytes(thumbnails[1].toStdString(), lying.data(), lying.size()));
    QImage other(thumbnails[2]);
    other.setText("Thumb::URI", QString::fromLatin1(SharedThumbnails::uriOf(path(5))));
    ASSERT_TRUE(other.save(thumbnails[2], "PNG"));
    QImage small = QImage(thumbnails[3]).scaled(64, 48);
    small.setText("Thumb::URI", QImage(thumbnails[3]).text("Thumb::URI"));
    small.setText("Thumb::MTime", QImage(thumbnails[3]).text("Thumb::MTime"));
    ASSERT_TRUE(small.save(thumbnails[3], "PNG"));
    // The companion's thumbnails come first.
    std::filesystem::create_directory(folder.file("thumbs"));
    ASSERT_TRUE(writeBytes(folder.file("SNAPLET.INF"), "TNDN,thumbs\r\n", 13));
    writePicture(folder.file("thumbs/" + nameOf(4)), colourOf(9), 160, 120);
    std::filesystem::last_write_time(folder.file("thumbs/" + nameOf(4)),
                                     std::filesystem::last_write_time(folder.file(nameOf(4))));
    program.settings.UTNT = 1;
    newWindow();
    const bool resettable = peak_memory::resetPeak();
    const long before = peak_memory::statusKb("VmRSS");
    refresh().displayFolderChanged();
    ahead().waitIdle();
    if (resettable) {
        EXPECT_LT(peak_memory::statusKb("VmHWM") - before, 256 * 1024);
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(loader().loadedPaths().value(i), path(i)) << i;
        EXPECT_TRUE(near(shownColour(i), colourOf(i))) << i;
    }
    EXPECT_EQ(names(loader().loadedPaths()).value(4), QStringLiteral("p04.jpg"));
    EXPECT_TRUE(loader().loadedPaths().value(4).contains(QStringLiteral("/thumbs/")));
    EXPECT_EQ(loader().loadedPaths().value(5), thumbnails[5]);
}
