// The manager's source chooser: every source's ProductName in a list, the current default
// selected, "OK" and "Cancel". Modal; the manager shows it for MSG_USERSELECT.
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace twaindsm {

class SourceChooser : public QDialog {
    Q_OBJECT
public:
    SourceChooser(const QStringList& names, int current, QWidget* parent = nullptr);

    // The row the user chose, -1 for none.
    int chosenIndex() const;

private:
    void updateOk();

    QListWidget* list_;
    QPushButton* ok_;
};

} // namespace twaindsm
