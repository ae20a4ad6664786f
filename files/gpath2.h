// The source-folder dialog of the move-from-folder acquisition: opens on NTWP; OK stores the
// chosen folder in NTWP.
#pragma once

#include "folder_chooser.h"

class GPATH2 : public FolderChooser {
    Q_OBJECT

public:
    GPATH2(Program& program, QWidget* owner);

protected:
    void accepted() override;
};
