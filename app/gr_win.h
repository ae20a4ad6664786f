// The start screen: two pictures, the product name, its version and a line of progress in a
// frame, shown above every other window while the program starts.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;

class GR_WIN : public QWidget {
    Q_OBJECT
public:
    GR_WIN(const QString& title, const QString& version, QWidget* parent = nullptr);

    // Sets the height in twips and centres the window again.
    void setHeightTwips(int twips);
    // Puts the window in the middle of its screen: (screen size - window size) / 2.
    void centreOnScreen();

    QLabel* Image1;
    QLabel* Image2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QFrame* Frame1;

    static constexpr int kDesignWidthTwips = 6000;
    static constexpr int kDesignHeightTwips = 3450;

protected:
    void showEvent(QShowEvent* event) override;
};
