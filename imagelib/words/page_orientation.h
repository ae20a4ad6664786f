// Which way up the text of a picture stands, found by Tesseract's orientation data
// ("osd.traineddata", Debian's tesseract-ocr-osd).
#pragma once

#include "winport.h"

#include <string>

namespace pelmix {

struct TextOrientation {
    bool found = false;    // false: no text enough to tell, or no data
    int turn = 0;          // degrees clockwise that bring it upright: 0, 90, 180 or 270
    double confidence = 0; // Tesseract's: above 2 it is seldom wrong
};

TextOrientation findTextOrientation(HGLOBAL image, double dpi, const std::string& dataFolder);

} // namespace pelmix
