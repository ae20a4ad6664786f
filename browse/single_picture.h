// The picture of the single view: loads a file into DSP1_PIC, either through the image library
// (kept in WORK_IMAGE and drawn from there at any size) or with the system picture loader at its
// natural size, and shows the TOOLARGE picture with a message for a file that cannot be loaded.
#pragma once

#include "winport.h"

#include <QSize>
#include <QString>

class Program;
class QLabel;
class QPixmap;
class QWidget;

class SinglePicture {
public:
    SinglePicture(Program& program, QLabel* picture, QLabel* tooLarge, QWidget* messageOwner)
        : program_(program), picture_(picture), tooLarge_(tooLarge), owner_(messageOwner) {}

    // Whether the settings ask for the image library (D256 or LDSP) rather than the system
    // loader.
    bool libraryMode() const;

    // Loads path with the image library into WORK_IMAGE (the previous one released first),
    // reduced to 256 colours when D256 asks for it and the picture is full colour. The size of
    // the picture as stored; an empty size (and WORK_IMAGE 0) when it cannot be loaded.
    QSize loadWithLibrary(const QString& path);
    // Draws WORK_IMAGE stretched to size into DSP1_PIC, which takes that size. False without a
    // picture to draw.
    bool drawWorkImage(QSize size);
    // Whether WORK_IMAGE still holds the picture this view drew (the catalogue may have taken
    // the handle over since).
    bool holdsWorkImage() const;
    // The stored size of WORK_IMAGE; empty without one.
    QSize workImageSize() const;

    // System-loader mode: the picture at its natural size. A ".TIF" file goes through the image
    // library (WORK_IMAGE is released again afterwards), everything else through the system
    // loader. False when it cannot be loaded.
    bool loadNatural(const QString& path);

    // The message "<path>は大きすぎて読み込めません" and the TOOLARGE picture in DSP1_PIC.
    void showTooLarge(const QString& path);

    // Releases WORK_IMAGE (before every load).
    void releaseWorkImage();
    // Empties DSP1_PIC.
    void clear();

private:
    void setPicture(const QPixmap& pixmap);

    Program& program_;
    QLabel* picture_;
    QLabel* tooLarge_;
    QWidget* owner_;
    HGLOBAL drawn_ = nullptr; // the WORK_IMAGE handle this view loaded, for holdsWorkImage
};
