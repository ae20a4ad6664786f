// Pictures of the print previews: drawn through the image library as the screen shows pictures
// (a palette display gets an 8-bit copy), from a copy reduced once to the preview's size so that
// a redraw after each typed digit stays quick on big pictures.
#pragma once

#include "winport.h"

#include <QPixmap>
#include <QSize>

// A copy of image no larger than about twice frame (the image itself copied when it is smaller);
// 0 for no image. The caller releases it.
HGLOBAL reducedForPreview(HGLOBAL image, QSize frame);

// image drawn stretched to size.
QPixmap previewPixmap(HGLOBAL image, QSize size);
