// The adjustment dialog on a 24-megapixel photograph (6000 x 4000): a move of the brightness bar
// and the redraw it causes, through the dialog, which draws from a copy reduced to its frame;
// beside the same adjustment and drawing done on the full-size picture.
#include "adjust_image.h"
#include "browsing_state.h"
#include "cnf_win.h"
#include "orva_win.h"
#include "pelmix_view.h"
#include "program.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

// A photograph-like JPEG: smooth shading with some texture.
struct Photo {
    QTemporaryDir dir;
    QString name = QStringLiteral("photo.jpg");

    Photo() {
        QImage pixels(kWidth, kHeight, QImage::Format_RGB888);
        for (int y = 0; y < kHeight; ++y) {
            uchar* row = pixels.scanLine(y);
            for (int x = 0; x < kWidth; ++x) {
                const unsigned texture = (x * 7919u + y * 104729u) % 23u;
                row[3 * x] = uchar(x * 255 / kWidth ^ texture);
                row[3 * x + 1] = uchar(y * 255 / kHeight + texture);
                row[3 * x + 2] = uchar(128 + 100 * std::sin((x + y) / 300.0));
            }
        }
        HGLOBAL image = PelmixFromQImage(pixels);
        PelmixJpegFileSave(dir.filePath(name).toLocal8Bit().constData(), image, "", "", 90, 0);
        PelmixMemFree(image);
    }
};

Photo& photo() {
    static Photo made;
    return made;
}

struct OpenDialog {
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    ORVA_WIN window{program};
    CNF_WIN* dialog = nullptr;

    OpenDialog() {
        program.settings.UTNT = 0;
        program.settings.CFDM = 0;
        program.browse.DISP_DIR = photo().dir.path() + QLatin1Char('/');
        window.resize(1200, 800);
        window.show();
        program.browse.CAT_CURRENT = photo().name;
        window.MNU_FILE_CNF->trigger();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<CNF_WIN*>(top)) {
                dialog = d;
            }
        }
    }
    ~OpenDialog() {
        if (dialog != nullptr) {
            dialog->close();
        }
    }
};

// The user moves the brightness bar: the dialog adjusts its reduced copy and draws it.
void BM_BarRedraw(benchmark::State& state) {
    OpenDialog open;
    if (open.dialog == nullptr) {
        state.SkipWithError("the dialog did not open");
        return;
    }
    int value = 0;
    for (auto _ : state) {
        value = value == 40 ? -40 : 40;
        open.dialog->BRIGHT->setValue(value);
    }
    state.counters["img_w"] = open.dialog->IMG->width();
    state.counters["img_h"] = open.dialog->IMG->height();
}
BENCHMARK(BM_BarRedraw)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The same adjustment of the full-size picture, drawn shrunk to the same frame.
void BM_BarRedrawFullSize(benchmark::State& state) {
    AdjustImage image;
    image.load(photo().dir.filePath(photo().name));
    const QSize shown = QSize(kWidth, kHeight).scaled(QSize(570, 600), Qt::KeepAspectRatio);
    QImage canvas(shown, QImage::Format_RGB32);
    int value = 0;
    for (auto _ : state) {
        value = value == 40 ? -40 : 40;
        HGLOBAL result = AdjustImage::adjusted(image.base(), value, 0, 0, 0);
        QPainter painter(&canvas);
        HDC dc = PelmixCreatePainterDC(&painter);
        PelmixDisplayHdc(dc, result, canvas.width(), canvas.height(), 1);
        PelmixDeleteDC(dc);
        PelmixMemFree(result);
    }
}
BENCHMARK(BM_BarRedrawFullSize)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    photo();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
