// The drop targets of the trays as a user meets them: a cell dragged onto COPY, MOVE, the trash
// and the editors, with the questions and the files where they must end up.
#include "cnf_win.h"
#include "drop_targets.h"
#include "editor_icon.h"
#include "fifo.h"
#include "files_fixture.h"
#include "native_name.h"
#include "small_volume.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

using DropTest = FilesFixture;

} // namespace

TEST_F(DropTest, CopyKeepsTheNameAndAsksBeforeReplacingOrBesideANameInOtherCase) {
    ORVA_WIN& w = window();
    showTray(tray.path());
    // A Latin-1 name, as old archives have them: the bytes travel unchanged.
    const std::string latin = "caf\xe9.jpg";
    fs::copy_file(folder.file("p04.jpg"), folder.file(latin));
    refresh().REFRESH_CATALOGUE(0);
    ASSERT_EQ(program.browse.PAGE_NAME[0], native_name::fromBytes(latin.c_str()));
    refresh().REFRESH_CATALOGUE(0);
    dropCell(w.COPY, 0);
    fs::remove(folder.file(latin));
    refresh().REFRESH_CATALOGUE(0);
    dropCell(w.COPY, 0);
    EXPECT_EQ(namesIn(tray.path()), (std::vector<std::string>{"caf\xe9.jpg", "p00.jpg"}));
    EXPECT_TRUE(readBytes(tray.file("p00.jpg")) == readBytes(folder.file("p00.jpg")));
    EXPECT_TRUE(prompter.requests.empty());

    // An existing file: asked, Cancel by default, nothing changes; OK replaces it under its name.
    ASSERT_TRUE(writeBytes(tray.file("p01.jpg"), "old", 3));
    dropCell(w.COPY, 1);
    ASSERT_EQ(prompter.requests.size(), 1u);
    const Prompter::Message& question = prompter.requests[0].message;
    EXPECT_EQ(question.text, q(tray.file("p01.jpg")) +
                                 QStringLiteral("\nファイルが既に存在しています上書きしますか?"));
    EXPECT_EQ(question.caption, program.APP_TITLE);
    EXPECT_EQ(question.icon, Prompter::Icon::Question);
    EXPECT_EQ(question.buttons, Prompter::Buttons::OkCancel);
    EXPECT_EQ(question.defaultButton, 2);
    EXPECT_EQ(readBytes(tray.file("p01.jpg")), "old");
    prompter.answers = {Prompter::Ok};
    dropCell(w.COPY, 1);
    EXPECT_TRUE(readBytes(tray.file("p01.jpg")) == readBytes(folder.file("p01.jpg")));
    EXPECT_FALSE(fs::exists(tray.file("P01.JPG")));

    // A name that differs only in letter case is another file: asked, naming both; Cancel
    // leaves both files, OK moves the file beside the other under its own name.
    ASSERT_TRUE(writeBytes(tray.file("P02.JPG"), "old", 3));
    prompter.requests.clear();
    dropCell(w.MOVE, 2);
    ASSERT_EQ(prompter.requests.size(), 1u);
    EXPECT_EQ(
        prompter.requests.back().message.text,
        q(tray.file("p02.jpg")) +
            QStringLiteral("\n移動先には大文字と小文字だけが違う名前のファイルがあります:\n") +
            q(tray.file("P02.JPG")) + QStringLiteral("\n別のファイルとして移動しますか?"));
    EXPECT_EQ(prompter.requests.back().message.defaultButton, 2);
    EXPECT_TRUE(fs::exists(folder.file("p02.jpg")));
    EXPECT_EQ(readBytes(tray.file("P02.JPG")), "old");
    prompter.answers = {Prompter::Ok};
    dropCell(w.MOVE, 2);
    EXPECT_FALSE(fs::exists(folder.file("p02.jpg")));
    EXPECT_EQ(readBytes(tray.file("P02.JPG")), "old");
    EXPECT_TRUE(fs::exists(tray.file("p02.jpg")));
}

TEST_F(DropTest, SourceFolderAsDestinationIsRefusedHoweverItIsNamed) {
    ORVA_WIN& w = window();
    const fs::path display(folder.path());
    std::string upper = display.filename().string();
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    const fs::path otherCase = display.parent_path() / upper;
    const fs::path link = fs::path(tray.path()) / "pictures";
    fs::create_directory_symlink(display, otherCase);
    fs::create_directory_symlink(display, link);
    const std::vector<std::string> before = namesIn(folder.path());

    for (const fs::path& tray : {display, otherCase, link}) {
        SCOPED_TRACE(tray.string());
        showTray(tray.string());
        prompter.requests.clear();
        dropCell(w.COPY, 0);
        dropCell(w.MOVE, 0);
        EXPECT_EQ(prompter.messages(),
                  (QStringList{QStringLiteral("コピー元とコピー先が一緒です、コピーを中止します。"),
                               QStringLiteral("移動元と移動先が一緒です、移動を中止します。")}));
        EXPECT_EQ(namesIn(folder.path()), before);
    }
    fs::remove(otherCase);
}

TEST_F(DropTest, MoveLeavesTheViewOnTheNextFile) {
    ORVA_WIN& w = window();
    showTray(tray.path());
    BrowsingState& state = program.browse;
    dropCell(w.MOVE, 0); // the first cell: the page starts at the next file
    EXPECT_EQ(state.PAGE_NAME[0], QStringLiteral("p01.jpg"));
    dropCell(w.MOVE, 2); // another cell: the page keeps its first file
    EXPECT_EQ(state.PAGE_NAME[0], QStringLiteral("p01.jpg"));
    EXPECT_EQ(namesIn(tray.path()), (std::vector<std::string>{"p00.jpg", "p03.jpg"}));
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"p01.jpg", "p02.jpg", "p04.jpg"}));

    // The single view shows the neighbour of the file moved away.
    program.settings.DSPM = 2;
    state.ONE_NAME = QStringLiteral("p02.jpg");
    refresh().REFRESH_SINGLE(0);
    QMimeData single;
    single.setData(QStringLiteral("application/x-orvana-single"), state.ONE_NAME.toUtf8());
    single.setUrls({QUrl::fromLocalFile(disp("p02.jpg"))});
    drop(w.MOVE, &single);
    EXPECT_TRUE(fs::exists(tray.file("p02.jpg")));
    EXPECT_NE(state.ONE_NAME, QStringLiteral("p02.jpg"));
    EXPECT_FALSE(state.ONE_NAME.isEmpty());
    EXPECT_TRUE(state.CAT_STALE);
}

TEST_F(DropTest, FailedCopyOrMoveKeepsTheSourceAndSaysWhy) {
    SmallVolume volume(96 * 1024);
    if (!volume.mounted()) {
        GTEST_SKIP() << "no right to mount a small volume here";
    }
    // A picture larger than the volume.
    std::mt19937 noise(7);
    writePicture(folder.file("p04.jpg"), Colour{1, 2, 3}, 8, 8);
    ImageHandle big = makeRgbImage(500, 500, [&](int, int) {
        return Colour{uint8_t(noise()), uint8_t(noise()), uint8_t(noise())};
    });
    ASSERT_NE(PelmixJpegFileSave(folder.file("p04.jpg").c_str(), big.get(), "", "", 100, 0), 0);
    ASSERT_GT(fs::file_size(folder.file("p04.jpg")), 96u * 1024);
    refresh().REFRESH_CATALOGUE(0);
    ORVA_WIN& w = window();
    showTray(volume.path());
    const std::string source = readBytes(folder.file("p04.jpg"));

    struct Case {
        const char* what;
        bool readOnly;
    };
    for (const Case& c : {Case{"full", false}, Case{"read-only", true}}) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(volume.setReadOnly(c.readOnly));
        for (QWidget* target : {static_cast<QWidget*>(w.COPY), static_cast<QWidget*>(w.MOVE)}) {
            prompter.requests.clear();
            refresh().REFRESH_CATALOGUE(0);
            dropCell(target, 4);
            EXPECT_TRUE(readBytes(folder.file("p04.jpg")) == source);
            EXPECT_TRUE(namesIn(volume.path()).empty());
            ASSERT_EQ(prompter.requests.size(), 1u);
            EXPECT_TRUE(prompter.requests[0].message.text.contains(QStringLiteral("理由 : ")));
        }
    }
    ASSERT_TRUE(volume.setReadOnly(false));
    // A FIFO put in the picture's place after it was listed: refused at once, nothing copied.
    refresh().REFRESH_CATALOGUE(0);
    const PlantedFifo fifo(folder.file("p04.jpg"));
    ASSERT_TRUE(fifo.made());
    for (QWidget* target : {static_cast<QWidget*>(w.COPY), static_cast<QWidget*>(w.MOVE)}) {
        prompter.requests.clear();
        dropCell(target, 4);
        EXPECT_TRUE(namesIn(volume.path()).empty());
        EXPECT_LE(prompter.requests.size(), 1u);
    }
    EXPECT_EQ(fifo.rescues(), 0);
}

TEST_F(DropTest, TrashKeepsTheFileAndItsThumbnailRestorable) {
    program.settings.UTNT = 1;
    fs::create_directory(folder.file("TN"));
    ASSERT_TRUE(writeBytes(folder.file("SNAPLET.INF"), "TNDN,TN\r\n", 9));
    fs::copy_file(folder.file("p01.jpg"), folder.file("TN/p01.jpg"));
    ORVA_WIN& w = window();
    BrowsingState& state = program.browse;
    state.CAT_CURRENT = QStringLiteral("p03.jpg");
    const std::string bytes = readBytes(folder.file("p01.jpg"));

    dropCell(w.Image1, 1); // the question's default is No
    ASSERT_EQ(prompter.requests.size(), 1u);
    const Prompter::Message& question = prompter.requests[0].message;
    EXPECT_EQ(question.text, QStringLiteral("p01.jpgを削除します\nよろしいですか ?"));
    EXPECT_EQ(question.caption, QStringLiteral("Orvana ファイル削除確認"));
    EXPECT_EQ(question.buttons, Prompter::Buttons::YesNo);
    EXPECT_EQ(question.defaultButton, 2);
    EXPECT_TRUE(fs::exists(folder.file("p01.jpg")));

    prompter.answers = {Prompter::Yes};
    dropCell(w.Image1, 1);
    EXPECT_FALSE(fs::exists(folder.file("p01.jpg")));
    EXPECT_FALSE(fs::exists(folder.file("TN/p01.jpg")));
    const std::string trash = data.file("Trash");
    EXPECT_TRUE(readBytes(trash + "/files/p01.jpg") == bytes);
    EXPECT_TRUE(fs::exists(trash + "/files/p01.jpg.2")); // the thumbnail, under the next name
    const QString info = q(readBytes(trash + "/info/p01.jpg.trashinfo"));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\[Trash Info\\]\nPath=") +
                           QRegularExpression::escape(QString::fromLatin1(
                               QByteArray(folder.file("p01.jpg").c_str()).toPercentEncoding("/"))) +
                           QStringLiteral("\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:"
                                          "\\d\\d\n$"))
            .match(info)
            .hasMatch())
        << info.toStdString();
    EXPECT_TRUE(state.CAT_CURRENT.isEmpty()); // a drop always clears the current file
    EXPECT_EQ(state.PAGE_NAME[0], QStringLiteral("p00.jpg"));
    EXPECT_EQ(state.PAGE_NAME[1], QStringLiteral("p02.jpg"));
}

TEST_F(DropTest, CaptionsShowWhereAPictureWouldBeDropped) {
    ORVA_WIN& w = window();
    const std::vector<std::pair<QWidget*, QWidget*>> targets = {
        {w.COPY, w.COPY_LABEL}, {w.MOVE, w.MOVE_LABEL}, {w.Image1, w.Label1}, {w.Image2, w.Label2},
        {w.Image3, w.Label3},   {w.Image4, w.Label4},   {w.Image5, w.Label5}, {w.Image6, w.Label6}};
    // Files from the file manager, and a cell of another window of the program (its cell 0
    // holds another file), are not taken.
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/etc/hostname"))});
    QMimeData otherWindow;
    otherWindow.setData(QString::fromLatin1(CatalogueInput::kCellMimeType), "0");
    otherWindow.setUrls({QUrl::fromLocalFile(QStringLiteral("/elsewhere/p00.jpg"))});
    for (const auto& [target, caption] : targets) {
        SCOPED_TRACE(target->objectName().toStdString());
        EXPECT_FALSE(enter(target, &files));
        EXPECT_FALSE(enter(target, &otherWindow));
        EXPECT_EQ(caption->backgroundRole(), QPalette::Button);
        EXPECT_TRUE(enter(target, cellData(0).get()));
        EXPECT_EQ(caption->backgroundRole(), QPalette::Highlight);
        QDragLeaveEvent leave;
        QApplication::sendEvent(target, &leave);
        EXPECT_EQ(caption->backgroundRole(), QPalette::Button);
    }
}

TEST_F(DropTest, EditorTargetsFollowTheEditorSettings) {
    program.settings.LEXE = QStringLiteral("/bin/true");
    program.settings.LEX2.clear();
    ORVA_WIN& w = window();
    w.REFRESH_EDITOR_BUTTONS();
    EXPECT_FALSE(w.Image2->isHidden());
    EXPECT_TRUE(w.MNU_FILE_EDIT1->isEnabled());
    EXPECT_TRUE(w.Image4->isHidden());
    EXPECT_TRUE(w.Label4->isHidden());
    EXPECT_FALSE(w.MNU_FILE_EDIT2->isEnabled());

    dropCell(w.Image2, 3);
    QTest::mouseDClick(w.Image2, Qt::LeftButton);
    // Editor 2 taken out of the settings while its target still shows: told, the current file
    // stays.
    program.settings.LEX2 = QStringLiteral("/bin/true");
    w.REFRESH_EDITOR_BUTTONS();
    program.settings.LEX2.clear();
    program.browse.CAT_CURRENT = QStringLiteral("p01.jpg");
    dropCell(w.Image4, 0);
    EXPECT_EQ(program.browse.CAT_CURRENT, QStringLiteral("p01.jpg"));
    ASSERT_EQ(launcher.starts.size(), 2u);
    EXPECT_EQ(launcher.starts[0].program, QStringLiteral("/bin/true"));
    EXPECT_EQ(launcher.starts[0].arguments, QStringList{disp("p03.jpg")});
    EXPECT_TRUE(launcher.starts[1].arguments.isEmpty());
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("SetUpで編集に使用するソフトを設定してください。")});

    // Print opens its dialog on the file, which keeps the main window from use until it closes;
    // so does adjust; the clipboard gets the picture.
    dropCell(w.Image3, 1);
    EXPECT_EQ(program.PRINT_PATH, disp("p01.jpg"));
    EXPECT_FALSE(w.isEnabled());
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QLatin1String("PRT_WIN") && top->isVisible()) {
            top->close();
        }
    }
    EXPECT_TRUE(w.isEnabled());
    dropCell(w.Image5, 2);
    auto* adjust = w.findChild<CNF_WIN*>();
    ASSERT_NE(adjust, nullptr);
    EXPECT_EQ(adjust->ADJ_WIDTH, 64);
    EXPECT_EQ(program.ADJUST_NAME, QStringLiteral("p02.jpg"));
    adjust->close();
    ASSERT_TRUE(w.isEnabled());
    dropCell(w.Image6, 0);
    EXPECT_EQ(program.ADJUST_PATH, disp("p00.jpg"));
    EXPECT_EQ(program.ADJUST_NAME, QStringLiteral("p00.jpg"));
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(64, 48));

    program.settings.CTDM = 1;
    w.REFRESH_EDITOR_BUTTONS();
    for (QLabel* label : {w.Label1, w.Label2, w.Label3, w.Label4, w.Label5, w.Label6}) {
        EXPECT_TRUE(label->isHidden()) << label->objectName().toStdString();
    }
}

TEST_F(DropTest, ADriveThatCannotBeReadIsToldAndTheListGoesBack) {
    ORVA_WIN& w = window();
    showTray(tray.path());
    const int shown = w.F_DRIVE->currentIndex();
    w.F_DRIVE->addItem(QStringLiteral("/no-such-volume"));
    w.F_DRIVE->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    ASSERT_EQ(prompter.requests.size(), 1u);
    const Prompter::Message& box = prompter.requests[0].message;
    EXPECT_EQ(box.text, QStringLiteral("ドライブ指定エラー \nErrorCode (2)\n理由 : ") +
                            QString::fromLocal8Bit(std::strerror(ENOENT)) +
                            QStringLiteral("\n指定を中止します"));
    EXPECT_EQ(box.icon, Prompter::Icon::Exclamation);
    EXPECT_EQ(box.caption, program.APP_TITLE);
    EXPECT_EQ(w.F_DRIVE->currentIndex(), shown);
    EXPECT_EQ(folder_tree::path(w.F_DIR), q(tray.path()));
}

TEST(EditorIcon, ComesFromTheDesktopEntryThatStartsTheProgram) {
    testApplication();
    TempDir applications;
    QImage red(48, 48, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(QString::fromStdString(applications.file("red.png"))));
    const std::string entry = "[Desktop Entry]\nName=Other\nExec=/bin/false\nIcon=none\n"
                              "[Desktop Entry]\nName=True\nExec=env LANG=C true %f\nIcon=" +
                              applications.file("red.png") + "\n";
    ASSERT_TRUE(writeBytes(applications.file("true.desktop"), entry.data(), entry.size()));
    const QStringList folders{QString::fromStdString(applications.path())};
    EXPECT_EQ(desktopEntryIcon(QStringLiteral("/bin/true"), folders).toStdString(),
              applications.file("red.png"));
    const QImage icon = editorIcon(QStringLiteral("/bin/true"), Qt::gray, folders).toImage();
    ASSERT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(icon.pixelColor(16, 16), QColor(Qt::red));
}
