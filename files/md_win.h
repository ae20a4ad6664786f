// The new-folder dialog of the file tray: makes a sub-folder ADD_DIR in the folder F_DIR shows.
#pragma once

#include <QDialog>

class FileView;
class Program;
class QGroupBox;
class QLineEdit;
class QPushButton;

class MD_WIN : public QDialog {
    Q_OBJECT

public:
    MD_WIN(Program& program, FileView& view, QWidget* owner);

    QGroupBox* Frame1 = nullptr;
    QLineEdit* ADD_DIR = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* CANCEL = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onOK();
    // The path of the new folder; "" with the message shown when no name is given.
    QString newPath();
    // Tells that path exists already (and gives ADD_DIR the focus); false when it does not.
    bool existing(const QString& path);

    Program& program_;
    FileView& view_;
};
