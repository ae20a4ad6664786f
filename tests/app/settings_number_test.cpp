// Reading and writing of single values and lines in the settings files.
#include "number_text.h"
#include "settings_line.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace number_text;

namespace {

double parsed(const char* text) {
    return parseLeading(QString::fromUtf8(text)).value_or(-12345);
}

} // namespace

TEST(SettingsNumber, ReadsTheLeadingNumericPart) {
    EXPECT_EQ(parsed("12abc"), 12);
    EXPECT_EQ(parsed("-3"), -3);
    EXPECT_EQ(parsed("+7"), 7);
    EXPECT_EQ(parsed(".5"), 0.5);
    EXPECT_EQ(parsed("-.25 rest"), -0.25);
    EXPECT_EQ(parsed("2.5e1x"), 25);
    EXPECT_EQ(parsed("3.75.2"), 3.75);
    // An exponent without digits is not part of the number.
    EXPECT_EQ(parsed("2e"), 2);
    EXPECT_EQ(parsed("2e+"), 2);
    EXPECT_EQ(parsed("1,5"), 1);
}

TEST(SettingsNumber, TextWithoutDigitsReadsAsZero) {
    EXPECT_EQ(parsed(""), 0);
    EXPECT_EQ(parsed("abc"), 0);
    EXPECT_EQ(parsed("-"), 0);
    EXPECT_EQ(parsed("."), 0);
    EXPECT_EQ(parsed("e5"), 0);
    EXPECT_EQ(parsed("DSPM 2"), 0);
}

TEST(SettingsNumber, NumbersBeyondADoubleAreRefused) {
    EXPECT_FALSE(parseLeading(u"1e999").has_value());
    EXPECT_FALSE(parseLeading(u"-1e400").has_value());
    QString manyDigits = QStringLiteral("1") + QString(400, QLatin1Char('0'));
    EXPECT_FALSE(parseLeading(manyDigits).has_value());
}

TEST(SettingsNumber, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(2.5001), 3);
    EXPECT_EQ(roundHalfEven(-2.6), -3);
    EXPECT_EQ(roundHalfEven(32767.5), 32768);
}

TEST(SettingsNumber, IntegersCarryABlankInPlaceOfTheSign) {
    EXPECT_EQ(formatInteger(0), u" 0");
    EXPECT_EQ(formatInteger(12), u" 12");
    EXPECT_EQ(formatInteger(-3), u"-3");
    EXPECT_EQ(formatInteger(std::numeric_limits<int32_t>::min()), u"-2147483648");
}

TEST(SettingsNumber, FractionsArePlainWithoutLeadingZero) {
    EXPECT_EQ(formatFraction(0.5), u" .5");
    EXPECT_EQ(formatFraction(-0.25), u"-.25");
    EXPECT_EQ(formatFraction(2.5), u" 2.5");
    EXPECT_EQ(formatFraction(3.0), u" 3");
    EXPECT_EQ(formatFraction(0.0), u" 0");
    EXPECT_EQ(formatFraction(-0.0), u" 0");
    EXPECT_EQ(formatFraction(0.000001234), u" .000001234");
    EXPECT_EQ(formatFraction(123456789.125), u" 123456789.125");
    EXPECT_EQ(formatFraction(1e20), u" 100000000000000000000");
}

TEST(SettingsNumber, FractionsKeepFifteenSignificantDigits) {
    EXPECT_EQ(formatFraction(1.2345678901234567), u" 1.23456789012346");
    EXPECT_EQ(formatFraction(-0.12345678901234567), u"-.123456789012346");
    // Rounding at the fifteenth digit can carry into a whole number.
    EXPECT_EQ(formatFraction(0.9999999999999999), u" 1");
    EXPECT_EQ(formatFraction(std::nan("")), u" 0");
    EXPECT_EQ(formatFraction(std::numeric_limits<double>::infinity()), u" 0");
}

TEST(SettingsLine, SplitsKeyValueAndComment) {
    SettingLine line = settings_line::split(u"BASD , C:/a,b/c 'base folder, with comma");
    EXPECT_EQ(line.key, u"BASD");
    EXPECT_EQ(line.value, u"C:/a,b/c");
    EXPECT_EQ(line.comment, u"'base folder, with comma");

    line = settings_line::split(u"NTOP ,it's");
    EXPECT_EQ(line.value, u"it");
    EXPECT_EQ(line.comment, u"'s");

    line = settings_line::split(u"DD03 ,");
    EXPECT_EQ(line.key, u"DD03");
    EXPECT_TRUE(line.value.isEmpty());
    EXPECT_TRUE(line.comment.isEmpty());
}

TEST(SettingsLine, MalformedLines) {
    // No comma: the whole cut line is the value.
    SettingLine line = settings_line::split(u"DSPM 2  'two");
    EXPECT_EQ(line.key, u"DSPM");
    EXPECT_EQ(line.value, u"DSPM 2");

    // Only a comment once trimmed: nothing is left to read.
    line = settings_line::split(u"'NTOP , x");
    EXPECT_TRUE(line.key.isEmpty());
    EXPECT_TRUE(line.value.isEmpty());

    line = settings_line::split(u"AB");
    EXPECT_EQ(line.key, u"AB");
    // A comma inside the first four characters still splits there.
    line = settings_line::split(u"AB,CD");
    EXPECT_EQ(line.key, u"AB,C");
    EXPECT_EQ(line.value, u"CD");
}

TEST(SettingsLine, TrimsSpacesAndTabsOnly) {
    EXPECT_EQ(settings_line::trimBlanks(u" \t NTOP , x \t"), u"NTOP , x");
    EXPECT_EQ(settings_line::trimBlanks(u"   "), u"");
    EXPECT_EQ(settings_line::trimBlanks(u"\u3000x"), u"\u3000x");
}

TEST(NumberText, EveryBoxReadsItsTextByTheOneRule) {
    const struct {
        const char* text;
        double value;
        int64_t integer; // held within -32768..32767
    } cases[] = {
        {" 3.75.2 ", 3.75, 4},
        {"2.5e1", 25, 25},
        {"12abc", 12, 12},
        {"abc", 0, 0},
        {"", 0, 0},
        {"  -2.5", -2.5, -2},
        {"3.5", 3.5, 4},
        {"1e999", 0, 0},
        {"99999999999", 99999999999.0, 32767},
        {"-1e10", -1e10, -32768},
        {"\t+7\t", 7, 7},
        {"１２", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(valueOf(QString::fromUtf8(c.text)), c.value);
        EXPECT_EQ(integerOf(QString::fromUtf8(c.text), -32768, 32767), c.integer);
    }
    EXPECT_EQ(integerOf(u"1e300", INT64_MIN, INT64_MAX), INT64_MAX);
}
