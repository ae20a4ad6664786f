// The thumbnails that desktop programs share: PNG files in the user's thumbnail cache
// ($XDG_CACHE_HOME/thumbnails/large and x-large), named by the MD5 of the picture's file URI and
// carrying the URI and the picture's modification time, so that a thumbnail made here serves the
// file managers and one made by them serves the catalogue. A thumbnail is only believed while its
// URI, time (and size, where it says one) match the file and it was written after the second the
// file last changed in; anything else is ignored.
#pragma once

#include "file_stamp.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class SharedThumbnails {
public:
    // The cache's folder for this user; "" when there is no home to keep it in.
    static QString userCache();

    // A cache kept in root (the "thumbnails" folder). An empty root: no cache, nothing is read or
    // written.
    explicit SharedThumbnails(QString root = QString()) : root_(std::move(root)) {}
    bool enabled() const { return !root_.isEmpty(); }
    const QString& root() const { return root_; }

    // The file URI of an absolute path (a name as the program keeps it): the path's own bytes,
    // percent-encoded where a URI path may not hold them.
    static QByteArray uriOf(const QString& absolutePath);
    // Where the thumbnail of that URI lives for a flavour (the largest side it holds: 256 or 512).
    QString fileOf(const QByteArray& uri, int flavour) const;

    // The box to decode a picture for when it may become a thumbnail: at least the smaller
    // flavour, so that one can be made from it.
    static QSize decodeBox(QSize box);

    struct Found {
        QImage image;
        QSize natural; // the picture's own size
        QString file;  // the thumbnail read
    };
    // A valid thumbnail of path (stamp: the file as it is now) large enough to fill a picture
    // area of box pixels; a null image when there is none.
    Found find(const QString& path, const FileStamp& stamp, QSize box) const;

    // Keeps decoded (the picture as it was decoded for box; natural: its own size) as the
    // smallest thumbnail that fills what a picture area of box pixels shows of it. Written to a
    // temporary file and renamed, readable by the user alone. False when none was written: no
    // flavour serves the cell, the picture is no larger than the thumbnail would be, or the write
    // failed.
    bool store(const QString& path, const FileStamp& stamp, const QImage& decoded, QSize natural,
               QSize box) const;

private:
    QString root_;
};
