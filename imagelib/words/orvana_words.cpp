// orvana-words: reads the words on one picture with Tesseract and writes them as a text-only
// PDF page, for the image library's PDF documents. A process of its own per page, so that
// Tesseract (and the OpenMP threads it brings) never shares the program's process: a picture
// that makes it crash or hang costs that page's words, nothing more.
//
//   orvana-words <data folder> <languages> <dpi> <upright 0|1> <picture> <text page out>
//   orvana-words --orientations <data folder>
//
// The second form serves a run of pictures with its orientation data loaded once: for each line
// "<dpi> <picture>" on its standard input it answers a line on its standard output, "<degrees
// clockwise that bring the text upright> <confidence>", or "none"; it ends with its input.
//
// Exit status 0 when the text page was written, 1 when nothing could be read, 2 for bad use.
#include "page_orientation.h"
#include "page_text.h"
#include "pelmix.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>

int main(int argc, char** argv) {
    // Ends with the program that started it, however that one ends.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() == 1) {
        return 1;
    }
    if (argc == 3 && std::string(argv[1]) == "--orientations") {
        pelmix::TextOrientationReader reader(argv[2]);
        char line[4096];
        while (std::fgets(line, sizeof line, stdin) != nullptr) {
            double dpi = 0;
            int used = 0;
            std::string picture;
            if (std::sscanf(line, "%lf %n", &dpi, &used) == 1) {
                picture = line + used;
                while (!picture.empty() && (picture.back() == '\n' || picture.back() == '\r')) {
                    picture.pop_back();
                }
            }
            HGLOBAL image =
                picture.empty() ? nullptr : PelmixFileLoad(picture.c_str(), nullptr, nullptr);
            const pelmix::TextOrientation found =
                image != nullptr ? reader.read(image, dpi) : pelmix::TextOrientation{};
            PelmixMemFree(image);
            if (found.found) {
                std::printf("%d %.3f\n", found.turn, found.confidence);
            } else {
                std::printf("none\n");
            }
            std::fflush(stdout);
        }
        return 0;
    }
    if (argc != 7) {
        std::fprintf(stderr, "usage: orvana-words <data folder> <languages> <dpi> <upright 0|1> "
                             "<picture> <text page out>\n");
        return 2;
    }
    const double dpi = std::atof(argv[3]);
    const bool upright = std::string(argv[4]) == "1";
    HGLOBAL image = upright ? PelmixFileLoadUpright(argv[5], nullptr, nullptr)
                            : PelmixFileLoad(argv[5], nullptr, nullptr);
    if (image == nullptr) {
        return 1;
    }
    const std::atomic<bool> never{false};
    pelmix::PageText reader(argv[1], argv[2]);
    const std::string page = reader.recognize(image, dpi, never);
    PelmixMemFree(image);
    if (page.empty()) {
        return 1;
    }
    FILE* out = std::fopen(argv[6], "wb");
    if (out == nullptr) {
        return 1;
    }
    const bool written = std::fwrite(page.data(), 1, page.size(), out) == page.size();
    return std::fclose(out) == 0 && written ? 0 : 1;
}
