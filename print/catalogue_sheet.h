// The arithmetic of catalogue sheets: cell and picture sizes on the printable area, the place of
// each file on its page, the labels under the pictures (name without extension, coloured by
// kind, shortened with "~" until it fits) and the rectangles handed to the printer.
#pragma once

#include "winport.h"

#include <QColor>
#include <QString>
#include <functional>

struct SheetGeometry {
    double usableHeight = 0; // the printable height less the foot lines
    double cellWidth = 0;
    double cellHeight = 0;
    double pictureWidth = 0;
    double pictureHeight = 0;
};

// Millimetres; columns and rows at least 1.
SheetGeometry sheetGeometry(double pageWidth, double pageHeight, int columns, int rows,
                            bool fileNames, bool path, bool pageNumbers);

// Where the file number position (0-based, in list order) goes: its page (1-based) and its row
// and column on it (1-based); with rightToLeft a row fills from the last column.
struct SheetPlace {
    int page = 0;
    int row = 0;
    int column = 0;
};
SheetPlace sheetPlace(int position, int columns, int rows, bool rightToLeft);

// The rectangle of the picture in cell (row, column), in tenths of a millimetre, rounded.
RECT pictureRectangle(const SheetGeometry& geometry, int row, int column);

// The label of a file: its name without the extension (a name without a point stays whole).
QString labelText(const QString& name);
// The colour of the label by the path's last four characters: ".BMP" black, ".JPG" light green,
// ".TIF" light cyan, anything else black.
QColor labelColour(const QString& path);
// text shortened with "~" until widthMm(text) is at most limit: "~?" for a text of three
// characters or fewer; else the first k characters, "~" and the last three, k falling from the
// length less three while it is still too wide.
QString fittedLabel(const QString& text, double limit,
                    const std::function<double(const QString&)>& widthMm);

// The page number line: "2/3ベージ".
QString pageNumberText(int page, int pages);
