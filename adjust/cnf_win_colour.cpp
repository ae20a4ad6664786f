// The adjustment dialog's picture: brightness and colour balance, turns, the pages, drawing.
#include "cnf_win.h"
#include "number_text.h"
#include "pelmix_view.h"
#include "program.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <cmath>

void CNF_WIN::connectControls() {
    const std::pair<QScrollBar*, QLineEdit*> pairs[] = {
        {BRIGHT, BRIGHT_VAL}, {R_BAR, R_VAL}, {G_BAR, G_VAL}, {B_BAR, B_VAL}};
    for (const auto& [bar, box] : pairs) {
        connect(bar, &QScrollBar::valueChanged, this, [this, bar, box] { onBar(bar, box); });
        connect(box, &QLineEdit::editingFinished, this, [this, bar, box] { onBoxLeft(bar, box); });
    }
    connect(Command1, &QPushButton::clicked, this, [this] { BRIGHT->setValue(0); });
    connect(Command2, &QPushButton::clicked, this, &CNF_WIN::onCommand2);
    connect(Command5, &QPushButton::clicked, this, &CNF_WIN::APPLY_ADJUSTMENTS);
    connect(Check1, &QCheckBox::clicked, this, &CNF_WIN::onCheck1);
    connect(Check2, &QCheckBox::toggled, this,
            [this](bool checked) { program_.settings.CNFD = checked ? 1 : 0; });
    for (int i = 0; i < int(TURN.size()); ++i) {
        connect(TURN[i], &QPushButton::clicked, this, [this, i] { onTURN(i); });
    }
    for (int i = 0; i < int(CMD_BASE_CNG.size()); ++i) {
        connect(CMD_BASE_CNG[i], &QPushButton::clicked, this, [this, i] { onCMD_BASE_CNG(i); });
    }

    connect(SIZE_X, &QLineEdit::textChanged, this, [this] { onSizeChanged(0); });
    connect(SIZE_Y, &QLineEdit::textChanged, this, [this] { onSizeChanged(1); });
    connect(Command6, &QPushButton::clicked, this, [this] { stepSize(0, 1); });
    connect(Command7, &QPushButton::clicked, this, [this] { stepSize(0, -1); });
    connect(Command10, &QPushButton::clicked, this, [this] { stepSize(1, 1); });
    connect(Command12, &QPushButton::clicked, this, [this] { stepSize(1, -1); });
    const std::pair<QPushButton*, int> repeats[] = {
        {Command8, 1}, {Command11, 2}, {Command9, 3}, {Command13, 4}};
    for (const auto& [repeat, step] : repeats) {
        connect(repeat, &QPushButton::pressed, this, [this, step] { startRepeat(step); });
        connect(repeat, &QPushButton::released, Timer1, &QTimer::stop);
    }
    connect(Timer1, &QTimer::timeout, this, &CNF_WIN::onTimer1);
    connect(Command14, &QPushButton::clicked, this, &CNF_WIN::onCommand14);
    connect(Command17, &QPushButton::clicked, this, &CNF_WIN::onCommand17);
    connect(Command16, &QPushButton::clicked, this, &CNF_WIN::onCommand16);

    connect(Command3, &QPushButton::clicked, this, [this] { SAVE_ADJUSTED(program_.ADJUST_PATH); });
    connect(Command15, &QPushButton::clicked, this, &CNF_WIN::onCommand15);
    connect(Command4, &QPushButton::clicked, this, &QWidget::close);

    IMG->installEventFilter(this);
    IMG_WAKU->installEventFilter(this);
}

void CNF_WIN::APPLY_ADJUSTMENTS() {
    if (RESET_BUSY) {
        return;
    }
    BRIGHT_VAL->setText(QString::number(BRIGHT->value()));
    R_VAL->setText(QString::number(R_BAR->value()));
    G_VAL->setText(QString::number(G_BAR->value()));
    B_VAL->setText(QString::number(B_BAR->value()));
    const IMAGE_INFO info = image.info();
    ADJ_WIDTH = info.WIDTH;
    ADJ_HEIGHT = info.HEIGHT;
    if (ADJ_WIDTH == 0 || ADJ_HEIGHT == 0) {
        return;
    }

    // Fit into the frame; small pictures are enlarged to fill it.
    const QRect inner = IMG_WAKU->contentsRect();
    const double r = std::max(double(ADJ_WIDTH) / std::max(1, inner.width()),
                              double(ADJ_HEIGHT) / std::max(1, inner.height()));
    const QSize shown(std::max(1, int(std::lround(ADJ_WIDTH / r))),
                      std::max(1, int(std::lround(ADJ_HEIGHT / r))));
    IMG->setGeometry(inner.left() + int((inner.width() - shown.width()) * 0.5),
                     inner.top() + int((inner.height() - shown.height()) * 0.5), shown.width(),
                     shown.height());
    if (r != VIEW_SCALE) {
        VIEW_SCALE = r;
        if (TRIM_RECT.left != kNoRect) {
            TRIM_RECT.left = int(std::lround(TRIM_ORIGIN[0] / r));
            TRIM_RECT.top = int(std::lround(TRIM_ORIGIN[1] / r));
            TRIM_RECT.right = int(std::lround((TRIM_ORIGIN[0] + TRIM_SIZE[0]) / r));
            TRIM_RECT.bottom = int(std::lround((TRIM_ORIGIN[1] + TRIM_SIZE[1]) / r));
        }
    }
    if (program_.settings.CNFP == 2) {
        UPDATE_TRIM_VIEW();
        TRIMAREA->setVisible(TRIM_SIZE[0] != 0 && TRIM_SIZE[1] != 0);
    } else {
        TRIMAREA->hide();
    }

    // Brightness and balance on the picture reduced to the size it is shown at; a save makes
    // the full-resolution result.
    HGLOBAL result = AdjustImage::adjusted(image.preview(shown), BRIGHT->value(), R_BAR->value(),
                                           G_BAR->value(), B_BAR->value());
    if (PelmixSystemPalette() == 256 && result != nullptr) {
        HGLOBAL reduced = PelmixCopy(result, "", "");
        IMAGE_INFO kind{};
        PelmixImageInfo(reduced, &kind);
        if (kind.COLOR_TYPE == PELMIX_256_COLOURS || kind.COLOR_TYPE == PELMIX_256_GREYS) {
            PelmixConvertColor(reduced, 24, 0, 0, "", "");
        }
        PelmixConvertColor(reduced, 8, -1, -1, "", "");
        draw(reduced);
        PelmixMemFree(reduced);
    } else {
        draw(result);
    }
    if (result != nullptr) {
        PelmixMemFree(result);
    }
}

void CNF_WIN::draw(HGLOBAL picture) {
    QImage canvas(IMG->size(), QImage::Format_RGB32);
    canvas.fill(IMG_WAKU->palette().color(QPalette::Window));
    {
        QPainter painter(&canvas);
        HDC dc = PelmixCreatePainterDC(&painter);
        PelmixDisplayHdc(dc, picture, canvas.width(), canvas.height(), 1);
        PelmixDeleteDC(dc);
    }
    IMG->setPixmap(QPixmap::fromImage(canvas));
    IMG->repaint();
}

void CNF_WIN::onBar(QScrollBar* bar, QLineEdit* box) {
    box->setText(QString::number(bar->value()));
    if (program_.settings.CFDM == 0) {
        APPLY_ADJUSTMENTS();
    }
}

void CNF_WIN::onBoxLeft(QScrollBar* bar, QLineEdit* box) {
    const int value = int(number_text::integerOf(box->text(), -255, 255));
    bar->setValue(value);
    // The box shows what the bar took, also when the bar did not move.
    box->setText(QString::number(bar->value()));
}

void CNF_WIN::onCommand2() {
    RESET_BUSY = true;
    R_BAR->setValue(0);
    G_BAR->setValue(0);
    B_BAR->setValue(0);
    RESET_BUSY = false;
    APPLY_ADJUSTMENTS();
}

void CNF_WIN::onCheck1() {
    if (Check1->isChecked()) {
        program_.settings.CFDM = 0;
        APPLY_ADJUSTMENTS();
    } else {
        program_.settings.CFDM = 1;
    }
}

void CNF_WIN::onTURN(int index) {
    image.turn(index);
    APPLY_ADJUSTMENTS();
}

void CNF_WIN::onCMD_BASE_CNG(int index) {
    static constexpr int pages[] = {1, 0, 2}; // the page of each button
    showPage(pages[index]);
}

void CNF_WIN::showPage(int page) {
    if (page < 0 || page > 2) {
        page = 0;
    }
    program_.settings.CNFP = int16_t(page);
    // The buttons run Image (the turns), Color, Trim; the pages colour, turns, trim.
    static constexpr int buttonOf[] = {1, 0, 2};
    for (int i = 0; i < 3; ++i) {
        CMD_BASE[i]->setVisible(i == page);
        CMD_BASE_CNG[i]->setChecked(i == buttonOf[page]);
    }
    TRIMAREA->setVisible(page == 2 && TRIM_SIZE[0] != 0 && TRIM_SIZE[1] != 0);
    IMG->setCursor(page == 2 ? Qt::CrossCursor : Qt::ArrowCursor);
}

bool CNF_WIN::eventFilter(QObject* watched, QEvent* event) {
    if (watched == IMG_WAKU && event->type() == QEvent::Resize) {
        if (!ADJ_LOADING && isVisible()) {
            APPLY_ADJUSTMENTS();
        }
        return false;
    }
    if (watched != IMG || program_.settings.CNFP != 2) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            trimPress(mouse->position().toPoint());
        }
        return true;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (TRIM_DRAG) {
            trimMove(mouse->position().toPoint());
            if (event->type() == QEvent::MouseButtonRelease) {
                TRIM_DRAG = false;
            }
        }
        return true;
    }
    default:
        return false;
    }
}
