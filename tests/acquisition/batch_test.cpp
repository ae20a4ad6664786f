// The acquisition library against the data source manager of the program folder, without any
// source window: the virtual scanner in every pixel type, SANE's test device through its document
// feeder and its flatbed, and the source list.
#include "acquisition_environment.h"
#include "pelmix.h"
#include "pmxacq.h"
#include "temp_dir.h"
#include "test_images.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// SANE's test backend and no remembered default source, set before anything loads the manager.
class BatchEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        environment_ = std::make_unique<AcquisitionEnvironment>(
            ORVANA_PROGRAM_DIR, AcquisitionEnvironment::Sane::TestBackend, "");
    }

private:
    std::unique_ptr<AcquisitionEnvironment> environment_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new BatchEnvironment);

ScanExecParam batch(int16_t pixelType, int16_t bitDepth, float inchesWide, float inchesHigh,
                    float dpi, int16_t feeder, const std::string& base, const char* source) {
    ScanExecParam p{};
    p.pixelType = pixelType;
    p.frameRight = inchesWide;
    p.frameBottom = inchesHigh;
    p.resolution = dpi;
    p.bitDepth = bitDepth;
    p.gamma = 2.2f;
    p.highlight = 255;
    p.threshold = 128;
    p.feeder = feeder;
    p.baseName = base.c_str();
    p.sourceName = source;
    p.mode = 2;
    return p;
}

std::string pageFile(const std::string& base, int page) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%03d", page);
    return base + suffix;
}

std::string sourceList() {
    const int32_t length = PelmixScanListLen(nullptr);
    std::string buffer(static_cast<size_t>(length) + 1, '#');
    EXPECT_GT(PelmixScanList(nullptr, buffer.data()), 0);
    EXPECT_EQ(buffer.back(), '\0');
    buffer.pop_back();
    return buffer;
}

} // namespace

TEST(VirtualScanner, EveryPixelTypeGivesPageFilesOfItsDepth) {
    struct Case {
        int16_t pixelType;
        int16_t bitDepth;
        int32_t bits;
        int32_t colourType;
    };
    const Case cases[] = {{PMXACQ_BW, 1, 1, PELMIX_TWO_COLOUR},
                          {PMXACQ_GRAY, 8, 8, PELMIX_256_GREYS},
                          {PMXACQ_RGB, 24, 24, PELMIX_FULL_COLOUR},
                          {PMXACQ_PALETTE, 8, 8, PELMIX_256_COLOURS}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pixelType);
        TempDir dir;
        const std::string base = dir.file("ORVA_TMP");
        ScanExecParam p =
            batch(c.pixelType, c.bitDepth, 1.0f, 1.5f, 100, 0, base, "Virtual Scanner");
        EXPECT_EQ(PelmixScanExec(nullptr, &p, nullptr), 1);
        EXPECT_EQ(p.result, PMXACQ_OK);
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"ORVA_TMP.000"});
        ImageHandle page(PelmixFileLoad(pageFile(base, 0).c_str(), "", ""));
        ASSERT_TRUE(page);
        const IMAGE_INFO info = infoOf(page.get());
        EXPECT_EQ(info.WIDTH, 100);
        EXPECT_EQ(info.HEIGHT, 150);
        EXPECT_EQ(info.BIT_COUNT, c.bits);
        EXPECT_EQ(info.COLOR_TYPE, c.colourType);
        EXPECT_EQ(info.RESOLUTION, 100);
    }
}

TEST(VirtualScanner, FeederGivesItsWholeStackAndTheCallbackSeesEveryPage) {
    TempDir dir;
    const std::string base = dir.file("ORVA_TMP");
    ScanExecParam p = batch(PMXACQ_GRAY, 8, 1.0f, 1.0f, 50, 1, base, "Virtual Scanner");
    static std::vector<int32_t> seen;
    seen.clear();
    const ScanPageProc count = [](HGLOBAL* image, int32_t* counter, int32_t* stop) {
        EXPECT_EQ(*stop, 0);
        EXPECT_EQ(infoOf(*image).WIDTH, 50);
        seen.push_back(*counter);
    };
    EXPECT_EQ(PelmixScanExec(nullptr, &p, count), 5);
    EXPECT_EQ(p.result, PMXACQ_OK);
    EXPECT_EQ(seen, (std::vector<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(namesIn(dir.path()).size(), 5u);
    EXPECT_TRUE(std::filesystem::exists(pageFile(base, 4)));
}

TEST(SaneTestDevice, FeederScansTenGreyPagesThenStops) {
    // Only what a caller of the library knows: the list, then a feeder batch of a grey frame
    // at 300 dpi from the default source (the first SANE device).
    const std::string list = sourceList();
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.back(), ',');
    EXPECT_NE(list.find("(test:0)"), std::string::npos) << list;

    TempDir dir;
    const std::string base = dir.file("ORVA_TMP");
    ScanExecParam p = batch(PMXACQ_GRAY, 8, 0.5f, 0.5f, 300, 1, base, "");
    EXPECT_EQ(PelmixScanExec(nullptr, &p, nullptr), 10);
    EXPECT_EQ(p.result, PMXACQ_OK);
    const std::vector<std::string> files = namesIn(dir.path());
    ASSERT_EQ(files.size(), 10u);
    for (int page = 0; page < 10; ++page) {
        ImageHandle image(PelmixFileLoad(pageFile(base, page).c_str(), "", ""));
        ASSERT_TRUE(image) << page;
        const IMAGE_INFO info = infoOf(image.get());
        EXPECT_EQ(info.BIT_COUNT, 8);
        EXPECT_EQ(info.COLOR_TYPE, PELMIX_256_GREYS);
        // Half an inch at 300 dpi; the test device positions its frame in whole millimetres.
        EXPECT_NEAR(info.WIDTH, 150, 5);
        EXPECT_NEAR(info.HEIGHT, 150, 5);
    }
}

TEST(SaneTestDevice, FlatbedGivesOnePage) {
    TempDir dir;
    const std::string base = dir.file("ORVA_TMP");
    ScanExecParam p = batch(PMXACQ_RGB, 24, 0.5f, 0.5f, 100, 0, base, "");
    EXPECT_EQ(PelmixScanExec(nullptr, &p, nullptr), 1);
    EXPECT_EQ(p.result, PMXACQ_OK);
    ImageHandle image(PelmixFileLoad(pageFile(base, 0).c_str(), "", ""));
    ASSERT_TRUE(image);
    EXPECT_EQ(infoOf(image.get()).BIT_COUNT, 24);
}

TEST(SourceList, NamesTheDefaultThenEverySourceEachFollowedByAComma) {
    const std::string list = sourceList();
    std::vector<std::string> names;
    size_t start = 0;
    for (size_t comma = list.find(','); comma != std::string::npos; comma = list.find(',', start)) {
        names.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    EXPECT_EQ(start, list.size()) << "the list ends with a comma";
    ASSERT_GE(names.size(), 4u) << list; // default, test:0, test:1, the virtual scanner
    EXPECT_EQ(names[0], names[1]) << "the default comes first and again in its place";
    EXPECT_NE(names[1].find("(test:0)"), std::string::npos);
    EXPECT_EQ(names.back(), "Virtual Scanner");
}
