// The two folder dialogs share their controls: the drive list Drive1, the folder list Dir1 and the
// buttons Command1 (OK) and Command2 (Cancel) in the frame Frame1. They open on a start folder, or
// on its nearest existing parent when it is gone.
#pragma once

#include <QDialog>

class Program;
class QComboBox;
class QGroupBox;
class QPushButton;
class QTreeView;

class FolderChooser : public QDialog {
    Q_OBJECT

public:
    QGroupBox* Frame1 = nullptr;
    QComboBox* Drive1 = nullptr;
    QTreeView* Dir1 = nullptr;
    QPushButton* Command1 = nullptr; // OK
    QPushButton* Command2 = nullptr; // Cancel

    // The folder Dir1 shows, ending in "/" ("/" for the root, never "//").
    QString chosenFolder() const;

protected:
    // owner is the main window; with ownWindow the dialog is a window of its own beside it
    // (it can go behind the main window) that still closes with it.
    FolderChooser(Program& program, QWidget* owner, const char* name, const QString& caption,
                  bool ownWindow = false);
    // Opens the lists on start, or on its nearest existing parent.
    void startAt(const QString& start);
    // Command1: the dialog's own use of the chosen folder.
    virtual void accepted() = 0;

    Program& program_;

private:
    void onDrive1(int index);
    int shownDrive_ = 0;
};
