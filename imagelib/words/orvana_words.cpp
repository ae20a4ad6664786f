// orvana-words: reads the words on one picture with Tesseract and writes them as a text-only
// PDF page, for the image library's PDF documents. A process of its own per page, so that
// Tesseract (and the OpenMP threads it brings) never shares the program's process: a picture
// that makes it crash or hang costs that page's words, nothing more.
//
//   orvana-words <data folder> <languages> <dpi> <upright 0|1> <picture> <text page out>
//   orvana-words --orientation <data folder> <dpi> <picture> <out>
//
// The second form writes which way up the picture's text stands: "<degrees clockwise that bring
// it upright> <confidence>".
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
    if (argc == 6 && std::string(argv[1]) == "--orientation") {
        HGLOBAL image = PelmixFileLoad(argv[4], nullptr, nullptr);
        if (image == nullptr) {
            return 1;
        }
        const pelmix::TextOrientation found =
            pelmix::findTextOrientation(image, std::atof(argv[3]), argv[2]);
        PelmixMemFree(image);
        FILE* out = found.found ? std::fopen(argv[5], "wb") : nullptr;
        if (out == nullptr) {
            return 1;
        }
        const bool written = std::fprintf(out, "%d %.3f\n", found.turn, found.confidence) > 0;
        return std::fclose(out) == 0 && written ? 0 : 1;
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
