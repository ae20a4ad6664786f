// Texts and pictures the main window takes from the settings when it is loaded: the acquisition
// command by acquisition method, the magnification box and the TWAIN button's picture.
#pragma once

#include <QString>

struct USR_SETTINGS;

struct AcquisitionTexts {
    QString menuText;         // MNU_FILE_READTWAIN
    QString buttonTip;        // BTN_TWAIN_GO
    bool chooseDevice = true; // MNU_FILE_SELTWAIN enabled
};

// NTWF 1 acquires by moving files from a folder; 0 and 2 start with the TWAIN device.
AcquisitionTexts acquisitionTexts(int NTWF);

// The MAG_SET text for D1MD; a magnification the box does not offer becomes 0 (fit).
QString magnificationText(float& D1MD);

// Pictures of the TWAIN tool button.
enum class TwainPicture { Scanner = 1, Camera = 2, Camera2 = 3, FilmScanner = 4, Folder = 5 };

// The picture by TWBT (an unknown value becomes 1, the scanner), or the folder picture when
// NTWF is 1.
TwainPicture twainPicture(USR_SETTINGS& settings);
