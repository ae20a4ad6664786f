// The menu bar of the main window: four menus whose items are named QActions.
#include "orva_win.h"

#include <QMenu>
#include <QMenuBar>

namespace {

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& text) {
    QMenu* menu = bar->addMenu(text);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* addItem(QMenu* menu, const char* name, const QString& text) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction* addSeparator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

void ORVA_WIN::buildMenus() {
    QMenuBar* bar = menuBar();

    MNU_FILE = addMenu(bar, "MNU_FILE", tr("ﾌｧｲﾙ(&F)"));
    MNU_DISP_DFILE = addItem(MNU_FILE, "MNU_DISP_DFILE", tr("表示するフォルダーを選択する"));
    MNU_FILE_READTWAIN = addItem(MNU_FILE, "MNU_FILE_READTWAIN", tr("TWAIN機器からの読み込み"));
    MNU_FILE_SELTWAIN = addItem(MNU_FILE, "MNU_FILE_SELTWAIN", tr("使用するTWAIN機器の選択"));
    MNU_FILE_SELGETDIR = addItem(MNU_FILE, "MNU_FILE_SELGETDIR", tr("取り込み先フォルダーの指定"));
    MNU_FILE_1PRNT = addItem(MNU_FILE, "MNU_FILE_1PRNT", tr("印刷 (1枚)"));
    MNU_FILE_CATPRINT = addItem(MNU_FILE, "MNU_FILE_CATPRINT", tr("カタログ印刷"));
    MNU_FILE_PDF = addItem(MNU_FILE, "MNU_FILE_PDF", tr("フォルダーの絵をPDFにする"));
    MNU_FILE_DMY2 = addSeparator(MNU_FILE, "MNU_FILE_DMY2");
    MNU_FILE_EDIT1 = addItem(MNU_FILE, "MNU_FILE_EDIT1", tr("ファイルの編集１"));
    MNU_FILE_EDIT2 = addItem(MNU_FILE, "MNU_FILE_EDIT2", tr("ファイルの編集2"));
    MNU_FILE_DELETE = addItem(MNU_FILE, "MNU_FILE_DELETE", tr("ファイルの削除"));
    MNU_FILE_RENAME = addItem(MNU_FILE, "MNU_FILE_RENAME", tr("ファイル名の変更"));
    MNU_FILE_CNF = addItem(MNU_FILE, "MNU_FILE_CNF", tr("ファイルの調整"));
    MNU_FILE_DMY = addSeparator(MNU_FILE, "MNU_FILE_DMY");
    MNU_FILE_EXIT = addItem(MNU_FILE, "MNU_FILE_EXIT", tr("終了"));

    // The four toggles get their texts from the settings (setToggleTexts).
    MNU_DISP = addMenu(bar, "MNU_DISP", tr("表示(&V)"));
    MNU_DISP_TOOLDISP = addItem(MNU_DISP, "MNU_DISP_TOOLDISP", QString());
    MNU_DISP_CMDTRAY = addItem(MNU_DISP, "MNU_DISP_CMDTRAY", QString());
    MNU_DISP_FILETRAY = addItem(MNU_DISP, "MNU_DISP_FILETRAY", QString());
    MNU_DISP_8DSP = addItem(MNU_DISP, "MNU_DISP_8DSP", QString());
    MNU_DISP_8 = addItem(MNU_DISP, "MNU_DISP_8", tr("複数枚表示"));
    MNU_DISP_1 = addItem(MNU_DISP, "MNU_DISP_1", tr("1枚表示"));
    MNU_DISP_REDISP = addItem(MNU_DISP, "MNU_DISP_REDISP", tr("画像の再表示"));
    MNU_DISP_MKTN = addItem(MNU_DISP, "MNU_DISP_MKTN", tr("サムネイルファイルの作成"));

    MNU_SETUP = addMenu(bar, "MNU_SETUP", tr("設定(&S)"));
    MNU_SETUP_SETUP = addItem(MNU_SETUP, "MNU_SETUP_SETUP", tr("動作環境の設定"));

    MNU_HELP = addMenu(bar, "MNU_HELP", tr("ヘルプ(&H)"));
    MNU_HELP_HELP = addItem(MNU_HELP, "MNU_HELP_HELP", tr("ヘルプ"));
    MNU_HELP_VERSION = addItem(MNU_HELP, "MNU_HELP_VERSION", tr("バージョン情報"));
}
