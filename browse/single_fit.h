// The sums of the single view: the size a picture is shown at, and the scroll ranges that
// follow from it. Sizes are in pixels.
#pragma once

#include <QSize>

class SingleFit {
public:
    // The shown size of a picture of the given size in an area: magnification 0 (or anything
    // not above 0) fits it into the area, enlarging small pictures and reducing large ones with
    // their proportions; any other magnification multiplies both sides. Never smaller than 1 x 1
    // for a real picture; an empty area leaves the picture at its own size.
    static QSize shownSize(QSize picture, QSize area, float magnification);

    // The largest scroll value: how far the picture reaches past its window. Negative when the
    // picture is smaller than the window.
    static int scrollMax(int picture, int window) { return picture - window; }
    // The scroll value (and minus the picture's offset) that puts the picture at the middle; for
    // a negative maximum, minus it centres the smaller picture in its window.
    static int middle(int max) { return max / 2; }
    // The step of a click beside the scroll bar's thumb; 0 when there is no usable step.
    static int largeChange(int max) { return max >= 8 ? max / 8 : 0; }
};
