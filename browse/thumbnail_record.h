// What one shared thumbnail file says of its picture, and whether to believe it: a PNG no larger
// than its flavour allows, whose keys (Thumb::URI, Thumb::MTime and, where it gives one,
// Thumb::Size) describe the picture as it is now, and whose recorded picture size has its shape.
// Everything here reads bytes that other programs wrote, so nothing in them is trusted.
#pragma once

#include "file_stamp.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <functional>

class QIODevice;

namespace thumbnail_record {

// The thumbnail in device when it is a PNG of at most twice flavour pixels a side that describes
// the picture of uri as stamp says it is now; a null image otherwise.
QImage read(QIODevice& device, const QByteArray& uri, const FileStamp& stamp, int flavour);

// The picture's own size as the thumbnail records it, else header() (the picture's own header);
// some programs record it before the picture is turned upright, and the thumbnail upright. Empty
// when the size and the thumbnail's shape disagree.
QSize pictureSize(const QImage& thumbnail, const std::function<QSize()>& header);

} // namespace thumbnail_record
