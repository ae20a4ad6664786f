// An event filter sees the events of its widget before the widget's own check that drops input
// while it is disabled. Filters that act on input ask this first, so that a window disabled by
// one of its dialogs takes no click, key, wheel or drop through them.
#pragma once

class QEvent;
class QObject;

// True when event is the user's input (mouse, wheel, key, context menu, drag and drop, touch)
// and watched is a widget that is disabled, by itself or with the window it is in.
bool inputToDisabled(const QObject* watched, const QEvent* event);
