// The photographs the browsing benchmarks run on, and the floor they are measured against.
// A folder of the user's own (--folder=DIR on the command line, or ORVANA_BENCH_FOLDER) or a
// built-in set of 24: twelve different photographs (baseline and progressive, 4:2:0, 4:2:2, 4:4:4
// and greyscale, 2560 x 1600 to 6000 x 4000, one upright) and a second page of the same twelve
// under other names. The floor is libjpeg-turbo decoding the same files one after another on
// one core at the scale the program decodes them at.
#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

class PhotoSet {
public:
    // Takes --folder=DIR out of the arguments (before the benchmark library sees them).
    static void chooseFolder(int& argc, char** argv);
    static PhotoSet& instance();
    // A benchmark program's main(): the folder taken out of the arguments, an offscreen
    // application, the photographs ready, then the benchmarks asked for.
    static int runBenchmarks(int argc, char** argv);

    const QString& folder() const { return folder_; } // ends in "/"
    bool builtIn() const { return made_ != nullptr; }

    // The one-core floor in milliseconds for decoding each of paths for the box beside it:
    // the best of runs, the files read from the (warm) page cache each time.
    static double floorMs(const QStringList& paths, const QList<QSize>& boxes, int runs);

    // RGB pixels of a photograph of the size: soft shapes, a gradient and grain, so that the
    // entropy decoder has the work of a real one; variant gives another.
    static std::vector<unsigned char> photograph(int width, int height, unsigned variant);

    // The floor's own picture of path for box (libjpeg-turbo at the same scale), to compare the
    // program's decode with; a null image for a file that is no JPEG.
    static QImage floorPicture(const QString& path, QSize box);

private:
    PhotoSet();
    void make();

    static QString chosen_;
    QString folder_;
    std::unique_ptr<QTemporaryDir> made_;
};
