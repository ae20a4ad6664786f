// The catalogue grid in twips (cells row by row, pictures fitted with their proportions, small
// ones enlarged) and the companion program's description file.
#include "catalogue_layout.h"
#include "snaplet_inf.h"
#include "temp_dir.h"

#include <QString>
#include <gtest/gtest.h>
#include <string>

TEST(CatalogueLayoutTest, FourByTwoFillsTwoRowsOfFour) {
    // Inner width 9000 with a 255-twip bar: cells 2186.25 wide, rounded where placed.
    const CatalogueLayout grid(QSize(9000, 4000), 255, 4, 2);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(grid.cell(i).y(), 0) << i;
        EXPECT_EQ(grid.cell(i + 4).y(), 2000) << i;
        EXPECT_EQ(grid.cell(i + 4).x(), grid.cell(i).x()) << i;
    }
    EXPECT_EQ(grid.cell(1), QRect(2186, 0, 2186, 2000));
    EXPECT_EQ(grid.cell(3).x(), 6559); // 3 x 2186.25 = 6558.75
    EXPECT_EQ(grid.cell(7), QRect(6559, 2000, 2186, 2000));
}

TEST(CatalogueLayoutTest, OddMatricesAndDegenerateSettings) {
    const CatalogueLayout three(QSize(3255, 3000), 255, 3, 4);
    EXPECT_EQ(three.cell(4), QRect(1000, 750, 1000, 750));
    EXPECT_EQ(three.cell(11), QRect(2000, 2250, 1000, 750));
    // A matrix of 0 columns is taken as one, never a division by zero.
    const CatalogueLayout one(QSize(1255, 1000), 255, 0, 1);
    EXPECT_EQ(one.cell(1), QRect(0, 1000, 1000, 1000));
}

TEST(CatalogueLayoutTest, PictureIsFittedCentredAndEnlarged) {
    // Available area 2066 x 1760 in a 2186 x 2000 cell.
    const QSize cell(2186, 2000);
    // Wide and small: enlarged to the available width.
    EXPECT_EQ(CatalogueLayout::fitPicture(QSize(100, 50), cell), QRect(60, 180, 2066, 1033));
    // Tall and large: reduced to the available height, centred.
    EXPECT_EQ(CatalogueLayout::fitPicture(QSize(3000, 6000), cell), QRect(653, 180, 880, 1760));
    // Exactly the proportions of the area: both sides touch.
    EXPECT_EQ(CatalogueLayout::fitPicture(QSize(2066, 1760), cell), QRect(60, 180, 2066, 1760));
}

TEST(CatalogueLayoutTest, NoRoomOrNoPictureGivesNothing) {
    EXPECT_FALSE(CatalogueLayout::fitPicture(QSize(10, 10), QSize(120, 1000)));
    EXPECT_FALSE(CatalogueLayout::fitPicture(QSize(10, 10), QSize(1000, 240)));
    EXPECT_FALSE(CatalogueLayout::fitPicture(QSize(0, 10), QSize(1000, 1000)));
    EXPECT_FALSE(CatalogueLayout::fitPicture(QSize(), QSize(1000, 1000)));
}

TEST(CatalogueLayoutTest, WaitFrameIsCentredOnThePanel) {
    const CatalogueLayout grid(QSize(9000, 4000), 255, 4, 2);
    EXPECT_EQ(grid.waitFrame(QSize(3900, 1350), QPoint(500, 300)),
              QRect(2550 + 500, 1325 + 300, 3900, 1350));
}

namespace {

QString folderOf(const TempDir& dir) {
    return QString::fromStdString(dir.path()) + QLatin1Char('/');
}

void writeInf(const TempDir& dir, const std::string& text) {
    ASSERT_TRUE(writeBytes(dir.file("SNAPLET.INF"), text.data(), text.size()));
}

} // namespace

TEST(SnapletInfTest, LastThumbnailFolderWins) {
    TempDir dir;
    writeInf(dir, "' made by the companion\r\nXXXX,1\r\nTNDN,first\r\n  TNDN , second ' note\n");
    QString value = QStringLiteral("before");
    EXPECT_EQ(READ_SNAPLET_INF(folderOf(dir), value), 0);
    EXPECT_EQ(value, QStringLiteral("second"));
}

TEST(SnapletInfTest, MissingFileOrEntryLeavesTheValue) {
    TempDir dir;
    QString value = QStringLiteral("kept");
    EXPECT_EQ(READ_SNAPLET_INF(folderOf(dir), value), -1);
    EXPECT_EQ(value, QStringLiteral("kept"));

    // A commented-out entry does not count, nor does a last line without its line end change
    // anything but its own value.
    writeInf(dir, "'TNDN,hidden\r\nABCD,x");
    EXPECT_EQ(READ_SNAPLET_INF(folderOf(dir), value), 0);
    EXPECT_EQ(value, QStringLiteral("kept"));
    writeInf(dir, "TNDN,last");
    EXPECT_EQ(READ_SNAPLET_INF(folderOf(dir), value), 0);
    EXPECT_EQ(value, QStringLiteral("last"));
}
