// The pages of the built-in virtual scanner: a white sheet with a black frame, a row of colour
// bars along the top and the page number drawn large in the middle, so that a test or a user can
// tell at a glance which page arrived, in which pixel type and whether it was cropped.
#pragma once

#include "twain_protocol.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <array>

class QPainter;

namespace twaindsm {

// Where the parts of a page of a given size lie, in pixels from the top-left corner. Shared by
// the drawing and by anyone checking a page's content.
struct VirtualPageLayout {
    QSize size;
    QRect frame;        // outer edge of the black frame
    int frameWidth = 1; // thickness of its lines
    std::array<QRect, 8> bars;
    QRect number; // the box the page number is drawn into
};

// The bar colours, left to right.
const std::array<QColor, 8>& virtualBarColours();

VirtualPageLayout layoutVirtualPage(QSize size);

// Draws a page (page coordinates; the painter may be translated to draw one band of it). Only
// filled rectangles are used, so no fonts and therefore no application object are needed.
void paintVirtualPage(QPainter& painter, const VirtualPageLayout& layout, int pageNumber);

struct VirtualPageRequest {
    int width = 1;
    int height = 1;
    TW_UINT16 pixelType = TWPT_RGB;
    double xResolution = 150; // dots per inch
    double yResolution = 150;
    int threshold = 128; // black and white: grey levels below it are black
    int pageNumber = 1;
};

// Pixel size of a frame (inches) at a resolution (dots per inch), at least 1 x 1. Values too
// large for an int come back as INT_MAX so that the size check refuses them.
QSize virtualPageSize(double widthInches, double heightInches, double xResolution,
                      double yResolution);

// The page as a packed bottom-up DIB in a movable global-memory handle: 1 bit for TWPT_BW,
// 8 bits with a grey ramp for TWPT_GRAY, 24 bits for TWPT_RGB, 8 bits with a fixed colour table
// for TWPT_PALETTE. 0 when the size is beyond the image library's limits or memory runs out.
HGLOBAL renderVirtualPage(const VirtualPageRequest& request);

} // namespace twaindsm
