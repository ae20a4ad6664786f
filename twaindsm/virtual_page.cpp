// Drawing the virtual scanner's pages and turning them into image handles.
#include "virtual_page.h"

#include "dib.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

namespace twaindsm {
namespace {

// Seven-segment digits: which of the segments a..g (top, top right, bottom right, bottom,
// bottom left, top left, middle) each digit lights.
constexpr std::array<uint8_t, 10> kSegments = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                               0x6D, 0x7D, 0x07, 0x7F, 0x6F};

void paintDigit(QPainter& painter, const QRect& box, int digit) {
    const int w = box.width();
    const int h = box.height();
    const int t = std::max(1, w / 5);
    const int half = h / 2;
    const int x = box.left();
    const int y = box.top();
    const std::array<QRect, 7> segment = {
        QRect(x, y, w, t),                                       // a
        QRect(x + w - t, y, t, half + t / 2),                    // b
        QRect(x + w - t, y + half - t / 2, t, h - half + t / 2), // c
        QRect(x, y + h - t, w, t),                               // d
        QRect(x, y + half - t / 2, t, h - half + t / 2),         // e
        QRect(x, y, t, half + t / 2),                            // f
        QRect(x, y + half - t / 2, w, t),                        // g
    };
    for (size_t i = 0; i < segment.size(); ++i) {
        if (kSegments[static_cast<size_t>(digit)] & (1u << i)) {
            painter.fillRect(segment[i], Qt::black);
        }
    }
}

void paintNumber(QPainter& painter, const QRect& box, int number) {
    const std::string digits = std::to_string(std::max(0, number));
    const int count = static_cast<int>(digits.size());
    // Digits twice as high as wide with a quarter-width gap, as large as the box allows.
    int height = box.height();
    int width = height / 2;
    const int widthNeeded = count * width + (count - 1) * (width / 4);
    if (widthNeeded > box.width() && widthNeeded > 0) {
        width = std::max(1, width * box.width() / widthNeeded);
        height = width * 2;
    }
    const int gap = width / 4;
    const int total = count * width + (count - 1) * gap;
    int x = box.left() + (box.width() - total) / 2;
    const int y = box.top() + (box.height() - height) / 2;
    for (char c : digits) {
        paintDigit(painter, QRect(x, y, width, height), c - '0');
        x += width + gap;
    }
}

// The fixed colour table of palette pages: a 6 x 6 x 6 colour cube (index 36 r + 6 g + b), then
// 40 greys between the cube's own grey levels.
constexpr int kCubeSize = 216;
constexpr int kExtraGreys = 256 - kCubeSize;

QRgb paletteColour(int index) {
    if (index < kCubeSize) {
        return qRgb(index / 36 * 51, index / 6 % 6 * 51, index % 6 * 51);
    }
    const int grey = ((index - kCubeSize) + 1) * 255 / (kExtraGreys + 1);
    return qRgb(grey, grey, grey);
}

uint8_t paletteIndex(QRgb colour) {
    const int r = qRed(colour);
    const int g = qGreen(colour);
    const int b = qBlue(colour);
    const int cube = (r + 25) / 51 * 36 + (g + 25) / 51 * 6 + (b + 25) / 51;
    if (r != g || g != b) {
        return static_cast<uint8_t>(cube);
    }
    const int ramp = std::clamp((r * (kExtraGreys + 1) + 127) / 255 - 1, 0, kExtraGreys - 1);
    const int rampGrey = qRed(paletteColour(kCubeSize + ramp));
    const int cubeGrey = qRed(paletteColour(cube));
    return static_cast<uint8_t>(std::abs(rampGrey - r) < std::abs(cubeGrey - r) ? kCubeSize + ramp
                                                                                : cube);
}

uint16_t bitsFor(TW_UINT16 pixelType) {
    switch (pixelType) {
    case TWPT_BW:
        return 1;
    case TWPT_GRAY:
    case TWPT_PALETTE:
        return 8;
    default:
        return 24;
    }
}

void fillColourTable(pelmix::DibView& dib, TW_UINT16 pixelType) {
    pelmix::Rgbq* table = dib.colours();
    for (uint32_t i = 0; i < dib.colourCount(); ++i) {
        QRgb colour = 0;
        if (pixelType == TWPT_PALETTE) {
            colour = paletteColour(static_cast<int>(i));
        } else if (pixelType == TWPT_BW) {
            // Index 0 is black, 1 white, as the one-bit bitmaps of the image library expect.
            colour = i == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        } else {
            colour = qRgb(static_cast<int>(i), static_cast<int>(i), static_cast<int>(i));
        }
        table[i] = {static_cast<uint8_t>(qBlue(colour)), static_cast<uint8_t>(qGreen(colour)),
                    static_cast<uint8_t>(qRed(colour)), 0};
    }
}

void convertRow(const QRgb* in, uint8_t* out, int width, const VirtualPageRequest& request) {
    switch (request.pixelType) {
    case TWPT_BW:
        std::fill(out, out + (width + 7) / 8, uint8_t{0});
        for (int x = 0; x < width; ++x) {
            if (qGray(in[x]) >= request.threshold) {
                pelmix::setIndexAt(out, x, 1, 1);
            }
        }
        break;
    case TWPT_GRAY:
        for (int x = 0; x < width; ++x) {
            out[x] = static_cast<uint8_t>(qGray(in[x]));
        }
        break;
    case TWPT_PALETTE: {
        // Pages hold a handful of colours in long runs: remember the last lookup.
        QRgb last = in[0];
        uint8_t index = paletteIndex(last);
        for (int x = 0; x < width; ++x) {
            if (in[x] != last) {
                last = in[x];
                index = paletteIndex(last);
            }
            out[x] = index;
        }
        break;
    }
    default:
        for (int x = 0; x < width; ++x) {
            out[3 * x] = static_cast<uint8_t>(qBlue(in[x]));
            out[3 * x + 1] = static_cast<uint8_t>(qGreen(in[x]));
            out[3 * x + 2] = static_cast<uint8_t>(qRed(in[x]));
        }
    }
}

int32_t dotsPerMeter(double dotsPerInch) {
    const double value = dotsPerInch / 0.0254;
    return value > 0 && value < INT32_MAX ? static_cast<int32_t>(std::lround(value)) : 0;
}

int pixelsFor(double inches, double resolution) {
    const double pixels = std::round(inches * resolution);
    if (!(pixels >= 1)) { // also catches NaN
        return 1;
    }
    return pixels < INT_MAX ? static_cast<int>(pixels) : INT_MAX;
}

bool drawInto(pelmix::DibView& dib, const VirtualPageRequest& request) {
    dib.header().biXPelsPerMeter = dotsPerMeter(request.xResolution);
    dib.header().biYPelsPerMeter = dotsPerMeter(request.yResolution);
    fillColourTable(dib, request.pixelType);

    // The page is painted a band of rows at a time, so a large page needs little memory beyond
    // the image handle itself.
    const VirtualPageLayout layout = layoutVirtualPage(QSize(request.width, request.height));
    const int bandRows = std::clamp((1 << 20) / request.width, 1, request.height);
    QImage band(request.width, bandRows, QImage::Format_RGB32);
    if (band.isNull()) {
        return false;
    }
    for (int top = 0; top < request.height; top += bandRows) {
        {
            QPainter painter(&band);
            painter.translate(0, -top);
            paintVirtualPage(painter, layout, request.pageNumber);
        }
        const int rows = std::min(bandRows, request.height - top);
        for (int y = 0; y < rows; ++y) {
            convertRow(reinterpret_cast<const QRgb*>(band.constScanLine(y)), dib.row(top + y),
                       request.width, request);
        }
    }
    return true;
}

} // namespace

const std::array<QColor, 8>& virtualBarColours() {
    static const std::array<QColor, 8> colours = {
        QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(0, 0, 255), QColor(0, 255, 255),
        QColor(255, 0, 255), QColor(255, 255, 0), QColor(0, 0, 0),   QColor(255, 255, 255)};
    return colours;
}

VirtualPageLayout layoutVirtualPage(QSize size) {
    VirtualPageLayout layout;
    layout.size = size;
    const int w = size.width();
    const int h = size.height();
    const int shorter = std::min(w, h);
    const int margin = shorter / 40;
    layout.frameWidth = std::max(1, shorter / 100);
    layout.frame = QRect(margin, margin, w - 2 * margin, h - 2 * margin);

    // Inside the frame, with a gap as wide as the margin (at least a pixel).
    const int gap = std::max(1, margin);
    const QRect inner = layout.frame.adjusted(layout.frameWidth + gap, layout.frameWidth + gap,
                                              -layout.frameWidth - gap, -layout.frameWidth - gap);
    const int barHeight = std::max(1, inner.height() / 10);
    for (int i = 0; i < 8; ++i) {
        const int left = inner.left() + inner.width() * i / 8;
        const int right = inner.left() + inner.width() * (i + 1) / 8;
        layout.bars[static_cast<size_t>(i)] = QRect(left, inner.top(), right - left, barHeight);
    }
    const QRect below(inner.left(), inner.top() + barHeight + gap, inner.width(),
                      inner.height() - barHeight - gap);
    // The number takes the middle 60 % of the space under the bars.
    layout.number = below.adjusted(below.width() / 5, below.height() / 5, -below.width() / 5,
                                   -below.height() / 5);
    return layout;
}

void paintVirtualPage(QPainter& painter, const VirtualPageLayout& layout, int pageNumber) {
    painter.fillRect(QRect(QPoint(0, 0), layout.size), Qt::white);
    const QRect& f = layout.frame;
    const int t = layout.frameWidth;
    painter.fillRect(QRect(f.left(), f.top(), f.width(), t), Qt::black);
    painter.fillRect(QRect(f.left(), f.bottom() - t + 1, f.width(), t), Qt::black);
    painter.fillRect(QRect(f.left(), f.top(), t, f.height()), Qt::black);
    painter.fillRect(QRect(f.right() - t + 1, f.top(), t, f.height()), Qt::black);
    const auto& colours = virtualBarColours();
    for (size_t i = 0; i < layout.bars.size(); ++i) {
        painter.fillRect(layout.bars[i], colours[i]);
    }
    if (layout.number.width() > 0 && layout.number.height() > 0) {
        paintNumber(painter, layout.number, pageNumber);
    }
}

QSize virtualPageSize(double widthInches, double heightInches, double xResolution,
                      double yResolution) {
    return QSize(pixelsFor(widthInches, xResolution), pixelsFor(heightInches, yResolution));
}

HGLOBAL renderVirtualPage(const VirtualPageRequest& request) {
    if (!pelmix::sizeAllowed(request.width, request.height)) {
        return nullptr;
    }
    HGLOBAL handle = pelmix::createDib(request.width, request.height, bitsFor(request.pixelType));
    if (handle == nullptr) {
        return nullptr;
    }
    bool drawn = false;
    {
        pelmix::DibView dib(handle);
        drawn = dib.valid() && drawInto(dib, request);
    }
    if (!drawn) {
        GlobalFree(handle);
        return nullptr;
    }
    return handle;
}

} // namespace twaindsm
