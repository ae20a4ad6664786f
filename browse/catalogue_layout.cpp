#include "catalogue_layout.h"

#include <algorithm>
#include <cmath>

namespace {

int whole(double value) {
    return static_cast<int>(std::lround(value));
}

// A matrix dimension as a count of cells; settings hold it as a number.
int count(double value) {
    return std::isfinite(value) ? std::max(1, whole(value)) : 1;
}

} // namespace

CatalogueLayout::CatalogueLayout(QSize inner, int barWidth, double columns, double rows)
    : inner_(inner), columns_(count(columns)),
      cellWidth_(double(inner.width() - barWidth) / columns_),
      cellHeight_(double(inner.height()) / count(rows)) {}

QRect CatalogueLayout::waitFrame(QSize frame, QPoint panelOrigin) const {
    return QRect((inner_.width() - frame.width()) / 2 + panelOrigin.x(),
                 (inner_.height() - frame.height()) / 2 + panelOrigin.y(), frame.width(),
                 frame.height());
}

QRect CatalogueLayout::cell(int index) const {
    const int column = index % columns_;
    const int row = index / columns_;
    return QRect(whole(cellWidth_ * column), whole(cellHeight_ * row), whole(cellWidth_),
                 whole(cellHeight_));
}

std::optional<QRect> CatalogueLayout::fitPicture(QSize picture, QSize cell) {
    const double available[2] = {double(cell.width() - kSideMargin),
                                 double(cell.height() - kVerticalMargin)};
    if (available[0] <= 0 || available[1] <= 0 || picture.width() <= 0 || picture.height() <= 0) {
        return std::nullopt;
    }
    const double scale = std::max(picture.width() / available[0], picture.height() / available[1]);
    const int width = std::max(1, whole(picture.width() / scale));
    const int height = std::max(1, whole(picture.height() / scale));
    return QRect(whole(cell.width() / 2.0 - width / 2.0), kPictureTop, width, height);
}
