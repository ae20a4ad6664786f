// The cells under the mouse: a left press selects or deselects, a right click and a left
// double-click open the single view, the check box toggles, the name hands the file to the
// rename dialog, a drag carries the cell's index and file.
#include "catalogue_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <cstdio>

class CatalogueInputTest : public CatalogueFixture {
protected:
    void SetUp() override {
        CatalogueFixture::SetUp();
        makePictures(6);
        refresh().displayFolderChanged();
    }
    // As the user sees it: the frame and the name box drawn in the highlight colour.
    bool marked(int index) {
        const QColor highlight = window().palette().color(QPalette::Highlight);
        auto drawnIn = [&](QWidget* widget) {
            const QImage image = widget->grab().toImage();
            return image.pixelColor(image.width() - 2, image.height() / 2) == highlight;
        };
        return drawnIn(window().DSP8_FRM[index]) && drawnIn(window().DSP8_NAME[index]);
    }
    QPoint middle(QWidget* widget) { return widget->rect().center(); }
};

TEST_F(CatalogueInputTest, LeftPressSelectsAndPressingTheCurrentCellDeselects) {
    QTest::mousePress(window().DSP8_IMG[2], Qt::LeftButton, {}, middle(window().DSP8_IMG[2]));
    EXPECT_EQ(program.browse.CAT_CURRENT, QStringLiteral("p02.jpg"));
    EXPECT_EQ(window().CELL_DRAG_STATE, 1);
    EXPECT_TRUE(marked(2));
    QTest::mouseRelease(window().DSP8_IMG[2], Qt::LeftButton, {}, middle(window().DSP8_IMG[2]));
    EXPECT_EQ(program.settings.DSPM, 1) << "a left click only selects";

    // Another cell takes the mark; the frame behaves as the picture does.
    QTest::mousePress(window().DSP8_FRM[4], Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(program.browse.CAT_CURRENT, QStringLiteral("p04.jpg"));
    EXPECT_FALSE(marked(2));
    EXPECT_TRUE(marked(4));

    QTest::mousePress(window().DSP8_FRM[4], Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(program.browse.CAT_CURRENT.isEmpty());
    EXPECT_FALSE(marked(4));
    EXPECT_EQ(window().CELL_DRAG_STATE, 1);
}

TEST_F(CatalogueInputTest, RightClickOpensTheCellInTheSingleView) {
    QTest::mousePress(window().DSP8_IMG[0], Qt::LeftButton, {}, middle(window().DSP8_IMG[0]));
    QTest::mouseClick(window().DSP8_IMG[3], Qt::RightButton, {}, middle(window().DSP8_IMG[3]));
    EXPECT_EQ(window().CELL_DRAG_STATE, 2);
    EXPECT_EQ(program.settings.DSPM, 2);
    EXPECT_EQ(program.browse.ONE_NAME, QStringLiteral("p03.jpg"));
    EXPECT_EQ(program.browse.CAT_CURRENT, QStringLiteral("p03.jpg"));
    EXPECT_TRUE(marked(3));
    EXPECT_FALSE(marked(0));
    EXPECT_TRUE(window().PIC1_BASE->isVisible());
    EXPECT_FALSE(window().PIC8_BASE->isVisible());

    // Back to the catalogue from the menu: the file is on the page, nothing is read again.
    loader().resetCount();
    window().onMNU_DISP_8();
    EXPECT_EQ(program.settings.DSPM, 1);
    EXPECT_TRUE(window().PIC8_BASE->isVisible());
    EXPECT_EQ(loader().loads(), 0);
    EXPECT_TRUE(marked(3));

    // A file that left while the single view showed makes the page stale: the menu reads the
    // page again, as the view button does.
    QTest::mouseClick(window().DSP8_IMG[3], Qt::RightButton, {}, middle(window().DSP8_IMG[3]));
    ASSERT_EQ(std::remove(folder.file("p01.jpg").c_str()), 0);
    program.browse.CAT_STALE = true;
    window().MNU_DISP_8->trigger();
    EXPECT_EQ(program.browse.PAGE_NAME[1], QStringLiteral("p02.jpg"));
}

TEST_F(CatalogueInputTest, LeftDoubleClickOpensTheCell) {
    program.browse.CAT_STALE = true;
    // A double-click is a click followed by the double-click event; the click's press decides.
    QTest::mouseClick(window().DSP8_IMG[5], Qt::RightButton, {}, middle(window().DSP8_IMG[5]));
    window().onMNU_DISP_8();
    QTest::mouseDClick(window().DSP8_IMG[5], Qt::LeftButton, {}, middle(window().DSP8_IMG[5]));
    EXPECT_EQ(program.settings.DSPM, 1) << "after a right-button press a double-click does nothing";
    program.browse.CAT_STALE = true;
    QTest::mouseClick(window().DSP8_IMG[5], Qt::LeftButton, {}, middle(window().DSP8_IMG[5]));
    QTest::mouseDClick(window().DSP8_IMG[5], Qt::LeftButton, {}, middle(window().DSP8_IMG[5]));
    EXPECT_EQ(program.settings.DSPM, 2);
    EXPECT_EQ(program.browse.ONE_NAME, QStringLiteral("p05.jpg"));
    EXPECT_FALSE(program.browse.CAT_STALE);
}

TEST_F(CatalogueInputTest, CheckBoxTogglesTheSelection) {
    QTest::mouseClick(window().SEL_CHECK[1], Qt::LeftButton);
    EXPECT_EQ(program.browse.CAT_CURRENT, QStringLiteral("p01.jpg"));
    EXPECT_TRUE(marked(1));
    EXPECT_TRUE(window().SEL_CHECK[1]->isChecked());
    QTest::mouseClick(window().SEL_CHECK[2], Qt::LeftButton);
    EXPECT_FALSE(marked(1));
    EXPECT_FALSE(window().SEL_CHECK[1]->isChecked());
    QTest::mouseClick(window().SEL_CHECK[2], Qt::LeftButton);
    EXPECT_TRUE(program.browse.CAT_CURRENT.isEmpty());
    EXPECT_FALSE(window().SEL_CHECK[2]->isChecked());
    EXPECT_EQ(program.settings.DSPM, 1);
}

TEST_F(CatalogueInputTest, NameClickOpensTheRenameDialogOnTheFile) {
    QLineEdit* name = window().DSP8_NAME[4];
    QTest::mouseClick(name, Qt::LeftButton, {}, middle(name));
    EXPECT_EQ(program.RENAME_NAME, QStringLiteral("p04.jpg"));
    EXPECT_TRUE(program.browse.CAT_CURRENT.isEmpty());
    QWidget* dialog = window().findChild<QWidget*>(QStringLiteral("REN_WIN"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    delete dialog;
}

TEST_F(CatalogueInputTest, DragCarriesTheCellIndexAndTheFile) {
    std::unique_ptr<QMimeData> data(view().input().dragData(3));
    EXPECT_EQ(data->data(QString::fromLatin1(CatalogueInput::kCellMimeType)), QByteArray("3"));
    ASSERT_EQ(data->urls().size(), 1);
    EXPECT_EQ(data->urls()[0].toLocalFile(), program.browse.DISP_DIR + QStringLiteral("p03.jpg"));
    std::unique_ptr<QMimeData> empty(view().input().dragData(9));
    EXPECT_TRUE(empty->urls().isEmpty());
}
