#include "number_text.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace number_text {

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Appends the run of digits starting at i to out; returns how many there were.
qsizetype takeDigits(QStringView text, qsizetype& i, std::string& out) {
    qsizetype count = 0;
    while (i < text.size() && isDigit(text[i])) {
        out += char(text[i].unicode());
        ++i;
        ++count;
    }
    return count;
}

} // namespace

std::optional<double> parseLeading(QStringView text) {
    std::string number;
    qsizetype i = 0;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-')) {
            number += '-';
        }
        ++i;
    }
    qsizetype digits = takeDigits(text, i, number);
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        number += '.';
        ++i;
        digits += takeDigits(text, i, number);
    }
    if (digits == 0) {
        return 0.0;
    }
    // An exponent counts only when it has digits of its own: "2e" is 2.
    if (i < text.size() && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        std::string exponent = "e";
        qsizetype j = i + 1;
        if (j < text.size() && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) {
            exponent += char(text[j].unicode());
            ++j;
        }
        if (takeDigits(text, j, exponent) > 0) {
            number += exponent;
        }
    }

    // from_chars does not depend on the C locale, unlike strtod.
    double value = 0;
    const char* end = number.data() + number.size();
    auto [ptr, ec] = std::from_chars(number.data(), end, value);
    if (ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

double valueOf(QStringView text) {
    return parseLeading(text.trimmed()).value_or(0.0);
}

int64_t integerOf(QStringView text, int64_t low, int64_t high) {
    const double value = roundHalfEven(valueOf(text));
    if (value <= double(low)) {
        return low;
    }
    // 2^63 is the first double past int64_t's range.
    if (value >= double(high) || value >= 9223372036854775808.0) {
        return high;
    }
    return int64_t(value);
}

double roundHalfEven(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    double floor = std::floor(value);
    double diff = value - floor;
    if (diff < 0.5) {
        return floor;
    }
    if (diff > 0.5) {
        return floor + 1;
    }
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

QString formatInteger(int64_t value) {
    QString digits = QString::number(value);
    return value < 0 ? digits : QLatin1Char(' ') + digits;
}

QString formatFraction(double value) {
    if (!std::isfinite(value) || value == 0) {
        return QStringLiteral(" 0");
    }
    // Fifteen significant digits in scientific form, "d.dddddddddddddde+XX", then laid out plainly.
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, 14);
    if (ec != std::errc()) {
        return QStringLiteral(" 0");
    }
    std::string scientific(buffer, end);
    std::size_t e = scientific.find('e');
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, e - 2);
    int exponent = std::stoi(scientific.substr(e + 1));
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

    // Digits before the decimal point.
    long long point = static_cast<long long>(exponent) + 1;
    std::string plain;
    if (point <= 0) {
        plain = "." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    } else if (point >= static_cast<long long>(digits.size())) {
        plain = digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
    } else {
        plain = digits.substr(0, static_cast<std::size_t>(point)) + "." +
                digits.substr(static_cast<std::size_t>(point));
    }
    return (value < 0 ? QLatin1Char('-') : QLatin1Char(' ')) + QString::fromLatin1(plain);
}

} // namespace number_text
