// The main window layout, compared in twips: the tool bar row, the two trays and the view area
// for several window sizes and tray settings, the scroll-bar width taken from the system, the
// visibility commands, the file tray, and the display-folder box.
#include "browsing_state.h"
#include "folder_history.h"
#include "orva_win.h"
#include "program.h"
#include "qt_support.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"
#include "single_twips.h"
#include "temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>
#include <memory>

namespace {

class WideScrollBars : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_ScrollBarExtent) {
            return 27;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override { testApplication(); }

    ORVA_WIN& window(QSize size) {
        if (!window_) {
            window_ = std::make_unique<ORVA_WIN>(program);
            window_->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        }
        window_->resize(size);
        QApplication::processEvents();
        return *window_;
    }

    // One pixel either way: the layout works in twips, the widgets in whole pixels.
    int slack() const { return Twips::fromPixelsX(window_.get(), 1); }

    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    TempDir folder;
    std::unique_ptr<ORVA_WIN> window_;
};

TEST_F(LayoutTest, PanelsInTwipsForSizesAndTraySettings) {
    for (const QSize size : {QSize(800, 600), QSize(1024, 700), QSize(1400, 900)}) {
        for (const int commandTray : {0, 1}) {
            for (const int fileTray : {0, 1}) {
                program.settings.DSTR = static_cast<int16_t>(commandTray);
                program.settings.DSFT = static_cast<int16_t>(fileTray);
                ORVA_WIN& w = window(size);
                w.MAIN_LAYOUT();
                const int d = slack();
                const int top = Twips::height(w.BTN_EXIT_GO) + 48;
                const int innerWidth = Twips::width(w.centralWidget());
                const int innerHeight = Twips::height(w.centralWidget());
                SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " "
                                                << commandTray << fileTray);

                EXPECT_NEAR(Twips::height(w.CMD_BASE), top, d);
                EXPECT_NEAR(Twips::left(w.DFILE_BASE), Twips::width(w.CMD_BASE), d);
                EXPECT_NEAR(Twips::width(w.DFILE_BASE),
                            Twips::width(&w) - Twips::width(w.CMD_BASE) -
                                Twips::width(w.PTOTAL_BASE) - 100,
                            2 * d);
                EXPECT_NEAR(Twips::left(w.PTOTAL_BASE),
                            Twips::width(w.CMD_BASE) + Twips::width(w.DFILE_BASE), 2 * d);
                EXPECT_NEAR(Twips::width(w.Combo1),
                            Twips::width(w.DFILE_BASE) - Twips::width(w.BTN_DFILE) - 50, 2 * d);
                EXPECT_EQ(w.Combo1->y(), 0);

                EXPECT_NEAR(Twips::top(w.CMD2_BASE), top, d);
                EXPECT_NEAR(Twips::height(w.CMD2_BASE), innerHeight - top, 2 * d);
                // Each tray is as wide as designed, or as its widest caption needs.
                const int commandWidth = Twips::width(w.CMD2_BASE);
                if (commandTray) {
                    EXPECT_NEAR(commandWidth, 0, d);
                } else {
                    EXPECT_GE(commandWidth, 560 - d);
                }
                EXPECT_EQ(w.CMD2_BASE->isVisible(), commandTray == 0);
                const int fileLeft = commandTray ? 0 : commandWidth;
                EXPECT_NEAR(Twips::left(w.F_BASE), fileLeft, d);
                const int fileWidth = Twips::width(w.F_BASE);
                if (fileTray) {
                    EXPECT_NEAR(fileWidth, 0, d);
                } else {
                    EXPECT_GE(fileWidth, 1900 - d);
                }
                EXPECT_EQ(w.F_BASE->isVisible(), fileTray == 0);
                for (QLabel* caption : {w.Label1, w.Label2, w.Label3, w.Label4, w.Label5, w.Label6,
                                        w.MOVE_LABEL, w.COPY_LABEL}) {
                    if (caption->isVisibleTo(&w)) {
                        EXPECT_GE(caption->width(), caption->sizeHint().width())
                            << caption->objectName().toStdString();
                    }
                }

                const int viewLeft = fileLeft + (fileTray ? 0 : fileWidth);
                EXPECT_NEAR(Twips::left(w.PIC8_BASE), viewLeft, d);
                EXPECT_NEAR(Twips::top(w.PIC8_BASE), top, d);
                EXPECT_EQ(w.PIC8_BASE->geometry().right(), w.centralWidget()->width() - 1);
                EXPECT_EQ(w.PIC8_BASE->geometry().bottom(), w.centralWidget()->height() - 1);
                EXPECT_EQ(w.PIC1_BASE->geometry(), w.PIC8_BASE->geometry());
                EXPECT_NEAR(Twips::width(w.PIC8_BASE), innerWidth - viewLeft, 2 * d);
            }
        }
    }
    // Both trays hidden: the view starts at the left edge.
    EXPECT_EQ(window_->PIC8_BASE->x(), 0);
}

TEST_F(LayoutTest, SingleViewAndFileTrayInsideTheirPanels) {
    program.settings.DSPM = 2;
    ORVA_WIN& w = window(QSize(1000, 700));
    const int d = slack();
    const int bar = Twips::width(w.DSP1_SCR);
    EXPECT_NEAR(Twips::left(w.DSP1_SCR), Twips::width(w.PIC1_BASE) - bar, d);
    EXPECT_EQ(w.DSP1_SCR->height(), w.PIC1_BASE->height());
    EXPECT_NEAR(Twips::width(w.DSP1_FRM), Twips::width(w.PIC1_BASE) - bar, 2 * d);
    EXPECT_NEAR(Twips::left(w.DSP1_MAXDSP), 60, d);
    EXPECT_NEAR(Twips::top(w.DSP1_MAXDSP), 180, d);
    EXPECT_NEAR(Twips::width(w.DSP1_MAXDSP), Twips::width(w.DSP1_FRM) - 120, 2 * d);
    EXPECT_NEAR(Twips::height(w.DSP1_MAXDSP), Twips::height(w.DSP1_FRM) - 240, 2 * d);
    // The clipping window leaves room for the two picture scroll bars, which sit at its edges.
    EXPECT_EQ(w.DSP1_PICWAKU->pos(), QPoint(0, 0));
    EXPECT_EQ(w.DSP1_VSC->x(), w.DSP1_PICWAKU->width());
    EXPECT_EQ(w.DSP1_VSC->height(), w.DSP1_PICWAKU->height());
    EXPECT_EQ(w.DSP1_HSC->y(), w.DSP1_PICWAKU->height());
    EXPECT_EQ(w.DSP1_HSC->width(), w.DSP1_PICWAKU->width());
    EXPECT_NEAR(w.DSP1_PICWAKU->width() + w.DSP1_VSC->width(), w.DSP1_MAXDSP->width(), 1);

    EXPECT_EQ(w.F_CTL->pos(), QPoint(0, 0));
    EXPECT_EQ(w.F_CTL->width(), w.F_BASE->width());
    EXPECT_EQ(w.F_DRIVE->y(), w.F_CTL->height());
    EXPECT_EQ(w.F_DIR->y(), w.F_DRIVE->y() + w.F_DRIVE->height());
    EXPECT_NEAR(w.F_DIR->geometry().bottom(), w.F_BASE->height() - 1, 1);
}

TEST_F(LayoutTest, FolderTreeShowsTheChosenFolderByItsWholeNameAndCutsNoOther) {
    QString deep = QString::fromStdString(folder.path());
    for (int level = 1; level <= 8; ++level) {
        deep += QStringLiteral("/level %1 with a long name").arg(level);
    }
    deep += QStringLiteral("/scans");
    ASSERT_TRUE(QDir().mkpath(deep));
    ORVA_WIN& w = window(QSize(1000, 700));
    const struct {
        QString folder;
        QString name; // as the row shows it
        bool atLeft;  // the tree not scrolled sideways: no name above it is cut
    } cases[] = {
        {deep, QStringLiteral("scans"), false},
        {QStringLiteral("/tmp"), QStringLiteral("tmp"), true},
        {QStringLiteral("/"), QStringLiteral("/"), true}, // a row of its own, shown chosen
        {deep, QStringLiteral("scans"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        ASSERT_TRUE(w.revealTrayFolder(c.folder.endsWith('/') ? c.folder : c.folder + '/'));
        const QModelIndex index = w.F_DIR->currentIndex();
        ASSERT_EQ(index.data().toString(), c.name);
        // The whole name within the tree's window, from its first letter.
        const int needed = w.F_DIR->fontMetrics().horizontalAdvance(c.name);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                const QRect shown = w.F_DIR->visualRect(index);
                return shown.isValid() && shown.left() >= 0 && shown.width() >= needed &&
                       shown.left() + needed <= w.F_DIR->viewport()->width() && shown.top() >= 0 &&
                       shown.bottom() <= w.F_DIR->viewport()->height() &&
                       (w.F_DIR->horizontalScrollBar()->value() == 0) == c.atLeft;
            },
            5000))
            << w.F_DIR->visualRect(index).left() << " " << w.F_DIR->visualRect(index).width()
            << " scrolled " << w.F_DIR->horizontalScrollBar()->value();
        EXPECT_TRUE(w.F_DIR->selectionModel()->isSelected(index));
    }
}

TEST_F(LayoutTest, MagnificationBoxOnlyInTheLibraryDrawnSingleView) {
    program.settings.LDSP = 1;
    ORVA_WIN& w = window(QSize(1000, 700));
    const int d = slack();
    EXPECT_EQ(w.MAG_BASE->width(), 0);
    EXPECT_FALSE(w.MAG_BASE->isVisible());
    const int countLeft = Twips::left(w.PTOTAL_BASE);

    program.settings.DSPM = 2;
    w.MAIN_LAYOUT();
    EXPECT_TRUE(w.MAG_BASE->isVisible());
    EXPECT_NEAR(Twips::width(w.MAG_BASE), Twips::width(w.MAG_SET) + 24, d);
    EXPECT_NEAR(Twips::left(w.MAG_BASE), Twips::left(w.DFILE_BASE) + Twips::width(w.DFILE_BASE), d);
    // The folder box gives up the room, so the count stays where it was.
    EXPECT_NEAR(Twips::left(w.PTOTAL_BASE), countLeft, 2 * d);

    program.settings.LDSP = 0;
    w.MAIN_LAYOUT();
    EXPECT_FALSE(w.MAG_BASE->isVisible());
    EXPECT_EQ(w.MAG_BASE->width(), 0);
}

TEST_F(LayoutTest, VisibilityCommandsNameTheirNextActionAndHideTheToolBar) {
    ORVA_WIN& w = window(QSize(900, 600));
    w.Combo1->setEditText(QStringLiteral("/pictures/"));
    w.MNU_DISP_TOOLDISP->trigger();
    EXPECT_EQ(program.settings.DSTL, 1);
    EXPECT_EQ(w.MNU_DISP_TOOLDISP->text(), QStringLiteral("ツールバーを表示する"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Orvana  /pictures/"));
    EXPECT_EQ(w.CMD_BASE->height(), 0);
    EXPECT_FALSE(w.DFILE_BASE->isVisible());
    EXPECT_EQ(w.PIC8_BASE->y(), 0);
    w.MNU_DISP_TOOLDISP->trigger();
    EXPECT_EQ(w.MNU_DISP_TOOLDISP->text(), QStringLiteral("ツールバーを表示しない"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Orvana"));

    w.MNU_DISP_CMDTRAY->trigger();
    EXPECT_EQ(w.MNU_DISP_CMDTRAY->text(), QStringLiteral("コマンドトレイを表示する"));
    w.MNU_DISP_FILETRAY->trigger();
    EXPECT_EQ(w.MNU_DISP_FILETRAY->text(), QStringLiteral("ファイルトレイを表示する"));
    EXPECT_EQ(w.PIC8_BASE->x(), 0);
    w.MNU_DISP_FILETRAY->trigger();
    EXPECT_EQ(w.MNU_DISP_FILETRAY->text(), QStringLiteral("ファイルトレイを表示しない"));
    EXPECT_NEAR(Twips::left(w.PIC8_BASE), 1900, slack());
}

TEST_F(LayoutTest, ScrollBarsFollowTheSystemWidthOnResize) {
    ORVA_WIN& w = window(QSize(900, 600));
    WideScrollBars style;
    w.setStyle(&style);
    for (QWidget* child : w.findChildren<QWidget*>()) {
        child->setStyle(&style);
    }
    window(QSize(950, 640));
    EXPECT_EQ(w.DSP8_SCR->width(), 27);
    EXPECT_EQ(w.DSP1_SCR->width(), 27);
    EXPECT_EQ(w.DSP1_VSC->width(), 27);
    EXPECT_EQ(w.DSP1_HSC->height(), 27);
    // Both views were laid out again with the new width.
    EXPECT_EQ(w.DSP8_SCR->x(), w.PIC8_BASE->width() - 27);
    EXPECT_EQ(w.DSP1_SCR->x(), w.PIC1_BASE->width() - 27);
    window_.reset(); // before the style goes
}

TEST_F(LayoutTest, FolderBoxEnterNeedsAFinalSlashAndClickShowsTheEntry) {
    const QString shown = QString::fromStdString(folder.path()) + QLatin1Char('/');
    ORVA_WIN& w = window(QSize(900, 600));
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    program.browse.CAT_CURRENT = QStringLiteral("x.bmp");
    ADD_FOLDER_HISTORY(program, shown, w.Combo1);
    ADD_FOLDER_HISTORY(program, QStringLiteral("/elsewhere/"), w.Combo1);

    // Typed as a user types: click into the box, then keys to whatever has the focus.
    auto type = [&](const QString& text) {
        QTest::mouseClick(w.Combo1->lineEdit(), Qt::LeftButton); // where the user clicks
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(focus, text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    };
    type(QStringLiteral("/nowhere"));
    EXPECT_NE(program.browse.DISP_DIR, QStringLiteral("/nowhere"));
    EXPECT_EQ(program.FOLDER_HISTORY[0], QStringLiteral("/elsewhere/"));

    // A history entry typed again (the box completes it) goes back to the head.
    type(shown);
    EXPECT_EQ(program.browse.DISP_DIR, shown);
    EXPECT_EQ(program.FOLDER_HISTORY[0], shown);
    EXPECT_EQ(program.FOLDER_HISTORY[1], QStringLiteral("/elsewhere/"));
    EXPECT_EQ(w.Combo1->itemText(0), shown);
    // The old folder's current file is not one of this folder's; the same folder keeps it.
    EXPECT_TRUE(program.browse.CAT_CURRENT.isEmpty());
    program.browse.CAT_CURRENT = QStringLiteral("x.bmp");
    type(shown);
    EXPECT_EQ(program.browse.CAT_CURRENT, QStringLiteral("x.bmp"));

    // Choosing an entry shows that folder and forgets the current file.
    program.browse.DISP_DIR = QStringLiteral("/elsewhere/");
    emit w.Combo1->activated(0);
    EXPECT_EQ(program.browse.DISP_DIR, shown);
    EXPECT_TRUE(program.browse.CAT_CURRENT.isEmpty());

    // Not while the history is being refilled.
    program.HISTORY_BUSY = true;
    program.browse.DISP_DIR = QStringLiteral("/elsewhere/");
    emit w.Combo1->activated(0);
    type(shown);
    EXPECT_EQ(program.browse.DISP_DIR, QStringLiteral("/elsewhere/"));
    program.HISTORY_BUSY = false;
}

TEST_F(LayoutTest, FileCountOfAHugeFolderIsNotCut) {
    ORVA_WIN& w = window(QSize(900, 600));
    w.PTOTAL->setText(QStringLiteral(" 1000000"));
    EXPECT_LE(w.PTOTAL->sizeHint().width(), w.PTOTAL->width());
    EXPECT_LE(w.PTOTAL->x() + w.PTOTAL->width(), w.PTOTAL_BASE->width());
}

TEST_F(LayoutTest, TinyWindowKeepsGoing) {
    // Sizes that would come out negative are refused one by one; the rest is still laid out.
    ORVA_WIN& w = window(QSize(120, 90));
    EXPECT_GE(w.DFILE_BASE->width(), 0);
    EXPECT_GE(w.PIC8_BASE->width(), 0);
    EXPECT_EQ(w.PIC1_BASE->geometry(), w.PIC8_BASE->geometry());
}

} // namespace
