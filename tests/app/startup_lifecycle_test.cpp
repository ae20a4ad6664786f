// The start-up procedure, the main window's load and unload handlers and dropped folders, on a
// program folder made from the shipped defaults file.
#include "acquisition_library.h"
#include "browsing_state.h"
#include "catalogue_view.h"
#include "gr_win.h"
#include "help_window.h"
#include "orva_win.h"
#include "orva_win_picture_list.h"
#include "program.h"
#include "qt_support.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"
#include "small_volume.h"
#include "startup.h"
#include "startup_placement.h"
#include "temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QScreen>
#include <QToolButton>
#include <QUrl>
#include <gtest/gtest.h>
#include <map>
#include <memory>

// Readable QStrings in failure messages.
void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The acquisition library as the handlers see it: a scripted source list.
class FakeLibrary : public AcquisitionLibrary {
public:
    FakeLibrary(Prompter& p) : AcquisitionLibrary(QString(), p) {}
    bool succeed = true;
    QString list = QStringLiteral("Virtual Scanner,Virtual Scanner,Flatbed,");
    int calls = 0;
    bool sourceList(HWND, QString& out) override {
        ++calls;
        out = succeed ? list : QString();
        return succeed;
    }
    // A source closed without scanning: the immediate acquisition brings nothing.
    int scanPages(HWND, const QString&) override { return 0; }
};

class Lifecycle : public ::testing::Test {
protected:
    TempDir folder;
    TempDir pictures;
    TempDir home;
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    FakeLibrary library{prompter};
    std::unique_ptr<Startup> startup;
    std::unique_ptr<ORVA_WIN> window;

    QString programDir() const { return QString::fromStdString(folder.path()) + '/'; }
    QString picturesDir() const { return QString::fromStdString(pictures.path()) + '/'; }

    void SetUp() override {
        testApplication();
        // The user's own configuration and data folders stay out of the tests.
        qputenv("XDG_CONFIG_HOME", (home.path() + "/config").c_str());
        qputenv("XDG_DATA_HOME", (home.path() + "/data").c_str());
        QFile::copy(QStringLiteral(ORVANA_RESOURCES "/DEF_ORVA.CNF"),
                    programDir() + "DEF_ORVA.CNF");
        QFile::copy(QStringLiteral(ORVANA_RESOURCES "/ORVAHELP.html"),
                    programDir() + "ORVAHELP.html");
        startup = std::make_unique<Startup>(program, library);
    }
    void TearDown() override {
        if (window) {
            window->removeEventFilter(startup.get());
        }
        window.reset();
        startup.reset();
    }

    // ORVA.CNF as the defaults file with some values replaced; BASD is a real folder unless
    // given, so that no first start happens.
    void writeSettings(std::map<QString, QString> values) {
        values.try_emplace("BASD", picturesDir());
        values.try_emplace("BADM", "0");
        values.try_emplace("MKDR", "0");
        QStringList lines = QString::fromUtf8(fileBytes(programDir() + "DEF_ORVA.CNF"))
                                .split(QStringLiteral("\r\n"));
        for (QString& line : lines) {
            const auto it = values.find(line.left(4));
            if (it != values.end()) {
                line = it->first + " , " + it->second;
            }
        }
        QFile f(programDir() + "ORVA.CNF");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(lines.join(QStringLiteral("\r\n")).toUtf8());
    }

    void start(const QString& commandLine = {}) {
        ASSERT_TRUE(startup->begin(programDir(), QDate(2026, 5, 4)));
        window = std::make_unique<ORVA_WIN>(program);
        startup->load(*window, commandLine);
    }

    std::vector<Prompter::Message> messages() const {
        std::vector<Prompter::Message> result;
        for (const auto& r : prompter.requests) {
            if (r.kind == "message") {
                result.push_back(r.message);
            }
        }
        return result;
    }
};

TEST_F(Lifecycle, MissingSettingsAreMadeFromTheDefaults) {
    ASSERT_TRUE(startup->begin(programDir(), QDate(2026, 5, 4)));
    EXPECT_EQ(fileBytes(programDir() + "ORVA.CNF"), fileBytes(programDir() + "DEF_ORVA.CNF"));
    EXPECT_EQ(program.PROGRAM_DIR, programDir());
    EXPECT_EQ(program.TODAY_STR, QStringLiteral("05042026"));
    ASSERT_NE(startup->startScreen(), nullptr);
    EXPECT_TRUE(startup->startScreen()->isVisible());
    EXPECT_TRUE(startup->startScreen()->windowFlags() & Qt::WindowStaysOnTopHint);
    const GR_WIN& screen = *startup->startScreen();
    EXPECT_EQ(screen.height(), twipsToPixels(3450, screen.screen()->logicalDotsPerInchY()));
    const QRect area = screen.screen()->geometry();
    EXPECT_EQ(screen.x(), (area.width() - screen.width()) / 2);
    EXPECT_EQ(screen.y(), (area.height() - screen.height()) / 2);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Lifecycle, HelpWindowShowsNothingForAMissingFile) {
    HelpWindow help;
    EXPECT_FALSE(help.showContents(programDir() + "NOHELP.html"));
    EXPECT_FALSE(help.isVisible());
    EXPECT_TRUE(help.showContents(programDir() + "ORVAHELP.html"));
    EXPECT_TRUE(help.toPlainText().contains(QStringLiteral("目次")));
    help.quit();
    EXPECT_FALSE(help.isVisible());
}

TEST_F(Lifecycle, NoDefaultsFileStopsWithAMessage) {
    QFile::remove(programDir() + "DEF_ORVA.CNF");
    EXPECT_FALSE(startup->begin(programDir(), QDate(2026, 5, 4)));
    ASSERT_EQ(messages().size(), 1u);
    const Prompter::Message m = messages()[0];
    EXPECT_EQ(m.caption, QStringLiteral("Orvana"));
    EXPECT_EQ(m.icon, Prompter::Icon::Critical);
    EXPECT_TRUE(m.text.contains(programDir() + "DEF_ORVA.CNF"));
    EXPECT_EQ(startup->startScreen(), nullptr) << "the start screen is gone";
}

TEST_F(Lifecycle, MalformedSettingsStillStart) {
    QFile f(programDir() + "ORVA.CNF");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("garbage without comma\r\nD1MD\r\nDSPM , two\r\nBASD , " + picturesDir().toUtf8() +
            "\r\n\xff\xfe\x00\x01\r\nCMTX , 3");
    f.close();
    start();
    EXPECT_EQ(program.browse.DISP_DIR, picturesDir());
    EXPECT_EQ(program.settings.DSPM, 1) << "a number without digits reads as 0; start-up sets 1";
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(messages().empty());
}

TEST_F(Lifecycle, OutOfRangeNumbersAreTamed) {
    writeSettings({{"D1MD", "3"},
                   {"TWBT", "9"},
                   {"POSL", "0"},
                   {"POSW", "99999999999"},
                   {"POSH", "5000"},
                   {"POST", "0"}});
    start();
    EXPECT_EQ(window->MAG_SET->currentText(), QStringLiteral("自動"));
    EXPECT_EQ(program.settings.D1MD, 0.0f);
    EXPECT_EQ(program.settings.TWBT, 1);
    const QRect screen = window->screen()->geometry();
    EXPECT_NEAR(window->x(), screen.width() / 2 - window->width() / 2, 2) << "centred";
}

TEST_F(Lifecycle, StoredRectangleOnScreenIsUsed) {
    writeSettings({{"POSL", "1440"}, {"POST", "720"}, {"POSW", "7200"}, {"POSH", "4320"}});
    start();
    const double dpi = window->screen()->logicalDotsPerInchY();
    EXPECT_NEAR(window->x(), dpi, 1);
    EXPECT_NEAR(window->width(), 5 * dpi, 1);
    EXPECT_NEAR(window->height(), 3 * dpi, 1);
}

TEST_F(Lifecycle, FirstStartOpensHelpAndSettlesTheBase) {
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", pictures.path().c_str()); // no desktop folder there
    qputenv("XDG_CONFIG_HOME", pictures.path().c_str());
    writeSettings({{"BASD", ""}, {"FTRD", "/elsewhere/"}});
    start();
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);

    HelpWindow* help = window->findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->source().toLocalFile().endsWith("ORVAHELP.html"));
    // No desktop folder: the pages go home, where a user looks for them.
    const QString homeFolder = q(pictures.path()) + QLatin1Char('/');
    EXPECT_EQ(program.settings.BASD, homeFolder);
    EXPECT_EQ(program.settings.FTRD, program.settings.BASD);
    EXPECT_EQ(program.settings.MKDR, 1);
    EXPECT_EQ(program.ACQ_DIR, homeFolder + "05042026/");
    EXPECT_EQ(program.browse.DISP_DIR, program.ACQ_DIR);
    EXPECT_EQ(program.FOLDER_HISTORY[0], program.ACQ_DIR);
    EXPECT_EQ(startup->startScreen(), nullptr) << "the load handler unloads the start screen";
}

TEST_F(Lifecycle, WindowTextsFollowTheSettings) {
    writeSettings({{"NTWF", "1"}, {"DSTL", "1"}, {"UTNM", "0"}, {"DSPM", "2"}});
    start();
    EXPECT_EQ(window->MNU_FILE_READTWAIN->text(), QStringLiteral("指定フォルダーからの取り込み"));
    EXPECT_EQ(window->BTN_TWAIN_GO->toolTip(), QStringLiteral("指定フォルダー読み込み実行"));
    EXPECT_FALSE(window->MNU_FILE_SELTWAIN->isEnabled());
    EXPECT_EQ(window->MNU_DISP_TOOLDISP->text(), QStringLiteral("ツールバーを表示する"));
    EXPECT_FALSE(window->MNU_DISP_MKTN->isVisible());
    EXPECT_EQ(window->BTN_DISP_GO->icon().cacheKey(), window->IMG_8DISP->picture(0).cacheKey())
        << "in the single view the view button offers the catalogue";
    EXPECT_TRUE(window->PIC1_BASE->isVisible());
    EXPECT_FALSE(window->PIC8_BASE->isVisible());
}

TEST_F(Lifecycle, CommandLineFolderSkipsTheAcquisitionQuestion) {
    writeSettings({{"SUTW", "1"}});
    TempDir named;
    start(QString::fromStdString(named.path()));
    EXPECT_TRUE(startup->startedWithFolder());
    EXPECT_EQ(program.browse.DISP_DIR, QString::fromStdString(named.path()) + '/');
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(window->Combo1->currentText(), program.browse.DISP_DIR);
}

TEST_F(Lifecycle, CommandLineFileStartsNormallyAfterTheMessage) {
    writeSettings({{"SUTW", "1"}, {"DFDF", "0"}});
    start(QStringLiteral("photo.jpg"));
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(
        messages()[0].text,
        QStringLiteral("photo.jpgが指定されましたがフォルダーではありませんので通常起動します。"));
    EXPECT_EQ(messages()[1].text.split('\n')[0],
              QStringLiteral("直ちにTWAIN機器からのを取り込みを行いますか?"));
    EXPECT_EQ(program.browse.DISP_DIR, picturesDir());
}

TEST_F(Lifecycle, DrawPicturesQuestionSetsTheCatalogueMode) {
    writeSettings({{"DSDF", "1"}, {"DSPD", "0"}, {"DFDF", "1"}, {"DFDS", picturesDir()}});
    prompter.answers = {Prompter::No};
    start();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text,
              picturesDir() + QStringLiteral("\nを表示します\n複数枚表示時に絵を表示しますか?"));
    EXPECT_EQ(program.settings.DSPD, 1);
    EXPECT_EQ(window->MNU_DISP_8DSP->text(), QStringLiteral("複数枚表示時に絵を表示する"));
}

TEST_F(Lifecycle, TwainDeviceCheckAtStart) {
    writeSettings({{"CKTD", "1"}, {"CKTN", "Old Scanner"}});
    start();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].icon, Prompter::Icon::Information);
    EXPECT_TRUE(messages()[0].text.contains(
        QStringLiteral("前回使用していたTWAIN機器  :Old Scanner\n"
                       "現在設定されているTWAIN機器:Virtual Scanner\n")));
}

TEST_F(Lifecycle, TwainDeviceCheckQuietWhenUnchangedAndWarnsOnFailure) {
    writeSettings({{"CKTD", "1"}, {"CKTN", "Virtual Scanner"}});
    start();
    EXPECT_TRUE(messages().empty());

    library.succeed = false;
    prompter.answers = {Prompter::Yes};
    EXPECT_TRUE(startup->unload());
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1].icon, Prompter::Icon::Exclamation);
    EXPECT_EQ(messages()[1].caption, QStringLiteral("Orvana"));
    EXPECT_TRUE(program.settings.CKTN.isEmpty());
    EXPECT_TRUE(fileBytes(programDir() + "ORVA.CNF").contains("CKTN ,  'TWAIN"));
}

TEST_F(Lifecycle, NoToTheExitQuestionKeepsRunningAndSavesNothing) {
    writeSettings({{"EXTM", "0"}, {"CKTD", "1"}, {"CKTN", "Virtual Scanner"}});
    start();
    const QByteArray before = fileBytes(programDir() + "ORVA.CNF");
    library.calls = 0;
    prompter.answers = {Prompter::No};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].caption, QStringLiteral("Orvana 終了"));
    EXPECT_EQ(library.calls, 0);
    EXPECT_EQ(fileBytes(programDir() + "ORVA.CNF"), before);
}

TEST_F(Lifecycle, ClosingSavesReleasesAndClosesHelp) {
    writeSettings({{"EXTM", "1"}, {"CKTD", "1"}, {"CKTN", "Old"}});
    start();
    startup->helpWindow().showContents(programDir() + "ORVAHELP.html");
    program.browse.PAGE_IMAGE[3] = GlobalAlloc(GMEM_MOVEABLE, 64);
    program.browse.WORK_IMAGE = GlobalAlloc(GMEM_MOVEABLE, 64);
    const HGLOBAL page = program.browse.PAGE_IMAGE[3];
    prompter.requests.clear();

    EXPECT_TRUE(window->close());
    EXPECT_TRUE(messages().empty()) << "EXTM 1 closes without asking";
    EXPECT_EQ(program.browse.PAGE_IMAGE[3], nullptr);
    EXPECT_EQ(program.browse.WORK_IMAGE, nullptr);
    EXPECT_EQ(GlobalSize(page), 0u) << "the handle was freed";
    EXPECT_FALSE(startup->helpWindow().isVisible());
    const QByteArray saved = fileBytes(programDir() + "ORVA.CNF");
    EXPECT_TRUE(saved.contains("DFDS , " + picturesDir().toUtf8()));
    EXPECT_TRUE(saved.contains("CKTN , Virtual Scanner"));
}

TEST_F(Lifecycle, ReadOnlyProgramFolderKeepsTheSettingsInTheUsersFolder) {
    SmallVolume volume(1 << 20);
    if (!volume.mounted()) {
        GTEST_SKIP() << "no right to mount a file system";
    }
    const QString installed = QString::fromStdString(volume.path()) + '/';
    ASSERT_TRUE(QFile::copy(programDir() + "DEF_ORVA.CNF", installed + "DEF_ORVA.CNF"));
    ASSERT_TRUE(volume.setReadOnly(true));
    const QString user = QString::fromStdString(home.path()) + "/config/orvana/";

    for (int run = 1; run <= 2; ++run) {
        startup = std::make_unique<Startup>(program, library);
        ASSERT_TRUE(startup->begin(installed, QDate(2026, 5, 4)));
        EXPECT_EQ(program.SETTINGS_DIR, user);
        // The second start is no first start: it reads what the first one saved.
        EXPECT_EQ(program.settings.JPGP, run == 1 ? 85 : 42);
        program.settings.JPGP = 42;
        program.settings.EXTM = 1;
        window = std::make_unique<ORVA_WIN>(program);
        startup->load(*window, picturesDir());
        prompter.requests.clear();
        EXPECT_TRUE(window->close());
        EXPECT_TRUE(messages().empty());
        EXPECT_TRUE(fileBytes(user + "ORVA.CNF").contains("JPGP ,  42"));
        window->removeEventFilter(startup.get());
        window.reset();
    }

    // A save that fails is told, with the file it meant to write.
    startup = std::make_unique<Startup>(program, library);
    ASSERT_TRUE(startup->begin(installed, QDate(2026, 5, 4)));
    program.settings.EXTM = 1;
    program.SETTINGS_DIR = installed;
    window = std::make_unique<ORVA_WIN>(program);
    startup->load(*window, picturesDir());
    prompter.requests.clear();
    EXPECT_TRUE(window->close());
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.contains(installed + "ORVA.CNF"));
    EXPECT_EQ(messages()[0].icon, Prompter::Icon::Exclamation);
}

TEST_F(Lifecycle, DroppedFoldersBecomeTheDisplayFolder) {
    writeSettings({});
    start();
    TempDir other;
    const QString otherDir = QString::fromStdString(other.path());
    startup->dropName(otherDir);
    startup->dropName(otherDir + '/');
    EXPECT_EQ(program.browse.DISP_DIR, otherDir + '/');
    EXPECT_EQ(program.FOLDER_HISTORY[0], otherDir + '/');
    EXPECT_EQ(program.FOLDER_HISTORY[1], picturesDir()) << "one entry for the folder dropped twice";
    EXPECT_TRUE(messages().empty());

    startup->dropName(otherDir + "/a.jpg");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text,
              otherDir + QStringLiteral("/a.jpgが指定されましたがフォルダーではありません"));
    EXPECT_EQ(program.browse.DISP_DIR, otherDir + '/');
}

TEST_F(Lifecycle, OnlyTheLastOfSeveralDroppedNamesCounts) {
    writeSettings({});
    start();
    TempDir first;
    TempDir last;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(first.path())),
                  QUrl::fromLocalFile(QString::fromStdString(last.path()))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(program.browse.DISP_DIR, QString::fromStdString(last.path()) + '/');
    EXPECT_NE(program.FOLDER_HISTORY[1], QString::fromStdString(first.path()) + '/');
}

} // namespace

// The first page is decoded once, for the cells of the window as it is shown: not first for the
// cells of a window that has no size yet and again once it has one.
TEST_F(Lifecycle, FirstPageIsDecodedOnceForTheShownCells) {
    writeSettings({{"DSPM", "1"}, {"UTNT", "0"}});
    QImage photo(1600, 1200, QImage::Format_RGB32);
    photo.fill(QColor(40, 120, 200));
    for (int i = 1; i <= 4; ++i) {
        ASSERT_TRUE(photo.save(picturesDir() + QStringLiteral("photo%1.jpg").arg(i)));
    }
    start(picturesDir());
    CatalogueView& view = window->catalogueView();
    // Long enough for a grown cell's second decode, had one been due.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 3 * CatalogueView::kRegrowDelayMs || !view.settled()) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    const PictureLoader& loader = view.loader();
    ASSERT_EQ(loader.loads(), 4);
    for (const QSize& box : loader.loadedBoxes()) {
        EXPECT_GE(box.width(), 60);
        EXPECT_GE(box.height(), 40);
    }
}
