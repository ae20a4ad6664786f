// The acquisition run end to end with the virtual scanner as the default source: the program
// folder's acquisition library and data source manager, the scanner's own window driven as a
// user would, and the pages named and stored in every save format.
#include "acquisition_commands.h"
#include "acquisition_environment.h"
#include "acquisition_library.h"
#include "browsing_state.h"
#include "orva_win.h"
#include "program.h"
#include "qt_support.h"
#include "recording_launcher.h"
#include "run_driver.h"
#include "scripted_prompter.h"
#include "small_volume.h"
#include "startup.h"
#include "temp_dir.h"
#include "test_images.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSpinBox>
#include <QToolButton>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

// Before anything starts SANE or the manager: the virtual scanner is the default source and
// SANE has no backend.
class ScannerEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        environment_ = std::make_unique<AcquisitionEnvironment>(
            ORVANA_PROGRAM_DIR, AcquisitionEnvironment::Sane::None, "Virtual Scanner");
        testApplication();
    }

private:
    std::unique_ptr<AcquisitionEnvironment> environment_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ScannerEnvironment);

// Prepares the virtual scanner's window for `pages` pages of the pixel type named `type`.
std::function<void(QWidget*)> virtualScanner(int pages, const QString& type) {
    return [=](QWidget* window) {
        auto* box = window->findChild<QComboBox*>("pixelTypeBox");
        box->setCurrentIndex(box->findText(type));
        window->findChild<QSpinBox*>("pageCountBox")->setValue(pages);
    };
}

std::function<bool()> pageFileExists(const QString& folder, int page) {
    return [=] { return QFile::exists(folder + QString::asprintf("ORVA_TMP.%03d", page)); };
}

// The first bytes of a file tell its format.
QString formatOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return "missing";
    }
    const QByteArray head = f.read(4);
    if (head.startsWith("BM")) {
        return "bmp";
    }
    if (head.startsWith("\xFF\xD8")) {
        return "jpg";
    }
    if (head == QByteArray("II*\0", 4) || head == QByteArray("MM\0*", 4)) {
        return "tif";
    }
    return "unknown";
}

class ScannerRun : public ::testing::Test {
protected:
    void SetUp() override {
        USR_SETTINGS& s = program.settings;
        s.BASD = q(acq.path()) + '/';
        s.BADM = 0;
        s.MKDR = 0;
        s.NTOP = "Scan_";
        s.SCNN = 4;
        s.NBMD = 0;
        s.NTWF = 0;
        s.JPGP = 80;
        s.DSPM = 1;
        program.TODAY_STR = "12082026";
        program.PROGRAM_DIR = QStringLiteral(ORVANA_PROGRAM_DIR "/");
        program.acquisitionLibrary = &library;
        window = std::make_unique<ORVA_WIN>(program);
        window->show();
    }

    QStringList filesIn(const QString& folder) const {
        return QDir(folder).entryList(QDir::Files, QDir::Name);
    }

    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    AcquisitionLibrary library{QStringLiteral(ORVANA_PROGRAM_DIR "/"), prompter};
    TempDir acq;
    std::unique_ptr<ORVA_WIN> window;
};

TEST_F(ScannerRun, EverySaveFormatNamesThePagesWithPrefixAndDigits) {
    struct Case {
        int svmd;
        const char* pixelType;
        const char* extension;
        const char* format;
        int colourType;
    };
    const Case cases[] = {{0, "カラー", ".bmp", "bmp", PELMIX_FULL_COLOUR},
                          {1, "グレー", ".jpg", "jpg", PELMIX_256_GREYS},
                          {2, "パレット", ".tif", "tif", PELMIX_256_COLOURS},
                          {3, "カラー", ".tif", "tif", PELMIX_FULL_COLOUR},
                          {4, "白黒", ".tif", "tif", PELMIX_TWO_COLOUR}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.svmd);
        TempDir folder;
        const QString dir = q(folder.path()) + '/';
        program.settings.BASD = dir;
        program.settings.SVMD = static_cast<int16_t>(c.svmd);
        auto driven =
            run_driver::driveSourceWindow(virtualScanner(2, c.pixelType), pageFileExists(dir, 1));
        EXPECT_EQ(RUN_ACQUISITION(*window, &library), AcquisitionRun::Outcome::Shown);
        EXPECT_TRUE(driven->finished);
        const QString first = QStringLiteral("Scan_0001") + c.extension;
        const QString second = QStringLiteral("Scan_0002") + c.extension;
        EXPECT_EQ(filesIn(dir), QStringList({first, second}));
        EXPECT_EQ(formatOf(dir + first), c.format);
        EXPECT_EQ(formatOf(dir + second), c.format);
        ImageHandle image(PelmixFileLoad((dir + second).toLocal8Bit().constData(), "", ""));
        ASSERT_TRUE(image);
        EXPECT_EQ(infoOf(image.get()).COLOR_TYPE, c.colourType);
        EXPECT_EQ(program.settings.SVMD, c.svmd);
        EXPECT_EQ(program.browse.PAGE_ANCHOR, first);
    }
    EXPECT_TRUE(prompter.requests.empty());
}

TEST_F(ScannerRun, AFolderThatRefusesPagesLosesNone) {
    struct Case {
        const char* what;
        size_t volumeBytes;
        int pages;
        bool readOnlyAtScan;
        int stored;
    };
    // Black-and-white pages of the virtual scanner take about 270 kB as BMP.
    const Case cases[] = {{"the disk fills up", 3 << 20, 15, false, 11},
                          {"the folder turns read-only", 8 << 20, 3, true, 0}};
    const QString keptDir = q(std::getenv("XDG_DATA_HOME")) + "/orvana/kept/";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SmallVolume volume(c.volumeBytes);
        if (!volume.mounted()) {
            GTEST_SKIP() << "no right to mount a file system";
        }
        const QString dir = q(volume.path()) + '/';
        program.settings.BASD = dir;
        program.settings.SVMD = 0;
        prompter.requests.clear();
        QDir(keptDir).removeRecursively();
        auto prepare = [&](QWidget* window) {
            virtualScanner(c.pages, "白黒")(window);
            if (c.readOnlyAtScan) {
                ASSERT_TRUE(volume.setReadOnly(true));
            }
        };
        auto driven = run_driver::driveSourceWindow(prepare, [] { return false; });
        RUN_ACQUISITION(*window, &library);
        EXPECT_TRUE(driven->scanned);
        QStringList stored = filesIn(dir);
        EXPECT_EQ(stored.size(), c.stored) << stored.join(' ').toStdString();
        EXPECT_TRUE(stored.filter("ORVA_TMP").isEmpty());
        // The page the folder refused is kept; the source was asked for no more.
        EXPECT_EQ(filesIn(keptDir).size(), 1);
        ASSERT_EQ(prompter.requests.size(), 1u);
        const QString text = prompter.requests[0].message.text;
        EXPECT_TRUE(text.contains(QStringLiteral("スキャンを中止しました"))) << text.toStdString();
        EXPECT_TRUE(text.contains(keptDir)) << text.toStdString();
    }
}

TEST_F(ScannerRun, SerialNumbersRunOnInTheDateFolderAcrossRuns) {
    program.settings.MKDR = 1;
    program.settings.NBMD = 1;
    program.settings.NBNB = 7;
    program.settings.SVMD = 0;
    const QString dated = q(acq.path()) + "/12082026/";
    for (int pages : {2, 3}) {
        auto driven = run_driver::driveSourceWindow(virtualScanner(pages, "グレー"),
                                                    pageFileExists(dated, pages - 1));
        // The second run from the tool button, as the user starts it.
        if (pages == 2) {
            RUN_ACQUISITION(*window, &library);
        } else {
            window->BTN_TWAIN_GO->click();
        }
        EXPECT_TRUE(driven->finished);
    }
    EXPECT_EQ(filesIn(dated), QStringList({"Scan_0007.bmp", "Scan_0008.bmp", "Scan_0009.bmp",
                                           "Scan_0010.bmp", "Scan_0011.bmp"}));
    EXPECT_EQ(program.settings.NBNB, 12);
    EXPECT_EQ(program.browse.DISP_DIR, dated);
    EXPECT_EQ(program.browse.PAGE_ANCHOR, "Scan_0009.bmp");
    EXPECT_EQ(window->Combo1->currentText(), dated);
}

TEST_F(ScannerRun, SourceClosedWithoutScanningLeavesNoFiles) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer] {
        if (QWidget* w = run_driver::sourceWindow()) {
            w->findChild<QPushButton*>("closeButton")->click();
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
    EXPECT_EQ(RUN_ACQUISITION(*window, &library), AcquisitionRun::Outcome::NothingFound);
    EXPECT_TRUE(filesIn(q(acq.path())).isEmpty());
}

// Start-up with the immediate acquisition answered Yes, from a program folder of its own.
class StartupAcquisition : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANA_PROGRAM_DIR "/DEF_ORVA.CNF"),
                                dir() + "DEF_ORVA.CNF"));
        QFile defaults(dir() + "DEF_ORVA.CNF");
        ASSERT_TRUE(defaults.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromUtf8(defaults.readAll()).split("\r\n");
        const std::map<QString, QString> values = {
            {"BASD", folder()}, {"BADM", "0"}, {"MKDR", "0"}, {"SUTW", "1"},
            {"NTOP", "IMG"},    {"SCNN", "3"}, {"NTWF", "0"}, {"SVMD", "0"},
            {"CKTD", "0"},      {"DSDF", "0"}, {"DFDF", "0"}, {"DSPM", "1"}};
        for (QString& line : lines) {
            const auto it = values.find(line.left(4));
            if (it != values.end()) {
                line = it->first + " , " + it->second;
            }
        }
        QFile settings(dir() + "ORVA.CNF");
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(lines.join("\r\n").toUtf8());
        prompter.answers = {Prompter::Yes};
        program.acquisitionLibrary = &library;
    }
    void TearDown() override { window.removeEventFilter(&startup); }

    QString dir() const { return q(programDir.path()) + '/'; }
    QString folder() const { return q(acq.path()) + '/'; }
    void start() {
        ASSERT_TRUE(startup.begin(dir(), QDate(2026, 12, 8)));
        startup.load(window, QString());
        ASSERT_GE(prompter.requests.size(), 1u);
        EXPECT_TRUE(prompter.requests[0].message.text.startsWith(
            QStringLiteral("直ちにTWAIN機器からのを取り込みを行いますか?")));
    }

    TempDir programDir, acq;
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    AcquisitionLibrary library{QStringLiteral(ORVANA_PROGRAM_DIR "/"), prompter};
    Startup startup{program, library};
    ORVA_WIN window{program};
};

TEST_F(StartupAcquisition, YesAcquiresAndShowsTheNewPage) {
    auto driven =
        run_driver::driveSourceWindow(virtualScanner(1, "カラー"), pageFileExists(folder(), 0));
    start();
    EXPECT_TRUE(driven->finished);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList({"IMG001.bmp"}));
    EXPECT_EQ(program.browse.DISP_DIR, folder());
    EXPECT_EQ(program.browse.PAGE_ANCHOR, "IMG001.bmp");
    EXPECT_EQ(program.browse.PAGE_NAME[0], "IMG001.bmp");
}

TEST_F(StartupAcquisition, NothingScannedStillShowsTheFolder) {
    ASSERT_TRUE(writeBytes(acq.file("old.bmp"), "BM", 2));
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer] {
        if (QWidget* w = run_driver::sourceWindow()) {
            w->findChild<QPushButton*>("closeButton")->click();
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
    start();
    EXPECT_EQ(program.browse.DISP_DIR, folder());
    EXPECT_EQ(program.browse.PAGE_NAME[0], "old.bmp") << "the usual first refresh ran";
}

} // namespace
