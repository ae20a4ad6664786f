#include "preview_area.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace twaindsm {

namespace {

constexpr double kHandle = 4;   // half a handle's side, in pixels
constexpr double kSmallest = 1; // mm: a frame is never smaller

} // namespace

PreviewArea::PreviewArea(double areaWidth, double areaHeight, QWidget* parent)
    : QWidget(parent), areaWidth_(std::max(areaWidth, 1.0)), areaHeight_(std::max(areaHeight, 1.0)),
      frame_(0, 0, areaWidth_, areaHeight_) {
    setObjectName("previewArea");
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(160, 160);
}

QSize PreviewArea::sizeHint() const {
    return QSize(300, heightForWidth(300));
}

int PreviewArea::heightForWidth(int width) const {
    return int(std::lround(width * areaHeight_ / areaWidth_));
}

void PreviewArea::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PreviewArea::setFrame(const QRectF& frame) {
    frame_ = frame.normalized() & QRectF(0, 0, areaWidth_, areaHeight_);
    update();
}

QRectF PreviewArea::shown() const {
    const double scale =
        std::min((width() - 2 * kHandle) / areaWidth_, (height() - 2 * kHandle) / areaHeight_);
    const double w = areaWidth_ * scale;
    const double h = areaHeight_ * scale;
    return QRectF((width() - w) / 2, (height() - h) / 2, w, h);
}

QPointF PreviewArea::toArea(const QPointF& p) const {
    const QRectF area = shown();
    const double x = (p.x() - area.left()) / area.width() * areaWidth_;
    const double y = (p.y() - area.top()) / area.height() * areaHeight_;
    return QPointF(std::clamp(x, 0.0, areaWidth_), std::clamp(y, 0.0, areaHeight_));
}

QRectF PreviewArea::toWidget(const QRectF& mm) const {
    const QRectF area = shown();
    const double sx = area.width() / areaWidth_;
    const double sy = area.height() / areaHeight_;
    return QRectF(area.left() + mm.left() * sx, area.top() + mm.top() * sy, mm.width() * sx,
                  mm.height() * sy);
}

int PreviewArea::gripAt(const QPointF& p) const {
    const QRectF r = toWidget(frame_);
    const double reach = kHandle + 2;
    if (!r.adjusted(-reach, -reach, reach, reach).contains(p)) {
        return Draw;
    }
    int grip = None;
    if (std::fabs(p.x() - r.left()) <= reach) {
        grip |= Left;
    } else if (std::fabs(p.x() - r.right()) <= reach) {
        grip |= Right;
    }
    if (std::fabs(p.y() - r.top()) <= reach) {
        grip |= Top;
    } else if (std::fabs(p.y() - r.bottom()) <= reach) {
        grip |= Bottom;
    }
    if (grip != None) {
        return grip;
    }
    // A frame that is the whole area cannot be moved: a drag on it draws a new one.
    const bool whole = frame_.width() >= areaWidth_ - 0.5 && frame_.height() >= areaHeight_ - 0.5;
    return whole ? Draw : Move;
}

void PreviewArea::choose(QRectF frame) {
    frame = frame.normalized() & QRectF(0, 0, areaWidth_, areaHeight_);
    if (frame.width() < kSmallest || frame.height() < kSmallest) {
        return;
    }
    frame_ = frame;
    update();
    emit frameChosen(frame_);
}

void PreviewArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF area = shown();
    if (picture_.isNull()) {
        painter.fillRect(area, palette().base());
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(area, picture_);
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(area);
    // Outside the frame dimmed, the frame outlined with its handles.
    const QRectF r = toWidget(frame_);
    QPainterPath outside;
    outside.addRect(area);
    QPainterPath inside;
    inside.addRect(r);
    painter.fillPath(outside.subtracted(inside), QColor(0, 0, 0, 90));
    painter.setPen(QPen(palette().color(QPalette::Highlight), hasFocus() ? 2 : 1));
    painter.drawRect(r);
    painter.setBrush(palette().color(QPalette::Highlight));
    for (double x : {r.left(), r.center().x(), r.right()}) {
        for (double y : {r.top(), r.center().y(), r.bottom()}) {
            if (x != r.center().x() || y != r.center().y()) {
                painter.drawRect(QRectF(x - kHandle, y - kHandle, 2 * kHandle, 2 * kHandle));
            }
        }
    }
}

void PreviewArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    grip_ = gripAt(event->position());
    pressedAt_ = toArea(event->position());
    pressedFrame_ = frame_;
}

void PreviewArea::mouseMoveEvent(QMouseEvent* event) {
    if (grip_ == None) {
        const int over = gripAt(event->position());
        const bool horizontal = (over & (Left | Right)) != 0;
        const bool vertical = (over & (Top | Bottom)) != 0;
        setCursor(over == Move ? Qt::SizeAllCursor
                  : horizontal && vertical
                      ? (((over & Left) != 0) == ((over & Top) != 0) ? Qt::SizeFDiagCursor
                                                                     : Qt::SizeBDiagCursor)
                  : horizontal ? Qt::SizeHorCursor
                  : vertical   ? Qt::SizeVerCursor
                               : Qt::CrossCursor);
        return;
    }
    const QPointF at = toArea(event->position());
    QRectF r = pressedFrame_;
    if (grip_ == Draw) {
        r = QRectF(pressedAt_, at);
    } else if (grip_ == Move) {
        const QPointF by = at - pressedAt_;
        r.translate(std::clamp(by.x(), -r.left(), areaWidth_ - r.right()),
                    std::clamp(by.y(), -r.top(), areaHeight_ - r.bottom()));
    } else {
        if (grip_ & Left) {
            r.setLeft(std::min(at.x(), r.right() - kSmallest));
        }
        if (grip_ & Right) {
            r.setRight(std::max(at.x(), r.left() + kSmallest));
        }
        if (grip_ & Top) {
            r.setTop(std::min(at.y(), r.bottom() - kSmallest));
        }
        if (grip_ & Bottom) {
            r.setBottom(std::max(at.y(), r.top() + kSmallest));
        }
    }
    choose(r);
}

void PreviewArea::mouseReleaseEvent(QMouseEvent*) {
    grip_ = None;
}

void PreviewArea::keyPressEvent(QKeyEvent* event) {
    double dx = 0;
    double dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    QRectF r = frame_;
    if (event->modifiers() & Qt::ShiftModifier) {
        r.setRight(std::clamp(r.right() + dx, r.left() + kSmallest, areaWidth_));
        r.setBottom(std::clamp(r.bottom() + dy, r.top() + kSmallest, areaHeight_));
    } else {
        r.translate(std::clamp(dx, -r.left(), areaWidth_ - r.right()),
                    std::clamp(dy, -r.top(), areaHeight_ - r.bottom()));
    }
    choose(r);
}

} // namespace twaindsm
