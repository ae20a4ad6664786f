// The page size part of a scan window: a paper (or the whole area, or a size of the user's own),
// its orientation, and the frame in millimetres (width, height, left, top), which a paper fills
// in and the user's own size lets the user type. Whatever is chosen stays on the device's area.
#pragma once

#include "paper_size.h"
#include "scan_settings.h"

#include <QRectF>
#include <QWidget>
#include <vector>

class QComboBox;
class QDoubleSpinBox;

namespace twaindsm {

class PaperAreaFields : public QWidget {
    Q_OBJECT
public:
    // area: the device's whole area; frame: the one to show first. Both in inches.
    PaperAreaFields(const Frame& area, const Frame& frame, QWidget* parent = nullptr);

    // The frame chosen, in inches from the area's top-left corner.
    Frame frame() const;
    // The same in millimetres, and a frame drawn elsewhere (on the preview): the user's own size.
    QRectF frameMm() const;
    void chooseFrameMm(const QRectF& frame);

signals:
    // The frame shown changed: a paper, an orientation, a number.
    void frameChanged(const QRectF& frameMm);

private:
    void paperChosen();
    void fieldsChanged();
    void showFrame(double left, double top, double width, double height);

    double areaWidth_;  // mm
    double areaHeight_; // mm
    std::vector<PaperSize> sizes_;
    QComboBox* paperBox_;
    QComboBox* orientationBox_;
    QDoubleSpinBox* widthBox_;
    QDoubleSpinBox* heightBox_;
    QDoubleSpinBox* leftBox_;
    QDoubleSpinBox* topBox_;
};

} // namespace twaindsm
