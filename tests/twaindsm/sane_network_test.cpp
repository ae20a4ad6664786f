// Scanners on another machine: a real saned on a loopback address of its own serving SANE's test
// backend, reached through SANE's net backend as a user's network scanner is. Found by its whole
// name, scanned with the settings asked for (pixels and resolution as SANE's own front end gets
// them), and every way the server fails during a batch: the pages before are kept, the end is
// seen at once or within the host's limit, and the next batch works once the server is back.
#include "device_search.h"
#include "dib.h"
#include "sane_device.h"
#include "sane_device_profile.h"
#include "sane_host.h"
#include "sane_library.h"
#include "sane_scan_job.h"
#include "sane_source.h"
#include "sane_test_config.h"
#include "saned_server.h"
#include "scan_end_text.h"
#include "scanimage_page.h"
#include "source_factory.h"
#include "test_images.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>

using namespace twaindsm;
using Clock = std::chrono::steady_clock;

namespace {

class SaneNetworkTest : public ::testing::Test {
protected:
    // Each test its own address: ctest runs them side by side.
    void serve(int lastOctet, bool allowed = true) {
        if (SanedServer::program().empty()) {
            GTEST_SKIP() << "saned is not installed";
        }
        server_ = std::make_unique<SanedServer>(lastOctet, allowed);
        ASSERT_TRUE(server_->start()) << "saned did not start on " << server_->address();
        ::setenv("SANE_CONFIG_DIR", server_->clientConfig().c_str(), 1);
        ::setenv("ORVANA_SANE_HOST_LIMIT_MS", "3000", 1);
        SaneTestConfig::useBuiltHost();
    }
    void TearDown() override {
        device_.reset();
        library_.reset();
    }
    // The device on the server, as a source opens it; the library started anew first, as each
    // scan of the program starts it.
    void openDevice() {
        device_.reset();
        library_.reset();
        library_ = SaneLibrary::acquire();
        ASSERT_NE(library_, nullptr);
        SANE_Status status = SANE_STATUS_GOOD;
        device_ = SaneDevice::open(server_->device(), status);
        ASSERT_NE(device_, nullptr) << "SANE status " << status;
        profile_ = SaneDeviceProfile::read(*device_);
    }
    // A feeder batch of small grey pages, changed called after each page on the worker.
    std::unique_ptr<SaneScanJob> feederBatch(SaneScanJob::Changed changed = {}) {
        ScanSettings settings;
        settings.pixelType = TWPT_GRAY;
        settings.xResolution = settings.yResolution = 100;
        settings.frame = {0, 0, 1, 1};
        settings.feederEnabled = true;
        EXPECT_TRUE(profile_.apply(*device_, settings));
        SaneScanJob::Batch batch;
        batch.feeder = true;
        auto job = std::make_unique<SaneScanJob>(device_->handle(), batch, std::move(changed));
        job->start();
        return job;
    }
    static void waitOver(SaneScanJob& job, std::chrono::seconds most) {
        const auto end = Clock::now() + most;
        while (!job.over() && Clock::now() < end) {
            job.waitSettled(std::chrono::milliseconds(20));
            if (job.pagesReady() > 0 && !job.over()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
    }

    std::unique_ptr<SanedServer> server_;
    std::shared_ptr<SaneLibrary> library_;
    std::unique_ptr<SaneDevice> device_;
    SaneDeviceProfile profile_;
};

TEST_F(SaneNetworkTest, ANetworkScannerIsFoundByItsWholeNameAndScansAsScanimageDoes) {
    serve(61);
    const std::string wanted = server_->device();
    std::unique_ptr<Source> source;
    for (auto& found : discoverSaneSources()) {
        if (std::strcmp(found->identity().ProductName, wanted.c_str()) == 0) {
            source = std::move(found);
        }
    }
    ASSERT_NE(source, nullptr) << "the search did not list " << wanted;
    EXPECT_EQ(source->displayName(), "Noname frontend-tester (test:0) on 127.0.0.61");

    TW_UINT16 condition = 0;
    ASSERT_TRUE(source->open(condition));
    ScanSettings& s = source->settings();
    s.pixelType = TWPT_RGB;
    s.xResolution = s.yResolution = 150;
    s.frame = Frame{0, 0, 1, 1};
    ASSERT_TRUE(source->enable(
        false, nullptr, [](TW_UINT16) {}, condition));
    TW_HANDLE handle = nullptr;
    ASSERT_EQ(source->transfer(handle, condition), TWRC_XFERDONE);
    ImageHandle page(static_cast<HGLOBAL>(handle));
    source->disable();
    source->close();

    const ScanimagePage expected = scanimagePage(
        server_->clientConfig(), wanted, "--mode Color --resolution 150 -l 0 -t 0 -x 25.4 -y 25.4");
    ASSERT_GT(expected.width, 0) << "scanimage gave no page";
    EXPECT_EQ(differingPixels(page.get(), expected), 0);
    // 150 dpi in the page's header: what the device scanned at.
    pelmix::DibView dib(page.get());
    EXPECT_EQ(dib.header().biXPelsPerMeter, std::lround(150 / 0.0254));
    EXPECT_EQ(dib.header().biYPelsPerMeter, std::lround(150 / 0.0254));
}

// saned killed after the fourth page, then stopped (SIGSTOP) after the fourth: the four pages are
// kept each time, a dropped connection ends the batch at once and a silent server within the
// host's limit, each with words of its own; with the server back the next batch gives all ten.
TEST_F(SaneNetworkTest, AServerThatDiesOrStopsAnsweringCostsNoPageBeforeIt) {
    serve(62);
    struct Case {
        const char* what;
        bool kill;
        double mostSeconds;
    };
    for (const Case c : {Case{"killed", true, 2.5}, Case{"stopped", false, 6.0}}) {
        SCOPED_TRACE(c.what);
        openDevice();
        Clock::time_point failedAt{};
        auto job = feederBatch([&](int pagesRead, bool over) {
            if (pagesRead == 4 && !over) {
                failedAt = Clock::now();
                c.kill ? server_->stop() : server_->pause();
            }
        });
        waitOver(*job, std::chrono::seconds(20));
        ASSERT_TRUE(job->over());
        const double seconds = std::chrono::duration<double>(Clock::now() - failedAt).count();
        EXPECT_LT(seconds, c.mostSeconds);
        EXPECT_EQ(job->end(), SaneScanJob::End::DeviceError);
        EXPECT_EQ(job->pagesReady(), 4u);
        const QString text =
            scanEndText({QStringLiteral("S"), true, job->failure(), job->failedAtStart(),
                         job->faultKind(), job->pagesRead()});
        EXPECT_TRUE(text.contains(c.kill ? QStringLiteral("接続が切れました")
                                         : QStringLiteral("応答しなくなりました")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("4 ページ"))) << text.toStdString();
        job.reset();

        server_->stop();
        ASSERT_TRUE(server_->start());
        openDevice();
        auto next = feederBatch();
        waitOver(*next, std::chrono::seconds(20));
        EXPECT_EQ(next->end(), SaneScanJob::End::Completed);
        EXPECT_EQ(next->pagesReady(), 10u);
    }
}

// A server that asks a password the program has none for, and a host name that does not resolve:
// each is an answer within moments, never a wait for the host's limit.
TEST_F(SaneNetworkTest, AServerThatRefusesOrAHostThatIsNotThereIsToldAtOnce) {
    serve(63, false); // the test backend behind a password
    library_ = SaneLibrary::acquire();
    ASSERT_NE(library_, nullptr);
    auto began = Clock::now();
    SANE_Status status = SANE_STATUS_GOOD;
    EXPECT_EQ(SaneDevice::open(server_->device(), status), nullptr);
    EXPECT_EQ(status, SANE_STATUS_ACCESS_DENIED);
    EXPECT_LT(Clock::now() - began, std::chrono::seconds(2));
    library_.reset();

    server_->reachOnly("no-such-scanner.invalid");
    library_ = SaneLibrary::acquire();
    ASSERT_NE(library_, nullptr);
    began = Clock::now();
    std::vector<sane_host::Device> devices;
    EXPECT_EQ(sane_host::devices(devices), SANE_STATUS_GOOD);
    for (const auto& d : devices) {
        EXPECT_EQ(d.name.rfind("net:", 0), std::string::npos) << d.name;
    }
    EXPECT_EQ(SaneDevice::open("net:no-such-scanner.invalid:test:0", status), nullptr);
    EXPECT_NE(status, SANE_STATUS_GOOD);
    EXPECT_LT(Clock::now() - began, std::chrono::seconds(4));
}

// A search that waits for a server that stopped answering leaves the windows answering, shows
// itself after a moment, and Cancel ends it at once with nothing found, long before the limit.
TEST_F(SaneNetworkTest, ASearchThatWaitsShowsItselfAndCancelEndsIt) {
    serve(64);
    ::setenv("ORVANA_SANE_HOST_LIMIT_MS", "30000", 1);
    server_->pause();
    int argc = 1;
    char name[] = "sane_network_test";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    bool shown = false;
    Clock::time_point cancelledAt{};
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* search = qobject_cast<QProgressDialog*>(w);
            if (search == nullptr || !search->isVisible() || shown) {
                continue;
            }
            shown = true;
            if (QPushButton* cancel = search->findChild<QPushButton*>()) {
                cancelledAt = Clock::now();
                QTest::mouseClick(cancel, Qt::LeftButton);
            }
        }
    });
    look.start(100);
    const auto began = Clock::now();
    const auto found = DeviceSearch::run(nullptr);
    const auto ended = Clock::now();
    server_->resume();
    EXPECT_TRUE(shown);
    EXPECT_GE(cancelledAt - began, DeviceSearch::kQuietTime);
    EXPECT_LT(ended - cancelledAt, std::chrono::seconds(2));
    EXPECT_TRUE(found.empty());
}

} // namespace
