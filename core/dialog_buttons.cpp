#include "dialog_buttons.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPushButton>

QHBoxLayout* okCancelRow(QWidget* dialog, QPushButton*& ok, const char* okName,
                         QPushButton*& cancel, const char* cancelName) {
    ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QString::fromLatin1(okName));
    cancel = new QPushButton(QCoreApplication::translate("dialog_buttons", "Cancel"), dialog);
    cancel->setObjectName(QString::fromLatin1(cancelName));
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}
