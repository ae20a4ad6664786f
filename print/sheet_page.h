// One page of a catalogue sheet as both the printer and the preview draw it, in millimetres on
// the printable area: computed once, so the preview shows what the sheet will be.
#pragma once

#include "sheet_run.h"

#include <QString>
#include <functional>
#include <vector>

struct SheetCell {
    QString name;           // the file, in the display folder
    RECT picture{};         // tenths of a millimetre
    QString label;          // empty without file names
    double labelMiddle = 0; // the label is centred on this
    double labelTop = 0;
};

struct SheetLine {
    QString text;
    double x = 0; // the left end, or the middle of a centred line
    double y = 0; // the top
    bool centred = false;
};

struct SheetPage {
    std::vector<SheetCell> cells;
    std::vector<SheetLine> lines; // the folder and the page number at the foot
};

// Page page (1-based) of run on a printable area of width x height millimetres; folder is the
// display folder as the foot shows it, widthMm measures a label as the drawing will.
SheetPage sheetPage(const SheetRun& run, int page, double width, double height,
                    const QString& folder, const std::function<double(const QString&)>& widthMm);
