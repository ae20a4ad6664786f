// The main window: every control exists under its name, the menus and tips read as the program
// shows them, the catalogue has its twelve cells, the layout follows the tray switches, and the
// redraw, view, scroll, page keys and Cancel controls drive the display refresh.
#include "browsing_state.h"
#include "display_refresh.h"
#include "help_window.h"
#include "orva_win.h"
#include "orva_win_picture_list.h"
#include "program.h"
#include "qt_support.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"
#include "temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>
#include <memory>

namespace {

QStringList actionTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("—") : action->text());
    }
    return texts;
}

class OrvaWinTest : public ::testing::Test {
protected:
    void SetUp() override { testApplication(); }

    ORVA_WIN& window() {
        if (!window_) {
            window_ = std::make_unique<ORVA_WIN>(program);
        }
        return *window_;
    }

    // A display folder of count picture files named p00.bmp, p01.bmp …
    void makeFolder(int count) {
        for (int i = 0; i < count; ++i) {
            const std::string name = "p" + std::string(i < 10 ? "0" : "") + std::to_string(i);
            ASSERT_TRUE(writeBytes(folder.file(name + ".bmp"), "BM", 2));
        }
        program.browse.DISP_DIR = QString::fromStdString(folder.path()) + QLatin1Char('/');
    }

    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    TempDir folder;
    std::unique_ptr<ORVA_WIN> window_;
};

TEST_F(OrvaWinTest, EveryControlIsTheMemberOfItsName) {
    ORVA_WIN& w = window();
    const std::vector<std::pair<const char*, QObject*>> controls = {
        {"MNU_FILE", w.MNU_FILE},
        {"MNU_DISP_DFILE", w.MNU_DISP_DFILE},
        {"MNU_FILE_READTWAIN", w.MNU_FILE_READTWAIN},
        {"MNU_FILE_SELTWAIN", w.MNU_FILE_SELTWAIN},
        {"MNU_FILE_SELGETDIR", w.MNU_FILE_SELGETDIR},
        {"MNU_FILE_1PRNT", w.MNU_FILE_1PRNT},
        {"MNU_FILE_CATPRINT", w.MNU_FILE_CATPRINT},
        {"MNU_FILE_DMY2", w.MNU_FILE_DMY2},
        {"MNU_FILE_EDIT1", w.MNU_FILE_EDIT1},
        {"MNU_FILE_EDIT2", w.MNU_FILE_EDIT2},
        {"MNU_FILE_DELETE", w.MNU_FILE_DELETE},
        {"MNU_FILE_RENAME", w.MNU_FILE_RENAME},
        {"MNU_FILE_CNF", w.MNU_FILE_CNF},
        {"MNU_FILE_DMY", w.MNU_FILE_DMY},
        {"MNU_FILE_EXIT", w.MNU_FILE_EXIT},
        {"MNU_DISP", w.MNU_DISP},
        {"MNU_DISP_TOOLDISP", w.MNU_DISP_TOOLDISP},
        {"MNU_DISP_CMDTRAY", w.MNU_DISP_CMDTRAY},
        {"MNU_DISP_FILETRAY", w.MNU_DISP_FILETRAY},
        {"MNU_DISP_8DSP", w.MNU_DISP_8DSP},
        {"MNU_DISP_8", w.MNU_DISP_8},
        {"MNU_DISP_1", w.MNU_DISP_1},
        {"MNU_DISP_REDISP", w.MNU_DISP_REDISP},
        {"MNU_DISP_MKTN", w.MNU_DISP_MKTN},
        {"MNU_SETUP", w.MNU_SETUP},
        {"MNU_SETUP_SETUP", w.MNU_SETUP_SETUP},
        {"MNU_HELP", w.MNU_HELP},
        {"MNU_HELP_HELP", w.MNU_HELP_HELP},
        {"MNU_HELP_VERSION", w.MNU_HELP_VERSION},
        {"IMG_DFILE", w.IMG_DFILE},
        {"IMG_RDRAW", w.IMG_RDRAW},
        {"IMG_8DISP", w.IMG_8DISP},
        {"IMG_1DISP", w.IMG_1DISP},
        {"IMG_EXIT", w.IMG_EXIT},
        {"IMG_SET", w.IMG_SET},
        {"IMG_SCN", w.IMG_SCN},
        {"IMG_CAM", w.IMG_CAM},
        {"IMG_CAM2", w.IMG_CAM2},
        {"IMG_QSCAN", w.IMG_QSCAN},
        {"IMG_PICK", w.IMG_PICK},
        {"CMD_BASE", w.CMD_BASE},
        {"BTN_TWAIN_GO", w.BTN_TWAIN_GO},
        {"BTN_DISP_GO", w.BTN_DISP_GO},
        {"BTN_REDISP_GO", w.BTN_REDISP_GO},
        {"BTN_SET_GO", w.BTN_SET_GO},
        {"BTN_EXIT_GO", w.BTN_EXIT_GO},
        {"DFILE_BASE", w.DFILE_BASE},
        {"BTN_DFILE", w.BTN_DFILE},
        {"Combo1", w.Combo1},
        {"MAG_BASE", w.MAG_BASE},
        {"MAG_SET", w.MAG_SET},
        {"PTOTAL_BASE", w.PTOTAL_BASE},
        {"PTOTAL", w.PTOTAL},
        {"CMD2_BASE", w.CMD2_BASE},
        {"Image1", w.Image1},
        {"Image2", w.Image2},
        {"Image3", w.Image3},
        {"Image4", w.Image4},
        {"Image5", w.Image5},
        {"Image6", w.Image6},
        {"Label1", w.Label1},
        {"Label2", w.Label2},
        {"Label3", w.Label3},
        {"Label4", w.Label4},
        {"Label5", w.Label5},
        {"Label6", w.Label6},
        {"F_BASE", w.F_BASE},
        {"F_CTL", w.F_CTL},
        {"Command1", w.Command1},
        {"Command2", w.Command2},
        {"MOVE", w.MOVE},
        {"MOVE_LABEL", w.MOVE_LABEL},
        {"COPY", w.COPY},
        {"COPY_LABEL", w.COPY_LABEL},
        {"F_DRIVE", w.F_DRIVE},
        {"F_DIR", w.F_DIR},
        {"PIC8_BASE", w.PIC8_BASE},
        {"DSP8_SCR", w.DSP8_SCR},
        {"DSP8_WAIT_FRM", w.DSP8_WAIT_FRM},
        {"DSP8_WAIT_BAR", w.DSP8_WAIT_BAR},
        {"Command3", w.Command3},
        {"DSP8_SIZECHK", w.DSP8_SIZECHK},
        {"PIC_WRK", w.PIC_WRK},
        {"IMG_WRK", w.IMG_WRK},
        {"TOOLARGE", w.TOOLARGE},
        {"PIC1_BASE", w.PIC1_BASE},
        {"DSP1_SCR", w.DSP1_SCR},
        {"DSP1_FRM", w.DSP1_FRM},
        {"DSP1_NAME", w.DSP1_NAME},
        {"DSP1_MAXDSP", w.DSP1_MAXDSP},
        {"DSP1_PICWAKU", w.DSP1_PICWAKU},
        {"DSP1_PIC", w.DSP1_PIC},
        {"DSP1_HSC", w.DSP1_HSC},
        {"DSP1_VSC", w.DSP1_VSC},
    };
    for (const auto& [name, member] : controls) {
        ASSERT_NE(member, nullptr) << name;
        const QString wanted = QString::fromLatin1(name);
        EXPECT_EQ(member->objectName(), wanted);
        // Found by name from the window, and no other object of the window has that name.
        const QList<QObject*> found = w.findChildren<QObject*>(wanted);
        EXPECT_EQ(found.size(), 1) << name;
        EXPECT_TRUE(found.contains(member)) << name;
    }
}

TEST_F(OrvaWinTest, TheTwelveCellsAreIndexedAndEachHoldsItsOwnControls) {
    ORVA_WIN& w = window();
    EXPECT_EQ(w.findChildren<QFrame*>(QStringLiteral("DSP8_FRM")).size(), 12);
    for (const char* name : {"DSP8_IMG", "DSP8_IMG2", "DSP8_NAME", "SEL_CHECK"}) {
        EXPECT_EQ(w.findChildren<QWidget*>(QString::fromLatin1(name)).size(), 12) << name;
    }
    QSet<QWidget*> seen;
    for (int i = 0; i < ORVA_WIN::kCells; ++i) {
        QFrame* cell = w.DSP8_FRM[i];
        EXPECT_EQ(cell->property("index").toInt(), i);
        for (QWidget* part :
             {static_cast<QWidget*>(w.DSP8_IMG[i]), static_cast<QWidget*>(w.DSP8_IMG2[i]),
              static_cast<QWidget*>(w.DSP8_NAME[i]), static_cast<QWidget*>(w.SEL_CHECK[i])}) {
            EXPECT_EQ(part->parentWidget(), cell) << i;
            EXPECT_EQ(part->property("index").toInt(), i);
            EXPECT_FALSE(seen.contains(part));
            seen.insert(part);
        }
    }
}

TEST_F(OrvaWinTest, MenusReadAsTheProgramShowsThem) {
    ORVA_WIN& w = window();
    const QList<QAction*> bar = w.menuBar()->actions();
    ASSERT_EQ(bar.size(), 4);
    EXPECT_EQ(bar[0]->text(), QStringLiteral("ﾌｧｲﾙ(&F)"));
    EXPECT_EQ(bar[1]->text(), QStringLiteral("表示(&V)"));
    EXPECT_EQ(bar[2]->text(), QStringLiteral("設定(&S)"));
    EXPECT_EQ(bar[3]->text(), QStringLiteral("ヘルプ(&H)"));

    const QStringList file = actionTexts(w.MNU_FILE);
    EXPECT_EQ(file, (QStringList{"表示するフォルダーを選択する", "TWAIN機器からの読み込み",
                                 "使用するTWAIN機器の選択", "取り込み先フォルダーの指定",
                                 "印刷 (1枚)", "カタログ印刷", "フォルダーの絵をPDFにする", "—",
                                 "ファイルの編集１", "ファイルの編集2", "ファイルの削除",
                                 "ファイル名の変更", "ファイルの調整", "—", "終了"}));
    EXPECT_TRUE(w.MNU_FILE_DMY2->isSeparator());
    EXPECT_TRUE(w.MNU_FILE_DMY->isSeparator());

    const QStringList view = actionTexts(w.MNU_DISP);
    ASSERT_EQ(view.size(), 8);
    EXPECT_EQ(view[4], QStringLiteral("複数枚表示"));
    EXPECT_EQ(view[5], QStringLiteral("1枚表示"));
    EXPECT_EQ(view[6], QStringLiteral("画像の再表示"));
    EXPECT_EQ(view[7], QStringLiteral("サムネイルファイルの作成"));
    EXPECT_EQ(actionTexts(w.MNU_SETUP), QStringList{"動作環境の設定"});
    EXPECT_EQ(actionTexts(w.MNU_HELP), (QStringList{"ヘルプ", "バージョン情報"}));
}

TEST_F(OrvaWinTest, ViewTogglesNameTheActionTheyPerformNext) {
    ORVA_WIN& shown = window();
    EXPECT_EQ(shown.MNU_DISP_TOOLDISP->text(), QStringLiteral("ツールバーを表示しない"));
    EXPECT_EQ(shown.MNU_DISP_CMDTRAY->text(), QStringLiteral("コマンドトレイを表示しない"));
    EXPECT_EQ(shown.MNU_DISP_FILETRAY->text(), QStringLiteral("ファイルトレイを表示しない"));
    EXPECT_EQ(shown.MNU_DISP_8DSP->text(), QStringLiteral("複数枚表示時に絵を表示しない"));

    window_.reset();
    program.settings.DSTL = program.settings.DSTR = program.settings.DSFT = 1;
    program.settings.DSPD = 1;
    ORVA_WIN& hidden = window();
    EXPECT_EQ(hidden.MNU_DISP_TOOLDISP->text(), QStringLiteral("ツールバーを表示する"));
    EXPECT_EQ(hidden.MNU_DISP_CMDTRAY->text(), QStringLiteral("コマンドトレイを表示する"));
    EXPECT_EQ(hidden.MNU_DISP_FILETRAY->text(), QStringLiteral("ファイルトレイを表示する"));
    EXPECT_EQ(hidden.MNU_DISP_8DSP->text(), QStringLiteral("複数枚表示時に絵を表示する"));

    // Using a toggle flips its setting and its text back.
    hidden.MNU_DISP_CMDTRAY->trigger();
    EXPECT_EQ(program.settings.DSTR, 0);
    EXPECT_EQ(hidden.MNU_DISP_CMDTRAY->text(), QStringLiteral("コマンドトレイを表示しない"));
}

TEST_F(OrvaWinTest, ToolButtonsCarryTheirTipsAndPictures) {
    ORVA_WIN& w = window();
    EXPECT_EQ(w.BTN_TWAIN_GO->toolTip(), QStringLiteral("Twain読み込み実行"));
    EXPECT_EQ(w.BTN_SET_GO->toolTip(), QStringLiteral("設定"));
    EXPECT_EQ(w.BTN_DISP_GO->toolTip(), QStringLiteral("表示モード切り替え"));
    EXPECT_EQ(w.BTN_REDISP_GO->toolTip(), QStringLiteral("再表示"));
    EXPECT_EQ(w.BTN_EXIT_GO->toolTip(), QStringLiteral("終了"));
    EXPECT_EQ(w.F_DRIVE->toolTip(), QStringLiteral("ファイルトレイのドライブを指定する"));
    EXPECT_EQ(w.Command1->text(), QStringLiteral("表示"));
    EXPECT_EQ(w.Command1->toolTip(), QStringLiteral("下のファルダー内の絵を表示"));
    EXPECT_EQ(w.Command2->text(), QStringLiteral("作成"));
    EXPECT_EQ(w.Command2->toolTip(), QStringLiteral("フォルダーを作成する"));
    EXPECT_EQ(w.MOVE_LABEL->text(), QStringLiteral("移動"));
    EXPECT_EQ(w.MOVE->toolTip(),
              QStringLiteral("ここにドロップすると下で指定されたフォルダーに移動される"));
    EXPECT_EQ(w.COPY->toolTip(),
              QStringLiteral("ここにドロップすると下で指定されたフォルダーにコピーされる"));
    EXPECT_EQ(w.DSP8_WAIT_FRM->title(), QStringLiteral("表示準備中"));
    EXPECT_EQ(w.Command3->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(w.MAG_SET->count(), 3);
    EXPECT_EQ(w.MAG_SET->itemText(0), QStringLiteral("自動"));

    // Every picture is drawn from the embedded files: a holder with an empty picture would leave
    // a blank button after its action.
    for (OrvaPictureList* holder :
         {w.IMG_DFILE, w.IMG_RDRAW, w.IMG_8DISP, w.IMG_1DISP, w.IMG_EXIT, w.IMG_SET, w.IMG_SCN,
          w.IMG_CAM, w.IMG_CAM2, w.IMG_QSCAN, w.IMG_PICK}) {
        ASSERT_EQ(holder->count(), 2) << holder->objectName().toStdString();
        EXPECT_FALSE(holder->picture(0).isNull()) << holder->objectName().toStdString();
        EXPECT_FALSE(holder->picture(1).isNull()) << holder->objectName().toStdString();
        EXPECT_NE(holder->picture(0).pixmap(32).toImage(), holder->picture(1).pixmap(32).toImage());
        EXPECT_TRUE(holder->picture(2).isNull());
        EXPECT_TRUE(holder->picture(-1).isNull());
    }
    for (QLabel* target :
         {w.Image1, w.Image2, w.Image3, w.Image4, w.Image5, w.Image6, w.MOVE, w.COPY, w.TOOLARGE}) {
        EXPECT_FALSE(target->pixmap().isNull()) << target->objectName().toStdString();
    }
    EXPECT_TRUE(OrvaPictureList::normalAndPressed(QStringLiteral(":/pictures/none.svg"), 32)
                    .first()
                    .isNull());
}

TEST_F(OrvaWinTest, ShowsWithoutWarnings) {
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            // The offscreen platform reports that it cannot pass size hints to a window system
            // it does not have; that says nothing about the window.
            if (type != QtDebugMsg && type != QtInfoMsg &&
                !text.contains(QLatin1String("propagateSizeHints"))) {
                warnings << text;
            }
        });
    ORVA_WIN& w = window();
    w.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();
    w.resize(400, 300);
    QApplication::processEvents();
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(QLatin1Char('\n')).toStdString();
}

TEST_F(OrvaWinTest, LayoutFollowsTheTraySwitchesAndTheMatrix) {
    program.settings.CMTX = 3;
    program.settings.CMTY = 2;
    ORVA_WIN& w = window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.resize(900, 600);
    QApplication::processEvents();

    EXPECT_EQ(w.windowTitle(), QStringLiteral("Orvana"));
    EXPECT_GT(w.PIC8_BASE->x(), 0);
    EXPECT_EQ(w.PIC8_BASE->geometry(), w.PIC1_BASE->geometry());
    // Resizing lays the window out again: the views reach its right and bottom edges.
    EXPECT_EQ(w.PIC8_BASE->geometry().right(), w.centralWidget()->width() - 1);
    EXPECT_EQ(w.PIC8_BASE->geometry().bottom(), w.centralWidget()->height() - 1);
    EXPECT_EQ(w.PIC8_BASE->y(), w.CMD_BASE->height());
    // Six cells in three columns and two rows, none past the scroll bar.
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(w.DSP8_FRM[i]->x() > 0, i % 3 != 0) << i;
        EXPECT_LE(w.DSP8_FRM[i]->geometry().right(), w.DSP8_SCR->x()) << i;
        for (int j = 0; j < i; ++j) {
            // Rounded cell sizes may share one line of pixels with the neighbour, no more.
            const QRect shared = w.DSP8_FRM[i]->geometry() & w.DSP8_FRM[j]->geometry();
            EXPECT_TRUE(shared.width() <= 1 || shared.height() <= 1) << i << " " << j;
        }
    }
    EXPECT_FALSE(w.DSP8_FRM[6]->isVisibleTo(&w));

    w.MNU_DISP_CMDTRAY->trigger();
    w.MNU_DISP_FILETRAY->trigger();
    EXPECT_EQ(w.PIC8_BASE->x(), 0);
    EXPECT_FALSE(w.CMD2_BASE->isVisible());
    EXPECT_FALSE(w.F_BASE->isVisible());

    w.Combo1->setEditText(QStringLiteral("/pictures/"));
    w.MNU_DISP_TOOLDISP->trigger();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Orvana  /pictures/"));
    EXPECT_FALSE(w.CMD_BASE->isVisible());
    EXPECT_EQ(w.PIC8_BASE->y(), 0);
    w.MNU_DISP_TOOLDISP->trigger();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Orvana"));
    EXPECT_TRUE(w.CMD_BASE->isVisible());
}

TEST_F(OrvaWinTest, RedrawScrollAndPageKeysDriveTheCatalogue) {
    makeFolder(20); // eight cells a page by default
    ORVA_WIN& w = window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    QTest::mouseClick(w.BTN_REDISP_GO, Qt::LeftButton);
    EXPECT_EQ(w.PTOTAL->text(), QStringLiteral(" 20"));
    EXPECT_EQ(w.DSP8_NAME[0]->text(), QStringLiteral("p00.bmp"));
    EXPECT_EQ(w.DSP8_NAME[7]->text(), QStringLiteral("p07.bmp"));
    EXPECT_TRUE(w.DSP8_FRM[7]->isVisible());
    EXPECT_FALSE(w.DSP8_WAIT_FRM->isVisible());
    EXPECT_TRUE(w.MNU_FILE->menuAction()->isEnabled());
    EXPECT_TRUE(w.CMD_BASE->isEnabled());
    // The button is back on its normal picture after the redraw.
    EXPECT_EQ(w.BTN_REDISP_GO->icon().cacheKey(), w.IMG_RDRAW->picture(0).cacheKey());

    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_PageDown);
    EXPECT_EQ(w.DSP8_NAME[0]->text(), QStringLiteral("p08.bmp"));
    QTest::keyClick(&w, Qt::Key_PageUp);
    EXPECT_EQ(w.DSP8_NAME[0]->text(), QStringLiteral("p00.bmp"));

    // The user moving the scroll bar anchors the page at that file.
    w.DSP8_SCR->setValue(5);
    EXPECT_EQ(w.DSP8_NAME[0]->text(), QStringLiteral("p04.bmp"));

    w.MNU_DISP_REDISP->trigger();
    EXPECT_EQ(w.DSP8_NAME[0]->text(), QStringLiteral("p04.bmp"));
}

TEST_F(OrvaWinTest, ViewButtonSwitchesBetweenTheViews) {
    makeFolder(3);
    ORVA_WIN& w = window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.displayRefresh().REFRESH_CATALOGUE(1);
    program.browse.CAT_CURRENT = QStringLiteral("p01.bmp");

    QTest::mouseClick(w.BTN_DISP_GO, Qt::LeftButton);
    EXPECT_EQ(program.settings.DSPM, 2);
    EXPECT_TRUE(w.PIC1_BASE->isVisible());
    EXPECT_FALSE(w.PIC8_BASE->isVisible());
    EXPECT_EQ(w.DSP1_NAME->text(), QStringLiteral("p01.bmp"));
    EXPECT_EQ(w.BTN_DISP_GO->icon().cacheKey(), w.IMG_8DISP->picture(0).cacheKey());

    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_PageDown); // the single view steps by files
    EXPECT_EQ(w.DSP1_NAME->text(), QStringLiteral("p02.bmp"));

    QTest::mouseClick(w.BTN_DISP_GO, Qt::LeftButton);
    EXPECT_EQ(program.settings.DSPM, 1);
    EXPECT_TRUE(w.PIC8_BASE->isVisible());
    EXPECT_FALSE(w.PIC1_BASE->isVisible());
    EXPECT_EQ(w.BTN_DISP_GO->icon().cacheKey(), w.IMG_1DISP->picture(0).cacheKey());
    // The current file's cell carries the mark.
    EXPECT_EQ(w.DSP8_FRM[1]->backgroundRole(), QPalette::Highlight);
    EXPECT_EQ(w.DSP8_FRM[0]->backgroundRole(), QPalette::Button);
}

TEST_F(OrvaWinTest, CancelVersionAndExit) {
    ORVA_WIN& w = window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    QTest::mouseClick(w.Command3, Qt::LeftButton);
    EXPECT_TRUE(program.browse.CAT_STOP);

    w.MNU_HELP_VERSION->trigger();
    ASSERT_EQ(prompter.requests.size(), 1u);
    const Prompter::Message& box = prompter.requests[0].message;
    EXPECT_EQ(box.text, program.APP_TITLE + QLatin1Char('\n') + program.APP_VERSION);
    EXPECT_EQ(box.icon, Prompter::Icon::None);
    EXPECT_EQ(box.buttons, Prompter::Buttons::Ok);

    QTest::mouseClick(w.BTN_EXIT_GO, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(OrvaWinTest, HelpOpensOneHelpWindowAtItsContents) {
    program.PROGRAM_DIR = QString::fromStdString(folder.path()) + QLatin1Char('/');
    const std::string page = "<h1>Contents</h1>";
    ASSERT_TRUE(writeBytes(folder.file(HelpWindow::fileName), page.data(), page.size()));
    ORVA_WIN& w = window();
    w.MNU_HELP_HELP->trigger();
    w.MNU_HELP_HELP->trigger();
    const QList<HelpWindow*> helps = w.findChildren<HelpWindow*>();
    ASSERT_EQ(helps.size(), 1);
    EXPECT_TRUE(helps[0]->isVisible());
    EXPECT_TRUE(helps[0]->toPlainText().contains(QStringLiteral("Contents")));
}

} // namespace
