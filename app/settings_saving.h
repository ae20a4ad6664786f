// Saving the settings while the program runs: the main window's folder and place are taken at
// that moment, and a save that fails (a full disk, a read-only folder) is told to the user; the
// settings stay in effect for the running program either way.
#pragma once

class Program;
class QWidget;

// true when ORVA.CNF was written.
bool saveSettingsNow(Program& program, QWidget* mainWindow);
