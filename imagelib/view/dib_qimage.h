// Conversions between image handles and QImage, for the program's views and for the device
// functions of this library. C++ only.
#pragma once

#include "pelmix.h"

#include <QImage>

#ifndef PELMIX_VIEW_CXX
#define PELMIX_VIEW_CXX __attribute__((visibility("default")))
#endif

/*
 * The picture of an image handle as a QImage, top row first. 1-, 4- and 8-bit images become
 * Format_Indexed8 with their colour table (padded with black to cover every index the depth
 * allows), 24-bit images Format_BGR888, 16- and 32-bit images (BI_RGB or BI_BITFIELDS) 24-bit
 * colour. The resolution is carried over. A null QImage for a bad handle. The handle is only read.
 */
PELMIX_VIEW_CXX QImage PelmixToQImage(HGLOBAL image);

/*
 * A new image handle (the caller releases it with PelmixMemFree) holding the picture: one-bit
 * pictures and indexed ones with at most two colours become 1 bit, other indexed and grey
 * pictures 8 bits with a colour table, everything else 24 bits (alpha is dropped). The resolution
 * comes from dotsPerMeterX/Y. 0 for a null image or one larger than the library accepts.
 */
PELMIX_VIEW_CXX HGLOBAL PelmixFromQImage(const QImage& picture);
