// The row of buttons at the foot of the small dialogs: OK and Cancel on the right, named as the
// dialog's own controls are named.
#pragma once

class QHBoxLayout;
class QPushButton;
class QWidget;

QHBoxLayout* okCancelRow(QWidget* dialog, QPushButton*& ok, const char* okName,
                         QPushButton*& cancel, const char* cancelName);
