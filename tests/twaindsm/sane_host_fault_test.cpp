// Drivers that fail for real, in the SANE host process: a driver of the tests' own that hangs in
// a read, crashes in a start, or ignores a cancel. Each costs the page being read and ends with a
// message naming what happened, within its limit; the pages read before it are kept; and the
// next scan, in a new host, works.
#include "sane_device.h"
#include "sane_host.h"
#include "sane_library.h"
#include "sane_scan_job.h"
#include "sane_test_config.h"
#include "temp_dir.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

using twaindsm::SaneDevice;
using twaindsm::SaneLibrary;
using twaindsm::SaneScanJob;
using End = SaneScanJob::End;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kLimitMs = 1500;

// SANE with the fault driver alone, set up before anything starts the host.
class FaultConfig {
public:
    FaultConfig() {
        writeBytes(dir_.file("dll.conf"), "orvanafault\n", 12);
        ::setenv("SANE_CONFIG_DIR", dir_.path().c_str(), 1);
        ::setenv("LD_LIBRARY_PATH", ORVANA_FAULT_BACKEND_DIR, 1);
        ::setenv("ORVANA_SANE_HOST_LIMIT_MS", std::to_string(kLimitMs).c_str(), 1);
        SaneTestConfig::useBuiltHost();
        // A sanitizer in the host would turn the driver's crash into an exit of its own.
        for (const char* name : {"ASAN_OPTIONS", "TSAN_OPTIONS"}) {
            const char* given = std::getenv(name);
            const std::string options = given != nullptr && *given ? given + std::string(":") : "";
            ::setenv(name, (options + "handle_segv=0").c_str(), 1);
        }
    }

private:
    TempDir dir_;
};
const FaultConfig kFaultConfig;

struct Fault {
    const char* device;
    bool stop;         // the user presses Cancel while the driver blocks
    End end;           // how the batch ends
    size_t pagesKept;  // pages read before the fault
    const char* fault; // what the message says happened ("" none)
    int mostMs;        // the longest the batch may take to end
};

const Fault kFaults[] = {
    {"orvanafault:hang-read", false, End::DeviceError, 1, "stopped answering", kLimitMs + 1500},
    {"orvanafault:crash-start", false, End::DeviceError, 1,
     "ended unexpectedly (Segmentation fault)", 1500},
    {"orvanafault:ignore-cancel", true, End::Cancelled, 0, "", 2000},
};

std::unique_ptr<SaneScanJob> scan(SaneDevice& device, bool feeder) {
    SaneScanJob::Batch batch;
    batch.feeder = feeder;
    batch.maxPages = feeder ? -1 : 1;
    auto job = std::make_unique<SaneScanJob>(device.handle(), batch);
    job->start();
    return job;
}

} // namespace

TEST(SaneHostFault, EachFaultCostsOnePageAndAMessageAndTheNextScanWorks) {
    const std::shared_ptr<SaneLibrary> library = SaneLibrary::acquire();
    ASSERT_NE(library, nullptr);
    for (const Fault& f : kFaults) {
        SCOPED_TRACE(f.device);
        SANE_Status status = SANE_STATUS_GOOD;
        std::unique_ptr<SaneDevice> device = SaneDevice::open(f.device, status);
        ASSERT_NE(device, nullptr) << "SANE status " << status;

        const auto began = Clock::now();
        std::unique_ptr<SaneScanJob> job = scan(*device, true);
        if (f.stop) {
            // The driver is inside its read: the program stays free to take the Cancel.
            EXPECT_FALSE(job->waitSettled(std::chrono::milliseconds(200)));
            const auto pressed = Clock::now();
            job->stop();
            EXPECT_LT(Clock::now() - pressed, std::chrono::seconds(2));
        }
        while (!job->over() && Clock::now() - began < std::chrono::seconds(20)) {
            job->waitSettled(std::chrono::milliseconds(50));
        }
        ASSERT_TRUE(job->over());
        EXPECT_LT(Clock::now() - began, std::chrono::milliseconds(f.mostMs + 200));
        EXPECT_EQ(job->end(), f.end);
        EXPECT_EQ(job->pagesReady(), f.pagesKept);
        EXPECT_NE(job->fault().find(f.fault), std::string::npos) << job->fault();
        EXPECT_FALSE(twaindsm::sane_host::current(device->handle())); // that host is gone
        job.reset();
        device.reset();

        // The next scan starts a new host and reads its page.
        device = SaneDevice::open("orvanafault:hang-read", status);
        ASSERT_NE(device, nullptr) << "SANE status " << status;
        job = scan(*device, false);
        while (!job->over() && Clock::now() - began < std::chrono::seconds(20)) {
            job->waitSettled(std::chrono::milliseconds(50));
        }
        EXPECT_EQ(job->end(), End::Completed);
        EXPECT_EQ(job->pagesReady(), 1u);
        job.reset();
        device.reset();
    }
}
