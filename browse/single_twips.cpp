#include "single_twips.h"

#include "twips.h"

#include <QWidget>

namespace {

// Widgets not yet on a screen still answer the primary screen's DPI; 96 is the fallback a
// missing answer would have on every desktop.
int dpiX(const QWidget* widget) {
    const int dpi = widget != nullptr ? widget->logicalDpiX() : 0;
    return dpi > 0 ? dpi : 96;
}

int dpiY(const QWidget* widget) {
    const int dpi = widget != nullptr ? widget->logicalDpiY() : 0;
    return dpi > 0 ? dpi : 96;
}

} // namespace

int Twips::left(const QWidget* widget) {
    return fromPixelsX(widget, widget->x());
}

int Twips::top(const QWidget* widget) {
    return fromPixelsY(widget, widget->y());
}

int Twips::width(const QWidget* widget) {
    return fromPixelsX(widget, widget->width());
}

int Twips::height(const QWidget* widget) {
    return fromPixelsY(widget, widget->height());
}

int Twips::toPixelsX(const QWidget* widget, int twips) {
    return twipsToPixels(twips, dpiX(widget));
}

int Twips::toPixelsY(const QWidget* widget, int twips) {
    return twipsToPixels(twips, dpiY(widget));
}

int Twips::fromPixelsX(const QWidget* widget, int pixels) {
    return pixelsToTwips(pixels, dpiX(widget));
}

int Twips::fromPixelsY(const QWidget* widget, int pixels) {
    return pixelsToTwips(pixels, dpiY(widget));
}

bool Twips::place(QWidget* widget, int left, int top, int width, int height) {
    if (widget == nullptr || width < 0 || height < 0) {
        return false;
    }
    const int x0 = toPixelsX(widget, left);
    const int y0 = toPixelsY(widget, top);
    const int x1 = toPixelsX(widget, left + width);
    const int y1 = toPixelsY(widget, top + height);
    widget->setGeometry(x0, y0, x1 - x0, y1 - y0);
    return true;
}

bool Twips::setWidth(QWidget* widget, int width) {
    if (widget == nullptr || width < 0) {
        return false;
    }
    const int x0 = widget->x();
    const int x1 = toPixelsX(widget, fromPixelsX(widget, x0) + width);
    widget->resize(x1 - x0, widget->height());
    return true;
}

bool Twips::setHeight(QWidget* widget, int height) {
    if (widget == nullptr || height < 0) {
        return false;
    }
    const int y0 = widget->y();
    const int y1 = toPixelsY(widget, fromPixelsY(widget, y0) + height);
    widget->resize(widget->width(), y1 - y0);
    return true;
}
