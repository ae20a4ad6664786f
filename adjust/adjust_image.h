// The picture the adjustment dialog works on: the loaded image with every turn, flip, negative
// and cut-out applied so far (ADJ_BASE), and a copy of it reduced to the size it is shown at, so
// that a change of brightness or balance redraws quickly however large the picture is. Saves
// use the full-resolution image.
#pragma once

#include "pelmix.h"

#include <QSize>
#include <QString>

class AdjustImage {
public:
    AdjustImage() = default;
    ~AdjustImage();
    AdjustImage(const AdjustImage&) = delete;
    AdjustImage& operator=(const AdjustImage&) = delete;

    // Releases the image and loads path (escaped bytes allowed); 0 is kept when it cannot be read.
    void load(const QString& path);
    void release();

    HGLOBAL base() const { return base_; }
    // The description of the base image (zero-filled when there is none).
    IMAGE_INFO info() const;

    // TURN index 0..5: 90 degrees right, 90 left, 180, mirror, flip, negative. An operation the
    // library refuses leaves the image as it was (false).
    bool turn(int index);
    // The pixels left..right x top..bottom (inclusive) become the image; false, image unchanged,
    // when nothing of the rectangle lies on it.
    bool cut(int left, int top, int right, int bottom);

    // A new 24-bit image: source with brightness bright (-255..255, in hundredths of the
    // library's factor) and the balance red, green, blue applied. 0 when source is 0.
    static HGLOBAL adjusted(HGLOBAL source, int bright, int red, int green, int blue);

    // The base reduced to fit within bounds (never enlarged; the base itself when it fits).
    // Kept until the base changes or bounds outgrow it; the image stays owned here.
    HGLOBAL preview(QSize bounds);

private:
    void replaceBase(HGLOBAL image);
    void dropPreview();

    HGLOBAL base_ = nullptr;
    HGLOBAL preview_ = nullptr; // 0 while the base itself serves as preview
    QSize previewSize_;         // size of preview_, or of the base when it serves
    bool previewValid_ = false;
};
