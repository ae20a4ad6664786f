// The exported entry points that are not pixel operations: loading, saving, description,
// copying and releasing.
#include "codecs.h"
#include "dib.h"
#include "file_io.h"
#include "file_reader.h"
#include "jpeg_extent.h"
#include "page_cleaning.h"
#include "pdf_document.h"
#include "progress.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <new>

using namespace pelmix;

namespace {

constexpr uint64_t kMaxFileBytes = uint64_t(1) << 31;

// The first count bytes of the file (fewer where it was cut short since it was opened).
struct Bytes {
    std::unique_ptr<uint8_t[]> data;
    size_t size = 0;
};
bool readStart(const FileReader& file, uint64_t count, Bytes& out) {
    out.data.reset(new (std::nothrow) uint8_t[count == 0 ? 1 : count]);
    out.size = out.data ? file.readAt(0, out.data.get(), static_cast<size_t>(count)) : 0;
    return out.data != nullptr;
}

// A TIFF is read from the file as it is decoded. A JPEG's extent is found from the file first,
// so that only the JPEG itself is read into memory (never what follows its end, nor a file
// that cannot hold the picture it declares); of a BMP, only its headers and the pixel data they
// describe.
HGLOBAL loadFile(const char* path, int32_t maxWidth, int32_t maxHeight, IMAGE_INFO* full,
                 bool upright, bool* early = nullptr) {
    FileReader file;
    if (!file.open(path, kMaxFileBytes)) {
        return nullptr;
    }
    uint8_t head[4] = {};
    const size_t headSize = file.readAt(0, head, sizeof head);
    HGLOBAL image = nullptr;
    Bytes bytes;
    switch (sniff(head, headSize)) {
    case FileKind::Bmp:
        image = decodeBmp(file);
        break;
    case FileKind::Jpeg: {
        JpegExtent extent;
        if (!scanJpegExtent(file, extent) || !extent.picture ||
            !readStart(file, extent.bytes, bytes)) {
            return nullptr;
        }
        return decodeJpeg(bytes.data.get(), bytes.size, maxWidth, maxHeight, full, upright, early);
    }
    case FileKind::Tiff:
        return decodeTiff(file, maxWidth, maxHeight, full, upright);
    case FileKind::Unknown:
        return nullptr;
    }
    if (full != nullptr && !PelmixImageInfo(image, full)) {
        std::memset(full, 0, sizeof *full);
    }
    return image;
}

} // namespace

namespace pelmix {

FileKind sniff(const uint8_t* data, size_t size) {
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        return FileKind::Bmp;
    }
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        return FileKind::Jpeg;
    }
    if (size >= 4 &&
        ((data[0] == 'I' && data[1] == 'I' && (data[2] == 42 || data[2] == 43) && data[3] == 0) ||
         (data[0] == 'M' && data[1] == 'M' && data[2] == 0 && (data[3] == 42 || data[3] == 43)))) {
        return FileKind::Tiff;
    }
    return FileKind::Unknown;
}

} // namespace pelmix

PELMIX_API HGLOBAL PELMIX_CALL PelmixFileLoad(const char* path, const char* caption,
                                              const char* text) {
    Progress progress(caption, text);
    return loadFile(path, 0, 0, nullptr, false);
}

PELMIX_API HGLOBAL PELMIX_CALL PelmixFileLoadUpright(const char* path, const char* caption,
                                                     const char* text) {
    Progress progress(caption, text);
    return loadFile(path, 0, 0, nullptr, true);
}

PELMIX_API HGLOBAL PELMIX_CALL PelmixFileLoadFit(const char* path, int32_t maxWidth,
                                                 int32_t maxHeight, IMAGE_INFO* info) {
    if (info != nullptr) {
        std::memset(info, 0, sizeof *info);
    }
    return loadFile(path, maxWidth, maxHeight, info, true);
}

PELMIX_API HGLOBAL PELMIX_CALL PelmixFileLoadFitFirst(const char* path, int32_t maxWidth,
                                                      int32_t maxHeight, IMAGE_INFO* info,
                                                      int32_t* firstSight) {
    if (info != nullptr) {
        std::memset(info, 0, sizeof *info);
    }
    bool early = false;
    HGLOBAL image = loadFile(path, maxWidth, maxHeight, info, true, &early);
    if (firstSight != nullptr) {
        *firstSight = image != nullptr && early ? 1 : 0;
    }
    return image;
}

PELMIX_API int32_t PELMIX_CALL PelmixImageInfo(HGLOBAL image, IMAGE_INFO* info) {
    if (info == nullptr) {
        return 0;
    }
    std::memset(info, 0, sizeof *info);
    DibView dib(image);
    if (!dib.valid()) {
        return 0;
    }
    info->WIDTH = dib.width();
    info->HEIGHT = dib.height();
    info->COLOR_TYPE = colourType(dib);
    info->BIT_COUNT = dib.bitCount();
    const int32_t ppm = dib.header().biXPelsPerMeter;
    info->RESOLUTION = ppm > 0 ? static_cast<int32_t>(std::lround(ppm * 0.0254)) : 0;
    return 1;
}

PELMIX_API int32_t PELMIX_CALL PelmixMemFree(HGLOBAL image) {
    if (image == nullptr) {
        return 0;
    }
    return GlobalFree(image) == nullptr ? 1 : 0;
}

PELMIX_API int32_t PELMIX_CALL DibNumColors(const void* bitmapInfoHeader) {
    if (bitmapInfoHeader == nullptr) {
        return 0;
    }
    PELMIX_BITMAPINFOHEADER header;
    std::memcpy(&header, bitmapInfoHeader, sizeof header);
    return static_cast<int32_t>(colourEntries(header));
}

PELMIX_API HGLOBAL PELMIX_CALL PelmixCopy(HGLOBAL image, const char* caption, const char* text) {
    Progress progress(caption, text);
    DibView dib(image);
    if (!dib.valid()) {
        return nullptr;
    }
    const SIZE_T size = GlobalSize(image);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy == nullptr) {
        return nullptr;
    }
    std::memcpy(GlobalLock(copy), &dib.header(), size);
    GlobalUnlock(copy);
    return copy;
}

PELMIX_API int32_t PELMIX_CALL PelmixBmpFileSave(const char* path, HGLOBAL image,
                                                 const char* caption, const char* text,
                                                 int32_t flags) {
    Progress progress(caption, text);
    return flags == 0 && saveBmp(image, path) ? 1 : 0;
}

PELMIX_API int32_t PELMIX_CALL PelmixJpegFileSave(const char* path, HGLOBAL image,
                                                  const char* caption, const char* text,
                                                  int32_t quality, int32_t grey) {
    Progress progress(caption, text);
    std::vector<uint8_t> bytes;
    if (!encodeJpeg(image, quality, grey == 1, bytes)) {
        return 0;
    }
    return writeFileAtomically(path, bytes) ? 1 : 0;
}

PELMIX_API int32_t PELMIX_CALL PelmixTiffFileSave(const char* path, HGLOBAL image,
                                                  const char* caption, const char* text,
                                                  int32_t compression) {
    Progress progress(caption, text);
    if (compression != PELMIX_TIFF_NONE && compression != PELMIX_TIFF_GROUP4 &&
        compression != PELMIX_TIFF_PACKBITS) {
        return 0;
    }
    {
        DibView dib(image);
        if (!dib.valid() || (compression == PELMIX_TIFF_GROUP4 && dib.bitCount() != 1)) {
            return 0;
        }
    }
    AtomicFile file(path);
    if (!file.create() || !encodeTiff(image, compression, file.tempPath().c_str())) {
        return 0;
    }
    return file.commit() ? 1 : 0;
}

struct PELMIX_PDF {
    pelmix::PdfDocument document;
};

PELMIX_API PELMIX_PDF* PELMIX_CALL PelmixPdfCreate(void) {
    return new (std::nothrow) PELMIX_PDF;
}

PELMIX_API int32_t PELMIX_CALL PelmixPdfAddFile(PELMIX_PDF* pdf, const char* path,
                                                int32_t upright) {
    return pdf != nullptr && path != nullptr && pdf->document.addFile(path, upright != 0) ? 1 : 0;
}

PELMIX_API int32_t PELMIX_CALL PelmixPdfSave(PELMIX_PDF* pdf, const char* path) {
    return pdf != nullptr && pdf->document.save(path) ? 1 : 0;
}

PELMIX_API void PELMIX_CALL PelmixPdfFree(PELMIX_PDF* pdf) {
    delete pdf;
}

PELMIX_API void PELMIX_CALL PelmixPdfSetProgress(PELMIX_PDF* pdf, PelmixPdfProgress progress,
                                                 void* context) {
    if (pdf == nullptr) {
        return;
    }
    pelmix::PdfDocument::Progress call;
    if (progress != nullptr) {
        call = [progress, context](int32_t done, int32_t total) {
            return progress(context, done, total) != 0;
        };
    }
    pdf->document.setProgress(std::move(call));
}

PELMIX_API void PELMIX_CALL PelmixPdfSetText(PELMIX_PDF* pdf, const char* dataFolder,
                                             const char* languages, int32_t threads) {
    if (pdf != nullptr) {
        pdf->document.recognizeText(dataFolder != nullptr ? dataFolder : "",
                                    languages != nullptr ? languages : "", threads);
    }
}

PELMIX_API int32_t PELMIX_CALL PelmixPdfTextPages(PELMIX_PDF* pdf) {
    return pdf != nullptr ? pdf->document.textPages() : 0;
}

PELMIX_API int32_t PELMIX_CALL PelmixPdfError(PELMIX_PDF* pdf, int32_t* systemError, int32_t* width,
                                              int32_t* height) {
    using Failure = pelmix::PdfDocument::Failure;
    const Failure failure = pdf != nullptr ? pdf->document.failure() : Failure::NotWritten;
    if (systemError != nullptr) {
        *systemError = pdf != nullptr ? pdf->document.error() : 0;
    }
    if (width != nullptr) {
        *width = pdf != nullptr ? pdf->document.refusedWidth() : 0;
    }
    if (height != nullptr) {
        *height = pdf != nullptr ? pdf->document.refusedHeight() : 0;
    }
    switch (failure) {
    case Failure::None:
        return PELMIX_PDF_OK;
    case Failure::NotAPicture:
        return PELMIX_PDF_NOT_A_PICTURE;
    case Failure::TooLarge:
        return PELMIX_PDF_TOO_LARGE;
    case Failure::PictureChanged:
        return PELMIX_PDF_PICTURE_CHANGED;
    case Failure::NoSpace:
        return PELMIX_PDF_NO_SPACE;
    case Failure::Stopped:
        return PELMIX_PDF_STOPPED;
    case Failure::NotWritten:
        break;
    }
    return PELMIX_PDF_NOT_WRITTEN;
}

PELMIX_API int32_t PELMIX_CALL PelmixPdfFilePages(const char* path) {
    return pelmix::PdfDocument::pagesIn(path);
}

PELMIX_API HGLOBAL PELMIX_CALL PelmixCleanPage(HGLOBAL image, const PELMIX_CLEANING* steps,
                                               PELMIX_CLEANED* result) {
    if (result != nullptr) {
        *result = PELMIX_CLEANED{};
    }
    if (steps == nullptr) {
        return nullptr;
    }
    pelmix::CleaningSteps chosen;
    chosen.cutBorders = steps->CUT_BORDERS != 0;
    chosen.straighten = steps->STRAIGHTEN != 0;
    chosen.turnUpright = steps->TURN_UPRIGHT != 0;
    chosen.findBlank = steps->FIND_BLANK != 0;
    chosen.blankSensitivity = steps->BLANK_SENSITIVITY;
    chosen.textData = steps->TEXT_DATA != nullptr ? steps->TEXT_DATA : "";
    const std::atomic<bool> never{false};
    pelmix::CleanedPage cleaned = pelmix::cleanPage(image, chosen, never);
    if (result != nullptr) {
        result->BLANK = cleaned.blank ? 1 : 0;
        result->SKEW_DEGREES = cleaned.skewDegrees;
        result->TURN = cleaned.turnDegrees;
    }
    return cleaned.image.release();
}
