// PelmixScanMulti with the virtual scanner's own window, driven as a user would: two batches
// scanned from the window, then the window closed. The library's message loop waits in winport's
// queue while Qt's events run through the pump registered here, as in the program.
#include "acquisition_environment.h"
#include "pelmix.h"
#include "pmxacq.h"
#include "qt_support.h"
#include "temp_dir.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace {

void pump(void*) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void wake(void*) {
    if (auto* dispatcher = QAbstractEventDispatcher::instance(testApplication().thread())) {
        dispatcher->wakeUp();
    }
}

// The virtual scanner's window, once it is shown: a window of its own over the application's.
QWidget* sourceWindow(const QWidget* application) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != application && w->isVisible() &&
            w->findChild<QPushButton*>("scanButton") != nullptr) {
            return w;
        }
    }
    return nullptr;
}

// Runs step() every 20 ms until it returns true.
void repeatUntil(const std::function<bool()>& step) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        if (step()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
}

} // namespace

TEST(ScanMulti, TwoBatchesFromTheSourceWindowThenClose) {
    // No SANE backend and nothing remembered: the virtual scanner is the default source.
    const AcquisitionEnvironment environment(ORVANA_PROGRAM_DIR, AcquisitionEnvironment::Sane::None,
                                             "");

    testApplication();
    QWidget mainWindow;
    mainWindow.resize(400, 300);
    mainWindow.show();
    WinportSetMessagePump(pump, wake, nullptr);

    TempDir dir;
    const std::string base = dir.file("ORVA_TMP");
    const auto exists = [&](const char* suffix) { return std::filesystem::exists(base + suffix); };
    int stage = 0;
    repeatUntil([&] {
        QWidget* window = sourceWindow(&mainWindow);
        if (window == nullptr) {
            return false;
        }
        auto* pages = window->findChild<QSpinBox*>("pageCountBox");
        auto* scan = window->findChild<QPushButton*>("scanButton");
        auto* close = window->findChild<QPushButton*>("closeButton");
        if (stage == 0) {
            pages->setValue(2);
            QTest::mouseClick(scan, Qt::LeftButton);
            stage = 1;
        } else if (stage == 1 && exists(".001")) {
            pages->setValue(3);
            QTest::mouseClick(scan, Qt::LeftButton);
            stage = 2;
        } else if (stage == 2 && exists(".004")) {
            QTest::mouseClick(close, Qt::LeftButton);
            return true;
        }
        return false;
    });

    const HWND hwnd = reinterpret_cast<HWND>(mainWindow.winId());
    EXPECT_EQ(PelmixScanMulti(hwnd, base.c_str()), 5);
    WinportSetMessagePump(nullptr, nullptr, nullptr);
    for (const char* suffix : {".000", ".001", ".002", ".003", ".004"}) {
        EXPECT_TRUE(exists(suffix)) << suffix;
    }
    EXPECT_FALSE(exists(".005"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(sourceWindow(&mainWindow), nullptr) << "the source window is gone after the call";
}
