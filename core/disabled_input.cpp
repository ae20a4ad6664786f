#include "disabled_input.h"

#include <QWidget>

bool isUserInput(QEvent::Type type) {
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

bool inputToDisabled(const QObject* watched, const QEvent* event) {
    if (!isUserInput(event->type())) {
        return false;
    }
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return widget != nullptr && !widget->isEnabled();
}
