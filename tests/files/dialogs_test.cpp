// The rename, new-folder and folder-choice dialogs, opened from the main window and typed into
// the way a user types: keys go to whatever control has the focus.
#include "files_fixture.h"
#include "gpath2.h"
#include "gpath_win.h"
#include "md_win.h"
#include "ren_win.h"
#include "small_volume.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class DialogTest : public FilesFixture {
protected:
    // The dialog of type D that the main window opened, active and ready for keys.
    template <typename D> D* opened() {
        D* dialog = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<D*>(top); d != nullptr && d->isVisible()) {
                dialog = d;
            }
        }
        if (dialog != nullptr) {
            // As a window manager gives a new dialog the keyboard.
            QApplication::setActiveWindow(dialog);
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        }
        return dialog;
    }
    template <typename D> bool stillOpen() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (qobject_cast<D*>(top) != nullptr && top->isVisible()) {
                return true;
            }
        }
        return false;
    }
    static void typeOver(const QString& text) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
        // Character by character with its text, as an input method delivers what it composed.
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(),
                                c.unicode() < 128 ? Qt::Key(QChar(c).toUpper().unicode())
                                                  : Qt::Key_unknown,
                                QString(c), Qt::NoModifier);
        }
    }
    static void press(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }

    REN_WIN* openRename(const char* name) {
        program.browse.CAT_CURRENT = QString::fromLatin1(name);
        window().MNU_FILE_RENAME->trigger();
        return opened<REN_WIN>();
    }
};

} // namespace

TEST_F(DialogTest, RenameKeyFilterAndShortening) {
    struct Case {
        int16_t RNDN;
        const char* typed;
        const char* shown; // after the name is validated (focus leaves it)
    };
    const Case cases[] = {
        {0, "ab c.d*e:f/g", "ABCDEFG"},   {1, "ab c.d*e:f/g", "ab cdefg"},
        {0, "abcdefghijkl", "ABCDEFGHI"}, {0, "あいうえ", "あいう"},
        {0, "xあいうz", "Xあい"},         {1, "あいうえお", "あいうえお"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        program.settings.RNDN = c.RNDN;
        REN_WIN* dialog = openRename("p00.jpg");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->DOSNAME->isChecked(), c.RNDN == 0);
        EXPECT_EQ(dialog->Label1->text(), QStringLiteral("p00.jpg"));
        EXPECT_EQ(dialog->Label2->text(), QStringLiteral(".jpg"));
        EXPECT_EQ(dialog->Text1->text(), QStringLiteral("p00"));
        ASSERT_EQ(QApplication::focusWidget(), dialog->Text1);
        typeOver(QString::fromUtf8(c.typed));
        press(Qt::Key_Tab);
        EXPECT_EQ(dialog->Text1->text(), QString::fromUtf8(c.shown));
        QTest::mouseClick(dialog->CANCEL, Qt::LeftButton);
        EXPECT_FALSE(stillOpen<REN_WIN>());
    }
    EXPECT_TRUE(fs::exists(folder.file("p00.jpg")));
    EXPECT_TRUE(prompter.requests.empty());
}

TEST_F(DialogTest, RenameKeepsTheExtensionAndRefusesTakenNames) {
    program.settings.RNDN = 1;
    program.settings.RNDU = 1;
    const auto old = fs::last_write_time(folder.file("p01.jpg")) - std::chrono::hours(24 * 400);
    fs::last_write_time(folder.file("p01.jpg"), old);

    // A name in use, in any letter case: told on Enter and on OK; the dialog stays.
    REN_WIN* dialog = openRename("p01.jpg");
    ASSERT_NE(dialog, nullptr);
    typeOver(QStringLiteral("P02"));
    press(Qt::Key_Return);
    QTest::mouseClick(dialog->OK, Qt::LeftButton);
    EXPECT_EQ(prompter.messages(),
              (QStringList{QStringLiteral("既に存在するファイル名です。"),
                           QStringLiteral("指定したファイル名は既に存在します。")}));
    ASSERT_TRUE(stillOpen<REN_WIN>());

    QTest::mouseClick(dialog->Text1, Qt::LeftButton);
    typeOver(QStringLiteral("new name"));
    press(Qt::Key_Return);
    EXPECT_FALSE(stillOpen<REN_WIN>());
    EXPECT_FALSE(fs::exists(folder.file("p01.jpg")));
    ASSERT_TRUE(fs::exists(folder.file("new name.jpg")));
    EXPECT_EQ(fs::last_write_time(folder.file("new name.jpg")), old);
    EXPECT_TRUE(program.browse.CAT_CURRENT.isEmpty());
    EXPECT_TRUE(std::count(program.browse.PAGE_NAME.begin(), program.browse.PAGE_NAME.end(),
                           QStringLiteral("new name.jpg")));

    // The file went away while the dialog was open.
    prompter.requests.clear();
    dialog = openRename("p03.jpg");
    ASSERT_NE(dialog, nullptr);
    fs::remove(folder.file("p03.jpg"));
    QTest::mouseClick(dialog->Text1, Qt::LeftButton);
    typeOver(QStringLiteral("other"));
    QTest::mouseClick(dialog->OK, Qt::LeftButton);
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("ソース側ファイルが存在しません。")});
    QTest::mouseClick(dialog->CANCEL, Qt::LeftButton);
}

TEST_F(DialogTest, ARenameTheSystemRefusesIsToldAndTheDialogStays) {
    SmallVolume volume(1 << 20);
    if (!volume.mounted()) {
        GTEST_SKIP() << "no right to mount a small volume here";
    }
    fs::copy_file(folder.file("p00.jpg"), volume.file("p00.jpg"));
    program.browse.DISP_DIR = q(volume.path()) + QLatin1Char('/');
    refresh().REFRESH_CATALOGUE(0);
    ASSERT_TRUE(volume.setReadOnly(true));
    program.settings.RNDN = 1;
    REN_WIN* dialog = openRename("p00.jpg");
    ASSERT_NE(dialog, nullptr);
    typeOver(QStringLiteral("renamed"));
    QTest::mouseClick(dialog->OK, Qt::LeftButton);
    ASSERT_EQ(prompter.requests.size(), 1u);
    EXPECT_TRUE(prompter.requests[0].message.text.contains(QStringLiteral("理由 : ")));
    EXPECT_TRUE(stillOpen<REN_WIN>());
    EXPECT_TRUE(fs::exists(volume.file("p00.jpg")));
    QTest::mouseClick(dialog->CANCEL, Qt::LeftButton);
    volume.setReadOnly(false);
}

TEST_F(DialogTest, MenuCommandsWithoutACurrentFileSayWhatToDo) {
    ORVA_WIN& w = window();
    program.browse.CAT_CURRENT.clear();
    w.MNU_FILE_DELETE->trigger();
    w.MNU_FILE_RENAME->trigger();
    EXPECT_EQ(prompter.messages(),
              (QStringList{QStringLiteral("削除したい絵をドラッグしてゴミ箱の上へドロップしてするか"
                                          "指定してから実行させてください。"),
                           QStringLiteral("名前を変えたい絵のファイル名をクリックするか指定してから"
                                          "実行させてください。")}));

    // Deleting the single view's file through the menu leaves it without a current name.
    program.settings.DSPM = 2;
    program.browse.ONE_NAME = program.browse.CAT_CURRENT = QStringLiteral("p02.jpg");
    prompter.answers = {Prompter::Yes};
    w.MNU_FILE_DELETE->trigger();
    EXPECT_FALSE(fs::exists(folder.file("p02.jpg")));
    EXPECT_TRUE(fs::exists(data.file("Trash/files/p02.jpg")));
    EXPECT_TRUE(program.browse.CAT_CURRENT.isEmpty());
}

TEST_F(DialogTest, NewFolderDialog) {
    ORVA_WIN& w = window();
    fs::create_directory(tray.file("sub"));
    showTray(tray.path());
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    MD_WIN* dialog = opened<MD_WIN>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("フォルダー作成"));
    QTest::mouseClick(dialog->OK, Qt::LeftButton);
    dialog->ADD_DIR->setFocus();
    typeOver(QStringLiteral("sub"));
    press(Qt::Key_Return);
    EXPECT_EQ(
        prompter.messages(),
        (QStringList{QStringLiteral("フォルダー(ディレクトリー)名が指定されていません。"),
                     q(tray.file("sub")) +
                         QStringLiteral("\nは既に存在するフォルダー(ディレクトリー)名です。")}));
    EXPECT_EQ(QApplication::focusWidget(), dialog->ADD_DIR);
    ASSERT_TRUE(stillOpen<MD_WIN>());

    typeOver(QStringLiteral("新しい/フォルダー"));
    QTest::mouseClick(dialog->OK, Qt::LeftButton);
    EXPECT_TRUE(fs::is_directory(tray.file("新しいフォルダー")));
    EXPECT_FALSE(stillOpen<MD_WIN>());

    // A folder the system refuses to make: its reason, and the dialog stays for another try.
    SmallVolume volume(1 << 20);
    if (!volume.mounted() || !volume.setReadOnly(true)) {
        GTEST_SKIP() << "no right to mount a small volume here";
    }
    showTray(volume.path());
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    dialog = opened<MD_WIN>();
    ASSERT_NE(dialog, nullptr);
    typeOver(QStringLiteral("x"));
    prompter.requests.clear();
    QTest::mouseClick(dialog->OK, Qt::LeftButton);
    ASSERT_EQ(prompter.requests.size(), 1u);
    EXPECT_TRUE(prompter.requests[0].message.text.contains(QStringLiteral("理由 : ")));
    EXPECT_TRUE(stillOpen<MD_WIN>());
    QTest::mouseClick(dialog->CANCEL, Qt::LeftButton);
    volume.setReadOnly(false);
}

TEST_F(DialogTest, FolderDialogsOpenOnTheNearestFolderThatExists) {
    ORVA_WIN& w = window();
    program.browse.DISP_DIR = q(folder.file("gone/deeper/"));
    program.browse.CAT_CURRENT = QStringLiteral("p00.jpg");
    QTest::mouseClick(w.BTN_DFILE, Qt::LeftButton);
    GPATH_WIN* display = opened<GPATH_WIN>();
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->windowTitle(), program.APP_TITLE + QStringLiteral(" (表示Path指定)"));
    EXPECT_EQ(display->chosenFolder(), q(folder.path()) + QLatin1Char('/'));
    EXPECT_EQ(display->Drive1->currentText(), QStringLiteral("/"));
    // The folder it opens on is in view, chosen, without the user scrolling to it.
    const QModelIndex opened = display->Dir1->currentIndex();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QRect row = display->Dir1->visualRect(opened);
            return row.isValid() && display->Dir1->viewport()->rect().contains(row.topLeft());
        },
        3000))
        << display->Dir1->visualRect(opened).y();
    ASSERT_TRUE(folder_tree::show(display->Dir1, QStringLiteral("/")));
    QTest::mouseClick(display->Command1, Qt::LeftButton);
    EXPECT_EQ(program.browse.DISP_DIR, QStringLiteral("/")); // never "//"
    EXPECT_TRUE(program.browse.CAT_CURRENT.isEmpty());
    EXPECT_EQ(program.FOLDER_HISTORY[0], QStringLiteral("/"));
    EXPECT_FALSE(stillOpen<GPATH_WIN>());

    program.settings.NTWP = q(tray.file("gone/"));
    auto* source = new GPATH2(program, &w);
    source->show();
    EXPECT_EQ(source->windowTitle(), program.APP_TITLE + QStringLiteral(" (取り込みPath指定)"));
    EXPECT_EQ(source->chosenFolder(), q(tray.path()) + QLatin1Char('/'));
    QTest::mouseClick(source->Command1, Qt::LeftButton);
    EXPECT_EQ(program.settings.NTWP, q(tray.path()) + QLatin1Char('/'));
}
