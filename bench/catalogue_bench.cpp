// Browsing a folder of photographs against the floor of one core decoding the same files with
// libjpeg-turbo at the same reduced scale (see photo_set.h for the files and the floor):
//   first visit   a catalogue page of twelve drawn from the files, nothing kept from before;
//   second visit  the same page with its shared thumbnails in the cache;
//   page down     to the next page, read ahead while the first was shown;
//   single step   the single view's next file, read ahead or not.
// Run on your own pictures: build/bench/catalogue_bench --folder=DIR (or ORVANA_BENCH_FOLDER).
// "ratio" is the time over the floor of the same files.
#include "bench_browser.h"
#include "catalogue_view.h"
#include "display_refresh.h"
#include "photo_set.h"
#include "single_ahead.h"
#include "single_view.h"

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <memory>

namespace {

void report(benchmark::State& state, double totalMs, double floorMs) {
    state.counters["ms"] = totalMs / double(state.iterations());
    state.counters["floor_ms"] = floorMs / double(state.iterations());
    state.counters["ratio"] = totalMs / floorMs;
}

// The page drawn again from nothing kept, and beside it, while the timer is paused, the floor
// of the same files for the boxes the cells asked for: measured in turns, so that the ratio
// holds on a machine whose speed drifts.
void visit(benchmark::State& state, Browser& browser) {
    double total = 0;
    double floor = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double ms = browser.redrawPage();
        browser.ahead().waitIdle(); // the next page read ahead: not beside the floor
        floor += PhotoSet::floorMs(browser.pageFiles(), browser.loader().loadedBoxes(), 1);
        state.ResumeTiming();
        state.SetIterationTime(ms / 1000.0);
        total += ms;
    }
    report(state, total, floor);
}

// How far the program's picture of a file strays from the floor's, in dB of peak signal to noise
// (99 for the same picture); pictures of other sizes (turned upright, say) are not compared.
double psnr(const QImage& ours, const QImage& floor) {
    if (ours.size() != floor.size()) {
        return 99;
    }
    const QImage a = ours.convertToFormat(QImage::Format_RGB888);
    double squares = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar* p = a.constScanLine(y);
        const uchar* q = floor.constScanLine(y);
        for (int x = 0; x < a.width() * 3; ++x) {
            squares += double(p[x] - q[x]) * (p[x] - q[x]);
        }
    }
    const double mse = squares / (double(a.width()) * a.height() * 3);
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

// The program's own decoding of the page's files, one after another on the calling thread: what
// the workers share out. least_psnr: the picture furthest from the floor's.
void BM_DecodeOneCore(benchmark::State& state) {
    Browser browser{PhotoSet::instance().folder(), QString()};
    browser.redrawPage();
    const QStringList paths = browser.pageFiles();
    const QList<QSize> boxes = browser.loader().loadedBoxes();
    browser.ahead().waitIdle();
    double total = 0;
    double floor = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        for (int i = 0; i < paths.size(); ++i) {
            benchmark::DoNotOptimize(PictureLoader::decodeImage(paths[i], boxes[i]));
        }
        const double ms = msSince(start);
        state.SetIterationTime(ms / 1000.0);
        total += ms;
        state.PauseTiming();
        floor += PhotoSet::floorMs(paths, boxes, 1);
        state.ResumeTiming();
    }
    report(state, total, floor);
    double least = 99;
    for (int i = 0; i < paths.size(); ++i) {
        least = std::min(least, psnr(PictureLoader::decodeImage(paths[i], boxes[i]),
                                     PhotoSet::floorPicture(paths[i], boxes[i])));
    }
    state.counters["least_psnr"] = least;
}
BENCHMARK(BM_DecodeOneCore)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

void BM_FirstVisit(benchmark::State& state) {
    Browser browser{PhotoSet::instance().folder(), QString()};
    visit(state, browser);
    state.counters["cells"] = browser.loader().loads();
}
BENCHMARK(BM_FirstVisit)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

void BM_SecondVisit(benchmark::State& state) {
    QTemporaryDir cache;
    Browser browser{PhotoSet::instance().folder(),
                    cache.path()}; // its first visit wrote the thumbnails
    visit(state, browser);
    int fromCache = 0;
    for (const QString& path : browser.loader().loadedPaths()) {
        fromCache += path.startsWith(cache.path()) ? 1 : 0;
    }
    state.counters["from_cache"] = fromCache;
}
BENCHMARK(BM_SecondVisit)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

void BM_PageDownReadAhead(benchmark::State& state) {
    Browser browser{PhotoSet::instance().folder(), QString()};
    if (!browser.refresh().reader().catalogueBarUsable()) {
        state.SkipWithError("the folder fills one page only");
        return;
    }
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        browser.refresh().displayFolderChanged(); // the first page, from what is kept
        browser.ahead().waitIdle();               // the second read ahead meanwhile
        state.ResumeTiming();
        const auto start = Clock::now();
        browser.refresh().nextPage();
        const double ms = msSince(start);
        state.SetIterationTime(ms / 1000.0);
        total += ms;
    }
    state.counters["ms"] = total / double(state.iterations());
}
BENCHMARK(BM_PageDownReadAhead)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// One step of the single view to the next file, the picture fitted into its window (the library
// draws it). Ahead: the user looked at the picture long enough for the next one to be read
// ahead; cold: nothing was. The floor is the full decode of the files stepped to. final_ms: until
// the final picture is shown (a progressive file not read ahead is shown from a first sight).
void singleViewStep(benchmark::State& state, bool ahead) {
    Browser browser{PhotoSet::instance().folder(), QString()};
    browser.program.settings.LDSP = 1;
    browser.program.settings.D1MD = 0;
    browser.refresh().switchView();
    SingleView& view = browser.window->singleView();
    PictureLoader& loader = view.loader();
    const int files = browser.refresh().reader().list().count();
    loader.resetCount();
    double total = 0, sharp = 0;
    int steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (browser.refresh().reader().list().name(files - 1) == browser.program.browse.ONE_NAME) {
            browser.refresh().singleScrolled(1); // back to the first file
        }
        view.ahead().waitIdle();
        if (!ahead) {
            view.ahead().forget();
        }
        state.ResumeTiming();
        const auto start = Clock::now();
        browser.refresh().nextFile();
        const double ms = msSince(start);
        state.SetIterationTime(ms / 1000.0);
        total += ms;
        ++steps;
        state.PauseTiming();
        while (view.showsFirstSight() && msSince(start) < 5000) {
            QApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        sharp += msSince(start);
        state.ResumeTiming();
    }
    const QStringList paths = loader.loadedPaths();
    const QList<QSize> whole(paths.size(), QSize());
    const double floor = PhotoSet::floorMs(paths, whole, 3) / std::max<qsizetype>(1, paths.size());
    state.counters["ms"] = total / steps;
    state.counters["floor_ms"] = floor;
    state.counters["ratio"] = total / steps / floor;
    // A progressive file not read ahead is shown from a first sight; its final picture follows.
    state.counters["final_ms"] = sharp / steps;
}

void BM_SingleViewStepAhead(benchmark::State& state) {
    singleViewStep(state, true);
}
BENCHMARK(BM_SingleViewStepAhead)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

void BM_SingleViewStepCold(benchmark::State& state) {
    singleViewStep(state, false);
}
BENCHMARK(BM_SingleViewStepCold)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    return PhotoSet::runBenchmarks(argc, argv);
}
