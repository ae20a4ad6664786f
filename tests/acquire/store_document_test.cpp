// Runs that end in one PDF: each page kept meanwhile in the form the document embeds, the pages
// gone only once the document is complete, and every state a kill can leave put right at the
// next start, with no page lost and none twice without a note.
#include "interrupted_runs.h"
#include "page_file_names.h"
#include "pdf_tools.h"
#include "pelmix.h"
#include "qt_support.h"
#include "run_document.h"
#include "run_journal.h"
#include "small_volume.h"
#include "store_fixture.h"

#include <QSaveFile>
#include <unistd.h>

namespace {

class DocumentRunTest : public AcquireStoreTest {
protected:
    void SetUp() override {
        AcquireStoreTest::SetUp();
        testApplication();
        program.settings.SVMD = 5;
        program.settings.JPGP = 70;
    }

    // A colour, a grey, a black-and-white and a 16-colour page stored as the run stores them.
    QStringList storeFourPages(PageStore& store, int64_t& next) {
        writePage(0, Page::Colour);
        writePage(1, Page::Grey);
        writePage(2, Page::BlackWhite);
        ImageHandle palette =
            makeIndexedImage(48, 32, 4, {{200, 0, 0}, {0, 150, 0}, {0, 0, 220}, {240, 240, 0}},
                             [](int x, int y) { return uint8_t((x / 6 + y / 6) % 4); });
        const QByteArray path = QFile::encodeName(acq + page_file_names::name(3));
        EXPECT_EQ(PelmixBmpFileSave(path.constData(), palette.get(), "", "", 0), 1);
        return storeStep(store, 4, next);
    }

    QByteArray bytes(const QString& name) const {
        QFile file(acq + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList notes() const {
        return QDir(RunJournal::noteFolder()).entryList({"*.document"}, QDir::Files);
    }

    // The note a document step writes, by hand: a kill leaves it as it was written.
    void writeNote(const QByteArray& text) {
        QDir().mkpath(RunJournal::noteFolder());
        QSaveFile note(RunJournal::noteFolder() + "00000000000001-1.document");
        ASSERT_TRUE(note.open(QIODevice::WriteOnly));
        note.write(text);
        ASSERT_TRUE(note.commit());
    }
};

TEST_F(DocumentRunTest, EachPageGoesInAsItsKindCallsAndThePagesGoOnlyAfterTheDocument) {
    if (!havePoppler()) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    KeptPages kept(program);
    PageStore store(program, kept);
    int64_t next = 1;
    const QStringList names = storeFourPages(store, next);
    EXPECT_EQ(names, (QStringList{"IMG001.jpg", "IMG002.jpg", "IMG003.tif", "IMG004.bmp"}));
    EXPECT_EQ(program.settings.SVMD, 5);
    const QByteArray colourJpeg = bytes("IMG001.jpg");
    const QByteArray greyJpeg = bytes("IMG002.jpg");

    // Named like its first page, so that documents are numbered one after another.
    int64_t number = 1;
    EXPECT_EQ(run_document::make(program, store, names, number, nullptr), "IMG001.pdf");
    EXPECT_EQ(number, 1);
    EXPECT_EQ(files(acq), QStringList{"IMG001.pdf"});
    EXPECT_TRUE(notes().isEmpty());
    EXPECT_TRUE(prompter.requests.empty()) << messageTexts().join('|').toStdString();

    const std::string pdf = (acq + "IMG001.pdf").toStdString();
    std::vector<std::string> encodings;
    for (const PdfImage& image : pdfImages(pdf)) {
        EXPECT_EQ(image.width, 48);
        encodings.push_back(image.encoding + "/" + image.colour);
    }
    EXPECT_EQ(encodings,
              (std::vector<std::string>{"jpeg/rgb", "jpeg/gray", "ccitt/gray", "image/index"}));
    // The JPEG pages are the page files, byte for byte.
    const std::string out = temp.file("img");
    commandOutput("pdfimages -j -f 1 -l 2 '" + pdf + "' '" + out + "'");
    for (const auto& [file, expected] :
         {std::pair{"img-000.jpg", colourJpeg}, std::pair{"img-001.jpg", greyJpeg}}) {
        QFile extracted(QString::fromStdString(temp.file(file)));
        ASSERT_TRUE(extracted.open(QIODevice::ReadOnly)) << file;
        EXPECT_TRUE(extracted.readAll() == expected) << file;
    }
}

TEST_F(DocumentRunTest, ADocumentThatCannotBeMadeLeavesEveryPageAPictureAndSaysSo) {
    KeptPages kept(program);
    PageStore store(program, kept);
    int64_t next = 1;
    const QStringList names = storeFourPages(store, next);
    QFile changed(acq + names[1]);
    ASSERT_TRUE(changed.open(QIODevice::WriteOnly | QIODevice::Truncate));
    changed.write("no longer a picture");
    changed.close();

    EXPECT_EQ(run_document::make(program, store, names, next, nullptr), QString());
    EXPECT_EQ(files(acq), names);
    EXPECT_TRUE(notes().isEmpty());
    EXPECT_EQ(messageTexts(), QStringList{"PDF「IMG005.pdf」を作成できませんでした。\n"
                                          "取り込んだページは画像ファイルのまま保存してあります。\n"
                                          "フォルダー名 : " +
                                          acq + "\nファイル名 : IMG001.jpg ～ IMG004.bmp"});
}

// The volume fills while the document is made: at every amount of room it does not fit in, the
// pages stay pictures, no note is left, the message gives the reason, and a document already in
// the folder stays byte for byte.
TEST_F(DocumentRunTest, ADocumentThatDoesNotFitLeavesEveryPageAPictureAndSaysWhy) {
    SmallVolume volume(2 << 20);
    if (!volume.mounted()) {
        GTEST_SKIP() << "no right to mount a small volume here";
    }
    acq = QString::fromStdString(volume.path()) + "/";
    program.ACQ_DIR = acq;
    KeptPages kept(program);
    PageStore store(program, kept);
    int64_t next = 1;
    const QStringList names = storeFourPages(store, next);
    int64_t first = 1;
    ASSERT_EQ(run_document::make(program, store, names, first, nullptr), "IMG001.pdf");
    const QByteArray earlier = bytes("IMG001.pdf");
    next = 2;
    const QStringList again = storeFourPages(store, next);
    ASSERT_EQ(again, (QStringList{"IMG002.jpg", "IMG003.jpg", "IMG004.tif", "IMG005.bmp"}));
    QStringList pictures;
    for (const QString& name : again) {
        pictures += QString::fromLatin1(bytes(name).toBase64());
    }
    // The same pages make a document of the earlier one's size: every amount of room short of it.
    const uint64_t pageBytes = uint64_t(::sysconf(_SC_PAGESIZE));
    const uint64_t needed = (uint64_t(earlier.size()) + pageBytes - 1) / pageBytes;
    for (uint64_t free = 0; free < needed; ++free) {
        SCOPED_TRACE(free);
        prompter.requests.clear();
        ASSERT_TRUE(volume.leaveFree(free * pageBytes));
        int64_t number = 2;
        EXPECT_EQ(run_document::make(program, store, again, number, nullptr), QString());
        EXPECT_EQ(files(acq), (QStringList{"IMG001.pdf", "IMG002.jpg", "IMG003.jpg", "IMG004.tif",
                                           "IMG005.bmp"}));
        for (int i = 0; i < again.size(); ++i) {
            EXPECT_EQ(QString::fromLatin1(bytes(again[i]).toBase64()), pictures[i]) << i;
        }
        EXPECT_EQ(bytes("IMG001.pdf"), earlier);
        EXPECT_TRUE(notes().isEmpty());
        EXPECT_EQ(messageTexts(),
                  QStringList{"PDF「IMG002.pdf」を作成できませんでした。\n"
                              "理由 : 保存先の空き容量が足りません。\n"
                              "取り込んだページは画像ファイルのまま保存してあります。\n"
                              "フォルダー名 : " +
                              acq + "\nファイル名 : IMG002.jpg ～ IMG005.bmp"});
    }
}

// Every moment a kill can come during the step, as the files it leaves.
TEST_F(DocumentRunTest, AKillAtAnyMomentOfTheStepLeavesEveryPageOnceAtTheNextStart) {
    struct Moment {
        const char* name;
        bool temporary;    // the document half written
        int documentPages; // of the file under the document's name (0: none)
        int pagesRemoved;  // of three
    };
    const Moment moments[] = {{"note written", false, 0, 0},
                              {"document half written", true, 0, 0},
                              {"document complete", false, 3, 0},
                              {"pages being removed", false, 3, 2},
                              {"another file under its name", false, 1, 0}};
    const QStringList pages{"IMG001.jpg", "IMG002.jpg", "IMG003.jpg"};
    for (const Moment& moment : moments) {
        SCOPED_TRACE(moment.name);
        QDir(acq).removeRecursively();
        QDir().mkpath(acq);
        prompter.requests.clear();
        ImageHandle colour = makePage(Page::Colour);
        for (const QString& page : pages) {
            ASSERT_EQ(PelmixJpegFileSave(QFile::encodeName(acq + page).constData(), colour.get(),
                                         "", "", 80, 0),
                      1);
        }
        writeNote("ORVANA DOCUMENT 1\n" + QFile::encodeName(acq) +
                  "\nIMG004.pdf\nIMG001.jpg\nIMG002.jpg\nIMG003.jpg\n");
        if (moment.temporary) {
            touch(".IMG004.pdf.pmxtmp.Qw12Er");
        }
        if (moment.documentPages > 0) {
            PELMIX_PDF* pdf = PelmixPdfCreate();
            for (int i = 0; i < moment.documentPages; ++i) {
                PelmixPdfAddFile(pdf, QFile::encodeName(acq + pages[i]).constData(), 0);
            }
            ASSERT_EQ(PelmixPdfSave(pdf, QFile::encodeName(acq + "IMG004.pdf").constData()), 1);
            PelmixPdfFree(pdf);
        }
        for (int i = 0; i < moment.pagesRemoved; ++i) {
            ASSERT_TRUE(QFile::remove(acq + pages[i]));
        }

        recoverInterruptedRuns(program);
        EXPECT_TRUE(notes().isEmpty());
        if (moment.documentPages == 3) {
            EXPECT_EQ(files(acq), QStringList{"IMG004.pdf"});
            EXPECT_EQ(PelmixPdfFilePages(QFile::encodeName(acq + "IMG004.pdf").constData()), 3);
            EXPECT_TRUE(prompter.requests.empty());
        } else {
            EXPECT_EQ(files(acq),
                      moment.documentPages == 0 ? pages : pages + QStringList{"IMG004.pdf"});
            EXPECT_EQ(
                messageTexts(),
                QStringList{"前回中断されたPDF「IMG004.pdf」の作成は完了していませんでした。\n"
                            "取り込んだページは画像ファイルのまま保存してあります。\n"
                            "フォルダー名 : " +
                            acq + "\nファイル名 : IMG001.jpg ～ IMG003.jpg"});
        }
    }
}

TEST_F(DocumentRunTest, ANoteNamingAnythingButItsDocumentAndPicturesIsDroppedTouchingNothing) {
    touch("IMG001.jpg");
    for (const QByteArray& text :
         {QByteArray("ORVANA DOCUMENT 1\n" + QFile::encodeName(acq) + "\nIMG004.pdf\n../x\n"),
          QByteArray("ORVANA DOCUMENT 1\n" + QFile::encodeName(acq) +
                     "\n../IMG004.pdf\nIMG001.jpg\n"),
          QByteArray("ORVANA DOCUMENT 1\nrelative/\nIMG004.pdf\nIMG001.jpg\n"),
          QByteArray("ORVANA DOCUMENT 1\n" + QFile::encodeName(acq) + "\nIMG001.jpg\nIMG001.jpg\n"),
          QByteArray("ORVANA DOCUMENT 1\n" + QFile::encodeName(acq) + "\nIMG004.pdf\nORVA.CNF\n"),
          QByteArray("something else\n")}) {
        writeNote(text);
        recoverInterruptedRuns(program);
        EXPECT_TRUE(notes().isEmpty());
        EXPECT_EQ(files(acq), QStringList{"IMG001.jpg"});
    }
    EXPECT_TRUE(prompter.requests.empty());
}

} // namespace
