// Which way up the text of a picture stands, found by Tesseract's orientation data
// ("osd.traineddata", Debian's tesseract-ocr-osd), loaded once for every picture read.
#pragma once

#include "winport.h"

#include <memory>
#include <string>

namespace tesseract {
class TessBaseAPI;
}

namespace pelmix {

struct TextOrientation {
    bool found = false;    // false: no text enough to tell, or no data
    int turn = 0;          // degrees clockwise that bring it upright: 0, 90, 180 or 270
    double confidence = 0; // Tesseract's: above 2 it is seldom wrong
};

class TextOrientationReader {
public:
    explicit TextOrientationReader(const std::string& dataFolder);
    ~TextOrientationReader();
    TextOrientationReader(const TextOrientationReader&) = delete;
    TextOrientationReader& operator=(const TextOrientationReader&) = delete;

    bool ready() const { return ready_; }
    // The orientation of a 1-bit or grey picture scanned at dpi.
    TextOrientation read(HGLOBAL image, double dpi);

private:
    std::unique_ptr<tesseract::TessBaseAPI> api_;
    bool ready_ = false;
};

} // namespace pelmix
