// The virtual scanner's window.
#include "virtual_scanner_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace twaindsm {

VirtualScannerWindow::VirtualScannerWindow(QWidget* parent, TW_UINT16 pixelType, int pages)
    : QWidget(parent, Qt::Dialog), pixelTypeBox_(new QComboBox(this)),
      pageCountBox_(new QSpinBox(this)), scanButton_(new QPushButton(tr("スキャン(&S)"), this)),
      closeButton_(new QPushButton(tr("閉じる(&C)"), this)) {
    setObjectName("virtualScannerWindow");
    setWindowTitle(tr("仮想スキャナー"));

    pixelTypeBox_->setObjectName("pixelTypeBox");
    // The item data is the TWAIN pixel type, so the order of the entries is free.
    pixelTypeBox_->addItem(tr("白黒"), int{TWPT_BW});
    pixelTypeBox_->addItem(tr("グレー"), int{TWPT_GRAY});
    pixelTypeBox_->addItem(tr("カラー"), int{TWPT_RGB});
    pixelTypeBox_->addItem(tr("パレット"), int{TWPT_PALETTE});
    const int current = pixelTypeBox_->findData(int{pixelType});
    pixelTypeBox_->setCurrentIndex(current >= 0 ? current : pixelTypeBox_->findData(int{TWPT_RGB}));

    pageCountBox_->setObjectName("pageCountBox");
    pageCountBox_->setRange(1, 99);
    pageCountBox_->setValue(pages);

    scanButton_->setObjectName("scanButton");
    scanButton_->setDefault(true);
    closeButton_->setObjectName("closeButton");

    auto* form = new QFormLayout;
    form->addRow(tr("モード(&M):"), pixelTypeBox_);
    form->addRow(tr("ページ数(&P):"), pageCountBox_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(scanButton_);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(scanButton_, &QPushButton::clicked, this,
            [this] { emit scanRequested(this->pixelType(), this->pages()); });
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);

    if (parent != nullptr) {
        adjustSize();
        move(parent->frameGeometry().center() - rect().center());
    }
}

TW_UINT16 VirtualScannerWindow::pixelType() const {
    return static_cast<TW_UINT16>(pixelTypeBox_->currentData().toInt());
}

int VirtualScannerWindow::pages() const {
    return pageCountBox_->value();
}

void VirtualScannerWindow::closeEvent(QCloseEvent* event) {
    // The window only hides; the scanner deletes it when the application disables the source.
    event->accept();
    emit closeRequested();
}

} // namespace twaindsm
