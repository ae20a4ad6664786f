// A PDF of picture files, one picture to a page at the size its resolution gives (72 dpi when it
// has none). A JPEG goes in as it stands (DCTDecode), turned on its page as its Exif orientation
// says when asked; a black-and-white picture as CCITT Group 4; any other losslessly (Flate), a
// palette picture with its palette. The files are read again when the document is written, one
// at a time, so a long document never holds more than one picture in memory. Asked to, it reads
// the words on every page with Tesseract first and lays them over the page as invisible text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pelmix {

class FileReader;

class PdfDocument {
public:
    // Why the last addFile or save failed.
    enum class Failure {
        None,
        NotAPicture,    // addFile: not a picture this library reads
        TooLarge,       // addFile: a picture larger than the library takes (refusedSize says)
        PictureChanged, // save: a page's picture changed or could not be read again
        NoSpace,        // save: the volume had no room for the document
        NotWritten,     // save: the file could not be written (error() says why)
        Stopped,        // save: the progress said to stop
    };

    // Adds the picture at path as the next page; false (and nothing added) when it is not a
    // picture this library reads or is too large.
    bool addFile(const std::string& path, bool upright);
    int32_t pages() const { return static_cast<int32_t>(pages_.size()); }

    // Writes the document to path through a temporary file, flushed, read back whole and only
    // then renamed over path; false (and path untouched) when a picture changed or could not be
    // read, the file could not be written, or the progress said to stop.
    bool save(const char* path);

    Failure failure() const { return failure_; }
    // The system's error number behind NoSpace and NotWritten, 0 otherwise.
    int error() const { return error_; }
    // The size a TooLarge picture declares.
    int32_t refusedWidth() const { return refusedWidth_; }
    int32_t refusedHeight() const { return refusedHeight_; }

    // Called on the saving thread while save() works, again and again: the steps done (a page
    // read for its words, a page written) of all it will take. Returning false stops the save.
    using Progress = std::function<bool(int32_t done, int32_t total)>;
    void setProgress(Progress progress) { progress_ = std::move(progress); }

    // Makes save() read the words of every page first, in the languages ("jpn+eng") from the
    // folder of Tesseract's data, on up to threads threads. A page whose words cannot be read
    // goes in without them.
    void recognizeText(const std::string& dataFolder, const std::string& languages,
                       int32_t threads);
    // The pages of the PDF file at path; -1 when it is not a whole PDF (see wholePdfPages).
    static int32_t pagesIn(const char* path);

    // The pages the last save gave words to.
    int32_t textPages() const { return textPages_; }

    enum class Encoding { Jpeg, Group4, Flate };
    struct Page {
        std::string path;
        Encoding encoding = Encoding::Flate;
        bool upright = false;
        int32_t width = 0; // of the picture as stored
        int32_t height = 0;
        int components = 1; // 1 grey, 3 RGB, 4 CMYK; palette pictures: 1 index
        int bits = 8;       // per component (or index)
        bool adobe = false; // a JPEG whose CMYK is stored inverted
        bool zeroIsBlack = false;
        std::vector<uint8_t> palette; // RGB triples of an indexed picture, empty otherwise
        int orientation = 1;          // Exif orientation applied on the page (JPEG, upright)
        double xDpi = 72;
        double yDpi = 72;
        bool resolutionKnown = false; // false: the picture said nothing of its size
    };
    // The page's size in points: its true size where the picture has a real resolution; a page
    // of paperWidth x paperHeight (turned with the picture) at the picture's proportions where it
    // has none, or only a screen's 72 or 96 dpi that would make it larger than that paper.
    static void pageSize(const Page& page, double paperWidth, double paperHeight, double& width,
                         double& height);

private:
    bool recognizeAll(std::vector<std::string>& texts, int32_t total);
    bool addJpeg(const FileReader& file, Page& page);
    bool writeDocument(const std::vector<std::string>& texts, int32_t total,
                       const std::string& file, const std::string& title, int32_t& words);
    bool fail(Failure failure, int error = 0);

    std::vector<Page> pages_;
    Progress progress_;
    std::string dataFolder_;
    std::string languages_;
    int32_t threads_ = 1;
    int32_t textPages_ = 0;
    Failure failure_ = Failure::None;
    int error_ = 0;
    int32_t refusedWidth_ = 0;
    int32_t refusedHeight_ = 0;
};

} // namespace pelmix
