// The geometry of the catalogue grid, in twips: the wait frame in the middle of the panel, the
// cells row by row and a picture fitted into its cell. Pure arithmetic, so the grid can be checked
// without a window; the window converts to pixels.
#pragma once

#include <QRect>
#include <QSize>
#include <optional>

class CatalogueLayout {
public:
    // inner: the inner size of the catalogue panel; barWidth: the width of its scroll bar;
    // columns and rows: the matrix (each taken as at least 1).
    CatalogueLayout(QSize inner, int barWidth, double columns, double rows);

    // The wait frame of the given size centred on the panel whose top-left corner is panelOrigin
    // (in the coordinates of the panel's parent).
    QRect waitFrame(QSize frame, QPoint panelOrigin) const;
    // Cell index (0-based, row by row) in the panel's coordinates.
    QRect cell(int index) const;

    // A picture of the given natural size fitted into a cell of the given size, in the cell's
    // coordinates: scaled (up or down) by one factor so that it touches the available width or
    // height, centred horizontally, at a fixed distance from the top. Nothing when the cell has
    // no room for a picture or the picture has no size.
    static std::optional<QRect> fitPicture(QSize picture, QSize cell);

    // Space the cell keeps free around its picture, and the picture's top.
    static constexpr int kSideMargin = 120;
    static constexpr int kVerticalMargin = 240;
    static constexpr int kPictureTop = 180;

private:
    QSize inner_;
    int columns_;
    double cellWidth_;
    double cellHeight_;
};
