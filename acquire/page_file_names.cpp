#include "page_file_names.h"

namespace page_file_names {

QString name(int k) {
    return QStringLiteral("ORVA_TMP.%1").arg(k, 3, 10, QLatin1Char('0'));
}

bool isPageFile(const QString& name, int* number) {
    static const QString prefix = QStringLiteral("ORVA_TMP.");
    if (!name.startsWith(prefix, Qt::CaseSensitive) || name.size() < prefix.size() + 3)
        return false;
    const QStringView digits = QStringView(name).mid(prefix.size());
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    bool ok = false;
    const int value = digits.toInt(&ok);
    if (number != nullptr)
        *number = value;
    return ok;
}

bool isPartial(const QString& name) {
    // The library writes each page under a hidden temporary name and renames it when complete.
    return (name.startsWith(QStringLiteral(".ORVA_TMP."), Qt::CaseSensitive) ||
            name.startsWith(QStringLiteral("ORVA_TMP."), Qt::CaseSensitive)) &&
           name.contains(QStringLiteral(".pmxtmp."));
}

} // namespace page_file_names
