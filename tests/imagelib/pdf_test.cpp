// PDF documents of pictures, looked at with poppler's tools as any reader would see them: each
// page at the size its resolution gives, JPEG files embedded byte for byte, black and white as
// CCITT, everything else lossless, and a save that fails leaving nothing behind.
#include "pdf_tools.h"
#include "pelmix.h"
#include "temp_dir.h"
#include "test_images.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <sys/stat.h>

namespace {

// A binary PGM or PPM file as grey levels (PPM: the green channel), or empty.
struct Raster {
    int width = 0, height = 0;
    std::vector<uint8_t> grey;
    uint8_t at(int x, int y) const { return grey[static_cast<size_t>(y) * width + x]; }
};
Raster readPnm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int w = 0, h = 0, max = 0;
    in >> magic >> w >> h >> max;
    in.get();
    Raster r;
    const int channels = magic == "P6" ? 3 : magic == "P5" ? 1 : 0;
    if (channels == 0 || max != 255 || w <= 0 || h <= 0) {
        return r;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(w) * h * channels);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    r.width = w;
    r.height = h;
    for (size_t i = 0; i < bytes.size(); i += channels) {
        r.grey.push_back(bytes[i + (channels == 3 ? 1 : 0)]);
    }
    return r;
}

void setDpi(HGLOBAL image, int dpi) {
    auto* h = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(image));
    h->biXPelsPerMeter = h->biYPelsPerMeter = dpi == 0 ? 0 : int32_t(std::lround(dpi / 0.0254));
    GlobalUnlock(image);
}

struct Row {
    const char* name;
    const char* file;
    int dpi;            // 0: none
    const char* enc;    // pdfimages' encoding
    const char* colour; // pdfimages' colour
};

class PdfTest : public ::testing::Test {
protected:
    TempDir dir;
};

// Big blocks, so that a rendered pixel at a block's centre is that block's colour.
bool dark(int x, int y) {
    return ((x / 8) + (y / 8)) % 2 == 0;
}

TEST_F(PdfTest, EachPictureIsAPageAtItsSizeInTheEncodingItsKindCalls) {
    if (!havePoppler()) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    const std::vector<Colour> blackFirst = {{0, 0, 0}, {255, 255, 255}};
    const std::vector<Colour> whiteFirst = {{255, 255, 255}, {0, 0, 0}};
    const std::vector<Colour> colours = {
        {200, 30, 30}, {30, 200, 30}, {30, 30, 200}, {250, 250, 0}};
    const int w = 64, h = 40;
    ImageHandle rgb = makeRgbImage(w, h, [](int x, int y) { return testPattern(x, y, 64, 40); });
    ImageHandle bwBlack =
        makeIndexedImage(w, h, 1, blackFirst, [](int x, int y) { return dark(x, y) ? 0 : 1; });
    ImageHandle bwWhite =
        makeIndexedImage(w, h, 1, whiteFirst, [](int x, int y) { return dark(x, y) ? 1 : 0; });
    ImageHandle grey =
        makeIndexedImage(w, h, 8, greyPalette(8), [](int x, int y) { return uint8_t(x * 3 + y); });
    ImageHandle palette = makeIndexedImage(
        w, h, 4, colours, [](int x, int y) { return uint8_t((x / 8 + y / 8) % 4); });
    setDpi(rgb.get(), 300);
    setDpi(bwBlack.get(), 300);
    setDpi(bwWhite.get(), 200);
    setDpi(grey.get(), 150);
    setDpi(palette.get(), 0);
    ASSERT_TRUE(
        PelmixJpegFileSave(dir.file("colour.jpg").c_str(), rgb.get(), nullptr, nullptr, 80, 0));
    ASSERT_TRUE(
        PelmixJpegFileSave(dir.file("grey.jpg").c_str(), rgb.get(), nullptr, nullptr, 80, 1));
    ASSERT_TRUE(PelmixTiffFileSave(dir.file("black.tif").c_str(), bwBlack.get(), nullptr, nullptr,
                                   PELMIX_TIFF_GROUP4));
    ASSERT_TRUE(
        PelmixBmpFileSave(dir.file("white.bmp").c_str(), bwWhite.get(), nullptr, nullptr, 0));
    ASSERT_TRUE(PelmixBmpFileSave(dir.file("grey.bmp").c_str(), grey.get(), nullptr, nullptr, 0));
    ASSERT_TRUE(
        PelmixBmpFileSave(dir.file("palette.bmp").c_str(), palette.get(), nullptr, nullptr, 0));
    ASSERT_TRUE(PelmixBmpFileSave(dir.file("rgb.bmp").c_str(), rgb.get(), nullptr, nullptr, 0));
    ASSERT_TRUE(writeBytes(dir.file("text.txt"), "not a picture", 13));

    const Row rows[] = {
        {"colour JPEG", "colour.jpg", 300, "jpeg", "rgb"},
        {"grey JPEG", "grey.jpg", 300, "jpeg", "gray"},
        {"black-first Group 4 TIFF", "black.tif", 300, "ccitt", "gray"},
        {"white-first bilevel BMP", "white.bmp", 200, "ccitt", "gray"},
        {"grey BMP", "grey.bmp", 150, "image", "gray"},
        {"palette BMP without resolution", "palette.bmp", 0, "image", "index"},
        {"RGB BMP", "rgb.bmp", 300, "image", "rgb"},
    };
    PELMIX_PDF* pdf = PelmixPdfCreate();
    ASSERT_NE(pdf, nullptr);
    EXPECT_EQ(PelmixPdfAddFile(pdf, dir.file("text.txt").c_str(), 1), 0);
    for (const Row& row : rows) {
        EXPECT_EQ(PelmixPdfAddFile(pdf, dir.file(row.file).c_str(), 1), 1) << row.name;
    }
    const std::string out = dir.file("book.pdf");
    ASSERT_EQ(PelmixPdfSave(pdf, out.c_str()), 1);
    PelmixPdfFree(pdf);

    const std::string info = commandOutput("pdfinfo -f 1 -l 99 '" + out + "'");
    std::istringstream list(commandOutput("pdfimages -list '" + out + "'"));
    std::string line;
    std::getline(list, line);
    std::getline(list, line);
    int page = 0;
    for (const Row& row : rows) {
        ++page;
        SCOPED_TRACE(row.name);
        // The page size in points, within 0.1 mm.
        const std::string key =
            "Page " + std::string(page < 10 ? "   " : "  ") + std::to_string(page) + " size: ";
        const size_t at = info.find(key);
        ASSERT_NE(at, std::string::npos) << info;
        double pw = 0, ph = 0;
        std::sscanf(info.c_str() + at + key.size(), "%lf x %lf", &pw, &ph);
        // Without a resolution: the page fits A4 (the C locale's paper), turned with the picture.
        const double mmPerPixel = row.dpi == 0
                                      ? std::min(297.0 / std::max(w, h), 210.0 / std::min(w, h))
                                      : 25.4 / row.dpi;
        EXPECT_NEAR(pw / 72 * 25.4, w * mmPerPixel, 0.1);
        EXPECT_NEAR(ph / 72 * 25.4, h * mmPerPixel, 0.1);
        ASSERT_TRUE(std::getline(list, line));
        std::istringstream fields(line);
        int p = 0, num = 0, iw = 0, ih = 0, comp = 0, bpc = 0;
        std::string type, colour, enc;
        fields >> p >> num >> type >> iw >> ih >> colour >> comp >> bpc >> enc;
        EXPECT_EQ(p, page);
        EXPECT_EQ(enc, row.enc);
        EXPECT_EQ(colour, row.colour);
        EXPECT_EQ(iw, w);
        EXPECT_EQ(ih, h);
    }

    // JPEG files as they stand.
    commandOutput("cd '" + dir.path() + "' && pdfimages -j -f 1 -l 2 book.pdf jpeg");
    EXPECT_EQ(readBytes(dir.file("jpeg-000.jpg")), readBytes(dir.file("colour.jpg")));
    EXPECT_EQ(readBytes(dir.file("jpeg-001.jpg")), readBytes(dir.file("grey.jpg")));
    // Black and white the right way round, whichever colour the picture's index 0 is.
    for (int bw : {3, 4}) {
        SCOPED_TRACE(bw);
        const std::string n = std::to_string(bw);
        commandOutput("cd '" + dir.path() + "' && pdftoppm -gray -r " + (bw == 3 ? "300" : "200") +
                      " -f " + n + " -l " + n + " -singlefile book.pdf bw" + n);
        const Raster r = readPnm(dir.file("bw" + n + ".pgm"));
        ASSERT_GE(r.width, w);
        ASSERT_GE(r.height, h);
        for (int y = 4; y < h; y += 8) {
            for (int x = 4; x < w; x += 8) {
                EXPECT_EQ(r.at(x, y) < 128, dark(x, y)) << x << "," << y;
            }
        }
    }
    // Grey lossless: the image's data is the picture's, level for level.
    commandOutput("cd '" + dir.path() + "' && pdfimages -f 5 -l 5 book.pdf grey");
    Raster g = readPnm(dir.file("grey-000.pgm"));
    if (g.width == 0) {
        g = readPnm(dir.file("grey-000.ppm")); // as some versions write it
    }
    ASSERT_EQ(g.width, w);
    int differ = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            differ += g.at(x, y) != pixelAt(grey.get(), x, y).g;
        }
    }
    EXPECT_EQ(differ, 0);
}

TEST_F(PdfTest, ASaveThatFailsOrIsStoppedLeavesNoFile) {
    ImageHandle rgb = makeRgbImage(16, 16, [](int x, int y) { return testPattern(x, y, 16, 16); });
    ASSERT_TRUE(PelmixBmpFileSave(dir.file("a.bmp").c_str(), rgb.get(), nullptr, nullptr, 0));
    ASSERT_TRUE(PelmixJpegFileSave(dir.file("b.jpg").c_str(), rgb.get(), nullptr, nullptr, 80, 0));
    for (const char* gone : {"a.bmp", "b.jpg"}) {
        SCOPED_TRACE(gone);
        PELMIX_PDF* pdf = PelmixPdfCreate();
        ASSERT_EQ(PelmixPdfAddFile(pdf, dir.file("a.bmp").c_str(), 0), 1);
        ASSERT_EQ(PelmixPdfAddFile(pdf, dir.file("b.jpg").c_str(), 0), 1);
        const std::string kept = readBytes(dir.file(gone));
        ASSERT_TRUE(writeBytes(dir.file(gone), "junk", 4));
        EXPECT_EQ(PelmixPdfSave(pdf, dir.file("out.pdf").c_str()), 0);
        PelmixPdfFree(pdf);
        ASSERT_TRUE(writeBytes(dir.file(gone), kept.data(), kept.size()));
        struct stat st;
        EXPECT_NE(stat(dir.file("out.pdf").c_str(), &st), 0);
    }
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.bmp", "b.jpg"}));
    PELMIX_PDF* empty = PelmixPdfCreate();
    EXPECT_EQ(PelmixPdfSave(empty, dir.file("none.pdf").c_str()), 0);
    PelmixPdfFree(empty);

    // Stopped by its progress: while the words are read (from data that is not there, so the
    // pages carry none) and while the pages are written.
    struct Stop {
        int32_t atStep;
        bool reading;
    };
    for (const Stop stop : {Stop{0, true}, Stop{1, false}, Stop{3, true}}) {
        SCOPED_TRACE(stop.atStep);
        PELMIX_PDF* pdf = PelmixPdfCreate();
        ASSERT_EQ(PelmixPdfAddFile(pdf, dir.file("a.bmp").c_str(), 0), 1);
        ASSERT_EQ(PelmixPdfAddFile(pdf, dir.file("b.jpg").c_str(), 0), 1);
        if (stop.reading) {
            PelmixPdfSetText(pdf, dir.file("no-data").c_str(), "eng", 2);
        }
        int32_t lastTotal = 0;
        struct Context {
            int32_t atStep;
            int32_t* total;
        } context{stop.atStep, &lastTotal};
        PelmixPdfSetProgress(
            pdf,
            [](void* c, int32_t done, int32_t total) -> int32_t {
                auto* ctx = static_cast<Context*>(c);
                *ctx->total = total;
                return done < ctx->atStep ? 1 : 0;
            },
            &context);
        EXPECT_EQ(PelmixPdfSave(pdf, dir.file("out.pdf").c_str()), 0);
        EXPECT_EQ(lastTotal, stop.reading ? 4 : 2);
        PelmixPdfSetProgress(pdf, nullptr, nullptr);
        EXPECT_EQ(PelmixPdfSave(pdf, dir.file("whole.pdf").c_str()), 1);
        EXPECT_EQ(PelmixPdfTextPages(pdf), 0);
        PelmixPdfFree(pdf);
        ASSERT_EQ(std::remove(dir.file("whole.pdf").c_str()), 0);
    }
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.bmp", "b.jpg"}));
}

// Tesseract's data as the packages install it.
const char* const kTextData = "/usr/share/tesseract-ocr/5/tessdata";

TEST_F(PdfTest, TheWordsOfEachPageCanBeFoundWhereTheyStandInJapaneseAndEnglish) {
    struct stat st;
    const std::string font = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";
    if (!havePoppler() || commandOutput("command -v convert").empty() ||
        stat(font.c_str(), &st) != 0 ||
        stat((std::string(kTextData) + "/jpn.traineddata").c_str(), &st) != 0 ||
        stat((std::string(kTextData) + "/eng.traineddata").c_str(), &st) != 0) {
        GTEST_SKIP() << "ImageMagick, poppler-utils, the CJK font or the word data is missing";
    }
    // Known text drawn at 300 dpi, the first line 100 pixels (24 points) from the left edge.
    struct Page {
        const char* file;
        const char* text;
        const char* type;
    } pages[] = {{"english.tif", "Quarterly scanning report", "Grayscale -depth 8"},
                 {"japanese.bmp", "日本語の文書を読む", "TrueColor -depth 8"},
                 {"bilevel.tif", "Invoice number seven", "Bilevel -depth 1"}};
    PELMIX_PDF* pdf = PelmixPdfCreate();
    for (const Page& page : pages) {
        const std::string path = dir.file(page.file);
        commandOutput("convert -size 1500x400 xc:white -font " + font +
                      " -pointsize 40 -fill black " + "-annotate +100+200 '" + page.text +
                      "' -type " + page.type + " -units PixelsPerInch -density 300 " +
                      (std::string(page.file).ends_with(".bmp") ? "BMP3:" : "") + path);
        ASSERT_EQ(PelmixPdfAddFile(pdf, path.c_str(), 0), 1) << page.file;
    }
    PelmixPdfSetText(pdf, kTextData, "jpn+eng", 2);
    const std::string out = dir.file("words.pdf");
    ASSERT_EQ(PelmixPdfSave(pdf, out.c_str()), 1);
    EXPECT_EQ(PelmixPdfTextPages(pdf), 3);
    PelmixPdfFree(pdf);

    // The pictures are as they were: same sizes and encodings as without words.
    std::vector<std::string> encodings;
    for (const PdfImage& image : pdfImages(out)) {
        EXPECT_EQ(image.width, 1500);
        EXPECT_EQ(image.height, 400);
        encodings.push_back(image.encoding);
    }
    EXPECT_EQ(encodings, (std::vector<std::string>{"image", "image", "ccitt"}));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(pages[i].file);
        std::string text = commandOutput("pdftotext -f " + std::to_string(i + 1) + " -l " +
                                         std::to_string(i + 1) + " " + out + " -");
        std::erase_if(text, [](char c) { return c == ' ' || c == '\n' || c == '\f'; });
        std::string expected = pages[i].text;
        std::erase(expected, ' ');
        EXPECT_NE(text.find(expected), std::string::npos) << text;
        // The first word's box starts where it was drawn: 100 pixels at 300 dpi.
        const std::string box =
            commandOutput("pdftotext -bbox -f " + std::to_string(i + 1) + " -l " +
                          std::to_string(i + 1) + " " + out + " - | grep -m1 '<word'");
        const size_t at = box.find("xMin=\"");
        ASSERT_NE(at, std::string::npos) << box;
        EXPECT_NEAR(std::stod(box.substr(at + 6)), 24.0, 3.0) << box;
    }
}

// A picture with a real resolution is a page of its true size; one without (or with a screen's
// 72 dpi that would make it larger than the paper) fits A4, the C locale's paper, turned with
// it. The document says what it is: its file name, its producer and when it was made.
TEST_F(PdfTest, PicturesWithoutARealResolutionFitThePaperAndTheDocumentIsNamed) {
    if (!havePoppler()) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    struct Size {
        const char* name;
        int width, height, dpi;       // dpi 0: none
        double pageWidth, pageHeight; // mm
    };
    const Size sizes[] = {
        {"a photograph without resolution", 2560, 1600, 0, 297, 185.6},
        {"the same on its side", 1600, 2560, 0, 185.6, 297},
        {"a photograph at a screen's 72 dpi", 2560, 1920, 72, 280, 210},
        {"a small picture at 72 dpi, smaller than the paper", 400, 300, 72, 141.1, 105.8},
        {"an A4 scan at 300 dpi", 2480, 3508, 300, 210, 297},
        {"a card scanned at 600 dpi", 2150, 1300, 600, 91, 55},
    };
    PELMIX_PDF* pdf = PelmixPdfCreate();
    for (const Size& size : sizes) {
        ImageHandle picture = makeRgbImage(size.width, size.height,
                                           [](int x, int y) { return testPattern(x, y, 64, 40); });
        setDpi(picture.get(), size.dpi);
        const std::string file = dir.file(std::to_string(&size - sizes) + ".jpg");
        ASSERT_TRUE(PelmixJpegFileSave(file.c_str(), picture.get(), nullptr, nullptr, 70, 0));
        ASSERT_EQ(PelmixPdfAddFile(pdf, file.c_str(), 1), 1) << size.name;
    }
    const std::string out = dir.file("Holiday 2026.pdf");
    ASSERT_EQ(PelmixPdfSave(pdf, out.c_str()), 1);
    PelmixPdfFree(pdf);
    const std::string info = commandOutput("pdfinfo -f 1 -l 9 '" + out + "'");
    for (const Size& size : sizes) {
        SCOPED_TRACE(size.name);
        const int page = int(&size - sizes) + 1;
        const std::string key = "Page    " + std::to_string(page) + " size: ";
        const size_t at = info.find(key);
        ASSERT_NE(at, std::string::npos) << info;
        double pw = 0, ph = 0;
        std::sscanf(info.c_str() + at + key.size(), "%lf x %lf", &pw, &ph);
        EXPECT_NEAR(pw / 72 * 25.4, size.pageWidth, 0.5);
        EXPECT_NEAR(ph / 72 * 25.4, size.pageHeight, 0.5);
    }
    // pdfinfo's "Key:   value" lines.
    const std::string lines = "\n" + info;
    const auto field = [&](const std::string& key) {
        const size_t at = lines.find("\n" + key + ":");
        if (at == std::string::npos) {
            return std::string();
        }
        const size_t start = lines.find_first_not_of(' ', at + key.size() + 2);
        return lines.substr(start, lines.find('\n', start) - start);
    };
    EXPECT_EQ(field("Title"), "Holiday 2026.pdf");
    EXPECT_EQ(field("Producer").rfind("Orvana ", 0), 0u) << field("Producer");
    EXPECT_NE(field("CreationDate").find("2026"), std::string::npos) << field("CreationDate");
}

// A photograph's shapes are no words: with text recognition on, its page carries none.
TEST_F(PdfTest, APhotographGetsNoWords) {
    struct stat st;
    if (!havePoppler() || commandOutput("command -v convert").empty() ||
        stat((std::string(kTextData) + "/eng.traineddata").c_str(), &st) != 0) {
        GTEST_SKIP() << "ImageMagick, poppler-utils or the word data is missing";
    }
    const std::string photo = dir.file("photo.jpg");
    commandOutput("convert -size 1600x1200 gradient:'#5a7fb0'-'#6b5a2e' -fill '#2d4a1e' -draw "
                  "'ellipse 800,1100 900,350 0,360' -fill '#e8d9a0' -draw 'circle 1200,250 "
                  "1300,250' -attenuate 0.3 +noise Gaussian "
                  "-units PixelsPerInch -density 300 '" +
                  photo + "'");
    PELMIX_PDF* pdf = PelmixPdfCreate();
    ASSERT_EQ(PelmixPdfAddFile(pdf, photo.c_str(), 1), 1);
    PelmixPdfSetText(pdf, kTextData, "eng", 1);
    const std::string out = dir.file("photo.pdf");
    ASSERT_EQ(PelmixPdfSave(pdf, out.c_str()), 1);
    EXPECT_EQ(PelmixPdfTextPages(pdf), 0);
    PelmixPdfFree(pdf);
    std::string text = commandOutput("pdftotext '" + out + "' -");
    std::erase_if(text, [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
    EXPECT_EQ(text, "");
}

} // namespace
