#include "catalogue_sheet.h"

#include "upper_ascii.h"

#include <QCoreApplication>
#include <cmath>

SheetGeometry sheetGeometry(double pageWidth, double pageHeight, int columns, int rows,
                            bool fileNames, bool path, bool pageNumbers) {
    SheetGeometry g;
    g.usableHeight = pageHeight - (pageNumbers ? 5 : 0) - (path ? 5 : 0);
    g.cellWidth = pageWidth / columns;
    g.cellHeight = g.usableHeight / rows;
    g.pictureWidth = g.cellWidth - 1;
    g.pictureHeight = g.cellHeight - 1 - (fileNames ? 5 : 0);
    return g;
}

SheetPlace sheetPlace(int position, int columns, int rows, bool rightToLeft) {
    const int perPage = columns * rows;
    const int onPage = position % perPage;
    SheetPlace place;
    place.page = position / perPage + 1;
    place.row = onPage / columns + 1;
    const int slot = onPage % columns; // 0-based in the fill order
    place.column = rightToLeft ? columns - slot : slot + 1;
    return place;
}

RECT pictureRectangle(const SheetGeometry& g, int row, int column) {
    const double left = (column - 1) * g.cellWidth * 10;
    const double top = (row - 1) * g.cellHeight * 10;
    return RECT{static_cast<LONG>(std::nearbyint(left)), static_cast<LONG>(std::nearbyint(top)),
                static_cast<LONG>(std::nearbyint(left + g.pictureWidth * 10)),
                static_cast<LONG>(std::nearbyint(top + g.pictureHeight * 10))};
}

QString labelText(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QColor labelColour(const QString& path) {
    const QString kind = UPPER_ASCII(path.right(4));
    if (kind == QLatin1String(".JPG")) {
        return QColor(0, 255, 0);
    }
    if (kind == QLatin1String(".TIF")) {
        return QColor(0, 255, 255);
    }
    return QColor(0, 0, 0);
}

QString fittedLabel(const QString& text, double limit,
                    const std::function<double(const QString&)>& widthMm) {
    if (widthMm(text) <= limit) {
        return text;
    }
    if (text.size() <= 3) {
        return QStringLiteral("~?");
    }
    const QString front = text.left(text.size() - 3);
    const QString tail = text.right(3);
    QString shown = text;
    for (qsizetype k = front.size(); k > 0 && widthMm(shown) > limit; --k) {
        shown = front.left(k) + QLatin1Char('~') + tail;
    }
    return shown;
}

QString pageNumberText(int page, int pages) {
    return QCoreApplication::translate("catalogue_sheet", "%1/%2ベージ").arg(page).arg(pages);
}
