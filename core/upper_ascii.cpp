#include "upper_ascii.h"

QString UPPER_ASCII(const QString& text) {
    QString upper = text;
    for (QChar& c : upper) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z') {
            c = QChar(static_cast<char16_t>(u - u'a' + u'A'));
        }
    }
    return upper;
}

QString signedNumberText(long long value) {
    const QString digits = QString::number(value);
    return value < 0 ? digits : QLatin1Char(' ') + digits;
}
