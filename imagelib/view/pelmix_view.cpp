// The exported device functions: display, print, clipboard and the display's colour count.
#include "pelmix_view.h"

#include "device_context.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int32_t kFullColour = 16777216;

bool haveGuiApplication() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

PELMIX_VIEW_CXX HDC PelmixCreatePainterDC(QPainter* painter) {
    return PelmixDeviceContext::forPainter(painter);
}

PELMIX_VIEW_CXX HDC PelmixCreatePrinterDC(QPrinter* printer) {
    return PelmixDeviceContext::forPrinter(printer);
}

PELMIX_VIEW_CXX QPainter* PelmixDrawingPainter(HDC dc) {
    return PelmixDeviceContext::isLive(dc) ? dc->drawingPainter() : nullptr;
}

PELMIX_VIEW_CXX int32_t PelmixDeleteDC(HDC dc) {
    return PelmixDeviceContext::destroy(dc) ? 1 : 0;
}

PELMIX_API int32_t PELMIX_CALL PelmixDisplayHdc(HDC dc, HGLOBAL image, int32_t width,
                                                int32_t height, int32_t mode) {
    (void)mode;
    if (!PelmixDeviceContext::isLive(dc) || width <= 0 || height <= 0) {
        return 0;
    }
    QPainter* painter = dc->drawingPainter();
    if (painter == nullptr) {
        return 0;
    }
    const QImage picture = PelmixToQImage(image);
    if (picture.isNull()) {
        return 0;
    }
    PelmixDeviceContext::drawStretched(*painter, picture, QRectF(0, 0, width, height));
    return 1;
}

PELMIX_API int32_t PELMIX_CALL PelmixPrintStart(HDC printerDc, const char* documentName) {
    if (!PelmixDeviceContext::isLive(printerDc)) {
        return 0;
    }
    return printerDc->beginPage(documentName);
}

PELMIX_API int32_t PELMIX_CALL PelmixPrint(int32_t job, HDC printerDc, HGLOBAL image,
                                           const RECT* rect, int32_t flags) {
    (void)flags;
    if (!PelmixDeviceContext::isLive(printerDc) || !printerDc->isPrinter() || rect == nullptr ||
        job <= 0 || job != printerDc->openPage()) {
        return 0;
    }
    const double dpi = printerDc->printerResolution();
    const QRectF target = PelmixDeviceContext::tenthsToPixels(*rect, dpi, dpi);
    if (target.isEmpty()) {
        return 0;
    }
    const QImage picture = PelmixToQImage(image);
    if (picture.isNull()) {
        return 0;
    }
    PelmixDeviceContext::drawStretched(*printerDc->drawingPainter(), picture, target);
    return 1;
}

PELMIX_API int32_t PELMIX_CALL PelmixPrintEnd(HDC printerDc) {
    if (!PelmixDeviceContext::isLive(printerDc)) {
        return 0;
    }
    return printerDc->endPage() ? 1 : 0;
}

PELMIX_API int32_t PELMIX_CALL PelmixSetToClipBrd(HWND window, HGLOBAL image) {
    (void)window;
    if (!haveGuiApplication()) {
        return 0;
    }
    const QImage picture = PelmixToQImage(image);
    if (picture.isNull()) {
        return 0;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return 0;
    }
    clipboard->setImage(picture);
    return 1;
}

PELMIX_API int32_t PELMIX_CALL PelmixSystemPalette(void) {
    if (!haveGuiApplication()) {
        return kFullColour;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return kFullColour;
    }
    const int depth = screen->depth();
    if (depth <= 0 || depth > 24) {
        return kFullColour;
    }
    return int32_t(1) << depth;
}
