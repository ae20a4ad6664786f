#include "number_box.h"

#include <QKeyEvent>
#include <QLineEdit>

NumberBox::NumberBox(QLineEdit* box, Kind kind) : QObject(box), kind_(kind) {}

void NumberBox::install(QLineEdit* box, Kind kind) {
    box->installEventFilter(new NumberBox(box, kind));
}

QString NumberBox::millimetres(double value) {
    return QStringLiteral(" ") + QString::number(value, 'f', 2);
}

bool NumberBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.isEmpty() || text.at(0).unicode() < 32 || (key->modifiers() & Qt::ControlModifier)) {
        // Backspace, the arrows, Tab, Enter and the editing shortcuts do their usual work.
        return false;
    }
    const QChar c = text.at(0);
    if (c.isDigit() && c.unicode() < 128) {
        return false;
    }
    if (c == QLatin1Char('.') && kind_ == Kind::Millimetres) {
        const QString held = static_cast<QLineEdit*>(watched)->text();
        return !held.trimmed().isEmpty() && held.contains(QLatin1Char('.'));
    }
    return true;
}
