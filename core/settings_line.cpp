#include "settings_line.h"

namespace settings_line {

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

} // namespace

QString trimBlanks(QStringView line) {
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isBlank(line[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(line[end - 1])) {
        --end;
    }
    return line.sliced(begin, end - begin).toString();
}

SettingLine split(QStringView trimmedLine) {
    SettingLine result;
    const QChar apostrophe = QLatin1Char('\'');
    QString cut;
    cut.reserve(trimmedLine.size());
    for (qsizetype i = 0; i < trimmedLine.size(); ++i) {
        if (trimmedLine[i] != apostrophe) {
            cut += trimmedLine[i];
        } else if (i + 1 < trimmedLine.size() && trimmedLine[i + 1] == apostrophe) {
            cut += apostrophe;
            ++i;
        } else {
            result.comment = trimmedLine.sliced(i).toString();
            break;
        }
    }
    result.key = cut.first(qMin<qsizetype>(4, cut.size()));
    qsizetype comma = cut.indexOf(QLatin1Char(','));
    result.value = trimBlanks(comma >= 0 ? QStringView(cut).sliced(comma + 1) : QStringView(cut));
    return result;
}

QString encodeValue(const QString& value) {
    QString text = value;
    return text.replace(QLatin1String("'"), QLatin1String("''"));
}

} // namespace settings_line
