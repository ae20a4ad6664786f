// Storing the TWAIN pages of a run: the BMP move, JPEG and TIFF conversions with their fallbacks,
// the save format restored after the step, and pages kept when they cannot be stored.
#include "store_fixture.h"

#include <QFileInfo>
#include <unistd.h>

namespace {

const QString kJpegFallback =
    QStringLiteral("形式 (白黒２値)はJpegで保存できないデーター形式です\nBMP形式で保存します。");
const QString kGroup4Fallback = QStringLiteral(
    "形式 (フルカラー)はTIFF(Group4)で保存できないデーター形式です\nTIFF無圧縮形式で保存します。");

using StorePagesTest = AcquireStoreTest;

TEST_F(StorePagesTest, BmpPagesAreMovedUnchanged) {
    writePage(0, Page::Colour);
    writePage(1, Page::BlackWhite);
    const std::string bytes = readBytes((acq + "ORVA_TMP.000").toStdString());
    KeptPages kept(program);
    PageStore store(program, kept);
    int64_t next = 7;
    EXPECT_EQ(storeStep(store, 2, next), (QStringList{"IMG007.bmp", "IMG008.bmp"}));
    EXPECT_EQ(files(acq), (QStringList{"IMG007.bmp", "IMG008.bmp"}));
    EXPECT_EQ(readBytes((acq + "IMG007.bmp").toStdString()), bytes);
    EXPECT_TRUE(prompter.requests.empty());
    EXPECT_FALSE(kept.report());
}

TEST_F(StorePagesTest, JpegKeepsGreyPagesOneChannelAndColourPagesInColour) {
    program.settings.SVMD = 1;
    program.settings.JPGP = 80;
    writePage(0, Page::Grey);
    writePage(1, Page::Colour);
    KeptPages kept(program);
    PageStore store(program, kept);
    int64_t next = 1;
    EXPECT_EQ(storeStep(store, 2, next), (QStringList{"IMG001.jpg", "IMG002.jpg"}));
    EXPECT_EQ(files(acq), (QStringList{"IMG001.jpg", "IMG002.jpg"}));
    EXPECT_EQ(infoOfFile(acq + "IMG001.jpg").COLOR_TYPE, PELMIX_256_GREYS);
    EXPECT_EQ(infoOfFile(acq + "IMG002.jpg").COLOR_TYPE, PELMIX_FULL_COLOUR);
    ImageHandle original = makePage(Page::Colour);
    ImageHandle stored(PelmixFileLoad(QFile::encodeName(acq + "IMG002.jpg").constData(), "", ""));
    EXPECT_LT(meanDifference(original.get(), stored.get()), 12.0);
    // The last converted page stays loaded for the view.
    ASSERT_NE(program.browse.WORK_IMAGE, nullptr);
    EXPECT_EQ(infoOf(program.browse.WORK_IMAGE).COLOR_TYPE, PELMIX_FULL_COLOUR);
    EXPECT_TRUE(prompter.requests.empty());
}

TEST_F(StorePagesTest, BlackAndWhitePageTurnsAJpegStepIntoBmpWithOneMessage) {
    program.settings.SVMD = 1;
    writePage(0, Page::BlackWhite);
    writePage(1, Page::Colour);
    writePage(2, Page::BlackWhite);
    KeptPages kept(program);
    PageStore store(program, kept);
    int64_t next = 1;
    EXPECT_EQ(storeStep(store, 3, next), (QStringList{"IMG001.bmp", "IMG002.bmp", "IMG003.bmp"}));
    EXPECT_EQ(messageTexts(), QStringList{kJpegFallback});
    EXPECT_EQ(program.settings.SVMD, 1);
    EXPECT_EQ(infoOfFile(acq + "IMG002.bmp").COLOR_TYPE, PELMIX_FULL_COLOUR);
}

TEST_F(StorePagesTest, FallbackAfterJpegPagesKeepsThoseStoredPages) {
    program.settings.SVMD = 1;
    writePage(0, Page::Colour);
    writePage(1, Page::Grey);
    writePage(2, Page::BlackWhite);
    writePage(3, Page::Grey);
    KeptPages kept(program);
    PageStore store(program, kept);
    int64_t next = 1;
    EXPECT_EQ(storeStep(store, 4, next),
              (QStringList{"IMG001.jpg", "IMG002.jpg", "IMG003.bmp", "IMG004.bmp"}));
    EXPECT_EQ(prompter.requests.size(), 1u);
    EXPECT_TRUE(files(acq).filter("ORVA_TMP").isEmpty());
}

TEST_F(StorePagesTest, ColourPagesInAGroup4StepFallBackToUncompressedTiff) {
    program.settings.SVMD = 4;
    writePage(0, Page::BlackWhite);
    writePage(1, Page::Colour);
    writePage(2, Page::BlackWhite);
    KeptPages kept(program);
    PageStore store(program, kept);
    int64_t next = 1;
    EXPECT_EQ(storeStep(store, 3, next), (QStringList{"IMG001.tif", "IMG002.tif", "IMG003.tif"}));
    EXPECT_EQ(messageTexts(), QStringList{kGroup4Fallback});
    EXPECT_EQ(program.settings.SVMD, 4);
    EXPECT_EQ(infoOfFile(acq + "IMG001.tif").COLOR_TYPE, PELMIX_TWO_COLOUR);
    EXPECT_EQ(infoOfFile(acq + "IMG002.tif").COLOR_TYPE, PELMIX_FULL_COLOUR);
    // After the fallback a black-and-white page is written uncompressed too: larger than Group 4.
    EXPECT_GT(QFileInfo(acq + "IMG003.tif").size(), QFileInfo(acq + "IMG001.tif").size());
}

TEST_F(StorePagesTest, GreyPageNamesItsColourTypeInTheGroup4Message) {
    program.settings.SVMD = 4;
    writePage(0, Page::Grey);
    KeptPages kept(program);
    PageStore store(program, kept);
    int64_t next = 1;
    storeStep(store, 1, next);
    ASSERT_EQ(prompter.requests.size(), 1u);
    EXPECT_TRUE(
        prompter.requests[0].message.text.startsWith(QStringLiteral("形式 (256階調グレー)は")));
}

TEST_F(StorePagesTest, UncompressedAndPackBitsTiffKeepThePixels) {
    for (int16_t format : {2, 3}) {
        program.settings.SVMD = format;
        writePage(0, Page::Colour);
        KeptPages kept(program);
        PageStore store(program, kept);
        int64_t next = format;
        const QStringList names = storeStep(store, 1, next);
        ASSERT_EQ(names.size(), 1);
        ImageHandle original = makePage(Page::Colour);
        ImageHandle stored(PelmixFileLoad(QFile::encodeName(acq + names[0]).constData(), "", ""));
        EXPECT_EQ(meanDifference(original.get(), stored.get()), 0.0) << format;
    }
    EXPECT_EQ(files(acq), (QStringList{"IMG002.tif", "IMG003.tif"}));
}

TEST_F(StorePagesTest, SaveFormatIsRestoredWhenTheStoreGoesAway) {
    program.settings.SVMD = 1;
    writePage(0, Page::BlackWhite);
    {
        KeptPages kept(program);
        PageStore store(program, kept);
        store.beginStep();
        int64_t next = 1;
        EXPECT_EQ(store.storePage(0, next), "IMG001.bmp");
        EXPECT_EQ(program.settings.SVMD, 0);
    }
    EXPECT_EQ(program.settings.SVMD, 1);
}

TEST_F(StorePagesTest, MissingPageFileStoresNothing) {
    KeptPages kept(program);
    PageStore store(program, kept);
    int64_t next = 1;
    EXPECT_EQ(storeStep(store, 2, next), (QStringList{"", ""}));
    EXPECT_TRUE(files(acq).isEmpty());
    EXPECT_FALSE(kept.report());
}

} // namespace
