#include "sheet_page.h"

#include "native_name.h"

#include <algorithm>

SheetPage sheetPage(const SheetRun& run, int page, double width, double height,
                    const QString& folder, const std::function<double(const QString&)>& widthMm) {
    SheetPage sheet;
    const SheetGeometry& g = run.geometry;
    const int perPage = run.columns * run.rows;
    const int first = (page - 1) * perPage;
    const int last = std::min<int>(first + perPage, int(run.names.size()));
    for (int position = first; position < last; ++position) {
        const SheetPlace place = sheetPlace(position, run.columns, run.rows, run.rightToLeft);
        SheetCell cell;
        cell.name = run.names[position];
        cell.picture = pictureRectangle(g, place.row, place.column);
        if (run.fileNames) {
            cell.label =
                fittedLabel(native_name::forDisplay(labelText(cell.name)), g.pictureWidth, widthMm);
            cell.labelMiddle = (place.column - 1) * g.cellWidth + g.cellWidth / 2;
            cell.labelTop = place.row * g.cellHeight - 4;
        }
        sheet.cells.push_back(cell);
    }
    if (run.path) {
        sheet.lines.push_back({folder, 0, height - (run.pageNumbers ? 10 : 5), false});
    }
    if (run.pageNumbers) {
        sheet.lines.push_back({pageNumberText(page, run.pages), width / 2, height - 5, true});
    }
    return sheet;
}
