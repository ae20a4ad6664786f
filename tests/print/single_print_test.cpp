// The single-image print dialog: the size and position rules of its boxes, what it prints and
// where the picture lands on the paper.
#include "fifo.h"
#include "print_fixture.h"
#include "prt_win.h"
#include "qt_support.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <chrono>

namespace {

class SinglePrintTest : public PrintFixture {
protected:
    PRT_WIN* open(const std::string& name) {
        program.browse.CAT_CURRENT = QString::fromStdString(name);
        window().MNU_FILE_1PRNT->trigger();
        PRT_WIN* dialog = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<PRT_WIN*>(top); d != nullptr && d->isVisible()) {
                dialog = d;
            }
        }
        if (dialog != nullptr) {
            QApplication::setActiveWindow(dialog);
        }
        return dialog;
    }
    static QString shown(const QLineEdit* box) { return box->text(); }
};

} // namespace

TEST_F(SinglePrintTest, BoxesKeepThePictureOnThePaper) {
    writePicture(folder.file("wide.jpg"), Colour{200, 0, 0}, 1000, 500);
    PRT_WIN* dialog = open("wide.jpg");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(window().isEnabled());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("印刷") + program.APP_TITLE);
    EXPECT_EQ(dialog->PRT_SIZE->text(), QStringLiteral(" 200.00mm × 287.00mm"));
    EXPECT_TRUE(dialog->PRT_NAME->text().startsWith(QStringLiteral(" PDF")));

    struct Step {
        const char* what;
        std::function<void()> act;
        const char *x, *y, *left, *top;
    };
    const Step steps[] = {
        {"opened: as large as the paper allows, centred", [] {}, " 200.00", " 100.00", " 0.00",
         " 93.50"},
        {"too wide: cut to the paper", [&] { typeInto(dialog->X_SIZE, "250"); }, " 200.00",
         " 100.00", " 0.00", " 93.50"},
        {"a second point is dropped", [&] { typeInto(dialog->X_SIZE, "1.2.5"); }, "1.25", " 0.63",
         " 99.38", " 143.19"},
        {"narrower, still centred", [&] { typeInto(dialog->X_SIZE, "100"); }, "100", " 50.00",
         " 50.00", " 118.50"},
        {"not centred: the position is pulled back to the right edge",
         [&] {
             QTest::mouseClick(dialog->AUTO_CENTER, Qt::LeftButton, {},
                               QPoint(8, dialog->AUTO_CENTER->height() / 2));
             typeInto(dialog->LT_X, "150");
         },
         "100", " 50.00", " 100.00", " 118.50"},
        {"a position that fits stays", [&] { typeInto(dialog->LT_X, "10.26"); }, "100", " 50.00",
         "10.26", " 118.50"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(shown(dialog->X_SIZE), QString::fromLatin1(step.x));
        EXPECT_EQ(shown(dialog->Y_SIZE), QString::fromLatin1(step.y));
        EXPECT_EQ(shown(dialog->LT_X), QString::fromLatin1(step.left));
        EXPECT_EQ(shown(dialog->LT_Y), QString::fromLatin1(step.top));
    }
    EXPECT_TRUE(dialog->LT_X->isEnabled());
    typeInto(dialog->LT_Y, "20");
    const RECT r = dialog->placement().tenths();
    EXPECT_EQ((std::array<LONG, 4>{r.left, r.top, r.right, r.bottom}),
              (std::array<LONG, 4>{103, 200, 1103, 700}));

    QTest::mouseClick(dialog->Command3, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window().isEnabled());
}

TEST_F(SinglePrintTest, PictureLandsWhereTheBoxesSay) {
    if (!havePoppler()) {
        GTEST_SKIP() << "pdftoppm is not installed";
    }
    ImageHandle red = makeRgbImage(1000, 500, [](int, int) { return Colour{255, 0, 0}; });
    ASSERT_NE(PelmixBmpFileSave(folder.file("wide.bmp").c_str(), red.get(), "", "", 0), 0);
    PRT_WIN* dialog = open("wide.bmp");
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    EXPECT_TRUE(prompter.requests.size() == 1 && prompter.requests[0].kind == "save");
    std::vector<QImage> printed = pages();
    ASSERT_EQ(printed.size(), 1u);
    const auto isRed = [](QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; };
    expectNear(boxOf(printed[0], isRed), QRectF(kMargin + 0, kMargin + 93.5, 200, 100), 0.2);

    // A smaller picture placed by hand, printed again into a file of its own.
    QTest::mouseClick(dialog->AUTO_CENTER, Qt::LeftButton, {},
                      QPoint(8, dialog->AUTO_CENTER->height() / 2));
    typeInto(dialog->X_SIZE, "60");
    typeInto(dialog->LT_X, "12.5");
    typeInto(dialog->LT_Y, "40");
    pdf = QString::fromStdString(output.file("second.pdf"));
    prompter.paths.push_back(pdf);
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    printed = pages();
    ASSERT_EQ(printed.size(), 1u);
    expectNear(boxOf(printed[0], isRed), QRectF(kMargin + 12.5, kMargin + 40, 60, 30), 0.2);
    QTest::mouseClick(dialog->Command3, Qt::LeftButton);
}

TEST_F(SinglePrintTest, APrintWithoutAPictureSaysWhatToDo) {
    writePicture(folder.file("p.jpg"), Colour{0, 0, 200}, 40, 30);
    program.browse.CAT_CURRENT.clear();
    window().MNU_FILE_1PRNT->trigger();
    ASSERT_EQ(prompter.requests.size(), 1u);
    EXPECT_EQ(
        prompter.requests[0].message.text,
        QStringLiteral("印刷したい絵をドラッグして印刷の上へドロップするか指定してから実行させて"
                       "ください。"));
}

// A FIFO in the picture's place is not waited on: the dialog opens at once, as for a file that
// holds no picture, with no picture to print.
TEST_F(SinglePrintTest, AFifoInThePicturesPlaceIsRefusedAtOnce) {
    const PlantedFifo fifo(folder.file("p.jpg"));
    ASSERT_TRUE(fifo.made());
    PRT_WIN* dialog = open("p.jpg");
    EXPECT_EQ(fifo.rescues(), 0);
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->Command3, Qt::LeftButton);
}

TEST_F(SinglePrintTest, APrintFileIsWrittenWholeOrNotAtAllAndAFailureIsTold) {
    writePicture(folder.file("p.jpg"), Colour{0, 0, 200}, 400, 300);
    PRT_WIN* dialog = open("p.jpg");
    ASSERT_NE(dialog, nullptr);
    checkPdfTargets([&] { QTest::mouseClick(dialog->Command2, Qt::LeftButton); });
    EXPECT_TRUE(dialog->isVisible());
    QTest::mouseClick(dialog->Command3, Qt::LeftButton);
}
