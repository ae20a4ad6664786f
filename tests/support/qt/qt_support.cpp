#include "qt_support.h"

#include "native_name.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "orvana_test";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

QString q(const std::string& path) {
    return native_name::fromBytes(QByteArray::fromStdString(path));
}

void typeInto(QLineEdit* box, const QString& text, bool leave) {
    QTest::mouseClick(box, Qt::LeftButton);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_EQ(focus, box);
    QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
    for (const QChar c : text) {
        const Qt::Key key = c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), key, QString(c),
                            Qt::NoModifier);
    }
    if (leave) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}
