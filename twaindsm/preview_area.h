// The preview of a scan window: the whole scan area as a low-resolution scan shows it, and on it
// the frame to scan. The user draws a new frame by dragging on the picture (outside the frame,
// or anywhere while the frame is the whole area), moves it by dragging inside, and sizes it by
// its eight handles; the arrow keys move it a millimetre (Shift: size
// it). Everything is in millimetres of the area, so the picture's resolution does not matter.
#pragma once

#include <QImage>
#include <QRectF>
#include <QWidget>

namespace twaindsm {

class PreviewArea : public QWidget {
    Q_OBJECT
public:
    // areaWidth x areaHeight: the device's whole area, in mm.
    PreviewArea(double areaWidth, double areaHeight, QWidget* parent = nullptr);

    // The preview scan of the whole area; a null picture shows the area empty.
    void setPicture(const QImage& picture);
    bool hasPicture() const { return !picture_.isNull(); }
    const QImage& picture() const { return picture_; }
    // The frame drawn, in mm from the area's top-left corner.
    void setFrame(const QRectF& frame);
    QRectF frame() const { return frame_; }

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    // The user changed the frame (a drag, a key); not sent for setFrame.
    void frameChosen(const QRectF& frame);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum Grip { None = 0, Left = 1, Right = 2, Top = 4, Bottom = 8, Move = 16, Draw = 32 };

    QRectF shown() const;                   // where the area lies in the widget
    QPointF toArea(const QPointF& p) const; // widget to mm, kept on the area
    QRectF toWidget(const QRectF& mm) const;
    int gripAt(const QPointF& p) const;
    void choose(QRectF frame);

    double areaWidth_;
    double areaHeight_;
    QImage picture_;
    QRectF frame_;
    int grip_ = None;
    QPointF pressedAt_; // mm
    QRectF pressedFrame_;
};

} // namespace twaindsm
