// Numbers as the settings files hold them: read from the leading numeric part of a value, written
// in plain decimal form with a blank where a minus sign would stand.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace settings_number {

// The value of the leading numeric part of text (optional sign, digits with an optional decimal
// point, optional exponent). Text without a numeric part reads as 0. Empty when the number lies
// beyond what a double holds.
std::optional<double> parseLeading(QStringView text);

// The nearest integer, halves going to the even neighbour.
double roundHalfEven(double value);

// " 12", " 0", "-3".
QString formatInteger(int64_t value);

// Plain decimal form with up to 15 significant digits and no zero before the point:
// " 2.5", " .5", "-.25", " 3". Not-a-number and infinities write " 0".
QString formatFraction(double value);

} // namespace settings_number
