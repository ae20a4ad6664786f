// The catalogue view of the main window: the grid layout of its twelve cells, the drawing of the
// cells during a catalogue refresh (keeping pictures of unchanged files, moving them when the page
// shifts, thumbnails of the companion program, the display modes) and the current-file mark.
// The cells' mouse behaviour is CatalogueInput's.
#pragma once

#include "catalogue_controls.h"
#include "catalogue_input.h"
#include "decode_ahead.h"
#include "picture_loader.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>
#include <array>
#include <optional>

class Program;
class QRect;
struct BrowsingState;

class CatalogueView : public QObject {
    Q_OBJECT

public:
    static constexpr int kCells = CatalogueControls::kCells;
    // The wait frame's size in twips.
    static constexpr int kWaitWidth = 3900;
    static constexpr int kWaitHeight = 1350;
    // How long the cells' size must stay still before grown cells are decoded again.
    static constexpr int kRegrowDelayMs = 150;

    CatalogueView(Program& program, const CatalogueControls& controls);
    ~CatalogueView() override;

    // Places the scroll bar, the wait frame and every cell for the present size of PIC8_BASE and
    // fits the pictures; cells at or beyond CMTT and cells without a file are hidden. Runs by
    // itself whenever PIC8_BASE changes size.
    void CATALOGUE_LAYOUT();

    // Draws cell index (0..CMTT-1) of the page just read for name ("" = no file). The refresh
    // calls it for every cell in turn, cell 0 first; at cell 0 pictures of files still on the
    // page are moved to their new cells.
    void drawCell(int index, const QString& name);

    // The current-file mark of cell index: frame and name box in the highlight colour (current)
    // or the button colour; the check box shows it too.
    void markCell(int index, bool current);
    // Unmarks the first cell below CMTT showing CAT_CURRENT.
    void UNMARK_CURRENT_CELL();

    // The natural size of cell index's picture (PAGE_SIZE); empty when the cell has none.
    QSize pictureSize(int index) const;
    // The rectangle of cell index and of its picture (in the cell) in twips, as last laid out.
    QRect cellTwips(int index) const;
    std::optional<QRect> pictureTwips(int index) const;

    PictureLoader& loader() { return loader_; }
    DecodeAhead& ahead() { return ahead_; }
    // No refresh runs and no cell waits to be decoded again for a grown size.
    bool settled() const;
    CatalogueInput& input() { return input_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int pixelsX(double twips) const;
    int pixelsY(double twips) const;
    QRect toPixels(const QRect& twips) const;
    static QRect pixelRect(const QRect& twips, double dpiX, double dpiY);
    int cellsPerPage() const;
    void drawCellNow(int index, const QString& name);
    void shiftPictures();
    void moveCell(int from, int to);
    void drawPicture(int index, const QString& name);
    void showNoPicture(int index);
    void placeName(int index, const QString& name);
    void placePicture(int index);
    void clearPicture(int index);
    QString thumbnailPrefix();
    // Whether this display mode's pictures are decoded ahead: pictures drawn at cell size in
    // full colour, the normal mode.
    bool decodesAhead() const;
    // What cell index reads for the file name: its companion thumbnail when one is up to date.
    DecodeAhead::Request requestFor(int index, const QString& name);
    // The cells of this page that will be drawn, and after the last one the next page in the
    // direction of travel, handed to the workers.
    void queueThisPage();
    void queueNextPage();
    void paintHandle(int index);
    // The picture area of cell index in device pixels: what the library decodes for.
    QSize pictureBox(int index) const;
    void noteGrownCells();
    void redecodeGrownCells();

    Program& program_;
    CatalogueControls c_;
    BrowsingState& state_;
    PictureLoader loader_;
    DecodeAhead ahead_;
    CatalogueInput input_;
    // What the view keeps of each cell besides its controls.
    struct Cell {
        QRect twips;
        QSize pageSize;          // PAGE_SIZE
        QImage picture;          // the picture before scaling to the cell
        QImage ready;            // and scaled already, until it is placed
        bool fromHandle = false; // painted from PAGE_IMAGE (256-colour mode)
        // The box a reduced picture was decoded for; empty when the picture is at its natural
        // size. A cell grown past it is decoded again once the resizing has settled.
        QSize decodedFor;
        QString shownName;
        QString shownDate;
    };
    std::array<Cell, kCells> cells_{};
    QTimer regrowTimer_;
    std::optional<QString> thumbnails_; // asked once per refresh
    bool paintLock_ = false;            // CAT_PAINT_LOCK
};
