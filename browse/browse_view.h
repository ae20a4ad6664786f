// What the folder listing and the display refresh need from the main window. ORVA_WIN implements
// it with its controls; tests implement it with a recorder. Every call is made on the window's
// thread, from inside the refresh procedures.
#pragma once

#include <QSize>
#include <QString>

class QWidget;

class BrowseView {
public:
    // The two scroll bars the refresh positions: DSP8_SCR (catalogue page) and DSP1_SCR (file of
    // the single view).
    enum class Bar { Catalogue, Single };

    virtual ~BrowseView() = default;

    // The caption of the file count label PTOTAL (already formatted, e.g. " 23").
    virtual void setFileCount(const QString& caption) = 0;

    // Range of a scroll bar. Changing it may move the value; the window reports every value
    // change back through DisplayRefresh::catalogueScrolled / singleScrolled, as the user's would.
    virtual void setScrollRange(Bar bar, int min, int max, int largeChange) = 0;
    // Value of a scroll bar (already inside its range); reported back like a user's change.
    virtual void setScrollValue(Bar bar, int value) = 0;
    virtual void setScrollEnabled(Bar bar, bool enabled) = 0;

    // The wait frame DSP8_WAIT_FRM: brought to the front and shown with the caption.
    virtual void showWaitFrame(const QString& caption) = 0;
    virtual void setWaitCaption(const QString& caption) = 0;
    // The bar DSP8_WAIT_BAR filled over done/total of its width; the frame is repainted at once.
    // Its "Cancel" button (Command3) calls DisplayRefresh::cancelPressed.
    virtual void setWaitProgress(int done, int total) = 0;
    virtual void hideWaitFrame() = 0;

    // The panels CMD2_BASE, F_BASE, PIC8_BASE, DFILE_BASE, CMD_BASE and the menus MNU_FILE,
    // MNU_DISP, MNU_SETUP, MNU_HELP, disabled while the catalogue is being drawn.
    virtual void setCommandsEnabled(bool enabled) = 0;

    // Show PIC8_BASE and hide PIC1_BASE (catalogue), or the other way round (single view); the
    // shown panel comes to the front.
    virtual void showCataloguePanel() = 0;
    virtual void showSinglePanel() = 0;

    // Let the window events that are waiting run (a click on Cancel, a scroll, a button).
    virtual void processPendingEvents() = 0;

    // The screen size in pixels.
    virtual QSize screenSize() const = 0;

    // The window that owns message boxes about the folder (the main window).
    virtual QWidget* messageOwner() = 0;

    // Draw catalogue cell index (0..CMTT-1) for the file name; an empty name hides the cell.
    // The window shows the name; the catalogue view loads the picture here.
    virtual void drawCell(int index, const QString& name) = 0;
    // The current-file mark of a cell: DSP8_FRM and DSP8_NAME in the highlight colour when
    // current, in the button colour otherwise.
    virtual void markCell(int index, bool current) = 0;

    // The single view: DSP1_FRM in the highlight colour when current (button colour otherwise),
    // DSP1_NAME showing name, DSP1_FRM shown; the single view loads the picture here. An empty
    // name (no file to show) hides DSP1_FRM. next: the file the user will likely step to, which
    // the view may read ahead; empty for none.
    virtual void drawSingle(const QString& name, bool current, const QString& next) = 0;
    // Clear the picture of the single view (on the way back to the catalogue).
    virtual void clearSingle() = 0;

    // The main window layout, after the view changed.
    virtual void relayout() = 0;
};
