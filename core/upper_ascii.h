// Comparing paths and names without regard to letter case, the way the whole program does it:
// only the letters a-z are affected.
#pragma once

#include <QString>

// text with the letters a-z turned into A-Z; every other character is left as it is.
QString UPPER_ASCII(const QString& text);

// value written as a decimal number with its sign position: a blank before a non-negative
// number ("5" -> " 5"), the minus sign before a negative one.
QString signedNumberText(long long value);
