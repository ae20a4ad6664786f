// Image handles <-> QImage. libpelmix keeps its DIB helpers private, so the little parsing needed
// here is done again, with the same checks against the block's size.
#include "dib_qimage.h"

#include <QList>
#include <cstring>

namespace {

constexpr uint32_t kHeaderSize = 40;

bool sizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= PELMIX_MAX_SIDE && height <= PELMIX_MAX_SIDE &&
           static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= PELMIX_MAX_PIXELS;
}

uint64_t rowBytes(uint32_t bitCount, uint64_t width) {
    return ((static_cast<uint64_t>(bitCount) * width + 31) / 32) * 4;
}

// The value of a channel under a bit mask, scaled to 0..255.
uint8_t channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1) == 0) {
        ++shift;
    }
    const uint32_t max = mask >> shift;
    const uint32_t value = (pixel & mask) >> shift;
    return static_cast<uint8_t>((static_cast<uint64_t>(value) * 255 + max / 2) / max);
}

void unpackIndices(const uint8_t* in, uint8_t* out, int32_t width, uint16_t bits) {
    if (bits == 8) {
        std::memcpy(out, in, static_cast<size_t>(width));
    } else if (bits == 4) {
        for (int32_t x = 0; x < width; ++x) {
            out[x] = (x & 1) ? (in[x >> 1] & 0x0F) : (in[x >> 1] >> 4);
        }
    } else {
        for (int32_t x = 0; x < width; ++x) {
            out[x] = (in[x >> 3] >> (7 - (x & 7))) & 1;
        }
    }
}

void unpackMasked(const uint8_t* in, uint8_t* out, int32_t width, uint16_t bits,
                  const uint32_t (&masks)[3]) {
    for (int32_t x = 0; x < width; ++x) {
        uint32_t pixel;
        if (bits == 16) {
            pixel = static_cast<uint32_t>(in[2 * x]) | (static_cast<uint32_t>(in[2 * x + 1]) << 8);
        } else {
            std::memcpy(&pixel, in + 4 * x, 4);
        }
        out[3 * x] = channel(pixel, masks[0]);
        out[3 * x + 1] = channel(pixel, masks[1]);
        out[3 * x + 2] = channel(pixel, masks[2]);
    }
}

// The picture of a locked block of blockSize bytes; null when the block is not a sound DIB.
QImage decodeBlock(const uint8_t* base, uint64_t blockSize) {
    if (blockSize < kHeaderSize) {
        return {};
    }
    PELMIX_BITMAPINFOHEADER header;
    std::memcpy(&header, base, sizeof header);
    const uint16_t bits = header.biBitCount;
    const bool knownDepth =
        bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const bool knownCompression =
        header.biCompression == PELMIX_BI_RGB ||
        (header.biCompression == PELMIX_BI_BITFIELDS && (bits == 16 || bits == 32));
    if (header.biSize != kHeaderSize || !knownDepth || !knownCompression || header.biPlanes > 1 ||
        header.biHeight == INT32_MIN) {
        return {};
    }
    const bool bottomUp = header.biHeight > 0;
    const int32_t width = header.biWidth;
    const int32_t height = bottomUp ? header.biHeight : -header.biHeight;
    if (!sizeAllowed(width, height)) {
        return {};
    }
    const uint64_t stride = rowBytes(bits, static_cast<uint64_t>(width));
    const uint32_t colours = static_cast<uint32_t>(DibNumColors(&header));
    const uint64_t need = kHeaderSize + colours * 4ull + stride * static_cast<uint64_t>(height);
    if (need > blockSize) {
        return {};
    }
    const uint8_t* table = base + kHeaderSize;
    const uint8_t* pixels = table + colours * 4ull;
    const auto sourceRow = [&](int32_t y) {
        return pixels + static_cast<size_t>(bottomUp ? height - 1 - y : y) * stride;
    };

    QImage out;
    if (bits <= 8) {
        out = QImage(width, height, QImage::Format_Indexed8);
        if (out.isNull()) {
            return {};
        }
        // Padded so that every index a pixel can hold has a colour, even with a short table.
        QList<QRgb> palette(1 << bits, qRgb(0, 0, 0));
        for (uint32_t i = 0; i < colours && i < static_cast<uint32_t>(palette.size()); ++i) {
            palette[i] = qRgb(table[4 * i + 2], table[4 * i + 1], table[4 * i]);
        }
        out.setColorTable(palette);
        for (int32_t y = 0; y < height; ++y) {
            unpackIndices(sourceRow(y), out.scanLine(y), width, bits);
        }
    } else if (bits == 24) {
        out = QImage(width, height, QImage::Format_BGR888);
        if (out.isNull()) {
            return {};
        }
        for (int32_t y = 0; y < height; ++y) {
            std::memcpy(out.scanLine(y), sourceRow(y), static_cast<size_t>(width) * 3);
        }
    } else {
        uint32_t masks[3]; // red, green, blue
        if (header.biCompression == PELMIX_BI_BITFIELDS) {
            std::memcpy(masks, table, sizeof masks);
        } else if (bits == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        } else {
            masks[0] = 0x00FF0000;
            masks[1] = 0x0000FF00;
            masks[2] = 0x000000FF;
        }
        out = QImage(width, height, QImage::Format_RGB888);
        if (out.isNull()) {
            return {};
        }
        for (int32_t y = 0; y < height; ++y) {
            unpackMasked(sourceRow(y), out.scanLine(y), width, bits, masks);
        }
    }
    if (header.biXPelsPerMeter > 0) {
        out.setDotsPerMeterX(header.biXPelsPerMeter);
    }
    if (header.biYPelsPerMeter > 0) {
        out.setDotsPerMeterY(header.biYPelsPerMeter);
    }
    return out;
}

void writeColour(uint8_t* entry, QRgb colour) {
    entry[0] = static_cast<uint8_t>(qBlue(colour));
    entry[1] = static_cast<uint8_t>(qGreen(colour));
    entry[2] = static_cast<uint8_t>(qRed(colour));
    entry[3] = 0;
}

int32_t resolutionOf(int dotsPerMeter) {
    return dotsPerMeter > 0 ? dotsPerMeter : 0;
}

} // namespace

PELMIX_VIEW_CXX QImage PelmixToQImage(HGLOBAL image) {
    if (image == nullptr) {
        return {};
    }
    const auto* base = static_cast<const uint8_t*>(GlobalLock(image));
    if (base == nullptr) {
        return {};
    }
    QImage picture = decodeBlock(base, GlobalSize(image));
    GlobalUnlock(image);
    return picture;
}

PELMIX_VIEW_CXX HGLOBAL PelmixFromQImage(const QImage& picture) {
    if (picture.isNull() || !sizeAllowed(picture.width(), picture.height())) {
        return nullptr;
    }
    QImage source;
    uint16_t bits = 24;
    switch (picture.format()) {
    case QImage::Format_Mono:
        source = picture;
        bits = 1;
        break;
    case QImage::Format_MonoLSB:
        source = picture.convertToFormat(QImage::Format_Mono);
        bits = 1;
        break;
    case QImage::Format_Indexed8:
        // A two-colour table is a one-bit picture, so one-bit handles keep their depth through
        // PelmixToQImage and back.
        source = picture;
        bits = picture.colorCount() <= 2 ? 1 : 8;
        break;
    case QImage::Format_Grayscale8:
        source = picture;
        bits = 8;
        break;
    case QImage::Format_Grayscale16:
        source = picture.convertToFormat(QImage::Format_Grayscale8);
        bits = 8;
        break;
    default:
        source = picture.convertToFormat(QImage::Format_BGR888);
        break;
    }
    if (source.isNull()) {
        return nullptr;
    }
    const int32_t width = source.width();
    const int32_t height = source.height();
    const uint64_t stride = rowBytes(bits, static_cast<uint64_t>(width));
    const uint32_t colours = bits <= 8 ? (1u << bits) : 0;
    const uint64_t imageBytes = stride * static_cast<uint64_t>(height);
    HGLOBAL handle =
        GlobalAlloc(GHND, static_cast<SIZE_T>(kHeaderSize + colours * 4ull + imageBytes));
    if (handle == nullptr) {
        return nullptr;
    }
    auto* base = static_cast<uint8_t*>(GlobalLock(handle));
    if (base == nullptr) {
        GlobalFree(handle);
        return nullptr;
    }
    PELMIX_BITMAPINFOHEADER header{};
    header.biSize = kHeaderSize;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biCompression = PELMIX_BI_RGB;
    header.biSizeImage = static_cast<uint32_t>(imageBytes);
    header.biXPelsPerMeter = resolutionOf(picture.dotsPerMeterX());
    header.biYPelsPerMeter = resolutionOf(picture.dotsPerMeterY());
    header.biClrUsed = colours;
    std::memcpy(base, &header, sizeof header);

    uint8_t* table = base + kHeaderSize;
    const bool grey = source.format() == QImage::Format_Grayscale8;
    for (uint32_t i = 0; i < colours; ++i) {
        QRgb colour = qRgb(0, 0, 0);
        if (grey) {
            colour = qRgb(i, i, i);
        } else if (static_cast<int>(i) < source.colorCount()) {
            colour = source.color(static_cast<int>(i));
        } else if (bits == 1 && i == 1) {
            colour = qRgb(255, 255, 255); // how Qt itself shows a one-bit image without a table
        }
        writeColour(table + 4 * i, colour);
    }

    uint8_t* pixels = table + colours * 4ull;
    const bool packIndices = bits == 1 && source.format() == QImage::Format_Indexed8;
    const size_t used =
        bits == 1 ? static_cast<size_t>((width + 7) / 8) : static_cast<size_t>(width) * (bits / 8);
    // Bits past the last pixel of a one-bit row are left zero, not copied from QImage's padding.
    const uint8_t lastMask = static_cast<uint8_t>(width % 8 == 0 ? 0xFF : 0xFF << (8 - width % 8));
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* out = pixels + static_cast<size_t>(height - 1 - y) * stride;
        const uint8_t* in = source.constScanLine(y);
        if (packIndices) {
            for (int32_t x = 0; x < width; ++x) {
                if (in[x] == 1) {
                    out[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
                }
            }
            continue;
        }
        std::memcpy(out, in, used);
        if (bits == 1) {
            out[used - 1] &= lastMask;
        }
    }
    GlobalUnlock(handle);
    return handle;
}
