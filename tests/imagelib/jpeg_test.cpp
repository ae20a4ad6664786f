// JPEG saving and loading through the exported functions: round trips, options, reduced loads
// and damaged files.
#include "temp_dir.h"
#include "test_images.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <tiffio.h>
#include <turbojpeg.h>

namespace {

struct Header {
    int width = 0, height = 0, subsampling = -1, colourspace = -1;
};

Header headerOf(const std::string& bytes) {
    Header h;
    tjhandle tj = tjInitDecompress();
    tjDecompressHeader3(tj, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                        &h.width, &h.height, &h.subsampling, &h.colourspace);
    tjDestroy(tj);
    return h;
}

// Encodes raw pixels directly with TurboJPEG, for files this library would not write itself.
std::string compressRaw(const std::vector<uint8_t>& pixels, int width, int height, int format,
                        int subsampling, int flags = 0) {
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(tj, pixels.data(), width, 0, height, format, &out, &size, subsampling, 95, flags);
    std::string bytes(reinterpret_cast<char*>(out), size);
    tjFree(out);
    tjDestroy(tj);
    return bytes;
}

bool closeTo(Colour c, Colour expected, int tolerance) {
    return std::abs(c.r - expected.r) <= tolerance && std::abs(c.g - expected.g) <= tolerance &&
           std::abs(c.b - expected.b) <= tolerance;
}

class JpegFiles : public ::testing::Test {
protected:
    std::string save(HGLOBAL image, int quality = 90, int grey = 0,
                     const std::string& name = "out.jpg") {
        const std::string path = dir.file(name);
        EXPECT_EQ(PelmixJpegFileSave(path.c_str(), image, "", "", quality, grey), 1) << quality;
        return path;
    }
    ImageHandle load(const std::string& bytes) {
        const std::string path = dir.file("in.jpg");
        writeBytes(path, bytes.data(), bytes.size());
        return ImageHandle(PelmixFileLoad(path.c_str(), "", ""));
    }
    ImageHandle pattern(int width = 64, int height = 48) {
        return makeRgbImage(width, height,
                            [=](int x, int y) { return testPattern(x, y, width, height); });
    }

    TempDir dir;
};

TEST_F(JpegFiles, ColourRoundTripKeepsPixelsAndFormat) {
    ImageHandle original = pattern();
    const std::string path = save(original.get(), 95);
    const Header h = headerOf(readBytes(path));
    EXPECT_EQ(h.colourspace, TJCS_YCbCr);
    EXPECT_EQ(h.subsampling, TJSAMP_444);

    ImageHandle loaded(PelmixFileLoad(path.c_str(), "", ""));
    ASSERT_TRUE(loaded);
    const IMAGE_INFO info = infoOf(loaded.get());
    EXPECT_EQ(info.WIDTH, 64);
    EXPECT_EQ(info.HEIGHT, 48);
    EXPECT_EQ(info.BIT_COUNT, 24);
    EXPECT_EQ(info.COLOR_TYPE, PELMIX_FULL_COLOUR);
    EXPECT_LT(meanDifference(original.get(), loaded.get()), 3.0);
    // Rows must not come back upside down or mirrored.
    EXPECT_TRUE(closeTo(pixelAt(loaded.get(), 2, 2), pixelAt(original.get(), 2, 2), 24));
    EXPECT_TRUE(closeTo(pixelAt(loaded.get(), 61, 45), pixelAt(original.get(), 61, 45), 24));
}

TEST_F(JpegFiles, GreyFlagWritesOneChannelThatLoadsAsGreyRamp) {
    ImageHandle red = makeRgbImage(16, 16, [](int, int) { return Colour{255, 0, 0}; });
    const std::string path = save(red.get(), 90, 1);
    const Header h = headerOf(readBytes(path));
    EXPECT_EQ(h.colourspace, TJCS_GRAY);
    EXPECT_EQ(h.subsampling, TJSAMP_GRAY);

    ImageHandle loaded(PelmixFileLoad(path.c_str(), "", ""));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(infoOf(loaded.get()).BIT_COUNT, 8);
    EXPECT_EQ(infoOf(loaded.get()).COLOR_TYPE, PELMIX_256_GREYS);
    EXPECT_TRUE(closeTo(pixelAt(loaded.get(), 8, 8), Colour{76, 76, 76}, 2)); // red's luminance
}

TEST_F(JpegFiles, QualityIsClampedAndChoosesSubsampling) {
    ImageHandle image = pattern();
    const std::string lowest = readBytes(save(image.get(), 1, 0, "q1.jpg"));
    EXPECT_EQ(readBytes(save(image.get(), 0, 0, "q0.jpg")), lowest);
    EXPECT_EQ(readBytes(save(image.get(), -40, 0, "qneg.jpg")), lowest);
    const std::string best = readBytes(save(image.get(), 100, 0, "q100.jpg"));
    EXPECT_EQ(readBytes(save(image.get(), 1000, 0, "q1000.jpg")), best);
    EXPECT_LT(lowest.size(), best.size());
    EXPECT_LT(meanDifference(load(best).get(), image.get()),
              meanDifference(load(lowest).get(), image.get()));

    EXPECT_EQ(headerOf(readBytes(save(image.get(), 89))).subsampling, TJSAMP_420);
    EXPECT_EQ(headerOf(readBytes(save(image.get(), 90))).subsampling, TJSAMP_444);
}

TEST_F(JpegFiles, PaletteBilevelAndUnusualLayoutsSave) {
    const std::vector<Colour> colours = {{200, 30, 30}, {30, 200, 30}, {30, 30, 200}, {9, 9, 9}};
    std::vector<Colour> palette16(16, Colour{});
    std::copy(colours.begin(), colours.end(), palette16.begin());
    ImageHandle four = makeIndexedImage(32, 32, 4, palette16, [](int x, int) { return x / 8; });
    ImageHandle loaded = load(readBytes(save(four.get(), 95)));
    ASSERT_TRUE(loaded);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(closeTo(pixelAt(loaded.get(), 8 * i + 4, 16), colours[i], 8)) << i;
    }

    ImageHandle bits =
        makeIndexedImage(33, 9, 1, greyPalette(1), [](int x, int) { return x > 16; });
    loaded = load(readBytes(save(bits.get(), 95, 1)));
    ASSERT_TRUE(loaded);
    EXPECT_LT(pixelAt(loaded.get(), 4, 4).r, 20);
    EXPECT_GT(pixelAt(loaded.get(), 28, 4).r, 235);

    // The same picture as a 32-bit top-down handle must give the same file as the 24-bit one.
    ImageHandle rgb = pattern(20, 10);
    HGLOBAL raw = GlobalAlloc(GHND, 40 + 20 * 10 * 4);
    auto* h = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(raw));
    *h = PELMIX_BITMAPINFOHEADER{40, 20, -10, 1, 32, PELMIX_BI_RGB, 0, 11811, 11811, 0, 0};
    auto* px = reinterpret_cast<uint8_t*>(h + 1);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) {
            const Colour c = pixelAt(rgb.get(), x, y);
            std::memcpy(px + (y * 20 + x) * 4, std::array<uint8_t, 4>{c.b, c.g, c.r, 0}.data(), 4);
        }
    }
    GlobalUnlock(raw);
    ImageHandle wide(raw);
    EXPECT_EQ(readBytes(save(wide.get(), 80, 0, "wide.jpg")),
              readBytes(save(rgb.get(), 80, 0, "rgb.jpg")));
}

TEST_F(JpegFiles, ResolutionSurvivesAndFollowsJfifUnits) {
    ImageHandle image = pattern(16, 16);
    auto* h = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(image.get()));
    h->biXPelsPerMeter = 7874; // 200 dpi
    h->biYPelsPerMeter = 0;
    GlobalUnlock(image.get());
    std::string bytes = readBytes(save(image.get()));
    ImageHandle loaded = load(bytes);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(infoOf(loaded.get()).RESOLUTION, 200);

    // JFIF density bytes: units at 13, x at 14..15, y at 16..17.
    ASSERT_EQ(bytes.substr(6, 5), std::string("JFIF\0", 5));
    bytes[13] = 2; // dots per centimetre
    bytes[14] = 0;
    bytes[15] = 40;
    EXPECT_EQ(infoOf(load(bytes).get()).RESOLUTION, 102);
    bytes[13] = 0; // aspect ratio only
    EXPECT_EQ(infoOf(load(bytes).get()).RESOLUTION, 0);
}

TEST_F(JpegFiles, CmykUsesTheAdobeConvention) {
    // Written by TurboJPEG as YCCK with an Adobe marker: stored values are inverted inks.
    const std::vector<uint8_t> cmyk = {255, 0, 0, 255, 0, 255, 255, 255, 255, 255, 0, 255,
                                       0,   0, 0, 0,   0, 0,   0,   0,   0,   0,   0, 0};
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int block = (y / 8) * 2 + x / 8;
            pixels.insert(pixels.end(), cmyk.begin() + 4 * block, cmyk.begin() + 4 * block + 4);
        }
    }
    std::string bytes = compressRaw(pixels, 16, 16, TJPF_CMYK, TJSAMP_444);
    ASSERT_EQ(headerOf(bytes).colourspace, TJCS_YCCK);
    ImageHandle loaded = load(bytes);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(infoOf(loaded.get()).BIT_COUNT, 24);
    EXPECT_TRUE(closeTo(pixelAt(loaded.get(), 4, 4), Colour{255, 0, 0}, 6));
    EXPECT_TRUE(closeTo(pixelAt(loaded.get(), 12, 4), Colour{0, 255, 255}, 6));
    EXPECT_TRUE(closeTo(pixelAt(loaded.get(), 4, 12), Colour{255, 255, 0}, 6));
    EXPECT_TRUE(closeTo(pixelAt(loaded.get(), 12, 12), Colour{0, 0, 0}, 6));

    // Without the Adobe marker the four channels are read as plain CMYK (no colour transform):
    // the black block holds Y, Cb, Cr, K = 255, 128, 128, 0 (the luma of the inverted inks).
    const size_t adobe = bytes.find("Adobe");
    ASSERT_NE(adobe, std::string::npos);
    bytes[adobe] = 'X';
    loaded = load(bytes);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(closeTo(pixelAt(loaded.get(), 12, 12), Colour{0, 127, 127}, 6));
}

// A JPEG stream with the given luma sampling factors (chroma 1 x 1), cut from a TIFF strip that
// libtiff's JPEG codec writes whole (tables included): TurboJPEG cannot write such factors.
std::string jpegWithSampling(int horizontal, int vertical, int width, int height,
                             const std::string& scratch) {
    TIFF* tif = TIFFOpen(scratch.c_str(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_JPEG);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR);
    TIFFSetField(tif, TIFFTAG_YCBCRSUBSAMPLING, horizontal, vertical);
    TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    TIFFSetField(tif, TIFFTAG_JPEGTABLESMODE, 0);
    TIFFSetField(tif, TIFFTAG_JPEGQUALITY, 95);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
    std::vector<uint8_t> line(width * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour c = testPattern(x, y, width, height);
            line[3 * x] = c.r, line[3 * x + 1] = c.g, line[3 * x + 2] = c.b;
        }
        TIFFWriteScanline(tif, line.data(), y, 0);
    }
    TIFFClose(tif);
    tif = TIFFOpen(scratch.c_str(), "r");
    std::string stream(static_cast<size_t>(TIFFRawStripSize(tif, 0)), '\0');
    TIFFReadRawStrip(tif, 0, stream.data(), static_cast<tmsize_t>(stream.size()));
    TIFFClose(tif);
    return stream;
}

TEST_F(JpegFiles, FourToOneToZeroSamplingDecodes) {
    if (!TIFFIsCODECConfigured(COMPRESSION_JPEG)) {
        GTEST_SKIP() << "libtiff without JPEG";
    }
    // Chroma sampled once every 4 x 2 pixels: a layout TurboJPEG has no name for.
    const std::string bytes = jpegWithSampling(4, 2, 64, 48, dir.file("strip.tif"));
    ASSERT_EQ(bytes.substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(headerOf(bytes).subsampling, -1);
    ImageHandle loaded = load(bytes);
    ASSERT_TRUE(loaded);
    ImageHandle want = pattern(64, 48);
    EXPECT_LT(meanDifference(loaded.get(), want.get()), 6);
    IMAGE_INFO stored{};
    ImageHandle half(PelmixFileLoadFit(dir.file("in.jpg").c_str(), 32, 24, &stored));
    ASSERT_TRUE(half);
    EXPECT_EQ(infoOf(half.get()).WIDTH, 32);
    EXPECT_EQ(stored.WIDTH, 64);
}

TEST_F(JpegFiles, FitDecodesAtTheSmallestCoveringScale) {
    ImageHandle image = pattern(800, 600);
    const std::string path = save(image.get(), 85);
    struct Case {
        int boxWidth, boxHeight, width, height;
    };
    const Case cases[] = {
        {100, 75, 100, 75},   {100, 600, 100, 75}, {200, 150, 200, 150}, {400, 300, 400, 300},
        {800, 600, 800, 600}, {101, 76, 200, 150}, {90, 90, 100, 75},    {3000, 3000, 800, 600},
        {0, 75, 800, 600},    {-1, -1, 800, 600},  {1, 1, 100, 75},      {799, 600, 800, 600},
    };
    for (const Case& c : cases) {
        IMAGE_INFO info{};
        ImageHandle loaded(PelmixFileLoadFit(path.c_str(), c.boxWidth, c.boxHeight, &info));
        ASSERT_TRUE(loaded) << c.boxWidth << "x" << c.boxHeight;
        EXPECT_EQ(infoOf(loaded.get()).WIDTH, c.width) << c.boxWidth << "x" << c.boxHeight;
        EXPECT_EQ(infoOf(loaded.get()).HEIGHT, c.height) << c.boxWidth << "x" << c.boxHeight;
        EXPECT_EQ(info.WIDTH, 800);
        EXPECT_EQ(info.HEIGHT, 600);
        EXPECT_EQ(info.COLOR_TYPE, PELMIX_FULL_COLOUR);
        EXPECT_EQ(info.BIT_COUNT, 24);
        EXPECT_EQ(info.RESOLUTION, 300);
    }
    IMAGE_INFO info{1, 1, 1, 1, 1};
    EXPECT_EQ(PelmixFileLoadFit(dir.file("missing.jpg").c_str(), 10, 10, &info), nullptr);
    EXPECT_EQ(info.WIDTH, 0);
}

// The peak signal-to-noise ratio of a 24-bit or grey image against packed top-down pixels of the
// same size and channels, in dB (99 for identical pictures).
double psnrAgainst(HGLOBAL image, const std::vector<uint8_t>& expected, int channels) {
    const IMAGE_INFO info = infoOf(image);
    double squares = 0;
    for (int y = 0; y < info.HEIGHT; ++y) {
        for (int x = 0; x < info.WIDTH; ++x) {
            const Colour c = pixelAt(image, x, y);
            const uint8_t* e = &expected[(size_t(y) * info.WIDTH + x) * channels];
            const int values[3] = {c.b, c.g, c.r};
            for (int i = 0; i < channels; ++i) {
                squares += double(values[i] - e[i]) * (values[i] - e[i]);
            }
        }
    }
    const double mse = squares / (double(info.WIDTH) * info.HEIGHT * channels);
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

// A progressive file wanted at an eighth is read from its DC scans only; it must look like the
// library's own decode at that scale (which uses the DC coefficients alone, at full precision).
TEST_F(JpegFiles, ProgressiveEighthsComeFromTheDcScans) {
    constexpr int width = 1024, height = 680;
    std::mt19937 random(7);
    std::vector<uint8_t> rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour c = testPattern(x, y, width, height);
            const int grain = int(random() % 41) - 20;
            for (const int v : {c.r, c.g, c.b}) {
                rgb.push_back(uint8_t(std::clamp(v + grain, 0, 255)));
            }
        }
    }
    struct Case {
        const char* name;
        int subsampling;
        bool breakLaterScan; // an AC scan names a table nobody defined
        bool loadsAtAnEighth, loadsWhole;
    };
    const Case cases[] = {
        {"4:2:0", TJSAMP_420, false, true, true},
        {"4:4:4", TJSAMP_444, false, true, true},
        {"grey", TJSAMP_GRAY, false, true, true},
        {"AC scan broken", TJSAMP_420, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes =
            compressRaw(rgb, width, height, TJPF_RGB, c.subsampling, TJFLAG_PROGRESSIVE);
        const size_t acScan = bytes.find("\xFF\xDA", bytes.find("\xFF\xDA") + 2);
        ASSERT_NE(acScan, std::string::npos);
        if (c.breakLaterScan) {
            bytes[acScan + 6] = '\x33';
        }
        const bool grey = c.subsampling == TJSAMP_GRAY;
        const int channels = grey ? 1 : 3;
        const int eighthWidth = width / 8, eighthHeight = height / 8;
        std::vector<uint8_t> reference(size_t(eighthWidth) * eighthHeight * channels);
        if (!c.breakLaterScan) {
            const std::string whole =
                compressRaw(rgb, width, height, TJPF_RGB, c.subsampling, TJFLAG_PROGRESSIVE);
            tjhandle tj = tjInitDecompress();
            ASSERT_EQ(tjDecompress2(tj, reinterpret_cast<const unsigned char*>(whole.data()),
                                    whole.size(), reference.data(), eighthWidth, 0, eighthHeight,
                                    grey ? TJPF_GRAY : TJPF_BGR, 0),
                      0);
            tjDestroy(tj);
        }
        const std::string path = dir.file("progressive.jpg");
        writeBytes(path, bytes.data(), bytes.size());
        ImageHandle eighth(PelmixFileLoadFit(path.c_str(), eighthWidth, eighthHeight, nullptr));
        ASSERT_EQ(bool(eighth), c.loadsAtAnEighth);
        EXPECT_EQ(infoOf(eighth.get()).WIDTH, eighthWidth);
        EXPECT_EQ(infoOf(eighth.get()).BIT_COUNT, grey ? 8 : 24);
        if (!c.breakLaterScan) {
            EXPECT_GE(psnrAgainst(eighth.get(), reference, channels), 40.0);
        }
        ImageHandle whole(PelmixFileLoadFit(path.c_str(), 0, 0, nullptr));
        EXPECT_EQ(bool(whole), c.loadsWhole);
    }
}

// A first sight stops a progressive file once every coefficient has arrived: close to the final
// picture at the same size. At an eighth, and for any other file, the picture is final already.
TEST_F(JpegFiles, FirstSightOfAProgressiveFileIsCloseToTheFinalPicture) {
    constexpr int width = 1024, height = 680;
    std::mt19937 random(11);
    std::vector<uint8_t> rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour c = testPattern(x, y, width, height);
            const int grain = int(random() % 31) - 15;
            for (const int v : {c.r, c.g, c.b}) {
                rgb.push_back(uint8_t(std::clamp(v + grain, 0, 255)));
            }
        }
    }
    struct Case {
        const char* name;
        int flags;
        int divisor; // the box: the picture's size over this
        bool firstSight;
    };
    const Case cases[] = {
        {"progressive, half", TJFLAG_PROGRESSIVE, 2, true},
        {"progressive, whole", TJFLAG_PROGRESSIVE, 1, true},
        {"progressive, eighth", TJFLAG_PROGRESSIVE, 8, false},
        {"baseline, half", 0, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = compressRaw(rgb, width, height, TJPF_RGB, TJSAMP_420, c.flags);
        const std::string path = dir.file("first.jpg");
        writeBytes(path, bytes.data(), bytes.size());
        const int boxWidth = width / c.divisor, boxHeight = height / c.divisor;
        IMAGE_INFO info{};
        int32_t first = -1;
        ImageHandle sight(PelmixFileLoadFitFirst(path.c_str(), boxWidth, boxHeight, &info, &first));
        ImageHandle final(PelmixFileLoadFit(path.c_str(), boxWidth, boxHeight, nullptr));
        ASSERT_TRUE(sight && final);
        EXPECT_EQ(first, c.firstSight ? 1 : 0);
        EXPECT_EQ(info.WIDTH, width);
        ASSERT_EQ(infoOf(sight.get()).WIDTH, infoOf(final.get()).WIDTH);
        std::vector<uint8_t> finalPixels;
        for (int y = 0; y < infoOf(final.get()).HEIGHT; ++y) {
            for (int x = 0; x < infoOf(final.get()).WIDTH; ++x) {
                const Colour p = pixelAt(final.get(), x, y);
                finalPixels.insert(finalPixels.end(), {p.b, p.g, p.r});
            }
        }
        const double psnr = psnrAgainst(sight.get(), finalPixels, 3);
        if (c.firstSight) {
            EXPECT_GE(psnr, 30.0);
            EXPECT_LT(psnr, 99.0);
        } else {
            EXPECT_GE(psnr, c.flags != 0 ? 40.0 : 99.0);
        }
    }
}

TEST_F(JpegFiles, DamagedFilesGiveZeroOrAnImage) {
    ImageHandle image = pattern(24, 24);
    const std::string good = readBytes(save(image.get(), 75));
    // A file that lacks only its end marker is the whole picture; one whose scan data stops
    // early, or (progressive) that stops before its last scan, is refused.
    std::vector<uint8_t> rgb;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            const Colour c = testPattern(x, y, 24, 24);
            rgb.insert(rgb.end(), {c.r, c.g, c.b});
        }
    }
    const std::string progressive =
        compressRaw(rgb, 24, 24, TJPF_RGB, TJSAMP_420, TJFLAG_PROGRESSIVE);
    for (const std::string* whole : {&good, &progressive}) {
        ImageHandle reference = load(*whole);
        ASSERT_TRUE(reference);
        for (size_t length = 0; length < whole->size(); ++length) {
            ImageHandle prefix = load(whole->substr(0, length));
            if (length + 2 < whole->size()) {
                EXPECT_FALSE(prefix) << "prefix of " << length << " bytes";
            } else {
                ASSERT_TRUE(prefix) << "prefix of " << length << " bytes";
                EXPECT_EQ(meanDifference(prefix.get(), reference.get()), 0);
            }
        }
    }

    // Stray bytes between two header segments only warrant a warning.
    const size_t dqt = good.find("\xFF\xDB");
    ASSERT_NE(dqt, std::string::npos);
    std::string padded = good;
    padded.insert(dqt, "\x12\x34\x56");
    ImageHandle loaded = load(padded);
    ASSERT_TRUE(loaded);
    EXPECT_LT(meanDifference(loaded.get(), load(good).get()), 0.01);

    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string noise = "\xFF\xD8\xFF";
        noise.resize(3 + random() % 600);
        for (size_t i = 3; i < noise.size(); ++i) {
            noise[i] = static_cast<char>(random());
        }
        ImageHandle result = load(noise);
        if (result) {
            EXPECT_GT(infoOf(result.get()).WIDTH, 0);
        }
    }
}

TEST_F(JpegFiles, HugeClaimsInTinyFilesAreRefusedQuickly) {
    const std::string good = readBytes(save(pattern(24, 24).get(), 75));
    const size_t sof = good.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    for (const int side : {65000, 16000}) {
        std::string big = good;
        big[sof + 5] = big[sof + 7] = static_cast<char>(side >> 8);
        big[sof + 6] = big[sof + 8] = static_cast<char>(side & 0xFF);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(load(big)) << side;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << side;
    }
}

TEST_F(JpegFiles, FailedSavesLeaveNothing) {
    ImageHandle image = pattern(8, 8);
    const std::string path = dir.file("missing/out.jpg");
    EXPECT_EQ(PelmixJpegFileSave(path.c_str(), image.get(), "", "", 75, 0), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_EQ(PelmixJpegFileSave(dir.file("x.jpg").c_str(), nullptr, "", "", 75, 0), 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

} // namespace
