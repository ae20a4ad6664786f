#include "printer_access.h"

#include "browsing.h"
#include "native_name.h"
#include "print_output.h"
#include "program.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

namespace {

double tenthsDown(double millimetres) {
    return std::trunc(millimetres * 10.0 + 1e-7) / 10.0;
}

// Margins as small as the printer allows (Qt clamps them to its printable area), so that the
// area the dialogs offer is the printer's own, not Qt's default margins.
void useWholePrintableArea(QPrinter& printer) {
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

} // namespace

QPrinter& programPrinter(Program& program) {
    if (!program.printer) {
        const QPrinterInfo system = QPrinterInfo::defaultPrinter();
        auto printer = system.isNull()
                           ? std::make_shared<QPrinter>(QPrinter::HighResolution)
                           : std::make_shared<QPrinter>(system, QPrinter::HighResolution);
        if (system.isNull() || QPrinterInfo::availablePrinters().isEmpty()) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setPageSize(QPageSize(QPageSize::A4));
        } else {
            useWholePrintableArea(*printer);
        }
        program.printer = printer;
    }
    return *program.printer;
}

bool printsToFile(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat;
}

QString printerCaption(const QPrinter& printer) {
    if (printsToFile(printer)) {
        const QString file = printer.outputFileName();
        return file.isEmpty() ? QCoreApplication::translate(
                                    "printer_access", " PDFファイル (印刷時にファイル名を指定)")
                              : QCoreApplication::translate("printer_access", " PDFファイル %1")
                                    .arg(QFileInfo(file).fileName());
    }
    return QStringLiteral(" ") + printer.printerName();
}

PrintableArea printableArea(const QPrinter& printer) {
    PrintableArea area;
    const QRectF millimetres = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    area.widthMm = tenthsDown(millimetres.width());
    area.heightMm = tenthsDown(millimetres.height());
    const QRect pixels = printer.pageLayout().paintRectPixels(printer.resolution());
    if (area.widthMm > 0 && area.heightMm > 0) {
        area.pixelsPerMmX = pixels.width() / area.widthMm;
        area.pixelsPerMmY = pixels.height() / area.heightMm;
    }
    return area;
}

QString areaCaption(const PrintableArea& area) {
    return QStringLiteral(" %1mm × %2mm")
        .arg(area.widthMm, 0, 'f', 2)
        .arg(area.heightMm, 0, 'f', 2);
}

void PRINTER_SETUP(Program& program, QWidget* owner) {
    QPrinter& printer = programPrinter(program);
    if (program.prompter.printerSetup(owner, printer) && !printsToFile(printer)) {
        useWholePrintableArea(printer); // another printer may have been chosen
    }
}

bool chooseOutputFile(Program& program, QWidget* owner, QPrinter& printer) {
    if (!printsToFile(printer)) {
        return true;
    }
    const QString start = printer.outputFileName().isEmpty()
                              ? browsing::displayFolder(program) + QStringLiteral("orvana.pdf")
                              : printer.outputFileName();
    QString path = program.prompter.saveFileName(
        owner, QCoreApplication::translate("printer_access", "PDFファイルへ印刷"), start,
        QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".pdf");
    }
    printer.setOutputFileName(path);
    return true;
}

QRect paperInFrame(const QRect& inner, const PrintableArea& area) {
    if (area.widthMm <= 0 || area.heightMm <= 0 || inner.isEmpty()) {
        return {};
    }
    const double r = std::max(area.widthMm / inner.width(), area.heightMm / inner.height());
    const QSize paper(int(area.widthMm / r), int(area.heightMm / r));
    return QRect(inner.x() + (inner.width() - paper.width()) / 2,
                 inner.y() + (inner.height() - paper.height()) / 2, paper.width(), paper.height());
}

void tellPrintFailed(Program& program, QWidget* owner) {
    QApplication::beep();
    program.tell(owner,
                 QCoreApplication::translate("printer_access", "イメ－ジの印刷に失敗しました。"));
}

void tellPrintFailed(Program& program, QWidget* owner, const PrintOutput& output) {
    if (output.target().isEmpty()) {
        tellPrintFailed(program, owner); // a printer, which keeps its reasons to itself
        return;
    }
    QApplication::beep();
    const QString target = native_name::forMessage(output.target());
    program.tell(owner, output.replaces()
                            ? QCoreApplication::translate(
                                  "printer_access",
                                  "イメ－ジの印刷に失敗しました。\n%1\nへ書き込めませんでした。"
                                  "元のファイルは変更されていません。\n理由 : %2")
                                  .arg(target, output.reason())
                            : QCoreApplication::translate(
                                  "printer_access",
                                  "イメ－ジの印刷に失敗しました。\n%1\nへ書き込めませんでした。"
                                  "\n理由 : %2")
                                  .arg(target, output.reason()));
}

PrintableArea showPrinter(Program& program, QLabel* name, QLabel* size) {
    const QPrinter& printer = programPrinter(program);
    name->setText(printerCaption(printer));
    const PrintableArea area = printableArea(printer);
    size->setText(areaCaption(area));
    return area;
}
