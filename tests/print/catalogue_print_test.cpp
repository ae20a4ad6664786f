// Catalogue sheets: the arithmetic of cells and labels, and ten files printed at 3 x 2, right to
// left, with names and both foot lines, looked at on the rendered pages.
#include "catalogue_sheet.h"
#include "mprt_win.h"
#include "print_fixture.h"
#include "qt_support.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class CataloguePrintTest : public PrintFixture {
protected:
    MPRT_WIN* open() {
        window().MNU_FILE_CATPRINT->trigger();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<MPRT_WIN*>(top); d != nullptr && d->isVisible()) {
                QApplication::setActiveWindow(d);
                return d;
            }
        }
        return nullptr;
    }
    // The colour in the middle of the picture of cell (row, column) of a rendered sheet.
    static Colour pictureColour(const QImage& sheet, const SheetGeometry& g, int row, int column) {
        const double x = kMargin + (column - 1) * g.cellWidth + g.pictureWidth / 2;
        const double y = kMargin + (row - 1) * g.cellHeight + g.pictureHeight / 2;
        const QColor c = sheet.pixelColor(int(x / 25.4 * kDpi), int(y / 25.4 * kDpi));
        return Colour{uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())};
    }
    // A click on a check or radio button's own text, where a user clicks.
    static void press(QWidget* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
};

} // namespace

TEST(CatalogueSheet, CellsPlacesAndLabels) {
    const SheetGeometry g = sheetGeometry(200.0, 287.0, 2, 2, true, true, true);
    EXPECT_DOUBLE_EQ(g.cellWidth, 100.0);
    EXPECT_DOUBLE_EQ(g.cellHeight, 138.5);
    EXPECT_DOUBLE_EQ(g.pictureWidth, 99.0);
    EXPECT_DOUBLE_EQ(g.pictureHeight, 132.5);

    struct Place {
        int position, page, row, column;
        bool rightToLeft;
    };
    for (const Place& p :
         {Place{0, 1, 1, 3, true}, Place{2, 1, 1, 1, true}, Place{3, 1, 2, 3, true},
          Place{6, 2, 1, 3, true}, Place{0, 1, 1, 1, false}, Place{5, 1, 2, 3, false},
          Place{9, 2, 2, 1, false}}) {
        const SheetPlace got = sheetPlace(p.position, 3, 2, p.rightToLeft);
        EXPECT_EQ((std::array<int, 3>{got.page, got.row, got.column}),
                  (std::array<int, 3>{p.page, p.row, p.column}))
            << p.position << (p.rightToLeft ? " right to left" : "");
    }

    EXPECT_EQ(labelText(QStringLiteral("IMG_0001.JPG")), QStringLiteral("IMG_0001"));
    EXPECT_EQ(labelText(QStringLiteral("a.b.tif")), QStringLiteral("a.b"));
    EXPECT_EQ(labelText(QStringLiteral("plain")), QStringLiteral("plain"));
    EXPECT_EQ(labelColour(QStringLiteral("/x/IMG_0001.JPG")), QColor(0, 255, 0));
    EXPECT_EQ(labelColour(QStringLiteral("/x/a.tif")), QColor(0, 255, 255));
    EXPECT_EQ(labelColour(QStringLiteral("/x/a.Bmp")), QColor(0, 0, 0));

    // 10 mm a letter, 2 mm the "~": the forms tried and the one printed.
    const auto wide = [](const QString& text) {
        return 10.0 * text.size() - 8.0 * text.count('~');
    };
    EXPECT_EQ(fittedLabel(QStringLiteral("ABCDEF"), 60, wide), QStringLiteral("ABCDEF"));
    EXPECT_EQ(fittedLabel(QStringLiteral("ABCDEF"), 55, wide), QStringLiteral("AB~DEF"));
    EXPECT_EQ(fittedLabel(QStringLiteral("ABCDEF"), 45, wide), QStringLiteral("A~DEF"));
    EXPECT_EQ(fittedLabel(QStringLiteral("ABCDEF"), 5, wide), QStringLiteral("A~DEF"));
    EXPECT_EQ(fittedLabel(QStringLiteral("ABC"), 20, wide), QStringLiteral("~?"));
    EXPECT_EQ(pageNumberText(2, 3), QStringLiteral("2/3ベージ"));
}

TEST_F(CataloguePrintTest, TenFilesRightToLeftOnTwoSheets) {
    if (!havePoppler()) {
        GTEST_SKIP() << "pdftoppm is not installed";
    }
    makePictures(10, 120, 90);
    program.settings.MPRX = 3;
    program.settings.MPRY = 2;
    program.settings.MPRD = 1;
    program.settings.MPFN = program.settings.MPPA = program.settings.MPPG = 1;
    MPRT_WIN* dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->INPAGE->text(), QStringLiteral("6"));
    EXPECT_EQ(dialog->TOT_PAGE->text(), QStringLiteral("2"));
    EXPECT_TRUE(dialog->Option2->isChecked());
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);

    const std::vector<QImage> sheets = pages();
    ASSERT_EQ(sheets.size(), 2u);
    const SheetGeometry g = sheetGeometry(200.0, 287.0, 3, 2, true, true, true);
    const auto colourAt = [&](const QImage& sheet, int row, int column) {
        return pictureColour(sheet, g, row, column);
    };
    // Page 1: files 0..5, the first in column 3; page 2: files 6..9, two cells left empty.
    EXPECT_TRUE(near(colourAt(sheets[0], 1, 3), colourOf(0)));
    EXPECT_TRUE(near(colourAt(sheets[0], 1, 1), colourOf(2)));
    EXPECT_TRUE(near(colourAt(sheets[0], 2, 3), colourOf(3)));
    EXPECT_TRUE(near(colourAt(sheets[1], 1, 3), colourOf(6)));
    EXPECT_TRUE(near(colourAt(sheets[1], 1, 1), colourOf(8)));
    EXPECT_TRUE(near(colourAt(sheets[1], 2, 3), colourOf(9)));
    EXPECT_TRUE(near(colourAt(sheets[1], 2, 2), (Colour{255, 255, 255})));
    // The first picture fills its rectangle (the cell less 1 mm, less the name's band).
    const QRectF first = boxOf(sheets[0], [&](QColor c) {
        const Colour want = colourOf(0);
        return std::abs(c.red() - want.r) < 12 && std::abs(c.green() - want.g) < 12 &&
               std::abs(c.blue() - want.b) < 12;
    });
    expectNear(first, QRectF(kMargin + 2 * g.cellWidth, kMargin, g.pictureWidth, g.pictureHeight),
               0.2);
    // Names in light green (JPEG) below the pictures of the first page.
    const QRectF names =
        boxOf(sheets[0], [](QColor c) { return c.green() > 200 && c.red() < 90 && c.blue() < 90; });
    EXPECT_GT(names.top(), kMargin + g.pictureHeight);
    EXPECT_LT(names.bottom(), kMargin + 2 * g.cellHeight);

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    for (const char* expected : {"p00", "p05", "p09", "1/2ベージ", "2/2ベージ"}) {
        EXPECT_TRUE(words.contains(QString::fromUtf8(expected))) << expected;
    }
    // pdftotext may split a long word where the glyphs lie apart, or join letters it reads as a
    // ligature: the path is looked for without spaces, in its compatibility form.
    const auto plain = [](QString text) {
        return text.normalized(QString::NormalizationForm_KC)
            .remove(QLatin1Char(' '))
            .remove(QLatin1Char('\n'));
    };
    EXPECT_TRUE(plain(words).contains(plain(program.browse.DISP_DIR)))
        << words.toStdString() << " for " << program.browse.DISP_DIR.toStdString();

    // One chosen page only: a document of one sheet.
    press(dialog->Option4);
    typeInto(dialog->PPAGE, "2");
    pdf = QString::fromStdString(output.file("second.pdf"));
    prompter.paths.push_back(pdf);
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    const std::vector<QImage> chosen = pages();
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_TRUE(near(colourAt(chosen[0], 1, 3), colourOf(6)));
    QTest::mouseClick(dialog->Command3, Qt::LeftButton);
}

TEST_F(CataloguePrintTest, ControlsAndTheSettingsTheyLeave) {
    // An empty folder: told, and no dialog.
    window().MNU_FILE_CATPRINT->trigger();
    ASSERT_EQ(prompter.requests.size(), 1u);
    EXPECT_EQ(prompter.requests[0].message.text,
              QStringLiteral("印刷する絵がフォルター内にありません、カタログ印刷を中止します。"));

    makePictures(3);
    program.settings.MPRX = 0; // below 1 becomes 1
    program.settings.MPRY = 4;
    MPRT_WIN* dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("カタログ印刷") + program.APP_TITLE);
    EXPECT_EQ(dialog->XMAT->text(), QStringLiteral("1"));
    typeInto(dialog->XMAT, "15x0");
    EXPECT_EQ(dialog->XMAT->text(), QStringLiteral("100"));
    EXPECT_EQ(dialog->INPAGE->text(), QStringLiteral("400"));
    typeInto(dialog->XMAT, "2");
    EXPECT_FALSE(dialog->PPAGE->isEnabled());
    press(dialog->Option1);
    press(dialog->FN_WRITE);
    QTest::mouseClick(dialog->Command3, Qt::LeftButton);
    const USR_SETTINGS& s = program.settings;
    EXPECT_EQ((std::array<int, 6>{s.MPRX, s.MPRY, s.MPRD, s.MPFN, s.MPPA, s.MPPG}),
              (std::array<int, 6>{2, 4, 0, 1, 0, 0}));
}

TEST_F(CataloguePrintTest, APrintFileIsWrittenWholeOrNotAtAllAndAFailureIsTold) {
    makePictures(3, 400, 300);
    MPRT_WIN* dialog = open();
    ASSERT_NE(dialog, nullptr);
    checkPdfTargets([&] { QTest::mouseClick(dialog->Command2, Qt::LeftButton); });
    QTest::mouseClick(dialog->Command3, Qt::LeftButton);
}

TEST_F(CataloguePrintTest, APictureThatCannotBeReadLeavesItsCellEmptyAndIsNamed) {
    if (!havePoppler()) {
        GTEST_SKIP() << "pdftoppm is not installed";
    }
    makePictures(3, 120, 90);
    ASSERT_TRUE(writeBytes(folder.file(nameOf(1)), "not a picture", 13));
    program.settings.MPRX = 3;
    program.settings.MPRY = 1;
    program.settings.MPRD = 0;
    program.settings.MPFN = 1;
    program.settings.MPPA = program.settings.MPPG = 0;
    MPRT_WIN* dialog = open();
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);

    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("次のイメ－ジは印刷できませんでした。\n") +
                          QString::fromStdString(nameOf(1))});
    const std::vector<QImage> sheets = pages();
    ASSERT_EQ(sheets.size(), 1u);
    const SheetGeometry g = sheetGeometry(200.0, 287.0, 3, 1, true, false, false);
    const auto colourAt = [&](int column) { return pictureColour(sheets[0], g, 1, column); };
    EXPECT_TRUE(near(colourAt(1), colourOf(0)));
    EXPECT_TRUE(near(colourAt(2), (Colour{255, 255, 255})));
    EXPECT_TRUE(near(colourAt(3), colourOf(2)));
    QTest::mouseClick(dialog->Command3, Qt::LeftButton);
}

TEST_F(CataloguePrintTest, TheSheetsAreOfTheFolderTheDialogListsAndAMissingPageIsTold) {
    if (!havePoppler()) {
        GTEST_SKIP() << "pdftoppm is not installed";
    }
    makePictures(3, 120, 90);
    program.settings.MPRX = 3;
    program.settings.MPRY = 1;
    program.settings.MPRD = 0;
    program.settings.MPFN = program.settings.MPPA = program.settings.MPPG = 0;
    MPRT_WIN* dialog = open();
    ASSERT_NE(dialog, nullptr);
    const QString printer = dialog->PRT_NAME->text();

    // A page past the last: told, and neither a file is asked for nor the printer changed.
    press(dialog->Option4);
    typeInto(dialog->PPAGE, "2");
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("2 ページはありません。このカタログは 1 ページです。")});
    ASSERT_EQ(prompter.requests.size(), 1u);
    EXPECT_EQ(dialog->PRT_NAME->text(), printer);

    // The main window goes on to another folder: the sheet is still the listed folder's.
    TempDir other;
    window().displayRefresh().folderChanged(q(other.path()) + '/');
    prompter.requests.clear();
    press(dialog->Option3);
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join(' ').toStdString();
    const std::vector<QImage> sheets = pages();
    ASSERT_EQ(sheets.size(), 1u);
    const SheetGeometry g = sheetGeometry(200.0, 287.0, 3, 1, false, false, false);
    for (int column = 1; column <= 3; ++column) {
        EXPECT_TRUE(near(pictureColour(sheets[0], g, 1, column), colourOf(column - 1))) << column;
    }
    QTest::mouseClick(dialog->Command3, Qt::LeftButton);
}
