// How one line of a settings file splits into key, value and trailing comment.
#pragma once

#include <QString>
#include <QStringView>

struct SettingLine {
    QString key;     // the first four characters
    QString value;   // after the first ",", trimmed; the whole line when there is no ","
    QString comment; // from the first lone "'" to the end, "'" included; empty when none
};

namespace settings_line {

// The line without blanks (spaces and tabs) at either end.
QString trimBlanks(QStringView line);

// Splits a line that has already been trimmed: the comment is cut off at the first "'" that is
// not doubled, the key is what is left's first four characters and the value the trimmed part
// after its first ",". A doubled "''" in the value stands for one "'" of the text: "'" would
// otherwise begin the comment. Lines without "''" read exactly as before.
SettingLine split(QStringView trimmedLine);

// A text value as it is written: every "'" doubled.
QString encodeValue(const QString& value);

} // namespace settings_line
