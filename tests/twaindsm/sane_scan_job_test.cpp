// Batches read by the worker from SANE's test device: pages, the feeder, errors and stopping.
#include "dib.h"
#include "sane_device.h"
#include "sane_device_profile.h"
#include "sane_host.h"
#include "sane_library.h"
#include "sane_scan_job.h"
#include "sane_test_config.h"
#include "scan_end_text.h"
#include "scanimage_page.h"
#include "test_images.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <set>

using twaindsm::SaneDevice;
using twaindsm::SaneDeviceProfile;
using twaindsm::SaneLibrary;
using twaindsm::SaneScanJob;
using End = SaneScanJob::End;

namespace {

class SaneScanJobTest : public ::testing::Test {
protected:
    // The test device answers every call at once; a host that waits longer has lost it.
    static void SetUpTestSuite() { ::setenv("ORVANA_SANE_HOST_LIMIT_MS", "5000", 1); }

    void SetUp() override {
        ASSERT_TRUE(kSaneTestConfig.complete());
        library_ = SaneLibrary::acquire();
        ASSERT_NE(library_, nullptr);
        openDevice();
        // One inch square at 100 dpi unless a test says otherwise.
        settings_.xResolution = settings_.yResolution = 100;
        settings_.frame = {0, 0, 1, 1};
    }
    void openDevice() {
        device_.reset(); // a test device opens once at a time
        SANE_Status status = SANE_STATUS_GOOD;
        device_ = SaneDevice::open("test:0", status);
        ASSERT_NE(device_, nullptr) << "SANE status " << status;
        profile_ = SaneDeviceProfile::read(*device_);
    }

    bool applySettings_ = true; // false: prepare() put everything on the device itself

    void TearDown() override {
        device_.reset();
        library_.reset();
    }

    std::unique_ptr<SaneScanJob> run(SaneScanJob::Changed changed = {}) {
        if (applySettings_) {
            EXPECT_TRUE(profile_.apply(*device_, settings_));
        }
        SaneScanJob::Batch batch;
        batch.feeder = settings_.feederEnabled;
        batch.maxPages = settings_.xferCount;
        batch.xDpi = settings_.xResolution;
        batch.yDpi = settings_.yResolution;
        auto job = std::make_unique<SaneScanJob>(device_->handle(), batch, std::move(changed));
        job->start();
        return job;
    }

    // A batch to its end, prepare() setting the device's options first. SANE's test backend
    // cancels its reader threads at any point; now and then (once in some hundreds of runs under
    // load) that leaves a lock of the C library held in the host, and a later call never returns.
    // The host is ended for it, as for any driver that stops answering; the batch is then run
    // once more in a new host, as a source opens the device again.
    std::unique_ptr<SaneScanJob> batch(
        const std::function<void()>& prepare = [] {}, SaneScanJob::Changed changed = {}) {
        prepare();
        auto job = run(changed);
        waitOver(*job);
        if (job->over() && !twaindsm::sane_host::current(device_->handle())) {
            // Lost in the batch (the job says why) or in the cancel after it.
            const std::string fault = twaindsm::sane_host::fault();
            std::cerr << "the test backend was lost (" << fault << "); once more\n";
            EXPECT_FALSE(fault.empty());
            job.reset();
            openDevice();
            prepare();
            job = run(std::move(changed));
            waitOver(*job);
        }
        return job;
    }

    static void waitOver(SaneScanJob& job) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!job.over() && std::chrono::steady_clock::now() < deadline) {
            job.waitSettled(std::chrono::milliseconds(50));
        }
        ASSERT_TRUE(job.over());
    }

    std::shared_ptr<SaneLibrary> library_;
    std::unique_ptr<SaneDevice> device_;
    SaneDeviceProfile profile_;
    twaindsm::ScanSettings settings_;
};

} // namespace

TEST_F(SaneScanJobTest, FlatbedGivesOnePageOfEachPixelType) {
    // The device's geometry steps are whole millimetres: one inch is 25 mm, 98 pixels at 100 dpi.
    const struct {
        TW_UINT16 type;
        int bits;
    } cases[] = {{TWPT_BW, 1}, {TWPT_GRAY, 8}, {TWPT_RGB, 24}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        settings_.pixelType = c.type;
        auto job = batch();
        EXPECT_EQ(job->end(), End::Completed);
        ASSERT_EQ(job->pagesReady(), 1u);
        ImageHandle page(job->takePage());
        EXPECT_EQ(job->takePage(), nullptr);
        const IMAGE_INFO info = infoOf(page.get());
        EXPECT_EQ(info.WIDTH, 98);
        EXPECT_EQ(info.HEIGHT, 98);
        EXPECT_EQ(info.BIT_COUNT, c.bits);
        EXPECT_EQ(job->progressPercent(), 100);
        // The test device's default picture is solid black.
        EXPECT_EQ(pixelAt(page.get(), 50, 50), (Colour{0, 0, 0}));
        pelmix::DibView view(page.get());
        EXPECT_EQ(view.header().biXPelsPerMeter, 3937);
    }
}

TEST_F(SaneScanJobTest, SixteenBitSamplesAndPatternsComeThrough) {
    ASSERT_TRUE(device_->setString("test-picture", "Color pattern"));
    settings_.pixelType = TWPT_RGB;
    auto job = run();
    waitOver(*job);
    ImageHandle colour(job->takePage());
    ASSERT_TRUE(colour);
    std::set<std::tuple<int, int, int>> colours;
    for (int y = 0; y < 98; y += 7) {
        for (int x = 0; x < 98; x += 7) {
            const Colour c = pixelAt(colour.get(), x, y);
            colours.insert({c.r, c.g, c.b});
        }
    }
    EXPECT_GT(colours.size(), 3u);

    // The grid at 16 bits a sample: black and white squares, the high byte of each sample.
    ASSERT_TRUE(device_->setString("test-picture", "Grid"));
    settings_.pixelType = TWPT_GRAY;
    ASSERT_TRUE(profile_.apply(*device_, settings_));
    ASSERT_TRUE(device_->setNumber("depth", 16));
    SaneScanJob deep(device_->handle(), {false, -1, 100, 100, {}});
    deep.start();
    waitOver(deep);
    ImageHandle grid(deep.takePage());
    ASSERT_TRUE(grid);
    EXPECT_EQ(infoOf(grid.get()).BIT_COUNT, 8);
    std::set<int> levels;
    for (int x = 0; x < 98; ++x) {
        levels.insert(indexAt(grid.get(), x, 20));
    }
    EXPECT_EQ(levels, (std::set<int>{0, 255}));
}

TEST_F(SaneScanJobTest, FeederScansUntilEmptyAndAgainInTheNextBatch) {
    settings_.pixelType = TWPT_GRAY;
    settings_.feederEnabled = true;
    std::atomic<int> pagesSeen{0};
    std::atomic<int> ends{0};
    auto job = run([&](int pages, bool over) {
        if (over) {
            ++ends;
        } else {
            pagesSeen = pages;
        }
    });
    waitOver(*job);
    EXPECT_EQ(job->end(), End::Completed);
    EXPECT_TRUE(job->feederEmptied());
    EXPECT_EQ(job->pagesRead(), 10);
    EXPECT_EQ(job->pagesReady(), 10u);
    EXPECT_EQ(pagesSeen, 10);
    EXPECT_EQ(ends, 1);
    job.reset(); // frees the pages nobody took

    // A limit on the pages ends the batch early.
    settings_.xferCount = 3;
    job = batch();
    EXPECT_EQ(job->end(), End::Completed);
    EXPECT_EQ(job->pagesReady(), 3u);
    EXPECT_FALSE(job->feederEmptied());
}

// Every status a driver can answer, one after another on the same device (after an error or a
// cancel it works again): how the batch ends, what the job says went wrong, and words of its own
// for each, naming the device.
TEST_F(SaneScanJobTest, EveryStatusOfTheDriverEndsTheBatchWithItsOwnWords) {
    const struct {
        const char* status;
        End end;
        size_t pages;
        SANE_Status failure;
    } cases[] = {
        {"SANE_STATUS_UNSUPPORTED", End::DeviceError, 0, SANE_STATUS_UNSUPPORTED},
        {"SANE_STATUS_CANCELLED", End::Cancelled, 0, SANE_STATUS_GOOD},
        {"SANE_STATUS_DEVICE_BUSY", End::DeviceError, 0, SANE_STATUS_DEVICE_BUSY},
        {"SANE_STATUS_INVAL", End::DeviceError, 0, SANE_STATUS_INVAL},
        // An end before the first line: a page of nothing, which no device should give.
        {"SANE_STATUS_EOF", End::DeviceError, 0, SANE_STATUS_IO_ERROR},
        {"SANE_STATUS_JAMMED", End::DeviceError, 0, SANE_STATUS_JAMMED},
        {"SANE_STATUS_NO_DOCS", End::DeviceError, 0, SANE_STATUS_NO_DOCS},
        {"SANE_STATUS_COVER_OPEN", End::DeviceError, 0, SANE_STATUS_COVER_OPEN},
        {"SANE_STATUS_IO_ERROR", End::DeviceError, 0, SANE_STATUS_IO_ERROR},
        {"SANE_STATUS_NO_MEM", End::DeviceError, 0, SANE_STATUS_NO_MEM},
        {"SANE_STATUS_ACCESS_DENIED", End::DeviceError, 0, SANE_STATUS_ACCESS_DENIED},
        {"Default", End::Completed, 1, SANE_STATUS_GOOD},
    };
    settings_.pixelType = TWPT_GRAY;
    std::set<QString> told;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        auto job = batch([&] { ASSERT_TRUE(device_->setString("read-return-value", c.status)); });
        EXPECT_EQ(job->end(), c.end);
        EXPECT_EQ(job->pagesReady(), c.pages);
        EXPECT_EQ(job->progressPercent(), c.pages == 0 ? 0 : 100);
        EXPECT_EQ(job->failure(), c.failure);
        const QString text =
            twaindsm::scanEndText({QStringLiteral("Scanner X"), false, job->failure(),
                                   job->failedAtStart(), job->faultKind(), job->pagesRead()});
        EXPECT_EQ(text.isEmpty(), c.end != End::DeviceError) << text.toStdString();
        if (!text.isEmpty()) {
            EXPECT_TRUE(text.contains(QStringLiteral("「Scanner X」"))) << text.toStdString();
            told.insert(text);
        }
    }
    // The IO error and the empty page share their words; every other status has its own.
    EXPECT_EQ(told.size(), 9u);
}

// A feeder that jams on its third sheet: the two pages before are kept and the words say so; an
// empty feeder after pages is the end of the batch, not an error.
TEST_F(SaneScanJobTest, AJamKeepsThePagesBeforeItAndAnEmptiedFeederIsNoError) {
    settings_.pixelType = TWPT_GRAY;
    settings_.feederEnabled = true;
    auto jams = batch([] {},
                      [this](int pagesRead, bool over) {
                          if (pagesRead == 2 && !over) {
                              device_->setString("read-return-value", "SANE_STATUS_JAMMED");
                          }
                      });
    EXPECT_EQ(jams->end(), End::DeviceError);
    EXPECT_EQ(jams->pagesReady(), 2u);
    EXPECT_EQ(jams->failure(), SANE_STATUS_JAMMED);
    const QString text = twaindsm::scanEndText(
        {QStringLiteral("X"), false, jams->failure(), jams->failedAtStart(), jams->faultKind(), 2});
    EXPECT_TRUE(text.contains(QStringLiteral("2 ページ"))) << text.toStdString();

    // The sheets after the jammed one are scanned in the next batch: seven of the ten.
    ASSERT_TRUE(device_->setString("read-return-value", "Default"));
    auto whole = batch();
    EXPECT_EQ(whole->end(), End::Completed);
    EXPECT_EQ(whole->pagesReady(), 7u);
    EXPECT_TRUE(whole->feederEmptied());
    EXPECT_TRUE(twaindsm::scanEndText({QStringLiteral("X"), false, whole->failure(),
                                       whole->failedAtStart(), whole->faultKind(), 7})
                    .isEmpty());
}

// The test device's unusual frames, each page compared pixel by pixel with what scanimage stores
// for the same settings: 16-bit samples, lost pixels at each line's end, parameters that are only
// a guess before the start, a hand scanner that knows no height, non-blocking and select-fd
// reads, reads of a few bytes. Separate colour planes (a three-pass scan) are refused in words.
TEST_F(SaneScanJobTest, UnusualFramesGiveThePagesScanimageGives) {
    const struct {
        const char* arguments;
        std::function<bool(SaneDevice&)> set;
    } cases[] = {
        {"", [](SaneDevice&) { return true; }},
        {"--depth 16", [](SaneDevice& d) { return d.setNumber("depth", 16); }},
        {"--ppl-loss 7", [](SaneDevice& d) { return d.setNumber("ppl-loss", 7); }},
        {"--fuzzy-parameters=yes",
         [](SaneDevice& d) { return d.setBool("fuzzy-parameters", true); }},
        {"--hand-scanner=yes", [](SaneDevice& d) { return d.setBool("hand-scanner", true); }},
        {"--non-blocking=yes", [](SaneDevice& d) { return d.setBool("non-blocking", true); }},
        {"--select-fd=yes", [](SaneDevice& d) { return d.setBool("select-fd", true); }},
        {"--read-limit=yes --read-limit-size 7",
         [](SaneDevice& d) {
             return d.setBool("read-limit", true) && d.setNumber("read-limit-size", 7);
         }},
    };
    settings_.pixelType = TWPT_RGB;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        openDevice();
        ASSERT_NE(device_, nullptr);
        // The settings first, then the case's own options (the settings include the depth);
        // the test device keeps its options from one opening to the next, so each case puts
        // the others back.
        applySettings_ = false;
        auto job = batch([&] {
            ASSERT_TRUE(profile_.apply(*device_, settings_));
            ASSERT_TRUE(device_->setString("test-picture", "Color pattern"));
            for (const char* option :
                 {"fuzzy-parameters", "hand-scanner", "non-blocking", "select-fd", "read-limit"}) {
                ASSERT_TRUE(device_->setBool(option, false)) << option;
            }
            ASSERT_TRUE(device_->setNumber("ppl-loss", 0));
            ASSERT_TRUE(c.set(*device_));
        });
        ASSERT_EQ(job->end(), End::Completed);
        ImageHandle page(job->takePage());
        ASSERT_NE(page.get(), nullptr);
        const ScanimagePage expected =
            scanimagePage(std::getenv("SANE_CONFIG_DIR"), "test:0",
                          std::string("--mode Color --resolution 100 -l 0 -t 0 -x 25.4 -y 25.4 "
                                      "--test-picture 'Color pattern' ") +
                              c.arguments);
        ASSERT_GT(expected.width, 0) << "scanimage gave no page";
        EXPECT_EQ(differingPixels(page.get(), expected), 0);
    }
    applySettings_ = true;
    openDevice();
    auto planes = batch([&] { ASSERT_TRUE(device_->setBool("three-pass", true)); });
    EXPECT_EQ(planes->end(), End::DeviceError);
    EXPECT_EQ(planes->failure(), SANE_STATUS_UNSUPPORTED);
    EXPECT_FALSE(twaindsm::scanEndText({QStringLiteral("X"), false, planes->failure(),
                                        planes->failedAtStart(), planes->faultKind(), 0})
                     .isEmpty());
}

TEST_F(SaneScanJobTest, StopEndsASlowBatchPromptlyAndKeepsItsPages) {
    // Small reads with a long delay after each: the whole feeder would take minutes.
    settings_.pixelType = TWPT_GRAY;
    settings_.feederEnabled = true;
    ASSERT_TRUE(device_->setBool("read-limit", true));
    ASSERT_TRUE(device_->setNumber("read-limit-size", 64));
    ASSERT_TRUE(device_->setBool("read-delay", true));
    ASSERT_TRUE(device_->setNumber("read-delay-duration", 200000));
    auto job = run();
    EXPECT_FALSE(job->waitSettled(std::chrono::milliseconds(100)));
    EXPECT_FALSE(job->over());
    const auto before = std::chrono::steady_clock::now();
    job->stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_EQ(job->end(), End::Cancelled);
    EXPECT_LE(job->pagesReady(), 1u);

    // A job stopped before it started ends cancelled too.
    SaneScanJob idle(device_->handle(), {});
    idle.stop();
    EXPECT_EQ(idle.end(), End::Cancelled);
}
