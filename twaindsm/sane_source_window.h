// The window of a SANE source: a basic page (mode, resolution, paper source, page size), a page of
// every other option the driver has, Scan and Close, a progress bar and a status line. It only
// collects choices and reports them; the source sets the device and does the scanning.
#pragma once

#include "sane_option.h"
#include "scan_settings.h"

#include <QImage>
#include <QWidget>
#include <set>
#include <string>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;

namespace twaindsm {

class PaperAreaFields;
class PreviewArea;
class SaneOptionsPage;

class SaneSourceWindow : public QWidget {
    Q_OBJECT
public:
    // A window of its own over parent (which may be null), offering what limits allow and
    // showing the choices of settings; the options page leaves out those named in basicOptions.
    SaneSourceWindow(QWidget* parent, const QString& title, const SourceLimits& limits,
                     const ScanSettings& settings, std::set<std::string> basicOptions);

    TW_UINT16 pixelType() const;
    double resolution() const;
    // The paper source chosen, by the device's name ("" when it has none to choose), and what
    // kind of source it is.
    std::string sourceName() const;
    bool feederEnabled() const;
    bool duplexEnabled() const;
    void selectSource(const std::string& name);
    // The area to scan, in inches: the paper or size chosen on the basic page.
    Frame frame() const;
    // The picture adjustments chosen, on TWAIN's scales (brightness and contrast -1000..1000,
    // threshold 0..255); settings' own where the device offers none.
    void adjustments(ScanSettings& settings) const;
    // The preview scan of the whole area (null: none yet); whether one can be made.
    void showPreview(const QImage& picture);
    void setPreviewOffered(bool offered);

    // While a batch runs the choices and Scan are locked.
    void setScanning(bool scanning);
    void setProgress(int percent);
    void setStatus(const QString& text);
    // The device's options as they are now.
    void showOptions(const std::vector<SaneOption>& options);

    // Ticks while the window is shown, for whoever follows a running batch.
    QTimer* ticker() const { return ticker_; }

signals:
    void scanRequested();
    void closeRequested();
    void defaultsRequested();
    void previewRequested();
    void optionChosen(const std::string& name, const twaindsm::SaneValue& value);

protected:
    // The title bar's close button asks like Close does; the source decides.
    void closeEvent(QCloseEvent* event) override;

private:
    QTabWidget* pages_;
    SaneOptionsPage* optionsPage_;
    QComboBox* modeBox_;
    QComboBox* resolutionBox_;
    QComboBox* sourceBox_;
    PaperAreaFields* paperFields_;
    PreviewArea* preview_;
    QPushButton* previewButton_;
    QDoubleSpinBox* brightnessBox_;
    QDoubleSpinBox* contrastBox_;
    QDoubleSpinBox* thresholdBox_;
    SourceLimits limits_;
    QPushButton* scanButton_;
    QPushButton* closeButton_;
    QPushButton* defaultsButton_;
    QProgressBar* progressBar_;
    QLabel* statusLabel_;
    QTimer* ticker_;
};

} // namespace twaindsm
