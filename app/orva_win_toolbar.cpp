// The tool bar row of the main window (tool buttons, display-folder box, magnification list and
// file count) and the invisible picture holders its buttons take their pictures from.
#include "orva_win.h"
#include "orva_win_picture_list.h"

#include <QComboBox>
#include <QCompleter>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

constexpr int kToolPicture = 32; // pixels, the side of a tool button's picture
constexpr int kFolderPicture = 20;

QFrame* makePanel(QWidget* parent, const char* name) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    return panel;
}

QToolButton* makeToolButton(QWidget* parent, const char* name, const QString& tip,
                            const QIcon& picture, int side) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    button->setIcon(picture);
    button->setIconSize(QSize(side, side));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

void ORVA_WIN::buildPictureHolders() {
    auto holder = [this](const char* name, const char* svg, int side) {
        return new OrvaPictureList(QString::fromLatin1(name),
                                   OrvaPictureList::normalAndPressed(
                                       QStringLiteral(":/pictures/") + QLatin1String(svg), side),
                                   this);
    };
    IMG_DFILE = holder("IMG_DFILE", "folder.svg", kFolderPicture);
    IMG_RDRAW = holder("IMG_RDRAW", "redraw.svg", kToolPicture);
    IMG_8DISP = holder("IMG_8DISP", "view8.svg", kToolPicture);
    IMG_1DISP = holder("IMG_1DISP", "view1.svg", kToolPicture);
    IMG_EXIT = holder("IMG_EXIT", "exit.svg", kToolPicture);
    IMG_SET = holder("IMG_SET", "settings.svg", kToolPicture);
    IMG_SCN = holder("IMG_SCN", "scanner.svg", kToolPicture);
    IMG_CAM = holder("IMG_CAM", "camera.svg", kToolPicture);
    IMG_CAM2 = holder("IMG_CAM2", "camera2.svg", kToolPicture);
    IMG_QSCAN = holder("IMG_QSCAN", "filmscan.svg", kToolPicture);
    IMG_PICK = holder("IMG_PICK", "pick.svg", kToolPicture);
}

void ORVA_WIN::buildToolBar(QWidget* central) {
    CMD_BASE = makePanel(central, "CMD_BASE");
    // The acquisition button shows the scanner until start-up puts the device's picture on it.
    BTN_TWAIN_GO = makeToolButton(CMD_BASE, "BTN_TWAIN_GO", tr("Twain読み込み実行"),
                                  IMG_SCN->picture(0), kToolPicture);
    // The view button shows the view it switches to.
    BTN_DISP_GO = makeToolButton(CMD_BASE, "BTN_DISP_GO", tr("表示モード切り替え"),
                                 IMG_1DISP->picture(0), kToolPicture);
    BTN_REDISP_GO = makeToolButton(CMD_BASE, "BTN_REDISP_GO", tr("再表示"), IMG_RDRAW->picture(0),
                                   kToolPicture);
    BTN_SET_GO =
        makeToolButton(CMD_BASE, "BTN_SET_GO", tr("設定"), IMG_SET->picture(0), kToolPicture);
    BTN_EXIT_GO =
        makeToolButton(CMD_BASE, "BTN_EXIT_GO", tr("終了"), IMG_EXIT->picture(0), kToolPicture);

    DFILE_BASE = makePanel(central, "DFILE_BASE");
    BTN_DFILE = makeToolButton(DFILE_BASE, "BTN_DFILE", tr("表示するフォルダーを選択する"),
                               IMG_DFILE->picture(0), kFolderPicture);
    Combo1 = new QComboBox(DFILE_BASE);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    // The history is refilled by the program; typed text must not add entries of its own.
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // Typing completes from the history, but only Enter decides what is shown: the box's own
    // completer would report a completed entry as a click on it.
    auto* completer = new QCompleter(Combo1->model(), Combo1);
    completer->setCompletionMode(QCompleter::InlineCompletion);
    Combo1->setCompleter(nullptr);
    Combo1->lineEdit()->setCompleter(completer);
    // Nor does leaving the box with a history entry's text in it choose that entry (the box
    // loses the focus whenever a refresh disables the commands).
    QObject::disconnect(Combo1->lineEdit(), &QLineEdit::editingFinished, Combo1, nullptr);
    QObject::disconnect(Combo1->lineEdit(), &QLineEdit::returnPressed, Combo1, nullptr);

    MAG_BASE = makePanel(central, "MAG_BASE");
    MAG_SET = new QComboBox(MAG_BASE);
    MAG_SET->setObjectName(QStringLiteral("MAG_SET"));
    MAG_SET->addItems({tr("自動"), QStringLiteral("50%"), QStringLiteral("100%")});

    PTOTAL_BASE = makePanel(central, "PTOTAL_BASE");
    PTOTAL_LABEL = new QLabel(tr("ファイル数"), PTOTAL_BASE);
    PTOTAL_LABEL->setObjectName(QStringLiteral("PTOTAL_LABEL"));
    PTOTAL = new QLabel(PTOTAL_BASE);
    PTOTAL->setObjectName(QStringLiteral("PTOTAL"));
    PTOTAL->setFrameShape(QFrame::Panel);
    PTOTAL->setFrameShadow(QFrame::Sunken);
}
