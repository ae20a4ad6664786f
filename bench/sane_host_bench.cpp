// One 600 dpi A4 colour page (about 100 MB) from SANE's test device: read through the host
// process (the socket pair, the frame turned into a page image) beside the same read with SANE
// in this process, the floor, measured in turns. ratio is the host's time over the floor's.
//
// Ten feeder pages at 300 dpi in colour stored as JPEG, from the scan's start (the search for
// devices included, as a press of the scan button does it) to the last file, beside SANE's own
// front end doing the same (scanimage --batch --format=jpeg), on this machine's test device and
// through a real saned on a loopback address: vs_scanimage is Orvana's time over scanimage's.
#include "file_system.h"
#include "page_encoder.h"
#include "page_file_names.h"
#include "page_store.h"
#include "pelmix.h"
#include "sane_device.h"
#include "sane_frame_reader.h"
#include "sane_library.h"
#include "sane_scan_job.h"
#include "sane_source.h"
#include "saned_server.h"
#include "source_factory.h"
#include "winport.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sane/sane.h>
#include <sane/saneopts.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kDpi = 600;

// SANE's test backend with the system's settings, for both sides.
struct TestBackend {
    TestBackend() {
        folder = std::filesystem::temp_directory_path() /
                 ("orvana-sane-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "dll.conf") << "test\n";
        std::filesystem::copy_file("/etc/sane.d/test.conf", folder / "test.conf",
                                   std::filesystem::copy_options::overwrite_existing);
        ::setenv("SANE_CONFIG_DIR", folder.c_str(), 1);
        ::setenv("ORVANA_SANE_HOST", ORVANA_SANE_HOST_PATH, 0); // the build's
    }
    ~TestBackend() { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
};

void setFixed(SANE_Handle h, const char* name, double value) {
    SANE_Int count = 0;
    sane_control_option(h, 0, SANE_ACTION_GET_VALUE, &count, nullptr);
    for (SANE_Int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
        if (d != nullptr && d->name != nullptr && std::string(d->name) == name) {
            SANE_Word word = d->type == SANE_TYPE_FIXED ? SANE_FIX(value) : SANE_Word(value);
            sane_control_option(h, i, SANE_ACTION_SET_VALUE, &word, nullptr);
            return;
        }
    }
}

void setText(SANE_Handle h, const char* name, const char* value) {
    SANE_Int count = 0;
    sane_control_option(h, 0, SANE_ACTION_GET_VALUE, &count, nullptr);
    for (SANE_Int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
        if (d != nullptr && d->name != nullptr && std::string(d->name) == name) {
            std::vector<char> text(size_t(d->size), '\0');
            std::snprintf(text.data(), text.size(), "%s", value);
            sane_control_option(h, i, SANE_ACTION_SET_VALUE, text.data(), nullptr);
            return;
        }
    }
}

// The floor: the page read and turned into a page image with SANE in this process.
double inProcessSeconds() {
    SANE_Int version = 0;
    sane_init(&version, nullptr);
    SANE_Handle h = nullptr;
    double seconds = 0;
    if (sane_open("test:0", &h) == SANE_STATUS_GOOD) {
        setText(h, SANE_NAME_SCAN_MODE, "Color");
        setFixed(h, SANE_NAME_SCAN_RESOLUTION, kDpi);
        setFixed(h, SANE_NAME_SCAN_BR_X, 210);
        setFixed(h, SANE_NAME_SCAN_BR_Y, 297);
        const auto began = Clock::now();
        SANE_Parameters p{};
        twaindsm::SaneFrameReader reader;
        std::vector<SANE_Byte> buffer(64 * 1024);
        if (sane_start(h) == SANE_STATUS_GOOD && sane_get_parameters(h, &p) == SANE_STATUS_GOOD &&
            reader.begin(p, kDpi, kDpi)) {
            SANE_Int length = 0;
            while (sane_read(h, buffer.data(), SANE_Int(buffer.size()), &length) ==
                   SANE_STATUS_GOOD) {
                reader.append(buffer.data(), size_t(length));
            }
            GlobalFree(reader.finish());
        }
        sane_cancel(h);
        seconds = std::chrono::duration<double>(Clock::now() - began).count();
        sane_close(h);
    }
    sane_exit();
    return seconds;
}

// The same page through the host process, as a scan job reads it.
double hostSeconds(int64_t& bytes) {
    const auto library = twaindsm::SaneLibrary::acquire();
    SANE_Status status = SANE_STATUS_GOOD;
    auto device = twaindsm::SaneDevice::open("test:0", status);
    if (!device) {
        return 0;
    }
    device->setString(SANE_NAME_SCAN_MODE, "Color");
    device->setNumber(SANE_NAME_SCAN_RESOLUTION, kDpi);
    device->setNumber(SANE_NAME_SCAN_BR_X, 210);
    device->setNumber(SANE_NAME_SCAN_BR_Y, 297);
    const auto began = Clock::now();
    twaindsm::SaneScanJob job(device->handle(), {false, 1, kDpi, kDpi, {}});
    job.start();
    while (!job.over()) {
        job.waitSettled(std::chrono::milliseconds(20));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - began).count();
    if (HGLOBAL page = job.takePage()) {
        bytes = int64_t(GlobalSize(page));
        GlobalFree(page);
    }
    return seconds;
}

void BM_PageThroughHost(benchmark::State& state) {
    const TestBackend backend;
    double floor = 0;
    double host = 0;
    int64_t bytes = 0;
    for (auto _ : state) {
        floor += inProcessSeconds();
        const double seconds = hostSeconds(bytes);
        host += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["page_mb"] = double(bytes) / (1 << 20);
    state.counters["floor_ms"] = 1000 * floor / double(state.iterations());
    state.counters["ratio"] = floor > 0 ? host / floor : 0;
}
BENCHMARK(BM_PageThroughHost)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

constexpr double kFeederDpi = 300;
constexpr double kFeederSide = 200; // mm: the test device's whole glass
constexpr int kQuality = 75;        // scanimage's JPEG quality

double scanimageSeconds(const std::string& config, const std::string& device,
                        const std::string& folder) {
    char side[16];
    std::snprintf(side, sizeof side, "%g", kFeederSide);
    const std::string command = "SANE_CONFIG_DIR='" + config + "' scanimage -d '" + device +
                                "' --source 'Automatic Document Feeder' --mode Color"
                                " --resolution 300 -l 0 -t 0 -x " +
                                side + " -y " + side + " --format=jpeg --batch='" + folder +
                                "/p%d.jpg' 2>/dev/null";
    const auto began = Clock::now();
    if (std::system(command.c_str()) != 0) {
        return 0;
    }
    return std::chrono::duration<double>(Clock::now() - began).count();
}

// As the program does it: the search, the source opened with the window's settings, each page
// written as the acquisition library writes it and encoded as JPEG at the settings' quality while
// the next is scanned, then stored under its name once the batch is over, as the page store does.
double orvanaSeconds(const std::string& productName, const std::string& folder, int& pages,
                     double& scanSeconds) {
    pages = 0;
    scanSeconds = 0;
    const auto began = Clock::now();
    std::unique_ptr<twaindsm::Source> source;
    for (auto& found : twaindsm::discoverSaneSources()) {
        if (productName == found->identity().ProductName) {
            source = std::move(found);
        }
    }
    TW_UINT16 condition = 0;
    if (!source || !source->open(condition)) {
        return 0;
    }
    twaindsm::ScanSettings& s = source->settings();
    s.pixelType = TWPT_RGB;
    s.xResolution = s.yResolution = kFeederDpi;
    s.frame = twaindsm::Frame{0, 0, kFeederSide / 25.4, kFeederSide / 25.4};
    s.feederEnabled = true;
    if (!source->enable(
            false, nullptr, [](TW_UINT16) {}, condition)) {
        return 0;
    }
    const QString runFolder = QString::fromStdString(folder + "/");
    PageEncoder encoder(runFolder, kQuality);
    int written = 0;
    for (;; ++written) {
        TW_HANDLE page = nullptr;
        if (source->transfer(page, condition) != TWRC_XFERDONE) {
            break;
        }
        const std::string file = folder + "/" + page_file_names::name(written).toStdString();
        PelmixBmpFileSave(file.c_str(), static_cast<HGLOBAL>(page), "", "", 0);
        GlobalFree(static_cast<HGLOBAL>(page));
        if (source->pending() == 0) {
            ++written;
            break;
        }
    }
    source->disable();
    source->close();
    scanSeconds = std::chrono::duration<double>(Clock::now() - began).count();
    encoder.finish(written);
    for (int i = 0; i < written; ++i) {
        const QString pageName = page_file_names::name(i);
        const QString target =
            runFolder + QStringLiteral("IMG%1.jpg").arg(i + 1, 4, 10, QLatin1Char('0'));
        const QString encoding = encoder.take(pageName, kQuality);
        if (!encoding.isEmpty() && file_system::renameNoReplace(encoding, target)) {
            ++pages;
        } else {
            HGLOBAL image =
                PelmixFileLoad((runFolder + pageName).toLocal8Bit().constData(), "", "");
            if (image != nullptr && PelmixJpegFileSave(target.toLocal8Bit().constData(), image, "",
                                                       "", kQuality, 0) != 0) {
                ++pages;
            }
            GlobalFree(image);
        }
        file_system::remove(runFolder + pageName);
    }
    return std::chrono::duration<double>(Clock::now() - began).count();
}

// state.range(0): 0 this machine's test device, 1 the same through saned. state.range(1): 0 the
// device as fast as memory, 1 paced like a real feeder (a 64 KiB read every 2 ms: about half a
// second a page), where what counts is that each page is stored while the next is scanned.
void BM_TenFeederPagesVsScanimage(benchmark::State& state) {
    const bool network = state.range(0) == 1;
    SanedServer server(90);
    if (state.range(1) == 1) {
        server.setTestOption("read-limit", "true");
        server.setTestOption("read-limit-size", "65536");
        server.setTestOption("read-delay", "true");
        server.setTestOption("read-delay-duration", "2000");
    }
    if (SanedServer::program().empty() || !server.start()) {
        state.SkipWithError("saned is not installed or did not start");
        return;
    }
    const std::string config = server.clientConfig();
    ::setenv("SANE_CONFIG_DIR", config.c_str(), 1);
    ::setenv("ORVANA_SANE_HOST", ORVANA_SANE_HOST_PATH, 0);
    const std::string device = network ? server.device() : "test:0";
    const std::string product = network ? device : std::string("Noname frontend-tester (test:0)");
    double ours = 0;
    double theirs = 0;
    double scanning = 0;
    int pages = 0;
    for (auto _ : state) {
        TempDir a, b;
        theirs += scanimageSeconds(config, device, a.path());
        double scanned = 0;
        const double seconds = orvanaSeconds(product, b.path(), pages, scanned);
        scanning += scanned;
        ours += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["pages"] = pages;
    state.counters["scanimage_ms"] = 1000 * theirs / double(state.iterations());
    // Until the last page file is written; the rest is storing the pages under their names.
    state.counters["scan_ms"] = 1000 * scanning / double(state.iterations());
    state.counters["vs_scanimage"] = theirs > 0 ? ours / theirs : 0;
}
BENCHMARK(BM_TenFeederPagesVsScanimage)
    ->Args({0, 0})
    ->Args({1, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_TenFeederPagesVsScanimage)
    ->Args({0, 1})
    ->Args({1, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
