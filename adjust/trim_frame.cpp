#include "trim_frame.h"

#include <QPainter>
#include <QPen>

void TrimFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    for (const QRect& line : {outer, outer.adjusted(1, 1, -1, -1)}) {
        if (!line.isValid()) {
            continue;
        }
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(line);
        QPen dashes(Qt::black, 1, Qt::CustomDashLine);
        dashes.setDashPattern({4, 4});
        painter.setPen(dashes);
        painter.drawRect(line);
    }
}
