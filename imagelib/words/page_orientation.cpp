#include "page_orientation.h"

#include "dib.h"

#include <algorithm>
#include <cmath>
#include <sys/stat.h>
#include <tesseract/baseapi.h>
#include <vector>

namespace pelmix {

TextOrientationReader::TextOrientationReader(const std::string& dataFolder)
    : api_(std::make_unique<tesseract::TessBaseAPI>()) {
    struct stat st;
    if (::stat((dataFolder + "/osd.traineddata").c_str(), &st) != 0) {
        return;
    }
    std::vector<std::string> names{"debug_file"};
    std::vector<std::string> values{"/dev/null"};
    ready_ = api_->Init(dataFolder.c_str(), "osd", tesseract::OEM_DEFAULT, nullptr, 0, &names,
                        &values, false) == 0;
    api_->SetPageSegMode(tesseract::PSM_OSD_ONLY);
}

TextOrientationReader::~TextOrientationReader() {
    api_->End();
}

TextOrientation TextOrientationReader::read(HGLOBAL image, double dpi) {
    DibView dib(image);
    if (!ready_ || !dib.valid() || (dib.bitCount() != 1 && dib.bitCount() != 8)) {
        return {};
    }
    // One byte a pixel from the 1-bit or grey picture the caller made.
    const int32_t w = dib.width();
    const int32_t h = dib.height();
    std::vector<uint8_t> grey(static_cast<size_t>(w) * static_cast<size_t>(h));
    uint8_t level[256] = {};
    for (uint32_t i = 0; i < std::min<uint32_t>(dib.colourCount(), 256); ++i) {
        level[i] = dib.colours()[i].green;
    }
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* row = dib.row(y);
        uint8_t* out = grey.data() + static_cast<size_t>(y) * w;
        for (int32_t x = 0; x < w; ++x) {
            out[x] = level[indexAt(row, x, dib.bitCount())];
        }
    }
    api_->SetImage(grey.data(), w, h, 1, w);
    api_->SetSourceResolution(std::max(70, static_cast<int>(std::lround(dpi))));
    int degrees = 0;
    float confidence = 0;
    const char* script = nullptr;
    float scriptConfidence = 0;
    const bool detected =
        api_->DetectOrientationScript(&degrees, &confidence, &script, &scriptConfidence);
    api_->Clear();
    if (!detected) {
        return {};
    }
    // Tesseract gives how far the text stands turned anticlockwise; upright is that clockwise.
    return {true, (360 - degrees) % 360, confidence};
}

} // namespace pelmix
