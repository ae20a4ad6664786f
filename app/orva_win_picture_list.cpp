#include "orva_win_picture_list.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

OrvaPictureList::OrvaPictureList(const QString& name, QList<QIcon> pictures, QObject* parent)
    : QObject(parent), pictures_(std::move(pictures)) {
    setObjectName(name);
}

QIcon OrvaPictureList::picture(int index) const {
    if (index < 0 || index >= count()) {
        return {};
    }
    return pictures_[index];
}

QList<QIcon> OrvaPictureList::normalAndPressed(const QString& svgPath, int side) {
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid() || side <= 0) {
        return {QIcon(), QIcon()};
    }
    QPixmap normal(side, side);
    normal.fill(Qt::transparent);
    {
        QPainter painter(&normal);
        renderer.render(&painter);
    }
    // The pressed picture sits one pixel lower and to the right and is shaded, as a button
    // pushed in would look.
    QPixmap pressed(side, side);
    pressed.fill(Qt::transparent);
    {
        QPainter painter(&pressed);
        painter.drawPixmap(1, 1, normal);
        painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        painter.fillRect(pressed.rect(), QColor(0, 0, 0, 70));
    }
    return {QIcon(normal), QIcon(pressed)};
}
