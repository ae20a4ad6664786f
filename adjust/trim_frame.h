// The trim rectangle over the picture: a line of black and white dashes two pixels wide, which
// shows on any picture, a red, black or white one included.
#pragma once

#include <QFrame>

class TrimFrame : public QFrame {
public:
    explicit TrimFrame(QWidget* parent) : QFrame(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};
