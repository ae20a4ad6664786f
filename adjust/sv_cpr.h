// The JPEG quality of one save of the adjustment dialog: starts from the acquisition's quality
// JPGP, which it never changes. The caller shows it modally and reads JPEG_CANCELLED and
// JPEG_QUALITY afterwards.
#pragma once

#include <QDialog>
#include <cstdint>

class QGroupBox;
class QLabel;
class QPushButton;
class QScrollBar;

class SV_CPR : public QDialog {
    Q_OBJECT

public:
    SV_CPR(int32_t JPGP, QWidget* owner);

    int16_t JPEG_CANCELLED = -1; // -1 unless Save was pressed
    int16_t JPEG_QUALITY = 0;    // 0..100

    QGroupBox* Frame8 = nullptr;
    QScrollBar* JPEG_Q = nullptr;
    QLabel* JPEG_Q_DSP = nullptr;
    QPushButton* SAVEOK = nullptr;
    QPushButton* CANCEL = nullptr;

private:
    void onJPEG_Q(int value);
};
