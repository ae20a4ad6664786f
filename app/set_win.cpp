#include "set_win.h"

#include "acquisition_commands.h"
#include "desktop.h"
#include "dialog_placement.h"
#include "folder_tree.h"
#include "gpath2.h"
#include "number_box.h"
#include "number_text.h"
#include "orva_win.h"
#include "program.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedLayout>
#include <QTimer>
#include <QTreeView>
#include <climits>

namespace {

QString extensionLabel(int SVMD) {
    return SVMD == 0   ? QStringLiteral("NNN.BMP")
           : SVMD == 1 ? QStringLiteral("NNN.JPG")
           : SVMD == 5 ? QStringLiteral("NNN.PDF")
                       : QStringLiteral("NNN.TIF");
}

// The program's own ways of showing a box that may not be used: greyed background.
void setUsable(QWidget* control, bool usable) {
    control->setEnabled(usable);
    control->setBackgroundRole(usable ? QPalette::Base : QPalette::Button);
}

} // namespace

SET_WIN::SET_WIN(Program& program, ORVA_WIN& window, bool owned)
    : QDialog(nullptr), program_(program), window_(window) {
    setObjectName(QStringLiteral("SET_WIN"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("%1 設定").arg(program.APP_TITLE));
    if (owned) {
        setWindowModality(Qt::ApplicationModal);
    }
    buildPages();
    connectControls();
    load();
    showPage(0);
    // The main window is not used while the settings may change under it.
    window_.setEnabled(false);
    placeOverOwner(this, &window_);
    loading_ = false;
}

SET_WIN::~SET_WIN() {
    window_.setEnabled(true);
}

void SET_WIN::closeEvent(QCloseEvent* event) {
    window_.setEnabled(true);
    QDialog::closeEvent(event);
}

void SET_WIN::connectControls() {
    for (int i = 0; i < 5; ++i) {
        connect(SET_BASE_CNG[i], &QRadioButton::clicked, this, [this, i] { showPage(i); });
    }
    for (QRadioButton* format : Option5) {
        connect(format, &QRadioButton::clicked, this, &SET_WIN::onOption5);
    }
    connect(Check13, &QCheckBox::clicked, this, &SET_WIN::updateText);
    Text1->installEventFilter(this);
    for (QLineEdit* box : {Text5, Text6, CMATRIX[0], CMATRIX[1]}) {
        NumberBox::install(box, NumberBox::Kind::Count);
    }
    Text5->installEventFilter(this);
    Text6->installEventFilter(this);
    connect(Check7, &QCheckBox::clicked, this, &SET_WIN::onCheck7);
    connect(Check11, &QCheckBox::clicked, this, &SET_WIN::onCheck11);
    connect(Check9, &QCheckBox::clicked, this, &SET_WIN::onCheck9);
    connect(JPEG_Q, &QScrollBar::valueChanged, this,
            [this](int value) { JPEG_Q_DSP->setText(QString::number(value)); });
    connect(Drive1, &QComboBox::activated, this, [this](int index) {
        if (!folder_tree::moveToDrive(program_, this, Dir1, Drive1->itemText(index))) {
            folder_tree::selectDriveOf(Drive1, folder_tree::path(Dir1));
        }
    });
    connect(Command5, &QPushButton::clicked, this, [this] {
        const QString chosen = pickProgram(Text2->text());
        if (!chosen.isEmpty()) {
            Text2->setText(chosen);
        }
    });
    connect(Command4, &QPushButton::clicked, this, [this] {
        const QString chosen = pickProgram(Text3->text());
        if (!chosen.isEmpty()) {
            Text3->setText(chosen);
        }
    });
    connect(Command7, &QPushButton::clicked, this, [this] {
        const QString chosen =
            pickProgram(Text4->text().isEmpty() ? QStringLiteral("SNAPLET") : Text4->text());
        if (!chosen.isEmpty()) {
            Text4->setText(chosen);
        }
    });
    connect(Command6, &QPushButton::clicked, this, [this] {
        auto* source = new GPATH2(program_, this);
        source->setWindowModality(Qt::WindowModal);
        source->show();
    });
    connect(Command3, &QPushButton::clicked, this,
            [this] { SELECT_SOURCE(program_.acquisitionLibrary, 0, &window_, this); });
    connect(Command1, &QPushButton::clicked, this, &SET_WIN::onOK);
    connect(Command2, &QPushButton::clicked, this, &QDialog::close);
}

void SET_WIN::load() {
    USR_SETTINGS& s = program_.settings;
    openBASD_ = s.BASD;
    openMKDR_ = s.MKDR;
    openD256_ = s.D256;
    openLDSP_ = s.LDSP;
    openDSPD_ = s.DSPD;
    openCTDM_ = s.CTDM;
    openColour_ = s.CD16 == 1 ? 9 : s.C256 == 1 ? 10 : 8;

    Check7->setChecked(s.BADM != 0);
    QString base = s.BASD;
    if (s.BADM != 0) {
        const QString desktop = GET_DESKTOP_DIR();
        if (!desktop.isEmpty()) {
            base = desktop;
        }
    }
    folder_tree::show(Dir1, base);
    folder_tree::selectDriveOf(Drive1, base);
    setUsable(Drive1, s.BADM == 0);
    setUsable(Dir1, s.BADM == 0);
    Check1->setChecked(s.MKDR == 1);
    Text1->setText(s.NTOP);
    Text5->setText(QString::number(s.SCNN));
    Check11->setChecked(s.NBMD == 1);
    Text6->setText(QString::number(s.NBNB));
    setUsable(Text6, s.NBMD == 1);
    Label1->setText(extensionLabel(s.SVMD));
    (s.NTWF == 1 ? Option15 : s.NTWF == 2 ? Option16 : Option14)->setChecked(true);

    Text2->setText(s.LEXE);
    ED_PATHTYPE[0]->setChecked(s.USP1 == 1);
    Text3->setText(s.LEX2);
    ED_PATHTYPE[1]->setChecked(s.USP2 == 1);

    (s.TWBT == 2   ? Option2
     : s.TWBT == 3 ? Option11
     : s.TWBT == 4 ? Option17
                   : Option1)
        ->setChecked(true);
    (s.LDSP == 1 ? Option4 : Option3)->setChecked(true);
    (s.DSPD == 1 ? Option7 : Option6)->setChecked(true);
    (openColour_ == 9 ? Option9 : openColour_ == 10 ? Option10 : Option8)->setChecked(true);
    CMATRIX[0]->setText(QString::number(s.CMTX));
    CMATRIX[1]->setText(QString::number(s.CMTY));
    (s.CTDM != 0 ? Option13 : Option12)->setChecked(true);
    Check2->setChecked(s.D256 == 1);
    Option18[s.UTNT == 1 ? 0 : 1]->setChecked(true);

    Option5[std::clamp<int>(s.SVMD, 0, int(Option5.size()) - 1)]->setChecked(true);
    JPEG_Q->setValue(std::clamp<int>(s.JPGP, 0, 100));
    JPEG_Q_DSP->setText(QString::number(JPEG_Q->value()));
    Check10->setChecked(s.UTNS == 1);
    loadText();
    loadCleaning();

    Check8->setChecked(s.CKTD == 1);
    Check3->setChecked(s.DFDF == 1);
    Check4->setChecked(s.DSDF == 1);
    Check6->setChecked(s.SUTW == 1);
    Check12->setChecked(s.EXTM != 0);
    Check9->setChecked(s.UTNM == 1);
    Text4->setText(s.UTNP);
}

void SET_WIN::showPage(int index) {
    SET_BASE_CNG[index]->setChecked(true);
    pages_->setCurrentIndex(index);
}

bool SET_WIN::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == Text1) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        return text.size() == 1 && QStringLiteral("\\/:;.*\"<>|").contains(text.at(0));
    }
    if (event->type() == QEvent::FocusOut) {
        if (watched == Text1 || watched == Text5) {
            validateDigits();
        } else if (watched == Text6 && QApplication::focusWidget() != Command1) {
            // Leaving it for OK: OK checks the number itself, and the user is told once.
            validateStartNumber();
        }
    }
    return false;
}

void SET_WIN::validateDigits() {
    int digits = int(number_text::integerOf(Text5->text(), INT_MIN, INT_MAX));
    const int length = int(Text1->text().size());
    digits = std::min(digits, 9);
    if (length + digits >= 240) {
        digits = 240 - length;
    }
    if (digits <= 0) {
        digits = 1;
        Text1->setText(Text1->text().mid(1));
    }
    Text5->setText(QString::number(digits));
}

bool SET_WIN::validateStartNumber() {
    const QString number =
        QString::number(number_text::integerOf(Text6->text(), INT32_MIN, INT32_MAX));
    if (number.size() <= number_text::integerOf(Text5->text(), INT_MIN, INT_MAX)) {
        return true;
    }
    program_.tell(this, tr("%1は桁数をオーバーしています。").arg(number));
    QTimer::singleShot(0, Text6, [box = Text6] { box->setFocus(); });
    return false;
}

void SET_WIN::onCheck7() {
    if (Check7->isChecked()) {
        folder_tree::show(Dir1, GET_DESKTOP_DIR());
        folder_tree::selectDriveOf(Drive1, folder_tree::path(Dir1));
    }
    setUsable(Drive1, !Check7->isChecked());
    setUsable(Dir1, !Check7->isChecked());
}

void SET_WIN::onCheck11() {
    setUsable(Text6, Check11->isChecked());
}

void SET_WIN::onOption5() {
    for (int i = 0; i < int(Option5.size()); ++i) {
        if (Option5[i]->isChecked()) {
            Label1->setText(extensionLabel(i));
        }
    }
}

void SET_WIN::onCheck9() {
    if (loading_ || !Check9->isChecked() || !Text4->text().isEmpty()) {
        return;
    }
    // Beside the program's folder: <parent>/Snaplet/SNAPLET (or SNAPLET.EXE).
    QDir parent(program_.PROGRAM_DIR);
    parent.cdUp();
    QString found;
    for (const char* name : {"Snaplet/SNAPLET", "Snaplet/SNAPLET.EXE"}) {
        const QString path = parent.absoluteFilePath(QString::fromLatin1(name));
        if (found.isEmpty() && QFileInfo(path).isFile()) {
            found = path;
        }
    }
    if (found.isEmpty()) {
        program_.tell(this, tr("Snaplet が見つかりません。\nインストールしている場合、"
                               "場所の設定をしてください。"));
        return;
    }
    program_.tell(this, tr("Snaplet がみつかりました。\n正しくない場合、正しいSnaplet"
                           "を指定してください。"));
    Text4->setText(found);
    program_.settings.UTNT = 1;
    Option18[0]->setChecked(true);
}

QString SET_WIN::pickProgram(const QString& preset) {
    return program_.prompter.openFileName(this, program_.APP_TITLE, preset, tr("ProgramFiles (*)"));
}
