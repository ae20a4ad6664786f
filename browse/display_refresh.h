// The two refresh procedures of the main window and the events that call them. Every refresh
// lists the display folder afresh; the catalogue refresh lets window events run while it draws,
// so it guards itself against re-entry (CAT_BUSY) and can be stopped by the wait frame's Cancel.
#pragma once

#include "browsing.h"
#include "page_reader.h"

#include <QSize>
#include <QString>
#include <array>

class BrowseView;
class Program;

class DisplayRefresh {
public:
    DisplayRefresh(Program& program, BrowseView& view);

    // Reads the catalogue page (1 next, -1 previous, 0 from PAGE_ANCHOR) and draws its cells.
    // Dropped when a catalogue refresh is already running.
    void REFRESH_CATALOGUE(int direction);
    // Reads the single view's file (1 next, -1 previous, 0 ONE_NAME) and draws it.
    void REFRESH_SINGLE(int direction);
    // Marks the cell showing CAT_CURRENT, unmarks the others.
    void MARK_CURRENT_CELL();

    // BTN_REDISP_GO / MNU_DISP_REDISP: redraw the current view in place.
    void redrawInPlace();
    // BTN_DISP_GO: from the catalogue to the single view or back, by DSPM. The window changes
    // the button's pictures around the call.
    void switchView();
    // To the single view on the current file, or on the page's first file when there is none
    // or fromCurrent is false (the menu's "one picture" always starts at the page).
    void toSingle(bool fromCurrent = true);
    // Back to the catalogue, read again anchored on the single view's file when the page is
    // stale (a file left while the single view showed) or does not show that file.
    void toCatalogue();
    // DSP8_SCR and DSP1_SCR changed to value (1 = first file).
    void catalogueScrolled(int value);
    void singleScrolled(int value);
    // Next / previous page of the catalogue, next / previous file of the single view.
    void nextPage() { REFRESH_CATALOGUE(1); }
    void previousPage() { REFRESH_CATALOGUE(-1); }
    // The next file in the single view; at the last file nothing is read or drawn again. The
    // folder is listed once per step.
    void nextFile();
    void previousFile() { REFRESH_SINGLE(-1); }
    // The display folder became folder: chosen by the user (history, folder dialog, file tray,
    // a folder dropped on the window, the settings) or the one an acquisition stored its pages
    // in. The current view shows it from firstFile, or from its first file when firstFile is
    // "" or no longer listed. Another folder than the one on show has no current file yet, and
    // its cells are all drawn anew, even where a file of the same name and time is listed.
    void folderChanged(const QString& folder, const QString& firstFile = QString());
    // The display folder shown afresh from its first file.
    void displayFolderChanged();
    // Every cell of the page is drawn again at the next catalogue refresh (a setting that
    // changes how cells look).
    void forgetPictures();
    // Command3 ("Cancel") on the wait frame: the rest of this refresh draws names only.
    void cancelPressed();

    // Another part changed a file of the display folder; the view follows the folder as it now
    // is. name left it (moved away, or deleted through the trash target) after it was dragged
    // from the catalogue's cell: the single view moves on to the neighbour.
    void fileLeft(const QString& name, int cell);
    // A picture was dropped on a target (copy, move, trash, print, adjust, an editor): before the
    // target acts, nothing is current any more.
    void pictureDropped();
    // The menu deleted name (CAT_CURRENT), which the single view need not be showing.
    void fileDeleted(const QString& name);
    void fileRenamed(const QString& oldName, const QString& newName);
    // The file at path was written anew; true when a view shows it and should be drawn again
    // (a cell showing it then reads its picture again).
    bool fileChanged(const QString& path);

    // For drawing the cells: the bounds of a large-mode picture (a quarter of the screen's
    // width, half its height, in pixels) and the names and date-time texts the cells had before
    // this refresh read the page.
    QSize largeBounds() const { return largeBounds_; }
    const std::array<QString, browsing::kSlots>& oldNames() const { return oldNames_; }
    const std::array<QString, browsing::kSlots>& oldDates() const { return oldDates_; }

    PageReader& reader() { return reader_; }
    const PageReader& reader() const { return reader_; }
    // The way the user last paged through the catalogue: 1 forwards, -1 backwards.
    int travel() const { return travel_; }

private:
    // Draws ONE_NAME (or the empty view) after its position was read, and names the file the
    // user is likely to step to next.
    void drawSingleFile();

    Program& program_;
    BrowseView& view_;
    PageReader reader_;
    QSize largeBounds_;
    int travel_ = 1;
    int singleTravel_ = 1; // the same for the single view's files
    std::array<QString, browsing::kSlots> oldNames_;
    std::array<QString, browsing::kSlots> oldDates_;
};
