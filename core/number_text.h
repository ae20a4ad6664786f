// Numbers as text, one rule for the settings files and every box a user types a number into: the
// leading numeric part of the text is its value (optional sign, digits with an optional decimal
// point, optional exponent: "3.75.2" is 3.75, "2.5e1" is 25, "12abc" is 12), text without one is
// 0, and an integer is that value rounded, halves to the even neighbour. Written in plain decimal
// form with a blank where a minus sign would stand.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace number_text {

// The value of the leading numeric part of text (optional sign, digits with an optional decimal
// point, optional exponent). Text without a numeric part reads as 0. Empty when the number lies
// beyond what a double holds.
std::optional<double> parseLeading(QStringView text);

// The nearest integer, halves going to the even neighbour.
double roundHalfEven(double value);

// What a box's text means: the leading numeric part once the blanks around it are gone; 0 without
// one, or when the number lies beyond what a double holds.
double valueOf(QStringView text);
// valueOf rounded half to even, held within low..high.
int64_t integerOf(QStringView text, int64_t low, int64_t high);

// " 12", " 0", "-3".
QString formatInteger(int64_t value);

// Plain decimal form with up to 15 significant digits and no zero before the point:
// " 2.5", " .5", "-.25", " 3". Not-a-number and infinities write " 0".
QString formatFraction(double value);

} // namespace number_text
