#include "catalogue_input.h"

#include "browse_view.h"
#include "browsing_state.h"
#include "catalogue_view.h"
#include "disabled_input.h"
#include "display_refresh.h"
#include "program.h"

#include <QApplication>
#include <QDrag>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QToolButton>
#include <QUrl>

CatalogueInput::CatalogueInput(Program& program, const CatalogueControls& controls,
                               CatalogueView& view)
    : program_(program), c_(controls), view_(view) {
    for (int i = 0; i < CatalogueControls::kCells; ++i) {
        for (QWidget* control :
             {static_cast<QWidget*>(c_.DSP8_FRM[i]), static_cast<QWidget*>(c_.DSP8_IMG[i]),
              static_cast<QWidget*>(c_.DSP8_IMG2[i]), static_cast<QWidget*>(c_.DSP8_NAME[i])}) {
            control->installEventFilter(this);
        }
    }
}

bool CatalogueInput::select(int index) {
    BrowsingState& state = program_.browse;
    if (state.PAGE_NAME[index] == state.CAT_CURRENT) {
        state.CAT_CURRENT.clear();
        view_.markCell(index, false);
        return false;
    }
    view_.UNMARK_CURRENT_CELL();
    state.CAT_CURRENT = state.PAGE_NAME[index];
    view_.markCell(index, true);
    return true;
}

void CatalogueInput::press(int index, Qt::MouseButton button, QWidget* source) {
    dragIndex_ = -1;
    if (button == Qt::RightButton) {
        *c_.CELL_DRAG_STATE = 2;
        return;
    }
    if (button != Qt::LeftButton) {
        return;
    }
    if (select(index)) {
        dragIndex_ = index;
        dragSource_ = source;
    }
    *c_.CELL_DRAG_STATE = 1;
}

void CatalogueInput::click(int index) {
    if (*c_.CELL_DRAG_STATE == 2) {
        openInSingleView(index);
    }
}

void CatalogueInput::doubleClick(int index) {
    if (*c_.CELL_DRAG_STATE == 1) {
        openInSingleView(index);
    }
}

void CatalogueInput::toggle(int index) {
    if (index >= 0 && index < CatalogueControls::kCells) {
        select(index);
    }
}

void CatalogueInput::nameClicked(int index) {
    if (index < 0 || index >= CatalogueControls::kCells ||
        program_.browse.PAGE_NAME[index].isEmpty()) {
        return;
    }
    program_.RENAME_NAME = program_.browse.PAGE_NAME[index];
    emit renameRequested();
}

void CatalogueInput::openInSingleView(int index) {
    BrowsingState& state = program_.browse;
    if (index < 0 || index >= CatalogueControls::kCells || state.PAGE_NAME[index].isEmpty()) {
        return;
    }
    dragIndex_ = -1;
    if (!state.CAT_CURRENT.isEmpty()) {
        view_.UNMARK_CURRENT_CELL();
    }
    state.CAT_CURRENT = state.PAGE_NAME[index];
    view_.markCell(index, true);
    state.ONE_NAME = state.PAGE_NAME[index];
    c_.showSinglePanel();
    c_.refresh().REFRESH_SINGLE(0);
    program_.settings.DSPM = 2;
    state.CAT_STALE = false;
    c_.singleViewShown();
}

QMimeData* CatalogueInput::dragData(int index) const {
    auto* data = new QMimeData;
    if (index < 0 || index >= CatalogueControls::kCells) {
        return data;
    }
    data->setData(QString::fromLatin1(kCellMimeType), QByteArray::number(index));
    const BrowsingState& state = program_.browse;
    if (!state.PAGE_NAME[index].isEmpty()) {
        data->setUrls({QUrl::fromLocalFile(state.DISP_DIR + state.PAGE_NAME[index])});
    }
    return data;
}

void CatalogueInput::startDrag() {
    const int index = dragIndex_;
    dragIndex_ = -1;
    if (dragSource_ == nullptr) {
        return;
    }
    auto* drag = new QDrag(dragSource_);
    drag->setMimeData(dragData(index));
    const QPixmap picture = c_.DSP8_IMG[index]->pixmap();
    if (!picture.isNull()) {
        drag->setPixmap(picture.scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

bool CatalogueInput::eventFilter(QObject* watched, QEvent* event) {
    if (inputToDisabled(watched, event)) {
        return false;
    }
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove) {
        return false;
    }
    auto* control = static_cast<QWidget*>(watched);
    const int index = control->property("index").toInt();
    if (index < 0 || index >= CatalogueControls::kCells) {
        return false;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (watched == c_.DSP8_NAME[index]) {
        if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
            control->rect().contains(mouse->position().toPoint())) {
            nameClicked(index);
        }
        return false; // the box keeps its own handling
    }
    // Handled here, so that a press on the picture does not reach the frame behind it as well.
    switch (type) {
    case QEvent::MouseButtonPress:
        press(index, mouse->button(), control);
        dragStart_ = mouse->globalPosition().toPoint();
        break;
    case QEvent::MouseButtonRelease:
        dragIndex_ = -1;
        if (control->rect().contains(mouse->position().toPoint())) {
            click(index);
        }
        break;
    case QEvent::MouseButtonDblClick:
        doubleClick(index);
        break;
    default:
        if (dragIndex_ == index && (mouse->buttons() & Qt::LeftButton) &&
            (mouse->globalPosition().toPoint() - dragStart_).manhattanLength() >=
                QApplication::startDragDistance()) {
            startDrag();
        }
        break;
    }
    return true;
}
