// The image adjustment dialog: turns, flips, negative, brightness and colour balance, a cut-out
// chosen with the mouse or by size, and saves over the file or under a new name as BMP, JPEG or
// TIFF. Opened on ADJUST_PATH / ADJUST_NAME; the main window is disabled while it is open.
#pragma once

#include "adjust_image.h"
#include "prompter.h"

#include <QDialog>
#include <QPoint>
#include <QString>
#include <array>

class AdjustView;
class Program;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTimer;

class CNF_WIN : public QDialog {
    Q_OBJECT

public:
    CNF_WIN(Program& program, AdjustView& view);
    ~CNF_WIN() override;

    // Load: disables the main window, places and shows the dialog, loads ADJUST_PATH and draws.
    void start();

    // Rebuilds the adjusted picture from ADJ_BASE and draws it (nothing while RESET_BUSY).
    void APPLY_ADJUSTMENTS();
    // SIZE_X, SIZE_Y and TRIMAREA brought in line with TRIM_ORIGIN / TRIM_SIZE.
    void UPDATE_TRIM_VIEW();
    // Saves the adjusted picture at full resolution as the extension of path says; true when a
    // file was written.
    bool SAVE_ADJUSTED(const QString& path);

    // The controls, named as their objectName.
    QWidget* Picture1 = nullptr; // the control panel
    std::array<QWidget*, 3> CMD_BASE{};
    std::array<QPushButton*, 3> CMD_BASE_CNG{};
    QScrollBar* BRIGHT = nullptr;
    QScrollBar* R_BAR = nullptr;
    QScrollBar* G_BAR = nullptr;
    QScrollBar* B_BAR = nullptr;
    QLineEdit* BRIGHT_VAL = nullptr;
    QLineEdit* R_VAL = nullptr;
    QLineEdit* G_VAL = nullptr;
    QLineEdit* B_VAL = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command5 = nullptr;
    QCheckBox* Check1 = nullptr;
    std::array<QPushButton*, 6> TURN{};
    QLineEdit* SIZE_X = nullptr;
    QLineEdit* SIZE_Y = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command11 = nullptr;
    QPushButton* Command12 = nullptr;
    QPushButton* Command13 = nullptr;
    QPushButton* Command14 = nullptr;
    QPushButton* Command16 = nullptr;
    QPushButton* Command17 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command15 = nullptr;
    QPushButton* Command4 = nullptr;
    QCheckBox* Check2 = nullptr;
    QFrame* IMG_WAKU = nullptr;
    QLabel* IMG = nullptr;
    QFrame* TRIMAREA = nullptr;
    QTimer* Timer1 = nullptr;

    // The dialog's state, readable by tests.
    static constexpr int kNoRect = -10100;
    struct Rect {
        int left = kNoRect, right = kNoRect, top = kNoRect, bottom = kNoRect;
    };
    AdjustImage image;
    int ADJ_WIDTH = 0;
    int ADJ_HEIGHT = 0;
    double VIEW_SCALE = 0;
    double TRIM_ORIGIN[2] = {0, 0};
    double TRIM_SIZE[2] = {0, 0};
    Rect TRIM_RECT;
    bool TRIM_SET = false;
    bool TRIM_DRAG = false;
    bool TRIM_MOVE = false;
    QPoint TRIM_GRAB;
    int REPEAT_STEP = 0;
    bool ADJ_LOADING = false;
    bool RESET_BUSY = false;
    bool ADJ_OVERWRITTEN = false;

    // Opens at a size that shows the picture well, not at the least its controls need.
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Escape closes the dialog as its close button does, with what the close renews.
    void reject() override { close(); }

private:
    QWidget* buildColourPage();
    QWidget* buildTurnPage();
    QWidget* buildTrimPage();
    void connectControls();
    void loadImage();

    // Colour controls.
    void onBar(QScrollBar* bar, QLineEdit* box);
    void onBoxLeft(QScrollBar* bar, QLineEdit* box);
    void onCommand2();
    void onCheck1();
    void onTURN(int index);
    void onCMD_BASE_CNG(int index);
    void showPage(int page);
    // The picture drawn into IMG at its size.
    void draw(HGLOBAL picture);

    // Trimming.
    void trimPress(QPoint point);
    void trimMove(QPoint point);
    void onSizeChanged(int axis);
    void stepSize(int axis, int step);
    void startRepeat(int step);
    void onTimer1();
    void onCommand14();
    void onCommand17();
    void onCommand16();

    // Saving and closing.
    void onCommand15();
    int saveTiff(const QString& path, HGLOBAL result);
    void saveFailed(const QString& path);
    void tell(const QString& text, Prompter::Icon icon);
    void renewThumbnail();

    Program& program_;
    AdjustView& view_;
    QPoint trimAnchor_;       // the corner a new rectangle is drawn from
    bool sizeBusy_ = false;   // a size box is being handled
    bool savedShown_ = false; // a file the views show was saved
    bool closed_ = false;
};
