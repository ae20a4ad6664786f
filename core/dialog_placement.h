// Where the small dialogs open: centred over the main window, moved as little as needed to lie
// wholly on the screen the main window is on.
#pragma once

class QWidget;

void placeOverOwner(QWidget* dialog, const QWidget* owner);
