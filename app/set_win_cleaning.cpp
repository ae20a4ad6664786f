// The cleaning of acquired pages: which steps run on each page before it is stored, and how
// faint a mark still makes a page not blank. The sensitivity is offered only while blank pages
// are set aside.
#include "program.h"
#include "set_win.h"
#include "text_data.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

QGroupBox* SET_WIN::buildCleaningGroup(QWidget* parent) {
    auto* group = new QGroupBox(tr("取り込んだページを整える"), parent);
    group->setObjectName("cleaningGroup");
    auto box = [group](const char* name, const QString& text) {
        auto* check = new QCheckBox(text, group);
        check->setObjectName(name);
        return check;
    };
    cutBordersBox_ = box("cutBordersBox", tr("紙の周りの黒い縁を切り取る"));
    straightenBox_ = box("straightenBox", tr("傾きを直す"));
    uprightBox_ = box("uprightBox", tr("文字の向きに合わせて回転する"));
    blankBox_ = box("blankBox", tr("白紙のページを保存せずごみ箱に移す"));
    blankSensitivityBox_ = new QSpinBox(group);
    blankSensitivityBox_->setObjectName("blankSensitivityBox");
    blankSensitivityBox_->setRange(1, 100);
    auto* sensitivityLabel =
        new QLabel(tr("白紙判定の感度(1～100、高いほど薄い印も中身と見る):"), group);
    sensitivityLabel->setBuddy(blankSensitivityBox_);
    auto* layout = new QGridLayout(group);
    layout->setVerticalSpacing(2);
    layout->addWidget(cutBordersBox_, 0, 0);
    layout->addWidget(straightenBox_, 0, 1);
    layout->addWidget(uprightBox_, 1, 0);
    layout->addWidget(blankBox_, 1, 1);
    auto* sensitivity = new QHBoxLayout;
    sensitivity->addWidget(sensitivityLabel);
    sensitivity->addWidget(blankSensitivityBox_);
    sensitivity->addStretch();
    layout->addLayout(sensitivity, 2, 0, 1, 2);
    connect(blankBox_, &QCheckBox::toggled, blankSensitivityBox_, &QWidget::setEnabled);
    connect(blankBox_, &QCheckBox::toggled, sensitivityLabel, &QWidget::setEnabled);
    return group;
}

void SET_WIN::loadCleaning() {
    const USR_SETTINGS& s = program_.settings;
    cutBordersBox_->setChecked(s.CLBR == 1);
    straightenBox_->setChecked(s.CLSK == 1);
    // Without Tesseract's orientation data the choice is greyed and kept for the day it comes.
    const bool orientationData = text_data::installed(QStringLiteral("osd"));
    uprightBox_->setEnabled(orientationData);
    uprightBox_->setChecked(s.CLUP == 1);
    uprightBox_->setToolTip(
        orientationData ? QString()
                        : tr("文字の向きのデータがありません。パッケージ %1 を入れてください。")
                              .arg(text_data::package(QStringLiteral("osd"))));
    blankBox_->setChecked(s.CLBL == 1);
    blankSensitivityBox_->setValue(std::clamp<int>(s.CLBS, 1, 100));
    blankSensitivityBox_->setEnabled(blankBox_->isChecked());
}

void SET_WIN::storeCleaning() {
    USR_SETTINGS& s = program_.settings;
    s.CLBR = cutBordersBox_->isChecked() ? 1 : 0;
    s.CLSK = straightenBox_->isChecked() ? 1 : 0;
    if (uprightBox_->isEnabled()) {
        s.CLUP = uprightBox_->isChecked() ? 1 : 0;
    }
    s.CLBL = blankBox_->isChecked() ? 1 : 0;
    s.CLBS = static_cast<int16_t>(blankSensitivityBox_->value());
}
