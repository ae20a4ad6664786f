// The window of a SANE source: mode, resolution and paper source, Scan and Close, a progress bar
// and a status line. It only collects choices and reports clicks; the source does the scanning.
#pragma once

#include "scan_settings.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace twaindsm {

class SaneSourceWindow : public QWidget {
    Q_OBJECT
public:
    // A window of its own over parent (which may be null), offering what limits allow and
    // showing the choices of settings.
    SaneSourceWindow(QWidget* parent, const QString& title, const SourceLimits& limits,
                     const ScanSettings& settings);

    TW_UINT16 pixelType() const;
    double resolution() const;
    bool feederEnabled() const;

    // While a batch runs the choices and Scan are locked.
    void setScanning(bool scanning);
    void setProgress(int percent);
    void setStatus(const QString& text);

    // Ticks while the window is shown, for whoever follows a running batch.
    QTimer* ticker() const { return ticker_; }

signals:
    void scanRequested();
    void closeRequested();

protected:
    // The title bar's close button asks like Close does; the source decides.
    void closeEvent(QCloseEvent* event) override;

private:
    QComboBox* modeBox_;
    QComboBox* resolutionBox_;
    QComboBox* sourceBox_;
    QPushButton* scanButton_;
    QPushButton* closeButton_;
    QProgressBar* progressBar_;
    QLabel* statusLabel_;
    QTimer* ticker_;
};

} // namespace twaindsm
