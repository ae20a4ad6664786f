// The main window: menu bar, tool bar row, command tray, file tray and the two views (catalogue
// grid of twelve cells and the single picture). It is a QMainWindow whose menu bar is Qt's own
// and whose central widget holds the panels; the panels are placed by hand (not by Qt layouts)
// because the program's layout procedure moves, sizes and hides them itself.
//
// Every control is a public member named as the program's procedures name it, with the same
// objectName, so that those procedures (and tests) reach it by name. Repeated controls (the
// catalogue cells) are std::arrays; all elements of one array share the objectName and carry
// their position in the dynamic property "index".
//
// The construction is split over orva_win_menus.cpp, orva_win_toolbar.cpp, orva_win_trays.cpp
// and orva_win_views.cpp; the handlers live in orva_win_handlers.cpp.
#pragma once

#include "catalogue_controls.h"

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <memory>

class BrowseView;
class CatalogueView;
class DisplayRefresh;
class DropTargets;
class FileView;
class OrvaFileView;
class FolderReveal;
class OrvaBrowseView;
class Program;
class OrvaPictureList;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QToolButton;
class QTreeView;
class QFileSystemModel;
class QResizeEvent;
class SingleView;

class ORVA_WIN : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kCells = CatalogueControls::kCells;

    explicit ORVA_WIN(Program& program, QWidget* parent = nullptr);
    ~ORVA_WIN() override;

    Program& program;

    // Menus and their items (separators are QActions too, so that they can be found by name).
    QMenu* MNU_FILE = nullptr;
    QAction* MNU_DISP_DFILE = nullptr;
    QAction* MNU_FILE_READTWAIN = nullptr;
    QAction* MNU_FILE_SELTWAIN = nullptr;
    QAction* MNU_FILE_SELGETDIR = nullptr;
    QAction* MNU_FILE_1PRNT = nullptr;
    QAction* MNU_FILE_CATPRINT = nullptr;
    QAction* MNU_FILE_PDF = nullptr;
    QAction* MNU_FILE_DMY2 = nullptr;
    QAction* MNU_FILE_EDIT1 = nullptr;
    QAction* MNU_FILE_EDIT2 = nullptr;
    QAction* MNU_FILE_DELETE = nullptr;
    QAction* MNU_FILE_RENAME = nullptr;
    QAction* MNU_FILE_CNF = nullptr;
    QAction* MNU_FILE_DMY = nullptr;
    QAction* MNU_FILE_EXIT = nullptr;

    QMenu* MNU_DISP = nullptr;
    QAction* MNU_DISP_TOOLDISP = nullptr;
    QAction* MNU_DISP_CMDTRAY = nullptr;
    QAction* MNU_DISP_FILETRAY = nullptr;
    QAction* MNU_DISP_8DSP = nullptr;
    QAction* MNU_DISP_8 = nullptr;
    QAction* MNU_DISP_1 = nullptr;
    QAction* MNU_DISP_REDISP = nullptr;
    QAction* MNU_DISP_MKTN = nullptr;

    QMenu* MNU_SETUP = nullptr;
    QAction* MNU_SETUP_SETUP = nullptr;

    QMenu* MNU_HELP = nullptr;
    QAction* MNU_HELP_HELP = nullptr;
    QAction* MNU_HELP_VERSION = nullptr;

    // Invisible picture holders: picture 0 is the normal picture, picture 1 the pressed one.
    OrvaPictureList* IMG_DFILE = nullptr;
    OrvaPictureList* IMG_RDRAW = nullptr;
    OrvaPictureList* IMG_8DISP = nullptr;
    OrvaPictureList* IMG_1DISP = nullptr;
    OrvaPictureList* IMG_EXIT = nullptr;
    OrvaPictureList* IMG_SET = nullptr;
    OrvaPictureList* IMG_SCN = nullptr;
    OrvaPictureList* IMG_CAM = nullptr;
    OrvaPictureList* IMG_CAM2 = nullptr;
    OrvaPictureList* IMG_QSCAN = nullptr;
    OrvaPictureList* IMG_PICK = nullptr;

    // Tool bar row.
    QFrame* CMD_BASE = nullptr;
    QToolButton* BTN_TWAIN_GO = nullptr;
    QToolButton* BTN_DISP_GO = nullptr;
    QToolButton* BTN_REDISP_GO = nullptr;
    QToolButton* BTN_SET_GO = nullptr;
    QToolButton* BTN_EXIT_GO = nullptr;

    QFrame* DFILE_BASE = nullptr;
    QToolButton* BTN_DFILE = nullptr;
    QComboBox* Combo1 = nullptr; // editable; the folder history

    QFrame* MAG_BASE = nullptr;
    QComboBox* MAG_SET = nullptr; // "自動", "50%", "100%"

    QFrame* PTOTAL_BASE = nullptr;
    QLabel* PTOTAL_LABEL = nullptr;
    QLabel* PTOTAL = nullptr; // the file count, " 23"

    // Command tray: six drop targets with their caption labels.
    QFrame* CMD2_BASE = nullptr;
    QLabel* Image1 = nullptr; // delete
    QLabel* Image2 = nullptr; // editor 1
    QLabel* Image3 = nullptr; // print
    QLabel* Image4 = nullptr; // editor 2
    QLabel* Image5 = nullptr; // adjust
    QLabel* Image6 = nullptr; // clipboard
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;

    // File tray.
    QFrame* F_BASE = nullptr;
    QGroupBox* F_CTL = nullptr;      // "Folder"
    QPushButton* Command1 = nullptr; // "表示"
    QPushButton* Command2 = nullptr; // "作成"
    QLabel* MOVE = nullptr;
    QLabel* MOVE_LABEL = nullptr; // "移動"
    QLabel* COPY = nullptr;
    QLabel* COPY_LABEL = nullptr;
    QComboBox* F_DRIVE = nullptr;
    QTreeView* F_DIR = nullptr;
    QFileSystemModel* F_DIR_MODEL = nullptr; // the folders F_DIR shows (not a control)
    // Selects folder in F_DIR and scrolls so that its name shows; false when it is not there.
    bool revealTrayFolder(const QString& folder);

    // Catalogue view.
    QFrame* PIC8_BASE = nullptr;
    QScrollBar* DSP8_SCR = nullptr;
    std::array<QFrame*, kCells> DSP8_FRM{};
    std::array<QLabel*, kCells> DSP8_IMG{};  // scaled picture (normal and 16-colour modes)
    std::array<QLabel*, kCells> DSP8_IMG2{}; // picture painted from a library handle (256 colours)
    std::array<QLineEdit*, kCells> DSP8_NAME{};
    std::array<QCheckBox*, kCells> SEL_CHECK{};
    QGroupBox* DSP8_WAIT_FRM = nullptr; // "表示準備中"
    QProgressBar* DSP8_WAIT_BAR = nullptr;
    QPushButton* Command3 = nullptr; // "Cancel"

    // Hidden helpers of the views.
    QLabel* DSP8_SIZECHK = nullptr; // measures a name's text
    QLabel* PIC_WRK = nullptr;      // off-screen drawing surface
    QLabel* IMG_WRK = nullptr;      // a picture at its natural size
    QLabel* TOOLARGE = nullptr;     // the picture for a file that cannot be loaded

    // Single-image view.
    QFrame* PIC1_BASE = nullptr;
    QScrollBar* DSP1_SCR = nullptr;
    QFrame* DSP1_FRM = nullptr;
    QLabel* DSP1_NAME = nullptr;
    QFrame* DSP1_MAXDSP = nullptr;
    QFrame* DSP1_PICWAKU = nullptr;
    QLabel* DSP1_PIC = nullptr;
    QScrollBar* DSP1_HSC = nullptr;
    QScrollBar* DSP1_VSC = nullptr;

    // 1 after a left-button press on a cell or the single picture, 2 after a right-button press.
    int16_t CELL_DRAG_STATE = 0;

    // The four view toggles name the action they perform next; sets their texts from the
    // settings DSTL, DSTR, DSFT and DSPD.
    void setToggleTexts();

    // Arranges the tool bar row, the trays and the views for the present size, the visibility
    // settings DSTL, DSTR, DSFT and the view DSPM.
    void MAIN_LAYOUT();

    // The window as the refresh procedures see it, and the refresh procedures themselves.
    BrowseView& browseView();
    DisplayRefresh& displayRefresh();
    // The catalogue view (cell drawing, marks and the cells' mouse behaviour) and its grid
    // layout, which also runs by itself whenever PIC8_BASE changes size.
    CatalogueView& catalogueView();
    void CATALOGUE_LAYOUT();

    // The single-image view (its layout, picture and pointer).
    SingleView& singleView();
    // From the single view back to the catalogue (right click or double-click on the picture).
    void backToCatalogue();
    // Enter in the display-folder box: a folder path ending in "/" (or ":") is shown.
    void onCombo1_enter();

    // The window as the file operations and folder dialogs see it, and the trays' drop targets.
    FileView& fileView();
    DropTargets& dropTargets();
    // The editor targets Image2 / Image4 with their editors' icons, shown when the editor is set;
    // the tray labels shown unless CTDM asks for icons only.
    void REFRESH_EDITOR_BUTTONS();
    // The settings dialog: owned (modal, the main window waits) or on its own; one at a time.
    // From the tool button, the button shows its pressed picture while the dialog is open.
    void openSettings(bool owned, bool fromButton);

    // Page and file stepping of the views (Page Down / Page Up in the window).
    void nextPage();
    void previousPage();
    void nextFile();
    void previousFile();

public slots:
    // File menu.
    void onMNU_DISP_DFILE();
    void onMNU_FILE_READTWAIN();
    void onMNU_FILE_SELTWAIN();
    void onMNU_FILE_SELGETDIR();
    void onMNU_FILE_1PRNT();
    void onMNU_FILE_CATPRINT();
    void onMNU_FILE_PDF();
    void onMNU_FILE_EDIT1();
    void onMNU_FILE_EDIT2();
    void onMNU_FILE_DELETE();
    void onMNU_FILE_RENAME();
    void onMNU_FILE_CNF();
    void onMNU_FILE_EXIT();
    // View menu.
    void onMNU_DISP_TOOLDISP();
    void onMNU_DISP_CMDTRAY();
    void onMNU_DISP_FILETRAY();
    void onMNU_DISP_8DSP();
    void onMNU_DISP_8();
    void onMNU_DISP_1();
    void onMNU_DISP_REDISP();
    void onMNU_DISP_MKTN();
    // Settings and help menus.
    void onMNU_SETUP_SETUP();
    void onMNU_HELP_HELP();
    void onMNU_HELP_VERSION();
    // Tool bar row.
    void onBTN_TWAIN_GO();
    void onBTN_SET_GO();
    void onBTN_DISP_GO();
    void onBTN_REDISP_GO();
    void onBTN_EXIT_GO();
    void onBTN_DFILE();
    void onCombo1_activated(int index);
    void onMAG_SET_activated(int index);
    // File tray.
    void onCommand1();
    void onCommand2();
    void onF_DRIVE_activated(int index);
    // Views.
    void onDSP8_SCR_valueChanged(int value);
    void onDSP1_SCR_valueChanged(int value);
    void onSEL_CHECK_clicked(int index);
    void onCommand3();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Enter in the display-folder box (onCombo1_enter).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildPictureHolders();
    void buildToolBar(QWidget* central);
    void buildCommandTray(QWidget* central);
    void buildFileTray(QWidget* central);
    void buildCatalogueView(QWidget* central);
    void buildSingleView(QWidget* central);
    void buildDropTargets();
    void connectControls();
    void arrangeToolBar(int width);
    void arrangeCommandTray();
    void arrangeFileTray();
    void arrangeCatalogue();
    void arrangeSingle();
    // Puts the pressed picture on a tool button and paints it at once, before a long action.
    static void showPressed(QToolButton* button, const QIcon& picture);

    std::unique_ptr<OrvaBrowseView> browseView_;
    FolderReveal* trayReveal_ = nullptr; // owned by F_DIR
    std::unique_ptr<DisplayRefresh> refresh_;
    std::unique_ptr<OrvaFileView> fileView_;
    DropTargets* dropTargets_ = nullptr;
};
