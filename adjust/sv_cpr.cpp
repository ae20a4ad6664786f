#include "sv_cpr.h"

#include "dialog_buttons.h"
#include "dialog_placement.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

SV_CPR::SV_CPR(int32_t JPGP, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("SV_CPR"));
    setWindowTitle(tr("Orvana Jpeg Save Parameter"));

    Frame8 = new QGroupBox(tr("保存時のJPEG圧縮品質係数(0～100 推奨:50～75) "), this);
    Frame8->setObjectName(QStringLiteral("Frame8"));
    JPEG_Q = new QScrollBar(Qt::Horizontal, Frame8);
    JPEG_Q->setObjectName(QStringLiteral("JPEG_Q"));
    JPEG_Q->setRange(0, 100);
    JPEG_Q->setMinimumWidth(240);
    JPEG_Q_DSP = new QLabel(QStringLiteral("50"), Frame8);
    JPEG_Q_DSP->setObjectName(QStringLiteral("JPEG_Q_DSP"));
    JPEG_Q_DSP->setMinimumWidth(
        JPEG_Q_DSP->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    auto* quality = new QHBoxLayout(Frame8);
    quality->addWidget(JPEG_Q, 1);
    quality->addWidget(JPEG_Q_DSP);

    QHBoxLayout* buttons = okCancelRow(this, SAVEOK, "SAVEOK", CANCEL, "CANCEL");
    SAVEOK->setText(tr("Save"));
    CANCEL->setText(tr("Cancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame8);
    layout->addLayout(buttons);

    connect(JPEG_Q, &QScrollBar::valueChanged, this, &SV_CPR::onJPEG_Q);
    connect(SAVEOK, &QPushButton::clicked, this, [this] {
        JPEG_CANCELLED = 0;
        accept();
    });
    connect(CANCEL, &QPushButton::clicked, this, [this] {
        JPEG_CANCELLED = -1;
        reject();
    });

    placeOverOwner(this, owner);
    JPEG_CANCELLED = -1;
    JPEG_QUALITY = int16_t(std::clamp<int32_t>(JPGP, 0, 100));
    JPEG_Q->setValue(JPEG_QUALITY);
    onJPEG_Q(JPEG_Q->value()); // the label also when the value was already there
    JPEG_Q->setFocus();
}

void SV_CPR::onJPEG_Q(int value) {
    JPEG_Q_DSP->setText(QString::number(value));
    JPEG_QUALITY = int16_t(value);
}
