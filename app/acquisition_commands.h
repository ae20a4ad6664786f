// The acquisition commands of the main window: the run from the TWAIN tool button, the menu or
// the start-up question, and the choice of the TWAIN source.
#pragma once

#include "acquisition_run.h"

#include <cstdint>

class AcquisitionLibrary;
class ORVA_WIN;
class OrvaPictureList;
class QWidget;

// RUN_ACQUISITION in the main window: the source's window belongs to it, the folder history goes
// to Combo1 and the window's views show the result.
AcquisitionRun::Outcome RUN_ACQUISITION(ORVA_WIN& window, AcquisitionLibrary* library);

// The picture holder of BTN_TWAIN_GO: IMG_PICK for the move method (NTWF 1), otherwise by TWBT
// (IMG_SCN, IMG_CAM, IMG_CAM2, IMG_QSCAN).
OrvaPictureList* deviceButtonPictures(ORVA_WIN& window);

// Lets waiting window events run, then shows the manager's source chooser owned by the settings
// dialog when ownerFlag is 0, by the main window otherwise. 1 when a source was chosen, else 0.
int16_t SELECT_SOURCE(AcquisitionLibrary* library, int16_t ownerFlag, QWidget* mainWindow,
                      QWidget* settingsWindow);
