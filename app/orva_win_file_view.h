// The main window as the file operations, the drop targets and the folder dialogs see it.
#pragma once

#include "file_view.h"

class ORVA_WIN;

class OrvaFileView : public FileView {
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
