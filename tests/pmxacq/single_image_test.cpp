// PelmixScan and PelmixScanEasy: one image handed back as a fresh, unlocked block, the record
// read back from the source, cancellation, and the negotiation of PelmixScanEasy.
#include "acquisition_fixture.h"

#include <algorithm>

namespace {

using namespace acqtest;
using fakedsm::Page;

class SingleImage : public Acquisition {
protected:
    void SetUp() override {
        Acquisition::SetUp();
        fake().setCap(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_GRAY);
        fake().setCapFix32(ICAP_XRESOLUTION, 150.5);
        TW_FRAME& f = fake().script.layout.Frame;
        f.Left = fix32(0.25);
        f.Top = fix32(0.5);
        f.Right = fix32(8.5);
        f.Bottom = fix32(11.75);
    }

    // The source delivers one batch once enabled and then waits.
    static void batch(int pages, const Page& page = Page()) {
        fake().script.notices = {MSG_XFERREADY};
        fake().addBatch(pages, page);
    }

    static ScanInfo easyInfo(int16_t pixelType) {
        ScanInfo info{};
        info.pixelType = pixelType;
        info.frameLeft = 0.5f;
        info.frameTop = -1.25f;
        info.frameRight = 8.0f;
        info.frameBottom = 11.0f;
        info.resolution = 300.0f;
        return info;
    }

    // The calls from opening the manager up to enabling the source.
    static std::vector<std::string> untilEnabled() {
        std::vector<std::string> names = fake().names();
        auto enabled = std::find(names.begin(), names.end(), "ENABLEDS");
        if (enabled != names.end()) {
            names.erase(enabled + 1, names.end());
        }
        return names;
    }
};

TEST_F(SingleImage, ScanHandsBackARepackedUnlockedCopy) {
    Page page;
    page.extraLocks = 3;
    batch(1, page);
    ScanInfo info{};
    HGLOBAL image = PelmixScan(window(), &info);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(fake().imagesHandedOut.size(), 1u);
    const HGLOBAL sourceBlock = fake().imagesHandedOut[0];
    EXPECT_NE(image, sourceBlock);
    EXPECT_TRUE(freed(sourceBlock)) << "the source's block is released after the copy";
    EXPECT_EQ(GlobalFlags(image) & GMEM_LOCKCOUNT, 0u);
    EXPECT_EQ(blockBytes(image), repacked(page, 1));

    EXPECT_EQ(info.result, PMXACQ_OK);
    EXPECT_EQ(info.pixelType, PMXACQ_GRAY);
    EXPECT_FLOAT_EQ(info.resolution, 150.5f);
    EXPECT_FLOAT_EQ(info.frameLeft, 0.25f);
    EXPECT_FLOAT_EQ(info.frameTop, 0.5f);
    EXPECT_FLOAT_EQ(info.frameRight, 8.5f);
    EXPECT_FLOAT_EQ(info.frameBottom, 11.75f);
    GlobalFree(image);
}

TEST_F(SingleImage, ScanConversationAndUserInterface) {
    batch(1);
    ScanInfo info{};
    HGLOBAL image = PelmixScan(window(), &info);
    GlobalFree(image);
    const std::vector<std::string> expected = {"OPENDSM",
                                               "GETDEFAULT",
                                               "OPENDS",
                                               "GETCURRENT ICAP_UNITS",
                                               "SET CAP_XFERCOUNT",
                                               "ENABLEDS",
                                               "XFER",
                                               "ENDXFER",
                                               "GETCURRENT ICAP_PIXELTYPE",
                                               "GETCURRENT ICAP_XRESOLUTION",
                                               "GET FRAME",
                                               "DISABLEDS",
                                               "CLOSEDS",
                                               "CLOSEDSM"};
    EXPECT_EQ(fake().names(), expected);
    for (const fakedsm::Call& call : fake().calls) {
        if (call.msg == MSG_ENABLEDS) {
            EXPECT_EQ(call.showUI, 1);
            EXPECT_EQ(call.modalUI, 1);
            EXPECT_EQ(call.hParent, window());
            EXPECT_EQ(call.dest, "Fake Scanner");
        }
        if (call.msg == MSG_DISABLEDS) {
            EXPECT_EQ(call.showUI, 255);
        }
        if (call.dat == DAT_CAPABILITY && call.msg != MSG_SET) {
            EXPECT_FALSE(call.hasContainer) << "gets are issued with a null container";
        }
    }
    const fakedsm::Call* count = fake().lastSet(CAP_XFERCOUNT);
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->conType, TWON_ONEVALUE);
    EXPECT_EQ(count->itemType, TWTY_UINT16);
    EXPECT_EQ(count->item & 0xFFFF, 1u);
    for (HGLOBAL container : fake().containersHandedOut) {
        EXPECT_TRUE(freed(container)) << "containers of gets are freed";
    }
    for (const fakedsm::Call* set : fake().capabilityCalls()) {
        EXPECT_TRUE(freed(set->container)) << "containers of sets are freed";
    }
    expectAllClosed();
}

struct Layout {
    int width;
    int bitCount;
};

class Repacking : public SingleImage, public ::testing::WithParamInterface<Layout> {};

TEST_P(Repacking, KeepsColourTableAndPaddedRows) {
    Page page;
    page.width = GetParam().width;
    page.height = 4;
    page.bitCount = GetParam().bitCount;
    page.extraLocks = 1;
    batch(1, page);
    ScanInfo info{};
    HGLOBAL image = PelmixScan(window(), &info);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(blockBytes(image), repacked(page, 1));
    EXPECT_EQ(GlobalFlags(image) & GMEM_LOCKCOUNT, 0u);
    GlobalFree(image);
}

INSTANTIATE_TEST_SUITE_P(Depths, Repacking,
                         ::testing::Values(Layout{13, 1}, Layout{7, 8}, Layout{5, 24},
                                           Layout{33, 1}));

TEST_F(SingleImage, KeepsTheLastImageOfABatchAndReleasesTheOthers) {
    batch(3);
    ScanInfo info{};
    HGLOBAL image = PelmixScan(window(), &info);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(blockBytes(image), repacked(Page(), 3));
    EXPECT_EQ(fake().count(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET), 3u);
    for (HGLOBAL block : fake().imagesHandedOut) {
        EXPECT_TRUE(freed(block));
    }
    GlobalFree(image);
}

TEST_F(SingleImage, SourceClosedBeforeAnyTransferGivesNoImageAndResultZero) {
    for (auto scan : {&PelmixScan, &PelmixScanEasy}) {
        restart();
        fake().script.notices = {MSG_CLOSEDSREQ};
        ScanInfo info = easyInfo(PMXACQ_RGB);
        info.result = 9;
        const ScanInfo easy = info;
        EXPECT_EQ(scan(window(), &info), nullptr);
        EXPECT_EQ(info.result, PMXACQ_OK);
        if (scan == &PelmixScan) {
            EXPECT_EQ(info.pixelType, 0) << "the record is zero-filled";
            EXPECT_EQ(info.resolution, 0.0f);
            EXPECT_EQ(info.frameRight, 0.0f);
        } else {
            const fakedsm::Call* set = fake().lastSet(ICAP_PIXELTYPE);
            ASSERT_NE(set, nullptr);
            EXPECT_EQ(set->item & 0xFFFF, static_cast<TW_UINT32>(easy.pixelType));
        }
        EXPECT_EQ(fake().count(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET), 0u);
        EXPECT_EQ(fake().lifecycle(), fullLifecycle());
        expectAllClosed();
    }
}

TEST_F(SingleImage, CancelGivesResultFiveAndDoesNotCarryOver) {
    Page cancelled;
    cancelled.result = TWRC_CANCEL;
    batch(1, cancelled);
    ScanInfo info{};
    EXPECT_EQ(PelmixScan(window(), &info), nullptr);
    EXPECT_EQ(info.result, PMXACQ_CANCELLED);
    EXPECT_EQ(fake().count(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER), 1u)
        << "a cancelled transfer is ended too";
    EXPECT_EQ(fake().lifecycle(), fullLifecycle());

    restart();
    batch(1);
    info = ScanInfo{};
    HGLOBAL image = PelmixScan(window(), &info);
    EXPECT_NE(image, nullptr);
    EXPECT_EQ(info.result, PMXACQ_OK);
    GlobalFree(image);

    restart();
    ScanInfo easy = easyInfo(PMXACQ_GRAY);
    batch(1, cancelled);
    EXPECT_EQ(PelmixScanEasy(window(), &easy), nullptr);
    EXPECT_EQ(easy.result, PMXACQ_CANCELLED);
    restart();
    fake().script.notices = {MSG_CLOSEDSREQ};
    easy = easyInfo(PMXACQ_GRAY);
    EXPECT_EQ(PelmixScanEasy(window(), &easy), nullptr);
    EXPECT_EQ(easy.result, PMXACQ_OK);
}

TEST_F(SingleImage, UnreadableResolutionIsLeftZero) {
    fake().failCap(MSG_GETCURRENT, ICAP_XRESOLUTION, TWCC_BADCAP);
    batch(1);
    ScanInfo info{};
    HGLOBAL image = PelmixScan(window(), &info);
    EXPECT_NE(image, nullptr);
    EXPECT_EQ(info.resolution, 0.0f);
    EXPECT_EQ(info.pixelType, PMXACQ_GRAY);
    EXPECT_FLOAT_EQ(info.frameBottom, 11.75f);
    GlobalFree(image);
}

class EasyNegotiation : public SingleImage, public ::testing::WithParamInterface<int16_t> {};

TEST_P(EasyNegotiation, SetsTheRecordsSettingsInOrderWithoutUserInterface) {
    const int16_t type = GetParam();
    batch(1);
    ScanInfo info = easyInfo(type);
    HGLOBAL image = PelmixScanEasy(window(), &info);
    ASSERT_NE(image, nullptr);
    GlobalFree(image);

    std::vector<std::string> expected = {"OPENDSM",
                                         "GETDEFAULT",
                                         "OPENDS",
                                         "GETCURRENT ICAP_UNITS",
                                         "SET CAP_XFERCOUNT",
                                         "SET ICAP_AUTOBRIGHT",
                                         "SET ICAP_PIXELTYPE"};
    if (type == PMXACQ_GRAY || type == PMXACQ_PALETTE) {
        expected.push_back("SET ICAP_BITDEPTH");
    }
    for (const char* name : {"SET ICAP_UNITS", "SET ICAP_XRESOLUTION", "SET ICAP_YRESOLUTION",
                             "SET FRAME", "ENABLEDS"}) {
        expected.push_back(name);
    }
    EXPECT_EQ(untilEnabled(), expected);

    const auto check = [](TW_UINT16 cap, TW_UINT16 itemType, TW_UINT32 low16) {
        const fakedsm::Call* set = fake().lastSet(cap);
        ASSERT_NE(set, nullptr) << cap;
        EXPECT_EQ(set->conType, TWON_ONEVALUE) << cap;
        EXPECT_EQ(set->itemType, itemType) << cap;
        EXPECT_EQ(set->item & 0xFFFF, low16) << cap;
    };
    check(ICAP_AUTOBRIGHT, TWTY_BOOL, 1);
    check(ICAP_PIXELTYPE, TWTY_UINT16, static_cast<TW_UINT32>(type));
    if (type == PMXACQ_GRAY || type == PMXACQ_PALETTE) {
        check(ICAP_BITDEPTH, TWTY_UINT16, 8);
    }
    check(ICAP_UNITS, TWTY_UINT16, TWUN_INCHES);
    for (TW_UINT16 cap : {ICAP_XRESOLUTION, ICAP_YRESOLUTION}) {
        const fakedsm::Call* set = fake().lastSet(cap);
        ASSERT_NE(set, nullptr);
        EXPECT_EQ(set->itemType, TWTY_FIX32);
        EXPECT_EQ(itemAsFix32(*set).Whole, 300);
        EXPECT_EQ(itemAsFix32(*set).Frac, 0);
    }
    const auto frame = std::find_if(fake().calls.begin(), fake().calls.end(), [](const auto& c) {
        return c.dat == DAT_IMAGELAYOUT && c.msg == MSG_SET;
    });
    ASSERT_NE(frame, fake().calls.end());
    EXPECT_EQ(frame->layout.Frame.Left.Whole, 0);
    EXPECT_EQ(frame->layout.Frame.Left.Frac, 0x8000);
    EXPECT_EQ(frame->layout.Frame.Top.Whole, -2);
    EXPECT_EQ(frame->layout.Frame.Top.Frac, 0xC001) << "(x * 65536 + 0.5) truncated";
    EXPECT_EQ(frame->layout.Frame.Right.Whole, 8);
    EXPECT_EQ(frame->layout.Frame.Bottom.Whole, 11);
    EXPECT_EQ(frame->layout.Frame.Bottom.Frac, 0);
    EXPECT_EQ(frame->layout.DocumentNumber, 0u);
    EXPECT_EQ(frame->layout.PageNumber, 0u);
    EXPECT_EQ(frame->layout.FrameNumber, 0u);

    for (const fakedsm::Call& call : fake().calls) {
        if (call.msg == MSG_ENABLEDS) {
            EXPECT_EQ(call.showUI, 0);
            EXPECT_EQ(call.modalUI, 1);
            EXPECT_EQ(call.hParent, window());
        }
    }
    EXPECT_EQ(info.result, PMXACQ_OK);
    EXPECT_EQ(info.pixelType, PMXACQ_GRAY) << "read back from the source";
}

INSTANTIATE_TEST_SUITE_P(PixelTypes, EasyNegotiation,
                         ::testing::Values(PMXACQ_BW, PMXACQ_GRAY, PMXACQ_RGB, PMXACQ_PALETTE));

TEST_F(SingleImage, EasyIgnoresRefusedBrightnessAndDepth) {
    fake().failCap(MSG_SET, ICAP_AUTOBRIGHT, TWCC_BADCAP);
    fake().failCap(MSG_SET, ICAP_BITDEPTH, TWCC_BADVALUE);
    batch(1);
    ScanInfo info = easyInfo(PMXACQ_GRAY);
    HGLOBAL image = PelmixScanEasy(window(), &info);
    EXPECT_NE(image, nullptr);
    EXPECT_EQ(info.result, PMXACQ_OK);
    EXPECT_NE(fake().lastSet(ICAP_YRESOLUTION), nullptr);
    GlobalFree(image);
}

struct CheckedSetting {
    TW_UINT16 cap; // 0: the frame
    TW_UINT16 condition;
    int32_t result;
};

class EasyRefusal : public SingleImage, public ::testing::WithParamInterface<CheckedSetting> {};

TEST_P(EasyRefusal, StopsAtTheFirstRefusedSettingWithTheSourcesCondition) {
    const CheckedSetting s = GetParam();
    if (s.cap == 0) {
        fake().fail(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, s.condition);
    } else {
        fake().failCap(MSG_SET, s.cap, s.condition);
    }
    batch(1);
    ScanInfo info = easyInfo(PMXACQ_RGB);
    EXPECT_EQ(PelmixScanEasy(window(), &info), nullptr);
    EXPECT_EQ(info.result, s.result);
    EXPECT_EQ(fake().lifecycle(),
              (std::vector<std::string>{"OPENDSM", "OPENDS", "CLOSEDS", "CLOSEDSM"}));
    // Nothing is negotiated after the refused setting.
    const std::vector<std::string> names = fake().names();
    const auto status = std::find(names.begin(), names.end(), "STATUS source");
    ASSERT_NE(status, names.end());
    for (auto it = status; it != names.end(); ++it) {
        EXPECT_EQ(it->rfind("SET", 0), std::string::npos) << *it;
    }
    expectAllClosed();
}

INSTANTIATE_TEST_SUITE_P(Settings, EasyRefusal,
                         ::testing::Values(CheckedSetting{ICAP_PIXELTYPE, TWCC_BADVALUE, 3},
                                           CheckedSetting{ICAP_UNITS, TWCC_BADCAP, 2},
                                           CheckedSetting{ICAP_XRESOLUTION, TWCC_LOWMEMORY, 1},
                                           CheckedSetting{ICAP_YRESOLUTION, TWCC_OPERATIONERROR, 4},
                                           CheckedSetting{0, TWCC_BADVALUE, 3}));

} // namespace
