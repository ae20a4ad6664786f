#include "paper_area_fields.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

namespace twaindsm {

namespace {

constexpr double kMmPerInch = 25.4;

QDoubleSpinBox* millimetres(QWidget* parent, const char* name) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" mm"));
    box->setKeyboardTracking(false);
    return box;
}

bool near(double a, double b) {
    return std::fabs(a - b) < 0.6;
}

} // namespace

PaperAreaFields::PaperAreaFields(const Frame& area, const Frame& frame, QWidget* parent)
    : QWidget(parent), areaWidth_((area.right - area.left) * kMmPerInch),
      areaHeight_((area.bottom - area.top) * kMmPerInch),
      sizes_(PaperSize::offered(areaWidth_, areaHeight_)), paperBox_(new QComboBox(this)),
      orientationBox_(new QComboBox(this)), widthBox_(millimetres(this, "frameWidthBox")),
      heightBox_(millimetres(this, "frameHeightBox")), leftBox_(millimetres(this, "frameLeftBox")),
      topBox_(millimetres(this, "frameTopBox")) {
    paperBox_->setObjectName("paperBox");
    orientationBox_->setObjectName("orientationBox");
    for (const PaperSize& size : sizes_) {
        paperBox_->addItem(size.name);
    }
    orientationBox_->addItem(tr("縦"));
    orientationBox_->addItem(tr("横"));
    widthBox_->setRange(1, areaWidth_);
    heightBox_->setRange(1, areaHeight_);
    leftBox_->setRange(0, areaWidth_);
    topBox_->setRange(0, areaHeight_);

    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(tr("用紙サイズ(&Z):"), paperBox_);
    form->addRow(tr("向き(&N):"), orientationBox_);
    form->addRow(tr("幅(&W):"), widthBox_);
    form->addRow(tr("高さ(&H):"), heightBox_);
    form->addRow(tr("左端(&L):"), leftBox_);
    form->addRow(tr("上端(&T):"), topBox_);

    // The frame shown first: a paper at the corner, the whole area, or the user's own.
    const double left = (frame.left - area.left) * kMmPerInch;
    const double top = (frame.top - area.top) * kMmPerInch;
    const double width = (frame.right - frame.left) * kMmPerInch;
    const double height = (frame.bottom - frame.top) * kMmPerInch;
    int chosen = int(sizes_.size()) - 1; // custom
    int turned = 0;
    for (size_t i = 0; i < sizes_.size(); ++i) {
        const PaperSize& size = sizes_[i];
        if (size.kind == PaperSize::Kind::Custom || !near(left, 0) || !near(top, 0)) {
            continue;
        }
        if (near(width, size.width) && near(height, size.height)) {
            chosen = int(i);
            break;
        }
        if (size.kind == PaperSize::Kind::Paper && near(width, size.height) &&
            near(height, size.width)) {
            chosen = int(i);
            turned = 1;
            break;
        }
    }
    paperBox_->setCurrentIndex(chosen);
    orientationBox_->setCurrentIndex(turned);
    showFrame(left, top, width, height);
    paperChosen();

    connect(paperBox_, &QComboBox::currentIndexChanged, this, [this] { paperChosen(); });
    connect(orientationBox_, &QComboBox::currentIndexChanged, this, [this] { paperChosen(); });
    for (QDoubleSpinBox* box : {widthBox_, heightBox_, leftBox_, topBox_}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { fieldsChanged(); });
    }
}

void PaperAreaFields::paperChosen() {
    const PaperSize& size = sizes_[size_t(std::max(0, paperBox_->currentIndex()))];
    const bool custom = size.kind == PaperSize::Kind::Custom;
    const bool paper = size.kind == PaperSize::Kind::Paper;
    for (QDoubleSpinBox* box : {widthBox_, heightBox_, leftBox_, topBox_}) {
        box->setReadOnly(!custom);
    }
    // A paper that fits one way only is shown that way.
    const bool portrait = size.fitsPortrait(areaWidth_, areaHeight_);
    const bool landscape = size.fitsLandscape(areaWidth_, areaHeight_);
    {
        const QSignalBlocker quiet(orientationBox_);
        if (paper && !landscape) {
            orientationBox_->setCurrentIndex(0);
        } else if (paper && !portrait) {
            orientationBox_->setCurrentIndex(1);
        }
    }
    orientationBox_->setEnabled(paper && portrait && landscape);
    if (custom) {
        return;
    }
    const bool turned = paper && orientationBox_->currentIndex() == 1;
    showFrame(0, 0, std::min(turned ? size.height : size.width, areaWidth_),
              std::min(turned ? size.width : size.height, areaHeight_));
}

void PaperAreaFields::fieldsChanged() {
    // The frame stays on the area: an offset leaves the room it takes.
    showFrame(leftBox_->value(), topBox_->value(), widthBox_->value(), heightBox_->value());
}

void PaperAreaFields::showFrame(double left, double top, double width, double height) {
    const QSignalBlocker quietWidth(widthBox_);
    const QSignalBlocker quietHeight(heightBox_);
    const QSignalBlocker quietLeft(leftBox_);
    const QSignalBlocker quietTop(topBox_);
    left = std::clamp(left, 0.0, areaWidth_ - 1);
    top = std::clamp(top, 0.0, areaHeight_ - 1);
    widthBox_->setValue(std::clamp(width, 1.0, areaWidth_ - left));
    heightBox_->setValue(std::clamp(height, 1.0, areaHeight_ - top));
    leftBox_->setValue(left);
    topBox_->setValue(top);
    emit frameChanged(frameMm());
}

QRectF PaperAreaFields::frameMm() const {
    return QRectF(leftBox_->value(), topBox_->value(), widthBox_->value(), heightBox_->value());
}

void PaperAreaFields::chooseFrameMm(const QRectF& frame) {
    {
        const QSignalBlocker quiet(paperBox_);
        paperBox_->setCurrentIndex(paperBox_->count() - 1); // the user's own
    }
    paperChosen();
    showFrame(frame.left(), frame.top(), frame.width(), frame.height());
}

Frame PaperAreaFields::frame() const {
    const double left = leftBox_->value() / kMmPerInch;
    const double top = topBox_->value() / kMmPerInch;
    return Frame{left, top, left + widthBox_->value() / kMmPerInch,
                 top + heightBox_->value() / kMmPerInch};
}

} // namespace twaindsm
