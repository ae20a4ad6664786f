// Cleaning scanned pages, each step against pages made by ImageMagick as a scanner would deliver
// them: text turned by known angles (measured straight afterwards by ImageMagick's own deskew,
// and read by Tesseract), the same text on its side and upside down, a dozen kinds of blank and
// nearly blank paper, and papers inside dark frames.
#include "pdf_tools.h"
#include "pelmix.h"
#include "temp_dir.h"
#include "test_images.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const char* const kTextData = "/usr/share/tesseract-ocr/5/tessdata";
const char* const kFont = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";

// Lines of ordinary prose, about as dense as a letter.
const char* const kProse[] = {
    "Orvana stores every page the scanner delivers and names it at once.",
    "The quarterly report was sent to the members of the board in March.",
    "Please return the signed form before the end of the month to our office.",
    "Our address and telephone number are printed at the bottom of this page.",
    "A copy of the invoice is kept for seven years as the law requires.",
    "The meeting will take place on Thursday morning in the large room.",
    "Questions about the delivery can be sent by post or by electronic mail.",
    "We thank you for your patience while the new system is introduced.",
};

constexpr int kRepeats = 2;

bool have(const char* what) {
    struct stat st;
    return ::stat(what, &st) == 0;
}

class PageCleaningTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (commandOutput("command -v convert").empty() || !have(kFont)) {
            GTEST_SKIP() << "ImageMagick or the CJK font is missing";
        }
    }

    // A page made by convert from arguments, written as a 300 dpi (unless told) BMP and loaded.
    ImageHandle page(const std::string& name, const std::string& arguments, int dpi = 300) {
        const std::string path = dir.file(name + ".bmp");
        // The density first, so that point sizes are of the page's resolution.
        commandOutput("convert -units PixelsPerInch -density " + std::to_string(dpi) + " " +
                      arguments + " BMP3:" + path);
        return ImageHandle(PelmixFileLoad(path.c_str(), "", ""));
    }

    // The prose on white at 300 dpi, 1800 x 2200 pixels (6 x 7.3 inches), in 10 points.
    std::string prose() const {
        std::string draw =
            "-size 1800x2200 xc:white -font " + std::string(kFont) + " -pointsize 10 -fill black";
        int y = 300;
        for (int repeat = 0; repeat < kRepeats; ++repeat) {
            for (const char* line : kProse) {
                draw += " -annotate +150+" + std::to_string(y) + " '" + line + "'";
                y += 80;
            }
        }
        return draw;
    }

    static ImageHandle clean(HGLOBAL image, PELMIX_CLEANING steps, PELMIX_CLEANED& found) {
        steps.TEXT_DATA = kTextData;
        return ImageHandle(PelmixCleanPage(image, &steps, &found));
    }

    std::string save(HGLOBAL image, const std::string& name) {
        const std::string path = dir.file(name + ".bmp");
        EXPECT_EQ(PelmixBmpFileSave(path.c_str(), image, nullptr, nullptr, 0), 1);
        return path;
    }

    // The share of the prose's words Tesseract reads on the picture at path, in per cent.
    static double recall(const std::string& path) {
        // Tesseract's own reader takes no BMP of 8 bits: a PNG of it.
        std::istringstream read(commandOutput("convert '" + path + "' '" + path +
                                              ".png' && OMP_THREAD_LIMIT=1 tesseract '" + path +
                                              ".png' - 2>/dev/null"));
        std::multiset<std::string> seen;
        for (std::string word; read >> word;) {
            seen.insert(word);
        }
        int total = 0;
        int found = 0;
        for (int repeat = 0; repeat < kRepeats; ++repeat) {
            for (const char* line : kProse) {
                std::istringstream words(line);
                for (std::string word; words >> word; ++total) {
                    const auto at = seen.find(word);
                    if (at != seen.end()) {
                        seen.erase(at);
                        ++found;
                    }
                }
            }
        }
        return 100.0 * found / total;
    }

    TempDir dir;
};

TEST_F(PageCleaningTest, SkewedTextIsStraightenedAndReadsAsWell) {
    const bool canRead = !commandOutput("command -v tesseract").empty();
    const ImageHandle original = page("original", prose());
    ASSERT_TRUE(original);
    const double originalRecall = canRead ? recall(dir.file("original.bmp")) : 0;
    EXPECT_TRUE(!canRead || originalRecall > 90) << originalRecall;
    for (const double degrees : {-12.0, -3.0, -0.5, 0.0, 0.7, 4.0, 11.0}) {
        SCOPED_TRACE(degrees);
        // Turned clockwise by ImageMagick on a larger white sheet, then cut to the page's size.
        const std::string name = "turned" + std::to_string(int(degrees * 10));
        const ImageHandle turned =
            page(name, prose() + " -background white -rotate " + std::to_string(degrees) +
                           " -gravity center -extent 1800x2200");
        ASSERT_TRUE(turned);
        PELMIX_CLEANED found{};
        const ImageHandle straight = clean(turned.get(), {0, 1, 0, 0, 50, nullptr}, found);
        if (std::abs(degrees) <= 0.1) {
            EXPECT_FALSE(straight) << "a straight page is left as it is";
            EXPECT_EQ(found.SKEW_DEGREES, 0);
            continue;
        }
        EXPECT_NEAR(found.SKEW_DEGREES, degrees, 0.15);
        if (!straight) {
            ADD_FAILURE() << "not straightened";
            continue;
        }
        const IMAGE_INFO info = infoOf(straight.get());
        EXPECT_EQ(info.WIDTH, 1800);
        EXPECT_EQ(info.HEIGHT, 2200);
        EXPECT_EQ(info.RESOLUTION, 300);
        // Level by another tool's measure, and read at least as well as the page never turned.
        const std::string path = save(straight.get(), name + "-straight");
        const double left = std::stod(
            commandOutput("convert '" + path + "' -deskew 40% -format '%[deskew:angle]' info:"));
        EXPECT_LT(std::abs(left), 0.15) << "ImageMagick still finds the lines turned";
        if (canRead) {
            EXPECT_GE(recall(path), originalRecall - 2);
        }
    }
}

TEST_F(PageCleaningTest, TextOnItsSideOrUpsideDownIsTurnedUpright) {
    if (!have("/usr/share/tesseract-ocr/5/tessdata/osd.traineddata")) {
        GTEST_SKIP() << "Tesseract's orientation data (tesseract-ocr-osd) is not installed";
    }
    for (const int degrees : {0, 90, 180, 270}) {
        SCOPED_TRACE(degrees);
        const ImageHandle turned =
            page("side" + std::to_string(degrees), prose() + " -rotate " + std::to_string(degrees));
        ASSERT_TRUE(turned);
        PELMIX_CLEANED found{};
        const ImageHandle upright = clean(turned.get(), {0, 0, 1, 0, 50, nullptr}, found);
        EXPECT_EQ(found.TURN, (360 - degrees) % 360);
        ASSERT_EQ(bool(upright), degrees != 0);
        if (upright) {
            EXPECT_EQ(infoOf(upright.get()).WIDTH, 1800);
            EXPECT_EQ(infoOf(upright.get()).HEIGHT, 2200);
        }
    }
    // Without the orientation data the page stays as it is, and nothing waits.
    const ImageHandle turned = page("nodata", prose() + " -rotate 180");
    PELMIX_CLEANING noData{0, 0, 1, 0, 50, nullptr};
    noData.TEXT_DATA = "/nonexistent";
    PELMIX_CLEANED none{};
    EXPECT_EQ(PelmixCleanPage(turned.get(), &noData, &none), nullptr);
    EXPECT_EQ(none.TURN, 0);
    // A photograph has no text to stand by: it stays as it is.
    const ImageHandle photo =
        page("photo", "-size 1800x1200 gradient:'#5a7fb0'-'#6b5a2e' -fill '#2d4a1e' -draw 'ellipse "
                      "900,1100 1000,350 0,360' -fill '#e8d9a0' -draw 'circle 1400,250 1500,250' "
                      " -attenuate 0.3 +noise Gaussian");
    ASSERT_TRUE(photo);
    PELMIX_CLEANED found{};
    EXPECT_FALSE(clean(photo.get(), {0, 0, 1, 0, 50, nullptr}, found));
    EXPECT_EQ(found.TURN, 0);
}

TEST_F(PageCleaningTest, OnlyPagesWithNothingOnThemAreBlank) {
    // A4 at 150 dpi: 1240 x 1754 pixels, 5.9 pixels a millimetre.
    const std::string sheet = "-size 1240x1754 xc:white";
    const std::string noise = " -attenuate 0.15 +noise Gaussian";
    const std::string font = " -font " + std::string(kFont);
    struct Kind {
        const char* name;
        std::string arguments;
        bool blank;
    };
    const Kind kinds[] = {
        {"white", sheet, true},
        {"scanner noise", sheet + noise, true},
        {"dust specks",
         sheet + noise +
             " -fill black -draw 'circle 300,400 301,400' -draw 'point 900,1200'"
             " -draw 'circle 620,1500 621,1501' -draw 'point 100,900'",
         true},
        {"two punch holes",
         sheet + " -fill black -draw 'circle 70,585 88,585'"
                 " -draw 'circle 70,1170 88,1170'",
         true},
        {"coloured paper", "-size 1240x1754 xc:'#f2e3a6'" + noise, true},
        {"show-through",
         sheet + font +
             " -pointsize 14 -fill gray86 -annotate +200+300 'Minutes of the "
             "meeting' -annotate +200+400 'held on the first of March' -flop "
             "-blur 0x1.5",
         true},
        {"a faint page number",
         sheet + font + " -pointsize 9 -fill gray62 -annotate +610+1680 '12'", false},
        {"a light pencil line",
         sheet + " -stroke gray70 -strokewidth 2 -draw 'line 200,800 900,820'", false},
        {"one short line of text",
         sheet + font +
             " -pointsize 11 -fill black -annotate +150+200 "
             "'Received 3 March'",
         false},
        {"a small logo",
         sheet + " -fill navy -draw 'rectangle 1050,150 1110,210'"
                 " -fill white -draw 'rectangle 1065,165 1095,195'",
         false},
        {"a page of text", prose() + " -resize 50%", false},
        {"a photograph",
         "-size 1240x1754 gradient:'#5a7fb0'-'#6b5a2e' -fill '#2d4a1e' -draw 'ellipse 620,1600 "
         "800,500 0,360' -fill '#e8d9a0' -draw 'circle 900,300 1000,300' -attenuate 0.3 "
         "+noise Gaussian",
         false},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const ImageHandle image =
            page(std::string("blank") + std::to_string(&kind - kinds), kind.arguments, 150);
        ASSERT_TRUE(image);
        PELMIX_CLEANED found{};
        EXPECT_FALSE(clean(image.get(), {0, 0, 0, 1, 50, nullptr}, found)) << "never changed";
        EXPECT_EQ(found.BLANK, kind.blank ? 1 : 0);
    }
}

TEST_F(PageCleaningTest, ADarkFrameIsCutToThePaper) {
    struct Frame {
        const char* paper;
        int left, top, right, bottom; // the frame's width on each side, in pixels
    };
    const Frame frames[] = {
        {"white", 20, 20, 20, 20},     {"white", 60, 35, 80, 50},  {"white", 150, 0, 0, 120},
        {"'#cfe3f5'", 40, 40, 40, 40}, {"'#f2e3a6'", 0, 90, 0, 0},
    };
    for (const Frame& f : frames) {
        SCOPED_TRACE(std::string(f.paper) + " " + std::to_string(f.left) + " " +
                     std::to_string(f.top));
        // A text page on the paper, the paper on black: 1240 x 1754 in all.
        const int right = 1240 - 1 - f.right;
        const int bottom = 1754 - 1 - f.bottom;
        const ImageHandle framed =
            page("framed",
                 "-size 1240x1754 xc:'#101010' -fill " + std::string(f.paper) +
                     " -draw 'rectangle " + std::to_string(f.left) + "," + std::to_string(f.top) +
                     " " + std::to_string(right) + "," + std::to_string(bottom) + "' -font " +
                     kFont + " -pointsize 12 -fill black -annotate +200+300 'Account statement'",
                 150);
        ASSERT_TRUE(framed);
        PELMIX_CLEANED found{};
        const ImageHandle cut = clean(framed.get(), {1, 0, 0, 0, 50, nullptr}, found);
        ASSERT_TRUE(cut);
        const IMAGE_INFO info = infoOf(cut.get());
        EXPECT_NEAR(info.WIDTH, right - f.left + 1, 2);
        EXPECT_NEAR(info.HEIGHT, bottom - f.top + 1, 2);
        EXPECT_EQ(info.RESOLUTION, 150);
    }
    // Without a frame, and a photograph dark at one edge: nothing is cut.
    for (const std::string& arguments :
         {std::string("-size 1240x1754 xc:white -fill black -draw 'rectangle 300,300 900,400'"),
          std::string("-size 1240x1754 gradient:black-white")}) {
        SCOPED_TRACE(arguments);
        const ImageHandle plain = page("plain", arguments, 150);
        ASSERT_TRUE(plain);
        PELMIX_CLEANED found{};
        EXPECT_FALSE(clean(plain.get(), {1, 0, 0, 0, 50, nullptr}, found));
    }
    // No image, or no steps: nothing, and nothing found.
    const PELMIX_CLEANING every{1, 1, 1, 1, 50, kTextData};
    PELMIX_CLEANED found{1, 1, 1};
    EXPECT_EQ(PelmixCleanPage(nullptr, &every, &found), nullptr);
    EXPECT_EQ(found.BLANK, 0);
    EXPECT_EQ(PelmixCleanPage(nullptr, nullptr, nullptr), nullptr);
}

} // namespace
