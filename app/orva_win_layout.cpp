// The main window layout: the tool bar row, the command and file trays and the view area, worked
// out in twips and converted to pixels where each panel is placed. Panels are placed by hand
// rather than by Qt layouts because the trays are hidden by giving them no width and both views
// share one rectangle.
#include "orva_win.h"
#include "orva_win_browse_view.h"
#include "program.h"
#include "single_twips.h"
#include "single_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace {

// Design sizes, in twips.
constexpr int kToolBarSpace = 48; // above and below the tool buttons together
constexpr int kButtonGap = 30;    // between two tool buttons
constexpr int kMagnificationSpace = 24;
constexpr int kFolderBoxSpace = 50; // right of the folder box
constexpr int kRowSlack = 100;      // what the folder box leaves of the row
constexpr int kCommandTrayWidth = 560;
constexpr int kFileTrayWidth = 1900;
constexpr int kCountGap = 60;
constexpr int kCountWidth = 750; // room for the file count of a large folder

constexpr int kGap = 2; // pixels, inside the trays and cells
constexpr int kTargetSide = 36;

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
};

// Places widget at the box; a refused (negative) size leaves it where it was, and the box then
// describes where it is, so that the next step builds on the real place.
Box placed(QWidget* widget, const Box& box) {
    if (Twips::place(widget, box.left, box.top, box.width, box.height)) {
        return box;
    }
    return {Twips::left(widget), Twips::top(widget), Twips::width(widget), Twips::height(widget)};
}

// A tray's width in twips: its design width, or wider where a caption would not fit its text
// (columns captions side by side, each with a gap either side).
int trayWidth(int designWidth, std::initializer_list<QLabel*> captions, int columns) {
    int widest = 0;
    for (QLabel* caption : captions) {
        widest = std::max(widest, caption->sizeHint().width());
    }
    QLabel* first = *captions.begin();
    const int needed = Twips::fromPixelsX(first, columns * widest + (columns + 1) * 2 * kGap);
    return std::max(designWidth, needed);
}

// The width the same call gets, for the width alone.
int widthSet(QWidget* widget, int width) {
    return Twips::setWidth(widget, width) ? width : Twips::width(widget);
}

} // namespace

SingleView& ORVA_WIN::singleView() {
    return browseView_->single();
}

void ORVA_WIN::MAIN_LAYOUT() {
    QWidget* central = centralWidget();
    if (central == nullptr) {
        return;
    }
    // A window not shown yet has not given the central widget its size: everything below is
    // measured from it, and the first page's pictures are decoded for the cells it gives.
    if (layout() != nullptr) {
        layout()->activate();
    }
    const USR_SETTINGS& settings = program.settings;

    // The scroll bars of both views follow the system's width; both views are laid out again
    // when it changed.
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, DSP8_SCR);
    const int bar = Twips::fromPixelsX(DSP8_SCR, extent);
    if (bar != Twips::width(DSP8_SCR)) {
        Twips::setWidth(DSP8_SCR, bar);
        Twips::setWidth(DSP1_SCR, bar);
        Twips::setHeight(DSP1_HSC, bar);
        Twips::setWidth(DSP1_VSC, bar);
        arrangeCatalogue();
        singleView().SINGLE_LAYOUT();
    }

    // The tool bar row; without it the caption carries the display folder.
    arrangeToolBar(0);
    const bool toolBar = settings.DSTL != 1;
    if (!toolBar) {
        MAG_BASE->hide();
        CMD_BASE->hide();
        DFILE_BASE->hide();
        Twips::setHeight(CMD_BASE, 0);
        setWindowTitle(program.APP_TITLE + QStringLiteral("  ") + Combo1->currentText());
    } else {
        MAG_BASE->show();
        CMD_BASE->show();
        DFILE_BASE->show();
        Twips::setHeight(CMD_BASE, Twips::height(BTN_EXIT_GO) + kToolBarSpace);
        setWindowTitle(program.APP_TITLE);
        Combo1->move(Combo1->x(), 0);
    }

    // The magnification box belongs to the single view drawn by the image library.
    int magnification = 0;
    if (settings.DSPM == 2 && settings.LDSP == 1) {
        magnification = Twips::width(MAG_SET) + kMagnificationSpace;
    } else {
        MAG_BASE->hide();
    }
    magnification = widthSet(MAG_BASE, magnification);

    const int commandWidth = Twips::width(CMD_BASE);
    const int commandHeight = Twips::height(CMD_BASE);
    const Box folder = placed(DFILE_BASE, {commandWidth, 0,
                                           Twips::width(this) - magnification - commandWidth -
                                               Twips::width(PTOTAL_BASE) - kRowSlack,
                                           commandHeight});
    placed(MAG_BASE, {folder.left + folder.width, 0, magnification, commandHeight});
    placed(PTOTAL_BASE, {commandWidth + folder.width + magnification, 0, Twips::width(PTOTAL_BASE),
                         commandHeight});
    const int folderButtonRight = Twips::left(BTN_DFILE) + Twips::width(BTN_DFILE);
    placed(Combo1, {folderButtonRight, 0, folder.width - Twips::width(BTN_DFILE) - kFolderBoxSpace,
                    Twips::height(Combo1)});

    // The trays below the tool bar row, each hidden by giving it no width.
    const int innerHeight = Twips::height(central) - commandHeight;
    const bool commandTray = settings.DSTR != 1;
    CMD2_BASE->setVisible(commandTray);
    const Box commands = placed(
        CMD2_BASE, {0, commandHeight,
                    commandTray ? trayWidth(kCommandTrayWidth,
                                            {Label1, Label2, Label3, Label4, Label5, Label6}, 1)
                                : 0,
                    innerHeight});
    const bool fileTray = settings.DSFT != 1;
    F_BASE->setVisible(fileTray);
    const Box files =
        placed(F_BASE, {commands.left + commands.width, commandHeight,
                        fileTray ? trayWidth(kFileTrayWidth, {MOVE_LABEL, COPY_LABEL}, 2) : 0,
                        innerHeight});

    // The view area fills the rest; both views share it.
    const int viewLeft = files.left + files.width;
    const Box view{viewLeft, commandHeight, Twips::width(central) - viewLeft, innerHeight};
    placed(PIC8_BASE, view);
    placed(PIC1_BASE, view);

    arrangeCommandTray();
    arrangeFileTray();
    arrangeCatalogue();
    singleView().SINGLE_LAYOUT();
}

void ORVA_WIN::arrangeToolBar(int) {
    // Design places: the five tool buttons in a row, the folder button and box, the
    // magnification list and the count. They depend on nothing but the buttons' own sizes.
    const QSize button = BTN_EXIT_GO->sizeHint();
    const int buttonWidth = Twips::fromPixelsX(CMD_BASE, button.width());
    const int buttonHeight = Twips::fromPixelsY(CMD_BASE, button.height());
    int left = kButtonGap;
    for (QToolButton* tool : {BTN_TWAIN_GO, BTN_DISP_GO, BTN_REDISP_GO, BTN_SET_GO, BTN_EXIT_GO}) {
        Twips::place(tool, left, kToolBarSpace / 2, buttonWidth, buttonHeight);
        left += buttonWidth + kButtonGap;
    }
    Twips::setWidth(CMD_BASE, left);

    const QSize folderButton = BTN_DFILE->sizeHint();
    const QSize box = Combo1->sizeHint();
    Twips::place(BTN_DFILE, 0, 0, Twips::fromPixelsX(BTN_DFILE, folderButton.width()),
                 Twips::fromPixelsY(BTN_DFILE, std::max(box.height(), folderButton.height())));
    Twips::setHeight(Combo1, Twips::fromPixelsY(Combo1, box.height()));

    const QSize list = MAG_SET->sizeHint();
    Twips::place(MAG_SET, kMagnificationSpace / 2, 0, Twips::fromPixelsX(MAG_SET, list.width()),
                 Twips::fromPixelsY(MAG_SET, list.height()));

    const QSize label = PTOTAL_LABEL->sizeHint();
    const int labelWidth = Twips::fromPixelsX(PTOTAL_LABEL, label.width());
    const int lineHeight = Twips::fromPixelsY(PTOTAL, std::max(label.height(), box.height()));
    Twips::place(PTOTAL_LABEL, kCountGap, 0, labelWidth, lineHeight);
    // Room for the count of a folder of millions of files in the label's own font.
    const QString shown = PTOTAL->text();
    PTOTAL->setText(QStringLiteral(" 9999999"));
    const int digitsWidth = PTOTAL->sizeHint().width();
    PTOTAL->setText(shown);
    const int countWidth = std::max(kCountWidth, Twips::fromPixelsX(PTOTAL, digitsWidth));
    Twips::place(PTOTAL, 2 * kCountGap + labelWidth, 0, countWidth, lineHeight);
    Twips::setWidth(PTOTAL_BASE, 3 * kCountGap + labelWidth + countWidth);
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

void ORVA_WIN::arrangeCatalogue() {
    CATALOGUE_LAYOUT();
}

void ORVA_WIN::arrangeSingle() {
    singleView().SINGLE_LAYOUT();
}
