// The main window's commands: every menu item, tool button and control is connected here to its
// handler. Handlers whose work belongs to dialogs and file operations not yet present do nothing.
#include "acquisition_commands.h"
#include "adjust_commands.h"
#include "browsing.h"
#include "catalogue_view.h"
#include "disabled_input.h"
#include "display_refresh.h"
#include "file_commands.h"
#include "folder_history.h"
#include "help_window.h"
#include "orva_win.h"
#include "orva_win_browse_view.h"
#include "orva_win_file_view.h"
#include "orva_win_picture_list.h"
#include "program.h"
#include "single_view.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>

void ORVA_WIN::connectControls() {
    const std::initializer_list<std::pair<QAction*, void (ORVA_WIN::*)()>> items = {
        {MNU_DISP_DFILE, &ORVA_WIN::onMNU_DISP_DFILE},
        {MNU_FILE_READTWAIN, &ORVA_WIN::onMNU_FILE_READTWAIN},
        {MNU_FILE_SELTWAIN, &ORVA_WIN::onMNU_FILE_SELTWAIN},
        {MNU_FILE_SELGETDIR, &ORVA_WIN::onMNU_FILE_SELGETDIR},
        {MNU_FILE_1PRNT, &ORVA_WIN::onMNU_FILE_1PRNT},
        {MNU_FILE_CATPRINT, &ORVA_WIN::onMNU_FILE_CATPRINT},
        {MNU_FILE_PDF, &ORVA_WIN::onMNU_FILE_PDF},
        {MNU_FILE_EDIT1, &ORVA_WIN::onMNU_FILE_EDIT1},
        {MNU_FILE_EDIT2, &ORVA_WIN::onMNU_FILE_EDIT2},
        {MNU_FILE_DELETE, &ORVA_WIN::onMNU_FILE_DELETE},
        {MNU_FILE_RENAME, &ORVA_WIN::onMNU_FILE_RENAME},
        {MNU_FILE_CNF, &ORVA_WIN::onMNU_FILE_CNF},
        {MNU_FILE_EXIT, &ORVA_WIN::onMNU_FILE_EXIT},
        {MNU_DISP_TOOLDISP, &ORVA_WIN::onMNU_DISP_TOOLDISP},
        {MNU_DISP_CMDTRAY, &ORVA_WIN::onMNU_DISP_CMDTRAY},
        {MNU_DISP_FILETRAY, &ORVA_WIN::onMNU_DISP_FILETRAY},
        {MNU_DISP_8DSP, &ORVA_WIN::onMNU_DISP_8DSP},
        {MNU_DISP_8, &ORVA_WIN::onMNU_DISP_8},
        {MNU_DISP_1, &ORVA_WIN::onMNU_DISP_1},
        {MNU_DISP_REDISP, &ORVA_WIN::onMNU_DISP_REDISP},
        {MNU_DISP_MKTN, &ORVA_WIN::onMNU_DISP_MKTN},
        {MNU_SETUP_SETUP, &ORVA_WIN::onMNU_SETUP_SETUP},
        {MNU_HELP_HELP, &ORVA_WIN::onMNU_HELP_HELP},
        {MNU_HELP_VERSION, &ORVA_WIN::onMNU_HELP_VERSION},
    };
    for (const auto& [action, handler] : items) {
        connect(action, &QAction::triggered, this, handler);
    }

    const std::initializer_list<std::pair<QToolButton*, void (ORVA_WIN::*)()>> buttons = {
        {BTN_TWAIN_GO, &ORVA_WIN::onBTN_TWAIN_GO}, {BTN_SET_GO, &ORVA_WIN::onBTN_SET_GO},
        {BTN_DISP_GO, &ORVA_WIN::onBTN_DISP_GO},   {BTN_REDISP_GO, &ORVA_WIN::onBTN_REDISP_GO},
        {BTN_EXIT_GO, &ORVA_WIN::onBTN_EXIT_GO},   {BTN_DFILE, &ORVA_WIN::onBTN_DFILE},
    };
    for (const auto& [button, handler] : buttons) {
        connect(button, &QToolButton::clicked, this, handler);
    }

    connect(Combo1, &QComboBox::activated, this, &ORVA_WIN::onCombo1_activated);
    connect(MAG_SET, &QComboBox::activated, this, &ORVA_WIN::onMAG_SET_activated);
    connect(Command1, &QPushButton::clicked, this, &ORVA_WIN::onCommand1);
    connect(Command2, &QPushButton::clicked, this, &ORVA_WIN::onCommand2);
    connect(F_DRIVE, &QComboBox::activated, this, &ORVA_WIN::onF_DRIVE_activated);
    connect(DSP8_SCR, &QScrollBar::valueChanged, this, &ORVA_WIN::onDSP8_SCR_valueChanged);
    connect(DSP1_SCR, &QScrollBar::valueChanged, this, &ORVA_WIN::onDSP1_SCR_valueChanged);
    for (int i = 0; i < kCells; ++i) {
        connect(SEL_CHECK[i], &QCheckBox::clicked, this, [this, i] { onSEL_CHECK_clicked(i); });
    }
    connect(Command3, &QPushButton::clicked, this, &ORVA_WIN::onCommand3);

    // Page Down and Page Up step the catalogue by pages and the single view by files. As window
    // shortcuts they win over the scroll bars, which would otherwise take the keys themselves.
    auto* down = new QShortcut(QKeySequence(Qt::Key_PageDown), this);
    connect(down, &QShortcut::activated, this, [this] {
        if (program.settings.DSPM != 2) {
            nextPage();
        } else {
            nextFile(); // never past the last file
        }
    });
    auto* up = new QShortcut(QKeySequence(Qt::Key_PageUp), this);
    connect(up, &QShortcut::activated, this,
            [this] { program.settings.DSPM == 2 ? previousFile() : previousPage(); });

    // The arrow keys step the single view through the folder; "next" stops at the last file,
    // where the list has nothing after it.
    auto* right = new QShortcut(QKeySequence(Qt::Key_Right), this);
    connect(right, &QShortcut::activated, this, [this] {
        if (program.settings.DSPM == 2) {
            nextFile();
        }
    });
    auto* left = new QShortcut(QKeySequence(Qt::Key_Left), this);
    connect(left, &QShortcut::activated, this, [this] {
        if (program.settings.DSPM == 2) {
            previousFile();
        }
    });

    connect(&singleView(), &SingleView::backToCatalogue, this, &ORVA_WIN::backToCatalogue);
    // A click on a file's name, in either view, opens the rename dialog on it.
    const auto rename = [this] { OPEN_RENAME(program, fileView()); };
    connect(&singleView(), &SingleView::renameRequested, this, rename);
    connect(&catalogueView().input(), &CatalogueInput::renameRequested, this, rename);
    // Enter in the folder box is taken before the box itself sees it: the box would otherwise
    // pick a matching history entry and report it as a click as well. A real keyboard's keys
    // reach the box (the focus widget), which hands them to its line edit without passing the
    // line edit's filters; both are watched.
    Combo1->installEventFilter(this);
    Combo1->lineEdit()->installEventFilter(this);
    Label1->installEventFilter(this);
    Label2->installEventFilter(this);
}

void ORVA_WIN::onMNU_FILE_READTWAIN() {
    RUN_ACQUISITION(*this, program.acquisitionLibrary);
}

void ORVA_WIN::onMNU_FILE_SELTWAIN() {
    SELECT_SOURCE(program.acquisitionLibrary, 1, this, nullptr);
}

void ORVA_WIN::onMNU_FILE_CNF() {
    ::MNU_FILE_CNF(program, *fileView_);
}

void ORVA_WIN::onMNU_FILE_EXIT() {
    close();
}

void ORVA_WIN::onMNU_DISP_TOOLDISP() {
    program.settings.DSTL = program.settings.DSTL == 0 ? 1 : 0;
    setToggleTexts();
    MAIN_LAYOUT();
}

void ORVA_WIN::onMNU_DISP_CMDTRAY() {
    program.settings.DSTR = program.settings.DSTR == 0 ? 1 : 0;
    setToggleTexts();
    MAIN_LAYOUT();
}

void ORVA_WIN::onMNU_DISP_FILETRAY() {
    program.settings.DSFT = program.settings.DSFT == 0 ? 1 : 0;
    setToggleTexts();
    MAIN_LAYOUT();
}

void ORVA_WIN::onMNU_DISP_8DSP() {
    program.settings.DSPD = program.settings.DSPD == 0 ? 1 : 0;
    setToggleTexts();
    if (program.settings.DSPM == 1) {
        refresh_->forgetPictures();
        refresh_->redrawInPlace();
    }
}

void ORVA_WIN::onMNU_DISP_8() {
    browseView().showCataloguePanel();
    if (program.settings.DSPM != 2) {
        return;
    }
    BTN_DISP_GO->setIcon(IMG_1DISP->picture(0));
    refresh_->toCatalogue();
    if (program.settings.C256 != 0) {
        DSP8_IMG2[0]->update();
    }
    MAIN_LAYOUT();
}

void ORVA_WIN::onMNU_DISP_1() {
    if (program.settings.DSPM != 1) {
        return;
    }
    // The first file of the page, not the current one.
    refresh_->toSingle(false);
    BTN_DISP_GO->setIcon(IMG_8DISP->picture(0));
}

void ORVA_WIN::backToCatalogue() {
    if (program.settings.DSPM != 2) {
        return;
    }
    BTN_DISP_GO->setIcon(IMG_1DISP->picture(0));
    refresh_->switchView();
}

void ORVA_WIN::onMNU_DISP_REDISP() {
    refresh_->redrawInPlace();
}

void ORVA_WIN::onMNU_HELP_HELP() {
    // One help window for the whole run: the one start-up may already have opened.
    auto* help = findChild<HelpWindow*>();
    if (help == nullptr) {
        help = new HelpWindow(this);
    }
    help->showContents(HelpWindow::pathIn(program.PROGRAM_DIR));
}

void ORVA_WIN::onMNU_HELP_VERSION() {
    Prompter::Message message;
    message.caption = program.APP_TITLE;
    message.text = program.APP_TITLE + QLatin1Char('\n') + program.APP_VERSION;
    program.prompter.message(this, message);
}

void ORVA_WIN::onBTN_TWAIN_GO() {
    // The device picture is looked up again afterwards: the settings may change during the run.
    const bool pictures = program.settings.C256 == 0;
    if (pictures) {
        showPressed(BTN_TWAIN_GO, deviceButtonPictures(*this)->picture(1));
    }
    RUN_ACQUISITION(*this, program.acquisitionLibrary);
    if (pictures) {
        BTN_TWAIN_GO->setIcon(deviceButtonPictures(*this)->picture(0));
    }
}

void ORVA_WIN::onBTN_DISP_GO() {
    if (program.settings.DSPM == 2) {
        BTN_DISP_GO->setIcon(IMG_1DISP->picture(0));
        refresh_->switchView();
        if (program.settings.C256 != 0) {
            DSP8_IMG2[0]->update();
        }
    } else {
        showPressed(BTN_DISP_GO, IMG_1DISP->picture(1));
        refresh_->switchView();
        BTN_DISP_GO->setIcon(IMG_8DISP->picture(0));
    }
}

void ORVA_WIN::onBTN_REDISP_GO() {
    // In the 256-colour catalogue mode the button keeps its picture while redrawing.
    const bool pictures = program.settings.C256 == 0;
    if (pictures) {
        showPressed(BTN_REDISP_GO, IMG_RDRAW->picture(1));
    }
    refresh_->redrawInPlace();
    if (pictures) {
        BTN_REDISP_GO->setIcon(IMG_RDRAW->picture(0));
    }
}

void ORVA_WIN::onBTN_EXIT_GO() {
    showPressed(BTN_EXIT_GO, IMG_EXIT->picture(1));
    // The normal picture comes back only when the close was refused.
    if (!close()) {
        BTN_EXIT_GO->setIcon(IMG_EXIT->picture(0));
    }
}

void ORVA_WIN::onCombo1_activated(int index) {
    if (program.HISTORY_BUSY) {
        return;
    }
    refresh_->folderChanged(Combo1->itemText(index));
}

void ORVA_WIN::onCombo1_enter() {
    const QString text = Combo1->currentText();
    if (program.HISTORY_BUSY || text.isEmpty() ||
        !(text.endsWith(QLatin1Char(':')) || text.endsWith(QLatin1Char('/')))) {
        return;
    }
    refresh_->folderChanged(text);
    ADD_FOLDER_HISTORY(program, browsing::displayFolder(program), Combo1);
}

bool ORVA_WIN::eventFilter(QObject* watched, QEvent* event) {
    if (inputToDisabled(watched, event)) {
        return false;
    }
    if ((watched == Label1 || watched == Label2) && event->type() == QEvent::MouseButtonRelease) {
        // A click on either caption takes back the highlight a drag may have left on both.
        for (QLabel* label : {Label1, Label2}) {
            label->setBackgroundRole(QPalette::Button);
            label->setForegroundRole(QPalette::ButtonText);
        }
        return false;
    }
    if ((watched == Combo1 || watched == Combo1->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onCombo1_enter();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void ORVA_WIN::onMAG_SET_activated(int index) {
    const QString text = MAG_SET->itemText(index);
    float& magnification = program.settings.D1MD;
    if (text == QLatin1String("50%")) {
        magnification = 0.5f;
    } else if (text == QLatin1String("100%")) {
        magnification = 1.0f;
    } else {
        magnification = 0; // "自動": fitted to the window
    }
    refresh_->REFRESH_SINGLE(0);
}

void ORVA_WIN::onDSP8_SCR_valueChanged(int value) {
    refresh_->catalogueScrolled(value);
}

void ORVA_WIN::onDSP1_SCR_valueChanged(int value) {
    refresh_->singleScrolled(value);
}

void ORVA_WIN::onSEL_CHECK_clicked(int index) {
    catalogueView().input().toggle(index);
}

void ORVA_WIN::onCommand3() {
    refresh_->cancelPressed();
}
