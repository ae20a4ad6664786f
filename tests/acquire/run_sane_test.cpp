// The acquisition run end to end with SANE's test device as the default source: its document
// feeder gives ten pages per run, which are named and stored in every save format.
#include "run_driver.h"
#include "acquisition_commands.h"
#include "acquisition_environment.h"
#include "acquisition_library.h"
#include "browsing_state.h"
#include "orva_win.h"
#include "program.h"
#include "qt_support.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"
#include "temp_dir.h"
#include "test_images.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Before anything starts SANE: only the test backend, with the system's settings for it, and no
// chosen default source, so that the first SANE device is the default.
class SaneEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        environment_ = std::make_unique<AcquisitionEnvironment>(
            ORVANA_PROGRAM_DIR, AcquisitionEnvironment::Sane::TestBackend, "");
        testApplication();
    }

private:
    std::unique_ptr<AcquisitionEnvironment> environment_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new SaneEnvironment);

void chooseData(QComboBox* box, const QVariant& data) {
    const int index = box->findData(data);
    ASSERT_GE(index, 0) << box->objectName().toStdString();
    box->setCurrentIndex(index);
}

TEST(SaneRun, TenFeederPagesInEverySaveFormat) {
    if (!AcquisitionEnvironment::saneTestBackendConfigured()) {
        GTEST_SKIP() << "SANE's test backend is not configured on this system";
    }
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program(prompter, launcher, browsing);
    AcquisitionLibrary library(QStringLiteral(ORVANA_PROGRAM_DIR "/"), prompter);
    program.acquisitionLibrary = &library;
    USR_SETTINGS& s = program.settings;
    s.BADM = 0;
    s.MKDR = 0;
    s.NTOP = "ADF";
    s.SCNN = 2;
    s.NBMD = 0;
    s.NTWF = 0;
    s.JPGP = 60;
    s.DSPM = 2;
    program.TODAY_STR = "12082026";
    program.PROGRAM_DIR = QStringLiteral(ORVANA_PROGRAM_DIR "/");
    ORVA_WIN window(program);
    window.show();

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
        s.BASD = dir;
        s.SVMD = static_cast<int16_t>(c.svmd);
        QWidget* seen = nullptr;
        auto driven = run_driver::driveSourceWindow(
            [&](QWidget* w) {
                seen = w;
                chooseData(w->findChild<QComboBox*>("modeBox"), c.mode);
                auto* resolution = w->findChild<QComboBox*>("resolutionBox");
                resolution->setCurrentIndex(0); // the lowest the device offers
                chooseData(w->findChild<QComboBox*>("sourceBox"), true);
            },
            [&] {
                // All ten pages written and the feeder's batch over.
                return QFile::exists(dir + "ORVA_TMP.009") && seen != nullptr &&
                       seen->findChild<QPushButton*>("scanButton")->isEnabled();
            });
        EXPECT_EQ(RUN_ACQUISITION(window, &library), AcquisitionRun::Outcome::Shown);
        EXPECT_TRUE(driven->finished);

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

} // namespace
