// Capability and image-layout negotiation through the manager: round trips in the types the
// acquisition library sends, refusals by limits, state and feeder, defaults and resets.
#include "fix32.h"
#include "manager_harness.h"

#include <gtest/gtest.h>

using namespace twaindsm;
using namespace twaindsm::testing;

namespace {

// A ONEVALUE container as an application builds it: the item copied with the width of its type.
HGLOBAL oneValue(TW_UINT16 itemType, const void* item, size_t width) {
    HGLOBAL block = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    std::memcpy(bytes, &itemType, sizeof itemType);
    std::memcpy(bytes + offsetof(TW_ONEVALUE, Item), item, width);
    GlobalUnlock(block);
    return block;
}

struct CapabilityTest : ::testing::Test {
    ManagerHarness h{{{"Flatbed"}, {"Feeder", true}}};

    void SetUp() override {
        ASSERT_TRUE(h.openManager());
        ASSERT_TRUE(h.openSource("Flatbed"));
    }
    ScanSettings& settings() { return h.stub(h.source.ProductName).settings(); }

    TW_UINT16 setRaw(TW_UINT16 cap, TW_UINT16 itemType, const void* item, size_t width,
                     TW_UINT16 conType = TWON_ONEVALUE) {
        TW_CAPABILITY capability{cap, conType, oneValue(itemType, item, width)};
        const TW_UINT16 rc = h.toSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability);
        GlobalFree(capability.hContainer);
        return rc;
    }
    TW_UINT16 setU16(TW_UINT16 cap, TW_UINT16 value, TW_UINT16 itemType = TWTY_UINT16) {
        return setRaw(cap, itemType, &value, sizeof value);
    }
    TW_UINT16 setFix(TW_UINT16 cap, double value) {
        const TW_FIX32 fix = toFix32(value);
        return setRaw(cap, TWTY_FIX32, &fix, sizeof fix);
    }
    // The container a get or reset returns, released here; ItemType 0xFFFF when it failed.
    TW_ONEVALUE get(TW_UINT16 cap, TW_UINT16 msg = MSG_GETCURRENT) {
        TW_CAPABILITY capability{cap, 0, nullptr};
        TW_ONEVALUE value{0xFFFF, 0};
        if (h.toSource(DG_CONTROL, DAT_CAPABILITY, msg, &capability) != TWRC_SUCCESS)
            return value;
        EXPECT_EQ(capability.ConType, TWON_ONEVALUE);
        EXPECT_EQ(GlobalSize(capability.hContainer), sizeof(TW_ONEVALUE));
        std::memcpy(&value, GlobalLock(capability.hContainer), sizeof value);
        GlobalUnlock(capability.hContainer);
        EXPECT_EQ(GlobalFree(capability.hContainer), nullptr);
        return value;
    }
    static double fixOf(const TW_ONEVALUE& value) {
        TW_FIX32 fix;
        std::memcpy(&fix, reinterpret_cast<const char*>(&value) + 2, sizeof fix);
        return fromFix32(fix);
    }
    static int u16Of(const TW_ONEVALUE& value) {
        TW_UINT16 v;
        std::memcpy(&v, reinterpret_cast<const char*>(&value) + 2, sizeof v);
        return v;
    }
    static int i16Of(const TW_ONEVALUE& value) { return static_cast<TW_INT16>(u16Of(value)); }

    TW_UINT16 layout(TW_UINT16 msg, TW_IMAGELAYOUT& layout) {
        return h.toSource(DG_IMAGE, DAT_IMAGELAYOUT, msg, &layout);
    }
    static TW_IMAGELAYOUT frame(double l, double t, double r, double b) {
        TW_IMAGELAYOUT layout{};
        layout.Frame = {toFix32(l), toFix32(t), toFix32(r), toFix32(b)};
        return layout;
    }
};

TEST_F(CapabilityTest, ValuesRoundTripInTheTypesApplicationsSend) {
    ASSERT_EQ(setFix(ICAP_XRESOLUTION, 300), TWRC_SUCCESS);
    ASSERT_EQ(setFix(ICAP_YRESOLUTION, 72.5), TWRC_SUCCESS);
    const TW_ONEVALUE x = get(ICAP_XRESOLUTION);
    EXPECT_EQ(x.ItemType, TWTY_FIX32);
    EXPECT_DOUBLE_EQ(fixOf(x), 300);
    EXPECT_DOUBLE_EQ(fixOf(get(ICAP_YRESOLUTION, MSG_GET)), 72.5);
    EXPECT_DOUBLE_EQ(settings().yResolution, 72.5);

    ASSERT_EQ(setFix(ICAP_BRIGHTNESS, -250), TWRC_SUCCESS);
    EXPECT_DOUBLE_EQ(fixOf(get(ICAP_BRIGHTNESS)), -250);
    ASSERT_EQ(setFix(ICAP_GAMMA, 1.8), TWRC_SUCCESS);
    EXPECT_NEAR(settings().gamma, 1.8, 1e-4);
    ASSERT_EQ(setFix(ICAP_THRESHOLD, 0), TWRC_SUCCESS);
    ASSERT_EQ(setFix(ICAP_HIGHLIGHT, 255), TWRC_SUCCESS);
    EXPECT_EQ(settings().threshold, 0);
    const TW_INT32 contrast = -40; // a whole number sent as a plain integer
    ASSERT_EQ(setRaw(ICAP_CONTRAST, TWTY_INT32, &contrast, sizeof contrast), TWRC_SUCCESS);
    EXPECT_EQ(settings().contrast, -40);

    ASSERT_EQ(setU16(CAP_XFERCOUNT, 1), TWRC_SUCCESS) << "sent unsigned";
    const TW_ONEVALUE count = get(CAP_XFERCOUNT);
    EXPECT_EQ(count.ItemType, TWTY_INT16);
    EXPECT_EQ(i16Of(count), 1);
    ASSERT_EQ(setU16(CAP_XFERCOUNT, 0xFFFF, TWTY_INT16), TWRC_SUCCESS);
    EXPECT_EQ(settings().xferCount, -1);
    EXPECT_EQ(i16Of(get(CAP_XFERCOUNT)), -1);

    ASSERT_EQ(setU16(ICAP_AUTOBRIGHT, 1, TWTY_BOOL), TWRC_SUCCESS);
    ASSERT_EQ(setU16(CAP_INDICATORS, 0, TWTY_BOOL), TWRC_SUCCESS);
    EXPECT_TRUE(settings().autoBright);
    EXPECT_EQ(get(CAP_INDICATORS).ItemType, TWTY_BOOL);
    EXPECT_EQ(u16Of(get(CAP_INDICATORS)), 0);
    ASSERT_EQ(setU16(ICAP_UNITS, TWUN_INCHES), TWRC_SUCCESS);
}

TEST_F(CapabilityTest, BitDepthFollowsThePixelType) {
    ASSERT_EQ(setU16(ICAP_PIXELTYPE, TWPT_BW), TWRC_SUCCESS);
    EXPECT_EQ(u16Of(get(ICAP_BITDEPTH)), 1);
    EXPECT_EQ(setU16(ICAP_BITDEPTH, 8), TWRC_FAILURE);
    EXPECT_EQ(h.condition(&h.source), TWCC_BADVALUE);
    ASSERT_EQ(setU16(ICAP_PIXELTYPE, TWPT_GRAY), TWRC_SUCCESS);
    EXPECT_EQ(settings().bitDepth, 8);
    ASSERT_EQ(setU16(ICAP_BITDEPTH, 8), TWRC_SUCCESS);
    EXPECT_EQ(setU16(ICAP_BITDEPTH, 24), TWRC_FAILURE) << "24 is for colour only";
    ASSERT_EQ(setU16(ICAP_PIXELTYPE, TWPT_RGB), TWRC_SUCCESS);
    ASSERT_EQ(setU16(ICAP_BITDEPTH, 24), TWRC_SUCCESS);
    EXPECT_EQ(settings().bitDepth, 8) << "kept per sample";
    EXPECT_EQ(setU16(ICAP_BITDEPTH, 16), TWRC_FAILURE);
    EXPECT_EQ(u16Of(get(ICAP_PIXELTYPE)), TWPT_RGB);
}

TEST_F(CapabilityTest, ValuesOutsideTheLimitsAreRefusedAndLeaveTheSetting) {
    h.stub("Flatbed").mutableLimits().pixelTypes = {TWPT_GRAY, TWPT_RGB};
    const ScanSettings before = settings();
    struct {
        TW_UINT16 cap;
        double value;
    } const refused[] = {
        {ICAP_XRESOLUTION, 49.5},  {ICAP_YRESOLUTION, 1201}, {ICAP_BRIGHTNESS, 1000.5},
        {ICAP_CONTRAST, -1001},    {ICAP_GAMMA, 0},          {ICAP_SHADOW, -1},
        {ICAP_HIGHLIGHT, 256},     {ICAP_THRESHOLD, 300},    {CAP_XFERCOUNT, 0},
        {ICAP_PIXELTYPE, TWPT_BW}, {ICAP_PIXELTYPE, 9},      {ICAP_UNITS, TWUN_CENTIMETERS},
        {ICAP_PIXELTYPE, 1.5},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(setFix(r.cap, r.value), TWRC_FAILURE) << std::hex << r.cap << " " << r.value;
        EXPECT_EQ(h.condition(&h.source), TWCC_BADVALUE) << std::hex << r.cap;
    }
    EXPECT_EQ(settings().xResolution, before.xResolution);
    EXPECT_EQ(settings().pixelType, before.pixelType);
    EXPECT_EQ(settings().xferCount, before.xferCount);
    EXPECT_EQ(settings().gamma, before.gamma);
}

TEST_F(CapabilityTest, MalformedRequestsAreRefused) {
    EXPECT_EQ(setFix(0x7777, 1), TWRC_FAILURE);
    EXPECT_EQ(h.condition(&h.source), TWCC_BADCAP);
    EXPECT_EQ(get(0x7777).ItemType, 0xFFFF);
    EXPECT_EQ(h.condition(&h.source), TWCC_BADCAP);

    const TW_FIX32 fix = toFix32(300);
    EXPECT_EQ(setRaw(ICAP_XRESOLUTION, TWTY_FIX32, &fix, sizeof fix, TWON_ENUMERATION),
              TWRC_FAILURE);
    EXPECT_EQ(h.condition(&h.source), TWCC_BADVALUE);
    const char text[4] = "300";
    EXPECT_EQ(setRaw(ICAP_XRESOLUTION, TWTY_STR32, text, 4), TWRC_FAILURE);
    EXPECT_EQ(h.condition(&h.source), TWCC_BADVALUE);

    TW_CAPABILITY empty{ICAP_XRESOLUTION, TWON_ONEVALUE, nullptr};
    EXPECT_EQ(h.toSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &empty), TWRC_FAILURE);
    EXPECT_EQ(h.condition(&h.source), TWCC_BADVALUE);
    TW_CAPABILITY tiny{ICAP_XRESOLUTION, TWON_ONEVALUE, GlobalAlloc(GHND, 3)};
    EXPECT_EQ(h.toSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &tiny), TWRC_FAILURE);
    EXPECT_EQ(h.condition(&h.source), TWCC_BADVALUE);
    GlobalFree(tiny.hContainer);
    EXPECT_EQ(h.toSource(DG_CONTROL, DAT_CAPABILITY, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(h.condition(&h.source), TWCC_BADVALUE);
}

TEST_F(CapabilityTest, SetOnlyBeforeEnablingGetUntilTheEnd) {
    ASSERT_EQ(h.enable(false), TWRC_SUCCESS);
    EXPECT_EQ(setFix(ICAP_XRESOLUTION, 300), TWRC_FAILURE);
    EXPECT_EQ(h.condition(&h.source), TWCC_SEQERROR);
    TW_CAPABILITY reset{ICAP_XRESOLUTION, 0, nullptr};
    EXPECT_EQ(h.toSource(DG_CONTROL, DAT_CAPABILITY, MSG_RESET, &reset), TWRC_FAILURE);
    EXPECT_EQ(h.condition(&h.source), TWCC_SEQERROR);
    EXPECT_DOUBLE_EQ(fixOf(get(ICAP_XRESOLUTION)), 150) << "state 5";
    TW_UINT16 twMessage = 0;
    ASSERT_EQ(h.processEvent(*ManagerHarness::nextMessage(), twMessage), TWRC_DSEVENT);
    EXPECT_EQ(get(ICAP_PIXELTYPE).ItemType, TWTY_UINT16) << "state 6";

    ASSERT_EQ(h.disable(), TWRC_SUCCESS);
    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_CLOSEDS, &h.source), TWRC_SUCCESS);
    TW_CAPABILITY closed{ICAP_XRESOLUTION, 0, nullptr};
    EXPECT_EQ(h.toSource(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &closed), TWRC_FAILURE);
    EXPECT_EQ(h.condition(), TWCC_SEQERROR) << "no source open";
}

TEST_F(CapabilityTest, DefaultsAreTheSettingsTheSourceOpenedWith) {
    settings().xResolution = 600; // the source changed it before; reopening starts afresh
    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_CLOSEDS, &h.source), TWRC_SUCCESS);
    ASSERT_TRUE(h.openSource("Flatbed"));
    ASSERT_EQ(setFix(ICAP_XRESOLUTION, 300), TWRC_SUCCESS);
    ASSERT_EQ(setU16(ICAP_PIXELTYPE, TWPT_BW), TWRC_SUCCESS);
    EXPECT_DOUBLE_EQ(fixOf(get(ICAP_XRESOLUTION, MSG_GETDEFAULT)), 600);
    EXPECT_DOUBLE_EQ(fixOf(get(ICAP_XRESOLUTION, MSG_RESET)), 600);
    EXPECT_EQ(settings().xResolution, 600);
    EXPECT_EQ(u16Of(get(ICAP_PIXELTYPE, MSG_RESET)), TWPT_RGB);
    EXPECT_EQ(settings().bitDepth, 8) << "bit depth follows the restored pixel type";
}

TEST_F(CapabilityTest, FeederCapabilitiesNeedAFeederAndDuplexADuplexFeeder) {
    // Every source says whether it scans both sides.
    EXPECT_EQ(u16Of(get(CAP_DUPLEX, MSG_GET)), TWDX_NONE);
    EXPECT_EQ(setU16(CAP_DUPLEX, TWDX_1PASSDUPLEX), TWRC_FAILURE) << "what the device can do";
    for (TW_UINT16 cap : {CAP_FEEDERENABLED, CAP_FEEDERLOADED, CAP_AUTOFEED, CAP_DUPLEXENABLED}) {
        EXPECT_EQ(get(cap, MSG_GET).ItemType, 0xFFFF) << std::hex << cap;
        EXPECT_EQ(h.condition(&h.source), TWCC_BADCAP);
        EXPECT_EQ(setU16(cap, 1, TWTY_BOOL), TWRC_FAILURE);
        EXPECT_EQ(h.condition(&h.source), TWCC_BADCAP);
    }
    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_CLOSEDS, &h.source), TWRC_SUCCESS);
    ASSERT_TRUE(h.openSource("Feeder"));
    EXPECT_EQ(u16Of(get(CAP_FEEDERENABLED, MSG_GET)), 0);
    ASSERT_EQ(setU16(CAP_FEEDERENABLED, 1, TWTY_BOOL), TWRC_SUCCESS);
    ASSERT_EQ(setU16(CAP_AUTOFEED, 1, TWTY_BOOL), TWRC_SUCCESS);
    EXPECT_TRUE(settings().feederEnabled);
    EXPECT_TRUE(settings().autoFeed);
    h.stub("Feeder").loaded = false;
    EXPECT_EQ(u16Of(get(CAP_FEEDERLOADED, MSG_GET)), 0);
    h.stub("Feeder").loaded = true;
    EXPECT_EQ(u16Of(get(CAP_FEEDERLOADED, MSG_GET)), 1);
    EXPECT_EQ(setU16(CAP_FEEDERLOADED, 0, TWTY_BOOL), TWRC_FAILURE) << "paper is not negotiable";
    EXPECT_EQ(get(CAP_DUPLEXENABLED, MSG_GET).ItemType, 0xFFFF) << "a simplex feeder";

    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_CLOSEDS, &h.source), TWRC_SUCCESS);
    h.stub("Feeder").mutableLimits().hasDuplex = true;
    ASSERT_TRUE(h.openSource("Feeder"));
    EXPECT_EQ(u16Of(get(CAP_DUPLEX, MSG_GET)), TWDX_1PASSDUPLEX);
    EXPECT_EQ(u16Of(get(CAP_DUPLEXENABLED, MSG_GET)), 0);
    ASSERT_EQ(setU16(CAP_DUPLEXENABLED, 1, TWTY_BOOL), TWRC_SUCCESS);
    EXPECT_TRUE(settings().duplexEnabled);
}

TEST_F(CapabilityTest, LayoutIsClippedToTheScanArea) {
    TW_IMAGELAYOUT wanted = frame(1, 1.5, 3.25, 4);
    ASSERT_EQ(layout(MSG_SET, wanted), TWRC_SUCCESS);
    TW_IMAGELAYOUT got{};
    ASSERT_EQ(layout(MSG_GET, got), TWRC_SUCCESS);
    EXPECT_DOUBLE_EQ(fromFix32(got.Frame.Left), 1);
    EXPECT_DOUBLE_EQ(fromFix32(got.Frame.Top), 1.5);
    EXPECT_DOUBLE_EQ(fromFix32(got.Frame.Right), 3.25);
    EXPECT_DOUBLE_EQ(fromFix32(got.Frame.Bottom), 4);

    TW_IMAGELAYOUT large = frame(-1, 2, 10, 20); // the stub's glass is 8.5 x 14
    ASSERT_EQ(layout(MSG_SET, large), TWRC_SUCCESS);
    EXPECT_EQ(settings().frame, (Frame{0, 2, 8.5, 14}));
    EXPECT_DOUBLE_EQ(fromFix32(large.Frame.Left), 0) << "the clipped frame is written back";
    EXPECT_DOUBLE_EQ(fromFix32(large.Frame.Right), 8.5);

    for (TW_IMAGELAYOUT bad : {frame(3, 1, 3, 4), frame(3, 4, 2, 5), frame(9, 1, 12, 4)}) {
        EXPECT_EQ(layout(MSG_SET, bad), TWRC_FAILURE);
        EXPECT_EQ(h.condition(&h.source), TWCC_BADVALUE);
    }
    EXPECT_EQ(settings().frame, (Frame{0, 2, 8.5, 14}));

    ASSERT_EQ(layout(MSG_RESET, got), TWRC_SUCCESS);
    EXPECT_EQ(settings().frame, (Frame{0, 0, 8.5, 11}));
    ASSERT_EQ(h.enable(false), TWRC_SUCCESS);
    EXPECT_EQ(layout(MSG_SET, wanted), TWRC_FAILURE);
    EXPECT_EQ(h.condition(&h.source), TWCC_SEQERROR);
    EXPECT_EQ(layout(MSG_GET, got), TWRC_SUCCESS);
    EXPECT_EQ(h.toSource(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(h.condition(&h.source), TWCC_BADVALUE);
}

TEST_F(CapabilityTest, AStartingFrameLargerThanTheGlassIsClippedOnOpening) {
    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_CLOSEDS, &h.source), TWRC_SUCCESS);
    h.stub("Flatbed").mutableLimits().scanArea = Frame{0, 0, 8.27, 11.69};
    ASSERT_TRUE(h.openSource("Flatbed"));
    EXPECT_EQ(settings().frame, (Frame{0, 0, 8.27, 11}));
    TW_IMAGELAYOUT got{};
    ASSERT_EQ(layout(MSG_GETDEFAULT, got), TWRC_SUCCESS);
    EXPECT_NEAR(fromFix32(got.Frame.Right), 8.27, 1e-4);
}

} // namespace
