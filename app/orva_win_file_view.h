// The main window as the file operations, the drop targets, the folder dialogs and the
// adjustment dialog see it.
#pragma once

#include "adjust_view.h"
#include "file_view.h"

class ORVA_WIN;

class OrvaFileView : public FileView, public AdjustView {
public:
    explicit OrvaFileView(ORVA_WIN& window) : window_(window) {}

    QWidget* owner() override;
    DisplayRefresh& refresh() override;
    QString trayFolder() const override;
    void relistTrayFolder() override;
    void unmarkDragSource(int index) override;
    void updateCaption() override;
    void addToFolderHistory() override;
    void openPrintDialog() override;
    void openCataloguePrintDialog() override;
    void openAdjustDialog() override;

private:
    ORVA_WIN& window_;
};
