// Keeps the user's input away from one widget and everything in it while it stays enabled, so
// that it goes on drawing as usual (a disabled panel would grey its pictures).
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class InputBlock : public QObject {
    Q_OBJECT

public:
    explicit InputBlock(QWidget* blocked) : blocked_(blocked) {}
    ~InputBlock() override { setActive(false); }

    void setActive(bool active);
    bool active() const { return active_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> blocked_;
    bool active_ = false;
};
