#include "photo_set.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <turbojpeg.h>
#include <vector>

QString PhotoSet::chosen_;

namespace {

struct Kind {
    int width;
    int height;
    int sampling;
    bool progressive;
};

const Kind kKinds[] = {
    {6000, 4000, TJSAMP_420, false},  {6000, 4000, TJSAMP_420, true},
    {4000, 3000, TJSAMP_444, false},  {4000, 3000, TJSAMP_444, true},
    {2560, 1600, TJSAMP_GRAY, false}, {2560, 1600, TJSAMP_GRAY, true},
    {5184, 3456, TJSAMP_422, false},  {5184, 3456, TJSAMP_420, true},
    {3000, 4000, TJSAMP_420, false},  {4608, 3072, TJSAMP_420, true},
    {2560, 1600, TJSAMP_420, false},  {6000, 4000, TJSAMP_444, true},
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program's rule: the smallest DCT scale whose result still covers the picture fitted
// into the box; no box, no reduction.
tjscalingfactor scaleFor(int width, int height, QSize box) {
    if (box.isEmpty()) {
        return {1, 1}; // the picture whole
    }
    const QSize wanted = width <= box.width() && height <= box.height()
                             ? QSize(width, height)
                             : QSize(width, height).scaled(box, Qt::KeepAspectRatio);
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    tjscalingfactor best{1, 1};
    for (int i = 0; i < count; ++i) {
        const tjscalingfactor f = factors[i];
        if (f.num <= f.denom && TJSCALED(width, f) >= wanted.width() &&
            TJSCALED(height, f) >= wanted.height() && f.num * best.denom < best.num * f.denom) {
            best = f;
        }
    }
    return best;
}

} // namespace

// Soft shapes, a gradient and grain, so that the entropy decoder has the work of a photograph.
std::vector<unsigned char> PhotoSet::photograph(int width, int height, unsigned variant) {
    const Kind kind{width, height, TJSAMP_420, false};
    std::vector<unsigned char> pixels(size_t(kind.width) * kind.height * 3);
    uint32_t noise = 2463534242u + variant * 7919u;
    for (int y = 0; y < kind.height; ++y) {
        const double v = double(y) / kind.height;
        for (int x = 0; x < kind.width; ++x) {
            const double u = double(x) / kind.width;
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int grain = int(noise % 21) - 10;
            const double shape = 60 * std::sin(9 * u + variant) * std::cos(7 * v - variant);
            unsigned char* p = &pixels[(size_t(y) * kind.width + x) * 3];
            p[0] =
                static_cast<unsigned char>(std::clamp(int(90 + 120 * u + shape) + grain, 0, 255));
            p[1] =
                static_cast<unsigned char>(std::clamp(int(70 + 140 * v - shape) + grain, 0, 255));
            p[2] = static_cast<unsigned char>(
                std::clamp(int(128 + 90 * std::sin(20 * u * v + variant)) + grain, 0, 255));
        }
    }
    return pixels;
}

void PhotoSet::chooseFolder(int& argc, char** argv) {
    chosen_ = QString::fromLocal8Bit(qgetenv("ORVANA_BENCH_FOLDER"));
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--folder=", 9) == 0) {
            chosen_ = QString::fromLocal8Bit(argv[i] + 9);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
}

int PhotoSet::runBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    chooseFolder(argc, argv);
    QApplication application(argc, argv);
    instance();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

PhotoSet& PhotoSet::instance() {
    static PhotoSet set;
    return set;
}

PhotoSet::PhotoSet() {
    if (!chosen_.isEmpty()) {
        folder_ = chosen_.endsWith(QLatin1Char('/')) ? chosen_ : chosen_ + QLatin1Char('/');
        std::fprintf(stderr, "photographs: %s\n", qPrintable(folder_));
        return;
    }
    make();
}

void PhotoSet::make() {
    made_ = std::make_unique<QTemporaryDir>();
    folder_ = made_->path() + QLatin1Char('/');
    tjhandle compressor = tjInitCompress();
    unsigned variant = 0;
    for (const Kind& kind : kKinds) {
        const std::vector<unsigned char> pixels = photograph(kind.width, kind.height, variant);
        unsigned char* jpeg = nullptr;
        unsigned long size = 0;
        tjCompress2(compressor, pixels.data(), kind.width, 0, kind.height, TJPF_RGB, &jpeg, &size,
                    kind.sampling, 90, kind.progressive ? TJFLAG_PROGRESSIVE : 0);
        for (int page = 0; page < 2; ++page) {
            QFile file(folder_ + QStringLiteral("photo%1.jpg")
                                     .arg(variant + 1 + 12 * page, 2, 10, QLatin1Char('0')));
            if (file.open(QIODevice::WriteOnly)) {
                file.write(reinterpret_cast<const char*>(jpeg), qint64(size));
                // As photographs are: not changed in the second they are looked at.
                file.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                 QFileDevice::FileModificationTime);
            }
        }
        tjFree(jpeg);
        ++variant;
    }
    tjDestroy(compressor);
    std::fprintf(stderr, "photographs: the built-in set in %s\n", qPrintable(folder_));
}

double PhotoSet::floorMs(const QStringList& paths, const QList<QSize>& boxes, int runs) {
    tjhandle decompressor = tjInitDecompress();
    std::vector<unsigned char> out;
    double best = 0;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < paths.size() && i < boxes.size(); ++i) {
            const QByteArray data = readAll(paths[i]);
            const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
            int width = 0, height = 0, sampling = 0, colours = 0;
            if (tjDecompressHeader3(decompressor, bytes, data.size(), &width, &height, &sampling,
                                    &colours) != 0) {
                static bool told = false;
                if (!told) {
                    std::fprintf(stderr,
                                 "photographs: %s is no JPEG and adds nothing to the floor, "
                                 "which makes the ratios higher\n",
                                 qPrintable(paths[i]));
                    told = true;
                }
                continue;
            }
            const tjscalingfactor f = scaleFor(width, height, boxes[i]);
            const int format = colours == TJCS_GRAY ? TJPF_GRAY : TJPF_BGR;
            out.resize(size_t(TJSCALED(width, f)) * TJSCALED(height, f) * tjPixelSize[format]);
            tjDecompress2(decompressor, bytes, data.size(), out.data(), TJSCALED(width, f), 0,
                          TJSCALED(height, f), format, 0);
        }
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        best = run == 0 ? ms : std::min(best, ms);
    }
    tjDestroy(decompressor);
    return best;
}

QImage PhotoSet::floorPicture(const QString& path, QSize box) {
    const QByteArray data = readAll(path);
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    tjhandle decompressor = tjInitDecompress();
    int width = 0, height = 0, sampling = 0, colours = 0;
    QImage picture;
    if (tjDecompressHeader3(decompressor, bytes, data.size(), &width, &height, &sampling,
                            &colours) == 0) {
        const tjscalingfactor f = scaleFor(width, height, box);
        picture = QImage(TJSCALED(width, f), TJSCALED(height, f), QImage::Format_RGB888);
        if (tjDecompress2(decompressor, bytes, data.size(), picture.bits(), picture.width(),
                          int(picture.bytesPerLine()), picture.height(), TJPF_RGB, 0) != 0) {
            picture = QImage();
        }
    }
    tjDestroy(decompressor);
    return picture;
}
