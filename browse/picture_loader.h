// Every picture the catalogue shows is read through one PictureLoader, so that the cost of a
// refresh can be seen (and tested) as a number of loads. Pictures wanted for a small cell are
// decoded at reduced size where the format allows it: a JPEG through the library's DCT scaling,
// so a cell never pays for the full decode of a large photograph.
#pragma once

#include "pelmix.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

class PictureLoader {
public:
    // The picture of the file for a box of about box pixels (a JPEG decoded at the smallest
    // reduction that still covers the box, other formats whole), as a QImage for the screen.
    // natural receives the picture's size as stored in the file. A null image when the file
    // cannot be loaded.
    QImage loadImage(const QString& path, QSize box, QSize* natural = nullptr);

    // The picture as a new image handle that the caller releases with PelmixMemFree, decoded for
    // a box as above (an empty box decodes it whole). info receives the description of the
    // picture as stored in the file. 0 when the file cannot be loaded.
    HGLOBAL loadHandle(const QString& path, QSize box, IMAGE_INFO* info = nullptr);

    // The same decodes without counting them, for any thread: how pictures are read ahead.
    // firstSight, when not null, asks for a first sight of a progressive JPEG (the image library
    // stops once every coefficient has arrived) and receives whether the picture is one.
    static HGLOBAL decodeHandle(const QString& path, QSize box, IMAGE_INFO* info = nullptr,
                                bool* firstSight = nullptr);
    static QImage decodeImage(const QString& path, QSize box, QSize* natural = nullptr);
    // An estimate of the memory decodeImage takes at its peak for box, in bytes, from the file's
    // header alone: the library's own load and the picture made from it, or what the system's
    // loader takes for a file in another format.
    static qint64 decodeCost(const QString& path, QSize box);
    // The picture's size turned upright, from the file's header alone; empty when unknown.
    static QSize storedSize(const QString& path);
    // Counts a load made elsewhere (a picture read ahead, or a thumbnail shown instead).
    void note(const QString& path, QSize box) {
        paths_.append(path);
        boxes_.append(box);
    }

    // Files read since the last reset, in order (one entry per load, failed loads included).
    int loads() const { return static_cast<int>(paths_.size()); }
    const QStringList& loadedPaths() const { return paths_; }
    // The box each of those loads was decoded for.
    const QList<QSize>& loadedBoxes() const { return boxes_; }
    void resetCount() {
        paths_.clear();
        boxes_.clear();
    }

private:
    QStringList paths_;
    QList<QSize> boxes_;
};
