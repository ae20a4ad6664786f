// The virtual scanner's own window: the user picks a pixel type and a number of pages, then
// "Scan" starts a batch and "Close" (or closing the window) asks the application to let go of
// the source. It only reports the user's wishes; the scanner acts on them.
#pragma once

#include "twain_protocol.h"

#include <QWidget>

class QComboBox;
class QSpinBox;
class QPushButton;

namespace twaindsm {

class VirtualScannerWindow : public QWidget {
    Q_OBJECT

public:
    // Shown over parent (may be null) as a dialog of its own, not embedded in it.
    VirtualScannerWindow(QWidget* parent, TW_UINT16 pixelType, int pages);

    TW_UINT16 pixelType() const;
    int pages() const;

signals:
    void scanRequested(int pixelType, int pages);
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QComboBox* pixelTypeBox_;
    QSpinBox* pageCountBox_;
    QPushButton* scanButton_;
    QPushButton* closeButton_;
};

} // namespace twaindsm
