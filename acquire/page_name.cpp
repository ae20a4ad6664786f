#include "page_name.h"

#include "usr_settings.h"

namespace page_name {

int clampDigits(USR_SETTINGS& settings) {
    if (settings.SCNN > kMaxDigits)
        settings.SCNN = kMaxDigits;
    // A number needs at least one digit; 0 or less would make every name the bare prefix.
    if (settings.SCNN < 1)
        settings.SCNN = 1;
    return settings.SCNN;
}

QString zeroMask(int digits) {
    return QString(digits, QLatin1Char('0'));
}

int64_t largestPlainNumber(int digits) {
    int64_t limit = 1;
    for (int i = 0; i < digits; ++i)
        limit *= 10;
    return limit - 1;
}

QString formatNumber(int64_t number, int digits) {
    return QStringLiteral("%1").arg(number, digits, 10, QLatin1Char('0'));
}

QString extensionFor(int saveFormat) {
    switch (saveFormat) {
    case 1:
        return QStringLiteral(".jpg");
    case 2:
    case 3:
    case 4:
        return QStringLiteral(".tif");
    case 5:
        return QStringLiteral(".pdf");
    default:
        return QStringLiteral(".bmp");
    }
}

bool prefixUsable(const QString& prefix) {
    for (const QChar c : prefix) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QLatin1Char('/')) {
            return false;
        }
    }
    return !prefix.contains(QStringLiteral(".."));
}

QString prefixShown(const QString& prefix) {
    QString shown = prefix;
    for (QChar& c : shown) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            c = QChar::ReplacementCharacter;
        }
    }
    return shown;
}

} // namespace page_name
