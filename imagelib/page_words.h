// The words of one picture as a text-only PDF page, and which way up its text stands, read by the
// helper program orvana-words beside this library, in a process of its own: Tesseract's threads
// stay out of the caller's process, and a picture that makes it crash or hang costs only its own
// words.
#pragma once

#include <atomic>
#include <string>

namespace pelmix {

// The text page, or "" when no words could be read, the helper is missing, it took longer than
// a page can (ten minutes), or cancelled became true meanwhile (the helper is then stopped).
std::string readPageWords(const std::string& picture, bool upright, double dpi,
                          const std::string& dataFolder, const std::string& languages,
                          const std::atomic<bool>& cancelled);

// Which way up the text of a picture (a 1-bit or grey file) stands, read by the same helper with
// Tesseract's orientation data.
struct PageOrientation {
    bool found = false;    // false: too little text, no data, or the helper failed
    int turn = 0;          // degrees clockwise that bring it upright: 0, 90, 180 or 270
    double confidence = 0; // Tesseract's
};
PageOrientation readPageOrientation(const std::string& picture, double dpi,
                                    const std::string& dataFolder,
                                    const std::atomic<bool>& cancelled);

} // namespace pelmix
