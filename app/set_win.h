// The settings dialog: five pages of the settings, chosen with SET_BASE_CNG; OK stores them,
// saves ORVA.CNF and brings the main window up to date, Cancel leaves everything as it was. The
// main window cannot be used while the dialog exists, however it was opened.
#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

class ORVA_WIN;
class Program;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QGroupBox;
class QScrollBar;
class QSpinBox;
class QStackedLayout;
class QTreeView;

class SET_WIN : public QDialog {
    Q_OBJECT

public:
    SET_WIN(Program& program, ORVA_WIN& window, bool owned);
    ~SET_WIN() override;

    std::array<QRadioButton*, 5> SET_BASE_CNG{};
    std::array<QFrame*, 5> SETUP_BASE{};
    QPushButton* Command1 = nullptr; // OK
    QPushButton* Command2 = nullptr; // Cancel
    QLabel* MOVING = nullptr;

    // Page 0: reading.
    QComboBox* Drive1 = nullptr;
    QTreeView* Dir1 = nullptr;
    QCheckBox* Check7 = nullptr; // base is always the desktop
    QCheckBox* Check1 = nullptr; // dated folders
    QLineEdit* Text1 = nullptr;  // prefix
    QLineEdit* Text5 = nullptr;  // digits
    QCheckBox* Check11 = nullptr;
    QLineEdit* Text6 = nullptr; // start number
    QLabel* Label1 = nullptr;
    QRadioButton* Option14 = nullptr;
    QRadioButton* Option15 = nullptr;
    QRadioButton* Option16 = nullptr;
    QPushButton* Command6 = nullptr;
    // Page 1: editors.
    QLineEdit* Text2 = nullptr;
    QPushButton* Command5 = nullptr;
    QLineEdit* Text3 = nullptr;
    QPushButton* Command4 = nullptr;
    std::array<QCheckBox*, 2> ED_PATHTYPE{};
    // Page 2: display.
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option11 = nullptr;
    QRadioButton* Option17 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QRadioButton* Option6 = nullptr;
    QRadioButton* Option7 = nullptr;
    QRadioButton* Option8 = nullptr;
    QRadioButton* Option9 = nullptr;
    QRadioButton* Option10 = nullptr;
    std::array<QLineEdit*, 2> CMATRIX{};
    QRadioButton* Option12 = nullptr;
    QRadioButton* Option13 = nullptr;
    QCheckBox* Check2 = nullptr;
    std::array<QRadioButton*, 2> Option18{};
    // Page 3: TWAIN reading.
    std::array<QRadioButton*, 6> Option5{}; // BMP, JPEG, three TIFF, PDF
    QCheckBox* Check13 = nullptr;           // PDF documents with the words of their pages
    std::vector<QCheckBox*> PDF_LANG;       // the languages of text_data::offered()
    QLabel* PDF_NOTE = nullptr;             // the packages that bring missing languages
    QScrollBar* JPEG_Q = nullptr;
    QLabel* JPEG_Q_DSP = nullptr;
    QCheckBox* Check10 = nullptr;
    QPushButton* Command3 = nullptr;
    // Page 4: start-up and operation.
    QCheckBox* Check8 = nullptr;
    QCheckBox* Check3 = nullptr;
    QCheckBox* Check4 = nullptr;
    QCheckBox* Check6 = nullptr;
    QCheckBox* Check12 = nullptr;
    QCheckBox* Check9 = nullptr;
    QLineEdit* Text4 = nullptr;
    QPushButton* Command7 = nullptr;

    // The digits and prefix pair corrected as leaving either box does.
    void validateDigits();
    // The start number checked as leaving Text6 does; false (told, focus kept) when too long.
    bool validateStartNumber();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildPages();
    QFrame* buildReadingPage();
    QFrame* buildLaunchPage();
    QFrame* buildDisplayPage();
    QFrame* buildTwainPage();
    QFrame* buildStartPage();
    void connectControls();
    void load();
    void showPage(int index);
    void onCheck7();
    void onCheck11();
    void onCheck9();
    void onOption5();
    void loadText();
    void updateText();
    void storeText();
    QGroupBox* buildCleaningGroup(QWidget* parent);
    void loadCleaning();
    void storeCleaning();
    void onOK();
    void storeSettings();
    bool storeMatrix();
    void updateMainWindow(bool matrixChanged);
    QString pickProgram(const QString& preset);

    Program& program_;
    ORVA_WIN& window_;
    QStringList languages_; // of PDF_LANG
    // Page 3: the cleaning of acquired pages.
    QCheckBox* cutBordersBox_ = nullptr;
    QCheckBox* straightenBox_ = nullptr;
    QCheckBox* uprightBox_ = nullptr;
    QCheckBox* blankBox_ = nullptr;
    QSpinBox* blankSensitivityBox_ = nullptr;
    QStackedLayout* pages_ = nullptr;
    bool loading_ = true;
    // Values at open that OK compares against.
    QString openBASD_;
    int16_t openMKDR_ = 0;
    int16_t openD256_ = 0;
    int16_t openLDSP_ = 0;
    int16_t openDSPD_ = 0;
    int openColour_ = 0; // 8, 9 or 10: the option of the catalogue's colour mode
    int16_t openCTDM_ = 0;
};
