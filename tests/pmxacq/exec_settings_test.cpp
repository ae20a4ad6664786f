// PelmixScanExec's settings: corrections written back into the record, refused modes, and the
// negotiation of mode 2 with and without feeder, with and without a resolution.
#include "acquisition_fixture.h"
#include "temp_dir.h"

#include <algorithm>

namespace {

using namespace acqtest;

class ExecSettings : public Acquisition {
protected:
    // The calls between opening the source and enabling it, without the probe.
    static std::vector<std::string> negotiation() {
        std::vector<std::string> names = fake().names();
        auto from = std::find(names.begin(), names.end(), "GETCURRENT ICAP_UNITS");
        auto to = std::find(names.begin(), names.end(), "ENABLEDS");
        if (from == names.end() || to == names.end() || to < from) {
            return names;
        }
        return std::vector<std::string>(from + 1, to + 1);
    }

    static void expectFix32(TW_UINT16 cap, double value) {
        const fakedsm::Call* set = fake().lastSet(cap);
        ASSERT_NE(set, nullptr) << cap;
        EXPECT_EQ(set->itemType, TWTY_FIX32) << cap;
        EXPECT_EQ(itemAsFix32(*set).Whole, fix32(value).Whole) << cap;
        EXPECT_EQ(itemAsFix32(*set).Frac, fix32(value).Frac) << cap;
    }
};

struct Depth {
    int16_t pixelType;
    int16_t in;
    int16_t out;
};

class DepthCorrection : public ExecSettings, public ::testing::WithParamInterface<Depth> {};

TEST_P(DepthCorrection, IsWrittenBackAndSent) {
    ScanExecParam p = execParam(GetParam().pixelType);
    p.bitDepth = GetParam().in;
    PelmixScanExec(window(), &p, nullptr);
    EXPECT_EQ(p.bitDepth, GetParam().out);
    const fakedsm::Call* set = fake().lastSet(ICAP_BITDEPTH);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->itemType, TWTY_UINT16);
    EXPECT_EQ(set->item & 0xFFFF, static_cast<TW_UINT32>(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(Depths, DepthCorrection,
                         ::testing::Values(Depth{PMXACQ_RGB, 16, 24}, Depth{PMXACQ_GRAY, 16, 8},
                                           Depth{PMXACQ_PALETTE, 9, 8}, Depth{PMXACQ_GRAY, 23, 8},
                                           Depth{PMXACQ_RGB, 9, 24}, Depth{PMXACQ_RGB, 32, 24},
                                           Depth{PMXACQ_GRAY, 24, 24}, Depth{PMXACQ_BW, 8, 1},
                                           Depth{PMXACQ_BW, 24, 1}, Depth{PMXACQ_GRAY, 8, 8},
                                           Depth{PMXACQ_RGB, 8, 8}, Depth{PMXACQ_PALETTE, 4, 4}));

TEST_F(ExecSettings, OutOfRangeSettingsAreCorrectedInTheRecord) {
    ScanExecParam p = execParam(PMXACQ_RGB);
    p.brightness = 1001;
    p.contrast = -1001;
    p.highlight = 256;
    p.threshold = -1;
    p.shadow = 256;
    PelmixScanExec(window(), &p, nullptr);
    EXPECT_EQ(p.brightness, 0);
    EXPECT_EQ(p.contrast, 0);
    EXPECT_EQ(p.highlight, 255);
    EXPECT_EQ(p.threshold, 128);
    EXPECT_EQ(p.shadow, 0);
    expectFix32(ICAP_BRIGHTNESS, 0);
    expectFix32(ICAP_HIGHLIGHT, 255);

    restart();
    p = execParam(PMXACQ_RGB);
    p.brightness = -1000;
    p.contrast = 1000;
    p.highlight = 0;
    p.threshold = 255;
    p.shadow = 255;
    PelmixScanExec(window(), &p, nullptr);
    EXPECT_EQ(p.brightness, -1000);
    EXPECT_EQ(p.contrast, 1000);
    EXPECT_EQ(p.highlight, 0);
    EXPECT_EQ(p.threshold, 255);
    EXPECT_EQ(p.shadow, 255);

    restart();
    p = execParam(PMXACQ_BW);
    p.threshold = 300;
    p.highlight = -5;
    p.shadow = -5;
    PelmixScanExec(window(), &p, nullptr);
    EXPECT_EQ(p.threshold, 128);
    EXPECT_EQ(p.highlight, 255);
    EXPECT_EQ(p.shadow, 0);
    expectFix32(ICAP_THRESHOLD, 128);
}

TEST_F(ExecSettings, BadModeOrFeederIsRefusedBeforeLoadingTheManager) {
    TempDir empty;
    setenv("ORVANA_WINDOWS_DIR", empty.path().c_str(), 1); // a load would show the error box
    for (int16_t mode : {-1, 3, 100}) {
        ScanExecParam p = execParam();
        p.mode = mode;
        p.result = 0;
        EXPECT_EQ(PelmixScanExec(window(), &p, nullptr), 0);
        EXPECT_EQ(p.result, PMXACQ_BADVALUE);
    }
    for (int16_t feeder : {-1, 2}) {
        ScanExecParam p = execParam();
        p.feeder = feeder;
        p.result = 0;
        EXPECT_EQ(PelmixScanExec(window(), &p, nullptr), 0);
        EXPECT_EQ(p.result, PMXACQ_BADVALUE);
    }
    EXPECT_TRUE(boxes_.empty());
    EXPECT_TRUE(fake().calls.empty());
}

class ModeTwo : public ExecSettings, public ::testing::WithParamInterface<int16_t> {};

TEST_P(ModeTwo, NegotiatesEverySettingInOrder) {
    const int16_t type = GetParam();
    ScanExecParam p = execParam(type);
    PelmixScanExec(window(), &p, nullptr);
    std::vector<std::string> expected = {"SET CAP_INDICATORS", "SET CAP_XFERCOUNT",
                                         "SET ICAP_AUTOBRIGHT", "SET ICAP_PIXELTYPE",
                                         "SET ICAP_BITDEPTH"};
    if (type == PMXACQ_BW) {
        expected.push_back("SET ICAP_THRESHOLD");
    } else {
        if (type != PMXACQ_GRAY) {
            expected.push_back("SET ICAP_CONTRAST");
        }
        for (const char* name :
             {"SET ICAP_BRIGHTNESS", "SET ICAP_GAMMA", "SET ICAP_HIGHLIGHT", "SET ICAP_SHADOW"}) {
            expected.push_back(name);
        }
    }
    for (const char* name :
         {"SET ICAP_UNITS", "SET ICAP_XRESOLUTION", "SET ICAP_YRESOLUTION", "ENABLEDS"}) {
        expected.push_back(name);
    }
    EXPECT_EQ(negotiation(), expected);

    const fakedsm::Call* indicators = fake().lastSet(CAP_INDICATORS);
    ASSERT_NE(indicators, nullptr);
    EXPECT_EQ(indicators->itemType, TWTY_BOOL);
    EXPECT_EQ(indicators->item & 0xFFFF, 1u);
    const fakedsm::Call* pixelType = fake().lastSet(ICAP_PIXELTYPE);
    ASSERT_NE(pixelType, nullptr);
    EXPECT_EQ(pixelType->itemType, TWTY_UINT16);
    EXPECT_EQ(pixelType->item & 0xFFFF, static_cast<TW_UINT32>(type));
    if (type == PMXACQ_BW) {
        expectFix32(ICAP_THRESHOLD, 100);
    } else {
        if (type != PMXACQ_GRAY) {
            expectFix32(ICAP_CONTRAST, 35);
        }
        expectFix32(ICAP_BRIGHTNESS, -20);
        expectFix32(ICAP_GAMMA, 2.25);
        expectFix32(ICAP_HIGHLIGHT, 240);
        expectFix32(ICAP_SHADOW, 12);
    }
    expectFix32(ICAP_XRESOLUTION, 300);
    expectFix32(ICAP_YRESOLUTION, 300);
    for (const fakedsm::Call& call : fake().calls) {
        if (call.msg == MSG_ENABLEDS) {
            EXPECT_EQ(call.showUI, 0);
            EXPECT_EQ(call.modalUI, 1);
            EXPECT_EQ(call.hParent, window());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(PixelTypes, ModeTwo,
                         ::testing::Values(PMXACQ_BW, PMXACQ_GRAY, PMXACQ_RGB, PMXACQ_PALETTE));

TEST_F(ExecSettings, NegativeFixedPointValuesOnTheWire) {
    // Truncation after adding one half: -20 goes out as Whole -20, Frac 1.
    EXPECT_EQ(fix32(-20).Whole, -20);
    EXPECT_EQ(fix32(-20).Frac, 1);
    ScanExecParam p = execParam(PMXACQ_RGB);
    PelmixScanExec(window(), &p, nullptr);
    const fakedsm::Call* set = fake().lastSet(ICAP_BRIGHTNESS);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(itemAsFix32(*set).Whole, -20);
    EXPECT_EQ(itemAsFix32(*set).Frac, 1);
}

TEST_F(ExecSettings, FeederIsPreparedInsteadOfTheTransferCount) {
    ScanExecParam p = execParam(PMXACQ_GRAY);
    p.feeder = 1;
    PelmixScanExec(window(), &p, nullptr);
    const std::vector<std::string> expected = {"SET CAP_INDICATORS",    "GET CAP_FEEDERENABLED",
                                               "SET CAP_FEEDERENABLED", "GET CAP_FEEDERLOADED",
                                               "SET CAP_AUTOFEED",      "SET ICAP_AUTOBRIGHT",
                                               "SET ICAP_PIXELTYPE",    "SET ICAP_BITDEPTH",
                                               "SET ICAP_BRIGHTNESS",   "SET ICAP_GAMMA",
                                               "SET ICAP_HIGHLIGHT",    "SET ICAP_SHADOW",
                                               "SET ICAP_UNITS",        "SET ICAP_XRESOLUTION",
                                               "SET ICAP_YRESOLUTION",  "ENABLEDS"};
    EXPECT_EQ(negotiation(), expected);
    for (TW_UINT16 cap : {CAP_FEEDERENABLED, CAP_AUTOFEED}) {
        const fakedsm::Call* set = fake().lastSet(cap);
        ASSERT_NE(set, nullptr);
        EXPECT_EQ(set->itemType, TWTY_BOOL);
        EXPECT_EQ(set->item & 0xFFFF, 1u);
    }
}

TEST_F(ExecSettings, ZeroResolutionKeepsTheSourcesImageSettings) {
    ScanExecParam p = execParam(PMXACQ_RGB);
    p.resolution = 0;
    PelmixScanExec(window(), &p, nullptr);
    EXPECT_EQ(negotiation(),
              (std::vector<std::string>{"SET CAP_INDICATORS", "SET CAP_XFERCOUNT", "ENABLEDS"}));

    restart();
    p = execParam(PMXACQ_RGB);
    p.resolution = 0;
    p.feeder = 1; // the feeder is only prepared with a resolution
    PelmixScanExec(window(), &p, nullptr);
    EXPECT_EQ(negotiation(), (std::vector<std::string>{"SET CAP_INDICATORS", "ENABLEDS"}));

    restart();
    p = execParam(PMXACQ_RGB);
    p.resolution = -150;
    PelmixScanExec(window(), &p, nullptr);
    EXPECT_EQ(p.resolution, 0.0f) << "a negative resolution is stored back as 0";
    EXPECT_EQ(negotiation(),
              (std::vector<std::string>{"SET CAP_INDICATORS", "SET CAP_XFERCOUNT", "ENABLEDS"}));
}

class FeederRefusal : public ExecSettings,
                      public ::testing::WithParamInterface<std::pair<TW_UINT16, TW_UINT16>> {};

TEST_P(FeederRefusal, EndsTheCallWithoutAResult) {
    fake().failCap(GetParam().first, GetParam().second, TWCC_BADVALUE);
    ScanExecParam p = execParam(PMXACQ_RGB);
    p.feeder = 1;
    p.result = 0;
    EXPECT_EQ(PelmixScanExec(window(), &p, nullptr), 0);
    EXPECT_EQ(p.result, PMXACQ_OK);
    EXPECT_EQ(fake().lifecycle(),
              (std::vector<std::string>{"OPENDSM", "OPENDS", "CLOSEDS", "CLOSEDSM"}));
    EXPECT_EQ(fake().lastSet(ICAP_PIXELTYPE), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FeederRefusal,
    ::testing::Values(std::make_pair(TW_UINT16(MSG_GET), TW_UINT16(CAP_FEEDERENABLED)),
                      std::make_pair(TW_UINT16(MSG_SET), TW_UINT16(CAP_FEEDERENABLED)),
                      std::make_pair(TW_UINT16(MSG_GET), TW_UINT16(CAP_FEEDERLOADED)),
                      std::make_pair(TW_UINT16(MSG_SET), TW_UINT16(CAP_AUTOFEED))));

TEST_F(ExecSettings, RefusedSettingsEitherStopOrAreIgnored) {
    for (TW_UINT16 cap : {ICAP_AUTOBRIGHT, ICAP_BITDEPTH, ICAP_CONTRAST, ICAP_BRIGHTNESS,
                          ICAP_GAMMA, ICAP_HIGHLIGHT, ICAP_SHADOW, CAP_INDICATORS}) {
        restart();
        fake().failCap(MSG_SET, cap, TWCC_BADVALUE);
        ScanExecParam p = execParam(PMXACQ_RGB);
        PelmixScanExec(window(), &p, nullptr);
        EXPECT_EQ(p.result, PMXACQ_OK) << cap;
        EXPECT_NE(fake().lastSet(ICAP_YRESOLUTION), nullptr) << cap;
    }
    restart();
    fake().failCap(MSG_SET, ICAP_THRESHOLD, TWCC_BADVALUE);
    ScanExecParam bw = execParam(PMXACQ_BW);
    PelmixScanExec(window(), &bw, nullptr);
    EXPECT_EQ(bw.result, PMXACQ_OK);

    for (auto [cap, condition, result] :
         {std::tuple<TW_UINT16, TW_UINT16, int32_t>{ICAP_PIXELTYPE, TWCC_BADVALUE, 3},
          {ICAP_UNITS, TWCC_BADCAP, 2},
          {ICAP_XRESOLUTION, TWCC_LOWMEMORY, 1},
          {ICAP_YRESOLUTION, TWCC_BADVALUE, 3},
          {CAP_XFERCOUNT, TWCC_BADVALUE, 4}}) {
        restart();
        fake().failCap(MSG_SET, cap, condition);
        ScanExecParam p = execParam(PMXACQ_RGB);
        EXPECT_EQ(PelmixScanExec(window(), &p, nullptr), 0);
        EXPECT_EQ(p.result, result) << cap;
        EXPECT_EQ(fake().lifecycle(),
                  (std::vector<std::string>{"OPENDSM", "OPENDS", "CLOSEDS", "CLOSEDSM"}))
            << cap;
    }
}

TEST_F(ExecSettings, UserInterfaceByMode) {
    for (int16_t mode : {0, 1, 2}) {
        restart();
        ScanExecParam p = execParam();
        p.mode = mode;
        PelmixScanExec(window(), &p, nullptr);
        bool enabled = false;
        for (const fakedsm::Call& call : fake().calls) {
            if (call.msg == MSG_ENABLEDS) {
                enabled = true;
                EXPECT_EQ(call.showUI, mode == 2 ? 0 : 1) << mode;
                EXPECT_EQ(call.modalUI, 1);
            }
        }
        EXPECT_TRUE(enabled);
        if (mode != 2) {
            EXPECT_TRUE(fake().capabilityCalls().empty()) << "only mode 2 negotiates";
        }
        EXPECT_EQ(p.result, PMXACQ_OK);
        expectAllClosed();
    }
}

} // namespace
