// The view area of the main window: the catalogue panel with its twelve cells, scroll bar and
// wait frame, the single-image panel, and the hidden helpers the views draw with.
#include "catalogue_view.h"
#include "orva_win.h"
#include "orva_win_browse_view.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>

namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// One element of a repeated control: the array's name plus its position.
template <typename Widget> Widget* indexed(Widget* widget, const char* name, int index) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setProperty("index", index);
    return widget;
}

// Frames and name boxes show the current-file mark through their background.
void paintsBackground(QWidget* widget) {
    widget->setAutoFillBackground(true);
    widget->setBackgroundRole(QPalette::Button);
}

QLabel* hiddenLabel(QWidget* parent, const char* name) {
    auto* label = named(new QLabel(parent), name);
    label->hide();
    return label;
}

} // namespace

void ORVA_WIN::buildCatalogueView(QWidget* central) {
    PIC8_BASE = named(new QFrame(central), "PIC8_BASE");
    DSP8_SCR = named(new QScrollBar(Qt::Vertical, PIC8_BASE), "DSP8_SCR");
    DSP8_SCR->setRange(1, 1);

    for (int i = 0; i < kCells; ++i) {
        QFrame* cell = indexed(new QFrame(PIC8_BASE), "DSP8_FRM", i);
        cell->setFrameShape(QFrame::Box);
        paintsBackground(cell);
        DSP8_FRM[i] = cell;

        DSP8_IMG[i] = indexed(new QLabel(cell), "DSP8_IMG", i);
        DSP8_IMG[i]->setScaledContents(true);
        DSP8_IMG2[i] = indexed(new QLabel(cell), "DSP8_IMG2", i);
        DSP8_IMG2[i]->hide();

        DSP8_NAME[i] = indexed(new QLineEdit(cell), "DSP8_NAME", i);
        DSP8_NAME[i]->setReadOnly(true);
        DSP8_NAME[i]->setFrame(false);
        paintsBackground(DSP8_NAME[i]);

        SEL_CHECK[i] = indexed(new QCheckBox(cell), "SEL_CHECK", i);
        cell->hide(); // a cell is shown once it holds a file
    }

    DSP8_WAIT_FRM = named(new QGroupBox(tr("表示準備中"), central), "DSP8_WAIT_FRM");
    // In front of the cells: the pictures must not show through it.
    DSP8_WAIT_FRM->setBackgroundRole(QPalette::Window);
    DSP8_WAIT_FRM->setAutoFillBackground(true);
    DSP8_WAIT_BAR = named(new QProgressBar(DSP8_WAIT_FRM), "DSP8_WAIT_BAR");
    DSP8_WAIT_BAR->setTextVisible(false);
    DSP8_WAIT_BAR->setRange(0, 1);
    DSP8_WAIT_BAR->setValue(0);
    Command3 = named(new QPushButton(tr("Cancel"), DSP8_WAIT_FRM), "Command3");
    DSP8_WAIT_FRM->hide();

    DSP8_SIZECHK = hiddenLabel(central, "DSP8_SIZECHK");
    PIC_WRK = hiddenLabel(central, "PIC_WRK");
    IMG_WRK = hiddenLabel(central, "IMG_WRK");
    TOOLARGE = hiddenLabel(central, "TOOLARGE");
    TOOLARGE->setPixmap(QIcon(QStringLiteral(":/pictures/toolarge.svg")).pixmap(128, 128));
}

void ORVA_WIN::buildSingleView(QWidget* central) {
    PIC1_BASE = named(new QFrame(central), "PIC1_BASE");
    DSP1_SCR = named(new QScrollBar(Qt::Vertical, PIC1_BASE), "DSP1_SCR");
    DSP1_SCR->setRange(1, 1);

    DSP1_FRM = named(new QFrame(PIC1_BASE), "DSP1_FRM");
    DSP1_FRM->setFrameShape(QFrame::Box);
    paintsBackground(DSP1_FRM);
    DSP1_NAME = named(new QLabel(DSP1_FRM), "DSP1_NAME");

    DSP1_MAXDSP = named(new QFrame(DSP1_FRM), "DSP1_MAXDSP");
    DSP1_PICWAKU = named(new QFrame(DSP1_MAXDSP), "DSP1_PICWAKU");
    DSP1_PIC = named(new QLabel(DSP1_PICWAKU), "DSP1_PIC");
    DSP1_HSC = named(new QScrollBar(Qt::Horizontal, DSP1_MAXDSP), "DSP1_HSC");
    DSP1_VSC = named(new QScrollBar(Qt::Vertical, DSP1_MAXDSP), "DSP1_VSC");
    DSP1_HSC->setRange(0, 0);
    DSP1_VSC->setRange(0, 0);
}

CatalogueView& ORVA_WIN::catalogueView() {
    return browseView_->catalogue();
}

void ORVA_WIN::CATALOGUE_LAYOUT() {
    browseView_->catalogue().CATALOGUE_LAYOUT();
}
