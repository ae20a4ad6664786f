// Where the single-picture print puts the picture on the printable area, in millimetres: read
// once from the dialog's boxes, then both drawn in the preview and handed to the printer.
#pragma once

#include "winport.h"

#include <QRect>

struct PicturePlacement {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    // In tenths of a millimetre, each to the nearest, halves to the even neighbour: what the
    // printer is given.
    RECT tenths() const;
    // On a preview of the paper drawn scale pixels a millimetre, at least one pixel each way.
    QRect onPreview(double scale) const;
};
