#include "prt_win.h"

#include "dialog_placement.h"
#include "native_name.h"
#include "number_box.h"
#include "number_text.h"
#include "pelmix.h"
#include "pelmix_view.h"
#include "picture_placement.h"
#include "preview_picture.h"
#include "print_output.h"
#include "program.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

double numberIn(const QLineEdit* box) {
    return number_text::valueOf(box->text());
}

void setNumber(QLineEdit* box, double value) {
    box->setText(NumberBox::millimetres(value));
}

} // namespace

PRT_WIN::PRT_WIN(Program& program, QWidget* mainWindow)
    : QDialog(nullptr), program_(program), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("PRT_WIN"));
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    if (mainWindow_ != nullptr) {
        mainWindow_->setEnabled(false);
    }
    setWindowTitle(tr("印刷%1").arg(program.APP_TITLE));

    const QByteArray path = native_name::toBytes(program.PRINT_PATH);
    PRT_IMAGE = PelmixFileLoad(path.constData(), "", "");
    IMAGE_INFO info{};
    if (PRT_IMAGE != nullptr && PelmixImageInfo(PRT_IMAGE, &info) != 0) {
        PRT_IMG_W = info.WIDTH;
        PRT_IMG_H = info.HEIGHT;
    }
    if (PRT_IMG_W > 0 && PRT_IMG_H > 0) {
        PRT_ASPECT_WH = double(PRT_IMG_W) / PRT_IMG_H;
        PRT_ASPECT_HW = double(PRT_IMG_H) / PRT_IMG_W;
    }
    preview_ = reducedForPreview(PRT_IMAGE, IMG_WAKU->size());

    readPrinter();
    LT_X->setEnabled(false);
    LT_Y->setEnabled(false);
    AUTO_CENTER->setChecked(true);
    placeOverOwner(this, mainWindow_);
}

PRT_WIN::~PRT_WIN() {
    PelmixMemFree(preview_);
    PelmixMemFree(PRT_IMAGE);
    if (mainWindow_ != nullptr) {
        mainWindow_->setEnabled(true);
    }
}

void PRT_WIN::build() {
    PRT_NAME = new QLabel(this);
    PRT_NAME->setObjectName(QStringLiteral("PRT_NAME"));
    PRT_SIZE = new QLabel(this);
    PRT_SIZE->setObjectName(QStringLiteral("PRT_SIZE"));
    Command1 = new QPushButton(tr("プリンターの設定"), this);
    Command1->setObjectName(QStringLiteral("Command1"));

    auto box = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAlignment(Qt::AlignRight);
        edit->setMaximumWidth(110);
        NumberBox::install(edit, NumberBox::Kind::Millimetres);
        return edit;
    };
    X_SIZE = box("X_SIZE");
    Y_SIZE = box("Y_SIZE");
    LT_X = box("LT_X");
    LT_Y = box("LT_Y");
    AUTO_CENTER = new QCheckBox(tr("自動的に紙の中心に来るように調整する"), this);
    AUTO_CENTER->setObjectName(QStringLiteral("AUTO_CENTER"));

    auto* sizeFrame = new QGroupBox(tr("印刷サイズ"), this);
    auto* sizeGrid = new QGridLayout(sizeFrame);
    sizeGrid->addWidget(new QLabel(tr("幅"), sizeFrame), 0, 0);
    sizeGrid->addWidget(X_SIZE, 0, 1);
    sizeGrid->addWidget(new QLabel(QStringLiteral("mm"), sizeFrame), 0, 2);
    sizeGrid->addWidget(new QLabel(tr("高さ"), sizeFrame), 1, 0);
    sizeGrid->addWidget(Y_SIZE, 1, 1);
    sizeGrid->addWidget(new QLabel(QStringLiteral("mm"), sizeFrame), 1, 2);
    auto* positionFrame = new QGroupBox(tr("左上からの位置"), this);
    auto* positionGrid = new QGridLayout(positionFrame);
    positionGrid->addWidget(new QLabel(QStringLiteral("X"), positionFrame), 0, 0);
    positionGrid->addWidget(LT_X, 0, 1);
    positionGrid->addWidget(new QLabel(QStringLiteral("mm"), positionFrame), 0, 2);
    positionGrid->addWidget(new QLabel(QStringLiteral("Y"), positionFrame), 1, 0);
    positionGrid->addWidget(LT_Y, 1, 1);
    positionGrid->addWidget(new QLabel(QStringLiteral("mm"), positionFrame), 1, 2);
    positionGrid->addWidget(AUTO_CENTER, 2, 0, 1, 3);

    Command2 = new QPushButton(tr("印刷実行"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command3 = new QPushButton(tr("閉じる"), this);
    Command3->setObjectName(QStringLiteral("Command3"));

    IMG_WAKU = new QFrame(this);
    IMG_WAKU->setObjectName(QStringLiteral("IMG_WAKU"));
    IMG_WAKU->setFrameShape(QFrame::Panel);
    IMG_WAKU->setFrameShadow(QFrame::Sunken);
    IMG_WAKU->setFixedSize(280, 280);
    IMG_BASE = new QFrame(IMG_WAKU);
    IMG_BASE->setObjectName(QStringLiteral("IMG_BASE"));
    IMG_BASE->setAutoFillBackground(true);
    IMG_BASE->setBackgroundRole(QPalette::Base);
    IMG = new QLabel(IMG_BASE);
    IMG->setObjectName(QStringLiteral("IMG"));
    IMG->setScaledContents(true);

    auto* controls = new QVBoxLayout;
    controls->addWidget(PRT_NAME);
    controls->addWidget(PRT_SIZE);
    controls->addWidget(Command1);
    controls->addWidget(sizeFrame);
    controls->addWidget(positionFrame);
    controls->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    controls->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(IMG_WAKU, 0, Qt::AlignTop);

    connect(X_SIZE, &QLineEdit::textChanged, this, [this] { sizeChanged(true); });
    connect(Y_SIZE, &QLineEdit::textChanged, this, [this] { sizeChanged(false); });
    connect(LT_X, &QLineEdit::textChanged, this, [this] { positionChanged(true); });
    connect(LT_Y, &QLineEdit::textChanged, this, [this] { positionChanged(false); });
    connect(AUTO_CENTER, &QCheckBox::clicked, this, &PRT_WIN::onAutoCenter);
    connect(Command1, &QPushButton::clicked, this, [this] {
        PRINTER_SETUP(program_, this);
        readPrinter();
    });
    connect(Command2, &QPushButton::clicked, this, &PRT_WIN::onPrint);
    connect(Command3, &QPushButton::clicked, this, &QDialog::close);
}

void PRT_WIN::readPrinter() {
    area_ = showPrinter(program_, PRT_NAME, PRT_SIZE);
    if (PRT_IMG_W > 0 && PRT_IMG_H > 0) {
        const double s = std::min(area_.widthMm / PRT_IMG_W, area_.heightMm / PRT_IMG_H);
        setNumber(X_SIZE, PRT_IMG_W * s);
        setNumber(Y_SIZE, PRT_IMG_H * s);
    }
    centre();
    drawPreview();
}

void PRT_WIN::centre() {
    const bool busy = POS_BUSY;
    POS_BUSY = true;
    setNumber(LT_X, (area_.widthMm - numberIn(X_SIZE)) / 2);
    setNumber(LT_Y, (area_.heightMm - numberIn(Y_SIZE)) / 2);
    POS_BUSY = busy;
}

void PRT_WIN::sizeChanged(bool horizontal) {
    if (SIZE_BUSY) {
        return;
    }
    SIZE_BUSY = true;
    QLineEdit* own = horizontal ? X_SIZE : Y_SIZE;
    QLineEdit* other = horizontal ? Y_SIZE : X_SIZE;
    const double ownLimit = horizontal ? area_.widthMm : area_.heightMm;
    const double otherLimit = horizontal ? area_.heightMm : area_.widthMm;
    const double toOther = horizontal ? PRT_ASPECT_HW : PRT_ASPECT_WH;
    const double toOwn = horizontal ? PRT_ASPECT_WH : PRT_ASPECT_HW;
    if (numberIn(own) > ownLimit) {
        setNumber(own, ownLimit);
    }
    const double derived = numberIn(own) * toOther;
    if (derived > otherLimit) {
        setNumber(other, otherLimit);
        setNumber(own, otherLimit * toOwn);
    } else {
        setNumber(other, derived);
    }
    SIZE_BUSY = false;
    POS_BUSY = true;
    if (AUTO_CENTER->isChecked()) {
        centre();
    }
    drawPreview();
    POS_BUSY = false;
}

void PRT_WIN::positionChanged(bool horizontal) {
    if (POS_BUSY) {
        return;
    }
    POS_BUSY = true;
    QLineEdit* position = horizontal ? LT_X : LT_Y;
    const double room =
        horizontal ? area_.widthMm - numberIn(X_SIZE) : area_.heightMm - numberIn(Y_SIZE);
    if (numberIn(position) > room) {
        setNumber(position, room);
    }
    drawPreview();
    POS_BUSY = false;
}

void PRT_WIN::onAutoCenter() {
    const bool centred = AUTO_CENTER->isChecked();
    for (QLineEdit* box : {LT_X, LT_Y}) {
        box->setEnabled(!centred);
        box->setBackgroundRole(centred ? QPalette::Button : QPalette::Base);
    }
}

void PRT_WIN::drawPreview() {
    const QRect paper = paperInFrame(IMG_WAKU->contentsRect(), area_);
    if (paper.isEmpty()) {
        return;
    }
    IMG_BASE->setGeometry(paper);
    IMG->setGeometry(placement().onPreview(paper.width() / area_.widthMm));
    IMG->setPixmap(previewPixmap(preview_, IMG->size()));
}

PicturePlacement PRT_WIN::placement() const {
    return {numberIn(LT_X), numberIn(LT_Y), numberIn(X_SIZE), numberIn(Y_SIZE)};
}

void PRT_WIN::failed() {
    tellPrintFailed(program_, this);
}

void PRT_WIN::onPrint() {
    QApplication::processEvents();
    QPrinter& printer = programPrinter(program_);
    if (!chooseOutputFile(program_, this, printer)) {
        return;
    }
    PRT_NAME->setText(printerCaption(printer)); // the chosen file
    PrintOutput output(printer);
    if (!output.begin()) {
        tellPrintFailed(program_, this, output);
        return;
    }
    HDC dc = PelmixCreatePrinterDC(&printer);
    const QByteArray document = tr("イメ－ジ印刷中").toUtf8();
    const int32_t job = PelmixPrintStart(dc, document.constData());
    if (job == 0) {
        PelmixDeleteDC(dc);
        failed();
        return;
    }
    QApplication::processEvents();
    const RECT rectangle = placement().tenths();
    const bool printed = PelmixPrint(job, dc, PRT_IMAGE, &rectangle, 0) != 0;
    const bool pageEnded = PelmixPrintEnd(dc) != 0;
    // Deleting the context finishes the document (a PDF file is complete only then).
    const bool ended = PelmixDeleteDC(dc) != 0 && pageEnded;
    if (!printed) {
        failed();
    } else if (!output.finish(ended, true)) {
        tellPrintFailed(program_, this, output);
    }
}

void PRT_WIN::closeEvent(QCloseEvent* event) {
    if (mainWindow_ != nullptr) {
        mainWindow_->setEnabled(true);
    }
    QDialog::closeEvent(event);
}
