// The pages of a catalogue print: each page sent to the printer with its pictures, labels and
// foot lines, or drawn as boxes into the preview.
#include "browsing.h"
#include "mprt_win.h"
#include "native_name.h"
#include "pelmix.h"
#include "pelmix_view.h"
#include "program.h"
#include "sheet_page.h"
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
    const double mmX = area_.pixelsPerMmX;
    const double mmY = area_.pixelsPerMmY;
    const QString& folder = folder_;
    HGLOBAL& work = browsing::workImage(program_);
    QPainter* painter = PelmixDrawingPainter(run.dc);
    if (painter != nullptr) {
        painter->setFont(font());
    }
    const QFontMetricsF metrics(font(), painter != nullptr ? painter->device() : nullptr);
    const SheetPage sheet =
        sheetPage(run, page, area_.widthMm, area_.heightMm, native_name::forDisplay(folder),
                  [&](const QString& text) { return metrics.horizontalAdvance(text) / mmX; });
    for (const SheetCell& cell : sheet.cells) {
        progress(++done, int(run.names.size()));
        if (work != nullptr) {
            PelmixMemFree(work);
        }
        const QByteArray path = native_name::toBytes(folder + cell.name);
        work = PelmixFileLoad(path.constData(), "", "");
        // A picture that cannot be read or drawn leaves its cell empty; the sheet goes on and
        // the user is told its name when the run is over.
        if (work == nullptr || PelmixPrint(job, run.dc, work, &cell.picture, 0) == 0) {
            notPrinted_ << cell.name;
        }
        if (!cell.label.isEmpty() && painter != nullptr) {
            painter->setPen(labelColour(folder + cell.name));
            painter->drawText(
                QPointF(cell.labelMiddle * mmX - metrics.horizontalAdvance(cell.label) / 2,
                        cell.labelTop * mmY + metrics.ascent()),
                cell.label);
        }
    }
    if (painter != nullptr) {
        painter->setPen(Qt::black);
        for (const SheetLine& line : sheet.lines) {
            const double shift = line.centred ? metrics.horizontalAdvance(line.text) / 2 : 0;
            painter->drawText(QPointF(line.x * mmX - shift, line.y * mmY + metrics.ascent()),
                              line.text);
        }
    }
    if (PelmixPrintEnd(run.dc) == 0) {
        failed();
        return false;
    }
    return true;
}

void MPRT_WIN::drawPreviewPage(QPainter& painter, const SheetRun& run, int page) {
    const double kx = IMG_BASE->width() / area_.widthMm;
    const double ky = IMG_BASE->height() / area_.heightMm;
    // A text is shown as a box 3 mm high and 3 mm wide per character.
    const auto textWidth = [](const QString& text) { return 3.0 * text.size(); };
    const auto textBox = [&](double left, double top, const QString& text, bool centred) {
        const double width = textWidth(text);
        const double x = centred ? left - width / 2 : left;
        painter.fillRect(QRectF(x * kx, top * ky, width * kx, 3 * ky), kLightBlue);
    };
    const SheetPage sheet = sheetPage(run, page, area_.widthMm, area_.heightMm,
                                      native_name::forDisplay(folder_), textWidth);
    for (const SheetCell& cell : sheet.cells) {
        const RECT& r = cell.picture;
        const QRectF box(r.left / 10.0 * kx, r.top / 10.0 * ky, (r.right - r.left) / 10.0 * kx,
                         (r.bottom - r.top) / 10.0 * ky);
        painter.fillRect(box, kLightCyan);
        painter.setPen(Qt::black);
        painter.drawRect(box);
        if (!cell.label.isEmpty()) {
            textBox(cell.labelMiddle, cell.labelTop, cell.label, true);
        }
    }
    for (const SheetLine& line : sheet.lines) {
        textBox(line.x, line.y, line.text, line.centred);
    }
}
