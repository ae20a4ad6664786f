// What counts as the user's input, and input aimed at a disabled widget. An event filter sees
// the events of its widget before the widget's own check that drops input while it is disabled;
// filters that act on input ask inputToDisabled first, so that a window disabled by one of its
// dialogs takes no click, key, wheel or drop through them.
#pragma once

#include <QEvent>

class QObject;

// Mouse, wheel, key, context menu, drag and drop, touch.
bool isUserInput(QEvent::Type type);

// True when event is the user's input and watched is a widget that is disabled, by itself or
// with the window it is in.
bool inputToDisabled(const QObject* watched, const QEvent* event);
