#include "single_fit.h"

#include <algorithm>
#include <cmath>

QSize SingleFit::shownSize(QSize picture, QSize area, float magnification) {
    if (picture.width() <= 0 || picture.height() <= 0) {
        return QSize(0, 0);
    }
    double width = picture.width();
    double height = picture.height();
    if (magnification > 0) {
        width *= magnification;
        height *= magnification;
    } else if (area.width() > 0 && area.height() > 0) {
        // Divided by the larger ratio, one side meets the area and the other stays inside it.
        const double ratio = std::max(width / area.width(), height / area.height());
        width /= ratio;
        height /= ratio;
    }
    const auto side = [](double length) {
        return static_cast<int>(std::clamp(std::round(length), 1.0, 1e9));
    };
    return QSize(side(width), side(height));
}
