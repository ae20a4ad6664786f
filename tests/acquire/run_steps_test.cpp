// The acquisition run against a scripted acquisition library that writes page files as the real
// one does: naming and numbering, the move method, the final steps (NBNB, companion program,
// history, display folder, the view on the first new file), and the window's commands.
#include "acquisition_commands.h"
#include "acquisition_library.h"
#include "acquisition_run.h"
#include "browsing_state.h"
#include "file_system.h"
#include "file_times.h"
#include "native_name.h"
#include "orva_win.h"
#include "orva_win_picture_list.h"
#include "program.h"
#include "qt_support.h"
#include "recording_launcher.h"
#include "run_journal.h"
#include "scripted_prompter.h"
#include "small_volume.h"
#include "temp_dir.h"
#include "test_images.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Writes `pages` colour BMP page files per scan, as the library would, and records the calls.
class ScriptedLibrary : public AcquisitionLibrary {
public:
    explicit ScriptedLibrary(Prompter& p) : AcquisitionLibrary(QString(), p) {}
    int pages = 0;
    std::function<void()> whileScanning;
    std::vector<QString> bases;
    std::vector<HWND> scanOwners;
    std::vector<HWND> selectOwners;

    int scanPages(HWND window, const QString& baseName) override {
        bases.push_back(baseName);
        scanOwners.push_back(window);
        if (whileScanning) {
            whileScanning();
        }
        for (int k = 0; k < pages; ++k) {
            ImageHandle page = makeRgbImage(4, 3, [k](int, int) {
                return Colour{static_cast<uint8_t>(k * 20), 90, 200};
            });
            const QByteArray path = native_name::toBytes(baseName + QString::asprintf(".%03d", k));
            EXPECT_NE(PelmixBmpFileSave(path.constData(), page.get(), "", "", 0), 0);
        }
        return pages;
    }
    bool selectSource(HWND window) override {
        selectOwners.push_back(window);
        return true;
    }
};

class RunTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        USR_SETTINGS& s = program.settings;
        s.BASD = base();
        s.BADM = 0;
        s.MKDR = 0;
        s.NTOP = "IMG";
        s.SCNN = 3;
        s.NBMD = 0;
        s.SVMD = 0;
        s.NTWF = 0;
        s.NTWP = q(source.path()) + '/';
        s.DSPM = 1;
        s.UTNM = 0;
        s.UTNS = 0;
        program.TODAY_STR = "12082026";
        program.PROGRAM_DIR = q(programDir.path()) + '/';
        program.browse.DISP_DIR = q(elsewhere.path()) + '/';
        program.acquisitionLibrary = &library;
        // Run notes and kept pages stay out of the user's data folder.
        qputenv("XDG_DATA_HOME", data.path().c_str());
        qputenv("ORVANA_KEPT_DIR", (data.path() + "/kept").c_str());
        window = std::make_unique<ORVA_WIN>(program);
    }

    QString base() const { return q(acq.path()) + '/'; }
    // The visible files, by their bytes.
    QStringList filesIn(const QString& folder) const {
        return file_system::list(folder).filter(QRegularExpression(QStringLiteral("^[^.]")));
    }
    void touch(const std::string& path) { ASSERT_TRUE(writeBytes(path, "BM", 2)) << path; }

    AcquisitionRun::Outcome run() { return RUN_ACQUISITION(*window, &library); }

    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    ScriptedLibrary library{prompter};
    TempDir acq, source, programDir, elsewhere, data;
    std::unique_ptr<ORVA_WIN> window;
};

TEST_F(RunTest, AFolderThatCannotBeMadeStopsTheRunBeforeAnythingIsScanned) {
    // The base folder's parents are made as needed (an account without a desktop folder yet)…
    program.settings.BASD = base() + "new/deeper/";
    library.pages = 1;
    EXPECT_EQ(run(), AcquisitionRun::Outcome::Shown);
    EXPECT_EQ(filesIn(base() + "new/deeper/"), QStringList({"IMG001.bmp"}));

    // …but where a file stands in the way, no page is asked of the scanner: it could not be
    // written anywhere.
    touch(acq.file("blocked"));
    program.settings.BASD = base() + "blocked/";
    library.bases.clear();
    prompter.requests.clear();
    EXPECT_EQ(run(), AcquisitionRun::Outcome::NoFolder);
    EXPECT_TRUE(library.bases.empty());
    ASSERT_EQ(prompter.requests.size(), 1u);
    const Prompter::Message& box = prompter.requests[0].message;
    EXPECT_EQ(box.caption, program.APP_TITLE);
    EXPECT_EQ(box.icon, Prompter::Icon::Exclamation);
    EXPECT_EQ(box.text,
              QStringLiteral("取り込み先のフォルダーを作成できないか、書き込みができません。\n"
                             "フォルダー名 : ") +
                  base() + "blocked/\n" + QStringLiteral("取り込みを中止します"));
}

TEST_F(RunTest, PagesContinueAfterTheHighestNumberAndTheViewShowsTheFirst) {
    touch(acq.file("IMG001.bmp"));
    touch(acq.file("IMG014.jpg"));
    library.pages = 3;
    EXPECT_EQ(run(), AcquisitionRun::Outcome::Shown);

    ASSERT_EQ(library.bases.size(), 1u);
    EXPECT_EQ(library.bases[0], base() + "ORVA_TMP");
    EXPECT_EQ(library.scanOwners[0], reinterpret_cast<HWND>(window->winId()));
    EXPECT_EQ(filesIn(base()),
              QStringList({"IMG001.bmp", "IMG014.jpg", "IMG015.bmp", "IMG016.bmp", "IMG017.bmp"}));
    EXPECT_EQ(program.settings.NBNB, 18);
    EXPECT_EQ(program.browse.DISP_DIR, base());
    EXPECT_EQ(program.FOLDER_HISTORY[0], base());
    EXPECT_EQ(window->Combo1->currentText(), base());
    EXPECT_EQ(program.browse.PAGE_ANCHOR, "IMG015.bmp");
    EXPECT_TRUE(std::find(program.browse.PAGE_NAME.begin(), program.browse.PAGE_NAME.end(),
                          "IMG015.bmp") != program.browse.PAGE_NAME.end())
        << "the catalogue was refreshed on the acquisition folder";
    EXPECT_TRUE(prompter.requests.empty());
    EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(RunTest, SingleViewIsPositionedOnTheFirstNewFile) {
    program.settings.DSPM = 2;
    touch(acq.file("IMG003.bmp"));
    library.pages = 2;
    EXPECT_EQ(run(), AcquisitionRun::Outcome::Shown);
    EXPECT_EQ(program.browse.ONE_NAME, "IMG004.bmp");
}

TEST_F(RunTest, NoPageEndsTheRunWithoutShowingAnything) {
    library.pages = 0;
    program.settings.NBNB = 7;
    EXPECT_EQ(run(), AcquisitionRun::Outcome::NothingFound);
    EXPECT_EQ(program.browse.DISP_DIR, q(elsewhere.path()) + '/');
    EXPECT_EQ(program.settings.NBNB, 7);
    EXPECT_TRUE(program.FOLDER_HISTORY[0].isEmpty());
    EXPECT_TRUE(filesIn(base()).isEmpty());
}

TEST_F(RunTest, DateFolderIsCreatedForTheRun) {
    program.settings.MKDR = 1;
    library.pages = 1;
    EXPECT_EQ(run(), AcquisitionRun::Outcome::Shown);
    const QString dated = base() + "12082026/";
    EXPECT_EQ(program.ACQ_DIR, dated);
    EXPECT_EQ(library.bases[0], dated + "ORVA_TMP");
    EXPECT_EQ(filesIn(dated), QStringList({"IMG001.bmp"}));
    EXPECT_EQ(program.browse.DISP_DIR, dated);
}

TEST_F(RunTest, NoNameLeftStopsBeforeAcquiring) {
    touch(acq.file("IMG1000.bmp"));
    library.pages = 2;
    EXPECT_EQ(run(), AcquisitionRun::Outcome::NoNameLeft);
    EXPECT_TRUE(library.bases.empty());
    ASSERT_EQ(prompter.requests.size(), 1u);
    EXPECT_TRUE(prompter.requests[0].message.text.startsWith(
        QStringLiteral("現在のファイル名設定ではこれ以上自動的にファイルはつけられません。")));
}

// A prefix from the settings file that names no file of the folder: a NUL would give every page
// the same name, a "/" or ".." would put them elsewhere. The run stops before a page is scanned;
// changed to one while the source's window is open, the pages are kept instead.
TEST_F(RunTest, APrefixThatNamesNoFileOfTheFolderStopsTheRunBeforeScanning) {
    const QString nul = QStringLiteral("AB") + QChar(0) + QStringLiteral("CD");
    const struct {
        const char* name;
        QString prefix;
        QString shown;
    } rows[] = {
        {"a NUL", nul, QStringLiteral("AB\uFFFDCD")},
        {"two folders up", QStringLiteral("../../x"), QStringLiteral("../../x")},
        {"a folder below", QStringLiteral("sub/x"), QStringLiteral("sub/x")},
        {"a line end", QStringLiteral("A\nB"), QStringLiteral("A\uFFFDB")},
        {"dots alone", QStringLiteral(".."), QStringLiteral("..")},
    };
    const std::vector<std::string> around = namesIn(acq.path() + "/../..");
    library.pages = 3;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        program.settings.NTOP = row.prefix;
        library.bases.clear();
        prompter.requests.clear();
        EXPECT_EQ(run(), AcquisitionRun::Outcome::BadPrefix);
        EXPECT_TRUE(library.bases.empty()) << "nothing was scanned";
        EXPECT_EQ(prompter.messages(),
                  QStringList{"ファイル名の先頭文字「" + row.shown +
                              "」はファイル名に使えません。\n"
                              "「/」、「..」、制御文字を含まないものを設定で指定してください。\n"
                              "取り込みを中止します"});
        EXPECT_TRUE(filesIn(base()).isEmpty());
        EXPECT_EQ(namesIn(acq.path() + "/../.."), around);
    }
    // Changed while the source's window was open: every page is kept, none named outside.
    program.settings.NTOP = QStringLiteral("IMG");
    library.whileScanning = [&] { program.settings.NTOP = QStringLiteral("../x"); };
    prompter.requests.clear();
    run();
    EXPECT_TRUE(filesIn(base()).filter(QRegularExpression(QStringLiteral("^IMG|x"))).isEmpty());
    for (const char* name : {"x001.bmp", "x002.bmp", "x003.bmp"}) {
        EXPECT_FALSE(file_system::exists(base() + "../" + name)) << name;
    }
    const QStringList told = prompter.messages();
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("ファイル名の先頭文字「../x」")))
        << told[0].toStdString();
    EXPECT_TRUE(told[1].contains(QStringLiteral("3枚"))) << told[1].toStdString();
}

TEST_F(RunTest, SerialNumberingContinuesAcrossRuns) {
    program.settings.NBMD = 1;
    program.settings.NBNB = 50;
    touch(acq.file("IMG090.bmp")); // ignored in serial mode
    library.pages = 2;
    run();
    run();
    EXPECT_EQ(filesIn(base()),
              QStringList({"IMG050.bmp", "IMG051.bmp", "IMG052.bmp", "IMG053.bmp", "IMG090.bmp"}));
    EXPECT_EQ(program.settings.NBNB, 54);
}

TEST_F(RunTest, MoveMethodKeepsFormatsCaseAndTimes) {
    program.settings.NTWF = 1;
    touch(source.file("b.TIF"));
    touch(source.file("a.jpg"));
    touch(source.file("notes.txt"));
    constexpr int64_t kWrite = int64_t{1200000000} * 1000000000;
    ASSERT_EQ(SET_FILE_TIMES(q(source.file("a.jpg")), 0, kWrite, kWrite), 0);
    EXPECT_EQ(run(), AcquisitionRun::Outcome::Shown);

    EXPECT_TRUE(library.bases.empty()) << "the move method does not scan";
    EXPECT_EQ(filesIn(base()), QStringList({"IMG001.jpg", "IMG002.TIF"}));
    EXPECT_EQ(filesIn(q(source.path())), QStringList({"notes.txt"}));
    FileTimes times;
    ASSERT_EQ(GET_FILE_TIMES(base() + "IMG001.jpg", times), 0);
    EXPECT_EQ(times.lastWrite, kWrite); // (the view has read the file since: access moved on)
    EXPECT_EQ(program.settings.NBNB, 3);
    EXPECT_EQ(program.browse.PAGE_ANCHOR, "IMG001.jpg");
}

TEST_F(RunTest, FoldersAndNamesThatAreNotUtf8KeepTheirBytes) {
    // Latin-1 names, as an old archive has them: "café", "répertoire", "été".
    const QString cafe = base() + native_name::fromBytes("caf\xe9/");
    const QString interrupted = base() + native_name::fromBytes("vieux caf\xe9/");
    const QString folder = q(source.path()) + native_name::fromBytes("/r\xe9pertoire/");
    ASSERT_TRUE(file_system::makePath(cafe) && file_system::makePath(interrupted));
    ASSERT_TRUE(file_system::makePath(folder));
    ImageHandle page = makeRgbImage(4, 3, [](int, int) { return Colour{10, 90, 200}; });
    const auto writePage = [&](const QString& path) {
        ASSERT_NE(PelmixBmpFileSave(native_name::toBytes(path).constData(), page.get(), "", "", 0),
                  0);
    };
    // A page left in the acquisition folder, and one of a killed run whose note names its folder.
    writePage(cafe + "ORVA_TMP.000");
    writePage(interrupted + "ORVA_TMP.000");
    (void)new RunJournal(interrupted);
    ASSERT_EQ(RunJournal::folderOf(RunJournal::notes().value(0)), interrupted);
    writePage(folder + native_name::fromBytes("\xe9t\xe9.bmp"));

    program.settings.BASD = cafe;
    library.pages = 2;
    EXPECT_EQ(run(), AcquisitionRun::Outcome::Shown);
    EXPECT_EQ(filesIn(cafe), QStringList({"IMG001.bmp", "IMG002.bmp", "IMG003.bmp"}));
    EXPECT_EQ(filesIn(interrupted), QStringList({"IMG001.bmp"}));
    EXPECT_TRUE(RunJournal::notes().isEmpty());
    EXPECT_EQ(program.browse.DISP_DIR, cafe);

    // Moved out of a Latin-1 folder, by the file's own name.
    program.settings.NTWF = 1;
    program.settings.NTWP = folder;
    prompter.requests.clear();
    EXPECT_EQ(run(), AcquisitionRun::Outcome::Shown);
    EXPECT_EQ(filesIn(cafe).last(), "IMG004.bmp");
    EXPECT_TRUE(filesIn(folder).isEmpty());
    EXPECT_EQ(program.browse.PAGE_ANCHOR, "IMG004.bmp");
    for (const auto& request : prompter.requests) {
        ADD_FAILURE() << request.message.text.toStdString();
    }
}

TEST_F(RunTest, SourceFilesThatCannotBeRemovedAreNotCopied) {
    SmallVolume volume(1 << 20);
    if (!volume.mounted()) {
        GTEST_SKIP() << "no right to mount a file system";
    }
    touch(volume.file("a.jpg"));
    touch(volume.file("b.tif"));
    ASSERT_TRUE(volume.setReadOnly(true));
    program.settings.NTWF = 1;
    program.settings.NTWP = q(volume.path()) + '/';
    for (int runs = 1; runs <= 2; ++runs) {
        run();
        EXPECT_TRUE(filesIn(base()).isEmpty()) << "run " << runs;
        ASSERT_EQ(prompter.requests.size(), size_t(runs));
        const QString text = prompter.requests.back().message.text;
        EXPECT_TRUE(text.contains(q(volume.file("a.jpg")))) << text.toStdString();
        EXPECT_TRUE(text.contains(q(volume.file("b.tif"))));
    }
    EXPECT_EQ(filesIn(q(volume.path())), QStringList({"a.jpg", "b.tif"}));
}

TEST_F(RunTest, PagesTheLibraryHadToKeepElsewhereAreReported) {
    // The library wrote one page file, then the folder refused the next page: it went to the
    // kept-pages folder and scanning stopped.
    const QString keptDir = q(data.path()) + "/kept/";
    library.pages = 1;
    library.whileScanning = [&] {
        QDir().mkpath(keptDir);
        touch((keptDir + QStringLiteral("ORVA_KEEP.20261209-010203.%1.0001.bmp")
                             .arg(QCoreApplication::applicationPid()))
                  .toStdString());
        touch((keptDir + "ORVA_KEEP.20261209-010203.1.0001.bmp").toStdString()); // not ours
    };
    EXPECT_EQ(run(), AcquisitionRun::Outcome::Shown);
    EXPECT_EQ(filesIn(base()), QStringList({"IMG001.bmp"}));
    ASSERT_EQ(prompter.requests.size(), 1u);
    const QString text = prompter.requests[0].message.text;
    EXPECT_TRUE(text.contains(QStringLiteral("スキャンを中止しました"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("1枚")));
    EXPECT_TRUE(text.contains(keptDir));
}

TEST_F(RunTest, MoveMethodWithAnEmptySourceFolderShowsNothing) {
    program.settings.NTWF = 1;
    EXPECT_EQ(run(), AcquisitionRun::Outcome::NothingFound);
    EXPECT_EQ(program.browse.DISP_DIR, q(elsewhere.path()) + '/');
    program.settings.NTWP = q(source.file("missing")) + '/';
    EXPECT_EQ(run(), AcquisitionRun::Outcome::NothingFound);
}

TEST_F(RunTest, ScanThenMoveWithoutPagesStillMoves) {
    program.settings.NTWF = 2;
    library.pages = 0;
    touch(source.file("x.bmp"));
    EXPECT_EQ(run(), AcquisitionRun::Outcome::Shown);
    EXPECT_EQ(library.bases.size(), 1u);
    EXPECT_EQ(filesIn(base()), QStringList({"IMG001.bmp"}));
    EXPECT_EQ(program.browse.PAGE_ANCHOR, "IMG001.bmp");
}

TEST_F(RunTest, ScanThenMoveStartsTheMoveFromTheSameNumber) {
    program.settings.NTWF = 2;
    library.pages = 2;
    touch(source.file("a.jpg")); // same number as the first page, other extension: no collision
    touch(source.file("b.bmp")); // IMG002.bmp exists: rescan, then after the highest number
    EXPECT_EQ(run(), AcquisitionRun::Outcome::Shown);
    EXPECT_EQ(filesIn(base()),
              QStringList({"IMG001.bmp", "IMG001.jpg", "IMG002.bmp", "IMG003.bmp"}));
    EXPECT_EQ(program.browse.PAGE_ANCHOR, "IMG001.jpg") << "the first moved file is shown";
    EXPECT_EQ(program.settings.NBNB, 4);
}

TEST_F(RunTest, ScanThenMoveWithAnEmptySourceShowsThePages) {
    program.settings.NTWF = 2;
    library.pages = 1;
    EXPECT_EQ(run(), AcquisitionRun::Outcome::Shown);
    EXPECT_EQ(program.browse.PAGE_ANCHOR, "IMG001.bmp");
    EXPECT_EQ(program.settings.NBNB, 2);
}

TEST_F(RunTest, CompanionProgramStartsOnTheFolderWhenBothSettingsAreOn) {
    touch(programDir.file("SNAPLET.EXE"));
    program.settings.UTNP = q(programDir.file("SNAPLET.EXE"));
    library.pages = 1;
    program.settings.UTNM = 1;
    program.settings.UTNS = 0;
    run();
    EXPECT_TRUE(launcher.starts.empty());
    program.settings.UTNS = 1;
    run();
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].program, program.settings.UTNP);
    EXPECT_EQ(launcher.starts[0].arguments, QStringList({"HW\\:1", "CE\\:2", "MD\\:1", base()}));
}

TEST_F(RunTest, ARunStartedWhileTheSourceIsOpenIsRefused) {
    library.pages = 1;
    AcquisitionRun::Outcome inner = AcquisitionRun::Outcome::Shown;
    library.whileScanning = [&] {
        library.whileScanning = nullptr;
        inner = run();
    };
    EXPECT_EQ(run(), AcquisitionRun::Outcome::Shown);
    EXPECT_EQ(inner, AcquisitionRun::Outcome::Busy);
    EXPECT_EQ(library.bases.size(), 1u);
    EXPECT_EQ(run(), AcquisitionRun::Outcome::Shown) << "the guard is released afterwards";
}

TEST_F(RunTest, TwainButtonShowsThePressedPictureWhileRunning) {
    program.settings.TWBT = 2;
    library.pages = 1;
    qint64 during = 0;
    library.whileScanning = [&] { during = window->BTN_TWAIN_GO->icon().cacheKey(); };
    QTest::mouseClick(window->BTN_TWAIN_GO, Qt::LeftButton);
    EXPECT_EQ(during, window->IMG_CAM->picture(1).cacheKey());
    EXPECT_EQ(window->BTN_TWAIN_GO->icon().cacheKey(), window->IMG_CAM->picture(0).cacheKey());
    EXPECT_EQ(library.bases.size(), 1u);
}

TEST_F(RunTest, TwainButtonInTheColourLimitedModeKeepsItsPicture) {
    program.settings.C256 = 1;
    library.pages = 1;
    const qint64 before = window->BTN_TWAIN_GO->icon().cacheKey();
    qint64 during = 0;
    library.whileScanning = [&] { during = window->BTN_TWAIN_GO->icon().cacheKey(); };
    QTest::mouseClick(window->BTN_TWAIN_GO, Qt::LeftButton);
    EXPECT_EQ(during, before);
    EXPECT_EQ(window->BTN_TWAIN_GO->icon().cacheKey(), before);
}

TEST_F(RunTest, FolderMethodButtonUsesThePickPicture) {
    program.settings.NTWF = 1;
    touch(source.file("a.bmp"));
    QTest::mouseClick(window->BTN_TWAIN_GO, Qt::LeftButton);
    EXPECT_EQ(window->BTN_TWAIN_GO->icon().cacheKey(), window->IMG_PICK->picture(0).cacheKey());
    EXPECT_EQ(filesIn(base()), QStringList({"IMG001.bmp"}));
}

TEST_F(RunTest, MenuItemsRunAndChooseTheSource) {
    library.pages = 1;
    window->MNU_FILE_READTWAIN->trigger();
    EXPECT_EQ(filesIn(base()), QStringList({"IMG001.bmp"}));
    window->MNU_FILE_SELTWAIN->trigger();
    ASSERT_EQ(library.selectOwners.size(), 1u);
    EXPECT_EQ(library.selectOwners[0], reinterpret_cast<HWND>(window->winId()));
}

TEST_F(RunTest, SourceChooserBelongsToTheSettingsDialogForFlagZero) {
    QWidget settings;
    EXPECT_EQ(SELECT_SOURCE(&library, 0, window.get(), &settings), 1);
    EXPECT_EQ(SELECT_SOURCE(&library, 1, window.get(), &settings), 1);
    ASSERT_EQ(library.selectOwners.size(), 2u);
    EXPECT_EQ(library.selectOwners[0], reinterpret_cast<HWND>(settings.winId()));
    EXPECT_EQ(library.selectOwners[1], reinterpret_cast<HWND>(window->winId()));
    EXPECT_EQ(SELECT_SOURCE(nullptr, 1, window.get(), nullptr), 0);
}

} // namespace
