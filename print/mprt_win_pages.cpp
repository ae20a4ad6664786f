// The pages of a catalogue print: each page sent to the printer with its pictures, labels and
// foot lines, or drawn as boxes into the preview.
#include "mprt_win.h"
#include "native_name.h"
#include "pelmix.h"
#include "pelmix_view.h"
#include "program.h"
#include "sheet_run.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>

namespace {

const QColor kLightCyan(0, 255, 255);
const QColor kLightBlue(0, 0, 255);

} // namespace

bool MPRT_WIN::printPage(const SheetRun& run, int page, int& done) {
    const int32_t job = PelmixPrintStart(run.dc, "");
    if (job == 0) {
        failed();
        return false;
    }
    const SheetGeometry& g = run.geometry;
    const int perPage = run.columns * run.rows;
    const int first = (page - 1) * perPage;
    const int last = std::min<int>(first + perPage, int(run.names.size()));
    const double mmX = area_.pixelsPerMmX;
    const double mmY = area_.pixelsPerMmY;
    BrowsingState& state = program_.browse;
    for (int position = first; position < last; ++position) {
        const QString& name = run.names[position];
        progress(position + 1, int(run.names.size()));
        ++done;
        if (state.WORK_IMAGE != nullptr) {
            PelmixMemFree(state.WORK_IMAGE);
        }
        const QByteArray path = native_name::toBytes(state.DISP_DIR + name);
        state.WORK_IMAGE = PelmixFileLoad(path.constData(), "", "");
        const SheetPlace place = sheetPlace(position, run.columns, run.rows, run.rightToLeft);
        const RECT rectangle = pictureRectangle(g, place.row, place.column);
        PelmixPrint(job, run.dc, state.WORK_IMAGE, &rectangle, 0);

        QPainter* painter = PelmixDrawingPainter(run.dc);
        if (run.fileNames && painter != nullptr) {
            painter->setFont(font());
            const QFontMetricsF metrics(font(), painter->device());
            const auto widthMm = [&](const QString& text) {
                return metrics.horizontalAdvance(text) / mmX;
            };
            const QString label =
                fittedLabel(native_name::forDisplay(labelText(name)), g.pictureWidth, widthMm);
            const double middle = (place.column - 1) * g.cellWidth + g.cellWidth / 2;
            const double top = place.row * g.cellHeight - 4;
            painter->setPen(labelColour(state.DISP_DIR + name));
            painter->drawText(QPointF(middle * mmX - metrics.horizontalAdvance(label) / 2,
                                      top * mmY + metrics.ascent()),
                              label);
        }
    }
    QPainter* painter = PelmixDrawingPainter(run.dc);
    if (painter != nullptr && (run.path || run.pageNumbers)) {
        painter->setFont(font());
        painter->setPen(Qt::black);
        const QFontMetricsF metrics(font(), painter->device());
        if (run.path) {
            const double y = area_.heightMm - (run.pageNumbers ? 10 : 5);
            painter->drawText(QPointF(0, y * mmY + metrics.ascent()),
                              native_name::forDisplay(state.DISP_DIR));
        }
        if (run.pageNumbers) {
            const QString text = pageNumberText(page, run.pages);
            painter->drawText(QPointF(area_.widthMm / 2 * mmX - metrics.horizontalAdvance(text) / 2,
                                      (area_.heightMm - 5) * mmY + metrics.ascent()),
                              text);
        }
    }
    if (PelmixPrintEnd(run.dc) == 0) {
        failed();
        return false;
    }
    return true;
}

void MPRT_WIN::drawPreviewPage(QPainter& painter, const SheetRun& run, int page) {
    const SheetGeometry& g = run.geometry;
    const double kx = IMG_BASE->width() / area_.widthMm;
    const double ky = IMG_BASE->height() / area_.heightMm;
    // A text is shown as a box 3 mm high and 3 mm wide per character.
    const auto textBox = [&](double left, double top, const QString& text, bool centred) {
        const double width = 3.0 * text.size();
        const double x = centred ? left - width / 2 : left;
        painter.fillRect(QRectF(x * kx, top * ky, width * kx, 3 * ky), kLightBlue);
    };
    const int perPage = run.columns * run.rows;
    const int first = (page - 1) * perPage;
    const int last = std::min<int>(first + perPage, int(run.names.size()));
    for (int position = first; position < last; ++position) {
        const SheetPlace place = sheetPlace(position, run.columns, run.rows, run.rightToLeft);
        const RECT r = pictureRectangle(g, place.row, place.column);
        const QRectF box(r.left / 10.0 * kx, r.top / 10.0 * ky, (r.right - r.left) / 10.0 * kx,
                         (r.bottom - r.top) / 10.0 * ky);
        painter.fillRect(box, kLightCyan);
        painter.setPen(Qt::black);
        painter.drawRect(box);
        if (run.fileNames) {
            const QString label =
                fittedLabel(labelText(run.names[position]), g.pictureWidth,
                            [](const QString& text) { return 3.0 * text.size(); });
            textBox((place.column - 1) * g.cellWidth + g.cellWidth / 2,
                    place.row * g.cellHeight - 4, label, true);
        }
    }
    if (run.path) {
        textBox(0, area_.heightMm - (run.pageNumbers ? 10 : 5),
                native_name::forDisplay(program_.browse.DISP_DIR), false);
    }
    if (run.pageNumbers) {
        textBox(area_.widthMm / 2, area_.heightMm - 5, pageNumberText(page, run.pages), true);
    }
}
