// The picture of the single view: loads a file into DSP1_PIC, either into WORK_IMAGE (drawn from
// there at any size) or at its natural size, and shows the TOOLARGE picture with a message for a
// file that cannot be loaded. Files are read by the same PictureLoader rule as the catalogue's
// cells, so both views accept the same files.
#pragma once

#include "picture_loader.h"
#include "single_ahead.h"
#include "winport.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class Program;
class QLabel;
class QPixmap;
class QWidget;

class SinglePicture {
public:
    SinglePicture(Program& program, QLabel* picture, QLabel* tooLarge, QWidget* messageOwner);

    // Whether the settings ask for the image library (D256 or LDSP) rather than the system
    // loader.
    bool libraryMode() const;

    // Loads path into WORK_IMAGE (the previous one released first), decoded for a picture shown
    // at about box device pixels (an empty box decodes it whole), reduced to 256 colours when
    // D256 asks for it and the picture is full colour. The size of the picture as stored; an
    // empty size (and WORK_IMAGE 0) when it cannot be loaded. window: the picture window, for
    // a picture read ahead and drawn for it already.
    QSize loadWithLibrary(const QString& path, QSize box = {}, QSize window = {});
    // Draws WORK_IMAGE stretched to size into DSP1_PIC, which takes that size. False without a
    // picture to draw.
    bool drawWorkImage(QSize size);
    // Whether WORK_IMAGE still holds the picture this view drew (the catalogue may have taken
    // the handle over since).
    bool holdsWorkImage() const;
    // The size as stored in the file of the picture in WORK_IMAGE; empty without one.
    QSize storedSize() const;
    // The box WORK_IMAGE was decoded for when it holds less than the stored picture; empty when
    // it holds the whole picture.
    QSize decodedFor() const { return holdsWorkImage() ? decodedFor_ : QSize(); }

    // System-loader mode: the picture at its natural size, WORK_IMAGE released. False when it
    // cannot be loaded.
    bool loadNatural(const QString& path);

    // The message "<path>は大きすぎて読み込めません" and the TOOLARGE picture in DSP1_PIC.
    void showTooLarge(const QString& path);

    // Reads path ahead on the worker, as the next load will want it (box and window as for
    // loadWithLibrary), and forgets what was read ahead.
    void readAhead(const QString& path, QSize box, QSize window);
    void forgetAhead();
    SingleAhead& ahead() { return ahead_; }
    // WORK_IMAGE is a first sight whose final picture is still to come.
    bool showsFirstSight() const { return refining_.has_value() && holdsWorkImage(); }
    // Called on the window's thread once a picture shown from a first sight was replaced in
    // WORK_IMAGE by its final one, to draw it.
    std::function<void()> refined;

    // Releases WORK_IMAGE (before every load).
    void releaseWorkImage();
    // Empties DSP1_PIC.
    void clear();

    PictureLoader& loader() { return loader_; }

private:
    void setPicture(const QPixmap& pixmap);
    // Whether the present settings let pictures be read ahead.
    bool readsAhead() const;
    // The one decode of the view, on either thread (firstSight: see PictureLoader::decodeHandle).
    static SingleAhead::Picture decode(const SingleAhead::Request& request,
                                       bool* firstSight = nullptr);
    // A final picture the worker decoded for the first sight in WORK_IMAGE takes its place.
    void takeFinal();

    Program& program_;
    QLabel* picture_;
    QLabel* tooLarge_;
    QWidget* owner_;
    PictureLoader loader_;
    HGLOBAL drawn_ = nullptr; // the WORK_IMAGE handle this view loaded, for holdsWorkImage
    QSize stored_;
    QSize decodedFor_;
    QImage prepared_; // WORK_IMAGE drawn ahead for its window
    // WORK_IMAGE is a first sight; the worker decodes this for its final picture.
    std::optional<SingleAhead::Request> refining_;
    QObject context_; // the worker's news reach the window's thread through it
    SingleAhead ahead_;
};
