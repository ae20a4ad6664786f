#include "page_text.h"

#include "dib.h"
#include "file_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sys/stat.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/renderer.h>
#include <unistd.h>
#include <vector>

namespace pelmix {

namespace {

// Tesseract's mean word confidence (0 to 100) below which a page holds no text to keep: printed
// text reads at 80 and more, a photograph's shapes at 40 and less.
constexpr int kLeastMeanConfidence = 55;

// Tesseract reads grey levels best; every kind of picture becomes one byte a pixel.
std::vector<uint8_t> greyPixels(const DibView& dib) {
    const int32_t w = dib.width();
    const int32_t h = dib.height();
    std::vector<uint8_t> grey(static_cast<size_t>(w) * static_cast<size_t>(h));
    const uint16_t bits = dib.bitCount();
    uint8_t level[256] = {};
    if (bits <= 8) {
        const uint32_t entries = std::min<uint32_t>(dib.colourCount(), 1u << bits);
        for (uint32_t i = 0; i < entries; ++i) {
            const Rgbq& c = dib.colours()[i];
            level[i] = static_cast<uint8_t>((c.red * 77 + c.green * 150 + c.blue * 29) >> 8);
        }
    }
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* in = dib.row(y);
        uint8_t* out = grey.data() + static_cast<size_t>(y) * w;
        for (int32_t x = 0; x < w; ++x) {
            if (bits == 24) {
                const uint8_t* p = in + 3 * x;
                out[x] = static_cast<uint8_t>((p[2] * 77 + p[1] * 150 + p[0] * 29) >> 8);
            } else {
                const int shift = 8 - bits - (x * bits) % 8;
                const int index = (in[x * bits / 8] >> shift) & ((1 << bits) - 1);
                out[x] = level[index];
            }
        }
    }
    return grey;
}

// Whether every language of "jpn+eng" has its data in folder.
bool dataInstalled(const std::string& folder, const std::string& languages) {
    for (size_t start = 0;;) {
        const size_t end = std::min(languages.find('+', start), languages.size());
        const std::string data =
            folder + "/" + languages.substr(start, end - start) + ".traineddata";
        struct stat st;
        if (end == start || ::stat(data.c_str(), &st) != 0) {
            return false;
        }
        if (end == languages.size()) {
            return true;
        }
        start = end + 1;
    }
}

// A folder only this user may enter, in the temporary folder; removed with what it holds.
struct PrivateFolder {
    std::string path;
    PrivateFolder() {
        const char* tmp = std::getenv("TMPDIR");
        path = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/pelmix-text.XXXXXX";
        if (::mkdtemp(path.data()) == nullptr) {
            path.clear();
        }
    }
    ~PrivateFolder() {
        if (!path.empty()) {
            ::unlink((path + "/words.pdf").c_str());
            ::rmdir(path.c_str());
        }
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
};

bool cancelRequested(void* flag, int) {
    return static_cast<const std::atomic<bool>*>(flag)->load();
}

} // namespace

PageText::PageText(const std::string& dataFolder, const std::string& languages)
    : api_(std::make_unique<tesseract::TessBaseAPI>()), dataFolder_(dataFolder) {
    // Tesseract's own notes go nowhere rather than to the program's standard error; a language
    // without its data is not tried at all.
    if (!dataInstalled(dataFolder, languages)) {
        return;
    }
    std::vector<std::string> names{"debug_file"};
    std::vector<std::string> values{"/dev/null"};
    ready_ = api_->Init(dataFolder.c_str(), languages.c_str(), tesseract::OEM_DEFAULT, nullptr, 0,
                        &names, &values, false) == 0;
}

PageText::~PageText() {
    api_->End();
}

std::string PageText::recognize(HGLOBAL image, double dpi, const std::atomic<bool>& cancelled) {
    DibView dib(image);
    const uint16_t bits = dib.bitCount();
    if (!ready_ || !dib.valid() || (bits != 1 && bits != 4 && bits != 8 && bits != 24)) {
        return std::string();
    }
    const std::vector<uint8_t> grey = greyPixels(dib);
    api_->SetImage(grey.data(), dib.width(), dib.height(), 1, dib.width());
    // Below 70 dpi Tesseract guesses the size of the letters instead.
    api_->SetSourceResolution(std::max(70, static_cast<int>(std::lround(dpi))));
    tesseract::ETEXT_DESC monitor;
    monitor.cancel = &cancelRequested;
    monitor.cancel_this = const_cast<std::atomic<bool>*>(&cancelled);
    // A page Tesseract reads only with little confidence is no text, such as a photograph whose
    // shapes it takes for letters: no words rather than junk laid over the picture.
    if (api_->Recognize(&monitor) != 0 || cancelled ||
        api_->MeanTextConf() < kLeastMeanConfidence) {
        api_->Clear();
        return std::string();
    }
    // The renderer writes files only: "<base>.pdf" in a folder of our own, so that no other
    // user can have put anything under that name.
    const PrivateFolder folder;
    if (folder.path.empty()) {
        api_->Clear();
        return std::string();
    }
    const std::string base = folder.path + "/words";
    const std::string pdfPath = base + ".pdf";
    bool written = false;
    {
        tesseract::TessPDFRenderer renderer(base.c_str(), dataFolder_.c_str(), true);
        written = renderer.BeginDocument("") && renderer.AddImage(api_.get()) &&
                  renderer.EndDocument() && renderer.happy();
    }
    api_->Clear();
    FileReader file;
    if (!written || !file.open(pdfPath.c_str(), uint64_t(1) << 28)) {
        return std::string();
    }
    std::string bytes(static_cast<size_t>(file.size()), '\0');
    if (file.readAt(0, bytes.data(), bytes.size()) != bytes.size()) {
        return std::string();
    }
    return bytes;
}

} // namespace pelmix
