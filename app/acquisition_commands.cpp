#include "acquisition_commands.h"

#include "acquisition_library.h"
#include "orva_win.h"
#include "program.h"
#include "startup_texts.h"

#include <QCoreApplication>
#include <QWidget>

namespace {

HWND handleOf(QWidget* widget) {
    return widget != nullptr ? reinterpret_cast<HWND>(widget->winId()) : nullptr;
}

} // namespace

AcquisitionRun::Outcome RUN_ACQUISITION(ORVA_WIN& window, AcquisitionLibrary* library) {
    AcquisitionRun::Window parts;
    parts.handle = handleOf(&window);
    parts.folderBox = window.Combo1;
    parts.refresh = &window.displayRefresh();
    AcquisitionRun run(window.program, library, parts);
    return run.RUN_ACQUISITION();
}

OrvaPictureList* deviceButtonPictures(ORVA_WIN& window) {
    switch (twainPicture(window.program.settings)) {
    case TwainPicture::Scanner:
        return window.IMG_SCN;
    case TwainPicture::Camera:
        return window.IMG_CAM;
    case TwainPicture::Camera2:
        return window.IMG_CAM2;
    case TwainPicture::FilmScanner:
        return window.IMG_QSCAN;
    case TwainPicture::Folder:
        return window.IMG_PICK;
    }
    return window.IMG_SCN;
}

int16_t SELECT_SOURCE(AcquisitionLibrary* library, int16_t ownerFlag, QWidget* mainWindow,
                      QWidget* settingsWindow) {
    QCoreApplication::processEvents();
    if (library == nullptr) {
        return 0;
    }
    QWidget* owner = ownerFlag == 0 ? settingsWindow : mainWindow;
    return library->selectSource(handleOf(owner)) ? 1 : 0;
}
