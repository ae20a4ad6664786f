#include "orva_win.h"

#include "display_refresh.h"
#include "drop_targets.h"
#include "orva_win_browse_view.h"
#include "orva_win_file_view.h"
#include "program.h"
#include "single_view.h"

#include <QAction>
#include <QFrame>
#include <QToolButton>

// The pictures live in the static library; naming their initialiser here makes the linker keep
// them in every program that has a main window.
static void initialisePictures() {
    Q_INIT_RESOURCE(orvana);
}

ORVA_WIN::ORVA_WIN(Program& program, QWidget* parent) : QMainWindow(parent), program(program) {
    initialisePictures();
    setObjectName(QStringLiteral("ORVA_WIN"));
    setWindowTitle(program.APP_TITLE);
    setAcceptDrops(true); // folders dropped from the file manager

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ORVA_WIN_AREA"));
    setCentralWidget(central);

    buildMenus();
    buildPictureHolders();
    buildToolBar(central);
    buildCommandTray(central);
    buildFileTray(central);
    buildCatalogueView(central);
    buildSingleView(central);

    browseView_ = std::make_unique<OrvaBrowseView>(*this);
    refresh_ = std::make_unique<DisplayRefresh>(program, *browseView_);
    fileView_ = std::make_unique<OrvaFileView>(*this);
    buildDropTargets();

    connectControls();
    setToggleTexts();
    if (program.settings.DSPM == 2) {
        browseView_->showSinglePanel();
    } else {
        browseView_->showCataloguePanel();
    }
    resize(960, 640);
    MAIN_LAYOUT();
}

ORVA_WIN::~ORVA_WIN() = default;

BrowseView& ORVA_WIN::browseView() {
    return *browseView_;
}

DisplayRefresh& ORVA_WIN::displayRefresh() {
    return *refresh_;
}

FileView& ORVA_WIN::fileView() {
    return *fileView_;
}

DropTargets& ORVA_WIN::dropTargets() {
    return *dropTargets_;
}

void ORVA_WIN::setToggleTexts() {
    const USR_SETTINGS& settings = program.settings;
    MNU_DISP_TOOLDISP->setText(settings.DSTL == 1 ? tr("ツールバーを表示する")
                                                  : tr("ツールバーを表示しない"));
    MNU_DISP_CMDTRAY->setText(settings.DSTR == 1 ? tr("コマンドトレイを表示する")
                                                 : tr("コマンドトレイを表示しない"));
    MNU_DISP_FILETRAY->setText(settings.DSFT == 1 ? tr("ファイルトレイを表示する")
                                                  : tr("ファイルトレイを表示しない"));
    MNU_DISP_8DSP->setText(settings.DSPD == 1 ? tr("複数枚表示時に絵を表示する")
                                              : tr("複数枚表示時に絵を表示しない"));
}

void ORVA_WIN::nextPage() {
    refresh_->nextPage();
}

void ORVA_WIN::previousPage() {
    refresh_->previousPage();
}

void ORVA_WIN::nextFile() {
    refresh_->nextFile();
}

void ORVA_WIN::previousFile() {
    refresh_->previousFile();
}

void ORVA_WIN::showPressed(QToolButton* button, const QIcon& picture) {
    button->setIcon(picture);
    button->repaint();
}

void ORVA_WIN::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    MAIN_LAYOUT();
    singleView().refit();
}
