// The rename dialog: the old name RENAME_NAME, the new name without its extension in Text1 and the
// extension in Label2, whether the file keeps its dates (RENAMEDATE, setting RNDU) and whether the
// new name is kept MS-DOS compatible (DOSNAME, setting RNDN = 0).
#pragma once

#include <QDialog>

class FileView;
class Program;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class REN_WIN : public QDialog {
    Q_OBJECT

public:
    REN_WIN(Program& program, FileView& view, QWidget* owner);
    ~REN_WIN() override;

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* RENAMEDATE = nullptr;
    QCheckBox* DOSNAME = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* CANCEL = nullptr;

    // Whether a typed character is refused in a new name (with MS-DOS names, the space too).
    static bool refused(QChar c, bool dosNames);
    // The MS-DOS shortening: text cut to the longest prefix, taken character by character, whose
    // length in the locale's encoding is at most 9 bytes.
    static QString dosShortened(const QString& text);
    // The extension label of a name: its extension with the dot, as the name spells it.
    static QString extensionOf(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onOK();
    void onDOSNAME();
    // Pasted or otherwise inserted text goes through the same rules as typed keys.
    void onTextEdited(const QString& text);
    void validate();
    // Whether a file of the display folder has the name (in any letter case).
    bool taken(const QString& name) const;

    Program& program_;
    FileView& view_;
    QString folder_; // the display folder when the dialog opened
    QString oldName_;
};
