// The File menu's PDF of the folder shown: every picture in list order, as it stands, turned
// upright, under the name the save dialog gives; cancelled or failed, it leaves no file.
#include "fifo.h"
#include "files_fixture.h"
#include "pdf_tools.h"
#include "picture_document.h"
#include "small_volume.h"
#include "without_root_rights.h"

#include <QAction>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <sys/stat.h>

namespace {

class FolderDocumentTest : public FilesFixture {
protected:
    std::string out(const std::string& name) const { return elsewhere.file(name); }
    void makeFromMenu() { window().MNU_FILE_PDF->trigger(); }
    TempDir elsewhere;
};

TEST_F(FolderDocumentTest, TheFileMenuMakesOnePdfOfTheFolderInListOrderEachPageUpright) {
    if (!havePoppler()) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    // The third picture as a camera stores it when held upright, turned by its Exif tag: the
    // stored left half (black) is the top of the picture seen.
    ImageHandle halves = makeRgbImage(64, 48, [](int x, int) {
        return x < 32 ? Colour{0, 0, 0} : Colour{255, 255, 255};
    });
    ASSERT_TRUE(PelmixJpegFileSave(folder.file(nameOf(2)).c_str(), halves.get(), "", "", 95, 0));
    ASSERT_TRUE(setExifOrientation(folder.file(nameOf(2)), 6));
    std::vector<std::string> files;
    for (int i = 0; i < 5; ++i) {
        files.push_back(folder.file(nameOf(i)));
    }
    prompter.paths.push_back(q(out("book"))); // the extension is added
    makeFromMenu();

    ASSERT_FALSE(prompter.requests.empty());
    EXPECT_EQ(prompter.requests[0].kind, QStringLiteral("save"));
    EXPECT_EQ(prompter.requests[0].caption, QStringLiteral("PDFの作成"));
    const QString folderName = QDir(program.browse.DISP_DIR).dirName();
    EXPECT_EQ(prompter.requests[0].start, program.browse.DISP_DIR + folderName + ".pdf");
    EXPECT_EQ(prompter.saveFilters, QStringList{"PDF (*.pdf)"});
    EXPECT_EQ(prompter.messages(), QStringList{"PDFを作成しました。\nファイル名 : " +
                                               q(out("book.pdf")) + "\nページ数 : 5"});
    const std::string pdf = out("book.pdf");
    const std::vector<PdfImage> images = pdfImages(pdf);
    ASSERT_EQ(images.size(), 5u);
    for (const PdfImage& image : images) {
        EXPECT_EQ(image.encoding, "jpeg");
    }
    // In list order, as the files stand.
    commandOutput("pdfimages -j '" + pdf + "' '" + out("page") + "'");
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(readBytes(out("page-00" + std::to_string(i) + ".jpg")), readBytes(files[i])) << i;
    }
    // The turned picture stands upright: its landscape pixels on a portrait page.
    const std::string info = commandOutput("pdfinfo -f 1 -l 5 '" + pdf + "'");
    double w = 0, h = 0;
    for (int page = 1; page <= 5; ++page) {
        const std::string key = "Page    " + std::to_string(page) + " size: ";
        ASSERT_NE(info.find(key), std::string::npos) << info;
        std::sscanf(info.c_str() + info.find(key) + key.size(), "%lf x %lf", &w, &h);
        EXPECT_EQ(w < h, page == 3) << page;
    }
    commandOutput("pdftoppm -f 3 -l 3 -scale-to-x 48 -scale-to-y 64 -gray '" + pdf + "' '" +
                  out("seen") + "'");
    const std::string seen = readBytes(out("seen-3.pgm"));
    ASSERT_GT(seen.size(), 48u * 64u);
    const std::string pixels = seen.substr(seen.size() - 48 * 64); // 48 across, 64 down
    EXPECT_LT(uint8_t(pixels[10 * 48 + 24]), 60);
    EXPECT_GT(uint8_t(pixels[54 * 48 + 24]), 200);
}

TEST_F(FolderDocumentTest, CancelledOrFailedItLeavesNoFileAndSaysWhy) {
    makePictures(12); // a long folder shows its progress at once
    refresh().REFRESH_CATALOGUE(0);
    const std::string readOnly = elsewhere.file("read-only");
    std::filesystem::create_directories(readOnly);
    chmod(readOnly.c_str(), 0555);
    ASSERT_TRUE(writeBytes(out("old.pdf"), "an older document", 17));
    struct Row {
        const char* name;
        std::string target; // "" the dialog is cancelled
        bool cancelInProgress;
        std::string junk; // a picture file that is not one
        QStringList messages;
    };
    const std::vector<Row> rows = {
        {"dialog cancelled", "", false, "", {}},
        {"progress cancelled", out("stopped.pdf"), true, "", {}},
        {"not a picture",
         out("junk.pdf"),
         false,
         nameOf(7),
         {"「" + q(folder.file(nameOf(7))) + "」は読み込めないため、PDFを作成できませんでした。"}},
        {"folder refusing the file",
         readOnly + "/book.pdf",
         false,
         "",
         {"PDF「" + q(readOnly + "/book.pdf") +
          "」を作成できませんでした。\n理由 : " + QString::fromLocal8Bit(std::strerror(EACCES))}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const WithoutRootRights ordinaryUser;
        if (row.target.find("read-only") != std::string::npos && !ordinaryUser.enforced()) {
            continue;
        }
        prompter.requests.clear();
        const std::string before = readBytes(folder.file(nameOf(7)));
        if (!row.junk.empty()) {
            ASSERT_TRUE(writeBytes(folder.file(row.junk), "junk", 4));
        }
        prompter.paths.push_back(q(row.target));
        bool pressed = false;
        QTimer cancel;
        if (row.cancelInProgress) {
            QObject::connect(&cancel, &QTimer::timeout, [&] {
                for (QWidget* top : QApplication::topLevelWidgets()) {
                    auto* progress = qobject_cast<QProgressDialog*>(top);
                    if (progress != nullptr && progress->isVisible() && !pressed) {
                        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
                        pressed = true;
                    }
                }
            });
            cancel.start(0);
        }
        makeFromMenu();
        cancel.stop();
        EXPECT_EQ(pressed, row.cancelInProgress);
        EXPECT_EQ(prompter.messages(), row.messages);
        if (!row.target.empty()) {
            struct stat st;
            EXPECT_NE(stat(row.target.c_str(), &st), 0);
        }
        EXPECT_EQ(readBytes(out("old.pdf")), "an older document");
        EXPECT_EQ(namesIn(elsewhere.path()), (std::vector<std::string>{"old.pdf", "read-only"}));
        EXPECT_EQ(namesIn(readOnly), std::vector<std::string>{});
        ASSERT_TRUE(writeBytes(folder.file(nameOf(7)), before.data(), before.size()));
    }
    chmod(readOnly.c_str(), 0755);
}

// What stops the document is named: a FIFO in a picture's place (refused at once), a picture
// whose frame is larger than the program takes, and a volume without room, where the document it
// was to replace stays byte for byte and no "made" is said of a file that is not whole.
TEST_F(FolderDocumentTest, AFifoATooLargePictureOrAFullVolumeIsNamedAndReplacesNothing) {
    SmallVolume volume(1 << 20);
    const std::string picture = folder.file(nameOf(3));
    const std::string kept = readBytes(picture);
    struct Row {
        const char* name;
        std::function<void()> prepare;
        std::string target;
        QString message;
    };
    const std::string book = volume.file("book.pdf");
    std::optional<PlantedFifo> fifo;
    const std::vector<Row> rows = {
        {"a FIFO put in a picture's place while the dialog is open", [&] { fifo.emplace(picture); },
         out("fifo.pdf"), "「" + q(picture) + "」は読み込めないため、PDFを作成できませんでした。"},
        {"a picture of 30000 x 30000", [&] { ASSERT_TRUE(setFrameSize(picture, 30000, 30000)); },
         out("large.pdf"),
         "「" + q(picture) +
             "」は30000×30000ピクセルと大きすぎるため、PDFを作成できませんでした。"},
        {"a full volume over a document",
         [&] {
             ASSERT_TRUE(volume.mounted());
             PELMIX_PDF* older = PelmixPdfCreate();
             ASSERT_EQ(PelmixPdfAddFile(older, folder.file(nameOf(0)).c_str(), 0), 1);
             ASSERT_EQ(PelmixPdfSave(older, book.c_str()), 1);
             PelmixPdfFree(older);
             ASSERT_TRUE(volume.leaveFree(0));
         },
         book,
         "PDF「" + q(book) + "」を作成できませんでした。\n理由 : 保存先の空き容量が足りません。"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.target == book && !volume.mounted()) {
            continue; // no right to mount a volume here
        }
        prompter.requests.clear();
        std::string before;
        prompter.whileAsked = [&] {
            row.prepare();
            before = readBytes(row.target);
        };
        prompter.paths.push_back(q(row.target));
        makeFromMenu();
        prompter.whileAsked = nullptr;
        EXPECT_EQ(prompter.messages(), QStringList{row.message});
        EXPECT_EQ(readBytes(row.target), before);
        if (fifo) {
            EXPECT_EQ(fifo->rescues(), 0);
            fifo.reset();
        }
        std::remove(picture.c_str());
        ASSERT_TRUE(writeBytes(picture, kept.data(), kept.size()));
    }
    EXPECT_EQ(namesIn(elsewhere.path()), std::vector<std::string>{});
    if (volume.mounted()) {
        EXPECT_EQ(namesIn(volume.path()), (std::vector<std::string>{".filler", "book.pdf"}));
        EXPECT_EQ(PelmixPdfFilePages(book.c_str()), 1);
    }
}

} // namespace

// The progress window names the page being worked on, from the first: never "page 0 of 3".
TEST(PictureDocumentProgress, NamesThePageBeingWorkedOn) {
    struct Row {
        int done;
        bool reading;
        const char* label;
    };
    const Row rows[] = {
        {0, true, "文字認識中 1/3ページ"}, {2, true, "文字認識中 3/3ページ"},
        {3, true, "PDF作成中 1/3ページ"},  {6, true, "PDF作成中 3/3ページ"},
        {0, false, "PDF作成中 1/3ページ"}, {3, false, "PDF作成中 3/3ページ"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(picture_document::progressLabel(row.done, 3, row.reading),
                  QString::fromUtf8(row.label))
            << row.done << " " << row.reading;
    }
}
