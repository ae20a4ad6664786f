// From the program's start to its first catalogue page fully drawn, on the photographs of
// photo_set.h, against the floor of one core decoding the page's files at the scale the program
// decodes them at. Each start is a process of its own (this program again, with --child) on a
// fresh program folder and home: the first start with an empty thumbnail cache, the second with
// the thumbnails the first one wrote.
#include "acquisition_library.h"
#include "browsing.h"
#include "catalogue_view.h"
#include "decode_ahead.h"
#include "orva_win.h"
#include "photo_set.h"
#include "picture_loader.h"
#include "program.h"
#include "progress_window.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"
#include "shared_thumbnails.h"
#include "startup.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// The child: the start-up of the program's main(), the settings of a catalogue of twelve, then a
// look after every turn of the event loop until the page is drawn and nothing is left to redo.
int child(int argc, char** argv, const QString& programDir, const QString& folder) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvana"));
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    Browsing browsing;
    Program program(prompter, launcher, browsing.state());
    program.sharedThumbnails = SharedThumbnails::userCache();
    AcquisitionLibrary library(programDir, prompter);
    program.acquisitionLibrary = &library;
    Startup startup(program, library);
    if (!startup.begin(programDir, QDate::currentDate())) {
        return 1;
    }
    USR_SETTINGS& s = program.settings;
    s.CMTX = 4;
    s.CMTY = 3;
    s.CMTT = 12;
    s.UTNT = 0;
    s.SUTW = 0;
    s.CKTD = 0;
    s.DSPM = 1;
    s.BASD = programDir;
    ORVA_WIN window(program);
    ProgressWindow progress(&window);
    progress.install();
    startup.load(window, folder);
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        CatalogueView& view = window.catalogueView();
        if (window.windowHandle() == nullptr || !window.windowHandle()->isExposed() ||
            !view.settled()) {
            return;
        }
        std::printf("drawn\n");
        std::fflush(stdout);
        view.ahead().waitIdle(); // the thumbnails written, for the next start
        const PictureLoader& loader = view.loader();
        for (int i = 0; i < loader.loads(); ++i) {
            std::printf("load %d %d %s\n", loader.loadedBoxes()[i].width(),
                        loader.loadedBoxes()[i].height(), qPrintable(loader.loadedPaths()[i]));
        }
        std::fflush(stdout);
        _exit(0); // nothing of the usual ending: the settings stay as they were
    });
    look.start(0);
    return QApplication::exec();
}

// A program folder with the defaults only, and a home of its own.
struct Installation {
    QTemporaryDir dir;
    QString program() const { return dir.path() + QStringLiteral("/program/"); }
    Installation() {
        for (const char* sub : {"/program", "/home", "/config", "/data", "/cache", "/run"}) {
            QDir().mkpath(dir.path() + QLatin1String(sub));
        }
        QFile::copy(QStringLiteral(ORVANA_PROGRAM_DIR "/DEF_ORVA.CNF"),
                    program() + QStringLiteral("DEF_ORVA.CNF"));
    }
};

struct Start {
    double ms = -1;
    int loads = 0;
    QStringList paths; // the page's files, each at the box it was last decoded for
    QList<QSize> boxes;
};

Start start(const Installation& installation, const char* self) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString root = installation.dir.path();
    env.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), root + QStringLiteral("/cache"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/run"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    Start result;
    const auto begun = Clock::now();
    process.start(QString::fromLocal8Bit(self), {QStringLiteral("--child"), installation.program(),
                                                 PhotoSet::instance().folder()});
    while (process.waitForReadyRead(60000) || process.state() == QProcess::Running) {
        if (process.canReadLine() && process.readLine().startsWith("drawn")) {
            result.ms = std::chrono::duration<double, std::milli>(Clock::now() - begun).count();
            break;
        }
    }
    process.waitForFinished(60000);
    std::map<QString, QSize> last;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() >= 4 && parts[0] == "load") {
            ++result.loads;
            last[QString::fromLocal8Bit(
                line.mid(parts[0].size() + parts[1].size() + parts[2].size() + 3))] =
                QSize(parts[1].toInt(), parts[2].toInt());
        }
    }
    for (const auto& [path, box] : last) {
        result.paths << path;
        result.boxes << box;
    }
    return result;
}

void report(benchmark::State& state, double total, double floor, int loads) {
    state.counters["ms"] = total / double(state.iterations());
    state.counters["floor_ms"] = floor / double(state.iterations());
    state.counters["ratio"] = total / floor;
    state.counters["decodes"] = double(loads) / double(state.iterations());
}

const char* self = nullptr;

// second: the start after one that wrote the thumbnails, in the same home. The floor is that of
// the page's files as the first start decoded them.
void starts(benchmark::State& state, bool second) {
    double total = 0, floor = 0;
    int loads = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Installation installation;
        const Start first = second ? start(installation, self) : Start{};
        state.ResumeTiming();
        const Start s = start(installation, self);
        if (s.ms < 0 || (second && first.ms < 0)) {
            state.SkipWithError("the child never drew its page");
            return;
        }
        state.SetIterationTime(s.ms / 1000.0);
        total += s.ms;
        loads += s.loads;
        floor += second ? PhotoSet::floorMs(first.paths, first.boxes, 1)
                        : PhotoSet::floorMs(s.paths, s.boxes, 1);
    }
    report(state, total, floor, loads);
}

void BM_FirstStart(benchmark::State& state) {
    starts(state, false);
}
BENCHMARK(BM_FirstStart)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_SecondStart(benchmark::State& state) {
    starts(state, true);
}
BENCHMARK(BM_SecondStart)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0) {
        return child(argc, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    self = argv[0];
    return PhotoSet::runBenchmarks(argc, argv);
}
