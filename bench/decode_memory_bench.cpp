// The process's peak memory while the workers read a folder ahead the way the catalogue does:
// sixteen files, the first page of twelve wanted now and the rest later, the window's thread
// taking the first page in cell order. Each case reports "peak_mb" (VmHWM, reset before the
// folder is read) and "resident_mb" (VmRSS once everything is done and the kept pictures are
// forgotten). The folders:
//   SparseAfterPicture   a small valid JPEG followed by a hole up to 600 MB
//   SparseHugeFrame      a JPEG header declaring 16000 x 12000 pixels, its scan a 600 MB hole
//   SparseHugeHeader     the same header without a scan, then the hole
//   LargeTiffs           uncompressed RGB TIFFs of 6000 x 5800 (104 MB each)
// Run: build/bench/decode_memory_bench (the files go to a temporary folder: about 1.7 GB of
// disk for the TIFFs).
#include "decode_ahead.h"
#include "peak_memory.h"
#include "pelmix.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <turbojpeg.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr off_t kSparseBytes = off_t(600) << 20;
constexpr int kFiles = 16;
constexpr int kPage = 12;

// A field of /proc/self/status in megabytes.
double statusMb(const char* field) {
    return double(peak_memory::statusKb(field)) / 1024.0;
}

std::vector<unsigned char> smallJpeg(int width, int height) {
    std::vector<unsigned char> pixels(size_t(width) * height * 3);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<unsigned char>((i * 7) % 251);
    }
    tjhandle tj = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    tjCompress2(tj, pixels.data(), width, 0, height, TJPF_RGB, &jpeg, &size, TJSAMP_420, 85, 0);
    std::vector<unsigned char> bytes(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(tj);
    return bytes;
}

// A JPEG's segments up to (withScan: and including) its scan header, the frame declaring
// width x height.
std::vector<unsigned char> hugeHeader(bool withScan) {
    std::vector<unsigned char> bytes = smallJpeg(16, 16);
    size_t pos = 2;
    while (pos + 4 <= bytes.size() && bytes[pos] == 0xFF) {
        const unsigned char code = bytes[pos + 1];
        const size_t length = size_t(bytes[pos + 2]) << 8 | bytes[pos + 3];
        if (code == 0xC0) {
            bytes[pos + 5] = 12000 >> 8;
            bytes[pos + 6] = 12000 & 0xFF;
            bytes[pos + 7] = 16000 >> 8;
            bytes[pos + 8] = 16000 & 0xFF;
        } else if (code == 0xDA) {
            bytes.resize(withScan ? pos + 2 + length : pos);
            break;
        }
        pos += 2 + length;
    }
    return bytes;
}

void writeSparse(const QString& path, const std::vector<unsigned char>& head) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool written =
        fd >= 0 && ::write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size()) &&
        ::ftruncate(fd, kSparseBytes) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    if (!written) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
}

// One 104 MB picture saved by the library, copied under the other names.
void writeTiffs(const QString& folder) {
    constexpr int32_t width = 6000, height = 5800;
    const uint32_t stride = ((width * 24 + 31) / 32) * 4;
    HGLOBAL image = GlobalAlloc(GMEM_MOVEABLE, sizeof(PELMIX_BITMAPINFOHEADER) + stride * height);
    auto* header = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(image));
    *header = PELMIX_BITMAPINFOHEADER{40, width, height, 1, 24, PELMIX_BI_RGB, 0, 0, 0, 0, 0};
    auto* pixels = reinterpret_cast<uint8_t*>(header + 1);
    for (size_t i = 0; i < size_t(stride) * height; ++i) {
        pixels[i] = static_cast<uint8_t>(i % 253);
    }
    GlobalUnlock(image);
    const QString first = folder + QStringLiteral("/picture00.tif");
    PelmixTiffFileSave(QFile::encodeName(first).constData(), image, nullptr, nullptr,
                       PELMIX_TIFF_NONE);
    PelmixMemFree(image);
    for (int i = 1; i < kFiles; ++i) {
        QFile::copy(first,
                    folder + QStringLiteral("/picture%1.tif").arg(i, 2, 10, QLatin1Char('0')));
    }
}

QSize shownIn(QSize natural, QSize cell) {
    return natural.isEmpty() ? QSize() : natural.scaled(cell, Qt::KeepAspectRatio);
}

// Reads the folder as the catalogue does and reports the memory it took.
void readFolder(benchmark::State& state, const QString& folder, const char* suffix) {
    QStringList paths;
    for (int i = 0; i < kFiles; ++i) {
        paths << folder + QStringLiteral("/picture%1.%2")
                              .arg(i, 2, 10, QLatin1Char('0'))
                              .arg(QLatin1String(suffix));
    }
    const QSize cell(280, 250);
    QTemporaryDir cache;
    double peak = 0, resident = 0;
    for (auto _ : state) {
        DecodeAhead ahead{SharedThumbnails(cache.path())};
        std::vector<DecodeAhead::Request> page, next;
        for (int i = 0; i < kFiles; ++i) {
            DecodeAhead::Request request{paths[i], cell, true,
                                         [cell](QSize natural) { return shownIn(natural, cell); }};
            (i < kPage ? page : next).push_back(request);
        }
        if (!peak_memory::resetPeak()) {
            state.SkipWithError("the peak memory cannot be reset here");
            return;
        }
        ahead.wantNow(page);
        int shown = 0;
        for (const DecodeAhead::Request& request : page) {
            shown += ahead.take(request).image.isNull() ? 0 : 1;
        }
        ahead.wantLater(next);
        ahead.waitIdle();
        peak = statusMb("VmHWM");
        ahead.forget();
        resident = statusMb("VmRSS");
        state.counters["shown"] = shown;
    }
    state.counters["peak_mb"] = peak;
    state.counters["resident_mb"] = resident;
}

void BM_SparseAfterPicture(benchmark::State& state) {
    QTemporaryDir folder;
    const std::vector<unsigned char> jpeg = smallJpeg(640, 480);
    for (int i = 0; i < kFiles; ++i) {
        writeSparse(
            folder.filePath(QStringLiteral("picture%1.jpg").arg(i, 2, 10, QLatin1Char('0'))), jpeg);
    }
    readFolder(state, folder.path(), "jpg");
}
BENCHMARK(BM_SparseAfterPicture)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SparseHugeFrame(benchmark::State& state) {
    QTemporaryDir folder;
    const std::vector<unsigned char> head = hugeHeader(true);
    for (int i = 0; i < kFiles; ++i) {
        writeSparse(
            folder.filePath(QStringLiteral("picture%1.jpg").arg(i, 2, 10, QLatin1Char('0'))), head);
    }
    readFolder(state, folder.path(), "jpg");
}
BENCHMARK(BM_SparseHugeFrame)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SparseHugeHeader(benchmark::State& state) {
    QTemporaryDir folder;
    const std::vector<unsigned char> head = hugeHeader(false);
    for (int i = 0; i < kFiles; ++i) {
        writeSparse(
            folder.filePath(QStringLiteral("picture%1.jpg").arg(i, 2, 10, QLatin1Char('0'))), head);
    }
    readFolder(state, folder.path(), "jpg");
}
BENCHMARK(BM_SparseHugeHeader)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LargeTiffs(benchmark::State& state) {
    QTemporaryDir folder;
    writeTiffs(folder.path());
    readFolder(state, folder.path(), "tif");
}
BENCHMARK(BM_LargeTiffs)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
