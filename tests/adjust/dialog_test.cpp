// The adjustment dialog as it opens and closes, and its colour controls.
#include "adjust_fixture.h"
#include "catalogue_input.h"

#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>

namespace {

class AdjustDialogTest : public AdjustFixture {
protected:
    // The colour in the middle of the picture the dialog shows.
    static Colour shown(CNF_WIN* dialog) {
        const QImage picture = dialog->IMG->pixmap().toImage();
        const QRgb pixel = picture.pixel(picture.width() / 2, picture.height() / 2);
        return Colour{uint8_t(qRed(pixel)), uint8_t(qGreen(pixel)), uint8_t(qBlue(pixel))};
    }
};

} // namespace

TEST_F(AdjustDialogTest, OpensOverTheDisabledMainWindowAndClosesBack) {
    makePictures(2);
    // Nothing current: told, nothing opens.
    refresh().REFRESH_CATALOGUE(0);
    program.browse.CAT_CURRENT.clear();
    window().MNU_FILE_CNF->trigger();
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("調整したい絵をドラッグして調整の上へドロップしてするか"
                                         "指定してから実行させてください。")});
    EXPECT_EQ(opened(), nullptr);
    prompter.requests.clear();

    program.settings.CNFP = 2;
    program.settings.CNFD = 1;
    program.settings.CFDM = 1;
    CNF_WIN* dialog = open(nameOf(1));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(program.ADJUST_PATH, program.browse.DISP_DIR + q(nameOf(1)));
    EXPECT_EQ(program.ADJUST_NAME, q(nameOf(1)));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("画像調整Orvana"));
    EXPECT_FALSE(window().isEnabled());
    EXPECT_TRUE(dialog->isEnabled());
    EXPECT_TRUE(prompter.requests.empty());
    const QRect screen = dialog->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(dialog->frameGeometry().topLeft()));
    EXPECT_EQ(dialog->ADJ_WIDTH, 64);
    EXPECT_EQ(dialog->ADJ_HEIGHT, 48);
    // The trimming page of CNFP, with its cross pointer, and the boxes of the settings.
    EXPECT_FALSE(dialog->CMD_BASE[0]->isVisible());
    EXPECT_FALSE(dialog->CMD_BASE[1]->isVisible());
    EXPECT_TRUE(dialog->CMD_BASE[2]->isVisible());
    EXPECT_TRUE(dialog->CMD_BASE_CNG[2]->isChecked()) << "the page's own button is the pressed one";
    EXPECT_FALSE(dialog->CMD_BASE_CNG[0]->isChecked());
    EXPECT_EQ(dialog->IMG->cursor().shape(), Qt::CrossCursor);
    EXPECT_TRUE(dialog->Check2->isChecked());
    EXPECT_FALSE(dialog->Check1->isChecked());
    // The picture fills the frame's width, centred in its height.
    EXPECT_EQ(dialog->IMG->width(), dialog->IMG_WAKU->contentsRect().width());
    EXPECT_NEAR(dialog->VIEW_SCALE, 64.0 / dialog->IMG->width(), 1e-9);
    EXPECT_TRUE(near(shown(dialog), colourOf(1)));

    // Page buttons: "Image" the turns, "Color" the colours, "Trim" again with no rectangle.
    const struct {
        int button, page;
        Qt::CursorShape cursor;
    } pages[] = {{0, 1, Qt::ArrowCursor}, {1, 0, Qt::ArrowCursor}, {2, 2, Qt::CrossCursor}};
    for (const auto& p : pages) {
        // Twice: a second click on the pressed button leaves it pressed.
        QTest::mouseClick(dialog->CMD_BASE_CNG[p.button], Qt::LeftButton);
        QTest::mouseClick(dialog->CMD_BASE_CNG[p.button], Qt::LeftButton);
        EXPECT_EQ(program.settings.CNFP, p.page);
        EXPECT_TRUE(dialog->CMD_BASE[p.page]->isVisible());
        for (int b = 0; b < 3; ++b) {
            EXPECT_EQ(dialog->CMD_BASE_CNG[b]->isChecked(), b == p.button) << b;
        }
        EXPECT_EQ(dialog->IMG->cursor().shape(), p.cursor);
        EXPECT_FALSE(dialog->TRIMAREA->isVisible());
    }

    // A smaller window: the picture fits the smaller frame.
    const int before = dialog->IMG->width();
    dialog->resize(dialog->width() - 60, dialog->height() - 60);
    EXPECT_LT(dialog->IMG->width(), before);
    EXPECT_EQ(dialog->IMG->width(), dialog->IMG_WAKU->contentsRect().width());

    QTest::mouseClick(dialog->Command4, Qt::LeftButton);
    EXPECT_EQ(opened(), nullptr);
    EXPECT_TRUE(window().isEnabled());

    // A cell dropped on the command tray's adjust target opens the dialog on its file.
    std::unique_ptr<QMimeData> data(window().catalogueView().input().dragData(0));
    QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(window().Image5, &enter);
    QDropEvent drop(QPointF(4, 4), Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(window().Image5, &drop);
    dialog = opened();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(program.ADJUST_NAME, q(nameOf(0)));
    EXPECT_FALSE(window().isEnabled());
    // Escape closes it as well, and gives the main window back.
    dialog->activateWindow();
    QApplication::setActiveWindow(dialog);
    dialog->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(opened(), nullptr);
    EXPECT_TRUE(window().isEnabled());
}

TEST_F(AdjustDialogTest, WarnsOfPicturesItCannotServeAndOpensUnreadableOnesEmpty) {
    ImageHandle grey = makeIndexedImage(8, 8, 8, greyPalette(8), [](int x, int) { return x * 20; });
    ASSERT_NE(PelmixJpegFileSave(folder.file("grey.jpg").c_str(), grey.get(), "", "", 90, 1), 0);
    ImageHandle two = makeIndexedImage(8, 8, 1, greyPalette(1), [](int x, int) { return x % 2; });
    ASSERT_NE(PelmixTiffFileSave(folder.file("two.tif").c_str(), two.get(), "", "", 0), 0);
    ASSERT_NE(PelmixTiffFileSave(folder.file("two.bmp").c_str(), two.get(), "", "", 0), 0);
    ASSERT_TRUE(writeBytes(folder.file("broken.jpg"), "not a picture", 13));
    const QString warning = QStringLiteral("256色のJPEGと2色のTIFではご利用になれません。");
    const struct {
        const char* name;
        bool warned;
        int width;
    } cases[] = {{"grey.jpg", true, 8},
                 {"two.tif", true, 8},
                 {"two.bmp", false, 8},
                 {"broken.jpg", false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.requests.clear();
        CNF_WIN* dialog = open(c.name);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(prompter.messages(), c.warned ? QStringList{warning} : QStringList{});
        if (c.warned) {
            EXPECT_EQ(prompter.requests[0].message.icon, Prompter::Icon::Exclamation);
        }
        EXPECT_EQ(dialog->ADJ_WIDTH, c.width);
        // Nothing to turn or cut in an empty dialog, and nothing breaks.
        QTest::mouseClick(dialog->CMD_BASE_CNG[0], Qt::LeftButton);
        QTest::mouseClick(dialog->TURN[0], Qt::LeftButton);
        QTest::mouseClick(dialog->CMD_BASE_CNG[2], Qt::LeftButton);
        QTest::mouseClick(dialog->Command14, Qt::LeftButton);
        EXPECT_EQ(dialog->ADJ_WIDTH, c.width);
        dialog->close();
    }
}

TEST_F(AdjustDialogTest, BoxesClampToTheBarsAndRedrawFollowsTheAutomaticSetting) {
    writeBmp(folder.file("grey.bmp"), 20, 20, [](int, int) { return Colour{100, 100, 100}; });
    CNF_WIN* dialog = open("grey.bmp");
    ASSERT_NE(dialog, nullptr);
    const struct {
        const char* typed;
        int value;
        const char* text;
    } boxes[] = {{"300", 255, "255"}, {"-300", -255, "-255"}, {"abc", 0, "0"},
                 {"12.6", 13, "13"},  {"-7", -7, "-7"},       {"0", 0, "0"},
                 {"255", 255, "255"}, {"40xyz", 40, "40"}};
    for (const auto& [box, bar] :
         {std::pair{dialog->R_VAL, dialog->R_BAR}, std::pair{dialog->BRIGHT_VAL, dialog->BRIGHT}}) {
        for (const auto& c : boxes) {
            SCOPED_TRACE(c.typed);
            typeInto(box, QString::fromLatin1(c.typed), true);
            EXPECT_EQ(bar->value(), c.value);
            EXPECT_EQ(box->text(), QString::fromLatin1(c.text));
        }
    }
    // Brightness 40 and red 40 drawn at once.
    EXPECT_TRUE(near(shown(dialog), Colour{180, 140, 140}));

    // Redrawn on request only while the box is unchecked.
    QTest::mouseClick(dialog->Check1, Qt::LeftButton);
    EXPECT_EQ(program.settings.CFDM, 1);
    QTest::mouseClick(dialog->Command1, Qt::LeftButton);
    EXPECT_EQ(dialog->BRIGHT->value(), 0);
    EXPECT_EQ(dialog->BRIGHT_VAL->text(), QStringLiteral("0"));
    EXPECT_TRUE(near(shown(dialog), Colour{180, 140, 140}));
    QTest::mouseClick(dialog->Command5, Qt::LeftButton);
    EXPECT_TRUE(near(shown(dialog), Colour{140, 100, 100}));
    QTest::mouseClick(dialog->Check1, Qt::LeftButton);
    EXPECT_EQ(program.settings.CFDM, 0);

    // The balance reset moves three bars and redraws once, with all of them at 0.
    dialog->G_BAR->setValue(-50);
    dialog->B_BAR->setValue(60);
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    for (QScrollBar* bar : {dialog->R_BAR, dialog->G_BAR, dialog->B_BAR}) {
        EXPECT_EQ(bar->value(), 0);
    }
    EXPECT_TRUE(near(shown(dialog), Colour{100, 100, 100}));
    EXPECT_FALSE(dialog->RESET_BUSY);
}
