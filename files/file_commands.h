// The file menu's delete and rename commands, on the file the user last clicked (CAT_CURRENT).
#pragma once

class FileView;
class Program;

void MNU_FILE_DELETE(Program& program, FileView& view);
// Opens the rename dialog (window-modal) on CAT_CURRENT.
void MNU_FILE_RENAME(Program& program, FileView& view);
// Opens the rename dialog (window-modal) on RENAME_NAME, set by the caller (a click on a name).
void OPEN_RENAME(Program& program, FileView& view);
