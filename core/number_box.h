// The number boxes of the print dialogs: typing accepts the digits and Backspace, and in the
// millimetre boxes one decimal point; every other key is dropped. The boxes show their numbers
// as " ######0.00" (a blank, the integer digits, two decimals) and read back what they hold as
// the leading number of their text.
#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

class NumberBox : public QObject {
    Q_OBJECT

public:
    enum class Kind { Millimetres, Count };
    // Installs the key filter on box (the filter belongs to the box).
    static void install(QLineEdit* box, Kind kind);

    // " 12.30"
    static QString millimetres(double value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    NumberBox(QLineEdit* box, Kind kind);
    Kind kind_;
};
