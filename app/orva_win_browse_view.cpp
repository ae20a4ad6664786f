#include "orva_win_browse_view.h"

#include "catalogue_view.h"
#include "input_block.h"
#include "orva_win.h"
#include "orva_win_picture_list.h"
#include "single_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>

OrvaBrowseView::OrvaBrowseView(ORVA_WIN& window) : window_(window) {
    SingleControls controls;
    controls.PIC1_BASE = window.PIC1_BASE;
    controls.DSP1_SCR = window.DSP1_SCR;
    controls.DSP1_FRM = window.DSP1_FRM;
    controls.DSP1_NAME = window.DSP1_NAME;
    controls.DSP1_MAXDSP = window.DSP1_MAXDSP;
    controls.DSP1_PICWAKU = window.DSP1_PICWAKU;
    controls.DSP1_PIC = window.DSP1_PIC;
    controls.DSP1_HSC = window.DSP1_HSC;
    controls.DSP1_VSC = window.DSP1_VSC;
    controls.TOOLARGE = window.TOOLARGE;
    controls.owner = &window;
    single_ = std::make_unique<SingleView>(window.program, controls, window.CELL_DRAG_STATE);
    CatalogueControls cells;
    cells.PIC8_BASE = window.PIC8_BASE;
    cells.DSP8_SCR = window.DSP8_SCR;
    cells.DSP8_FRM = window.DSP8_FRM;
    cells.DSP8_IMG = window.DSP8_IMG;
    cells.DSP8_IMG2 = window.DSP8_IMG2;
    cells.DSP8_NAME = window.DSP8_NAME;
    cells.SEL_CHECK = window.SEL_CHECK;
    cells.DSP8_WAIT_FRM = window.DSP8_WAIT_FRM;
    cells.DSP8_WAIT_BAR = window.DSP8_WAIT_BAR;
    cells.Command3 = window.Command3;
    cells.DSP8_SIZECHK = window.DSP8_SIZECHK;
    cells.TOOLARGE = window.TOOLARGE;
    cells.owner = &window;
    cells.CELL_DRAG_STATE = &window.CELL_DRAG_STATE;
    cells.refresh = [&window]() -> DisplayRefresh& { return window.displayRefresh(); };
    cells.showSinglePanel = [this] { showSinglePanel(); };
    cells.singleViewShown = [&window] {
        window.BTN_DISP_GO->setIcon(window.IMG_8DISP->picture(0));
        window.MAIN_LAYOUT();
    };
    catalogue_ = std::make_unique<CatalogueView>(window.program, cells);
    catalogueBlock_ = std::make_unique<InputBlock>(window.PIC8_BASE);
}

OrvaBrowseView::~OrvaBrowseView() = default;

QScrollBar* OrvaBrowseView::scrollBar(Bar bar) const {
    return bar == Bar::Catalogue ? window_.DSP8_SCR : window_.DSP1_SCR;
}

void OrvaBrowseView::setFileCount(const QString& caption) {
    window_.PTOTAL->setText(caption);
}

void OrvaBrowseView::setScrollRange(Bar bar, int min, int max, int largeChange) {
    QScrollBar* scroll = scrollBar(bar);
    scroll->setRange(min, max < min ? min : max);
    scroll->setPageStep(largeChange);
}

void OrvaBrowseView::setScrollValue(Bar bar, int value) {
    scrollBar(bar)->setValue(value);
}

void OrvaBrowseView::setScrollEnabled(Bar bar, bool enabled) {
    scrollBar(bar)->setEnabled(enabled);
}

void OrvaBrowseView::showWaitFrame(const QString& caption) {
    window_.DSP8_WAIT_FRM->setTitle(caption);
    window_.DSP8_WAIT_FRM->raise();
    window_.DSP8_WAIT_FRM->show();
}

void OrvaBrowseView::setWaitCaption(const QString& caption) {
    window_.DSP8_WAIT_FRM->setTitle(caption);
}

void OrvaBrowseView::setWaitProgress(int done, int total) {
    QProgressBar* bar = window_.DSP8_WAIT_BAR;
    bar->setRange(0, total > 0 ? total : 1);
    bar->setValue(done < 0 ? 0 : (done > bar->maximum() ? bar->maximum() : done));
    window_.DSP8_WAIT_FRM->repaint();
}

void OrvaBrowseView::hideWaitFrame() {
    window_.DSP8_WAIT_FRM->hide();
}

void OrvaBrowseView::setCommandsEnabled(bool enabled) {
    for (QWidget* panel :
         {static_cast<QWidget*>(window_.CMD2_BASE), static_cast<QWidget*>(window_.F_BASE),
          static_cast<QWidget*>(window_.DFILE_BASE), static_cast<QWidget*>(window_.CMD_BASE)}) {
        panel->setEnabled(enabled);
    }
    // The catalogue takes no input either, but its pictures are drawn as they are, not greyed.
    catalogueBlock_->setActive(!enabled);
    for (QMenu* menu : {window_.MNU_FILE, window_.MNU_DISP, window_.MNU_SETUP, window_.MNU_HELP}) {
        menu->menuAction()->setEnabled(enabled);
    }
}

void OrvaBrowseView::showCataloguePanel() {
    window_.PIC1_BASE->hide();
    window_.PIC8_BASE->show();
    window_.PIC8_BASE->raise();
    // The wait frame belongs in front of the catalogue while it is shown.
    window_.DSP8_WAIT_FRM->raise();
}

void OrvaBrowseView::showSinglePanel() {
    window_.PIC8_BASE->hide();
    window_.PIC1_BASE->show();
    window_.PIC1_BASE->raise();
}

void OrvaBrowseView::processPendingEvents() {
    QApplication::processEvents();
}

QSize OrvaBrowseView::screenSize() const {
    const QScreen* screen = window_.screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->size() : QSize(1024, 768);
}

QWidget* OrvaBrowseView::messageOwner() {
    return &window_;
}

void OrvaBrowseView::drawCell(int index, const QString& name) {
    catalogue_->drawCell(index, name);
}

void OrvaBrowseView::markCell(int index, bool current) {
    catalogue_->markCell(index, current);
}

void OrvaBrowseView::drawSingle(const QString& name, bool current, const QString& next) {
    single_->draw(name, current, next);
}

void OrvaBrowseView::clearSingle() {
    single_->clear();
    window_.PIC1_BASE->update();
}

void OrvaBrowseView::relayout() {
    window_.MAIN_LAYOUT();
}
