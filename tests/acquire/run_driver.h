// Plays the user at a TWAIN source's own window while the acquisition library's message loop
// runs: once the window is shown, prepare it and press Scan; when the wanted page files exist,
// press Close. Used by the end-to-end tests of the acquisition run.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace run_driver {

// The source's window: the window of the shown "scanButton". The source's window is a child
// window of the main window, and earlier sources' windows may still exist hidden.
inline QWidget* sourceWindow() {
    for (QWidget* w : QApplication::allWidgets()) {
        if (w->objectName() == QLatin1String("scanButton") && w->isVisible()) {
            return w->window();
        }
    }
    return nullptr;
}

struct Result {
    bool scanned = false;  // Scan was pressed
    bool finished = false; // the pages were there before Close was pressed
};

// Arms a timer (every 20 ms) that prepares the window with prepare(window), presses Scan, waits
// until done() and presses Close. After timeoutMs it presses Close anyway, so that a failing
// test cannot hang in the library's loop; a window that goes away after Scan ends the driving.
// Call before starting the run.
inline std::shared_ptr<Result> driveSourceWindow(std::function<void(QWidget*)> prepare,
                                                 std::function<bool()> done,
                                                 int timeoutMs = 60000) {
    auto result = std::make_shared<Result>();
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget* window = sourceWindow();
        if (window == nullptr) {
            // Gone after Scan: the library closed the source itself.
            if (result->scanned || clock->elapsed() > timeoutMs) {
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        auto* close = window->findChild<QPushButton*>(QStringLiteral("closeButton"));
        if (!result->scanned) {
            prepare(window);
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("scanButton")),
                              Qt::LeftButton);
            result->scanned = true;
            return;
        }
        result->finished = done();
        if (result->finished || clock->elapsed() > timeoutMs) {
            QTest::mouseClick(close, Qt::LeftButton);
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
    return result;
}

} // namespace run_driver
