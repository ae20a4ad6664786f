// TIFF reading: the first page, keeping bilevel, grey and palette pictures as they are and
// handing what libtiff cannot deliver line by line to its RGBA reader. A picture wanted smaller
// is reduced while it is read, so memory follows the wanted size, not the stored one.
#include "box_reducer.h"
#include "codecs.h"
#include "dib.h"
#include "fit_size.h"
#include "tiff_file.h"
#include "tiff_layout.h"
#include "tiff_line_plan.h"
#include "tiff_lines.h"
#include "tiff_rgba_rows.h"
#include "upright.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace pelmix {

namespace {

void setGreyRamp(const DibView& dib) {
    for (uint32_t i = 0; i < 256; ++i) {
        const auto v = static_cast<uint8_t>(i);
        dib.colours()[i] = Rgbq{v, v, v, 0};
    }
}

// An empty image of the given size for what the reader delivers: grey (8 bits, grey ramp) or
// 24 bits.
OwnedDib createPixels(uint64_t width, uint64_t height, bool grey) {
    OwnedDib image(
        createDib(static_cast<int32_t>(width), static_cast<int32_t>(height), grey ? 8 : 24));
    if (image && grey) {
        setGreyRamp(DibView(image.get()));
    }
    return image;
}

// The full-size image of a line-readable picture.
HGLOBAL readLinesWhole(TiffFile& file, const Layout& layout, const LinePlan& plan) {
    TiffLines lines(file, layout.width, layout.height, plan.bitsPerPixel());
    OwnedDib image(createDib(static_cast<int32_t>(layout.width),
                             static_cast<int32_t>(layout.height), plan.imageBits()));
    if (!lines.valid() || !image) {
        return nullptr;
    }
    DibView dib(image.get());
    if (plan.kind == LineKind::Indexed) {
        std::memcpy(dib.colours(), plan.palette, plan.colours * sizeof(Rgbq));
    } else if (plan.kind == LineKind::Grey) {
        setGreyRamp(dib);
    }
    const auto height = static_cast<int32_t>(layout.height);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* line = lines.next();
        if (line == nullptr) {
            return nullptr;
        }
        toImageRow(plan, line, dib.row(plan.bottomFirst ? height - 1 - y : y));
    }
    return image.release();
}

HGLOBAL readLinesReduced(TiffFile& file, const Layout& layout, const LinePlan& plan,
                         const FitSize& size) {
    TiffLines lines(file, layout.width, layout.height, plan.bitsPerPixel());
    OwnedDib image = createPixels(size.width, size.height, plan.grey());
    std::unique_ptr<uint8_t[]> pixels(new (std::nothrow)
                                          uint8_t[size_t(layout.width) * (plan.grey() ? 1 : 3)]);
    if (!lines.valid() || !image || !pixels) {
        return nullptr;
    }
    BoxReducer reducer(image.get(), layout.width, layout.height, plan.bottomFirst);
    if (!reducer.valid()) {
        return nullptr;
    }
    for (uint32_t y = 0; y < layout.height; ++y) {
        const uint8_t* line = lines.next();
        if (line == nullptr) {
            return nullptr;
        }
        toPixels(plan, line, pixels.get());
        reducer.addRow(pixels.get());
    }
    return image.release();
}

// Everything else libtiff can turn into RGBA, as 24 bits, at the full or a reduced size.
HGLOBAL readRgba(TiffFile& file, const Layout& layout, const FitSize& size) {
    TiffRgbaRows rows(file, layout);
    OwnedDib image = createPixels(size.width, size.height, false);
    const bool whole = size.width == layout.width && size.height == layout.height;
    std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[whole ? 1 : layout.width * 3]);
    if (!rows.valid() || !image || !pixels) {
        return nullptr;
    }
    BoxReducer reducer(image.get(), layout.width, layout.height, rows.bottomFirst());
    DibView dib(image.get());
    const auto height = static_cast<int32_t>(layout.height);
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* row = rows.next();
        if (row == nullptr) {
            return nullptr;
        }
        uint8_t* out = whole ? dib.row(rows.bottomFirst() ? height - 1 - y : y) : pixels.get();
        for (uint32_t x = 0; x < layout.width; ++x) {
            abgrOnWhite(row[x], out + 3 * x);
        }
        if (!whole) {
            reducer.addRow(out);
        }
    }
    return image.release();
}

// The description of the full-size picture a reduced one stands for.
void describeStored(const Layout& layout, const LinePlan* plan,
                    const PELMIX_BITMAPINFOHEADER& header, IMAGE_INFO& info) {
    info.WIDTH = static_cast<int32_t>(layout.width);
    info.HEIGHT = static_cast<int32_t>(layout.height);
    info.BIT_COUNT = plan != nullptr ? plan->imageBits() : 24;
    switch (info.BIT_COUNT) {
    case 1:
        info.COLOR_TYPE = PELMIX_TWO_COLOUR;
        break;
    case 4:
        info.COLOR_TYPE = plan->grey() ? PELMIX_16_GREYS : PELMIX_16_COLOURS;
        break;
    case 8:
        info.COLOR_TYPE = plan->grey() ? PELMIX_256_GREYS : PELMIX_256_COLOURS;
        break;
    default:
        info.COLOR_TYPE = PELMIX_FULL_COLOUR;
    }
    const int32_t ppm = header.biXPelsPerMeter;
    info.RESOLUTION = ppm > 0 ? static_cast<int32_t>(std::lround(ppm * 0.0254)) : 0;
}

// The turn still owed to a decoded picture to show it upright. Orientations 2 to 4 are applied
// while reading; libtiff's RGBA reader, which reads 5 to 8, applies their mirror or flip as if
// they were 2 to 4, so a transposition remains (TIFF's 5 or 7 applied to what was read).
int remainingTurn(uint16_t orientation) {
    switch (orientation) {
    case ORIENTATION_LEFTTOP:
    case ORIENTATION_RIGHTBOT:
        return ORIENTATION_LEFTTOP;
    case ORIENTATION_RIGHTTOP:
    case ORIENTATION_LEFTBOT:
        return ORIENTATION_RIGHTBOT;
    default:
        return ORIENTATION_TOPLEFT;
    }
}

// The picture of an opened file of size bytes.
HGLOBAL decodeOpened(TiffFile& file, uint64_t size, int32_t maxWidth, int32_t maxHeight,
                     IMAGE_INFO* full, bool upright) {
    if (full != nullptr) {
        std::memset(full, 0, sizeof *full);
    }
    Layout layout;
    if (!file.isOpen() || file.failed() || !readLayout(file.get(), layout) ||
        !sizeAllowed(layout.width, layout.height) || !dataPresent(file.get(), layout, size) ||
        file.failed()) {
        return nullptr;
    }
    const int turn = upright ? remainingTurn(layout.orientation) : ORIENTATION_TOPLEFT;
    if (sidesExchanged(turn)) {
        std::swap(maxWidth, maxHeight); // the box is meant for the turned picture
    }
    const FitSize fitted = fitInto(layout.width, layout.height, maxWidth, maxHeight);
    const bool reduced = fitted.width != layout.width || fitted.height != layout.height;
    LinePlan plan;
    const bool byLine = planLines(file.get(), layout, plan);
    HGLOBAL image = nullptr;
    bool fromLines = false;
    if (byLine) {
        image = reduced ? readLinesReduced(file, layout, plan, fitted)
                        : readLinesWhole(file, layout, plan);
        fromLines = image != nullptr;
        // A codec that cannot deliver lines may still deliver whole strips to the RGBA reader.
        file.forgetErrors();
    }
    if (image == nullptr) {
        image = readRgba(file, layout, fitted);
    }
    if (image == nullptr) {
        return nullptr;
    }
    {
        DibView dib(image);
        setResolution(file.get(), dib.header());
        if (full != nullptr && reduced) {
            describeStored(layout, fromLines ? &plan : nullptr, dib.header(), *full);
            if (sidesExchanged(turn)) {
                std::swap(full->WIDTH, full->HEIGHT);
            }
        }
    }
    image = turnUpright(image, turn);
    if (full != nullptr && !reduced) {
        PelmixImageInfo(image, full);
    }
    return image;
}

} // namespace

HGLOBAL decodeTiff(const uint8_t* data, size_t size, int32_t maxWidth, int32_t maxHeight,
                   IMAGE_INFO* full, bool upright) {
    TiffFile file(data, size);
    return decodeOpened(file, size, maxWidth, maxHeight, full, upright);
}

HGLOBAL decodeTiff(const FileReader& reader, int32_t maxWidth, int32_t maxHeight, IMAGE_INFO* full,
                   bool upright) {
    TiffFile file(reader);
    return decodeOpened(file, reader.size(), maxWidth, maxHeight, full, upright);
}

} // namespace pelmix
