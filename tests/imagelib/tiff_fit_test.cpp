// TIFF pictures wanted at a reduced size: reduced while they are read, with memory following the
// wanted size rather than the stored one.
#include "temp_dir.h"
#include "test_images.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tiffio.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

using Tags = std::vector<std::pair<ttag_t, int>>;

// In Tags: one extra sample of this kind.
constexpr ttag_t kAlphaTag = TIFFTAG_EXTRASAMPLES;
constexpr int kAssociated = EXTRASAMPLE_ASSOCALPHA;
constexpr int kUnassociated = EXTRASAMPLE_UNASSALPHA;

// The stored value of sample s of a pixel in quadrant q (0 top left, 1 top right, 2 bottom
// left, 3 bottom right of the picture as seen).
using Sample = std::function<uint32_t(int q, int s)>;

struct Picture {
    uint32_t width, height;
    int bits, samples;
    Tags tags;
    Sample value;
    bool tiled = false;
    bool planes = false;   // one plane a sample
    bool bottomUp = false; // rows stored bottom first (ORIENTATION_BOTLEFT)
    // The stored picture's quadrants cover everything but the top-left square of this side,
    // which is quadrant 0; 0 means four equal quadrants.
    uint32_t corner = 0;
};

int quadrant(const Picture& p, uint32_t x, uint32_t y) {
    if (p.corner != 0) {
        return x < p.corner && y < p.corner ? 0 : 3;
    }
    return (x >= p.width / 2 ? 1 : 0) + (y >= p.height / 2 ? 2 : 0);
}

// Row y of the picture as stored (file order), samples first..first+count-1 of each pixel,
// from column x0 on, width pixels, packed MSB first or as native 16-bit values.
std::vector<uint8_t> storedRow(const Picture& p, uint32_t y, uint32_t x0, uint32_t width, int first,
                               int count) {
    const uint32_t seen = p.bottomUp ? p.height - 1 - y : y;
    std::vector<uint8_t> row((size_t(width) * count * p.bits + 7) / 8);
    for (uint32_t x = 0; x < width; ++x) {
        const uint32_t px = x0 + x;
        for (int s = 0; s < count; ++s) {
            const uint32_t v = px < p.width ? p.value(quadrant(p, px, seen), first + s) : 0;
            const size_t i = size_t(x) * count + s;
            if (p.bits == 16) {
                const auto v16 = static_cast<uint16_t>(v);
                std::memcpy(&row[2 * i], &v16, 2);
            } else if (p.bits == 8) {
                row[i] = static_cast<uint8_t>(v);
            } else {
                const size_t bit = i * p.bits;
                row[bit / 8] |= static_cast<uint8_t>(v << (8 - p.bits - bit % 8));
            }
        }
    }
    return row;
}

// Rows repeat with their quadrants: each kind is built once.
class RowCache {
public:
    explicit RowCache(const Picture& p) : p_(p) {}
    const std::vector<uint8_t>& row(uint32_t y, uint32_t x0, uint32_t width, int first, int count) {
        const uint32_t seen = p_.bottomUp ? p_.height - 1 - y : y;
        const auto key = std::make_tuple(quadrant(p_, 0, seen), x0, first);
        auto found = rows_.find(key);
        if (found == rows_.end()) {
            found = rows_.emplace(key, storedRow(p_, y, x0, width, first, count)).first;
        }
        return found->second;
    }

private:
    const Picture& p_;
    std::map<std::tuple<int, uint32_t, int>, std::vector<uint8_t>> rows_;
};

void write(const std::string& path, const Picture& p) {
    RowCache cache(p);
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(tif, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, p.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, p.height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, p.bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, p.samples);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, p.planes ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, p.bottomUp ? ORIENTATION_BOTLEFT : ORIENTATION_TOPLEFT);
    for (const auto& [tag, value] : p.tags) {
        if (tag == kAlphaTag) {
            const auto extra = static_cast<uint16_t>(value);
            TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
        } else {
            TIFFSetField(tif, tag, value);
        }
    }
    if (p.value(-1, 0) != 0) { // a palette: quadrant q is colour q
        std::vector<uint16_t> r(1u << p.bits), g(r.size()), b(r.size());
        r[0] = 0xFFFF, g[1] = 0xFFFF, b[2] = 0xFFFF, r[3] = g[3] = 0x8000;
        TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
    }
    const int planes = p.planes ? p.samples : 1;
    const int perPlane = p.planes ? 1 : p.samples;
    for (int plane = 0; plane < planes; ++plane) {
        if (!p.tiled) {
            for (uint32_t y = 0; y < p.height; ++y) {
                std::vector<uint8_t> row = cache.row(y, 0, p.width, plane, perPlane);
                ASSERT_EQ(TIFFWriteScanline(tif, row.data(), y, static_cast<uint16_t>(plane)), 1);
            }
            continue;
        }
        uint32_t tw = 0, tl = 0;
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tw);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &tl);
        std::vector<uint8_t> tile(static_cast<size_t>(TIFFTileSize(tif)));
        const size_t rowBytes = static_cast<size_t>(TIFFTileRowSize(tif));
        for (uint32_t ty = 0; ty < p.height; ty += tl) {
            for (uint32_t tx = 0; tx < p.width; tx += tw) {
                for (uint32_t r = 0; r < tl; ++r) {
                    if (ty + r < p.height) {
                        std::memcpy(tile.data() + r * rowBytes,
                                    cache.row(ty + r, tx, tw, plane, perPlane).data(), rowBytes);
                    }
                }
                ASSERT_GE(TIFFWriteTile(tif, tile.data(), tx, ty, 0, plane), 0);
            }
        }
    }
    TIFFClose(tif);
}

bool near(Colour a, Colour b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

const Colour kQuadrantColours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {128, 128, 0}};

// Colour q as 8- or 16-bit RGB samples; -1 asks "is there a palette?".
Sample rgb(int bits) {
    return [bits](int q, int s) -> uint32_t {
        if (q < 0) {
            return 0;
        }
        const Colour c = kQuadrantColours[q];
        const uint32_t v = s == 0 ? c.r : s == 1 ? c.g : c.b;
        return bits == 16 ? v * 257 : v;
    };
}

// Every layout keeps its look and kind, loaded whole and reduced (which reports the stored one).
TEST(TiffFit, WholeAndReducedLoadsKeepTheLookAndKindOfEveryLayout) {
    struct Case {
        const char* name;
        Picture picture;
        int colourType, bitCount;
        Colour look[4]; // of the quadrants
        int tolerance;
    };
    const Colour black{0, 0, 0}, white{255, 255, 255};
    const Sample checker = [](int q, int) -> uint32_t { return q < 0 ? 0 : q == 0 || q == 3; };
    const Case cases[] = {
        {"bilevel, Group 4, white is zero",
         {96, 64, 1, 1,
          Tags{{TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE},
               {TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4}},
          checker},
         PELMIX_TWO_COLOUR,
         1,
         {black, white, white, black},
         0},
        {"2-bit palette",
         {96, 64, 2, 1, Tags{{TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE}},
          [](int q, int) -> uint32_t { return q < 0 ? 1 : q; }},
         PELMIX_16_COLOURS,
         4,
         {},
         1},
        {"8-bit grey, bottom up, Deflate",
         {96, 64, 8, 1,
          Tags{{TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK},
               {TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE}},
          [](int q, int) -> uint32_t { return q < 0 ? 0 : q * 85; }, false, false, true},
         PELMIX_256_GREYS,
         8,
         {{0, 0, 0}, {85, 85, 85}, {170, 170, 170}, {255, 255, 255}},
         0},
        {"RGB, LZW, tiles",
         {96, 64, 8, 3,
          Tags{{TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB},
               {TIFFTAG_COMPRESSION, COMPRESSION_LZW},
               {TIFFTAG_TILEWIDTH, 32},
               {TIFFTAG_TILELENGTH, 16}},
          rgb(8), true},
         PELMIX_FULL_COLOUR,
         24,
         {},
         0},
        {"RGB, 16-bit planes, bottom up",
         {96, 64, 16, 3, Tags{{TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB}}, rgb(16), false, true, true},
         PELMIX_FULL_COLOUR,
         24,
         {},
         0},
        {"RGBA, unassociated alpha: composed on white",
         {96, 64, 8, 4, Tags{{TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB}, {kAlphaTag, kUnassociated}},
          [](int q, int s) -> uint32_t {
              const uint32_t alpha[4] = {255, 0, 255, 128};
              return q < 0 ? 0 : s == 3 ? alpha[q] : rgb(8)(q, s);
          }},
         PELMIX_FULL_COLOUR,
         24,
         {{255, 0, 0}, white, {0, 0, 255}, {191, 191, 127}},
         1},
        {"16-bit grey",
         {96, 64, 16, 1, Tags{{TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK}},
          [](int q, int) -> uint32_t { return q < 0 ? 0 : q * 85 * 257; }},
         PELMIX_256_GREYS,
         8,
         {{0, 0, 0}, {85, 85, 85}, {170, 170, 170}, {255, 255, 255}},
         0},
        {"grey, associated alpha",
         {96, 64, 8, 2,
          Tags{{TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK}, {kAlphaTag, kAssociated}},
          [](int q, int s) -> uint32_t {
              const uint32_t alpha[4] = {255, 0, 128, 255};
              return q < 0 ? 0 : s == 1 ? alpha[q] : q * 85 * alpha[q] / 255;
          }},
         PELMIX_256_GREYS,
         8,
         {{0, 0, 0}, white, {212, 212, 212}, white},
         1},
        {"bilevel tiles",
         {96, 64, 1, 1,
          Tags{{TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK},
               {TIFFTAG_COMPRESSION, COMPRESSION_PACKBITS},
               {TIFFTAG_TILEWIDTH, 32},
               {TIFFTAG_TILELENGTH, 16}},
          checker, true},
         PELMIX_TWO_COLOUR,
         1,
         {white, black, black, white},
         0},
        {"JPEG, YCbCr",
         {96, 64, 8, 3,
          Tags{{TIFFTAG_COMPRESSION, COMPRESSION_JPEG},
               {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR},
               {TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB},
               {TIFFTAG_JPEGQUALITY, 95},
               {TIFFTAG_ROWSPERSTRIP, 16}},
          rgb(8)},
         PELMIX_FULL_COLOUR,
         24,
         {},
         12},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("fit.tif");
        write(path, c.picture);
        IMAGE_INFO stored{};
        ImageHandle reduced(PelmixFileLoadFit(path.c_str(), 30, 30, &stored));
        ASSERT_TRUE(reduced);
        EXPECT_EQ(infoOf(reduced.get()).WIDTH, 30);
        EXPECT_EQ(infoOf(reduced.get()).HEIGHT, 20);
        ImageHandle whole(PelmixFileLoad(path.c_str(), "", ""));
        ASSERT_TRUE(whole);
        const IMAGE_INFO full = infoOf(whole.get());
        EXPECT_EQ(stored.WIDTH, 96);
        EXPECT_EQ(stored.HEIGHT, 64);
        EXPECT_EQ(stored.COLOR_TYPE, c.colourType);
        EXPECT_EQ(full.COLOR_TYPE, c.colourType);
        EXPECT_EQ(stored.BIT_COUNT, c.bitCount);
        EXPECT_EQ(full.BIT_COUNT, c.bitCount);
        for (int q = 0; q < 4; ++q) {
            const Colour want = c.look[0] == c.look[1] ? kQuadrantColours[q] : c.look[q];
            const int x = q % 2, y = q / 2;
            EXPECT_TRUE(near(pixelAt(whole.get(), 24 + 48 * x, 16 + 32 * y), want, c.tolerance))
                << "whole, quadrant " << q;
            EXPECT_TRUE(near(pixelAt(reduced.get(), 7 + 15 * x, 5 + 10 * y), want, c.tolerance))
                << "reduced, quadrant " << q;
        }
    }
}

struct Measured {
    int width = 0, height = 0;
    Colour inside, outside;
    long growthKb = -1;
};

// Loads path fitted into 250 x 170 in a child process, so that its peak memory is its own.
Measured fitInChild(const std::string& path) {
    int fds[2];
    if (pipe(fds) != 0) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        Measured m;
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        IMAGE_INFO info{};
        HGLOBAL image = PelmixFileLoadFit(path.c_str(), 250, 170, &info);
        getrusage(RUSAGE_SELF, &after);
        if (image != nullptr) {
            m.width = infoOf(image).WIDTH;
            m.height = infoOf(image).HEIGHT;
            m.inside = pixelAt(image, 20, 20);
            m.outside = pixelAt(image, 120, 120);
            m.growthKb = after.ru_maxrss - before.ru_maxrss;
        }
        const ssize_t written = ::write(fds[1], &m, sizeof m);
        _exit(written == sizeof m ? 0 : 1);
    }
    close(fds[1]);
    Measured m;
    if (child < 0 || read(fds[0], &m, sizeof m) != sizeof m) {
        m = {};
    }
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return m;
}

TEST(TiffFit, HugeCompressedPicturesStayWithinTheMemoryOfTheCell) {
    // Tiny files claiming hundreds of megabytes of pixels: a bilevel page in a single Group 4
    // strip (read line by line) and colour tiles in separate planes (libtiff's RGBA reader);
    // a dark square in the top-left corner, white elsewhere.
    const Picture bilevel{16384,
                          16384,
                          1,
                          1,
                          Tags{{TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE},
                               {TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4},
                               {TIFFTAG_ROWSPERSTRIP, 16384}},
                          [](int q, int) -> uint32_t { return q == 0; },
                          false,
                          false,
                          false,
                          4096};
    const Picture planes{8192,
                         8192,
                         8,
                         3,
                         Tags{{TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB},
                              {TIFFTAG_COMPRESSION, COMPRESSION_PACKBITS},
                              {TIFFTAG_TILEWIDTH, 512},
                              {TIFFTAG_TILELENGTH, 512}},
                         [](int q, int) -> uint32_t { return q == 0 ? 0 : 255; },
                         true,
                         true,
                         false,
                         2048};
    TempDir dir;
    for (const Picture* p : {&bilevel, &planes}) {
        SCOPED_TRACE(p->width);
        const std::string path = dir.file("huge.tif");
        write(path, *p);
        const Measured m = fitInChild(path);
        EXPECT_EQ(m.width, 170);
        EXPECT_EQ(m.height, 170);
        EXPECT_EQ(m.inside, (Colour{0, 0, 0}));
        EXPECT_EQ(m.outside, (Colour{255, 255, 255}));
        EXPECT_GE(m.growthKb, 0);
        EXPECT_LT(m.growthKb, 100 * 1024) << "peak memory grew by " << m.growthKb << " KB";
    }
}

} // namespace
