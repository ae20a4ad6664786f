// The controls of the single-image view, as the main window builds them inside PIC1_BASE.
#pragma once

class QFrame;
class QLabel;
class QScrollBar;
class QWidget;

struct SingleControls {
    QFrame* PIC1_BASE = nullptr;
    QScrollBar* DSP1_SCR = nullptr; // file position in the folder
    QFrame* DSP1_FRM = nullptr;
    QLabel* DSP1_NAME = nullptr;
    QFrame* DSP1_MAXDSP = nullptr;  // the picture area
    QFrame* DSP1_PICWAKU = nullptr; // clips the picture
    QLabel* DSP1_PIC = nullptr;     // the picture; moved to scroll
    QScrollBar* DSP1_HSC = nullptr;
    QScrollBar* DSP1_VSC = nullptr;
    QLabel* TOOLARGE = nullptr; // hidden; the picture for a file that cannot be loaded
    QWidget* owner = nullptr;   // owns the message boxes (the main window)
};
