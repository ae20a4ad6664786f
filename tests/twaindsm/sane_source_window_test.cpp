// The SANE source's window driven like a user would: choices, Scan, pages arriving while the
// window keeps answering, Close; every option of SANE's test device on the options page, set as
// a user sets it and read back from the device.
#include "device_memory.h"
#include "preview_area.h"
#include "qt_support.h"
#include "sane_options_page.h"
#include "sane_source.h"
#include "sane_test_config.h"
#include "source_factory.h"
#include "test_images.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

using namespace twaindsm;

namespace {

class SaneSourceWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testApplication(); }

    // SANE's test device as a search finds it.
    static std::unique_ptr<Source> testDevice() {
        for (auto& source : discoverSaneSources()) {
            if (std::strstr(source->identity().ProductName, "(test:0)") != nullptr) {
                return std::move(source);
            }
        }
        return nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(kSaneTestConfig.complete());
        // Each test meets the devices as they come, nothing remembered.
        QDir(DeviceMemory::folder()).removeRecursively();
        source_ = testDevice();
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
    EXPECT_EQ(scan->text(), "スキャン(&S)");
    EXPECT_EQ(close->text(), "閉じる(&C)");
    EXPECT_EQ(mode->count(), 3);
    EXPECT_EQ(paper->count(), 2);
    EXPECT_TRUE(scan->window()->isVisible());
    EXPECT_TRUE(notices_.empty());

    mode->setCurrentIndex(mode->findData(int(TWPT_GRAY)));
    resolution->setCurrentIndex(resolution->findText("100 dpi"));
    paper->setCurrentIndex(paper->findData(QString("Automatic Document Feeder")));
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

    // Found afresh, as after a restart: the window's choices are the last ones.
    source_->close();
    source_ = testDevice();
    ASSERT_NE(source_, nullptr);
    ASSERT_TRUE(source_->open(condition));
    ASSERT_TRUE(enableWithWindow());
    EXPECT_EQ(child<QComboBox>("modeBox")->currentData().toInt(), int(TWPT_GRAY));
    EXPECT_EQ(child<QComboBox>("resolutionBox")->currentText(), "100 dpi");
    EXPECT_EQ(child<QComboBox>("sourceBox")->currentData().toString(), "Automatic Document Feeder");
    source_->disable();
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

namespace {

// The options page with the test device's test options shown, advanced ones too.
class SaneOptionsPageTest : public SaneSourceWindowTest {
protected:
    void SetUp() override {
        SaneSourceWindowTest::SetUp();
        ASSERT_TRUE(enableWithWindow());
        auto* tests = child<QCheckBox>("option-enable-test-options");
        ASSERT_NE(tests, nullptr);
        QTest::mouseClick(tests, Qt::LeftButton);
        // The test options are there all along, inactive until asked for.
        ASSERT_TRUE(waitFor([&] { return control("int-inexact")->isEnabled(); }));
        child<QCheckBox>("showAdvancedBox")->setChecked(true);
    }
    void TearDown() override {
        if (source_) {
            source_->disable();
        }
        SaneSourceWindowTest::TearDown();
    }

    QWidget* control(const std::string& name) { return child<QWidget>(("option-" + name).c_str()); }
    QString status() { return child<QLabel>("statusLabel")->text(); }
};

} // namespace

TEST_F(SaneOptionsPageTest, EachKindOfOptionGetsItsControlWithItsConstraint) {
    struct Row {
        const char* option;
        std::function<void(QWidget*)> check;
    };
    const Row rows[] = {
        {"bool-soft-select-soft-detect",
         [](QWidget* w) { ASSERT_NE(qobject_cast<QCheckBox*>(w), nullptr); }},
        // Set by the hardware only, or only read: the value shown, not to be changed.
        {"bool-hard-select-soft-detect",
         [](QWidget* w) {
             auto* line = qobject_cast<QLineEdit*>(w);
             ASSERT_NE(line, nullptr);
             EXPECT_TRUE(line->isReadOnly());
             EXPECT_EQ(line->text(), "いいえ");
         }},
        {"int",
         [](QWidget* w) {
             auto* spin = qobject_cast<QSpinBox*>(w);
             ASSERT_NE(spin, nullptr);
             EXPECT_EQ(spin->value(), 42);
             EXPECT_EQ(spin->minimum(), INT_MIN);
         }},
        {"int-constraint-range",
         [](QWidget* w) {
             auto* spin = qobject_cast<QSpinBox*>(w);
             ASSERT_NE(spin, nullptr);
             EXPECT_EQ(spin->minimum(), 4);
             EXPECT_EQ(spin->maximum(), 192);
             EXPECT_EQ(spin->singleStep(), 2);
             EXPECT_EQ(spin->suffix(), " px");
             EXPECT_EQ(spin->value(), 26);
         }},
        {"int-constraint-word-list",
         [](QWidget* w) {
             auto* list = qobject_cast<QComboBox*>(w);
             ASSERT_NE(list, nullptr);
             EXPECT_EQ(list->count(), 9);
             EXPECT_EQ(list->itemText(0), "-42 bit");
             EXPECT_EQ(list->currentText(), "42 bit");
         }},
        {"int-constraint-array",
         [](QWidget* w) {
             auto* line = qobject_cast<QLineEdit*>(w);
             ASSERT_NE(line, nullptr);
             EXPECT_FALSE(line->isReadOnly());
             EXPECT_EQ(line->text().split(' ').size(), 6);
         }},
        {"gamma-table",
         [](QWidget* w) {
             auto* line = qobject_cast<QLineEdit*>(w);
             ASSERT_NE(line, nullptr);
             EXPECT_EQ(line->text().split(' ').size(), 4096);
         }},
        {"fixed-constraint-range",
         [](QWidget* w) {
             auto* spin = qobject_cast<QDoubleSpinBox*>(w);
             ASSERT_NE(spin, nullptr);
             EXPECT_NEAR(spin->minimum(), -42.17, 0.01);
             EXPECT_NEAR(spin->maximum(), 32768, 0.01);
             EXPECT_EQ(spin->singleStep(), 2.0);
             EXPECT_EQ(spin->suffix(), " µs");
             EXPECT_NEAR(spin->value(), 41.83, 0.01);
         }},
        {"fixed-constraint-word-list",
         [](QWidget* w) {
             auto* list = qobject_cast<QComboBox*>(w);
             ASSERT_NE(list, nullptr);
             EXPECT_EQ(list->count(), 4);
         }},
        {"string",
         [](QWidget* w) {
             auto* line = qobject_cast<QLineEdit*>(w);
             ASSERT_NE(line, nullptr);
             EXPECT_TRUE(line->text().startsWith("This is the contents"));
         }},
        {"string-constraint-long-string-list",
         [](QWidget* w) {
             auto* list = qobject_cast<QComboBox*>(w);
             ASSERT_NE(list, nullptr);
             EXPECT_EQ(list->count(), 46);
             EXPECT_EQ(list->currentText(), "First entry");
         }},
        {"button",
         [](QWidget* w) {
             auto* button = qobject_cast<QPushButton*>(w);
             ASSERT_NE(button, nullptr);
             EXPECT_TRUE(button->text().endsWith("Button"));
         }},
        // Inactive until read-limit is on: greyed.
        {"read-limit-size", [](QWidget* w) { EXPECT_FALSE(w->isEnabled()); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.option);
        QWidget* w = control(row.option);
        ASSERT_NE(w, nullptr);
        row.check(w);
    }
    // Groups are sections; what the basic page offers is not here again.
    QStringList groups;
    for (auto* box : child<QWidget>("optionsPage")->findChildren<QGroupBox*>()) {
        groups += box->title();
    }
    EXPECT_TRUE(groups.contains("Int test options"));
    EXPECT_EQ(control("mode"), nullptr);
    EXPECT_EQ(control("resolution"), nullptr);
    // Advanced options are behind the box.
    child<QCheckBox>("showAdvancedBox")->setChecked(false);
    QWidget* page = child<QWidget>("optionsPage");
    EXPECT_FALSE(control("int")->isVisibleTo(page));
    EXPECT_TRUE(control("string")->isVisibleTo(page));
}

TEST_F(SaneOptionsPageTest, ChoicesAreSetOnTheDeviceAndWhatItHoldsIsShown) {
    struct Row {
        const char* what;
        const char* option;
        std::function<void(QWidget*)> choose; // as a user does it
        std::function<bool(QWidget*)> settled;
        QString status;
    };
    auto typeAndReturn = [](const QString& text) {
        return [text](QWidget* w) {
            w->setFocus();
            QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(QApplication::focusWidget(), text);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        };
    };
    const Row rows[] = {
        {"the device rounds", "int-inexact", typeAndReturn("123"),
         [](QWidget* w) { return qobject_cast<QSpinBox*>(w)->value() == 124; },
         "「%1」はスキャナーに合わせて 124 になりました。"},
        {"a number in a range", "fixed-constraint-range", typeAndReturn("10"),
         [](QWidget* w) {
             return std::abs(qobject_cast<QDoubleSpinBox*>(w)->value() - 9.83) < 0.01;
         },
         "「%1」はスキャナーに合わせて 9.83 µs になりました。"},
        {"free text", "string", typeAndReturn("Orvana"),
         [](QWidget* w) { return qobject_cast<QLineEdit*>(w)->text() == "Orvana"; }, ""},
        {"an array", "int-constraint-array", typeAndReturn("1 2 3 4 5 6"),
         [](QWidget* w) { return qobject_cast<QLineEdit*>(w)->text() == "1 2 3 4 5 6"; }, ""},
        {"a list entry", "int-constraint-word-list",
         [](QWidget* w) {
             w->setFocus();
             QTest::keyClick(w, Qt::Key_Down);
         },
         [](QWidget* w) { return qobject_cast<QComboBox*>(w)->currentText() == "256 bit"; }, ""},
        // Options that change others: the page is read again.
        {"a reload", "read-limit", [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); },
         [this](QWidget*) {
             QWidget* size = control("read-limit-size");
             return size != nullptr && size->isEnabled();
         },
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QWidget* w = control(row.option);
        ASSERT_NE(w, nullptr);
        row.choose(w);
        // Named by the driver's title; the page shows what the device answered.
        const QString told =
            row.status.isEmpty() ? row.status : row.status.arg(w->accessibleName());
        EXPECT_TRUE(waitFor([&] {
            return control(row.option) && row.settled(control(row.option)) && status() == told;
        })) << status().toStdString();
    }
    // A value the driver refuses: the old one stays, and the status line says so.
    auto* page = child<SaneOptionsPage>("optionsPage");
    emit page->valueChosen("string-constraint-string-list", SaneValue{{}, "Fourth entry"});
    ASSERT_TRUE(waitFor([&] { return !status().isEmpty(); }));
    EXPECT_EQ(status(), QString("スキャナーは「%1」をその値にできません。元の値のままです。")
                            .arg(control("string-constraint-string-list")->accessibleName()));
    EXPECT_EQ(qobject_cast<QComboBox*>(control("string-constraint-string-list"))->currentText(),
              "First entry");
}

// What the user set comes back when the device is opened again (as after a restart: a source
// found afresh); a memory that cannot be read is told and the device opens with its defaults;
// Defaults forgets everything.
TEST_F(SaneOptionsPageTest, ChoicesAreRememberedForTheDevice) {
    auto* page = child<SaneOptionsPage>("optionsPage");
    const std::pair<const char*, SaneValue> chosen[] = {
        {"test-picture", SaneValue{{}, "Grid"}},
        {"read-limit", SaneValue{{1}, {}}},
        {"int-constraint-range", SaneValue{{30}, {}}},
        {"fixed-constraint-range", SaneValue{{9.83}, {}}},
        {"string", SaneValue{{}, "Orvana"}},
    };
    for (const auto& [name, value] : chosen) {
        emit page->valueChosen(name, value);
    }
    ASSERT_TRUE(waitFor([&] {
        auto* text = qobject_cast<QLineEdit*>(control("string"));
        return text != nullptr && text->text() == "Orvana";
    }));
    auto values = [&] {
        return QStringList{
            qobject_cast<QComboBox*>(control("test-picture"))->currentText(),
            qobject_cast<QCheckBox*>(control("read-limit"))->isChecked() ? "on" : "off",
            QString::number(qobject_cast<QSpinBox*>(control("int-constraint-range"))->value()),
            QString::number(
                qobject_cast<QDoubleSpinBox*>(control("fixed-constraint-range"))->value()),
            qobject_cast<QLineEdit*>(control("string"))->text()};
    };
    const QStringList set{"Grid", "on", "30", "9.83", "Orvana"};
    ASSERT_EQ(values(), set);

    auto reopen = [&] {
        source_->disable();
        source_->close();
        source_.reset();
        source_ = testDevice();
        ASSERT_NE(source_, nullptr);
        TW_UINT16 condition = 0;
        ASSERT_TRUE(source_->open(condition));
        ASSERT_TRUE(enableWithWindow());
        child<QCheckBox>("showAdvancedBox")->setChecked(true);
    };
    reopen();
    EXPECT_EQ(values(), set);
    EXPECT_EQ(status(), "");

    // A damaged memory: the device's defaults, and the user is told.
    const QStringList files = QDir(DeviceMemory::folder()).entryList({"*.json"}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    QFile damaged(DeviceMemory::folder() + files.first());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("{\"device\": \"test:0\", \"options\": {\"string\": 7");
    damaged.close();
    reopen();
    EXPECT_EQ(status(), "この機器の前回の設定を読めなかったため、機器の既定値で開きました。");
    EXPECT_EQ(control("int-inexact")->isEnabled(), false) << "test options are off again";

    // Set again, then Defaults: the device's own values, and nothing is put back next time.
    page = child<SaneOptionsPage>("optionsPage"); // the window is a new one
    emit page->valueChosen("enable-test-options", SaneValue{{1}, {}});
    ASSERT_TRUE(waitFor([&] { return control("int-inexact")->isEnabled(); }));
    QTest::mouseClick(child<QPushButton>("defaultsButton"), Qt::LeftButton);
    EXPECT_EQ(status(), "この機器の設定を既定値に戻しました。");
    EXPECT_FALSE(qobject_cast<QCheckBox*>(control("enable-test-options"))->isChecked());
    EXPECT_FALSE(control("int-inexact")->isEnabled());
    reopen();
    EXPECT_FALSE(control("int-inexact")->isEnabled());
}

// The preview: the whole glass at a low resolution; a frame dragged on it is the user's own size
// (its numbers in mm follow), and the next scan is that frame; a paper chosen is drawn on it.
TEST_F(SaneSourceWindowTest, APreviewScanAndAFrameDrawnOnIt) {
    ASSERT_TRUE(enableWithWindow());
    auto* preview = child<PreviewArea>("previewArea");
    ASSERT_NE(preview, nullptr);
    EXPECT_FALSE(preview->hasPicture());
    QTest::mouseClick(child<QPushButton>("previewButton"), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return preview->hasPicture(); }));
    EXPECT_TRUE(noticed(MSG_XFERREADY) == false) << "a preview is no page for the program";
    EXPECT_TRUE(child<QPushButton>("scanButton")->isEnabled());

    // A drag from a quarter to three quarters of the area: the middle half, 100 x 100 mm of the
    // test device's 200 x 200 mm.
    preview->resize(400, 400);
    const QPointF from(100 + 2, 100 + 2);
    const QPointF to(300 - 2, 300 - 2);
    auto mouse = [&](QEvent::Type type, const QPointF& at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, preview->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(preview, &event);
    };
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    auto* paper = child<QComboBox>("paperBox");
    EXPECT_EQ(paper->currentText(), "ユーザー定義");
    const double width = child<QDoubleSpinBox>("frameWidthBox")->value();
    const double left = child<QDoubleSpinBox>("frameLeftBox")->value();
    EXPECT_NEAR(width, 100, 2);
    EXPECT_NEAR(left, 50, 2);

    // The next scan is that frame: at 100 dpi, its width in pixels.
    child<QComboBox>("resolutionBox")
        ->setCurrentIndex(child<QComboBox>("resolutionBox")->findText("100 dpi"));
    QTest::mouseClick(child<QPushButton>("scanButton"), Qt::LeftButton);
    TW_HANDLE page = nullptr;
    TW_UINT16 condition = 0;
    ASSERT_EQ(source_->transfer(page, condition), TWRC_XFERDONE);
    ImageHandle owned(page);
    EXPECT_NEAR(infoOf(page).WIDTH, width / 25.4 * 100, 2);

    // A paper chosen is drawn on the preview.
    paper->setCurrentIndex(paper->findText("名刺", Qt::MatchStartsWith));
    EXPECT_NEAR(preview->frame().width(), 55, 0.1);
    EXPECT_NEAR(preview->frame().height(), 91, 0.1);
    const QImage shown = preview->picture();
    source_->disable();

    // The device found afresh, as after a restart: its preview is there before any new one.
    source_->close();
    source_ = testDevice();
    ASSERT_NE(source_, nullptr);
    ASSERT_TRUE(source_->open(condition));
    ASSERT_TRUE(enableWithWindow());
    preview = child<PreviewArea>("previewArea");
    ASSERT_TRUE(preview->hasPicture());
    EXPECT_EQ(preview->picture().convertToFormat(QImage::Format_RGB32),
              shown.convertToFormat(QImage::Format_RGB32));
    source_->disable();
}
