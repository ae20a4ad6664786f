#include "input_block.h"

#include "disabled_input.h"

#include <QCoreApplication>
#include <QEvent>

void InputBlock::setActive(bool active) {
    if (active == active_ || QCoreApplication::instance() == nullptr) {
        return;
    }
    active_ = active;
    if (active) {
        QCoreApplication::instance()->installEventFilter(this);
    } else {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

bool InputBlock::eventFilter(QObject* watched, QEvent* event) {
    if (blocked_ == nullptr || !watched->isWidgetType() || !isUserInput(event->type())) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    return widget == blocked_ || blocked_->isAncestorOf(widget);
}
