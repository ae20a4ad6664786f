// Filling a twelve-cell catalogue page of 24-megapixel JPEGs (6000 x 4000) through the
// catalogue's own drawing, beside libjpeg-turbo decoding the same files at the same reduced
// scale, which is the floor for any reader of these files.
#include "catalogue_view.h"
#include "display_refresh.h"
#include "launcher.h"
#include "orva_win.h"
#include "program.h"
#include "prompter.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <turbojpeg.h>
#include <vector>

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr int kFiles = 12;

// A folder of twelve photographs of the same size: smooth shading with some texture, so the
// entropy decoder has realistic work.
struct Pictures {
    QTemporaryDir dir;
    QStringList paths;

    Pictures() {
        std::vector<unsigned char> pixels(size_t(kWidth) * kHeight * 3);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                unsigned char* p = &pixels[(size_t(y) * kWidth + x) * 3];
                const unsigned texture = (x * 7919u + y * 104729u) % 23u;
                p[0] = static_cast<unsigned char>(x * 255 / kWidth ^ texture);
                p[1] = static_cast<unsigned char>(y * 255 / kHeight + texture);
                p[2] = static_cast<unsigned char>(128 + 100 * std::sin((x + y) / 300.0));
            }
        }
        tjhandle compressor = tjInitCompress();
        unsigned char* jpeg = nullptr;
        unsigned long size = 0;
        tjCompress2(compressor, pixels.data(), kWidth, 0, kHeight, TJPF_RGB, &jpeg, &size,
                    TJSAMP_420, 90, 0);
        for (int i = 0; i < kFiles; ++i) {
            const QString path =
                dir.filePath(QStringLiteral("photo%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
            QFile file(path);
            if (file.open(QIODevice::WriteOnly)) {
                file.write(reinterpret_cast<const char*>(jpeg), qint64(size));
            }
            paths << path;
        }
        tjFree(jpeg);
        tjDestroy(compressor);
    }
};

Pictures& pictures() {
    static Pictures made;
    return made;
}

// The catalogue redrawing the page in place with every cell marked as changed, so each of the
// twelve pictures is read and drawn again.
void BM_CatalogueFill(benchmark::State& state) {
    ScriptedPrompter prompter; // answers every box with its default button
    RecordingLauncher launcher;
    Program program(prompter, launcher);
    program.settings.CMTX = 4;
    program.settings.CMTY = 3;
    program.settings.CMTT = 12;
    program.settings.UTNT = 0;
    program.browse.DISP_DIR = pictures().dir.path() + QLatin1Char('/');
    ORVA_WIN window(program);
    window.resize(1200, 800);
    window.show();
    window.displayRefresh().displayFolderChanged();
    const QSize box = window.DSP8_IMG[0]->size();
    for (auto _ : state) {
        program.browse.PAGE_DATE.fill(QStringLiteral("DUMMY"));
        window.catalogueView().ahead().forget();
        window.displayRefresh().redrawInPlace();
    }
    state.counters["cell_w"] = box.width();
    state.counters["cell_h"] = box.height();
    state.counters["loads"] = window.catalogueView().loader().loads();
}
BENCHMARK(BM_CatalogueFill)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// libjpeg-turbo alone: each file read and decoded at 1/8 scale, the scale the catalogue's cells
// need from these photographs.
void BM_TurboJpegFloor(benchmark::State& state) {
    tjhandle decompressor = tjInitDecompress();
    std::vector<unsigned char> out;
    for (auto _ : state) {
        for (const QString& path : pictures().paths) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            const QByteArray data = file.readAll();
            const int width = TJSCALED(kWidth, (tjscalingfactor{1, 8}));
            const int height = TJSCALED(kHeight, (tjscalingfactor{1, 8}));
            out.resize(size_t(width) * height * 3);
            tjDecompress2(decompressor, reinterpret_cast<const unsigned char*>(data.constData()),
                          static_cast<unsigned long>(data.size()), out.data(), width, 0, height,
                          TJPF_BGR, 0);
            benchmark::DoNotOptimize(out.data());
        }
    }
    tjDestroy(decompressor);
}
BENCHMARK(BM_TurboJpegFloor)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    pictures();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
