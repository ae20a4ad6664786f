// What the catalogue cells do with the mouse: a left-button press selects (or deselects) a cell
// and lets a drag of it start, a right-button click and a left-button double-click open the cell
// in the single view, the check box toggles the selection and a click on the name asks for a
// new name. The frame, the scaled picture and the painted picture of a cell behave alike.
#pragma once

#include "catalogue_controls.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

class CatalogueView;
class Program;
class QMimeData;
class QWidget;

class CatalogueInput : public QObject {
    Q_OBJECT

public:
    // The type of the drag data that carries a cell's index (as decimal text).
    static constexpr const char* kCellMimeType = "application/x-orvana-cell";

    CatalogueInput(Program& program, const CatalogueControls& controls, CatalogueView& view);

    // Button pressed on cell index; source is the pressed control, where a drag starts from.
    void press(int index, Qt::MouseButton button, QWidget* source);
    // Click (button released over the control) and double-click on cell index.
    void click(int index);
    void doubleClick(int index);
    // SEL_CHECK index clicked: the selection toggle of a left-button press, without a drag.
    void toggle(int index);
    // DSP8_NAME index clicked: the file is handed to the rename dialog (renameRequested).
    void nameClicked(int index);
    // Cell index becomes the current file and the single view shows it.
    void openInSingleView(int index);

    // What a drag of cell index carries: its index and the file's address. The caller owns it.
    QMimeData* dragData(int index) const;

signals:
    // A click on the name of a cell with a file (RENAME_NAME is already that file).
    void renameRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool select(int index); // the toggle; true when the cell became current
    void startDrag();

    Program& program_;
    const CatalogueControls& c_;
    CatalogueView& view_;
    // A left-button press that selected a cell: the drag starts once the pointer moves.
    int dragIndex_ = -1;
    QPoint dragStart_;
    QPointer<QWidget> dragSource_;
};
