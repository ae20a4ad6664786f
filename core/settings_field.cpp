#include "settings_field.h"

#include "number_text.h"
#include "settings_line.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>
#include <type_traits>

namespace settings_field {

namespace {

// Value for a numeric field: integers are rounded first, so that 32767.4 still fits an int16
// field and 32767.5 does not.
std::optional<double> numberFor(const SettingKey& key, const QString& value, bool integral) {
    std::optional<double> number = number_text::parseLeading(value);
    if (!number) {
        return std::nullopt;
    }
    double result = integral ? number_text::roundHalfEven(*number) : *number;
    if (result < key.minimum || result > key.maximum) {
        return std::nullopt;
    }
    return result;
}

// A single is written as the shortest decimal that reads back as the same single, so that 0.1
// stays ".1" rather than showing the digits of its binary approximation.
double shortestDecimal(float value) {
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc()) {
        return value;
    }
    double result = value;
    std::from_chars(buffer, end, result);
    return result;
}

} // namespace

bool store(USR_SETTINGS& settings, const SettingKey& key, const QString& value) {
    return std::visit(
        [&](auto member) {
            using Field = std::remove_reference_t<decltype(settings.*member)>;
            if constexpr (std::is_same_v<Field, QString>) {
                settings.*member = value;
                return true;
            } else {
                std::optional<double> number = numberFor(key, value, std::is_integral_v<Field>);
                if (!number) {
                    return false;
                }
                settings.*member = static_cast<Field>(*number);
                return true;
            }
        },
        key.member);
}

QString format(const USR_SETTINGS& settings, const SettingKey& key) {
    return std::visit(
        [&](auto member) -> QString {
            using Field = std::remove_cvref_t<decltype(settings.*member)>;
            const Field& field = settings.*member;
            if constexpr (std::is_same_v<Field, QString>) {
                // A line break inside a value would start a new line of the file.
                QString text = field;
                text.replace(QLatin1Char('\r'), QLatin1Char(' '));
                text.replace(QLatin1Char('\n'), QLatin1Char(' '));
                return settings_line::encodeValue(text);
            } else if constexpr (std::is_integral_v<Field>) {
                return number_text::formatInteger(field);
            } else if constexpr (std::is_same_v<Field, float>) {
                return number_text::formatFraction(shortestDecimal(field));
            } else {
                double rounded = number_text::roundHalfEven(field);
                if (!(std::fabs(rounded) < 9.0e18)) {
                    return number_text::formatFraction(rounded);
                }
                return number_text::formatInteger(static_cast<int64_t>(rounded));
            }
        },
        key.member);
}

} // namespace settings_field
