// Paging through a folder of 2,000 photographs at a steady rate, a page of twelve every
// kPageMs, the shared thumbnails written as it goes: what it costs as the work grows.
//   peak_ratio     the process's peak memory at the end over its peak after the first 100
//                  pictures (flat: about 1);
//   slowest_ratio  the slowest Page Down over the first page, drawn with nothing read ahead;
//   most_queued    the most pictures seen waiting for a worker, against queue_bound.
// The photographs are twenty generated ones (see photo_set.h; baseline and progressive,
// 2560 x 1600), each linked under a hundred names.
#include "bench_browser.h"
#include "peak_memory.h"
#include "photo_set.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <turbojpeg.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPhotographs = 2000;
constexpr int kDistinct = 20;
constexpr int kPageMs = 150;

QString makeFolder(const QTemporaryDir& dir) {
    const QString folder = dir.path() + QStringLiteral("/photos/");
    QDir().mkpath(folder);
    tjhandle compressor = tjInitCompress();
    for (int v = 0; v < kDistinct; ++v) {
        const std::vector<unsigned char> pixels = PhotoSet::photograph(2560, 1600, v);
        unsigned char* jpeg = nullptr;
        unsigned long size = 0;
        tjCompress2(compressor, pixels.data(), 2560, 0, 1600, TJPF_RGB, &jpeg, &size, TJSAMP_420,
                    88, v % 2 == 1 ? TJFLAG_PROGRESSIVE : 0);
        const QString first = folder + QStringLiteral("p%1.jpg").arg(v, 4, 10, QLatin1Char('0'));
        QFile file(first);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(reinterpret_cast<const char*>(jpeg), qint64(size));
            file.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                             QFileDevice::FileModificationTime);
        }
        file.close();
        tjFree(jpeg);
        for (int n = v + kDistinct; n < kPhotographs; n += kDistinct) {
            const QString name = folder + QStringLiteral("p%1.jpg").arg(n, 4, 10, QLatin1Char('0'));
            if (::link(QFile::encodeName(first).constData(), QFile::encodeName(name).constData()) !=
                0) {
                QFile::copy(first, name);
            }
        }
    }
    tjDestroy(compressor);
    return folder;
}

void BM_PagingTwoThousand(benchmark::State& state) {
    QTemporaryDir dir;
    const QString folder = makeFolder(dir);
    for (auto _ : state) {
        const QString cache = dir.path() + QStringLiteral("/thumbnails");
        Browser browser{folder, cache};
        DecodeAhead& ahead = browser.ahead();
        ahead.waitIdle();
        QDir(cache).removeRecursively();
        const double first = browser.redrawPage(); // the first page, nothing kept or read ahead
        double slowest = 0, total = 0;
        long peakAfterHundred = -1;
        int mostQueued = 0, pages = 0;
        const auto look = [&](Clock::time_point shown) {
            // The user looks at the page until the next Page Down; the workers read ahead.
            while (msSince(shown) < kPageMs) {
                mostQueued = std::max(mostQueued, ahead.queued());
                QApplication::processEvents(QEventLoop::AllEvents, 5);
                QThread::msleep(2);
            }
        };
        look(Clock::now());
        const int pageCount = kPhotographs / 12;
        for (int page = 1; page < pageCount; ++page) {
            const auto start = Clock::now();
            browser.refresh().nextPage();
            const double ms = msSince(start);
            slowest = std::max(slowest, ms);
            total += ms;
            ++pages;
            look(start);
            if (peakAfterHundred < 0 && (page + 1) * 12 >= 100) {
                peakAfterHundred = peak_memory::statusKb("VmHWM");
            }
        }
        const long peakEnd = peak_memory::statusKb("VmHWM");
        state.SetIterationTime(total / 1000.0);
        state.counters["pages"] = pages;
        state.counters["first_ms"] = first;
        state.counters["mean_ms"] = total / pages;
        state.counters["slowest_ms"] = slowest;
        state.counters["slowest_ratio"] = slowest / first;
        state.counters["peak_100_mb"] = double(peakAfterHundred) / 1024;
        state.counters["peak_end_mb"] = double(peakEnd) / 1024;
        state.counters["peak_ratio"] = double(peakEnd) / double(peakAfterHundred);
        state.counters["most_queued"] = mostQueued;
        state.counters["queue_bound"] = double(DecodeAhead::kMostQueued);
    }
}
BENCHMARK(BM_PagingTwoThousand)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
