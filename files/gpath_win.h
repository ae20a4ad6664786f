// The display-folder dialog: opens on DISP_DIR; OK makes the chosen folder the display folder and
// shows it from its first file.
#pragma once

#include "folder_chooser.h"

class FileView;

class GPATH_WIN : public FolderChooser {
    Q_OBJECT

public:
    // ownWindow: opened from the menu, a window of its own beside the main window (owner).
    GPATH_WIN(Program& program, FileView& view, QWidget* owner, bool ownWindow = false);

protected:
    void accepted() override;

private:
    FileView& view_;
};
