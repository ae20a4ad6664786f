// What the file operations, the drop targets and the folder dialogs need from the main window.
// ORVA_WIN implements it with its controls; tests implement it with a recorder.
#pragma once

#include <QString>

class DisplayRefresh;
class QWidget;

class FileView {
public:
    virtual ~FileView() = default;

    // The main window: owner of the dialogs and message boxes.
    virtual QWidget* owner() = 0;

    // The refresh procedures of the views (REFRESH_CATALOGUE, REFRESH_SINGLE).
    virtual DisplayRefresh& refresh() = 0;

    // The folder selected in the file tray's folder list F_DIR (as the list shows it, without a
    // guaranteed trailing "/"); "" when none is selected.
    virtual QString trayFolder() const = 0;
    // Lists F_DIR afresh (after a folder was made in it).
    virtual void relistTrayFolder() = 0;

    // The cell frame DSP8_FRM and name box DSP8_NAME of catalogue cell index (or, for -1, the
    // single view's DSP1_FRM) back in the button colour, repainted.
    virtual void unmarkDragSource(int index) = 0;

    // The main window's caption, after the display folder changed.
    virtual void updateCaption() = 0;
    // The display folder became DISP_DIR: the history box and the folder history follow.
    virtual void addToFolderHistory() = 0;

    // The dialogs of the other areas, opened on the hand-over values already set: the single
    // print dialog (PRINT_PATH), the catalogue print dialog and the adjustment dialog
    // (ADJUST_PATH, ADJUST_NAME).
    virtual void openPrintDialog() = 0;
    virtual void openCataloguePrintDialog() = 0;
    virtual void openAdjustDialog() = 0;
};
