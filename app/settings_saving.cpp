#include "settings_saving.h"

#include "browsing.h"
#include "program.h"
#include "settings_store.h"
#include "startup_messages.h"
#include "startup_placement.h"

#include <QScreen>
#include <QWidget>

bool saveSettingsNow(Program& program, QWidget* mainWindow) {
    SettingsSaveMoment moment;
    moment.displayedFolder = browsing::displayFolder(program);
    if (mainWindow != nullptr) {
        const double dpi =
            mainWindow->screen() != nullptr ? mainWindow->screen()->logicalDotsPerInchY() : 96.0;
        moment.left = pixelsToTwips(mainWindow->x(), dpi);
        moment.top = pixelsToTwips(mainWindow->y(), dpi);
        moment.width = pixelsToTwips(mainWindow->width(), dpi);
        moment.height = pixelsToTwips(mainWindow->height(), dpi);
    }
    const SettingsStore store(program.PROGRAM_DIR, program.SETTINGS_DIR);
    if (store.SAVE_SETTINGS(program.settings, moment) == SettingsSaveResult::Saved) {
        return true;
    }
    program.prompter.message(
        mainWindow, startup_messages::settingsNotSaved(program.APP_TITLE, store.settingsPath()));
    return false;
}
