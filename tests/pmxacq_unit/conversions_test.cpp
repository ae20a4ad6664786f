// Fixed-point numbers, corrections of the batch record and page-file names.
#include "capability.h"
#include "exec_param.h"
#include "page_file.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

using namespace pmxacq;

TEST(Fix32, ValuesAsTheSourceReadsThem) {
    TW_FIX32 half = toFix32(0.5);
    EXPECT_EQ(half.Whole, 0);
    EXPECT_EQ(half.Frac, 32768);

    TW_FIX32 dpi = toFix32(300);
    EXPECT_EQ(dpi.Whole, 300);
    EXPECT_EQ(dpi.Frac, 0);

    // Negative values: the arithmetic shift gives the whole part below, the fraction above it.
    TW_FIX32 negative = toFix32(-1.25);
    EXPECT_EQ(negative.Whole, -2);
    EXPECT_EQ(negative.Frac, 49153);
    EXPECT_NEAR(fromFix32(negative), -1.25, 1.0 / 65536);
}

TEST(Fix32, OutOfRangeSaturatesInsteadOfWrapping) {
    EXPECT_EQ(toFix32(1e12).Whole, 32767);
    EXPECT_EQ(toFix32(-1e12).Whole, -32768);
    EXPECT_EQ(toFix32(std::nan("")).Whole, 0);
}

TEST(Fix32, RoundTripKeepsSettings) {
    for (double v : {0.0, 2.2, 128.0, 255.0, -1000.0, 1000.0, 8.5, 11.0}) {
        EXPECT_NEAR(fromFix32(toFix32(v)), v, 1.0 / 65536) << v;
    }
}

static ScanExecParam paramWith(int16_t pixelType, int16_t bitDepth) {
    ScanExecParam p{};
    p.pixelType = pixelType;
    p.bitDepth = bitDepth;
    p.highlight = 255;
    p.threshold = 128;
    return p;
}

TEST(ExecParam, BitDepthFollowsPixelType) {
    struct Case {
        int16_t type, in, out;
    } cases[] = {
        {PMXACQ_RGB, 16, 24}, {PMXACQ_GRAY, 16, 8},  {PMXACQ_PALETTE, 9, 8}, {PMXACQ_RGB, 9, 24},
        {PMXACQ_GRAY, 23, 8}, {PMXACQ_GRAY, 24, 24}, {PMXACQ_RGB, 48, 24},   {PMXACQ_BW, 24, 1},
        {PMXACQ_BW, 0, 1},    {PMXACQ_GRAY, 8, 8},   {PMXACQ_RGB, 8, 8},     {PMXACQ_GRAY, 4, 4},
    };
    for (const Case& c : cases) {
        ScanExecParam p = paramWith(c.type, c.in);
        correctExecParam(p);
        EXPECT_EQ(p.bitDepth, c.out) << "type " << c.type << " depth " << c.in;
    }
}

TEST(ExecParam, OutOfRangeSettingsTakeTheirDefaults) {
    ScanExecParam p = paramWith(PMXACQ_RGB, 24);
    p.resolution = -75;
    p.brightness = 1001;
    p.contrast = -1001;
    p.highlight = 256;
    p.threshold = -1;
    p.shadow = 300;
    correctExecParam(p);
    EXPECT_EQ(p.resolution, 0.0f);
    EXPECT_EQ(p.brightness, 0);
    EXPECT_EQ(p.contrast, 0);
    EXPECT_EQ(p.highlight, 255);
    EXPECT_EQ(p.threshold, 128);
    EXPECT_EQ(p.shadow, 0);

    // The limits themselves are kept.
    ScanExecParam q = paramWith(PMXACQ_GRAY, 8);
    q.resolution = 300;
    q.brightness = -1000;
    q.contrast = 1000;
    q.highlight = 0;
    q.threshold = 255;
    q.shadow = 255;
    correctExecParam(q);
    EXPECT_EQ(q.resolution, 300.0f);
    EXPECT_EQ(q.brightness, -1000);
    EXPECT_EQ(q.contrast, 1000);
    EXPECT_EQ(q.highlight, 0);
    EXPECT_EQ(q.threshold, 255);
    EXPECT_EQ(q.shadow, 255);
}

TEST(ExecParam, ModeAndFeederOutsideTheirValuesAreRefused) {
    ScanExecParam p{};
    for (int16_t mode : {0, 1, 2}) {
        for (int16_t feeder : {0, 1}) {
            p.mode = mode;
            p.feeder = feeder;
            EXPECT_TRUE(execParamAccepted(p));
        }
    }
    p.mode = 3;
    EXPECT_FALSE(execParamAccepted(p));
    p.mode = -1;
    EXPECT_FALSE(execParamAccepted(p));
    p.mode = 0;
    p.feeder = 2;
    EXPECT_FALSE(execParamAccepted(p));
    p.feeder = -1;
    EXPECT_FALSE(execParamAccepted(p));
}

TEST(PageFileName, ThreeDigitsAtLeast) {
    char name[256];
    ASSERT_TRUE(formatPageFileName(name, sizeof name, "/acq/ORVA_TMP", 0));
    EXPECT_STREQ(name, "/acq/ORVA_TMP.000");
    ASSERT_TRUE(formatPageFileName(name, sizeof name, "/acq/ORVA_TMP", 42));
    EXPECT_STREQ(name, "/acq/ORVA_TMP.042");
    ASSERT_TRUE(formatPageFileName(name, sizeof name, "/acq/ORVA_TMP", 1000));
    EXPECT_STREQ(name, "/acq/ORVA_TMP.1000");
    EXPECT_FALSE(formatPageFileName(name, sizeof name, nullptr, 0));
}

TEST(PageFileName, LongBaseNamesNeverOverflow) {
    std::string longest(251, 'a'); // + ".000" + terminator = 256
    EXPECT_TRUE(baseNameFits(longest.c_str(), 256));
    EXPECT_FALSE(baseNameFits((longest + "a").c_str(), 256));
    EXPECT_FALSE(baseNameFits(nullptr, 256));
    EXPECT_TRUE(baseNameFits("", 256));

    char name[256 + 8];
    std::memset(name, '#', sizeof name);
    ASSERT_TRUE(formatPageFileName(name, 256, longest.c_str(), 999));
    EXPECT_EQ(std::string(name), longest + ".999");
    // Page 1000 would need a fifth digit: refused, the buffer stays within its bounds.
    EXPECT_FALSE(formatPageFileName(name, 256, longest.c_str(), 1000));
    EXPECT_EQ(name[0], '\0');
    for (size_t i = 256; i < sizeof name; ++i) {
        EXPECT_EQ(name[i], '#');
    }
}
