// The words on a picture, found by Tesseract, as a one-page PDF that holds nothing but the
// invisible text, each word where it stands on the picture. The document lays that page over
// the picture's own, so the picture stays as it is and the words can be searched and selected.
#pragma once

#include "winport.h"

#include <atomic>
#include <memory>
#include <string>

namespace tesseract {
class TessBaseAPI;
}

namespace pelmix {

class PageText {
public:
    // Loads the languages ("jpn+eng") from the folder of Tesseract's data (which also holds the
    // font of the text layer); ready() is false when they cannot be loaded.
    PageText(const std::string& dataFolder, const std::string& languages);
    ~PageText();
    PageText(const PageText&) = delete;
    PageText& operator=(const PageText&) = delete;

    bool ready() const { return ready_; }

    // The text page of the picture scanned at dpi; "" when nothing could be read or cancelled
    // became true on the way.
    std::string recognize(HGLOBAL image, double dpi, const std::atomic<bool>& cancelled);

private:
    std::unique_ptr<tesseract::TessBaseAPI> api_;
    std::string dataFolder_;
    bool ready_ = false;
};

} // namespace pelmix
