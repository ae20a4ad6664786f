#include "source_chooser.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace twaindsm {

SourceChooser::SourceChooser(const QStringList& names, int current, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)), ok_(new QPushButton(tr("OK"), this)) {
    setWindowTitle(tr("スキャナーの選択"));
    setModal(true);

    auto* label = new QLabel(tr("スキャナー(&S):"), this);
    list_->setObjectName(QStringLiteral("sourceList"));
    list_->addItems(names);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    if (current >= 0 && current < list_->count())
        list_->setCurrentRow(current);

    ok_->setObjectName(QStringLiteral("okButton"));
    ok_->setDefault(true);
    auto* cancel = new QPushButton(tr("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(list_, &QListWidget::currentRowChanged, this, &SourceChooser::updateOk);
    updateOk();
}

int SourceChooser::chosenIndex() const {
    return list_->currentRow();
}

void SourceChooser::updateOk() {
    ok_->setEnabled(list_->currentRow() >= 0);
}

} // namespace twaindsm
