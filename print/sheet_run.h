// What one walk of the catalogue print over its pages works from.
#pragma once

#include "catalogue_sheet.h"
#include "pelmix_view.h"

#include <QStringList>

// One walk over the pages: what the controls said when it began.
struct SheetRun {
    QStringList names;
    int columns = 1;
    int rows = 1;
    int pages = 0;
    bool rightToLeft = false;
    bool fileNames = false;
    bool path = false;
    bool pageNumbers = false;
    SheetGeometry geometry;
    HDC dc = nullptr; // the printer while printing
};
