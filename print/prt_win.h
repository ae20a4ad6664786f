// The single-image print dialog: one picture (PRINT_PATH) printed at a size and position given in
// millimetres, with a preview of the paper. The main window cannot be used while it is open.
#pragma once

#include "picture_placement.h"
#include "printer_access.h"
#include "winport.h"

#include <QDialog>

class Program;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class PRT_WIN : public QDialog {
    Q_OBJECT

public:
    // mainWindow is disabled while the dialog is open; the dialog is a window of its own, placed
    // over it.
    PRT_WIN(Program& program, QWidget* mainWindow);
    ~PRT_WIN() override;

    QLabel* PRT_NAME = nullptr;
    QLabel* PRT_SIZE = nullptr;
    QPushButton* Command1 = nullptr; // printer settings
    QLineEdit* X_SIZE = nullptr;
    QLineEdit* Y_SIZE = nullptr;
    QLineEdit* LT_X = nullptr;
    QLineEdit* LT_Y = nullptr;
    QCheckBox* AUTO_CENTER = nullptr;
    QPushButton* Command2 = nullptr; // print
    QPushButton* Command3 = nullptr; // close
    QFrame* IMG_WAKU = nullptr;
    QFrame* IMG_BASE = nullptr;
    QLabel* IMG = nullptr;

    // The picture's place as the boxes say now: what the preview shows and the printer gets.
    PicturePlacement placement() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void readPrinter();
    void sizeChanged(bool horizontal);
    void positionChanged(bool horizontal);
    void onAutoCenter();
    void centre();
    void drawPreview();
    void onPrint();
    void failed();

    Program& program_;
    QWidget* mainWindow_;
    HGLOBAL PRT_IMAGE = nullptr;
    HGLOBAL preview_ = nullptr; // PRT_IMAGE reduced for the preview
    int PRT_IMG_W = 0;
    int PRT_IMG_H = 0;
    double PRT_ASPECT_WH = 0;
    double PRT_ASPECT_HW = 0;
    PrintableArea area_;
    bool SIZE_BUSY = false;
    bool POS_BUSY = false;
};
