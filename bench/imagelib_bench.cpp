// Timings of the image library on realistic sizes: a 24-megapixel camera picture, an A4 page
// scanned at 300 dpi and a huge bilevel page in a tiny file. The input files are made once, in a
// temporary folder removed at exit.
#include "pelmix.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

constexpr int32_t kPhotoWidth = 6000;
constexpr int32_t kPhotoHeight = 4000;
constexpr int32_t kPageWidth = 2480;
constexpr int32_t kPageHeight = 3508;
constexpr int32_t k300Dpi = 11811; // pixels per metre

// A bottom-up 24-bit image whose pixel (x, y), y = 0 at the top, is set by fill(x, y, bgr).
template <typename Fill> HGLOBAL makeImage(int32_t width, int32_t height, Fill fill) {
    const size_t stride = ((static_cast<size_t>(width) * 24 + 31) / 32) * 4;
    HGLOBAL image = GlobalAlloc(GHND, 40 + stride * height);
    if (image == nullptr) {
        return nullptr;
    }
    auto* header = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(image));
    *header = PELMIX_BITMAPINFOHEADER{
        40,      width,   height, 1, 24, PELMIX_BI_RGB, static_cast<uint32_t>(stride * height),
        k300Dpi, k300Dpi, 0,      0};
    auto* bits = reinterpret_cast<uint8_t*>(header + 1);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = bits + (height - 1 - y) * stride;
        for (int32_t x = 0; x < width; ++x) {
            fill(x, y, row + 3 * x);
        }
    }
    GlobalUnlock(image);
    return image;
}

uint8_t clampByte(int value) {
    return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// Smooth gradients with sensor-like noise: compresses like a photograph, unlike flat test cards.
// Cameras filter colour noise much harder than brightness noise, so the noise is shared by the
// three channels.
HGLOBAL makePhoto() {
    uint32_t state = 12345;
    return makeImage(kPhotoWidth, kPhotoHeight, [&](int32_t x, int32_t y, uint8_t* bgr) {
        state = state * 1664525u + 1013904223u;
        const int noise = static_cast<int>((state >> 24) % 7) - 3;
        bgr[0] = clampByte(x * 255 / kPhotoWidth + noise);
        bgr[1] = clampByte((x + y) * 255 / (kPhotoWidth + kPhotoHeight) + noise);
        bgr[2] = clampByte(y * 255 / kPhotoHeight + noise);
    });
}

// White paper with lines of dark "text" blocks and a little paper grain.
HGLOBAL makePage() {
    uint32_t state = 777;
    return makeImage(kPageWidth, kPageHeight, [&](int32_t x, int32_t y, uint8_t* bgr) {
        state = state * 1664525u + 1013904223u;
        const bool margin = x < 250 || x > kPageWidth - 250 || y < 300 || y > kPageHeight - 300;
        const bool ink = !margin && (y % 60) < 30 && ((x / 18) % 7) != 0 && ((x * 7 + y) % 5) != 0;
        const uint8_t value = ink ? 30 : static_cast<uint8_t>(245 + (state >> 29));
        bgr[0] = bgr[1] = bgr[2] = value;
    });
}

// A 16384 x 16384 bilevel page, white but for a black square: a few kilobytes of Group 4 that
// claim 256 megapixels, as a catalogue cell meets them.
HGLOBAL makeHugeBilevel() {
    constexpr int32_t side = 16384;
    constexpr size_t stride = side / 8;
    HGLOBAL image = GlobalAlloc(GHND, 40 + 8 + stride * side);
    if (image == nullptr) {
        return nullptr;
    }
    auto* header = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(image));
    *header = PELMIX_BITMAPINFOHEADER{
        40,      side,    side, 1, 1, PELMIX_BI_RGB, static_cast<uint32_t>(stride * side),
        k300Dpi, k300Dpi, 2,    0};
    auto* colours = reinterpret_cast<uint8_t*>(header + 1);
    std::memset(colours + 4, 255, 3); // index 1 white
    uint8_t* bits = colours + 8;
    std::memset(bits, 0xFF, stride * side);
    for (int32_t y = 1000; y < 3000; ++y) {
        std::memset(bits + y * stride + 125, 0, 250);
    }
    GlobalUnlock(image);
    return image;
}

struct Inputs {
    std::filesystem::path folder;
    std::string photo;
    std::string page;
    std::string hugePage;
    bool ready = false;

    Inputs() {
        std::error_code error;
        folder = std::filesystem::temp_directory_path(error) /
                 ("imagelib_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder, error);
        photo = (folder / "photo.jpg").string();
        page = (folder / "page.bmp").string();
        HGLOBAL image = makePhoto();
        ready = image != nullptr && PelmixJpegFileSave(photo.c_str(), image, "", "", 85, 0) != 0;
        PelmixMemFree(image);
        image = makePage();
        ready = ready && image != nullptr && PelmixBmpFileSave(page.c_str(), image, "", "", 0) != 0;
        PelmixMemFree(image);
        hugePage = (folder / "huge.tif").string();
        image = makeHugeBilevel();
        ready = ready && image != nullptr &&
                PelmixTiffFileSave(hugePage.c_str(), image, "", "", PELMIX_TIFF_GROUP4) != 0;
        PelmixMemFree(image);
    }
    ~Inputs() {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }
    std::string output(const char* name) const { return (folder / name).string(); }
};

const Inputs& inputs() {
    static const Inputs made;
    return made;
}

bool haveInputs(benchmark::State& state) {
    if (!inputs().ready) {
        state.SkipWithError("could not make the input files");
        return false;
    }
    return true;
}

void JpegDecodeFull(benchmark::State& state) {
    if (!haveInputs(state)) {
        return;
    }
    for (auto _ : state) {
        HGLOBAL image = PelmixFileLoad(inputs().photo.c_str(), "", "");
        if (image == nullptr) {
            state.SkipWithError("decode failed");
            break;
        }
        PelmixMemFree(image);
    }
}

void JpegDecodeEighth(benchmark::State& state) {
    if (!haveInputs(state)) {
        return;
    }
    for (auto _ : state) {
        IMAGE_INFO info;
        HGLOBAL image = PelmixFileLoadFit(inputs().photo.c_str(), 750, 500, &info);
        if (image == nullptr) {
            state.SkipWithError("decode failed");
            break;
        }
        PelmixMemFree(image);
    }
}

// The huge bilevel TIFF for one catalogue cell.
void TiffHugeFitted(benchmark::State& state) {
    if (!haveInputs(state)) {
        return;
    }
    for (auto _ : state) {
        IMAGE_INFO info;
        HGLOBAL image = PelmixFileLoadFit(inputs().hugePage.c_str(), 250, 170, &info);
        if (image == nullptr) {
            state.SkipWithError("decode failed");
            break;
        }
        PelmixMemFree(image);
    }
}

void BmpToJpeg(benchmark::State& state) {
    if (!haveInputs(state)) {
        return;
    }
    const std::string out = inputs().output("page.jpg");
    for (auto _ : state) {
        HGLOBAL image = PelmixFileLoad(inputs().page.c_str(), "", "");
        const bool saved =
            image != nullptr && PelmixJpegFileSave(out.c_str(), image, "", "", 75, 0) != 0;
        PelmixMemFree(image);
        if (!saved) {
            state.SkipWithError("BMP to JPEG failed");
            break;
        }
    }
}

void BmpToTiffPackBits(benchmark::State& state) {
    if (!haveInputs(state)) {
        return;
    }
    const std::string out = inputs().output("page.tif");
    for (auto _ : state) {
        HGLOBAL image = PelmixFileLoad(inputs().page.c_str(), "", "");
        const bool saved = image != nullptr && PelmixTiffFileSave(out.c_str(), image, "", "",
                                                                  PELMIX_TIFF_PACKBITS) != 0;
        PelmixMemFree(image);
        if (!saved) {
            state.SkipWithError("BMP to TIFF (PackBits) failed");
            break;
        }
    }
}

// Fifty camera photographs into one PDF, against copying the same files in the same run: the PDF
// embeds each JPEG as it stands, so it should cost little more than the copy. vs_copy is the
// ratio of the two times.
void PdfOfFiftyPhotos(benchmark::State& state) {
    if (!haveInputs(state)) {
        return;
    }
    constexpr int kPhotos = 50;
    const std::string out = inputs().output("photos.pdf");
    double pdfSeconds = 0, copySeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kPhotos; ++i) {
            std::filesystem::copy_file(
                inputs().photo, inputs().output(("copy" + std::to_string(i) + ".jpg").c_str()),
                std::filesystem::copy_options::overwrite_existing);
        }
        const auto copied = std::chrono::steady_clock::now();
        PELMIX_PDF* pdf = PelmixPdfCreate();
        bool made = pdf != nullptr;
        for (int i = 0; made && i < kPhotos; ++i) {
            made = PelmixPdfAddFile(pdf, inputs().photo.c_str(), 1) != 0;
        }
        made = made && PelmixPdfSave(pdf, out.c_str()) != 0;
        PelmixPdfFree(pdf);
        const auto written = std::chrono::steady_clock::now();
        if (!made) {
            state.SkipWithError("PDF failed");
            break;
        }
        copySeconds += std::chrono::duration<double>(copied - start).count();
        pdfSeconds += std::chrono::duration<double>(written - copied).count();
    }
    if (copySeconds > 0) {
        state.counters["vs_copy"] = pdfSeconds / copySeconds;
    }
}

// The words of eight typed letters (A4 at 200 dpi, set by ImageMagick) read into their PDF on
// one thread and on two: ms_per_page with two threads, and two_vs_one, the ratio of the times.
void PdfWordsOfEightLetters(benchmark::State& state) {
    const std::string data = "/usr/share/tesseract-ocr/5/tessdata";
    const std::string letter = inputs().output("letter.tif");
    std::string make = "convert -size 1654x2339 xc:white -pointsize 26 -fill black";
    for (int line = 1; line <= 55; ++line) {
        make += " -annotate +150+" + std::to_string(150 + 36 * line) +
                " 'The scanned letter of line " + std::to_string(line) +
                " keeps each of its words searchable.'";
    }
    make +=
        " -type Grayscale -depth 8 -units PixelsPerInch -density 200 '" + letter + "' 2>/dev/null";
    if (!std::filesystem::exists(data + "/eng.traineddata") ||
        (!std::filesystem::exists(letter) && std::system(make.c_str()) != 0)) {
        state.SkipWithError("ImageMagick or the English word data is missing");
        return;
    }
    constexpr int kPages = 8;
    const std::string out = inputs().output("letters.pdf");
    double seconds[3] = {};
    for (auto _ : state) {
        for (int threads : {1, 2}) {
            const auto start = std::chrono::steady_clock::now();
            PELMIX_PDF* pdf = PelmixPdfCreate();
            for (int i = 0; i < kPages; ++i) {
                PelmixPdfAddFile(pdf, letter.c_str(), 0);
            }
            PelmixPdfSetText(pdf, data.c_str(), "eng", threads);
            const bool made =
                PelmixPdfSave(pdf, out.c_str()) != 0 && PelmixPdfTextPages(pdf) == kPages;
            PelmixPdfFree(pdf);
            if (!made) {
                state.SkipWithError("the words were not read");
                return;
            }
            seconds[threads] +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
    }
    if (seconds[1] > 0 && state.iterations() > 0) {
        state.counters["ms_per_page"] = seconds[2] * 1000 / kPages / double(state.iterations());
        state.counters["two_vs_one"] = seconds[2] / seconds[1];
    }
}

} // namespace

BENCHMARK(PdfOfFiftyPhotos)->Unit(benchmark::kMillisecond);
BENCHMARK(PdfWordsOfEightLetters)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(JpegDecodeFull)->Unit(benchmark::kMillisecond);
BENCHMARK(JpegDecodeEighth)->Unit(benchmark::kMillisecond);
BENCHMARK(TiffHugeFitted)->Unit(benchmark::kMillisecond);
BENCHMARK(BmpToJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BmpToTiffPackBits)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
