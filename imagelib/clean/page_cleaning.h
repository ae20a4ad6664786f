// A scanned page cleaned as its owner chose: the dark frame around the paper cut away, the page
// straightened, turned upright, and told blank when nothing is on it. The steps run in that
// order, each on what the one before left.
#pragma once

#include "dib.h"

#include <atomic>
#include <string>

namespace pelmix {

struct CleaningSteps {
    bool cutBorders = false;
    bool straighten = false;
    bool turnUpright = false;
    bool findBlank = false;
    int blankSensitivity = 50; // 1 to 100, see blank_page.h
    std::string textData;      // Tesseract's data folder, for turning upright

    bool any() const { return cutBorders || straighten || turnUpright || findBlank; }
};

struct CleanedPage {
    OwnedDib image;     // the page cleaned; null when no step changed it
    bool blank = false; // nothing on it (findBlank only)
    double skewDegrees = 0;
    int turnDegrees = 0;
};

CleanedPage cleanPage(HGLOBAL image, const CleaningSteps& steps,
                      const std::atomic<bool>& cancelled);

} // namespace pelmix
