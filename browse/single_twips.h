// Lengths of the window's layout are worked out in twips (1/1440 inch) and turned into pixels
// only where a widget is moved or measured: pixels = twips x logical DPI / 1440, horizontal
// lengths with the horizontal DPI, vertical ones with the vertical DPI.
#pragma once

class QWidget;

class Twips {
public:
    static constexpr int kPerInch = 1440;

    // A widget's own size and place in twips, from its pixels.
    static int left(const QWidget* widget);
    static int top(const QWidget* widget);
    static int width(const QWidget* widget);
    static int height(const QWidget* widget);

    // Pixels for a length in twips on the widget's screen, and back.
    static int toPixelsX(const QWidget* widget, int twips);
    static int toPixelsY(const QWidget* widget, int twips);
    static int fromPixelsX(const QWidget* widget, int pixels);
    static int fromPixelsY(const QWidget* widget, int pixels);

    // Moves and sizes the widget (in its parent's coordinates). The edges are converted, not the
    // lengths, so panels that touch in twips touch in pixels too. A negative width or height is
    // refused (false) and the widget keeps its place, as moving a control there would fail.
    static bool place(QWidget* widget, int left, int top, int width, int height);
    // Only the width, or only the height, with the same refusal of negative lengths.
    static bool setWidth(QWidget* widget, int width);
    static bool setHeight(QWidget* widget, int height);
};
