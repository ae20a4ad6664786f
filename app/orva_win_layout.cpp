// Placing the main window's panels and the controls inside them, in pixels. Panels are placed by
// hand rather than by Qt layouts because the window hides trays by giving them no width and
// puts both views in the same rectangle.
#include "orva_win.h"
#include "program.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>

namespace {

constexpr int kGap = 2;
constexpr int kCommandTrayWidth = 64;
constexpr int kFileTrayWidth = 190;
constexpr int kCountWidth = 120;
constexpr int kTargetSide = 36;

// Hides a panel by giving it no width, as the tray switches do, or shows it at rect.
void place(QWidget* widget, bool shown, const QRect& rect) {
    widget->setVisible(shown);
    widget->setGeometry(shown ? rect : QRect(rect.topLeft(), QSize(0, rect.height())));
}

int scrollBarExtent(const QWidget* widget) {
    return widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget);
}

} // namespace

void ORVA_WIN::MAIN_LAYOUT() {
    QWidget* central = centralWidget();
    if (central == nullptr) {
        return;
    }
    const USR_SETTINGS& settings = program.settings;
    const int width = central->width();
    const int height = central->height();

    // Tool bar row; without it the caption carries the display folder.
    const bool toolBarShown = settings.DSTL != 1;
    const int barHeight = toolBarShown ? BTN_EXIT_GO->sizeHint().height() + 2 * kGap : 0;
    setWindowTitle(toolBarShown ? program.APP_TITLE
                                : program.APP_TITLE + QStringLiteral("  ") + Combo1->currentText());
    CMD_BASE->setVisible(toolBarShown);
    DFILE_BASE->setVisible(toolBarShown);
    CMD_BASE->resize(CMD_BASE->width(), barHeight);
    if (toolBarShown) {
        arrangeToolBar(width);
    } else {
        MAG_BASE->hide();
        PTOTAL_BASE->setGeometry(width - kCountWidth, 0, kCountWidth, 0);
    }

    const int areaHeight = std::max(0, height - barHeight);
    const int trayWidth = settings.DSTR == 1 ? 0 : kCommandTrayWidth;
    place(CMD2_BASE, settings.DSTR != 1, QRect(0, barHeight, trayWidth, areaHeight));
    const int fileWidth = settings.DSFT == 1 ? 0 : kFileTrayWidth;
    place(F_BASE, settings.DSFT != 1, QRect(trayWidth, barHeight, fileWidth, areaHeight));

    const QRect viewRect(trayWidth + fileWidth, barHeight,
                         std::max(0, width - trayWidth - fileWidth), areaHeight);
    PIC8_BASE->setGeometry(viewRect);
    PIC1_BASE->setGeometry(viewRect);

    arrangeCommandTray();
    arrangeFileTray();
    arrangeCatalogue();
    arrangeSingle();
}

void ORVA_WIN::arrangeToolBar(int width) {
    const QSize button = BTN_EXIT_GO->sizeHint();
    int x = kGap;
    for (QToolButton* tool : {BTN_TWAIN_GO, BTN_DISP_GO, BTN_REDISP_GO, BTN_SET_GO, BTN_EXIT_GO}) {
        tool->setGeometry(x, kGap, button.width(), button.height());
        x += button.width() + kGap;
    }
    const int barHeight = button.height() + 2 * kGap;
    CMD_BASE->setGeometry(0, 0, x, barHeight);

    const bool magShown = program.settings.DSPM == 2 && program.settings.LDSP == 1;
    const int magWidth = magShown ? MAG_SET->sizeHint().width() + 2 * kGap : 0;
    const int folderWidth = std::max(0, width - magWidth - x - kCountWidth - kGap);
    DFILE_BASE->setGeometry(x, 0, folderWidth, barHeight);
    const QSize folderButton = BTN_DFILE->sizeHint();
    BTN_DFILE->setGeometry(0, (barHeight - folderButton.height()) / 2, folderButton.width(),
                           folderButton.height());
    const int comboHeight = Combo1->sizeHint().height();
    Combo1->setGeometry(folderButton.width() + kGap, (barHeight - comboHeight) / 2,
                        std::max(0, folderWidth - folderButton.width() - 3 * kGap), comboHeight);

    place(MAG_BASE, magShown, QRect(x + folderWidth, 0, magWidth, barHeight));
    MAG_SET->setGeometry(kGap, (barHeight - MAG_SET->sizeHint().height()) / 2,
                         MAG_SET->sizeHint().width(), MAG_SET->sizeHint().height());

    PTOTAL_BASE->setGeometry(x + folderWidth + magWidth, 0, kCountWidth, barHeight);
    const int labelWidth = PTOTAL_LABEL->sizeHint().width();
    const int lineHeight = PTOTAL->sizeHint().height();
    PTOTAL_LABEL->setGeometry(kGap, (barHeight - lineHeight) / 2, labelWidth, lineHeight);
    PTOTAL->setGeometry(labelWidth + 2 * kGap, (barHeight - lineHeight) / 2,
                        std::max(0, kCountWidth - labelWidth - 4 * kGap), lineHeight);
}

void ORVA_WIN::arrangeCommandTray() {
    const int width = CMD2_BASE->width();
    const int labelHeight = Label1->sizeHint().height();
    int y = kGap;
    const std::array<QLabel*, 6> targets{Image1, Image2, Image3, Image4, Image5, Image6};
    const std::array<QLabel*, 6> labels{Label1, Label2, Label3, Label4, Label5, Label6};
    for (size_t i = 0; i < targets.size(); ++i) {
        targets[i]->setGeometry(0, y, width, kTargetSide);
        labels[i]->setGeometry(0, y + kTargetSide, width, labelHeight);
        y += kTargetSide + labelHeight + 3 * kGap;
    }
}

void ORVA_WIN::arrangeFileTray() {
    const int width = F_BASE->width();
    const int buttonHeight = Command1->sizeHint().height();
    const int labelHeight = MOVE_LABEL->sizeHint().height();
    const int top = F_CTL->fontMetrics().height() + kGap; // below the frame's title
    const int half = std::max(0, (width - 3 * kGap) / 2);
    Command1->setGeometry(kGap, top, half, buttonHeight);
    Command2->setGeometry(2 * kGap + half, top, half, buttonHeight);
    const int targetTop = top + buttonHeight + kGap;
    MOVE->setGeometry(kGap, targetTop, half, kTargetSide);
    MOVE_LABEL->setGeometry(kGap, targetTop + kTargetSide, half, labelHeight);
    COPY->setGeometry(2 * kGap + half, targetTop, half, kTargetSide);
    COPY_LABEL->setGeometry(2 * kGap + half, targetTop + kTargetSide, half, labelHeight);
    F_CTL->setGeometry(0, 0, width, targetTop + kTargetSide + labelHeight + kGap);

    const int driveHeight = F_DRIVE->sizeHint().height();
    F_DRIVE->setGeometry(0, F_CTL->height(), width, driveHeight);
    const int dirTop = F_CTL->height() + driveHeight;
    F_DIR->setGeometry(0, dirTop, width, std::max(0, F_BASE->height() - dirTop));
}

void ORVA_WIN::arrangeCatalogue() {
    const int width = PIC8_BASE->width();
    const int height = PIC8_BASE->height();
    const int bar = scrollBarExtent(DSP8_SCR);
    DSP8_SCR->setGeometry(std::max(0, width - bar), 0, bar, height);

    const QSize wait(260, 90);
    DSP8_WAIT_FRM->setGeometry(PIC8_BASE->x() + (width - wait.width()) / 2,
                               PIC8_BASE->y() + (height - wait.height()) / 2, wait.width(),
                               wait.height());
    const int inner = DSP8_WAIT_FRM->fontMetrics().height() + 2 * kGap;
    DSP8_WAIT_BAR->setGeometry(8, inner, wait.width() - 16, 18);
    const QSize cancel = Command3->sizeHint();
    Command3->setGeometry((wait.width() - cancel.width()) / 2, inner + 18 + 2 * kGap,
                          cancel.width(), cancel.height());

    const int columns = std::clamp<int>(program.settings.CMTX, 1, kCells);
    const int rows = std::clamp<int>(program.settings.CMTY, 1, kCells);
    const int used = std::min(columns * rows, kCells);
    const double cellWidth = double(std::max(0, width - bar)) / columns;
    const double cellHeight = double(height) / rows;
    for (int i = 0; i < kCells; ++i) {
        QFrame* cell = DSP8_FRM[i];
        if (i >= used) {
            cell->hide();
            continue;
        }
        const int left = int(cellWidth * (i % columns) + 0.5);
        const int top = int(cellHeight * (i / columns) + 0.5);
        cell->setGeometry(left, top, int(cellWidth + 0.5), int(cellHeight + 0.5));
        const QSize check = SEL_CHECK[i]->sizeHint();
        SEL_CHECK[i]->setGeometry(kGap, kGap, check.width(), check.height());
        DSP8_NAME[i]->setGeometry(check.width() + 2 * kGap, kGap,
                                  std::max(0, cell->width() - check.width() - 4 * kGap),
                                  check.height());
        const QRect picture(kGap, check.height() + 2 * kGap, std::max(0, cell->width() - 2 * kGap),
                            std::max(0, cell->height() - check.height() - 3 * kGap));
        DSP8_IMG[i]->setGeometry(picture);
        DSP8_IMG2[i]->setGeometry(picture);
    }
}

void ORVA_WIN::arrangeSingle() {
    const int width = PIC1_BASE->width();
    const int height = PIC1_BASE->height();
    const int bar = scrollBarExtent(DSP1_SCR);
    DSP1_SCR->setGeometry(std::max(0, width - bar), 0, bar, height);
    DSP1_FRM->setGeometry(0, 0, std::max(0, width - bar), height);

    const int nameHeight = DSP1_NAME->sizeHint().height();
    DSP1_NAME->setGeometry(4, kGap, std::max(0, DSP1_FRM->width() - 8), nameHeight);
    const int top = nameHeight + 2 * kGap;
    DSP1_MAXDSP->setGeometry(4, top, std::max(0, DSP1_FRM->width() - 8),
                             std::max(0, DSP1_FRM->height() - top - 4));

    const int vsc = scrollBarExtent(DSP1_VSC);
    const int hsc = scrollBarExtent(DSP1_HSC);
    const int innerWidth = std::max(0, DSP1_MAXDSP->width() - vsc);
    const int innerHeight = std::max(0, DSP1_MAXDSP->height() - hsc);
    DSP1_PICWAKU->setGeometry(0, 0, innerWidth, innerHeight);
    DSP1_VSC->setGeometry(innerWidth, 0, vsc, innerHeight);
    DSP1_HSC->setGeometry(0, innerHeight, innerWidth, hsc);
}
