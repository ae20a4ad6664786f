#include "test_images.h"

#include "temp_dir.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

struct Locked {
    explicit Locked(HGLOBAL h) : h(h), base(static_cast<uint8_t*>(GlobalLock(h))) {}
    ~Locked() {
        if (base) {
            GlobalUnlock(h);
        }
    }
    PELMIX_BITMAPINFOHEADER* header() const {
        return reinterpret_cast<PELMIX_BITMAPINFOHEADER*>(base);
    }
    int colours() const { return DibNumColors(base); }
    uint8_t* palette() const { return base + 40; }
    int stride() const { return ((header()->biBitCount * header()->biWidth + 31) / 32) * 4; }
    int height() const { return std::abs(header()->biHeight); }
    uint8_t* row(int y) const {
        const int stored = header()->biHeight > 0 ? height() - 1 - y : y;
        return base + 40 + 4 * colours() + static_cast<size_t>(stored) * stride();
    }
    HGLOBAL h;
    uint8_t* base;
};

HGLOBAL allocate(int width, int height, int bits, int colours) {
    const int stride = ((bits * width + 31) / 32) * 4;
    const size_t size = 40 + 4 * colours + static_cast<size_t>(stride) * height;
    HGLOBAL h = GlobalAlloc(GHND, size);
    Locked l(h);
    PELMIX_BITMAPINFOHEADER* hd = l.header();
    hd->biSize = 40;
    hd->biWidth = width;
    hd->biHeight = height;
    hd->biPlanes = 1;
    hd->biBitCount = static_cast<uint16_t>(bits);
    hd->biSizeImage = static_cast<uint32_t>(stride * height);
    hd->biClrUsed = static_cast<uint32_t>(colours);
    hd->biXPelsPerMeter = hd->biYPelsPerMeter = 11811; // 300 dpi
    return h;
}

} // namespace

ImageHandle makeRgbImage(int width, int height, const std::function<Colour(int, int)>& pixel) {
    HGLOBAL h = allocate(width, height, 24, 0);
    Locked l(h);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = l.row(y);
        for (int x = 0; x < width; ++x) {
            const Colour c = pixel(x, y);
            row[3 * x] = c.b;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.r;
        }
    }
    return ImageHandle(h);
}

ImageHandle makeIndexedImage(int width, int height, int bits, const std::vector<Colour>& palette,
                             const std::function<uint8_t(int, int)>& index) {
    HGLOBAL h = allocate(width, height, bits, static_cast<int>(palette.size()));
    Locked l(h);
    for (size_t i = 0; i < palette.size(); ++i) {
        l.palette()[4 * i] = palette[i].b;
        l.palette()[4 * i + 1] = palette[i].g;
        l.palette()[4 * i + 2] = palette[i].r;
    }
    for (int y = 0; y < height; ++y) {
        uint8_t* row = l.row(y);
        for (int x = 0; x < width; ++x) {
            const uint8_t v = index(x, y);
            if (bits == 8) {
                row[x] = v;
            } else if (bits == 4) {
                row[x / 2] |= (x & 1) ? (v & 0x0F) : static_cast<uint8_t>(v << 4);
            } else if (v & 1) {
                row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    return ImageHandle(h);
}

std::vector<Colour> greyPalette(int bits) {
    const int n = 1 << bits;
    std::vector<Colour> p(n);
    for (int i = 0; i < n; ++i) {
        const auto v = static_cast<uint8_t>(i * 255 / (n - 1));
        p[i] = {v, v, v};
    }
    return p;
}

uint8_t indexAt(HGLOBAL image, int x, int y) {
    Locked l(image);
    const uint8_t* row = l.row(y);
    switch (l.header()->biBitCount) {
    case 1:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4:
        return (x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4);
    default:
        return row[x];
    }
}

Colour pixelAt(HGLOBAL image, int x, int y) {
    Locked l(image);
    const int bits = l.header()->biBitCount;
    if (bits == 24) {
        const uint8_t* p = l.row(y) + 3 * x;
        return {p[2], p[1], p[0]};
    }
    const uint8_t* row = l.row(y);
    uint8_t i = 0;
    if (bits == 1) {
        i = (row[x / 8] >> (7 - x % 8)) & 1;
    } else if (bits == 4) {
        i = (x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4);
    } else {
        i = row[x];
    }
    const uint8_t* e = l.palette() + 4 * i;
    return {e[2], e[1], e[0]};
}

IMAGE_INFO infoOf(HGLOBAL image) {
    IMAGE_INFO info{};
    PelmixImageInfo(image, &info);
    return info;
}

Colour testPattern(int x, int y, int width, int height) {
    const auto r = static_cast<uint8_t>(x * 255 / (width > 1 ? width - 1 : 1));
    const auto g = static_cast<uint8_t>(y * 255 / (height > 1 ? height - 1 : 1));
    const auto b = static_cast<uint8_t>(((x / 16 + y / 16) & 1) ? 200 : 40);
    return {r, g, b};
}

double meanDifference(HGLOBAL a, HGLOBAL b) {
    const IMAGE_INFO ia = infoOf(a);
    const IMAGE_INFO ib = infoOf(b);
    if (ia.WIDTH == 0 || ia.WIDTH != ib.WIDTH || ia.HEIGHT != ib.HEIGHT) {
        return 255.0;
    }
    double sum = 0;
    for (int y = 0; y < ia.HEIGHT; ++y) {
        for (int x = 0; x < ia.WIDTH; ++x) {
            const Colour p = pixelAt(a, x, y);
            const Colour q = pixelAt(b, x, y);
            sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
        }
    }
    return sum / (3.0 * ia.WIDTH * ia.HEIGHT);
}

PELMIX_BITMAPINFOHEADER headerOf(HGLOBAL image) {
    PELMIX_BITMAPINFOHEADER header{};
    std::memcpy(&header, GlobalLock(image), sizeof header);
    GlobalUnlock(image);
    return header;
}

bool setExifOrientation(const std::string& path, int orientation) {
    std::string bytes = readBytes(path);
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xD8") != 0) {
        return false;
    }
    // APP1: "Exif", a big-endian TIFF header and one IFD holding Orientation (SHORT).
    const char app1[] = {'\xFF', '\xE1', 0, 34, 'E', 'x', 'i', 'f', 0, 0,
                         'M',    'M',    0, 42, 0,   0,   0,   8,   0, 1,
                         1,      0x12,   0, 3,  0,   0,   0,   1,   0, char(orientation),
                         0,      0,      0, 0,  0,   0};
    bytes.insert(2, app1, sizeof app1);
    return writeBytes(path, bytes.data(), bytes.size());
}

bool setFrameSize(const std::string& path, int width, int height) {
    std::string bytes = readBytes(path);
    for (size_t pos = 2; pos + 9 <= bytes.size() && uint8_t(bytes[pos]) == 0xFF;) {
        const auto code = static_cast<uint8_t>(bytes[pos + 1]);
        if (code == 0xC0 || code == 0xC1 || code == 0xC2) {
            bytes[pos + 5] = char(height >> 8);
            bytes[pos + 6] = char(height & 0xFF);
            bytes[pos + 7] = char(width >> 8);
            bytes[pos + 8] = char(width & 0xFF);
            return writeBytes(path, bytes.data(), bytes.size());
        }
        pos += 2 + (size_t(uint8_t(bytes[pos + 2])) << 8 | uint8_t(bytes[pos + 3]));
    }
    return false;
}
