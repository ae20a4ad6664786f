// Cleaning an A4 page of text at 300 dpi (2480 x 3508 grey, skewed 3 degrees, inside a dark
// frame): each step alone and all four together, beside unpaper (the tool a user would run on
// scanned pages instead, with its own mask, border, deskew and filter steps) on the same page,
// in the same run. vs_unpaper is our time over unpaper's; steps run on one core (the text's
// orientation in the helper process it starts).
#include "pelmix.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
const char* const kTextData = "/usr/share/tesseract-ocr/5/tessdata";

struct Page {
    Page() {
        folder = std::filesystem::temp_directory_path() /
                 ("orvana-clean-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::string draw = "convert -units PixelsPerInch -density 300 -size 2320x3348 xc:white "
                           "-font /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc "
                           "-pointsize 10 -fill black";
        for (int line = 0; line < 45; ++line) {
            draw += " -annotate +200+" + std::to_string(250 + 65 * line) +
                    " 'The quarterly report was sent to the members of the board in March, "
                    "line " +
                    std::to_string(line + 1) + ".'";
        }
        // Skewed on the glass, and the lid's dark frame around it.
        draw += " -background white -rotate 3 -gravity center -extent 2320x3348"
                " -bordercolor '#111111' -border 80 -type Grayscale";
        const std::string base = (folder / "page").string();
        ok = std::system(
                 (draw + " BMP3:" + base + ".bmp && convert " + base + ".bmp " + base + ".pgm")
                     .c_str()) == 0;
        image = ok ? PelmixFileLoad((base + ".bmp").c_str(), "", "") : nullptr;
        pgm = base + ".pgm";
    }
    ~Page() {
        PelmixMemFree(image);
        std::filesystem::remove_all(folder);
    }
    std::filesystem::path folder;
    std::string pgm;
    HGLOBAL image = nullptr;
    bool ok = false;
};

Page& page() {
    static Page made;
    return made;
}

double cleanSeconds(const PELMIX_CLEANING& steps) {
    const auto began = Clock::now();
    PELMIX_CLEANED found{};
    PelmixMemFree(PelmixCleanPage(page().image, &steps, &found));
    return std::chrono::duration<double>(Clock::now() - began).count();
}

double unpaperSeconds() {
    const std::string out = (page().folder / "unpaper.pgm").string();
    const auto began = Clock::now();
    if (std::system(
            ("unpaper --overwrite -q '" + page().pgm + "' '" + out + "' 2>/dev/null").c_str()) !=
        0) {
        return 0;
    }
    return std::chrono::duration<double>(Clock::now() - began).count();
}

// state.range(0): 0 cut borders, 1 straighten, 2 upright, 3 blank, 4 all four.
void BM_CleanA4Page(benchmark::State& state) {
    if (!page().ok || page().image == nullptr) {
        state.SkipWithError("ImageMagick could not make the page");
        return;
    }
    const int step = int(state.range(0));
    const PELMIX_CLEANING steps{step == 0 || step == 4,
                                step == 1 || step == 4,
                                step == 2 || step == 4,
                                step == 3 || step == 4,
                                50,
                                kTextData};
    double ours = 0;
    double theirs = 0;
    for (auto _ : state) {
        const double seconds = cleanSeconds(steps);
        ours += seconds;
        theirs += unpaperSeconds();
        state.SetIterationTime(seconds);
    }
    const double n = double(state.iterations());
    state.counters["ms"] = 1000 * ours / n;
    state.counters["unpaper_ms"] = 1000 * theirs / n;
    state.counters["vs_unpaper"] = theirs > 0 ? ours / theirs : 0;
}
BENCHMARK(BM_CleanA4Page)
    ->DenseRange(0, 4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

BENCHMARK_MAIN();
