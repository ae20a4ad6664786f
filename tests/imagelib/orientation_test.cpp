// Camera orientation: the display loads turn a JPEG (Exif Orientation) or TIFF (Orientation tag)
// upright, the plain load keeps what is stored, and damaged Exif data is ignored.
#include "temp_dir.h"
#include "test_images.h"

#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <tiffio.h>
#include <turbojpeg.h>
#include <utility>
#include <vector>

namespace {

// The upright picture: four solid quadrants of distinct colours, blocks aligned to 8 pixels so
// that a high-quality JPEG keeps them clean.
constexpr int kWidth = 32, kHeight = 16;
constexpr std::array<Colour, 4> kQuadrants = {Colour{230, 20, 20}, Colour{20, 200, 20},
                                              Colour{20, 20, 230}, Colour{240, 240, 240}};

Colour upright(int x, int y) {
    return kQuadrants[(x >= kWidth / 2 ? 1 : 0) + (y >= kHeight / 2 ? 2 : 0)];
}

bool sidesExchanged(int orientation) {
    return orientation >= 5;
}

// The upright pixel that stored pixel (sx, sy) shows, as TIFF and Exif define orientation:
// 1 top row first, left column first; 2 right column first; 3 bottom row, right column first;
// 4 bottom row first; 5 to 8 the stored rows are columns (left, right, right from the bottom,
// left from the bottom).
Colour storedPixel(int orientation, int sx, int sy) {
    const int w = kWidth - 1, h = kHeight - 1;
    switch (orientation) {
    case 2:
        return upright(w - sx, sy);
    case 3:
        return upright(w - sx, h - sy);
    case 4:
        return upright(sx, h - sy);
    case 5:
        return upright(sy, sx);
    case 6:
        return upright(w - sy, sx);
    case 7:
        return upright(w - sy, h - sx);
    case 8:
        return upright(sy, h - sx);
    default:
        return upright(sx, sy);
    }
}

std::pair<int, int> storedSize(int orientation) {
    return sidesExchanged(orientation) ? std::pair{kHeight, kWidth} : std::pair{kWidth, kHeight};
}

std::vector<uint8_t> storedRgb(int orientation) {
    const auto [w, h] = storedSize(orientation);
    std::vector<uint8_t> rgb;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Colour c = storedPixel(orientation, x, y);
            rgb.insert(rgb.end(), {c.r, c.g, c.b});
        }
    }
    return rgb;
}

void put16(std::vector<uint8_t>& out, uint16_t v, bool big) {
    out.push_back(static_cast<uint8_t>(big ? v >> 8 : v & 0xFF));
    out.push_back(static_cast<uint8_t>(big ? v & 0xFF : v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v, bool big) {
    put16(out, static_cast<uint16_t>(big ? v >> 16 : v & 0xFFFF), big);
    put16(out, static_cast<uint16_t>(big ? v & 0xFFFF : v >> 16), big);
}

// An Exif APP1 payload whose IFD0 holds a Make entry, then the Orientation.
std::vector<uint8_t> exifPayload(int orientation, bool big, uint32_t ifdOffset = 8) {
    std::vector<uint8_t> p = {'E', 'x', 'i', 'f', 0, 0};
    p.insert(p.end(), big ? std::initializer_list<uint8_t>{'M', 'M'}
                          : std::initializer_list<uint8_t>{'I', 'I'});
    put16(p, 42, big);
    put32(p, ifdOffset, big);
    put16(p, 2, big);
    put16(p, 0x010F, big); // Make, ASCII, 4 bytes held in the entry
    put16(p, 2, big);
    put32(p, 4, big);
    p.insert(p.end(), {'C', 'a', 'm', 0});
    put16(p, 0x0112, big); // Orientation, SHORT
    put16(p, 3, big);
    put32(p, 1, big);
    put16(p, static_cast<uint16_t>(orientation), big);
    put16(p, 0, big);
    put32(p, 0, big); // no next IFD
    return p;
}

// A JPEG of the stored picture with the payload as an APP1 segment straight after SOI.
std::string jpegWith(int orientation, const std::vector<uint8_t>& app1) {
    const auto [w, h] = storedSize(orientation);
    const std::vector<uint8_t> rgb = storedRgb(orientation);
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(tj, rgb.data(), w, 0, h, TJPF_RGB, &out, &size, TJSAMP_444, 95, 0);
    std::string bytes(reinterpret_cast<char*>(out), size);
    tjFree(out);
    tjDestroy(tj);
    const size_t length = app1.size() + 2;
    std::string segment = {'\xFF', '\xE1', static_cast<char>(length >> 8),
                           static_cast<char>(length & 0xFF)};
    segment.append(app1.begin(), app1.end());
    bytes.insert(2, segment);
    return bytes;
}

bool writeTiff(const std::string& path, int orientation) {
    const auto [w, h] = storedSize(orientation);
    const std::vector<uint8_t> rgb = storedRgb(orientation);
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (tif == nullptr) {
        return false;
    }
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 4);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, orientation);
    bool ok = true;
    for (int y = 0; y < h && ok; ++y) {
        ok = TIFFWriteScanline(tif, const_cast<uint8_t*>(&rgb[size_t(y) * w * 3]), y, 0) == 1;
    }
    TIFFClose(tif);
    return ok;
}

bool closeTo(Colour c, Colour expected) {
    return std::abs(c.r - expected.r) <= 24 && std::abs(c.g - expected.g) <= 24 &&
           std::abs(c.b - expected.b) <= 24;
}

// The four corner pixels of image against pixel(x, y) of a picture of the same size.
template <typename Pixel> void expectCorners(HGLOBAL image, int width, int height, Pixel pixel) {
    const int sx = 0, ex = width - 1, sy = 0, ey = height - 1;
    for (const auto& [x, y] : {std::pair{sx, sy}, {ex, sy}, {sx, ey}, {ex, ey}}) {
        const Colour c = pixelAt(image, x, y);
        const Colour want = pixel(x, y);
        EXPECT_TRUE(closeTo(c, want))
            << "at " << x << "," << y << ": " << int(c.r) << " " << int(c.g) << " " << int(c.b);
    }
}

struct Case {
    bool tiff;
    int orientation;
    bool bigEndian; // Exif byte order
};

TEST(Orientation, DisplayLoadsTurnUprightAndThePlainLoadKeepsTheStoredPicture) {
    const Case cases[] = {{false, 1, false}, {false, 3, true}, {false, 6, false}, {false, 6, true},
                          {false, 8, false}, {false, 2, true}, {false, 5, false}, {false, 7, true},
                          {true, 6, false},  {true, 8, false}, {true, 5, false},  {true, 7, false}};
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE((c.tiff ? "TIFF " : "JPEG ") + std::to_string(c.orientation) +
                     (c.bigEndian ? " MM" : " II"));
        const std::string path = dir.file(c.tiff ? "o.tif" : "o.jpg");
        if (c.tiff) {
            ASSERT_TRUE(writeTiff(path, c.orientation));
        } else {
            const std::string jpeg =
                jpegWith(c.orientation, exifPayload(c.orientation, c.bigEndian));
            ASSERT_TRUE(writeBytes(path, jpeg.data(), jpeg.size()));
        }

        ImageHandle shown(PelmixFileLoadUpright(path.c_str(), "", ""));
        ASSERT_TRUE(shown);
        EXPECT_EQ(infoOf(shown.get()).WIDTH, kWidth);
        EXPECT_EQ(infoOf(shown.get()).HEIGHT, kHeight);
        expectCorners(shown.get(), kWidth, kHeight, upright);

        // The catalogue's reduced load: half the upright size, described as the whole upright
        // picture.
        IMAGE_INFO info{};
        ImageHandle fitted(PelmixFileLoadFit(path.c_str(), kWidth / 2, kHeight / 2, &info));
        ASSERT_TRUE(fitted);
        EXPECT_EQ(info.WIDTH, kWidth);
        EXPECT_EQ(info.HEIGHT, kHeight);
        EXPECT_EQ(infoOf(fitted.get()).WIDTH, kWidth / 2);
        EXPECT_EQ(infoOf(fitted.get()).HEIGHT, kHeight / 2);
        expectCorners(fitted.get(), kWidth / 2, kHeight / 2,
                      [](int x, int y) { return upright(2 * x, 2 * y); });

        // The plain load, which edits and saves go through, keeps the stored sides (and, for a
        // JPEG, the stored pixels).
        const auto [w, h] = storedSize(c.orientation);
        ImageHandle stored(PelmixFileLoad(path.c_str(), "", ""));
        ASSERT_TRUE(stored);
        EXPECT_EQ(infoOf(stored.get()).WIDTH, w);
        EXPECT_EQ(infoOf(stored.get()).HEIGHT, h);
        if (!c.tiff) {
            expectCorners(stored.get(), w, h,
                          [&](int x, int y) { return storedPixel(c.orientation, x, y); });
        }
    }
}

TEST(Orientation, DamagedExifDataLeavesThePictureAsStored) {
    const auto withOrientation = [](uint16_t value) { return exifPayload(value, false); };
    std::vector<uint8_t> truncated = exifPayload(6, true);
    truncated.resize(truncated.size() - 10); // cut inside the Orientation entry
    std::vector<uint8_t> manyEntries = exifPayload(6, false);
    manyEntries[6 + 8] = 0xFF; // an entry count running far past the segment
    manyEntries[6 + 9] = 0xFF;
    std::vector<uint8_t> notTiff = exifPayload(6, false);
    notTiff[6] = 'X';
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> payloads = {
        {"truncated", truncated},
        {"IFD past the end", exifPayload(6, true, 0xFFFFFFF0u)},
        {"IFD at the last byte",
         exifPayload(6, false, static_cast<uint32_t>(exifPayload(6, false).size() - 7))},
        {"entry count past the end", manyEntries},
        {"no byte order", notTiff},
        {"orientation 9", withOrientation(9)},
        {"orientation 0", withOrientation(0)},
        {"header only", {'E', 'x', 'i', 'f', 0, 0, 'I', 'I'}},
    };
    TempDir dir;
    const std::string path = dir.file("d.jpg");
    for (const auto& [name, payload] : payloads) {
        SCOPED_TRACE(name);
        const std::string jpeg = jpegWith(6, payload);
        ASSERT_TRUE(writeBytes(path, jpeg.data(), jpeg.size()));
        ImageHandle image(PelmixFileLoadUpright(path.c_str(), "", ""));
        ASSERT_TRUE(image);
        EXPECT_EQ(infoOf(image.get()).WIDTH, kHeight);
        EXPECT_EQ(infoOf(image.get()).HEIGHT, kWidth);
        expectCorners(image.get(), kHeight, kWidth,
                      [](int x, int y) { return storedPixel(6, x, y); });
    }
}

} // namespace
