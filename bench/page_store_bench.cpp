// Storing acquired pages as JPEG: 100 A4 colour pages at 300 dpi (2480 x 3508, 24-bit BMP page
// files), quality 75, through the page store, beside libjpeg-turbo's cjpeg on the same files.
// The store converts one page at a time, so its peak memory after 10 pages and after 100 pages
// must be the same; both are reported as counters (ru_maxrss, KiB).
#include "browsing_state.h"
#include "kept_pages.h"
#include "page_file_names.h"
#include "page_store.h"
#include "pelmix.h"
#include "program.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWidth = 2480;
constexpr int kHeight = 3508;
constexpr int kPages = 100;

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    put16(b, at, v & 0xffff);
    put16(b, at + 2, v >> 16);
}

// A scanned-looking page (smooth shading, text-like strokes, a little noise) written row by row,
// so that making it costs no page-sized buffer in this process.
bool writeTemplatePage(const QString& path) {
    const uint32_t stride = (kWidth * 3 + 3) & ~3u;
    std::vector<uint8_t> header(54, 0);
    header[0] = 'B';
    header[1] = 'M';
    put32(header, 2, 54 + stride * kHeight);
    put32(header, 10, 54);
    put32(header, 14, 40);
    put32(header, 18, kWidth);
    put32(header, 22, kHeight);
    put16(header, 26, 1);
    put16(header, 28, 24);
    put32(header, 34, stride * kHeight);
    put32(header, 38, 11811); // 300 dpi in pixels per metre
    put32(header, 42, 11811);
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(header.data(), 1, header.size(), file) == header.size();
    std::vector<uint8_t> row(stride, 0);
    uint32_t noise = 12345;
    for (int y = kHeight - 1; y >= 0 && ok; --y) {
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int jitter = int((noise >> 16) & 7) - 4;
            const bool stroke =
                (y / 40) % 3 == 0 && (x / 7 + y / 5) % 11 < 3 && x > 200 && x < kWidth - 200;
            const int base = stroke ? 30 : 225;
            row[x * 3] = uint8_t(std::clamp(base + x * 20 / kWidth + jitter, 0, 255));
            row[x * 3 + 1] = uint8_t(std::clamp(base + y * 20 / kHeight + jitter, 0, 255));
            row[x * 3 + 2] = uint8_t(std::clamp(base - 10 + jitter, 0, 255));
        }
        ok = std::fwrite(row.data(), 1, row.size(), file) == row.size();
    }
    return std::fclose(file) == 0 && ok;
}

struct Pages {
    QTemporaryDir dir;
    QString templatePath;
    bool ready = false;
    Pages() {
        templatePath = dir.path() + QStringLiteral("/page.bmp");
        ready = dir.isValid() && writeTemplatePage(templatePath);
    }
};

Pages& pages() {
    static Pages made;
    return made;
}

void clearFolder(const QString& folder) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
}

void BM_StorePagesAsJpeg(benchmark::State& state) {
    Pages& source = pages();
    if (!source.ready) {
        state.SkipWithError("could not write the page file");
        return;
    }
    ScriptedPrompter prompter; // answers every box with its default button
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program(prompter, launcher, browsing);
    program.ACQ_DIR = source.dir.path() + QStringLiteral("/acq/");
    program.PROGRAM_DIR = source.dir.path() + QStringLiteral("/prog/");
    program.settings.NTOP = QStringLiteral("IMG");
    program.settings.SCNN = 3;
    program.settings.SVMD = 1;
    program.settings.JPGP = 75;
    long peakAfter10 = 0;
    int stored = 0;
    for (auto _ : state) {
        state.PauseTiming();
        clearFolder(program.ACQ_DIR);
        state.ResumeTiming();
        KeptPages kept(program);
        PageStore store(program, kept);
        store.beginStep();
        int64_t next = 1;
        for (int k = 0; k < kPages; ++k, ++next) {
            // Each page file is a fresh copy, as the acquisition library would have written it.
            state.PauseTiming();
            QFile::copy(source.templatePath, program.ACQ_DIR + page_file_names::name(k));
            state.ResumeTiming();
            if (!store.storePage(k, next).isEmpty())
                ++stored;
            if (k + 1 == 10)
                peakAfter10 = peakKiB();
        }
        store.endStep();
    }
    PelmixMemFree(program.browse.WORK_IMAGE);
    program.browse.WORK_IMAGE = nullptr;
    state.counters["pages"] = stored;
    state.counters["peak_kib_after_10"] = double(peakAfter10);
    state.counters["peak_kib_after_100"] = double(peakKiB());
    state.SetItemsProcessed(int64_t(state.iterations()) * kPages);
    clearFolder(program.ACQ_DIR);
}

bool runCjpeg(const QString& cjpeg, const QString& in, const QString& out) {
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        const QByteArray program = QFile::encodeName(cjpeg);
        const QByteArray input = QFile::encodeName(in);
        const QByteArray output = QFile::encodeName(out);
        execl(program.constData(), "cjpeg", "-quality", "75", "-outfile", output.constData(),
              input.constData(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_CjpegSameFiles(benchmark::State& state) {
    const QString cjpeg = QStandardPaths::findExecutable(QStringLiteral("cjpeg"));
    if (cjpeg.isEmpty()) {
        state.SkipWithError("cjpeg is not on PATH (package libjpeg-turbo-progs): nothing to "
                            "compare with");
        return;
    }
    Pages& source = pages();
    if (!source.ready) {
        state.SkipWithError("could not write the page file");
        return;
    }
    const QString out = source.dir.path() + QStringLiteral("/cjpeg/");
    for (auto _ : state) {
        state.PauseTiming();
        clearFolder(out);
        state.ResumeTiming();
        for (int k = 0; k < kPages; ++k) {
            state.PauseTiming();
            const QString page = out + page_file_names::name(k);
            QFile::copy(source.templatePath, page);
            state.ResumeTiming();
            if (!runCjpeg(cjpeg, page,
                          out + QStringLiteral("IMG%1.jpg").arg(k + 1, 3, 10, QLatin1Char('0')))) {
                state.SkipWithError("cjpeg failed");
                return;
            }
            state.PauseTiming();
            QFile::remove(page);
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kPages);
    clearFolder(out);
}

} // namespace

BENCHMARK(BM_StorePagesAsJpeg)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CjpegSameFiles)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
