// Image handles <-> QImage.
#include "dib_qimage.h"

#include "dib.h"

#include <QList>
#include <cstring>

namespace {

using pelmix::DibView;

void unpackIndices(const uint8_t* in, uint8_t* out, int32_t width, uint16_t bits) {
    if (bits == 8) {
        std::memcpy(out, in, static_cast<size_t>(width));
        return;
    }
    for (int32_t x = 0; x < width; ++x) {
        out[x] = pelmix::indexAt(in, x, bits);
    }
}

// The picture of a valid view of 1, 4, 8 or 24 bits.
QImage pictureOf(const DibView& dib) {
    const int32_t width = dib.width();
    const int32_t height = dib.height();
    const uint16_t bits = dib.bitCount();
    QImage out;
    if (bits <= 8) {
        out = QImage(width, height, QImage::Format_Indexed8);
        if (out.isNull()) {
            return {};
        }
        // Padded so that every index a pixel can hold has a colour, even with a short table.
        QList<QRgb> palette(1 << bits, qRgb(0, 0, 0));
        const pelmix::Rgbq* table = dib.colours();
        for (uint32_t i = 0; i < dib.colourCount() && i < static_cast<uint32_t>(palette.size());
             ++i) {
            palette[i] = qRgb(table[i].red, table[i].green, table[i].blue);
        }
        out.setColorTable(palette);
        for (int32_t y = 0; y < height; ++y) {
            unpackIndices(dib.row(y), out.scanLine(y), width, bits);
        }
    } else {
        out = QImage(width, height, QImage::Format_BGR888);
        if (out.isNull()) {
            return {};
        }
        for (int32_t y = 0; y < height; ++y) {
            std::memcpy(out.scanLine(y), dib.row(y), static_cast<size_t>(width) * 3);
        }
    }
    const PELMIX_BITMAPINFOHEADER& header = dib.header();
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
    {
        DibView dib(image);
        if (!dib.valid()) {
            return {};
        }
        if (dib.bitCount() != 16 && dib.bitCount() != 32) {
            return pictureOf(dib);
        }
    }
    HGLOBAL full = pelmix::normalizedCopy(image);
    QImage picture;
    {
        DibView dib(full);
        if (dib.valid()) {
            picture = pictureOf(dib);
        }
    }
    GlobalFree(full);
    return picture;
}

PELMIX_VIEW_CXX HGLOBAL PelmixFromQImage(const QImage& picture) {
    if (picture.isNull() || !pelmix::sizeAllowed(picture.width(), picture.height())) {
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
    HGLOBAL handle = pelmix::createDib(width, height, bits);
    if (handle == nullptr) {
        return nullptr;
    }
    DibView dib(handle);
    PELMIX_BITMAPINFOHEADER& header = dib.header();
    header.biXPelsPerMeter = resolutionOf(picture.dotsPerMeterX());
    header.biYPelsPerMeter = resolutionOf(picture.dotsPerMeterY());
    const uint32_t colours = dib.colourCount();
    auto* table = reinterpret_cast<uint8_t*>(dib.colours());
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

    const bool packIndices = bits == 1 && source.format() == QImage::Format_Indexed8;
    const size_t used =
        bits == 1 ? static_cast<size_t>((width + 7) / 8) : static_cast<size_t>(width) * (bits / 8);
    // Bits past the last pixel of a one-bit row are left zero, not copied from QImage's padding.
    const uint8_t lastMask = static_cast<uint8_t>(width % 8 == 0 ? 0xFF : 0xFF << (8 - width % 8));
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* out = dib.row(y);
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
    return handle;
}
