// The virtual scanner as the manager drives it: batches, pending counts, the feeder, the pages'
// size and type, and its window.
#include "dib.h"
#include "qt_support.h"
#include "source_factory.h"
#include "test_images.h"
#include "virtual_page.h"
#include "virtual_scanner.h"
#include "virtual_scanner_window.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace twaindsm;

namespace {

struct VirtualScannerTest : ::testing::Test {
    VirtualScanner scanner;
    std::vector<TW_UINT16> notices;
    TW_UINT16 condition = 0xFFFF;

    void SetUp() override { ASSERT_TRUE(scanner.open(condition)); }

    bool enable(bool showUI, HWND parent = nullptr) {
        return scanner.enable(
            showUI, parent, [this](TW_UINT16 n) { notices.push_back(n); }, condition);
    }

    ImageHandle transfer(TW_UINT16 expected = TWRC_XFERDONE) {
        TW_HANDLE page = nullptr;
        EXPECT_EQ(scanner.transfer(page, condition), expected);
        return ImageHandle(page);
    }

    // Transfers the whole batch, checking the pending count after each page: the pages left, or
    // "unknown" until the last one from a feeder that cannot count its sheets.
    std::vector<ImageHandle> transferAll(int expectedPages, bool countKnown = true) {
        std::vector<ImageHandle> pages;
        for (int left = expectedPages - 1; left >= 0; --left) {
            pages.push_back(transfer());
            EXPECT_EQ(scanner.pending(), countKnown || left == 0 ? left : kPagesUnknown);
        }
        return pages;
    }
};

bool samePicture(HGLOBAL a, HGLOBAL b) {
    const SIZE_T size = GlobalSize(a);
    if (size != GlobalSize(b)) {
        return false;
    }
    const void* pa = GlobalLock(a);
    const void* pb = GlobalLock(b);
    const bool same = std::memcmp(pa, pb, size) == 0;
    GlobalUnlock(a);
    GlobalUnlock(b);
    return same;
}

} // namespace

TEST(VirtualScannerIdentity, NamesLimitsAndDefaults) {
    auto source = makeVirtualScanner();
    const TW_IDENTITY id = source->identity();
    EXPECT_STREQ(id.ProductName, "Virtual Scanner");
    EXPECT_STREQ(id.Manufacturer, "Orvana");
    EXPECT_STREQ(id.ProductFamily, "Virtual");
    EXPECT_STREQ(id.Version.Info, "Orvana virtual scanner");
    EXPECT_EQ(id.Version.MajorNum, 1);
    EXPECT_EQ(id.ProtocolMajor, 1);
    EXPECT_EQ(id.ProtocolMinor, 9);
    const TW_UINT32 groups = id.SupportedGroups; // a copy: the record is packed
    EXPECT_EQ(groups, static_cast<TW_UINT32>(DG_CONTROL | DG_IMAGE));

    const SourceLimits& limits = source->limits();
    EXPECT_EQ(limits.pixelTypes.size(), 4u);
    EXPECT_EQ(limits.minResolution, 50);
    EXPECT_EQ(limits.maxResolution, 1200);
    EXPECT_EQ(limits.scanArea, (Frame{0, 0, 8.27, 11.69}));
    EXPECT_TRUE(limits.hasFeeder);
    EXPECT_EQ(source->settings().frame, limits.scanArea);
}

TEST_F(VirtualScannerTest, OpeningStartsFromTheDefaults) {
    scanner.settings().pixelType = TWPT_BW;
    scanner.settings().xferCount = 4;
    scanner.settings().frame = Frame{1, 1, 2, 2};
    ASSERT_TRUE(scanner.open(condition));
    EXPECT_EQ(scanner.settings().pixelType, TWPT_RGB);
    EXPECT_EQ(scanner.settings().xferCount, -1);
    EXPECT_EQ(scanner.settings().frame, scanner.limits().scanArea);
}

TEST_F(VirtualScannerTest, BatchSizeWithoutWindowFollowsTransferCountThenFeeder) {
    struct Case {
        int xferCount;
        bool feeder;
        int pages;
        bool countKnown = true;
    };
    for (const Case& c : {Case{-1, false, 1}, Case{-1, true, 5, false}, Case{3, false, 3},
                          Case{2, true, 2}, Case{7, true, 7}}) {
        SCOPED_TRACE(testing::Message() << c.xferCount << " " << c.feeder);
        scanner.settings().xferCount = c.xferCount;
        scanner.settings().feederEnabled = c.feeder;
        scanner.settings().frame = Frame{0, 0, 0.5, 0.5};
        notices.clear();
        ASSERT_TRUE(enable(false));
        EXPECT_EQ(notices, std::vector<TW_UINT16>{MSG_XFERREADY});
        transferAll(c.pages, c.countKnown);
        transfer(TWRC_FAILURE); // the batch is over
        EXPECT_EQ(condition, TWCC_SEQERROR);
        scanner.disable();
    }
}

TEST_F(VirtualScannerTest, FeederIsLoadedUntilTheLastSheetIsTaken) {
    scanner.settings().feederEnabled = true;
    scanner.settings().frame = Frame{0, 0, 0.2, 0.2};
    EXPECT_TRUE(scanner.feederLoaded());
    ASSERT_TRUE(enable(false));
    for (int i = 0; i < VirtualScanner::kFeederPages; ++i) {
        EXPECT_TRUE(scanner.feederLoaded());
        transfer();
    }
    EXPECT_FALSE(scanner.feederLoaded());
    EXPECT_EQ(scanner.pending(), 0);
    EXPECT_TRUE(scanner.feederLoaded()); // reloaded for the next batch
}

TEST_F(VirtualScannerTest, DiscardPendingEndsTheBatch) {
    scanner.settings().xferCount = 4;
    scanner.settings().frame = Frame{0, 0, 0.2, 0.2};
    ASSERT_TRUE(enable(false));
    transfer();
    EXPECT_EQ(scanner.pending(), 3);
    scanner.discardPending();
    EXPECT_EQ(scanner.pending(), 0);
    transfer(TWRC_FAILURE);
}

TEST_F(VirtualScannerTest, PageFollowsFrameResolutionAndPixelType) {
    ScanSettings& s = scanner.settings();
    s.frame = Frame{0.5, 1, 1.5, 3};
    s.xResolution = 100;
    s.yResolution = 50;
    s.pixelType = TWPT_PALETTE;
    ASSERT_TRUE(enable(false));
    ImageHandle page = transfer();
    ASSERT_TRUE(page);
    pelmix::DibView dib(page.get());
    ASSERT_TRUE(dib.valid());
    EXPECT_EQ(dib.width(), 100);
    EXPECT_EQ(dib.height(), 100);
    EXPECT_EQ(dib.bitCount(), 8);
    EXPECT_EQ(dib.colourCount(), 256u);
    EXPECT_EQ(dib.header().biXPelsPerMeter, 3937);
    EXPECT_EQ(dib.header().biYPelsPerMeter, 1969);
}

TEST_F(VirtualScannerTest, PageNumbersCountOnAndRestartWithTheNextEnable) {
    scanner.settings().xferCount = 2;
    scanner.settings().frame = Frame{0, 0, 1, 1};
    scanner.settings().pixelType = TWPT_GRAY;
    ASSERT_TRUE(enable(false));
    std::vector<ImageHandle> first = transferAll(2);
    scanner.disable();
    ASSERT_TRUE(enable(false));
    std::vector<ImageHandle> second = transferAll(2);
    EXPECT_FALSE(samePicture(first[0].get(), first[1].get()));
    EXPECT_TRUE(samePicture(first[0].get(), second[0].get()));
    EXPECT_TRUE(samePicture(first[1].get(), second[1].get()));
}

TEST_F(VirtualScannerTest, OversizedPageIsRefusedAndStillLeavesTheFeeder) {
    scanner.settings().xferCount = 2;
    scanner.settings().xResolution = 1e7; // beyond anything the manager would allow
    ASSERT_TRUE(enable(false));
    ImageHandle page = transfer(TWRC_FAILURE);
    EXPECT_FALSE(page);
    EXPECT_EQ(condition, TWCC_LOWMEMORY);
    EXPECT_EQ(scanner.pending(), 1); // so a caller looping on the pending count still finishes
    scanner.settings().xResolution = 1200;
    scanner.settings().yResolution = 1200; // A4 at 1200 dpi stays within the limits
    scanner.settings().frame = Frame{0, 0, 8.27, 0.01};
    EXPECT_TRUE(transfer());
}

// The window. One application serves every window test in this program.
struct VirtualScannerWindowTest : VirtualScannerTest {
    void SetUp() override {
        testApplication();
        VirtualScannerTest::SetUp();
        scanner.settings().frame = Frame{0, 0, 0.5, 0.5};
    }
    template <typename T> T* child(const char* name) {
        return scanner.window() ? scanner.window()->findChild<T*>(name) : nullptr;
    }
};

TEST_F(VirtualScannerWindowTest, ShowsItsControlsOverTheParentWithoutNotice) {
    QWidget parent;
    parent.show();
    ASSERT_TRUE(enable(true, reinterpret_cast<HWND>(parent.winId())));
    ASSERT_NE(scanner.window(), nullptr);
    EXPECT_TRUE(scanner.window()->isVisible());
    EXPECT_EQ(scanner.window()->parentWidget(), &parent);
    EXPECT_TRUE(notices.empty());
    QComboBox* types = child<QComboBox>("pixelTypeBox");
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 4);
    EXPECT_EQ(types->itemText(0), "白黒");
    EXPECT_EQ(types->itemText(3), "パレット");
    EXPECT_EQ(types->currentText(), "カラー"); // the negotiated type
    ASSERT_NE(child<QSpinBox>("pageCountBox"), nullptr);
    EXPECT_EQ(child<QSpinBox>("pageCountBox")->maximum(), 99);
    EXPECT_EQ(child<QPushButton>("scanButton")->text(), "スキャン(&S)");
    EXPECT_EQ(child<QPushButton>("closeButton")->text(), "閉じる(&C)");
    EXPECT_EQ(child<QPushButton>("scanButton")->window()->windowTitle(), "仮想スキャナー");
}

TEST_F(VirtualScannerWindowTest, ScanDeliversTheChosenTypeAndCountAndNumbersCountOn) {
    ASSERT_TRUE(enable(true));
    child<QComboBox>("pixelTypeBox")->setCurrentText("グレー");
    child<QSpinBox>("pageCountBox")->setValue(3);
    QTest::mouseClick(child<QPushButton>("scanButton"), Qt::LeftButton);
    EXPECT_EQ(notices, std::vector<TW_UINT16>{MSG_XFERREADY});
    EXPECT_EQ(scanner.settings().pixelType, TWPT_GRAY);
    EXPECT_EQ(scanner.settings().bitDepth, 8);
    for (const ImageHandle& page : transferAll(3)) {
        EXPECT_EQ(infoOf(page.get()).BIT_COUNT, 8);
    }
    // A second batch from the same window goes on with page 4.
    QTest::mouseClick(child<QPushButton>("scanButton"), Qt::LeftButton);
    ImageHandle fourth = transfer();
    VirtualPageRequest request;
    request.width = request.height = 75; // half an inch at the default 150 dpi
    request.pixelType = TWPT_GRAY;
    request.pageNumber = 4;
    ImageHandle expected(renderVirtualPage(request));
    EXPECT_TRUE(samePicture(fourth.get(), expected.get()));
}

TEST_F(VirtualScannerWindowTest, TransferCountCapsTheWindowsChoice) {
    scanner.settings().xferCount = 2;
    ASSERT_TRUE(enable(true));
    EXPECT_EQ(child<QSpinBox>("pageCountBox")->value(), 2);
    child<QSpinBox>("pageCountBox")->setValue(5);
    QTest::mouseClick(child<QPushButton>("scanButton"), Qt::LeftButton);
    transferAll(2);
}

TEST_F(VirtualScannerWindowTest, CloseAsksToCloseAndDisableRemovesTheWindow) {
    ASSERT_TRUE(enable(true));
    QTest::mouseClick(child<QPushButton>("closeButton"), Qt::LeftButton);
    EXPECT_EQ(notices, std::vector<TW_UINT16>{MSG_CLOSEDSREQ});
    QPointer<VirtualScannerWindow> window = scanner.window();
    scanner.disable();
    EXPECT_EQ(scanner.window(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());

    // Closing the window by its frame says the same.
    notices.clear();
    ASSERT_TRUE(enable(true));
    scanner.window()->close();
    EXPECT_EQ(notices, std::vector<TW_UINT16>{MSG_CLOSEDSREQ});
}

TEST_F(VirtualScannerWindowTest, DisablingFromInsideTheNoticeIsSafe) {
    ASSERT_TRUE(scanner.enable(
        true, nullptr, [this](TW_UINT16) { scanner.disable(); }, condition));
    QTest::mouseClick(child<QPushButton>("closeButton"), Qt::LeftButton);
    EXPECT_EQ(scanner.window(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
