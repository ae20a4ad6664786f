// What the adjustment dialog needs from the main window. ORVA_WIN implements it with its
// controls; tests may implement it with a recorder.
#pragma once

class DisplayRefresh;
class QWidget;

class AdjustView {
public:
    virtual ~AdjustView() = default;

    // The main window: disabled while the dialog is open, the dialog is placed over it.
    virtual QWidget* owner() = 0;

    // The refresh procedures of the views, to draw the cells of a saved file again.
    virtual DisplayRefresh& refresh() = 0;
};
