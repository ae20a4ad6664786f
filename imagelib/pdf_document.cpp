#include "pdf_document.h"

#include "codecs.h"
#include "dib.h"
#include "file_io.h"
#include "file_reader.h"
#include "jpeg_extent.h"
#include "jpeg_handles.h"
#include "jpeg_markers.h"
#include "page_words.h"
#include "pdf_check.h"
#include "pdf_file_sink.h"
#include "pelmix.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <langinfo.h>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
// qpdf's own pointers are std::shared_ptr throughout.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <stdexcept>

namespace pelmix {

namespace {

constexpr uint64_t kMaxFileBytes = uint64_t(1) << 31;
// Where a JPEG's headers are looked for: Exif thumbnails and profiles included, they end well
// before the first; a photograph's depth map or other large segments before the second.
constexpr uint64_t kHeadBytes = uint64_t(1) << 20;
constexpr uint64_t kMostHeadBytes = uint64_t(64) << 20;

using Object = QPDFObjectHandle;

// The errors of a volume without room for what was written.
bool outOfRoom(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

double dotsPerInch(int32_t perMetre) {
    return perMetre > 0 ? perMetre * 0.0254 : 72.0;
}

// The paper of the user's locale (LC_PAPER), in points; A4 where it says nothing.
void localePaper(double& width, double& height) {
    width = 210 / 25.4 * 72;
    height = 297 / 25.4 * 72;
#ifdef _NL_PAPER_WIDTH
    const auto mmWide = static_cast<int>(reinterpret_cast<intptr_t>(nl_langinfo(_NL_PAPER_WIDTH)));
    const auto mmHigh = static_cast<int>(reinterpret_cast<intptr_t>(nl_langinfo(_NL_PAPER_HEIGHT)));
    if (mmWide > 0 && mmHigh > 0 && mmWide < 2000 && mmHigh < 2000) {
        width = mmWide / 25.4 * 72;
        height = mmHigh / 25.4 * 72;
    }
#endif
}

// The document's title as PDF text: the file's name, its bytes read as UTF-8 where they are
// (Latin-1 otherwise, as old archives name files).
std::string titleText(const std::string& name) {
    std::string text;
    for (size_t i = 0; i < name.size();) {
        const auto c = static_cast<unsigned char>(name[i]);
        const size_t length = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        bool valid = length > 0 && i + length <= name.size();
        for (size_t k = 1; valid && k < length; ++k) {
            valid = (static_cast<unsigned char>(name[i + k]) & 0xC0) == 0x80;
        }
        if (valid) {
            text.append(name, i, length);
            i += length;
        } else {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
            ++i;
        }
    }
    return text;
}

// "D:20261211093000+09'00'", the PDF form of the local time now.
std::string pdfDateNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "D:%Y%m%d%H%M%S", &local);
    const long offset = local.tm_gmtoff / 60;
    char zone[48];
    std::snprintf(zone, sizeof zone, "%c%02ld'%02ld'", offset < 0 ? '-' : '+',
                  std::labs(offset) / 60, std::labs(offset) % 60);
    return std::string(text) + zone;
}

// The bytes of a JPEG file up to its end marker, with what its frame says; false for a file
// that holds no JPEG picture.
bool readJpeg(const std::string& path, std::vector<uint8_t>& bytes, JpegExtent& extent) {
    FileReader file;
    if (!file.open(path.c_str(), kMaxFileBytes) || !scanJpegExtent(file, extent) ||
        !extent.picture || extent.width <= 0 || extent.height <= 0) {
        return false;
    }
    bytes.resize(static_cast<size_t>(extent.bytes));
    return file.readAt(0, bytes.data(), bytes.size()) == bytes.size();
}

OwnedDib loadPicture(const std::string& path, bool upright) {
    OwnedDib image(upright ? PelmixFileLoadUpright(path.c_str(), nullptr, nullptr)
                           : PelmixFileLoad(path.c_str(), nullptr, nullptr));
    if (image) {
        DibView probe(image.get());
        if (probe.valid() && (probe.bitCount() == 16 || probe.bitCount() == 32)) {
            image.reset(normalizedCopy(image.get()));
        }
    }
    return image;
}

bool grey(const Rgbq& c) {
    return c.red == c.green && c.green == c.blue;
}

// How a decoded picture goes into the document.
bool describePicture(HGLOBAL image, PdfDocument::Page& page) {
    DibView dib(image);
    if (!dib.valid()) {
        return false;
    }
    page.width = dib.width();
    page.height = dib.height();
    page.xDpi = dotsPerInch(dib.header().biXPelsPerMeter);
    page.yDpi = dotsPerInch(dib.header().biYPelsPerMeter > 0 ? dib.header().biYPelsPerMeter
                                                             : dib.header().biXPelsPerMeter);
    page.resolutionKnown = dib.header().biXPelsPerMeter > 0;
    const uint16_t bits = dib.bitCount();
    if (bits == 24) {
        page.components = 3;
        page.bits = 8;
        return true;
    }
    if (bits != 1 && bits != 4 && bits != 8) {
        return false;
    }
    page.components = 1;
    page.bits = bits;
    const uint32_t entries = 1u << bits;
    std::vector<Rgbq> table(entries);
    const uint32_t stored = std::min(dib.colourCount(), entries);
    std::copy(dib.colours(), dib.colours() + stored, table.begin());
    bool ramp = true;
    for (uint32_t i = 0; i < entries; ++i) {
        const uint32_t level = i * 255 / (entries - 1);
        ramp = ramp && grey(table[i]) && table[i].red == level;
    }
    if (bits == 1 && grey(table[0]) && grey(table[1]) &&
        (table[0].red < 128) != (table[1].red < 128)) {
        page.encoding = PdfDocument::Encoding::Group4;
        page.zeroIsBlack = table[0].red < 128;
        return true;
    }
    if (!ramp) {
        for (const Rgbq& c : table) {
            page.palette.insert(page.palette.end(), {c.red, c.green, c.blue});
        }
    }
    return true;
}

// Gives each picture's data as the writer asks for it, reading the file again.
class PictureData : public QPDFObjectHandle::StreamDataProvider {
public:
    std::map<QPDFObjGen, const PdfDocument::Page*> pages;
    const PdfDocument::Progress* progress = nullptr;
    int32_t done = 0;
    int32_t total = 0;

    void provideStreamData(QPDFObjGen const& og, Pipeline* out) override {
        // The writer may ask again after a failure; a failed or stopped document stays so.
        if (failed_) {
            throw std::runtime_error("failed before");
        }
        try {
            provide(*pages.at(og), out);
            ++done;
            if (*progress && !(*progress)(done, total)) {
                stopped_ = true;
                throw std::runtime_error("stopped");
            }
        } catch (...) {
            failed_ = true;
            throw;
        }
    }

    bool failed() const { return failed_; }
    bool stopped() const { return stopped_; }

private:
    bool failed_ = false;
    bool stopped_ = false;

    void provide(const PdfDocument::Page& page, Pipeline* out) {
        if (page.encoding == PdfDocument::Encoding::Jpeg) {
            std::vector<uint8_t> bytes;
            JpegExtent extent;
            if (!readJpeg(page.path, bytes, extent) || extent.width != page.width ||
                extent.height != page.height) {
                throw std::runtime_error("picture changed: " + page.path);
            }
            out->write(bytes.data(), bytes.size());
            out->finish();
            return;
        }
        OwnedDib image = loadPicture(page.path, page.upright);
        PdfDocument::Page now;
        if (!image || !describePicture(image.get(), now) || now.width != page.width ||
            now.height != page.height || now.encoding != page.encoding || now.bits != page.bits ||
            now.components != page.components || now.palette != page.palette ||
            now.zeroIsBlack != page.zeroIsBlack) {
            throw std::runtime_error("picture changed: " + page.path);
        }
        if (page.encoding == PdfDocument::Encoding::Group4) {
            std::vector<uint8_t> data;
            bool zeroIsBlack = false;
            if (!encodeGroup4(image.get(), data, zeroIsBlack)) {
                throw std::runtime_error("cannot encode: " + page.path);
            }
            out->write(data.data(), data.size());
            out->finish();
            return;
        }
        DibView dib(image.get());
        const size_t rowBytes =
            (static_cast<size_t>(page.width) * page.bits * page.components + 7) / 8;
        std::vector<uint8_t> row(rowBytes);
        for (int32_t y = 0; y < page.height; ++y) {
            const uint8_t* in = dib.row(y);
            if (page.components == 3) {
                for (int32_t x = 0; x < page.width; ++x) {
                    row[3 * x] = in[3 * x + 2];
                    row[3 * x + 1] = in[3 * x + 1];
                    row[3 * x + 2] = in[3 * x];
                }
            } else {
                std::copy(in, in + rowBytes, row.begin());
            }
            out->write(row.data(), row.size());
        }
        out->finish();
    }
};

// A PDF number: a point as the decimal mark, whatever the locale of the calling program.
std::string number(double value) {
    char text[32];
    const std::to_chars_result end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
    return end.ec == std::errc() ? std::string(text, end.ptr) : std::string("0");
}

// The picture's colour space and filter in its dictionary.
void describeStream(QPDF& pdf, Object& image, const PdfDocument::Page& page,
                    const std::shared_ptr<PictureData>& data) {
    Object dict = image.getDict();
    dict.replaceKey("/Type", Object::newName("/XObject"));
    dict.replaceKey("/Subtype", Object::newName("/Image"));
    dict.replaceKey("/Width", Object::newInteger(page.width));
    dict.replaceKey("/Height", Object::newInteger(page.height));
    dict.replaceKey("/BitsPerComponent", Object::newInteger(page.bits));
    Object colourSpace = Object::newName(page.components == 3   ? "/DeviceRGB"
                                         : page.components == 4 ? "/DeviceCMYK"
                                                                : "/DeviceGray");
    if (!page.palette.empty()) {
        colourSpace = Object::newArray(
            {Object::newName("/Indexed"), Object::newName("/DeviceRGB"),
             Object::newInteger(static_cast<long long>(page.palette.size() / 3 - 1)),
             Object::newString(std::string(page.palette.begin(), page.palette.end()))});
    }
    dict.replaceKey("/ColorSpace", colourSpace);
    Object filter = Object::newNull();
    Object parameters = Object::newNull();
    if (page.encoding == PdfDocument::Encoding::Jpeg) {
        filter = Object::newName("/DCTDecode");
        if (page.components == 4 && page.adobe) {
            dict.replaceKey("/Decode", Object::parse("[1 0 1 0 1 0 1 0]"));
        }
    } else if (page.encoding == PdfDocument::Encoding::Group4) {
        filter = Object::newName("/CCITTFaxDecode");
        parameters = Object::newDictionary();
        parameters.replaceKey("/K", Object::newInteger(-1));
        parameters.replaceKey("/Columns", Object::newInteger(page.width));
        parameters.replaceKey("/Rows", Object::newInteger(page.height));
        // The coded runs follow the stored bits (0 white); a picture whose 0 is black is shown
        // by decoding the other way round.
        if (page.zeroIsBlack) {
            dict.replaceKey("/Decode", Object::parse("[1 0]"));
        }
    }
    data->pages[image.getObjGen()] = &page;
    image.replaceStreamData(data, filter, parameters);
    (void)pdf;
}

// The matrix that draws the unit-square picture on a page of w x h points, turned as the Exif
// orientation says.
std::string placement(int orientation, double w, double h) {
    const std::string W = number(w), H = number(h), zero = "0", minusW = number(-w),
                      minusH = number(-h);
    switch (orientation) {
    case 2:
        return minusW + " 0 0 " + H + " " + W + " 0";
    case 3:
        return minusW + " 0 0 " + minusH + " " + W + " " + H;
    case 4:
        return W + " 0 0 " + minusH + " 0 " + H;
    case 5:
        return "0 " + minusH + " " + minusW + " 0 " + W + " " + H;
    case 6:
        return "0 " + minusH + " " + W + " 0 0 " + H;
    case 7:
        return "0 " + H + " " + W + " 0 0 0";
    case 8:
        return "0 " + H + " " + minusW + " 0 " + W + " 0";
    default:
        return W + " 0 0 " + H + " 0 0";
    }
}

// The text page (a PDF of one page) as a form drawn over the whole page of w x h points; false
// when it is not a page qpdf can read.
bool addTextLayer(QPDF& pdf, const std::string& text, double w, double h, Object& forms,
                  std::string& content, std::vector<std::unique_ptr<QPDF>>& documents) {
    try {
        auto document = std::make_unique<QPDF>();
        document->setSuppressWarnings(true);
        document->processMemoryFile("words", text.data(), text.size());
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(*document).getAllPages();
        if (pages.size() != 1) {
            return false;
        }
        const QPDFObjectHandle::Rectangle box = pages[0].getMediaBox().getArrayAsRectangle();
        const double bw = box.urx - box.llx;
        const double bh = box.ury - box.lly;
        if (!(bw > 0 && bh > 0)) {
            return false;
        }
        forms.replaceKey("/Tx0", pdf.copyForeignObject(pages[0].getFormXObjectForPage()));
        content = "q " + number(w / bw) + " 0 0 " + number(h / bh) + " " +
                  number(-box.llx * w / bw) + " " + number(-box.lly * h / bh) + " cm /Tx0 Do Q\n";
        documents.push_back(std::move(document));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

bool PdfDocument::fail(Failure failure, int error) {
    failure_ = failure;
    error_ = error;
    return false;
}

bool PdfDocument::addJpeg(const FileReader& file, Page& page) {
    // The headers are enough here; the data is read, and checked whole, when it is written. The
    // first MiB holds them but for photographs with large segments before the picture (a depth
    // map, a profile): those are read up to 64 MiB, and only as far as the decoders' own walk
    // finds the JPEG to run, which never reads into a hole.
    JpegMarkers markers;
    TjHandle tj(tjInitDecompress());
    int width = 0, height = 0, subsampling = 0, colourSpace = 0;
    const auto readHeaders = [&](uint64_t bytes) {
        std::vector<uint8_t> start(static_cast<size_t>(bytes));
        start.resize(file.readAt(0, start.data(), start.size()));
        return tj && readJpegMarkers(start.data(), start.size(), markers) &&
               tjDecompressHeader3(tj.get(), start.data(), static_cast<unsigned long>(start.size()),
                                   &width, &height, &subsampling, &colourSpace) == 0 &&
               width > 0 && height > 0;
    };
    bool read = readHeaders(std::min(file.size(), kHeadBytes));
    if (!read && file.size() > kHeadBytes) {
        JpegExtent extent;
        if (!scanJpegExtent(file, extent)) {
            return fail(Failure::NotAPicture);
        }
        width = extent.width;
        height = extent.height;
        read = extent.picture && readHeaders(std::min(extent.bytes, kMostHeadBytes));
    }
    if (width > 0 && height > 0 && !sizeAllowed(width, height)) {
        refusedWidth_ = width;
        refusedHeight_ = height;
        return fail(Failure::TooLarge);
    }
    if (!read) {
        return fail(Failure::NotAPicture);
    }
    page.encoding = Encoding::Jpeg;
    page.width = width;
    page.height = height;
    page.components = colourSpace == TJCS_GRAY                               ? 1
                      : colourSpace == TJCS_CMYK || colourSpace == TJCS_YCCK ? 4
                                                                             : 3;
    page.adobe = markers.adobe;
    page.orientation = page.upright ? markers.orientation : 1;
    page.xDpi = dotsPerInch(pelsPerMetre(markers.densityUnits, markers.xDensity));
    page.yDpi = dotsPerInch(pelsPerMetre(markers.densityUnits, markers.yDensity));
    page.resolutionKnown = pelsPerMetre(markers.densityUnits, markers.xDensity) > 0;
    return true;
}

bool PdfDocument::addFile(const std::string& path, bool upright) {
    failure_ = Failure::None;
    error_ = 0;
    refusedWidth_ = 0;
    refusedHeight_ = 0;
    Page page;
    page.path = path;
    page.upright = upright;
    FileReader file;
    if (!file.open(path.c_str(), kMaxFileBytes)) {
        return fail(Failure::NotAPicture);
    }
    uint8_t head[4] = {};
    const size_t headSize = file.readAt(0, head, sizeof head);
    if (sniff(head, headSize) == FileKind::Jpeg) {
        if (!addJpeg(file, page)) {
            return false;
        }
        pages_.push_back(std::move(page));
        return true;
    }
    OwnedDib image = loadPicture(path, upright);
    if (!image || !describePicture(image.get(), page)) {
        return fail(Failure::NotAPicture);
    }
    pages_.push_back(std::move(page));
    return true;
}

int32_t PdfDocument::pagesIn(const char* path) {
    return wholePdfPages(path);
}

void PdfDocument::recognizeText(const std::string& dataFolder, const std::string& languages,
                                int32_t threads) {
    dataFolder_ = dataFolder;
    languages_ = languages;
    threads_ = std::max<int32_t>(1, threads);
}

bool PdfDocument::recognizeAll(std::vector<std::string>& texts, int32_t total) {
    texts.assign(pages_.size(), std::string());
    std::atomic<bool> cancelled{false};
    std::atomic<size_t> next{0};
    std::mutex mutex;
    std::condition_variable wake;
    int32_t done = 0;
    auto work = [&] {
        for (size_t i = next++; i < pages_.size() && !cancelled; i = next++) {
            const Page& page = pages_[i];
            try {
                texts[i] = readPageWords(page.path, page.upright, page.xDpi, dataFolder_,
                                         languages_, cancelled);
            } catch (...) {
                texts[i].clear(); // no memory for its words: the page goes in without them
            }
            const std::lock_guard<std::mutex> lock(mutex);
            ++done;
            wake.notify_all();
        }
    };
    const size_t workers = std::min(pages_.size(), static_cast<size_t>(threads_));
    std::vector<std::thread> pool;
    try {
        for (size_t i = 0; i < workers; ++i) {
            pool.emplace_back(work);
        }
        // The progress is told from this thread only, often enough for a window to stay alive.
        std::unique_lock<std::mutex> lock(mutex);
        while (done < pages() && !cancelled) {
            wake.wait_for(lock, std::chrono::milliseconds(50));
            const int32_t now = done;
            lock.unlock();
            if (progress_ && !progress_(now, total)) {
                cancelled = true;
            }
            lock.lock();
        }
    } catch (...) {
        cancelled = true; // no thread to start, or the progress failed: no document
    }
    for (std::thread& worker : pool) {
        worker.join();
    }
    return !cancelled;
}

bool PdfDocument::save(const char* path) {
    textPages_ = 0;
    failure_ = Failure::None;
    error_ = 0;
    if (path == nullptr || pages_.empty()) {
        return fail(Failure::NotWritten, EINVAL);
    }
    const bool reading = !languages_.empty();
    const int32_t total = pages() * (reading ? 2 : 1);
    std::vector<std::string> texts(pages_.size());
    if (reading && !recognizeAll(texts, total)) {
        return fail(Failure::Stopped);
    }
    AtomicFile target(path);
    errno = 0; // a target refused without a system call leaves it so
    if (!target.create()) {
        const int error = errno != 0 ? errno : EACCES;
        return fail(outOfRoom(error) ? Failure::NoSpace : Failure::NotWritten, error);
    }
    int32_t words = 0;
    const std::string name = path;
    const std::string title =
        titleText(name.substr(name.rfind('/') == std::string::npos ? 0 : name.rfind('/') + 1));
    if (!writeDocument(texts, total, target.tempPath(), title, words)) {
        return false;
    }
    // Read back from the disk before it takes the name: only a whole document replaces a file,
    // and only a whole document lets a caller remove the pictures it holds.
    if (wholePdfPages(target.tempPath().c_str()) != pages()) {
        return fail(Failure::NotWritten, EIO);
    }
    errno = 0;
    if (!target.commit()) {
        const int error = errno != 0 ? errno : EIO;
        return fail(outOfRoom(error) ? Failure::NoSpace : Failure::NotWritten, error);
    }
    textPages_ = words;
    return true;
}

void PdfDocument::pageSize(const Page& page, double paperWidth, double paperHeight, double& width,
                           double& height) {
    const bool across = page.orientation >= 5;
    const double wide = across ? page.height : page.width; // as the page shows it
    const double high = across ? page.width : page.height;
    width = (across ? page.height / page.yDpi : page.width / page.xDpi) * 72;
    height = (across ? page.width / page.xDpi : page.height / page.yDpi) * 72;
    // The paper turned with the picture.
    if ((wide > high) != (paperWidth > paperHeight)) {
        std::swap(paperWidth, paperHeight);
    }
    const auto screenDpi = [](double dpi) {
        return std::abs(dpi - 72) < 0.5 || std::abs(dpi - 96) < 0.5;
    };
    const bool larger = width > paperWidth + 0.5 || height > paperHeight + 0.5;
    if (page.resolutionKnown && !(screenDpi(page.xDpi) && larger)) {
        return;
    }
    const double scale = std::min(paperWidth / wide, paperHeight / high);
    width = wide * scale;
    height = high * scale;
}

bool PdfDocument::writeDocument(const std::vector<std::string>& texts, int32_t total,
                                const std::string& file, const std::string& title, int32_t& words) {
    double paperWidth = 0;
    double paperHeight = 0;
    localePaper(paperWidth, paperHeight);
    PdfFileSink sink(file);
    auto data = std::make_shared<PictureData>();
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.emptyPDF();
        QPDFPageDocumentHelper document(pdf);
        data->progress = &progress_;
        data->done = languages_.empty() ? 0 : pages();
        data->total = total;
        // The text pages' data is copied from them when the document is written.
        std::vector<std::unique_ptr<QPDF>> textDocuments;
        for (size_t i = 0; i < pages_.size(); ++i) {
            const Page& page = pages_[i];
            Object image = pdf.newStream();
            describeStream(pdf, image, page, data);
            double w = 0;
            double h = 0;
            pageSize(page, paperWidth, paperHeight, w, h);
            Object resources = Object::newDictionary();
            Object images = Object::newDictionary();
            images.replaceKey("/Im0", image);
            std::string content = "q " + placement(page.orientation, w, h) + " cm /Im0 Do Q\n";
            if (!texts[i].empty()) {
                std::string layer;
                if (addTextLayer(pdf, texts[i], w, h, images, layer, textDocuments)) {
                    content += layer;
                    ++words;
                }
            }
            resources.replaceKey("/XObject", images);
            Object dict = Object::newDictionary();
            dict.replaceKey("/Type", Object::newName("/Page"));
            dict.replaceKey("/MediaBox", Object::newArray(QPDFObjectHandle::Rectangle(0, 0, w, h)));
            dict.replaceKey("/Resources", resources);
            dict.replaceKey("/Contents", pdf.newStream(content));
            document.addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(dict)), false);
        }
        Object info = Object::newDictionary();
        info.replaceKey("/Title", Object::newUnicodeString(title));
        info.replaceKey("/Producer", Object::newUnicodeString("Orvana " ORVANA_VERSION));
        info.replaceKey("/CreationDate", Object::newString(pdfDateNow()));
        pdf.getTrailer().replaceKey("/Info", pdf.makeIndirectObject(info));
        if (sink.failed()) {
            return fail(Failure::NotWritten, sink.error());
        }
        QPDFWriter writer(pdf);
        writer.setOutputPipeline(&sink);
        writer.setCompressStreams(true);
        writer.write();
        sink.close();
    } catch (const std::exception&) {
        // Told apart below.
    }
    if (sink.failed()) {
        return fail(outOfRoom(sink.error()) ? Failure::NoSpace : Failure::NotWritten, sink.error());
    }
    if (data->stopped()) {
        return fail(Failure::Stopped);
    }
    if (data->failed()) {
        return fail(Failure::PictureChanged);
    }
    return true;
}

} // namespace pelmix
