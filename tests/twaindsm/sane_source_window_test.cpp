// The SANE source's window driven like a user would: choices, Scan, pages arriving while the
// window keeps answering, Close.
#include "qt_support.h"
#include "sane_source.h"
#include "sane_test_config.h"
#include "source_factory.h"
#include "test_images.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <gtest/gtest.h>

using namespace twaindsm;

namespace {

class SaneSourceWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testApplication(); }

    void SetUp() override {
        ASSERT_TRUE(kSaneTestConfig.complete());
        for (auto& source : discoverSaneSources()) {
            if (std::strstr(source->identity().ProductName, "(test:0)") != nullptr) {
                source_ = std::move(source);
            }
        }
        ASSERT_NE(source_, nullptr);
        TW_UINT16 condition = 0;
        ASSERT_TRUE(source_->open(condition));
        source_->settings().frame = Frame{0, 0, 1, 1};
        parent_.show();
    }
    void TearDown() override {
        if (source_) {
            source_->close();
        }
    }

    bool enableWithWindow() {
        TW_UINT16 condition = 0;
        const HWND parent = reinterpret_cast<HWND>(parent_.winId());
        return source_->enable(
            true, parent, [this](TW_UINT16 n) { notices_.push_back(n); }, condition);
    }

    template <typename T> T* child(const char* name) {
        return parent_.findChild<T*>(QString::fromLatin1(name));
    }

    // Runs the event loop until the condition holds (or ten seconds pass).
    template <typename Condition> bool waitFor(Condition condition) {
        QElapsedTimer timer;
        timer.start();
        while (!condition() && timer.elapsed() < 10000) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            QTest::qWait(5);
        }
        return condition();
    }

    bool noticed(TW_UINT16 notice) const {
        return std::find(notices_.begin(), notices_.end(), notice) != notices_.end();
    }

    QWidget parent_;
    std::unique_ptr<Source> source_;
    std::vector<TW_UINT16> notices_;
};

} // namespace

TEST_F(SaneSourceWindowTest, ScanFromTheFeederWithTheWindowsChoices) {
    ASSERT_TRUE(enableWithWindow());
    auto* mode = child<QComboBox>("modeBox");
    auto* resolution = child<QComboBox>("resolutionBox");
    auto* paper = child<QComboBox>("sourceBox");
    auto* scan = child<QPushButton>("scanButton");
    auto* close = child<QPushButton>("closeButton");
    auto* progress = child<QProgressBar>("progressBar");
    ASSERT_TRUE(mode && resolution && paper && scan && close && progress);
    EXPECT_EQ(scan->text(), "Scan");
    EXPECT_EQ(close->text(), "Close");
    EXPECT_EQ(mode->count(), 3);
    EXPECT_EQ(paper->count(), 2);
    EXPECT_TRUE(scan->window()->isVisible());
    EXPECT_TRUE(notices_.empty());

    mode->setCurrentIndex(mode->findText("Gray"));
    resolution->setCurrentIndex(resolution->findText("100 dpi"));
    paper->setCurrentIndex(paper->findData(true));
    QTest::mouseClick(scan, Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return noticed(MSG_XFERREADY); }));
    EXPECT_EQ(source_->settings().pixelType, TWPT_GRAY);
    EXPECT_EQ(source_->settings().xResolution, 100);
    EXPECT_TRUE(source_->settings().feederEnabled);
    // Locked while the batch's pages wait to be transferred.
    EXPECT_FALSE(scan->isEnabled());

    int pages = 0;
    TW_UINT16 condition = 0;
    do {
        TW_HANDLE page = nullptr;
        ASSERT_EQ(source_->transfer(page, condition), TWRC_XFERDONE);
        ImageHandle owned(page);
        EXPECT_EQ(infoOf(page).WIDTH, 98);
        EXPECT_EQ(infoOf(page).BIT_COUNT, 8);
        ++pages;
    } while (source_->pending() != 0 && pages < 20);
    EXPECT_EQ(pages, 10);
    EXPECT_EQ(std::count(notices_.begin(), notices_.end(), MSG_XFERREADY), 1);

    // Once everything is transferred the window unlocks for another batch.
    ASSERT_TRUE(waitFor([&] { return scan->isEnabled(); }));
    EXPECT_EQ(progress->value(), 100);
    EXPECT_FALSE(child<QLabel>("statusLabel")->text().isEmpty());

    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_TRUE(noticed(MSG_CLOSEDSREQ));
    QPointer<QWidget> window = scan->window();
    source_->disable();
    EXPECT_TRUE(window.isNull());
}

TEST_F(SaneSourceWindowTest, TransfersWaitWithTheWindowAnsweringAndClosingAsks) {
    // A page large enough (16 MB) that the transfer has to wait for it.
    source_->settings().frame = source_->limits().scanArea;
    ASSERT_TRUE(enableWithWindow());
    auto* scan = child<QPushButton>("scanButton");
    auto* mode = child<QComboBox>("modeBox");
    auto* resolution = child<QComboBox>("resolutionBox");
    ASSERT_TRUE(scan && mode && resolution);
    mode->setCurrentIndex(mode->findData(int(TWPT_RGB)));
    resolution->setCurrentIndex(resolution->findText("300 dpi"));
    QTest::mouseClick(scan, Qt::LeftButton);

    // Clicked while the transfer waits: only its local event loop can deliver the click.
    bool clicked = false;
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(child<QPushButton>("closeButton"), Qt::LeftButton);
        clicked = true;
    });
    TW_HANDLE page = nullptr;
    TW_UINT16 condition = 0;
    ASSERT_EQ(source_->transfer(page, condition), TWRC_XFERDONE);
    ImageHandle owned(page);
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(noticed(MSG_CLOSEDSREQ));
    EXPECT_EQ(infoOf(page).BIT_COUNT, 24);
    EXPECT_EQ(infoOf(page).WIDTH, 2362);
    EXPECT_EQ(source_->pending(), 0);
    ASSERT_TRUE(waitFor([&] { return noticed(MSG_XFERREADY); }));

    // The title bar's close button asks too; the window stays until the source is disabled.
    notices_.clear();
    scan->window()->close();
    EXPECT_TRUE(noticed(MSG_CLOSEDSREQ));
    EXPECT_TRUE(scan->window()->isVisible());
    source_->disable();
}

TEST_F(SaneSourceWindowTest, DisableDuringABatchStopsItWithoutHanging) {
    // A large feeder batch nobody transfers.
    source_->settings().frame = source_->limits().scanArea;
    ASSERT_TRUE(enableWithWindow());
    child<QComboBox>("resolutionBox")
        ->setCurrentIndex(child<QComboBox>("resolutionBox")->findText("300 dpi"));
    child<QComboBox>("sourceBox")->setCurrentIndex(1);
    QTest::mouseClick(child<QPushButton>("scanButton"), Qt::LeftButton);
    QElapsedTimer timer;
    timer.start();
    source_->disable();
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(child<QPushButton>("scanButton"), nullptr);
    EXPECT_EQ(source_->pending(), 0);
    // The device is free for the next batch.
    source_->settings().frame = Frame{0, 0, 1, 1};
    TW_UINT16 condition = 0;
    ASSERT_TRUE(source_->enable(
        false, nullptr, [](TW_UINT16) {}, condition));
    TW_HANDLE page = nullptr;
    ASSERT_EQ(source_->transfer(page, condition), TWRC_XFERDONE);
    ImageHandle owned(page);
    source_->disable();
}
