// The QGuiApplication every view test needs, made once per test program on first use.
#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QImage>

inline void ensureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    // Run headless when started by hand, as ctest does.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "imagelib_view_test";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv); // lives until the program ends
}

// Whether two colours differ by at most tolerance in each channel.
inline bool near(QColor a, QColor b, int tolerance = 2) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}
