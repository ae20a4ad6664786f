// The adjustment dialog's trimming rectangle: drawn or moved with the mouse over IMG, or sized
// in SIZE_X / SIZE_Y, then cut out.
#include "cnf_win.h"
#include "number_text.h"
#include "program.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {

int numberIn(const QLineEdit* box) {
    return int(number_text::integerOf(box->text(), INT_MIN, INT_MAX));
}

} // namespace

void CNF_WIN::UPDATE_TRIM_VIEW() {
    const int limits[2] = {ADJ_WIDTH, ADJ_HEIGHT};
    QLineEdit* boxes[2] = {SIZE_X, SIZE_Y};
    for (int axis = 0; axis < 2; ++axis) {
        // Never larger than the picture, never beyond its far edge.
        TRIM_SIZE[axis] = std::min(TRIM_SIZE[axis], double(limits[axis]));
        TRIM_ORIGIN[axis] =
            std::clamp(TRIM_ORIGIN[axis], 0.0, std::max(0.0, limits[axis] - TRIM_SIZE[axis]));
        QLineEdit* box = boxes[axis];
        const qint64 size = qint64(TRIM_SIZE[axis]);
        // A box the user is emptying to type a new number is left alone.
        if (numberIn(box) != size && !(box->hasFocus() && box->text().isEmpty())) {
            const QSignalBlocker quiet(box);
            box->setText(QString::number(size));
        }
    }
    if (VIEW_SCALE <= 0) {
        return;
    }
    const int extent[2] = {IMG->width(), IMG->height()};
    int position[2];
    int length[2];
    for (int axis = 0; axis < 2; ++axis) {
        position[axis] = int(TRIM_ORIGIN[axis] / VIEW_SCALE);
        length[axis] = int(TRIM_SIZE[axis] / VIEW_SCALE);
        if (position[axis] + length[axis] > extent[axis] - 1) {
            position[axis] = extent[axis] - length[axis];
            TRIM_ORIGIN[axis] = std::max(0.0, position[axis] * VIEW_SCALE);
        }
        position[axis] = std::max(0, position[axis]);
    }
    if (TRIM_SIZE[0] != 0 && TRIM_SIZE[1] != 0) {
        TRIMAREA->setGeometry(position[0], position[1], std::max(1, length[0]),
                              std::max(1, length[1]));
        TRIMAREA->setVisible(program_.settings.CNFP == 2);
        TRIM_RECT = {position[0], position[0] + length[0], position[1], position[1] + length[1]};
    } else {
        TRIMAREA->hide();
    }
}

void CNF_WIN::trimPress(QPoint point) {
    TRIM_DRAG = true;
    if (TRIM_SET && point.x() >= TRIM_RECT.left && point.x() <= TRIM_RECT.right &&
        point.y() >= TRIM_RECT.top && point.y() <= TRIM_RECT.bottom) {
        TRIM_MOVE = true;
        TRIM_GRAB = point - QPoint(TRIM_RECT.left, TRIM_RECT.top);
        return;
    }
    TRIM_SET = true;
    TRIM_MOVE = false;
    TRIMAREA->setGeometry(point.x(), point.y(), 0, 0);
    TRIMAREA->show();
    TRIM_RECT = {point.x(), point.x(), point.y(), point.y()};
    trimAnchor_ = point;
    TRIM_ORIGIN[0] = std::trunc(point.x() * VIEW_SCALE);
    TRIM_ORIGIN[1] = std::trunc(point.y() * VIEW_SCALE);
    TRIM_SIZE[0] = TRIM_SIZE[1] = std::trunc(VIEW_SCALE);
    UPDATE_TRIM_VIEW();
}

void CNF_WIN::trimMove(QPoint point) {
    const int x = std::clamp(point.x(), 0, IMG->width() + 1);
    const int y = std::clamp(point.y(), 0, IMG->height() + 1);
    const double s = VIEW_SCALE;
    if (!TRIM_MOVE) {
        TRIM_SIZE[0] = std::abs(std::trunc(trimAnchor_.x() * s) - std::trunc(x * s)) + 1;
        TRIM_SIZE[1] = std::abs(std::trunc(trimAnchor_.y() * s) - std::trunc(y * s)) + 1;
        TRIM_ORIGIN[0] = std::trunc(std::min(trimAnchor_.x(), x) * s);
        TRIM_ORIGIN[1] = std::trunc(std::min(trimAnchor_.y(), y) * s);
    } else {
        const int width = TRIM_RECT.right - TRIM_RECT.left;
        const int height = TRIM_RECT.bottom - TRIM_RECT.top;
        const int left = std::max(0, std::min(x - TRIM_GRAB.x(), IMG->width() + 1 - width));
        const int top = std::max(0, std::min(y - TRIM_GRAB.y(), IMG->height() + 1 - height));
        TRIM_ORIGIN[0] = std::trunc(left * s);
        TRIM_ORIGIN[1] = std::trunc(top * s);
    }
    UPDATE_TRIM_VIEW();
}

void CNF_WIN::onSizeChanged(int axis) {
    if (ADJ_LOADING || sizeBusy_) {
        return;
    }
    sizeBusy_ = true;
    TRIM_SET = true;
    const int limit = axis == 0 ? ADJ_WIDTH : ADJ_HEIGHT;
    TRIM_SIZE[axis] = std::max(1, std::min(numberIn(axis == 0 ? SIZE_X : SIZE_Y), limit));
    UPDATE_TRIM_VIEW();
    sizeBusy_ = false;
}

void CNF_WIN::stepSize(int axis, int step) {
    QLineEdit* box = axis == 0 ? SIZE_X : SIZE_Y;
    box->setText(QString::number(numberIn(box) + step));
}

void CNF_WIN::startRepeat(int step) {
    REPEAT_STEP = step;
    Timer1->start(100);
}

void CNF_WIN::onTimer1() {
    switch (REPEAT_STEP) {
    case 1:
        stepSize(0, 10);
        break;
    case 2:
        stepSize(1, 10);
        break;
    case 3:
        stepSize(0, -10);
        break;
    case 4:
        stepSize(1, -10);
        break;
    default:
        Timer1->stop();
    }
}

void CNF_WIN::onCommand14() {
    const int left = int(TRIM_ORIGIN[0]);
    const int top = int(TRIM_ORIGIN[1]);
    const int width = int(TRIM_SIZE[0]);
    const int height = int(TRIM_SIZE[1]);
    // No rectangle, or one the library refuses: the picture stays as it is.
    if (!image.cut(left, top, left + width - 1, top + height - 1)) {
        return;
    }
    TRIM_SET = false;
    const IMAGE_INFO info = image.info();
    ADJ_WIDTH = info.WIDTH;
    ADJ_HEIGHT = info.HEIGHT;
    TRIM_RECT = {};
    TRIM_ORIGIN[0] = TRIM_ORIGIN[1] = 0;
    TRIM_SIZE[0] = ADJ_WIDTH;
    TRIM_SIZE[1] = ADJ_HEIGHT;
    {
        const QSignalBlocker quietX(SIZE_X);
        const QSignalBlocker quietY(SIZE_Y);
        SIZE_X->setText(QString::number(ADJ_WIDTH));
        SIZE_Y->setText(QString::number(ADJ_HEIGHT));
    }
    APPLY_ADJUSTMENTS();
    TRIMAREA->hide();
}

void CNF_WIN::onCommand17() {
    TRIM_SET = false;
    TRIM_RECT = {};
    TRIM_ORIGIN[0] = TRIM_ORIGIN[1] = 0;
    TRIM_SIZE[0] = TRIM_SIZE[1] = 0;
    APPLY_ADJUSTMENTS();
    TRIMAREA->hide();
}

void CNF_WIN::onCommand16() {
    loadImage();
    TRIM_SET = true;
    APPLY_ADJUSTMENTS();
}
