// The catalogue print dialog: every picture of the display folder as sheets of columns x rows,
// optionally with the file names, the folder path and the page numbers; the same layout draws
// the preview of a page and the pages on the printer.
#pragma once

#include "catalogue_sheet.h"
#include "printer_access.h"

#include <QDialog>
#include <QStringList>

class Program;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPainter;
class QProgressBar;
class QPushButton;
class QRadioButton;

class MPRT_WIN : public QDialog {
    Q_OBJECT

public:
    // ownWindow: a window of its own beside the main window (owner), else a dialog over it.
    MPRT_WIN(Program& program, QWidget* owner, bool ownWindow);
    ~MPRT_WIN() override;

    // False when the folder has no pictures: the user was told and the dialog is not to be shown.
    bool hasPictures() const { return hasPictures_; }

    QLineEdit* Text1 = nullptr;
    QListWidget* List1 = nullptr;
    QLabel* FILE_COUNT = nullptr;
    QLineEdit* XMAT = nullptr;
    QLineEdit* YMAT = nullptr;
    QLabel* INPAGE = nullptr;
    QLabel* TOT_PAGE = nullptr;
    QRadioButton* Option1 = nullptr; // left to right
    QRadioButton* Option2 = nullptr; // right to left
    QCheckBox* FN_WRITE = nullptr;
    QCheckBox* PATH_WRITE = nullptr;
    QCheckBox* PAGE_WRITE = nullptr;
    QRadioButton* Option3 = nullptr; // all pages
    QRadioButton* Option4 = nullptr; // one page
    QLineEdit* PPAGE = nullptr;
    QLabel* PRT_NAME = nullptr;
    QLabel* PRT_SIZE = nullptr;
    QPushButton* Command1 = nullptr; // printer settings
    QPushButton* Command2 = nullptr; // print
    QPushButton* Command3 = nullptr; // close
    QGroupBox* ST_FRM = nullptr;
    QProgressBar* ST_BAR = nullptr;
    QFrame* IMG_WAKU = nullptr;
    QLabel* IMG_BASE = nullptr;

    // Lays the pages out: mode 1 draws the preview, mode 0 prints.
    void CATALOGUE_PRINT_LAYOUT(int mode);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void readPrinter();
    void matrixChanged(QLineEdit* box);
    void redraw();
    void onOption3or4();
    bool printPage(const struct SheetRun& run, int page, int& done);
    void drawPreviewPage(QPainter& painter, const struct SheetRun& run, int page);
    void progress(int done, int total);
    void failed();

    Program& program_;
    PrintableArea area_;
    bool hasPictures_ = false;
    // The folder the dialog lists: its sheets show that folder's pictures and path even when the
    // main window goes on to show another one.
    QString folder_;
    bool loading_ = true;
    QStringList notPrinted_; // pictures of this run that could not be read or printed
};
