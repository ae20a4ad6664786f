#include "input_block.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

bool isInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

} // namespace

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
    if (blocked_ == nullptr || !watched->isWidgetType() || !isInput(event->type())) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    return widget == blocked_ || blocked_->isAncestorOf(widget);
}
