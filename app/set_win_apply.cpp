// OK of the settings dialog: the settings stored in their order, ORVA.CNF saved, and the main
// window brought up to date, redrawing only what the changes touch.
#include "acquisition_commands.h"
#include "browse_view.h"
#include "display_refresh.h"
#include "folder_history.h"
#include "folder_tree.h"
#include "number_box.h"
#include "number_text.h"
#include "orva_win.h"
#include "orva_win_picture_list.h"
#include "program.h"
#include "set_win.h"
#include "settings_saving.h"
#include "startup_folders.h"
#include "startup_texts.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <QTreeView>
#include <climits>

namespace {

int16_t flag(bool on) {
    return on ? 1 : 0;
}

} // namespace

void SET_WIN::onOK() {
    validateDigits();
    if (Check11->isChecked() && !validateStartNumber()) {
        return;
    }
    MOVING->setText(tr("設定変更処理中"));
    MOVING->repaint();
    storeSettings();
    const bool matrixChanged = storeMatrix();
    saveSettingsNow(program_, &window_);
    window_.MNU_DISP_MKTN->setVisible(program_.settings.UTNM == 1);
    updateMainWindow(matrixChanged);
    MOVING->setText(QStringLiteral(" "));
    close();
}

void SET_WIN::storeSettings() {
    USR_SETTINGS& s = program_.settings;
    const QString base = folder_tree::path(Dir1);
    if (!base.isEmpty()) {
        s.BASD = folder_tree::withSlash(base);
    }
    s.MKDR = flag(Check1->isChecked());
    s.NTOP = Text1->text();
    s.UTNP = Text4->text();
    s.NTWF = Option15->isChecked() ? 1 : Option16->isChecked() ? 2 : 0;
    s.TWBT = Option2->isChecked() ? 2 : Option11->isChecked() ? 3 : Option17->isChecked() ? 4 : 1;
    window_.BTN_TWAIN_GO->setIcon(deviceButtonPictures(window_)->picture(0));

    s.LEXE = Text2->text();
    s.LEX2 = Text3->text();
    s.USP1 = flag(ED_PATHTYPE[0]->isChecked());
    s.USP2 = flag(ED_PATHTYPE[1]->isChecked());
    s.CTDM = flag(Option13->isChecked());
    window_.REFRESH_EDITOR_BUTTONS(); // the editors' targets and, with CTDM, the tray labels

    s.CKTD = flag(Check8->isChecked());
    const AcquisitionTexts texts = acquisitionTexts(s.NTWF);
    window_.MNU_FILE_READTWAIN->setText(texts.menuText);
    window_.BTN_TWAIN_GO->setToolTip(texts.buttonTip);
    window_.MNU_FILE_SELTWAIN->setEnabled(texts.chooseDevice);

    s.D256 = flag(Check2->isChecked());
    s.LDSP = flag(Option4->isChecked());
    s.DFDF = flag(Check3->isChecked());
    for (int i = 0; i < int(Option5.size()); ++i) {
        if (Option5[i]->isChecked()) {
            s.SVMD = int16_t(i);
        }
    }
    s.JPGP = int16_t(JPEG_Q->value());
    storeText();
    storeCleaning();
    s.DSPD = flag(Option7->isChecked());
    s.DSDF = flag(Check4->isChecked());
    s.CD16 = flag(Option9->isChecked());
    s.C256 = flag(Option10->isChecked());
    s.SUTW = flag(Check6->isChecked());
    s.BADM = flag(Check7->isChecked());
    s.UTNM = flag(Check9->isChecked());
    s.UTNT = flag(Option18[0]->isChecked());
    s.UTNS = flag(Check10->isChecked());
    s.SCNN = int16_t(number_text::integerOf(Text5->text(), INT16_MIN, INT16_MAX));
    s.NBMD = flag(Check11->isChecked());
    s.NBNB = int32_t(number_text::integerOf(Text6->text(), INT32_MIN, INT32_MAX));
    s.EXTM = flag(Check12->isChecked());
    window_.setToggleTexts();
}

bool SET_WIN::storeMatrix() {
    USR_SETTINGS& s = program_.settings;
    const int x = int(number_text::integerOf(CMATRIX[0]->text(), INT16_MIN, INT16_MAX));
    const int y = int(number_text::integerOf(CMATRIX[1]->text(), INT16_MIN, INT16_MAX));
    if (x == s.CMTX && y == s.CMTY) {
        return false;
    }
    s.CMTX = int16_t(x);
    s.CMTY = int16_t(y);
    int total = x * y;
    if (total >= 12) {
        total = 12;
    }
    if (total <= 0) {
        total = 1;
        s.CMTX = s.CMTY = 1;
    }
    s.CMTT = int16_t(total);
    window_.CATALOGUE_LAYOUT();
    return true;
}

void SET_WIN::updateMainWindow(bool matrixChanged) {
    const USR_SETTINGS& s = program_.settings;
    DisplayRefresh& refresh = window_.displayRefresh();
    if (s.BASD != openBASD_ || s.MKDR != openMKDR_) {
        MAKE_ACQ_DIR(program_);
        ADD_FOLDER_HISTORY(program_, program_.ACQ_DIR, window_.Combo1);
        // The look of the cells may have changed as well.
        refresh.forgetPictures();
        refresh.folderChanged(program_.ACQ_DIR);
        window_.MAIN_LAYOUT();
        return;
    }
    const int colour = s.CD16 == 1 ? 9 : s.C256 == 1 ? 10 : 8;
    if (s.DSPM == 2) {
        if (s.D256 != openD256_) {
            refresh.redrawInPlace();
        }
    } else if (s.DSPD != openDSPD_ || s.LDSP != openLDSP_ || colour != openColour_ ||
               matrixChanged) {
        refresh.forgetPictures();
        refresh.redrawInPlace();
    }
}
