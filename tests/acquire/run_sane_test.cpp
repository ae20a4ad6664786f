// The acquisition run end to end with SANE's test device as the default source: its document
// feeder gives ten pages per run, which are named and stored in every save format.
#include "acquisition_commands.h"
#include "acquisition_environment.h"
#include "acquisition_library.h"
#include "browsing_state.h"
#include "orva_win.h"
#include "page_file_names.h"
#include "page_store.h"
#include "pdf_tools.h"
#include "program.h"
#include "qt_support.h"
#include "recording_launcher.h"
#include "run_driver.h"
#include "scripted_prompter.h"
#include "temp_dir.h"
#include "test_images.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Before anything starts SANE: the test backend, with the system's settings for it, then the
// tests' fault driver; the test device is the source chosen last.
const char* const kTestDevice = "Noname frontend-tester (test:0)";

class SaneEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        environment = std::make_unique<AcquisitionEnvironment>(
            ORVANA_PROGRAM_DIR, AcquisitionEnvironment::Sane::TestBackend, kTestDevice,
            ORVANA_FAULT_BACKEND_DIR);
        testApplication();
    }

    std::unique_ptr<AcquisitionEnvironment> environment;
};

auto* const kEnvironment =
    static_cast<SaneEnvironment*>(::testing::AddGlobalTestEnvironment(new SaneEnvironment));

void chooseData(QComboBox* box, const QVariant& data) {
    const int index = box->findData(data);
    ASSERT_GE(index, 0) << box->objectName().toStdString();
    box->setCurrentIndex(index);
}

// A program with its window and the acquisition library, the SANE test device the source.
class SaneRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (!AcquisitionEnvironment::saneTestBackendConfigured()) {
            GTEST_SKIP() << "SANE's test backend is not configured on this system";
        }
        program.acquisitionLibrary = &library;
        s.BADM = 0;
        s.MKDR = 0;
        s.NBMD = 0;
        s.NTWF = 0;
        s.JPGP = 60;
        s.DSPM = 2;
        program.TODAY_STR = "12082026";
        program.PROGRAM_DIR = QStringLiteral(ORVANA_PROGRAM_DIR "/");
        window = std::make_unique<ORVA_WIN>(program);
        window->show();
    }

    // One run of the feeder's ten pages into dir in the save format and TWAIN pixel type (0 black
    // and white, 1 grey, 2 colour) at the lowest resolution the device offers; that resolution.
    int scanTen(const QString& dir, int svmd, int mode) {
        s.BASD = dir;
        s.SVMD = static_cast<int16_t>(svmd);
        QWidget* seen = nullptr;
        int dpi = 0;
        auto driven = run_driver::driveSourceWindow(
            [&](QWidget* w) {
                seen = w;
                chooseData(w->findChild<QComboBox*>("modeBox"), mode);
                auto* resolution = w->findChild<QComboBox*>("resolutionBox");
                resolution->setCurrentIndex(0);
                dpi = resolution->currentData().toInt();
                chooseData(w->findChild<QComboBox*>("sourceBox"),
                           QStringLiteral("Automatic Document Feeder"));
            },
            [&] {
                // All ten pages written and the feeder's batch over.
                return QFile::exists(dir + "ORVA_TMP.009") && seen != nullptr &&
                       seen->findChild<QPushButton*>("scanButton")->isEnabled();
            });
        EXPECT_EQ(RUN_ACQUISITION(*window, &library), AcquisitionRun::Outcome::Shown);
        EXPECT_TRUE(driven->finished);
        return dpi;
    }

    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    AcquisitionLibrary library{QStringLiteral(ORVANA_PROGRAM_DIR "/"), prompter};
    USR_SETTINGS& s = program.settings;
    std::unique_ptr<ORVA_WIN> window;
};

TEST_F(SaneRun, TenFeederPagesInEverySaveFormat) {
    s.NTOP = "ADF";
    s.SCNN = 2;
    struct Case {
        int svmd;
        int mode; // TWAIN pixel type: 0 black and white, 1 grey, 2 colour
        const char* extension;
        int colourType;
    };
    const Case cases[] = {{0, 2, ".bmp", PELMIX_FULL_COLOUR},
                          {1, 1, ".jpg", PELMIX_256_GREYS},
                          {2, 2, ".tif", PELMIX_FULL_COLOUR},
                          {3, 1, ".tif", PELMIX_256_GREYS},
                          {4, 0, ".tif", PELMIX_TWO_COLOUR}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.svmd);
        TempDir folder;
        const QString dir = q(folder.path()) + '/';
        scanTen(dir, c.svmd, c.mode);

        QStringList expected;
        for (int n = 1; n <= 10; ++n) {
            expected << QStringLiteral("ADF%1%2").arg(n, 2, 10, QLatin1Char('0')).arg(c.extension);
        }
        EXPECT_EQ(QDir(dir).entryList(QDir::Files, QDir::Name), expected);
        for (const QString& name : {expected.first(), expected.last()}) {
            ImageHandle image(PelmixFileLoad((dir + name).toLocal8Bit().constData(), "", ""));
            ASSERT_TRUE(image) << name.toStdString();
            EXPECT_EQ(infoOf(image.get()).COLOR_TYPE, c.colourType);
        }
        EXPECT_EQ(s.NBNB, 11);
        EXPECT_EQ(program.browse.ONE_NAME, expected.first());
    }
    EXPECT_TRUE(prompter.requests.empty());
}

// One run of ten feeder pages in each pixel type with PDF chosen: one document of ten pages at
// the size the resolution gives, JPEG pages as the very JPEG files a JPEG run stores.
TEST_F(SaneRun, TenFeederPagesInEachPixelTypeBecomeOnePdf) {
    if (!havePoppler()) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    s.NTOP = "DOC";
    s.SCNN = 3;
    struct Case {
        int mode; // 0 black and white, 1 grey, 2 colour
        const char* encoding;
        const char* colour;
    };
    for (const Case c :
         {Case{0, "ccitt", "gray"}, Case{1, "jpeg", "gray"}, Case{2, "jpeg", "rgb"}}) {
        SCOPED_TRACE(c.mode);
        TempDir pictures;
        TempDir documents;
        const QString pictureDir = q(pictures.path()) + '/';
        const QString documentDir = q(documents.path()) + '/';
        scanTen(pictureDir, c.mode == 0 ? 4 : 1, c.mode); // the pages a picture run stores
        const int dpi = scanTen(documentDir, 5, c.mode);
        ASSERT_GT(dpi, 0);
        EXPECT_EQ(QDir(documentDir).entryList(QDir::Files), QStringList{"DOC001.pdf"});
        EXPECT_EQ(s.NBNB, 2);
        const std::string pdf = (documentDir + "DOC001.pdf").toStdString();
        EXPECT_EQ(pdfPages(pdf), 10);
        const std::vector<PdfImage> images = pdfImages(pdf);
        ASSERT_EQ(images.size(), 10u);
        ImageHandle first(PelmixFileLoad(
            QFile::encodeName(pictureDir + "DOC001" + (c.mode == 0 ? ".tif" : ".jpg")).constData(),
            "", ""));
        ASSERT_TRUE(first);
        for (const PdfImage& image : images) {
            EXPECT_EQ(image.encoding, c.encoding);
            EXPECT_EQ(image.colour, c.colour);
            EXPECT_EQ(image.width, infoOf(first.get()).WIDTH);
            EXPECT_NEAR(image.xPpi, dpi, 0.5); // the page is as wide as the resolution says
        }
        if (c.mode != 0) {
            const std::string out = documents.file("page");
            commandOutput("pdfimages -j '" + pdf + "' '" + out + "'");
            for (int n = 1; n <= 10; ++n) {
                QFile page(pictureDir +
                           QStringLiteral("DOC%1.jpg").arg(n, 3, 10, QLatin1Char('0')));
                QFile extracted(QString::fromStdString(documents.file(
                    "page-" + std::string(n <= 10 ? "00" : "0") + std::to_string(n - 1) + ".jpg")));
                ASSERT_TRUE(page.open(QIODevice::ReadOnly) && extracted.open(QIODevice::ReadOnly));
                EXPECT_TRUE(page.readAll() == extracted.readAll()) << n;
            }
        }
    }
    EXPECT_TRUE(prompter.requests.empty()) << prompter.messages().join('|').toStdString();
}

// A paper chosen in the window is the stored page's size: the page carries its resolution, so
// a business card scanned at 300 dpi into a PDF is a 91 x 55 mm page, either way round.
TEST_F(SaneRun, ThePaperChosenIsThePdfPagesSize) {
    if (!havePoppler()) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    s.NTOP = "CRD";
    s.SCNN = 2;
    s.SVMD = 5;
    for (const char* orientation : {"縦", "横"}) {
        SCOPED_TRACE(orientation);
        TempDir folder;
        const QString dir = q(folder.path()) + '/';
        s.BASD = dir;
        QWidget* seen = nullptr;
        auto driven = run_driver::driveSourceWindow(
            [&](QWidget* w) {
                seen = w;
                auto* resolution = w->findChild<QComboBox*>("resolutionBox");
                resolution->setCurrentIndex(resolution->findText("300 dpi"));
                auto* paper = w->findChild<QComboBox*>("paperBox");
                paper->setCurrentIndex(paper->findText("名刺", Qt::MatchStartsWith));
                auto* turn = w->findChild<QComboBox*>("orientationBox");
                turn->setCurrentIndex(turn->findText(QString::fromUtf8(orientation)));
            },
            [&] {
                return QFile::exists(dir + page_file_names::name(0)) && seen != nullptr &&
                       seen->findChild<QPushButton*>("scanButton")->isEnabled();
            });
        EXPECT_EQ(RUN_ACQUISITION(*window, &library), AcquisitionRun::Outcome::Shown);
        const PdfPageSize size = pdfPageSize((dir + "CRD01.pdf").toStdString());
        const bool upright = std::string(orientation) == "縦";
        EXPECT_NEAR(size.width, upright ? 55 : 91, 0.5);
        EXPECT_NEAR(size.height, upright ? 91 : 55, 0.5);
    }
    EXPECT_TRUE(prompter.requests.empty()) << prompter.messages().join('|').toStdString();
}

// Both sides of each sheet from the tests' duplex driver, chosen in the window by the driver's
// name for it: stored front 1, back 1, front 2 … in name order, for an even and an odd number of
// sheets. Each page's pixels say which it is (16 x sheet, plus 8 on a back).
TEST_F(SaneRun, DuplexPagesAreStoredInTheOrderTheyLeaveTheFeeder) {
    kEnvironment->environment->chooseSource("Fault (orvanafault:duplex)");
    s.NTOP = "DPX";
    s.SCNN = 2;
    s.SVMD = 0;
    for (int sheets : {2, 3}) {
        SCOPED_TRACE(sheets);
        TempDir folder;
        const QString dir = q(folder.path()) + '/';
        s.BASD = dir;
        QWidget* seen = nullptr;
        auto driven = run_driver::driveSourceWindow(
            [&](QWidget* w) {
                seen = w;
                chooseData(w->findChild<QComboBox*>("sourceBox"), QStringLiteral("ADF Duplex"));
                auto* count = w->findChild<QSpinBox*>("option-sheets");
                ASSERT_NE(count, nullptr);
                count->setValue(sheets);
                // The choice reaches the device before Scan is pressed.
                QApplication::processEvents();
            },
            [&] {
                return QFile::exists(dir + page_file_names::name(2 * sheets - 1)) &&
                       seen != nullptr && seen->findChild<QPushButton*>("scanButton")->isEnabled();
            });
        EXPECT_EQ(RUN_ACQUISITION(*window, &library), AcquisitionRun::Outcome::Shown);
        EXPECT_TRUE(driven->finished);
        const QStringList names = QDir(dir).entryList(QDir::Files, QDir::Name);
        ASSERT_EQ(names.size(), 2 * sheets) << names.join(' ').toStdString();
        for (int k = 0; k < 2 * sheets; ++k) {
            const QString name = QStringLiteral("DPX%1.bmp").arg(k + 1, 2, 10, QLatin1Char('0'));
            EXPECT_EQ(names[k], name);
            ImageHandle page(PelmixFileLoad(QFile::encodeName(dir + name).constData(), "", ""));
            ASSERT_TRUE(page);
            EXPECT_EQ(indexAt(page.get(), 0, 0), 16 * (k / 2 + 1) + (k % 2 == 1 ? 8 : 0)) << k;
        }
    }
    EXPECT_TRUE(prompter.requests.empty()) << prompter.messages().join('|').toStdString();
    kEnvironment->environment->chooseSource(kTestDevice);
}

// With blank pages set aside, a duplex run of paper with blank backs stores the fronts only, under
// consecutive names; the backs are in the desktop's trash, named for what they are, and the end
// of the run says how many went there.
TEST_F(SaneRun, BlankBacksOfADuplexRunGoToTheTrash) {
    kEnvironment->environment->chooseSource("Fault (orvanafault:duplex)");
    TempDir data;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data.path()));
    s.NTOP = "DPX";
    s.SCNN = 2;
    s.SVMD = 1;
    s.CLBL = 1;
    TempDir folder;
    const QString dir = q(folder.path()) + '/';
    s.BASD = dir;
    QWidget* seen = nullptr;
    auto driven = run_driver::driveSourceWindow(
        [&](QWidget* w) {
            seen = w;
            chooseData(w->findChild<QComboBox*>("sourceBox"), QStringLiteral("ADF Duplex"));
            w->findChild<QSpinBox*>("option-sheets")->setValue(3);
            auto* paper = w->findChild<QCheckBox*>("option-blank-backs");
            ASSERT_NE(paper, nullptr);
            paper->click();
            QApplication::processEvents();
        },
        [&] {
            return QFile::exists(dir + page_file_names::name(5)) && seen != nullptr &&
                   seen->findChild<QPushButton*>("scanButton")->isEnabled();
        });
    EXPECT_EQ(RUN_ACQUISITION(*window, &library), AcquisitionRun::Outcome::Shown);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files, QDir::Name),
              (QStringList{"DPX01.jpg", "DPX02.jpg", "DPX03.jpg"}));
    for (const char* name : {"DPX01.jpg", "DPX03.jpg"}) {
        ImageHandle front(PelmixFileLoad((dir + name).toLocal8Bit().constData(), "", ""));
        ASSERT_TRUE(front) << name;
        EXPECT_LT(indexAt(front.get(), 32, 24), 40) << "a front, with its block";
    }
    const QString trash = q(data.path()) + "/Trash/";
    EXPECT_EQ(QDir(trash + "files").entryList(QDir::Files, QDir::Name),
              (QStringList{"DPX白紙002.bmp", "DPX白紙004.bmp", "DPX白紙006.bmp"}));
    EXPECT_EQ(QDir(trash + "info").entryList(QDir::Files).size(), 3);
    EXPECT_EQ(s.NBNB, 4);
    EXPECT_EQ(prompter.messages(),
              QStringList{"白紙のページが 3 枚あったため、保存せずにごみ箱に移しました。\n"
                          "白紙ではなかったページは、ごみ箱から元に戻せます。"});
    s.CLBL = 0;
    qunsetenv("XDG_DATA_HOME");
    // The device remembers its paper: the other tests meet it as it was.
    QDir(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/orvana/devices")
        .removeRecursively();
    kEnvironment->environment->chooseSource(kTestDevice);
}

// The brightness of the window's basic page, in the device's own unit, reaches the device: the
// tests' duplex driver adds it to every pixel.
TEST_F(SaneRun, TheBrightnessChosenReachesTheDevice) {
    kEnvironment->environment->chooseSource("Fault (orvanafault:duplex)");
    s.NTOP = "BRT";
    s.SCNN = 2;
    s.SVMD = 0;
    TempDir folder;
    const QString dir = q(folder.path()) + '/';
    s.BASD = dir;
    auto driven = run_driver::driveSourceWindow(
        [&](QWidget* w) {
            chooseData(w->findChild<QComboBox*>("sourceBox"), QStringLiteral("Flatbed"));
            auto* brightness = w->findChild<QDoubleSpinBox*>("brightnessBox");
            ASSERT_NE(brightness, nullptr);
            EXPECT_EQ(brightness->suffix(), "");
            EXPECT_EQ(brightness->minimum(), -100);
            brightness->setValue(20);
        },
        [&] { return QFile::exists(dir + page_file_names::name(0)); });
    EXPECT_EQ(RUN_ACQUISITION(*window, &library), AcquisitionRun::Outcome::Shown);
    ImageHandle page(PelmixFileLoad(QFile::encodeName(dir + "BRT01.bmp").constData(), "", ""));
    ASSERT_TRUE(page);
    EXPECT_EQ(indexAt(page.get(), 0, 0), 0x80 + 20) << "a flatbed page of the driver, brighter";
    kEnvironment->environment->chooseSource(kTestDevice);
}

} // namespace
