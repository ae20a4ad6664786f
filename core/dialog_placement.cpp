#include "dialog_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>

void placeOverOwner(QWidget* dialog, const QWidget* owner) {
    dialog->adjustSize();
    QSize size = dialog->frameGeometry().size().expandedTo(dialog->size());
    QScreen* screen = owner != nullptr && owner->screen() != nullptr
                          ? owner->screen()
                          : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    size = size.boundedTo(area.size());
    const QRect over = owner != nullptr ? owner->frameGeometry() : area;
    QPoint topLeft = over.center() - QPoint(size.width() / 2, size.height() / 2);
    topLeft.setX(std::clamp(topLeft.x(), area.left(), area.right() + 1 - size.width()));
    topLeft.setY(std::clamp(topLeft.y(), area.top(), area.bottom() + 1 - size.height()));
    dialog->move(topLeft);
}
