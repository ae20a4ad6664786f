// The adjustment dialog's saves: over the file and under a new name in each format, with the
// questions answered, the file's dates, a save the system refuses, and what the close renews.
#include "adjust_fixture.h"
#include "small_volume.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <filesystem>
#include <tiffio.h>

namespace fs = std::filesystem;

namespace {

class AdjustSaveTest : public AdjustFixture {
protected:
    static int tiffCompression(const std::string& path) {
        TIFF* tiff = TIFFOpen(path.c_str(), "r");
        if (tiff == nullptr) {
            return -1;
        }
        uint16_t compression = 0;
        TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
        TIFFClose(tiff);
        return compression;
    }
    // The bytes a JPEG save of file at quality gives.
    std::string jpegOf(const std::string& file, int quality) {
        ImageHandle image(PelmixFileLoad(file.c_str(), "", ""));
        const std::string path = folder.file("expected.jpg");
        EXPECT_NE(PelmixJpegFileSave(path.c_str(), image.get(), "", "", quality, 0), 0);
        std::string bytes = readBytes(path);
        fs::remove(path);
        return bytes;
    }
    static QString question(const std::string& path, const char* middle) {
        return QString::fromStdString(path) + QLatin1Char('\n') + QString::fromUtf8(middle) +
               QStringLiteral("\n保存します、よろしいですか?");
    }
};

} // namespace

TEST_F(AdjustSaveTest, SaveAsWritesEachFormatAsAnswered) {
    writeBmp(folder.file("src.bmp"), 4, 3, grid);
    const std::string out = folder.file("out");
    const char* plain = "を無圧縮TIFFで";
    const char* packed = "をPackedBit圧縮TIFFで";
    enum Check { Exact, Jpeg75, Jpeg20, None };
    const struct {
        const char* extension;
        std::deque<int> answers;
        int jpeg; // -2 no quality dialog, -1 Save at once, 0.. Save at that quality, 99 Cancel
        std::vector<const char*> asked;
        Check check;
        int compression;
    } cases[] = {
        {".BMP", {}, -2, {}, Exact, 0},
        {".tif", {Prompter::Yes}, -2, {plain}, Exact, COMPRESSION_NONE},
        {".tif", {Prompter::No, Prompter::Yes}, -2, {plain, packed}, Exact, COMPRESSION_PACKBITS},
        {".tif", {Prompter::No, Prompter::No}, -2, {plain, packed}, None, 0},
        {".jpg", {}, -1, {}, Jpeg75, 0},
        {".jpg", {}, 99, {}, None, 0},
        {".jpg", {}, 20, {}, Jpeg20, 0},
    };
    for (const auto& c : cases) {
        const std::string path = out + c.extension;
        SCOPED_TRACE(path);
        fs::remove(path);
        prompter.requests.clear();
        prompter.answers = c.answers;
        prompter.paths = {q(path)};
        CNF_WIN* dialog = open("src.bmp");
        ASSERT_NE(dialog, nullptr);
        int started = -1;
        if (c.jpeg != -2) {
            answerJpeg(c.jpeg != 99, c.jpeg == 99 ? 20 : c.jpeg, &started);
        }
        QTest::mouseClick(dialog->Command15, Qt::LeftButton);
        if (c.jpeg != -2) {
            EXPECT_EQ(started, 75); // always from JPGP, which stays
            EXPECT_EQ(program.settings.JPGP, 75);
        }
        ASSERT_FALSE(prompter.requests.empty());
        EXPECT_EQ(prompter.requests[0].kind, QStringLiteral("save"));
        EXPECT_EQ(prompter.requests[0].start, program.ADJUST_PATH);
        QStringList asked;
        for (const char* middle : c.asked) {
            asked << question(path, middle);
        }
        EXPECT_EQ(prompter.messages(), asked);
        for (size_t i = 1; i < prompter.requests.size(); ++i) {
            EXPECT_EQ(prompter.requests[i].message.icon, Prompter::Icon::Question);
            EXPECT_EQ(prompter.requests[i].message.buttons, Prompter::Buttons::YesNo);
        }
        switch (c.check) {
        case None:
            EXPECT_FALSE(fs::exists(path));
            break;
        case Exact: {
            ImageHandle saved(PelmixFileLoad(path.c_str(), "", ""));
            ASSERT_TRUE(saved);
            EXPECT_EQ(
                meanDifference(
                    saved.get(),
                    ImageHandle(PelmixFileLoad(folder.file("src.bmp").c_str(), "", "")).get()),
                0);
            if (c.compression != 0) {
                EXPECT_EQ(tiffCompression(path), c.compression);
            }
            break;
        }
        case Jpeg75:
        case Jpeg20:
            EXPECT_EQ(readBytes(path), jpegOf(folder.file("src.bmp"), c.check == Jpeg75 ? 75 : 20));
            break;
        }
        EXPECT_FALSE(dialog->ADJ_OVERWRITTEN);
        dialog->close();
    }
    // The save dialog's filters, the first choice by the file's extension, each filter leading
    // with the letter case of that extension (a dialog puts the first pattern on the name);
    // cancelling saves nothing and asks nothing more.
    const struct {
        const char* name;
        int filter;
        QString chosen; // the filter chosen first
        QString jpeg;   // the JPEG filter, in the same case
    } filters[] = {
        {"src.bmp", 1, "BMP Files(*.bmp *.BMP)", "JPEG Files(*.jpg *.JPG)"},
        {"a.JPG", 3, "JPEG Files(*.JPG *.jpg)", "JPEG Files(*.JPG *.jpg)"},
        {"b.tif", 4, "TIFF Files(*.tif *.TIF)", "JPEG Files(*.jpg *.JPG)"},
        {"c.gif", 0, "All Files(*.*)", "JPEG Files(*.jpg *.JPG)"},
        {"d.Ico", 2, "ICON Files(*.ICO *.ico)", "JPEG Files(*.JPG *.jpg)"},
    };
    for (const auto& f : filters) {
        SCOPED_TRACE(f.name);
        if (!fs::exists(folder.file(f.name))) {
            fs::copy_file(folder.file("src.bmp"), folder.file(f.name));
        }
        prompter.requests.clear();
        CNF_WIN* dialog = open(f.name);
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->Command15, Qt::LeftButton);
        EXPECT_EQ(prompter.saveFilter, f.filter);
        EXPECT_EQ(prompter.saveFilters.value(f.filter), f.chosen);
        EXPECT_EQ(prompter.saveFilters.value(3), f.jpeg);
        EXPECT_EQ(prompter.requests.size(), 1u);
        dialog->close();
    }
    // A name that differs from an existing file's in letter case only is that file: asked about
    // by its real name, and replaced under it, or nothing is saved.
    for (const int answer : {Prompter::Cancel, Prompter::Ok}) {
        SCOPED_TRACE(answer);
        writeBmp(folder.file("other.bmp"), 9, 9, grid);
        const auto before = fs::file_size(folder.file("other.bmp"));
        prompter.requests.clear();
        prompter.paths = {q(folder.file("OTHER.bmp"))};
        prompter.answers = {answer};
        CNF_WIN* dialog = open("src.bmp");
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->Command15, Qt::LeftButton);
        EXPECT_EQ(prompter.messages(),
                  QStringList{q(folder.file("other.bmp")) +
                              "\nファイルが既に存在しています上書きしますか?"});
        EXPECT_FALSE(fs::exists(folder.file("OTHER.bmp")));
        EXPECT_EQ(fs::file_size(folder.file("other.bmp")) != before, answer == Prompter::Ok);
        dialog->close();
    }
    // A name the dialog cannot write is told; nothing is written there.
    prompter.requests.clear();
    prompter.paths = {q(folder.file("icon.ICO"))};
    CNF_WIN* dialog = open("src.bmp");
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->Command15, Qt::LeftButton);
    EXPECT_FALSE(fs::exists(folder.file("icon.ICO")));
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.requests.back().message.icon, Prompter::Icon::Exclamation);
}

TEST_F(AdjustSaveTest, TheFileKeepsItsDatesOnlyWhenAsked) {
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep);
        writeBmp(folder.file("dated.bmp"), 5, 5, grid);
        const auto old = fs::last_write_time(folder.file("dated.bmp")) - std::chrono::hours(9000);
        fs::last_write_time(folder.file("dated.bmp"), old);
        CNF_WIN* dialog = open("dated.bmp");
        ASSERT_NE(dialog, nullptr);
        ASSERT_FALSE(dialog->Check2->isChecked());
        if (keep) {
            QTest::mouseClick(dialog->Check2, Qt::LeftButton);
        }
        EXPECT_EQ(program.settings.CNFD, keep ? 1 : 0);
        QTest::mouseClick(dialog->CMD_BASE_CNG[0], Qt::LeftButton);
        QTest::mouseClick(dialog->TURN[5], Qt::LeftButton);
        QTest::mouseClick(dialog->Command3, Qt::LeftButton);
        EXPECT_EQ(fs::last_write_time(folder.file("dated.bmp")) == old, keep);
        EXPECT_EQ(
            pixelAt(ImageHandle(PelmixFileLoad(folder.file("dated.bmp").c_str(), "", "")).get(), 0,
                    0),
            (Colour{255, 255, 156}));
        if (keep) {
            QTest::mouseClick(dialog->Check2, Qt::LeftButton);
        }
        dialog->close();
    }
}

TEST_F(AdjustSaveTest, ASaveOverTheSystemRefusesIsToldAndTheOldFileStays) {
    SmallVolume volume(1 << 20);
    if (!volume.mounted()) {
        GTEST_SKIP() << "no right to mount a small volume here";
    }
    writeBmp(volume.file("kept.bmp"), 8, 8, grid);
    const std::string before = readBytes(volume.file("kept.bmp"));
    program.browse.DISP_DIR = q(volume.path()) + QLatin1Char('/');
    ASSERT_TRUE(volume.setReadOnly(true));
    program.settings.CNFP = 1;
    CNF_WIN* dialog = open("kept.bmp");
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->TURN[0], Qt::LeftButton);
    QTest::mouseClick(dialog->Command3, Qt::LeftButton);
    EXPECT_EQ(prompter.messages(),
              QStringList{program.ADJUST_PATH +
                          QStringLiteral("\nに保存できませんでした。元のファイルは変更"
                                         "されていません。")});
    EXPECT_FALSE(dialog->ADJ_OVERWRITTEN);
    EXPECT_EQ(readBytes(volume.file("kept.bmp")), before);
    dialog->close();
    ASSERT_TRUE(volume.setReadOnly(false));
}

TEST_F(AdjustSaveTest, ClosingAfterASaveOverRedrawsTheCellAndRenewsTheThumbnail) {
    makePictures(3);
    ASSERT_TRUE(writeBytes(folder.file("SNAPLET.INF"), "TNDN,TN\r\n", 9));
    fs::create_directory(folder.file("TN"));
    fs::copy_file(folder.file(nameOf(1)), folder.file("TN/" + nameOf(1)));
    ASSERT_TRUE(writeBytes(folder.file("snaplet"), "#!/bin/sh\n", 10));
    program.settings.UTNP = q(folder.file("snaplet"));
    program.settings.UTNM = 1;
    program.settings.UTNT = 0;
    program.settings.CNFP = 1;
    CNF_WIN* dialog = open(nameOf(1));
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->TURN[5], Qt::LeftButton);
    answerJpeg(true);
    QTest::mouseClick(dialog->Command3, Qt::LeftButton);
    EXPECT_TRUE(dialog->ADJ_OVERWRITTEN);
    EXPECT_TRUE(program.browse.PAGE_DATE[1].isEmpty());
    EXPECT_FALSE(program.browse.PAGE_DATE[0].isEmpty());
    QTest::mouseClick(dialog->Command4, Qt::LeftButton);
    EXPECT_EQ(opened(), nullptr);
    const Colour c = colourOf(1);
    EXPECT_TRUE(
        near(shownColour(1), Colour{uint8_t(255 - c.r), uint8_t(255 - c.g), uint8_t(255 - c.b)}));
    EXPECT_TRUE(near(shownColour(0), colourOf(0)));
    EXPECT_FALSE(fs::exists(folder.file("TN/" + nameOf(1))));
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].program, program.settings.UTNP);

    // Opened and closed without a save: with UTNM alone the thumbnail stays.
    fs::copy_file(folder.file(nameOf(2)), folder.file("TN/" + nameOf(2)));
    dialog = open(nameOf(2));
    ASSERT_NE(dialog, nullptr);
    dialog->close();
    EXPECT_TRUE(fs::exists(folder.file("TN/" + nameOf(2))));
    EXPECT_EQ(launcher.starts.size(), 1u);
}
