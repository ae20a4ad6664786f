// Options of SANE's test device read and set by name, and the profile drawn from them.
#include "sane_device.h"
#include "sane_device_profile.h"
#include "sane_library.h"
#include "sane_test_config.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sane/saneopts.h>

using twaindsm::SaneDevice;
using twaindsm::SaneDeviceProfile;
using twaindsm::SaneLibrary;

namespace {

class SaneDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kSaneTestConfig.complete());
        library_ = SaneLibrary::acquire();
        ASSERT_NE(library_, nullptr);
        SANE_Status status = SANE_STATUS_GOOD;
        device_ = SaneDevice::open("test:0", status);
        ASSERT_NE(device_, nullptr) << "SANE status " << status;
    }
    void TearDown() override {
        device_.reset();
        library_.reset();
    }

    std::shared_ptr<SaneLibrary> library_;
    std::unique_ptr<SaneDevice> device_;
};

} // namespace

TEST_F(SaneDeviceTest, FindsOptionsByNameAndSkipsInactiveOnes) {
    EXPECT_TRUE(device_->has(SANE_NAME_SCAN_MODE));
    EXPECT_TRUE(device_->has(SANE_NAME_SCAN_RESOLUTION));
    EXPECT_FALSE(device_->has("no-such-option"));
    // Three-pass belongs to colour mode only: inactive while the device scans grey.
    ASSERT_TRUE(device_->setString(SANE_NAME_SCAN_MODE, "Gray"));
    EXPECT_FALSE(device_->has("three-pass"));
    ASSERT_TRUE(device_->setString(SANE_NAME_SCAN_MODE, "Color"));
    EXPECT_TRUE(device_->has("three-pass"));

    EXPECT_EQ(device_->stringList(SANE_NAME_SCAN_SOURCE),
              (std::vector<std::string>{"Flatbed", "Automatic Document Feeder"}));
    EXPECT_EQ(device_->wordList(SANE_NAME_BIT_DEPTH), (std::vector<double>{1, 8, 16}));
    double lo = 0, hi = 0;
    ASSERT_TRUE(device_->numericBounds(SANE_NAME_SCAN_RESOLUTION, lo, hi));
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 1200);
    ASSERT_TRUE(device_->numericBounds(SANE_NAME_BIT_DEPTH, lo, hi));
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 16);
    EXPECT_TRUE(device_->stringList(SANE_NAME_SCAN_RESOLUTION).empty());
    EXPECT_TRUE(device_->wordList(SANE_NAME_SCAN_MODE).empty());
}

TEST_F(SaneDeviceTest, StringOptionsTakeListEntriesIgnoringCase) {
    ASSERT_TRUE(device_->setString(SANE_NAME_SCAN_SOURCE, "automatic document feeder"));
    std::string value;
    ASSERT_TRUE(device_->getString(SANE_NAME_SCAN_SOURCE, value));
    EXPECT_EQ(value, "Automatic Document Feeder");
    EXPECT_FALSE(device_->setString(SANE_NAME_SCAN_SOURCE, "Transparency"));
    EXPECT_FALSE(device_->setString(SANE_NAME_SCAN_SOURCE, ""));
    EXPECT_FALSE(device_->setString(SANE_NAME_SCAN_RESOLUTION, "100"));
    ASSERT_TRUE(device_->getString(SANE_NAME_SCAN_SOURCE, value));
    EXPECT_EQ(value, "Automatic Document Feeder");
}

TEST_F(SaneDeviceTest, NumbersAreBroughtIntoTheOptionsConstraint) {
    // Fixed-point geometry in whole millimetres: 25.4 mm becomes 25.
    double actual = 0;
    ASSERT_TRUE(device_->setNumber(SANE_NAME_SCAN_BR_X, 25.4, &actual));
    EXPECT_EQ(actual, 25);
    double read = 0;
    ASSERT_TRUE(device_->getNumber(SANE_NAME_SCAN_BR_X, read));
    EXPECT_EQ(read, 25);
    // Beyond the range: the limit.
    ASSERT_TRUE(device_->setNumber(SANE_NAME_SCAN_BR_Y, 5000, &actual));
    EXPECT_EQ(actual, 200);
    ASSERT_TRUE(device_->setNumber(SANE_NAME_SCAN_TL_X, -3, &actual));
    EXPECT_EQ(actual, 0);
    // A word list: the nearest entry.
    ASSERT_TRUE(device_->setNumber(SANE_NAME_BIT_DEPTH, 13, &actual));
    EXPECT_EQ(actual, 16);
    ASSERT_TRUE(device_->setNumber(SANE_NAME_SCAN_RESOLUTION, 99.6, &actual));
    EXPECT_EQ(actual, 100);
    EXPECT_FALSE(device_->setNumber(SANE_NAME_SCAN_RESOLUTION, std::nan(""), &actual));
    EXPECT_FALSE(device_->setNumber(SANE_NAME_SCAN_MODE, 1));
    EXPECT_FALSE(device_->setNumber("no-such-option", 1));
    EXPECT_TRUE(device_->setBool("read-limit", false));
    EXPECT_FALSE(device_->setBool(SANE_NAME_SCAN_RESOLUTION, true));
}

TEST_F(SaneDeviceTest, ProfileOfTheTestDevice) {
    const SaneDeviceProfile profile = SaneDeviceProfile::read(*device_);
    const twaindsm::SourceLimits& limits = profile.limits();
    // Gray and Color modes with depths 1, 8 and 16: black and white is grey at one bit.
    EXPECT_EQ(limits.pixelTypes, (std::vector<TW_UINT16>{TWPT_BW, TWPT_GRAY, TWPT_RGB}));
    EXPECT_EQ(limits.minResolution, 1);
    EXPECT_EQ(limits.maxResolution, 1200);
    EXPECT_NEAR(limits.scanArea.right, 200 / 25.4, 1e-9);
    EXPECT_NEAR(limits.scanArea.bottom, 200 / 25.4, 1e-9);
    EXPECT_TRUE(limits.hasFeeder);
}

TEST_F(SaneDeviceTest, ApplyMapsPixelTypeSourceResolutionAndFrame) {
    const SaneDeviceProfile profile = SaneDeviceProfile::read(*device_);
    twaindsm::ScanSettings settings;
    settings.pixelType = TWPT_BW;
    settings.xResolution = settings.yResolution = 100;
    settings.frame = {0.5, 0.25, 1.5, 1.25};
    settings.feederEnabled = true;
    ASSERT_TRUE(profile.apply(*device_, settings));
    std::string text;
    double value = 0;
    ASSERT_TRUE(device_->getString(SANE_NAME_SCAN_MODE, text));
    EXPECT_EQ(text, "Gray");
    ASSERT_TRUE(device_->getNumber(SANE_NAME_BIT_DEPTH, value));
    EXPECT_EQ(value, 1);
    ASSERT_TRUE(device_->getString(SANE_NAME_SCAN_SOURCE, text));
    EXPECT_EQ(text, "Automatic Document Feeder");
    ASSERT_TRUE(device_->getNumber(SANE_NAME_SCAN_RESOLUTION, value));
    EXPECT_EQ(value, 100);
    // Inches to whole millimetres, and the settled edges written back.
    ASSERT_TRUE(device_->getNumber(SANE_NAME_SCAN_TL_X, value));
    EXPECT_EQ(value, 13);
    ASSERT_TRUE(device_->getNumber(SANE_NAME_SCAN_BR_Y, value));
    EXPECT_EQ(value, 32);
    EXPECT_NEAR(settings.frame.left, 13 / 25.4, 1e-9);
    EXPECT_NEAR(settings.frame.bottom, 32 / 25.4, 1e-9);

    settings.pixelType = TWPT_RGB;
    settings.feederEnabled = false;
    settings.xResolution = 2400; // beyond the device: its maximum
    ASSERT_TRUE(profile.apply(*device_, settings));
    ASSERT_TRUE(device_->getString(SANE_NAME_SCAN_MODE, text));
    EXPECT_EQ(text, "Color");
    ASSERT_TRUE(device_->getNumber(SANE_NAME_BIT_DEPTH, value));
    EXPECT_EQ(value, 8);
    ASSERT_TRUE(device_->getString(SANE_NAME_SCAN_SOURCE, text));
    EXPECT_EQ(text, "Flatbed");
    EXPECT_EQ(settings.xResolution, 1200);
    EXPECT_EQ(settings.yResolution, 1200);

    settings.pixelType = TWPT_PALETTE; // not offered
    EXPECT_FALSE(profile.apply(*device_, settings));
}

TEST(SaneDeviceProfileNames, ClassifiesTheWaysBackendsNameModesAndSources) {
    using Kind = SaneDeviceProfile::ModeKind;
    EXPECT_EQ(SaneDeviceProfile::modeKind("Lineart"), Kind::Lineart);
    EXPECT_EQ(SaneDeviceProfile::modeKind("Binary"), Kind::Lineart);
    EXPECT_EQ(SaneDeviceProfile::modeKind("Black & White"), Kind::Lineart);
    EXPECT_EQ(SaneDeviceProfile::modeKind("Gray"), Kind::Gray);
    EXPECT_EQ(SaneDeviceProfile::modeKind("True Grey"), Kind::Gray);
    EXPECT_EQ(SaneDeviceProfile::modeKind("24bit Color"), Kind::Color);
    EXPECT_EQ(SaneDeviceProfile::modeKind("Halftone"), Kind::Other);
    EXPECT_TRUE(SaneDeviceProfile::feederEntry("ADF Duplex"));
    EXPECT_TRUE(SaneDeviceProfile::feederEntry("Automatic Document Feeder"));
    EXPECT_TRUE(SaneDeviceProfile::feederEntry("Document Feeder"));
    EXPECT_FALSE(SaneDeviceProfile::feederEntry("Flatbed"));
    EXPECT_FALSE(SaneDeviceProfile::feederEntry("Transparency Adapter"));
    EXPECT_TRUE(SaneDeviceProfile::flatbedEntry("Flatbed"));
    // TWAIN's -1000..1000 onto a device's -100..100, and a threshold onto 0..100 percent.
    EXPECT_EQ(SaneDeviceProfile::rescale(0, -1000, 1000, -100, 100), 0);
    EXPECT_EQ(SaneDeviceProfile::rescale(-1000, -1000, 1000, -100, 100), -100);
    EXPECT_EQ(SaneDeviceProfile::rescale(5000, -1000, 1000, -100, 100), 100);
    EXPECT_NEAR(SaneDeviceProfile::rescale(128, 0, 255, 0, 100), 50.2, 0.01);
}
