// Files that are not what they seem and volumes that fill up. A FIFO in a picture's or a
// document's place is refused at once by every reader, never waited on; a document saved onto a
// volume without room for it fails and says so at every amount of room left, leaving a file it
// would have replaced byte for byte, and is reported as made only when it is whole on disk.
#include "fifo.h"
#include "pelmix.h"
#include "small_volume.h"
#include "temp_dir.h"
#include "test_images.h"

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(SpecialFiles, AFifoInAPicturesOrADocumentsPlaceIsRefusedAtOnce) {
    TempDir dir;
    struct Reader {
        const char* name;
        std::function<bool(const std::string&)> refuses;
    };
    const Reader readers[] = {
        {"load",
         [](const std::string& p) {
             return ImageHandle(PelmixFileLoad(p.c_str(), "", "")).get() == nullptr;
         }},
        {"load upright",
         [](const std::string& p) {
             return ImageHandle(PelmixFileLoadUpright(p.c_str(), "", "")).get() == nullptr;
         }},
        {"load to fit",
         [](const std::string& p) {
             return ImageHandle(PelmixFileLoadFit(p.c_str(), 64, 64, nullptr)).get() == nullptr;
         }},
        {"cost",
         [](const std::string& p) { return PelmixFileLoadFitCost(p.c_str(), 0, 0, nullptr) < 0; }},
        {"page of a PDF",
         [](const std::string& p) {
             PELMIX_PDF* pdf = PelmixPdfCreate();
             const bool refused =
                 PelmixPdfAddFile(pdf, p.c_str(), 1) == 0 &&
                 PelmixPdfError(pdf, nullptr, nullptr, nullptr) == PELMIX_PDF_NOT_A_PICTURE;
             PelmixPdfFree(pdf);
             return refused;
         }},
        {"pages of a PDF",
         [](const std::string& p) { return PelmixPdfFilePages(p.c_str()) == -1; }},
    };
    for (const char* name : {"fifo.jpg", "fifo.bmp", "fifo.tif", "fifo.pdf"}) {
        const std::string path = dir.file(name);
        for (const Reader& reader : readers) {
            SCOPED_TRACE(std::string(name) + ": " + reader.name);
            const PlantedFifo fifo(path);
            ASSERT_TRUE(fifo.made());
            EXPECT_TRUE(reader.refuses(path));
            EXPECT_EQ(fifo.rescues(), 0);
        }
    }
    // And a document is not saved into one: it takes the FIFO's place as a file.
    ImageHandle picture = makeRgbImage(8, 8, [](int x, int y) { return testPattern(x, y, 8, 8); });
    ASSERT_EQ(PelmixBmpFileSave(dir.file("a.bmp").c_str(), picture.get(), "", "", 0), 1);
    PELMIX_PDF* pdf = PelmixPdfCreate();
    ASSERT_EQ(PelmixPdfAddFile(pdf, dir.file("a.bmp").c_str(), 0), 1);
    const std::string document = dir.file("fifo.pdf");
    {
        const PlantedFifo fifo(document);
        EXPECT_EQ(PelmixPdfSave(pdf, document.c_str()), 1);
        EXPECT_EQ(PelmixPdfFilePages(document.c_str()), 1);
        EXPECT_EQ(fifo.rescues(), 0);
    }
    PelmixPdfFree(pdf);
}

// The document of three pictures saved onto a small volume with 0, 1, 2 … pages of room until it
// fits, as a new file and over an older document.
TEST(SpecialFiles, ADocumentThatDoesNotFitFailsAtEveryStepAndReplacesNothing) {
    SmallVolume volume(4 << 20);
    if (!volume.mounted()) {
        GTEST_SKIP() << "no right to mount a small volume here";
    }
    TempDir pictures;
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i) {
        ImageHandle image = makeRgbImage(160, 120, [i](int x, int y) {
            return Colour{uint8_t(x * 7 + i), uint8_t(y * 13), uint8_t(x ^ y)};
        });
        paths.push_back(pictures.file("page" + std::to_string(i) + (i == 1 ? ".bmp" : ".jpg")));
        ASSERT_EQ(i == 1 ? PelmixBmpFileSave(paths.back().c_str(), image.get(), "", "", 0)
                         : PelmixJpegFileSave(paths.back().c_str(), image.get(), "", "", 90, 0),
                  1);
    }
    auto document = [&] {
        PELMIX_PDF* pdf = PelmixPdfCreate();
        for (const std::string& path : paths) {
            EXPECT_EQ(PelmixPdfAddFile(pdf, path.c_str(), 0), 1);
        }
        return pdf;
    };
    // An older document of one page, and the size of the new one.
    PELMIX_PDF* older = PelmixPdfCreate();
    ASSERT_EQ(PelmixPdfAddFile(older, paths[0].c_str(), 0), 1);
    ASSERT_EQ(PelmixPdfSave(older, pictures.file("older.pdf").c_str()), 1);
    PelmixPdfFree(older);
    const std::string olderBytes = readBytes(pictures.file("older.pdf"));
    PELMIX_PDF* sized = document();
    ASSERT_EQ(PelmixPdfSave(sized, pictures.file("whole.pdf").c_str()), 1);
    PelmixPdfFree(sized);
    const uint64_t pageBytes = uint64_t(::sysconf(_SC_PAGESIZE));
    const uint64_t needed =
        (readBytes(pictures.file("whole.pdf")).size() + pageBytes - 1) / pageBytes;

    const std::string target = volume.file("book.pdf");
    for (const bool replacing : {false, true}) {
        SCOPED_TRACE(replacing ? "over an older document" : "a new document");
        int failures = 0;
        for (uint64_t free = 0;; ++free) {
            SCOPED_TRACE("pages free: " + std::to_string(free));
            ::unlink(target.c_str());
            if (replacing) {
                ASSERT_TRUE(volume.leaveFree(0));
                ::unlink(volume.file(".filler").c_str());
                ASSERT_TRUE(writeBytes(target, olderBytes.data(), olderBytes.size()));
            }
            ASSERT_TRUE(volume.leaveFree(free * pageBytes));
            PELMIX_PDF* pdf = document();
            const int32_t saved = PelmixPdfSave(pdf, target.c_str());
            int32_t error = 0;
            const int32_t why = PelmixPdfError(pdf, &error, nullptr, nullptr);
            PelmixPdfFree(pdf);
            std::vector<std::string> left = {".filler"};
            if (saved == 1) {
                EXPECT_EQ(why, PELMIX_PDF_OK);
                EXPECT_EQ(PelmixPdfFilePages(target.c_str()), 3);
                EXPECT_EQ(namesIn(volume.path()),
                          (std::vector<std::string>{".filler", "book.pdf"}));
                // Only where it fits: at most the room the document takes, and a page more for
                // the file system's own needs.
                EXPECT_LE(free, needed + 1);
                break;
            }
            ++failures;
            EXPECT_EQ(why, PELMIX_PDF_NO_SPACE);
            EXPECT_EQ(error, ENOSPC);
            if (replacing) {
                EXPECT_EQ(readBytes(target), olderBytes);
                left.push_back("book.pdf");
            }
            EXPECT_EQ(namesIn(volume.path()), left) << "nothing but what was there";
            ASSERT_LT(free, needed + 8) << "it never fitted";
        }
        EXPECT_GE(uint64_t(failures), needed - 1);
    }
}

} // namespace
