// The one deletion of the program: asks, then moves a file of the display folder to the desktop
// trash together with the companion program's thumbnail of it.
#pragma once

#include <QString>
#include <cstdint>

class Program;
class QWidget;

// Asks whether name (a file of DISP_DIR) is to be deleted; 0 when the user agreed and the file
// was handed to the trash, -1 when the user declined. A file the trash refuses is reported in a
// message (the result is still 0: the view is refreshed and shows the file where it is).
int16_t DELETE_FILE(Program& program, QWidget* owner, const QString& name);
