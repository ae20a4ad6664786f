// The two trays on the left of the main window: the command tray with its six drop targets and
// the file tray with the drive list, the folder list and the move and copy targets.
#include "folder_reveal.h"
#include "folder_tree.h"
#include "orva_win.h"
#include "single_twips.h"

#include <QComboBox>
#include <QFileSystemModel>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <algorithm>

namespace {

constexpr int kTargetPicture = 32;
constexpr int kGap = 2; // pixels, between the controls of the folder frame
constexpr int kTargetSide = 36;

QLabel* makeTarget(QWidget* parent, const char* name, const char* svg, const QString& tip) {
    auto* target = new QLabel(parent);
    target->setObjectName(QString::fromLatin1(name));
    target->setPixmap(QIcon(QStringLiteral(":/pictures/") + QLatin1String(svg))
                          .pixmap(kTargetPicture, kTargetPicture));
    target->setAlignment(Qt::AlignCenter);
    target->setToolTip(tip);
    target->setAcceptDrops(true);
    return target;
}

// A target's caption label; its background shows whether a drag hovers over the target.
QLabel* makeCaption(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Button);
    return label;
}

} // namespace

void ORVA_WIN::buildCommandTray(QWidget* central) {
    CMD2_BASE = new QFrame(central);
    CMD2_BASE->setObjectName(QStringLiteral("CMD2_BASE"));
    CMD2_BASE->setFrameShape(QFrame::StyledPanel);

    // The editor targets show the editors' own icons once the settings name them.
    Image1 = makeTarget(CMD2_BASE, "Image1", "trash.svg", tr("ここにドロップすると削除される"));
    Label1 = makeCaption(CMD2_BASE, "Label1", tr("削除"));
    Image2 = makeTarget(CMD2_BASE, "Image2", "edit.svg", tr("ファイルの編集１"));
    Label2 = makeCaption(CMD2_BASE, "Label2", tr("編集1"));
    Image3 = makeTarget(CMD2_BASE, "Image3", "print.svg", tr("印刷 (1枚)"));
    Label3 = makeCaption(CMD2_BASE, "Label3", tr("印刷"));
    Image4 = makeTarget(CMD2_BASE, "Image4", "edit.svg", tr("ファイルの編集2"));
    Label4 = makeCaption(CMD2_BASE, "Label4", tr("編集2"));
    Image5 = makeTarget(CMD2_BASE, "Image5", "adjust.svg", tr("ファイルの調整"));
    Label5 = makeCaption(CMD2_BASE, "Label5", tr("調整"));
    Image6 = makeTarget(CMD2_BASE, "Image6", "clipboard.svg", tr("クリップボードへコピー"));
    Label6 = makeCaption(CMD2_BASE, "Label6", tr("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ"));
}

void ORVA_WIN::buildFileTray(QWidget* central) {
    F_BASE = new QFrame(central);
    F_BASE->setObjectName(QStringLiteral("F_BASE"));

    F_CTL = new QGroupBox(tr("Folder"), F_BASE);
    F_CTL->setObjectName(QStringLiteral("F_CTL"));
    Command1 = new QPushButton(tr("表示"), F_CTL);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(tr("下のファルダー内の絵を表示"));
    Command2 = new QPushButton(tr("作成"), F_CTL);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setToolTip(tr("フォルダーを作成する"));
    const QString moveTip = tr("ここにドロップすると下で指定されたフォルダーに移動される");
    const QString copyTip = tr("ここにドロップすると下で指定されたフォルダーにコピーされる");
    MOVE = makeTarget(F_CTL, "MOVE", "move.svg", moveTip);
    MOVE_LABEL = makeCaption(F_CTL, "MOVE_LABEL", tr("移動"));
    MOVE_LABEL->setToolTip(moveTip);
    COPY = makeTarget(F_CTL, "COPY", "copy.svg", copyTip);
    COPY_LABEL = makeCaption(F_CTL, "COPY_LABEL", tr("コピー"));
    COPY_LABEL->setToolTip(copyTip);

    // Drives are the mounted volumes, the root first.
    F_DRIVE = new QComboBox(F_BASE);
    F_DRIVE->setObjectName(QStringLiteral("F_DRIVE"));
    F_DRIVE->setToolTip(tr("ファイルトレイのドライブを指定する"));
    folder_tree::fillDrives(F_DRIVE);

    // The folder names only, as wide as the longest, scrolling sideways for deep folders.
    F_DIR = folder_tree::make(F_BASE, "F_DIR");
    F_DIR_MODEL = qobject_cast<QFileSystemModel*>(F_DIR->model());
    F_DIR_MODEL->setObjectName(QStringLiteral("F_DIR_MODEL"));
    trayReveal_ = new FolderReveal(F_DIR, F_DIR_MODEL);
}

bool ORVA_WIN::revealTrayFolder(const QString& folder) {
    return trayReveal_ != nullptr && trayReveal_->reveal(folder);
}

void ORVA_WIN::arrangeFileTray() {
    // The folder frame's own controls keep their design places (two buttons over the move and
    // copy targets); the frame, the drive list and the folder list follow the tray's size.
    const int width = F_BASE->width();
    const int buttonHeight = Command1->sizeHint().height();
    const int labelHeight = MOVE_LABEL->sizeHint().height();
    const int top = F_CTL->fontMetrics().height() + kGap; // below the frame's title
    const int half = std::max(0, (width - 3 * kGap) / 2);
    Command1->setGeometry(kGap, top, half, buttonHeight);
    Command2->setGeometry(2 * kGap + half, top, half, buttonHeight);
    const int targetTop = top + buttonHeight + kGap;
    MOVE->setGeometry(kGap, targetTop, half, kTargetSide);
    MOVE_LABEL->setGeometry(kGap, targetTop + kTargetSide, half, labelHeight);
    COPY->setGeometry(2 * kGap + half, targetTop, half, kTargetSide);
    COPY_LABEL->setGeometry(2 * kGap + half, targetTop + kTargetSide, half, labelHeight);
    const int frameHeight = Twips::fromPixelsY(F_CTL, targetTop + kTargetSide + labelHeight + kGap);

    const int trayWidth = Twips::width(F_BASE);
    Twips::place(F_CTL, 0, 0, trayWidth, frameHeight);
    const int driveHeight = Twips::fromPixelsY(F_DRIVE, F_DRIVE->sizeHint().height());
    Twips::place(F_DRIVE, 0, Twips::height(F_CTL), trayWidth, driveHeight);
    Twips::place(F_DIR, 0, Twips::top(F_DRIVE) + Twips::height(F_DRIVE), Twips::width(F_DRIVE),
                 Twips::height(F_BASE) - Twips::height(F_DRIVE) - Twips::height(F_CTL));
}
