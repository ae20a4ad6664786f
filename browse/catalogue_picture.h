// How one catalogue cell's picture is made from its file in each display mode: large mode
// (drawn at up to a quarter of the screen's width and half its height), TIFF files and the
// 16-colour mode (through a library handle), the normal mode, and the 256-colour mode whose cells
// keep a library handle and paint from it. Every file is read through the PictureLoader.
#pragma once

#include "pelmix.h"

#include <QImage>
#include <QSize>
#include <QString>

class PictureLoader;
struct USR_SETTINGS;

class CataloguePicture {
public:
    // The picture at its natural size (what the cell fits) and the picture to draw, which may be
    // decoded smaller when the cell needs no more.
    struct Picture {
        QImage image;
        QSize natural;
    };

    // workImage is the program's WORK_IMAGE: released before each load and again when the cell's
    // picture is made, so it never outlives one cell.
    CataloguePicture(PictureLoader& loader, const USR_SETTINGS& settings, HGLOBAL& workImage)
        : loader_(loader), settings_(settings), workImage_(workImage) {}

    // The picture of path for a picture area of box pixels, by LDSP and CD16 (TIFF files always
    // go through a library handle). name is the file name, shown with the 16-colour conversion.
    // largeBounds: the large-mode limits in pixels. A null image when the file cannot be read.
    Picture make(const QString& path, const QString& name, QSize box, QSize largeBounds);

    // The 256-colour mode: a handle of the picture for box, reduced to 256 colours (the caller
    // owns it), and in natural its size as stored in the file. 0 when the file cannot be read.
    HGLOBAL make256(const QString& path, QSize box, QSize* natural);

    // A picture scaled smoothly to size; very large pictures are first thinned out, which costs
    // nothing visible at cell size and most of the time otherwise.
    static QImage scaledForCell(const QImage& picture, QSize size);

private:
    Picture fromWorkImage(const QImage& image, QSize natural);
    Picture large(const QString& path, QSize largeBounds);
    Picture throughHandle(const QString& path, const QString& name, QSize box);

    PictureLoader& loader_;
    const USR_SETTINGS& settings_;
    HGLOBAL& workImage_;
};
