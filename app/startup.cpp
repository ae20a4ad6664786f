#include "startup.h"

#include "acquisition_commands.h"
#include "acquisition_library.h"
#include "browse_view.h"
#include "browsing.h"
#include "command_line.h"
#include "desktop.h"
#include "display_refresh.h"
#include "folder_history.h"
#include "gr_win.h"
#include "help_window.h"
#include "interrupted_runs.h"
#include "orva_win.h"
#include "orva_win_picture_list.h"
#include "program.h"
#include "settings_store.h"
#include "startup_folders.h"
#include "startup_messages.h"
#include "startup_placement.h"
#include "startup_texts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QScreen>
#include <QStorageInfo>
#include <QToolButton>
#include <QWindow>

namespace {

double logicalDpi(const QWidget& widget) {
    const QScreen* screen = widget.screen();
    return screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
}

} // namespace

Startup::Startup(Program& program, AcquisitionLibrary& library)
    : program_(program), library_(library) {}

Startup::~Startup() {
    if (startScreen_) {
        delete startScreen_.data();
    }
}

bool Startup::begin(const QString& programDir, const QDate& today) {
    startScreen_ = new GR_WIN(program_.APP_TITLE, program_.APP_VERSION);
    startScreen_->show();
    startScreen_->repaint();
    QCoreApplication::processEvents();

    program_.settings.DSPM = 1;
    program_.PROGRAM_DIR = withTrailingSlash(programDir);
    program_.TODAY_STR = todayText(today);

    program_.SETTINGS_DIR = SettingsStore::settingsFolder(program_.PROGRAM_DIR);
    const SettingsStore store(program_.PROGRAM_DIR, program_.SETTINGS_DIR);
    if (store.LOAD_SETTINGS(program_.settings) == SettingsLoadResult::DefaultsMissing) {
        delete startScreen_.data();
        program_.prompter.message(
            nullptr, startup_messages::defaultsMissing(program_.APP_TITLE, store.defaultsPath()));
        return false;
    }
    loadFolderHistory(program_);
    startScreen_->setHeightTwips(3450);
    return true;
}

GR_WIN* Startup::startScreen() const {
    return startScreen_.data();
}

HelpWindow& Startup::helpWindow() {
    if (!help_) {
        help_ = window_ != nullptr ? window_->findChild<HelpWindow*>() : nullptr;
    }
    if (!help_) {
        help_ = new HelpWindow(window_);
    }
    return *help_;
}

void Startup::load(ORVA_WIN& window, const QString& commandLine) {
    window_ = &window;
    USR_SETTINGS& s = program_.settings;

    placeWindow();

    const AcquisitionTexts texts = acquisitionTexts(s.NTWF);
    window.MNU_FILE_READTWAIN->setText(texts.menuText);
    window.BTN_TWAIN_GO->setToolTip(texts.buttonTip);
    window.MNU_FILE_SELTWAIN->setEnabled(texts.chooseDevice);

    window.MAG_SET->setCurrentIndex(window.MAG_SET->findText(magnificationText(s.D1MD)));

    if (s.BASD.isEmpty()) {
        helpWindow().showContents(HelpWindow::pathIn(program_.PROGRAM_DIR));
        settleFirstRunBase(program_, GET_DESKTOP_DIR());
    }
    MAKE_ACQ_DIR(program_);

    window.MAIN_LAYOUT();
    if (startScreen_) {
        delete startScreen_.data();
    }

    chooseDisplayFolder(commandLine);
    setFileTray();
    askDrawPictures();
    ADD_FOLDER_HISTORY(program_, browsing::displayFolder(program_), window.Combo1);
    setPictures();
    window.REFRESH_EDITOR_BUTTONS();
    window.setToggleTexts();
    checkTwainDevice();
    // Pages a killed run left behind are named before anything is shown.
    recoverInterruptedRuns(program_);
    firstRefresh();
    window.MNU_DISP_MKTN->setVisible(s.UTNM == 1);

    window.show();
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    hooked_ = true;
    // A move to a screen of another resolution changes every twips measure.
    if (QWindow* handle = window.windowHandle()) {
        connect(handle, &QWindow::screenChanged, this, [this] {
            if (hooked_ && !hookBusy_) {
                window_->MAIN_LAYOUT();
            }
        });
    }
}

void Startup::placeWindow() {
    ORVA_WIN& w = *window_;
    const double dpi = logicalDpi(w);
    const QScreen* screen = w.screen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize screenPixels = area.size();
    const TwipsSize screenTwips{pixelsToTwips(screenPixels.width(), dpi),
                                pixelsToTwips(screenPixels.height(), dpi)};
    const TwipsSize design{pixelsToTwips(w.width(), dpi), pixelsToTwips(w.height(), dpi)};
    const TwipsRect r = windowPlacement(program_.settings, screenTwips, design);
    w.move(area.left() + twipsToPixels(r.left, dpi), area.top() + twipsToPixels(r.top, dpi));
    w.resize(std::max(1, twipsToPixels(r.width, dpi)), std::max(1, twipsToPixels(r.height, dpi)));
}

void Startup::chooseDisplayFolder(const QString& commandLine) {
    startedWithFolder_ = false;
    if (!commandLine.isEmpty()) {
        const FolderName name = folderFromName(commandLine);
        if (name.isFolder) {
            browsing::startIn(program_, name.folder);
            startedWithFolder_ = true;
            return;
        }
        program_.prompter.message(
            window_, startup_messages::commandLineNotFolder(program_.APP_TITLE, commandLine));
    }
    browsing::startIn(program_, startFolder(program_.settings, program_.ACQ_DIR));
}

void Startup::setFileTray() {
    // The folder keeps its letter case: the file system here tells cases apart.
    ORVA_WIN& w = *window_;
    const QString folder = program_.settings.FTRD;
    if (folder.isEmpty() || w.F_DIR_MODEL == nullptr) {
        return;
    }
    const int drive = w.F_DRIVE->findText(QStorageInfo(folder).rootPath());
    if (drive >= 0) {
        w.F_DRIVE->setCurrentIndex(drive);
    }
    w.revealTrayFolder(folder);
}

void Startup::askDrawPictures() {
    USR_SETTINGS& s = program_.settings;
    if (s.DSDF != 1) {
        return;
    }
    const int answer = program_.prompter.message(
        window_, startup_messages::drawPicturesQuestion(program_.APP_TITLE,
                                                        browsing::displayFolder(program_)));
    s.DSPD = answer == Prompter::No ? 1 : 0;
}

void Startup::setPictures() {
    ORVA_WIN& w = *window_;
    OrvaPictureList* picture = w.IMG_SCN;
    switch (twainPicture(program_.settings)) {
    case TwainPicture::Scanner:
        break;
    case TwainPicture::Camera:
        picture = w.IMG_CAM;
        break;
    case TwainPicture::Camera2:
        picture = w.IMG_CAM2;
        break;
    case TwainPicture::FilmScanner:
        picture = w.IMG_QSCAN;
        break;
    case TwainPicture::Folder:
        picture = w.IMG_PICK;
        break;
    }
    w.BTN_TWAIN_GO->setIcon(picture->picture(0));
    // The view button shows the view it switches to.
    const bool single = program_.settings.DSPM == 2;
    w.BTN_DISP_GO->setIcon((single ? w.IMG_8DISP : w.IMG_1DISP)->picture(0));
    if (single) {
        w.browseView().showSinglePanel();
    } else {
        w.browseView().showCataloguePanel();
    }
}

void Startup::checkTwainDevice() {
    const USR_SETTINGS& s = program_.settings;
    if (s.CKTD != 1) {
        return;
    }
    QString list;
    const HWND hwnd = reinterpret_cast<HWND>(window_->winId());
    if (!library_.sourceList(hwnd, list)) {
        program_.prompter.message(window_,
                                  startup_messages::deviceListFailedAtStart(program_.APP_TITLE));
        return;
    }
    const QString current = AcquisitionLibrary::defaultSource(list);
    if (current != s.CKTN) {
        program_.prompter.message(
            window_, startup_messages::deviceChanged(program_.APP_TITLE, s.CKTN, current));
    }
}

void Startup::firstRefresh() {
    if (program_.settings.SUTW == 1 && !startedWithFolder_) {
        const int answer = program_.prompter.message(
            window_, startup_messages::acquireNowQuestion(program_.APP_TITLE));
        // A run that brought nothing leaves the views to the usual first refresh, so that the
        // window never opens empty.
        if (answer == Prompter::Yes &&
            RUN_ACQUISITION(*window_, &library_) == AcquisitionRun::Outcome::Shown) {
            return;
        }
    }
    refreshView();
}

void Startup::refreshView() {
    DisplayRefresh& refresh = window_->displayRefresh();
    if (program_.settings.DSPM == 1) {
        refresh.REFRESH_CATALOGUE(1);
        window_->browseView().showCataloguePanel();
    } else {
        refresh.REFRESH_SINGLE(1);
        window_->browseView().showSinglePanel();
    }
}
