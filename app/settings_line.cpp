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
    QStringView cut = trimmedLine;
    qsizetype apostrophe = trimmedLine.indexOf(QLatin1Char('\''));
    if (apostrophe >= 0) {
        cut = trimmedLine.first(apostrophe);
        result.comment = trimmedLine.sliced(apostrophe).toString();
    }
    result.key = cut.first(qMin<qsizetype>(4, cut.size())).toString();
    qsizetype comma = cut.indexOf(QLatin1Char(','));
    result.value = trimBlanks(comma >= 0 ? cut.sliced(comma + 1) : cut);
    return result;
}

} // namespace settings_line
