#include "sane_source_window.h"

#include "paper_area_fields.h"
#include "preview_area.h"
#include "sane_device_profile.h"
#include "sane_option_control.h"
#include "sane_options_page.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

namespace twaindsm {

namespace {

// A box in the device's own unit and range, showing value (on the scale from..to).
QDoubleSpinBox* adjustmentBox(QWidget* parent, const char* name, const Adjustment& a, double value,
                              double from, double to) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setDecimals(a.fixed ? 1 : 0);
    box->setRange(a.min, a.max);
    box->setSingleStep(a.step > 0 ? a.step : 1);
    box->setValue(SaneDeviceProfile::rescale(value, from, to, a.min, a.max));
    box->setVisible(a.offered);
    return box;
}

void selectData(QComboBox* box, const QVariant& value) {
    const int index = box->findData(value);
    if (index >= 0) {
        box->setCurrentIndex(index);
    }
}

} // namespace

SaneSourceWindow::SaneSourceWindow(QWidget* parent, const QString& title,
                                   const SourceLimits& limits, const ScanSettings& settings,
                                   std::set<std::string> basicOptions)
    : QWidget(parent, Qt::Dialog), pages_(new QTabWidget(this)),
      optionsPage_(new SaneOptionsPage(std::move(basicOptions), this)),
      modeBox_(new QComboBox(this)), resolutionBox_(new QComboBox(this)),
      sourceBox_(new QComboBox(this)),
      paperFields_(new PaperAreaFields(limits.scanArea, settings.frame, this)),
      preview_(new PreviewArea((limits.scanArea.right - limits.scanArea.left) * 25.4,
                               (limits.scanArea.bottom - limits.scanArea.top) * 25.4, this)),
      previewButton_(new QPushButton(tr("プレビュー(&V)"), this)),
      brightnessBox_(adjustmentBox(this, "brightnessBox", limits.brightness, settings.brightness,
                                   -1000, 1000)),
      contrastBox_(
          adjustmentBox(this, "contrastBox", limits.contrast, settings.contrast, -1000, 1000)),
      thresholdBox_(
          adjustmentBox(this, "thresholdBox", limits.threshold, settings.threshold, 0, 255)),
      limits_(limits), scanButton_(new QPushButton(tr("スキャン(&S)"), this)),
      closeButton_(new QPushButton(tr("閉じる(&C)"), this)),
      defaultsButton_(new QPushButton(tr("既定値に戻す(&D)"), this)),
      progressBar_(new QProgressBar(this)), statusLabel_(new QLabel(this)),
      ticker_(new QTimer(this)) {
    setWindowTitle(title);
    pages_->setObjectName("sourcePages");
    // Its pages are named by their tabs; the pages together, for a screen reader, by this.
    pages_->setAccessibleName(tr("スキャンの設定"));
    optionsPage_->setObjectName("optionsPage");
    modeBox_->setObjectName("modeBox");
    resolutionBox_->setObjectName("resolutionBox");
    sourceBox_->setObjectName("sourceBox");
    scanButton_->setObjectName("scanButton");
    closeButton_->setObjectName("closeButton");
    defaultsButton_->setObjectName("defaultsButton");
    progressBar_->setObjectName("progressBar");
    statusLabel_->setObjectName("statusLabel");

    for (TW_UINT16 type : limits.pixelTypes) {
        switch (type) {
        case TWPT_BW:
            modeBox_->addItem(tr("白黒"), int(TWPT_BW));
            break;
        case TWPT_GRAY:
            modeBox_->addItem(tr("グレー"), int(TWPT_GRAY));
            break;
        case TWPT_RGB:
            modeBox_->addItem(tr("カラー"), int(TWPT_RGB));
            break;
        default:
            break;
        }
    }
    selectData(modeBox_, int(settings.pixelType));

    // The usual steps the device allows, and the current resolution if it is none of them.
    std::vector<int> steps;
    for (int dpi : {50, 75, 100, 150, 200, 300, 400, 600, 1200}) {
        if (dpi >= limits.minResolution && dpi <= limits.maxResolution) {
            steps.push_back(dpi);
        }
    }
    const int current = static_cast<int>(std::lround(settings.xResolution));
    if (std::find(steps.begin(), steps.end(), current) == steps.end()) {
        steps.insert(std::upper_bound(steps.begin(), steps.end(), current), current);
    }
    for (int dpi : steps) {
        resolutionBox_->addItem(tr("%1 dpi").arg(dpi), dpi);
    }
    selectData(resolutionBox_, current);

    // The device's own sources by their names (in the user's language where SANE has them).
    for (const std::string& source : limits.sources) {
        sourceBox_->addItem(SaneOptionControl::driverText(source), QString::fromStdString(source));
    }
    if (sourceBox_->count() == 0) {
        sourceBox_->addItem(tr("フラットベッド"), QString());
    }
    sourceBox_->setEnabled(sourceBox_->count() > 1);

    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);

    auto* basic = new QWidget(pages_);
    basic->setObjectName("basicPage");
    auto* columns = new QHBoxLayout(basic);
    auto* form = new QFormLayout;
    columns->addLayout(form);
    form->addRow(tr("モード(&M):"), modeBox_);
    form->addRow(tr("解像度(&R):"), resolutionBox_);
    form->addRow(tr("読み取り面(&O):"), sourceBox_);
    form->addRow(paperFields_);
    // Only what the device offers; the threshold is what black and white scans are cut at.
    if (limits.brightness.offered) {
        form->addRow(tr("明るさ(&I):"), brightnessBox_);
    }
    if (limits.contrast.offered) {
        form->addRow(tr("コントラスト(&K):"), contrastBox_);
    }
    if (limits.threshold.offered) {
        form->addRow(tr("しきい値(&E):"), thresholdBox_);
        auto follow = [this] { thresholdBox_->setEnabled(pixelType() == TWPT_BW); };
        connect(modeBox_, &QComboBox::currentIndexChanged, this, follow);
        follow();
    }
    // The preview beside the choices; a frame drawn on it is the user's own size, and a paper
    // chosen is drawn on it.
    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(preview_, 1);
    previewColumn->addWidget(previewButton_, 0, Qt::AlignRight);
    previewButton_->setObjectName("previewButton");
    preview_->setAccessibleName(tr("プレビューと読み取り範囲"));
    preview_->setAccessibleDescription(
        tr("ドラッグで範囲を描き、矢印キーで動かし、Shift+矢印キーで大きさを変えます。"));
    preview_->setFrame(paperFields_->frameMm());
    connect(preview_, &PreviewArea::frameChosen, paperFields_, &PaperAreaFields::chooseFrameMm);
    connect(paperFields_, &PaperAreaFields::frameChanged, preview_, &PreviewArea::setFrame);
    connect(previewButton_, &QPushButton::clicked, this, &SaneSourceWindow::previewRequested);
    columns->addLayout(previewColumn, 1);
    pages_->addTab(basic, tr("基本(&B)"));
    pages_->addTab(optionsPage_, tr("すべてのオプション(&P)"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaultsButton_);
    buttons->addStretch();
    buttons->addWidget(scanButton_);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addWidget(progressBar_);
    layout->addWidget(statusLabel_);
    layout->addLayout(buttons);

    scanButton_->setDefault(true);
    connect(scanButton_, &QPushButton::clicked, this, &SaneSourceWindow::scanRequested);
    connect(closeButton_, &QPushButton::clicked, this, &SaneSourceWindow::closeRequested);
    connect(defaultsButton_, &QPushButton::clicked, this, &SaneSourceWindow::defaultsRequested);
    connect(optionsPage_, &SaneOptionsPage::valueChosen, this, &SaneSourceWindow::optionChosen);
    // A page opened from the keyboard is ready for the next key: its first control has the focus.
    connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
        if (pages_->widget(index) == optionsPage_) {
            optionsPage_->focusFirstControl();
        } else {
            modeBox_->setFocus(Qt::TabFocusReason);
        }
    });
    ticker_->setInterval(40);
    // Room for the options; never more than a small screen holds.
    resize(820, 600);
}

void SaneSourceWindow::showOptions(const std::vector<SaneOption>& options) {
    optionsPage_->setOptions(options);
}

TW_UINT16 SaneSourceWindow::pixelType() const {
    return static_cast<TW_UINT16>(modeBox_->currentData().toInt());
}

double SaneSourceWindow::resolution() const {
    return resolutionBox_->currentData().toDouble();
}

std::string SaneSourceWindow::sourceName() const {
    return sourceBox_->currentData().toString().toStdString();
}

bool SaneSourceWindow::feederEnabled() const {
    const std::string name = sourceName();
    return SaneDeviceProfile::feederEntry(name) || SaneDeviceProfile::duplexEntry(name);
}

bool SaneSourceWindow::duplexEnabled() const {
    return SaneDeviceProfile::duplexEntry(sourceName());
}

void SaneSourceWindow::showPreview(const QImage& picture) {
    preview_->setPicture(picture);
}

void SaneSourceWindow::setPreviewOffered(bool offered) {
    previewButton_->setVisible(offered);
}

void SaneSourceWindow::adjustments(ScanSettings& settings) const {
    const auto back = [](const QDoubleSpinBox* box, const Adjustment& a, double from, double to,
                         double& value) {
        if (a.offered) {
            value = SaneDeviceProfile::rescale(box->value(), a.min, a.max, from, to);
        }
    };
    back(brightnessBox_, limits_.brightness, -1000, 1000, settings.brightness);
    back(contrastBox_, limits_.contrast, -1000, 1000, settings.contrast);
    back(thresholdBox_, limits_.threshold, 0, 255, settings.threshold);
}

Frame SaneSourceWindow::frame() const {
    return paperFields_->frame();
}

void SaneSourceWindow::selectSource(const std::string& name) {
    selectData(sourceBox_, QString::fromStdString(name));
}

void SaneSourceWindow::setScanning(bool scanning) {
    modeBox_->setEnabled(!scanning);
    resolutionBox_->setEnabled(!scanning);
    sourceBox_->setEnabled(!scanning && sourceBox_->count() > 1);
    paperFields_->setEnabled(!scanning);
    preview_->setEnabled(!scanning);
    previewButton_->setEnabled(!scanning);
    scanButton_->setEnabled(!scanning);
    defaultsButton_->setEnabled(!scanning);
    optionsPage_->setLocked(scanning);
}

void SaneSourceWindow::setProgress(int percent) {
    progressBar_->setValue(percent);
}

void SaneSourceWindow::setStatus(const QString& text) {
    statusLabel_->setText(text);
}

void SaneSourceWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit closeRequested();
}

} // namespace twaindsm
