// What a fitted load would take, from the file's header alone: how callers that decode on
// several threads at once keep the sum of their decodes within a bound.
#include "codecs.h"
#include "dib.h"
#include "file_reader.h"
#include "fit_size.h"
#include "jpeg_extent.h"
#include "tiff_file.h"
#include "tiff_layout.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

using namespace pelmix;

namespace {

constexpr uint64_t kMaxFileBytes = uint64_t(1) << 31;

int64_t jpegCost(const FileReader& file, int32_t maxWidth, int32_t maxHeight, IMAGE_INFO& loaded) {
    JpegExtent extent;
    if (!scanJpegExtent(file, extent) || !extent.picture ||
        !sizeAllowed(extent.width, extent.height)) {
        return 0;
    }
    const bool turned = extent.orientation >= 5 && extent.orientation <= 8;
    if (turned) {
        std::swap(maxWidth, maxHeight);
    }
    const FitSize size = jpegScaledSize(extent.width, extent.height, maxWidth, maxHeight);
    const int64_t pixels = size.width * size.height;
    const int64_t channels = extent.components == 1 ? 1 : 3;
    loaded.WIDTH = static_cast<int32_t>(turned ? size.height : size.width);
    loaded.HEIGHT = static_cast<int32_t>(turned ? size.width : size.height);
    loaded.BIT_COUNT = static_cast<int32_t>(channels * 8);
    // The data read, the image, CMYK's own rows and the turned copy; a file that lacks its end
    // marker is copied once to be given one.
    return static_cast<int64_t>(extent.bytes) * (extent.complete ? 1 : 2) + pixels * channels +
           (extent.components == 4 ? pixels * 4 : 0) +
           (extent.orientation != 1 ? pixels * channels : 0);
}

int64_t tiffCost(const FileReader& file, int32_t maxWidth, int32_t maxHeight, IMAGE_INFO& loaded) {
    TiffFile tiff(file);
    Layout layout;
    if (!tiff.isOpen() || tiff.failed() || !readLayout(tiff.get(), layout) ||
        !sizeAllowed(layout.width, layout.height)) {
        return 0;
    }
    const bool turned = layout.orientation >= ORIENTATION_LEFTTOP;
    if (turned) {
        std::swap(maxWidth, maxHeight);
    }
    const FitSize size = fitInto(layout.width, layout.height, maxWidth, maxHeight);
    const int64_t pixels = size.width * size.height;
    loaded.WIDTH = static_cast<int32_t>(turned ? size.height : size.width);
    loaded.HEIGHT = static_cast<int32_t>(turned ? size.width : size.height);
    loaded.BIT_COUNT = 24;
    // The image (and its turned copy), and what libtiff holds of the file at a time: a strip or a
    // row of tiles, raw and as RGBA.
    const int64_t band =
        layout.tiled ? int64_t(TIFFTileRowSize64(tiff.get())) * 4 : TIFFStripSize64(tiff.get());
    return pixels * 3 * (turned ? 2 : 1) + std::clamp<int64_t>(band, 0, int64_t(1) << 28) * 5 +
           int64_t(layout.width) * 8;
}

int64_t bmpCost(const FileReader& file, IMAGE_INFO& loaded) {
    uint8_t header[26] = {};
    if (file.readAt(0, header, sizeof header) != sizeof header) {
        return 0;
    }
    const auto le = [&](size_t at, size_t bytes) {
        uint32_t value = 0;
        for (size_t i = 0; i < bytes; ++i) {
            value |= uint32_t(header[at + i]) << (8 * i);
        }
        return value;
    };
    const bool core = le(14, 4) == 12;
    const int64_t width = core ? le(18, 2) : static_cast<int32_t>(le(18, 4));
    const int64_t height = core ? le(20, 2) : std::llabs(static_cast<int32_t>(le(22, 4)));
    if (!sizeAllowed(width, height)) {
        return 0;
    }
    loaded.WIDTH = static_cast<int32_t>(width);
    loaded.HEIGHT = static_cast<int32_t>(height);
    loaded.BIT_COUNT = 24;
    // The decoder reads the headers and at most the rows (or runs) they describe.
    const int64_t read =
        std::min<int64_t>(static_cast<int64_t>(file.size()), (width + 4) * height * 4 + 2048);
    return read + width * height * 3;
}

} // namespace

PELMIX_API int64_t PELMIX_CALL PelmixFileLoadFitCost(const char* path, int32_t maxWidth,
                                                     int32_t maxHeight, IMAGE_INFO* loaded) {
    IMAGE_INFO info;
    std::memset(&info, 0, sizeof info);
    FileReader file;
    uint8_t head[4] = {};
    int64_t cost = -1;
    if (file.open(path, kMaxFileBytes)) {
        switch (sniff(head, file.readAt(0, head, sizeof head))) {
        case FileKind::Bmp:
            cost = bmpCost(file, info);
            break;
        case FileKind::Jpeg:
            cost = jpegCost(file, maxWidth, maxHeight, info);
            break;
        case FileKind::Tiff:
            cost = tiffCost(file, maxWidth, maxHeight, info);
            break;
        case FileKind::Unknown:
            break;
        }
    }
    if (loaded != nullptr) {
        *loaded = info;
    }
    return cost;
}
