// The controls of the catalogue view, as the main window builds them inside PIC8_BASE, and the
// few things the view asks of the window around them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

class DisplayRefresh;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QWidget;

struct CatalogueControls {
    static constexpr int kCells = 12;

    QFrame* PIC8_BASE = nullptr;
    QScrollBar* DSP8_SCR = nullptr;
    std::array<QFrame*, kCells> DSP8_FRM{};
    std::array<QLabel*, kCells> DSP8_IMG{};  // scaled picture (normal and 16-colour modes)
    std::array<QLabel*, kCells> DSP8_IMG2{}; // picture painted from a library handle
    std::array<QLineEdit*, kCells> DSP8_NAME{};
    std::array<QCheckBox*, kCells> SEL_CHECK{};
    QGroupBox* DSP8_WAIT_FRM = nullptr;
    QProgressBar* DSP8_WAIT_BAR = nullptr;
    QPushButton* Command3 = nullptr; // the wait frame's Cancel
    QLabel* DSP8_SIZECHK = nullptr;  // hidden; measures a name's text
    QLabel* TOOLARGE = nullptr;      // hidden; the picture for a file that cannot be loaded
    QWidget* owner = nullptr;        // the main window
    // 1 after a left-button press on a cell or the single picture, 2 after a right-button press;
    // shared with the single view.
    int16_t* CELL_DRAG_STATE = nullptr;

    // The window's refresh procedures (made after the views).
    std::function<DisplayRefresh&()> refresh;
    // Going to the single view: its panel shown before the refresh, and the window's tool button
    // and layout brought up to date after it.
    std::function<void()> showSinglePanel;
    std::function<void()> singleViewShown;
};
