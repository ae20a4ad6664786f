// Opening the adjustment dialog: from the menu command on the current file, or after a drop on
// the command tray's adjust target has set ADJUST_PATH and ADJUST_NAME.
#pragma once

class AdjustView;
class Program;

// MNU_FILE_CNF: the current file CAT_CURRENT of either view, or a message when there is none.
void MNU_FILE_CNF(Program& program, AdjustView& view);

// The dialog over the main window on ADJUST_PATH / ADJUST_NAME; a message when the path is empty.
void OPEN_ADJUST(Program& program, AdjustView& view);
