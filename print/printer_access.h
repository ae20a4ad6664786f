// The program's printer as both print dialogs use it: made on first use (the system's default
// printer, or a PDF file when no printer is installed), its name and printable area, the shared
// printer set-up, and the file a PDF run is written to.
#pragma once

#include <QRect>
#include <QString>

class PrintOutput;
class Program;
class QPrinter;
class QLabel;
class QWidget;

struct PrintableArea {
    double widthMm = 0;  // truncated to 0.1 mm
    double heightMm = 0; // truncated to 0.1 mm
    double pixelsPerMmX = 0;
    double pixelsPerMmY = 0;
};

// The program's printer, made when first asked for.
QPrinter& programPrinter(Program& program);

// Whether the printer writes a PDF file (no printer is installed, or the user chose a file).
bool printsToFile(const QPrinter& printer);

// PRT_NAME: a blank and the printer's name; for a PDF file, what it is.
QString printerCaption(const QPrinter& printer);

// The printable area in millimetres, cut to 0.1 mm, and the printer's pixels per millimetre.
PrintableArea printableArea(const QPrinter& printer);

// PRT_SIZE: " 200.00mm × 287.00mm".
QString areaCaption(const PrintableArea& area);

// Where the paper of area goes in a preview frame's inner rectangle: as large as fits, centred.
QRect paperInFrame(const QRect& inner, const PrintableArea& area);

// A page the printer would not take: a beep and "イメ－ジの印刷に失敗しました。".
void tellPrintFailed(Program& program, QWidget* owner);
// A document that could not be written to its file: the file, whether the one that was there is
// unchanged, and the system's reason; on a printer, as above.
void tellPrintFailed(Program& program, QWidget* owner, const PrintOutput& output);

// Reads the program's printer into a dialog's PRT_NAME and PRT_SIZE; its printable area.
PrintableArea showPrinter(Program& program, QLabel* name, QLabel* size);

// The system's printer set-up on the program's printer, owned by owner. Cancel changes nothing.
void PRINTER_SETUP(Program& program, QWidget* owner);

// Before a run on a PDF printer: the user names the file (through the Prompter). False when
// cancelled; true at once for a real printer.
bool chooseOutputFile(Program& program, QWidget* owner, QPrinter& printer);
