// SANE sources as the manager drives them, in a process without an application object: found by
// discovery, opened, enabled without a window, pages transferred until the batch is over.
#include "sane_device.h"
#include "sane_library.h"
#include "sane_source.h"
#include "sane_test_config.h"
#include "source_factory.h"
#include "test_images.h"

#include <QCoreApplication>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <set>

using namespace twaindsm;

namespace {

std::unique_ptr<Source> sourceFor(const char* deviceName) {
    for (auto& source : discoverSaneSources()) {
        if (std::strstr(source->identity().ProductName, deviceName) != nullptr) {
            return std::move(source);
        }
    }
    return nullptr;
}

class SaneSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kSaneTestConfig.complete());
        ASSERT_EQ(QCoreApplication::instance(), nullptr);
        source_ = sourceFor("(test:0)");
        ASSERT_NE(source_, nullptr);
        TW_UINT16 condition = 0;
        ASSERT_TRUE(source_->open(condition));
        ScanSettings& s = source_->settings();
        s.xResolution = s.yResolution = 100;
        s.frame = Frame{0, 0, 1, 1};
    }
    void TearDown() override {
        if (source_) {
            source_->close();
        }
    }

    // Enables without a window and transfers the whole batch as the acquisition library does.
    std::vector<ImageHandle> scanBatch() {
        TW_UINT16 condition = 0;
        notices_.clear();
        EXPECT_TRUE(source_->enable(false, nullptr, sink(), condition));
        EXPECT_EQ(notices_, std::vector<TW_UINT16>{MSG_XFERREADY});
        std::vector<ImageHandle> pages;
        counts_.clear();
        do {
            TW_HANDLE page = nullptr;
            const TW_UINT16 rc = source_->transfer(page, condition);
            EXPECT_EQ(rc, TWRC_XFERDONE);
            if (rc != TWRC_XFERDONE) {
                break;
            }
            pages.emplace_back(page);
            counts_.push_back(source_->pending());
        } while (counts_.back() != 0 && pages.size() < 50);
        source_->disable();
        return pages;
    }

    NoticeSink sink() {
        return [this](TW_UINT16 notice) { notices_.push_back(notice); };
    }

    std::unique_ptr<Source> source_;
    std::vector<TW_UINT16> notices_;
    std::vector<TW_UINT16> counts_; // pending() after each page of the last scanBatch()
};

} // namespace

TEST(SaneDiscovery, OneSourcePerTestDeviceWithTheDevicesLimits) {
    ASSERT_TRUE(kSaneTestConfig.complete());
    const auto sources = discoverSaneSources();
    ASSERT_EQ(sources.size(), 2u);
    const TW_IDENTITY first = sources[0]->identity();
    EXPECT_STREQ(first.ProductName, "Noname frontend-tester (test:0)");
    EXPECT_STREQ(first.Manufacturer, "Noname");
    EXPECT_STREQ(first.ProductFamily, "virtual device");
    const TW_UINT32 groups = first.SupportedGroups; // a packed field: copied before comparing
    EXPECT_EQ(groups, static_cast<TW_UINT32>(DG_CONTROL | DG_IMAGE));
    EXPECT_STREQ(sources[1]->identity().ProductName, "Noname frontend-tester (test:1)");

    const SourceLimits& limits = sources[0]->limits();
    EXPECT_EQ(limits.pixelTypes, (std::vector<TW_UINT16>{TWPT_BW, TWPT_GRAY, TWPT_RGB}));
    EXPECT_EQ(limits.minResolution, 1);
    EXPECT_EQ(limits.maxResolution, 1200);
    EXPECT_NEAR(limits.scanArea.right, 200 / 25.4, 1e-9);
    EXPECT_TRUE(limits.hasFeeder);
    EXPECT_TRUE(sources[0]->feederLoaded());
    // Fresh settings fit the device: the default letter frame is cut to its area.
    EXPECT_NEAR(sources[0]->settings().frame.bottom, 200 / 25.4, 1e-9);
}

// The chooser shows the whole name; the remembered ProductName fits TWAIN's 33 bytes, stays the
// same from one search to the next, and no two devices share one.
TEST(SaneDiscovery, NamesAreWholeForTheUserAndShortAndDistinctForTheStoredChoice) {
    using Info = SaneSource::DeviceInfo;
    struct Case {
        Info info;
        const char* display;
        const char* product; // nullptr: a digest form, checked below
    };
    const Case cases[] = {
        {{"test:0", "Noname", "frontend-tester", "t"},
         "Noname frontend-tester (test:0)",
         "Noname frontend-tester (test:0)"},
        {{"genesys:libusb:001:004", "Canon", "LiDE 220 flatbed", ""},
         "Canon LiDE 220 flatbed (genesys:libusb:001:004)",
         "Canon Li (genesys:libusb:001:004)"},
        {{"v4l:/dev/video0", "", "", ""}, "v4l:/dev/video0", "v4l:/dev/video0"},
        {{"net:127.0.0.47:test:0", "Noname", "frontend-tester", ""},
         "Noname frontend-tester (test:0) on 127.0.0.47",
         "net:127.0.0.47:test:0"},
        {{"net:[::1]:test:1", "Noname", "frontend-tester", ""},
         "Noname frontend-tester (test:1) on ::1",
         "net:[::1]:test:1"},
        {{"net:scan.local:hp:x", "HP", "X", ""},
         "HP X (hp:x) on scan.local",
         "HP X (hp:x) on scan.local"},
        {{"escl:http://192.168.1.5:80", "HP", "LaserJet MFP M28w", ""},
         "HP LaserJet MFP M28w on 192.168.1.5",
         "escl:http://192.168.1.5:80"},
        {{"net:192.168.100.200:airscan:e0:Brother", "B", "M", ""},
         "B M (airscan:e0:Brother) on 192.168.100.200",
         nullptr},
        {{"net:192.168.100.200:airscan:e0:Brother2", "B", "M", ""},
         "B M (airscan:e0:Brother2) on 192.168.100.200",
         nullptr},
    };
    std::set<std::string> products;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.info.name);
        EXPECT_EQ(SaneSource::displayName(c.info), c.display);
        const std::string product = SaneSource::productName(c.info);
        EXPECT_LE(product.size(), 33u);
        EXPECT_EQ(product, SaneSource::productName(c.info));
        if (c.product != nullptr) {
            EXPECT_EQ(product, c.product);
        } else {
            EXPECT_EQ(product.size(), 33u);
            EXPECT_EQ(product.substr(0, 26), c.info.name.substr(0, 26));
        }
        products.insert(product);
    }
    EXPECT_EQ(products.size(), std::size(cases));
}

TEST(SaneDiscovery, ABusyDeviceCannotBeOpenedTwice) {
    auto library = SaneLibrary::acquire();
    ASSERT_NE(library, nullptr);
    SANE_Status status = SANE_STATUS_GOOD;
    auto holder = SaneDevice::open("test:1", status);
    ASSERT_NE(holder, nullptr);
    auto source = sourceFor("(test:1)");
    ASSERT_NE(source, nullptr);
    TW_UINT16 condition = 0;
    EXPECT_FALSE(source->open(condition));
    EXPECT_EQ(condition, TWCC_MAXCONNECTIONS);
    holder.reset();
    EXPECT_TRUE(source->open(condition));
    source->close();
}

TEST_F(SaneSourceTest, FeederDeliversTenPagesThenTheBatchIsOver) {
    source_->settings().pixelType = TWPT_GRAY;
    source_->settings().feederEnabled = true;
    const auto pages = scanBatch();
    EXPECT_EQ(pages.size(), 10u);
    EXPECT_FALSE(source_->feederLoaded());
    // Until the device has found the feeder empty it cannot tell how many pages are left;
    // afterwards the count is exact. Pages read ahead are never taken for pages left.
    for (size_t i = 0; i < counts_.size(); ++i) {
        const TW_UINT16 left = static_cast<TW_UINT16>(pages.size() - 1 - i);
        EXPECT_TRUE(counts_[i] == kPagesUnknown || counts_[i] == left) << i << ": " << counts_[i];
    }
    for (const ImageHandle& page : pages) {
        EXPECT_EQ(infoOf(page.get()).BIT_COUNT, 8);
    }

    // The application's page count ends the next batch early; then nothing is pending and a
    // further transfer fails.
    source_->settings().xferCount = 2;
    TW_UINT16 condition = 0;
    ASSERT_TRUE(source_->enable(false, nullptr, sink(), condition));
    EXPECT_TRUE(source_->feederLoaded());
    TW_HANDLE page = nullptr;
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(source_->transfer(page, condition), TWRC_XFERDONE);
        ImageHandle owned(page);
        EXPECT_EQ(source_->pending(), i == 0 ? 1 : 0);
    }
    EXPECT_EQ(source_->transfer(page, condition), TWRC_FAILURE);
    EXPECT_EQ(condition, TWCC_OPERATIONERROR);
    EXPECT_EQ(page, nullptr);
    source_->disable();
}

TEST_F(SaneSourceTest, FlatbedGivesOnePageOfTheNegotiatedType) {
    // One inch is 25 mm on this device: 98 pixels at 100 dpi.
    const struct {
        TW_UINT16 type;
        int bits;
    } cases[] = {{TWPT_BW, 1}, {TWPT_GRAY, 8}, {TWPT_RGB, 24}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        source_->settings().pixelType = c.type;
        const auto pages = scanBatch();
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_EQ(infoOf(pages[0].get()).WIDTH, 98);
        EXPECT_EQ(infoOf(pages[0].get()).HEIGHT, 98);
        EXPECT_EQ(infoOf(pages[0].get()).BIT_COUNT, c.bits);
        EXPECT_EQ(source_->pending(), 0);
    }
    // The frame the device settled on is what the application reads back.
    EXPECT_NEAR(source_->settings().frame.right, 25 / 25.4, 1e-9);
}

TEST_F(SaneSourceTest, TransfersWithoutABatchOrAfterItFailCleanly) {
    TW_HANDLE page = nullptr;
    TW_UINT16 condition = 0;
    EXPECT_EQ(source_->transfer(page, condition), TWRC_FAILURE);
    EXPECT_EQ(condition, TWCC_SEQERROR);
    EXPECT_EQ(source_->pending(), 0);
    // Without an application object there is no window to show.
    EXPECT_FALSE(source_->enable(true, nullptr, sink(), condition));
    EXPECT_EQ(condition, TWCC_OPERATIONERROR);
    EXPECT_TRUE(notices_.empty());

    source_->settings().pixelType = TWPT_PALETTE; // the device has no palette mode
    EXPECT_FALSE(source_->enable(false, nullptr, sink(), condition));
    EXPECT_EQ(condition, TWCC_OPERATIONERROR);
}

TEST_F(SaneSourceTest, ResetAndDisableEndABatchAtOnce) {
    source_->settings().pixelType = TWPT_GRAY;
    source_->settings().feederEnabled = true;
    TW_UINT16 condition = 0;
    ASSERT_TRUE(source_->enable(false, nullptr, sink(), condition));
    TW_HANDLE page = nullptr;
    ASSERT_EQ(source_->transfer(page, condition), TWRC_XFERDONE);
    ImageHandle owned(page);
    source_->discardPending();
    EXPECT_EQ(source_->pending(), 0);
    EXPECT_EQ(source_->transfer(page, condition), TWRC_FAILURE);
    source_->disable();

    const auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(source_->enable(false, nullptr, sink(), condition));
    source_->disable();
    source_->close();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    // Closed: enabling needs the device opened again.
    EXPECT_FALSE(source_->enable(false, nullptr, sink(), condition));
    EXPECT_EQ(condition, TWCC_SEQERROR);
}
