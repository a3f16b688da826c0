#include "platform/vb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>

using namespace zav::platform::vb;

namespace {

// Texts are compared as UTF-8 so that a failure shows them as text.
std::string text(const QString &value)
{
    return value.toStdString();
}

} // namespace

namespace {

struct FormatCase
{
    double value;
    const char *pattern;
    const char *comma; // expected under the ',' separator
};

// Each expected text is worked by hand from the number's decimal form rounded to 15 significant
// digits, then rounded to the pattern's decimals with halves away from zero.
const FormatCase formatCases[] = {
    // (300.001 + 250) / 2 is 275.00049999999998... as a double; its 15-digit form 275.000500000000
    // is a half, which goes up.
    { (300.001 + 250) / 2, "###0.0##", "275,001" },
    { 1.0005, "###0.0##", "1,001" }, // the double lies just below 1.0005
    { 2.0005, "###0.0##", "2,001" }, // 2.000499999999999989... as a double
    { -2.0005, "###0.0##", "-2,001" }, // away from zero on the negative side too
    { 7, "###0.0##", "7,0" }, { 1.0 / 3, "###0.0##", "0,333" }, { 2.0 / 3, "###0.0##", "0,667" },
    { 12.5, "###0.0##", "12,5" }, { 0.5, "###0.0##", "0,5" }, { 0, "###0.0##", "0,0" },
    { 0.0004, "###0.0##", "0,0" }, { 1234.5678, "###0.0##", "1234,568" }, // no grouping
    { 0.5, "###.0##", ",5" }, // no integer digit when the integer part is 0
    { 0, "###.0##", ",0" }, { 2000.0 / 3, "###.0##", "666,667" },
    { 0.9996, "###.0##", "1,0" }, // the carry makes the integer digit
    { 1.0 / 3, "##0.0###", "0,3333" },
    { 0.00005, "##0.0###", "0,0001" }, // a half with no kept digit rounds up to one unit
    { 999.9995, "####0.0##", "1000,0" }, // the carry runs through every nine
    // 9.99949999999999939... as a double, a half on its 15-digit form: a new integer digit
    { 9.9995, "###0.0##", "10,0" }, { -9.9995, "###0.0##", "-10,0" },
    // 999999999999999.875 has 1.00000000000000E+15 as its 15-digit form
    { 999999999999999.9, "###0.0##", "1000000000000000,0" }, { 1e-300, "###0.0##", "0,0" },
    { 2.71828, "###0.0###", "2,7183" }, { 0.1, "##0.000", "0,100" }, { 0.0005, "##0.000", "0,001" },
    { 100, "0.0000", "100,0000" }, { 100.0 / 3, "0.0000", "33,3333" },
    { 0.15, "########0.0", "0,2" }, // 0.1499999999999999944... as a double
    { 1234567.85, "########0.0", "1234567,9" }, { 12.3456, "########0.000", "12,346" },
    { 1e20, "########0.000", "100000000000000000000,000" }, { 1234567.891, "#,##0.00", "1.234.567,89" },
    { 5, "0.", "5," }, { 42, "0", "42" }, { 2.5, "0", "3" },
    { 3.25, "0.0 mq", "3,3 mq" }, // text after the placeholders is copied
};

std::string withPoint(std::string commaText)
{
    // Under '.' the same digits come out with the two separators swapped.
    for (char &c : commaText) {
        if (c == ',')
            c = '.';
        else if (c == '.')
            c = ',';
    }
    return commaText;
}

} // namespace

TEST(VbFormat, PatternsUnderBothSeparators)
{
    for (const FormatCase &c : formatCases) {
        {
            DecimalSeparatorScope comma(QLatin1Char(','));
            EXPECT_EQ(text(Format(c.value, QString::fromUtf8(c.pattern))), c.comma)
                << c.pattern << " " << c.value;
        }
        {
            DecimalSeparatorScope point(QLatin1Char('.'));
            EXPECT_EQ(text(Format(c.value, QString::fromUtf8(c.pattern))), withPoint(c.comma))
                << c.pattern << " " << c.value;
        }
    }
}

TEST(VbFormat, NegativeNumbersAndNegativeZero)
{
    DecimalSeparatorScope comma(QLatin1Char(','));
    EXPECT_EQ(text(Format(-12.5, QStringLiteral("###0.0##"))), "-12,5");
    EXPECT_EQ(text(Format(-0.5, QStringLiteral("###.0##"))), "-,5");
    // A negative number that rounds to zero is written as zero, without a sign.
    EXPECT_EQ(text(Format(-0.0001, QStringLiteral("###0.0##"))), "0,0");
    EXPECT_EQ(text(Format(-0.0, QStringLiteral("###.0##"))), ",0");
    EXPECT_EQ(text(Format(-0.0005, QStringLiteral("###0.0##"))), "-0,001");
}

TEST(VbFormat, EmptyPatternNonFiniteValuesAndVariants)
{
    DecimalSeparatorScope comma(QLatin1Char(','));
    EXPECT_EQ(text(Format(0.1 + 0.2, QString())), "0,3");
    EXPECT_EQ(text(Format(std::numeric_limits<double>::infinity(), QStringLiteral("###0.0##"))), "");
    EXPECT_EQ(text(Format(std::nan(""), QStringLiteral("###0.0##"))), "");

    EXPECT_EQ(text(Format(QVariant(), QStringLiteral("###0.0##"))), "");
    // A number that is not finite writes nothing, as a variant too (not "inf" or "nan").
    EXPECT_EQ(
        text(Format(QVariant(std::numeric_limits<double>::infinity()), QStringLiteral("###0.0##"))), "");
    EXPECT_EQ(text(Format(QVariant(std::nan("")), QStringLiteral("###0.0##"))), "");
    EXPECT_EQ(text(Format(QVariant(-std::numeric_limits<float>::infinity()), QStringLiteral("0.0"))), "");
    EXPECT_EQ(text(Format(QVariant(QMetaType::fromType<double>()), QStringLiteral("###0.0##"))), "");
    EXPECT_EQ(text(Format(QVariant(2.0005), QStringLiteral("###0.0##"))), "2,001");
    // Text is read with the separators in force, then formatted; other text stays as it is.
    EXPECT_EQ(text(Format(QVariant(QStringLiteral("1.234,5")), QStringLiteral("###0.0##"))), "1234,5");
    EXPECT_EQ(text(Format(QVariant(QStringLiteral("abc")), QStringLiteral("###0.0##"))), "abc");
    EXPECT_EQ(text(Format(QVariant(QString()), QStringLiteral("###0.0##"))), "");
}

// A single is written with its own precision: its value taken to seven significant digits first,
// then rounded by the pattern. Each float below is worked out by hand from its binary value.
TEST(VbFormat, SingleIsWrittenWithItsSevenDigits)
{
    const struct
    {
        float value;
        const char *pattern;
        const char *comma; // FormatSingle under ','
        const char *asDouble; // Format of the same value as a double, for contrast
    } cases[] = {
        // 12345.677734375 -> 12345.68
        { 12345.678f, "###0.0##", "12345,68", "12345,678" },
        // 20000.001953125 -> 20000.00
        { 20000.001f, "###0.0##", "20000,0", "20000,002" },
        // 123456.703125 -> 123456.7
        { 123456.7f, "###0.0##", "123456,7", "123456,703" },
        // 1.23449957370758... -> 1.234500, whose half then goes up: two roundings, as the runtime does
        { 1.2344996f, "###0.0##", "1,235", "1,234" },
        // 16777216 -> 16777220: beyond seven digits the single has no more to give
        { 16777217.0f, "###0.0##", "16777220,0", "16777216,0" },
        { 0.1f + 0.2f, "##0.0###", "0,3", "0,3" },
        { -2.5f, "0", "-3", "-3" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.comma);
        {
            DecimalSeparatorScope comma(QLatin1Char(','));
            EXPECT_EQ(text(FormatSingle(c.value, QString::fromUtf8(c.pattern))), c.comma);
            EXPECT_EQ(text(Format(double(c.value), QString::fromUtf8(c.pattern))), c.asDouble);
        }
        DecimalSeparatorScope point(QLatin1Char('.'));
        EXPECT_EQ(text(FormatSingle(c.value, QString::fromUtf8(c.pattern))), withPoint(c.comma));
    }
    DecimalSeparatorScope comma(QLatin1Char(','));
    // Without a pattern the seven-digit form is written as CStr writes a number.
    EXPECT_EQ(text(FormatSingle(0.1f, QString())), "0,1");
    EXPECT_EQ(text(FormatSingle(std::numeric_limits<float>::infinity(), QStringLiteral("0.0"))), "");
}

// The number a written text reads back as comes with the text, equal to reading the text.
TEST(VbFormat, FormattedValueIsWhatTheTextReadsBackAs)
{
    const QString previous = currencySymbol();
    setCurrencySymbol(QStringLiteral("€"));
    for (const QChar separator : { QLatin1Char(','), QLatin1Char('.') }) {
        DecimalSeparatorScope scope(separator);
        const struct
        {
            double value;
            const char *pattern;
            std::optional<double> number;
        } cases[] = {
            { 2.0005, "###0.0##", 2.001 },
            { 16.0677, "##0.0###", 16.0677 },
            { -0.0001, "###0.0##", 0.0 },
            { 0.5, "###.0##", 0.5 },
            { -0.5, "###.0##", -0.5 },
            { 1234567.891, "#,##0.00", 1234567.89 },
            { 1e20, "###0.0##", 1e20 },
            { 1234.5, "Currency", 1234.5 },
            { 3.25, "0.0 mq", std::nullopt }, // the text is not a number
            { 0.1 + 0.2, "", 0.3 },
        };
        for (const auto &c : cases) {
            SCOPED_TRACE(c.pattern);
            const Formatted written = FormatPattern(QString::fromUtf8(c.pattern)).format(c.value);
            EXPECT_EQ(written.text, Format(c.value, QString::fromUtf8(c.pattern)));
            EXPECT_EQ(written.number, c.number);
            EXPECT_EQ(written.number, CDbl(written.text));
        }
        const Formatted single = FormatPattern(QStringLiteral("###0.0##")).formatSingle(12345.678f);
        EXPECT_EQ(single.number, 12345.68);
        const Formatted none
            = FormatPattern(QStringLiteral("0.0")).format(std::numeric_limits<double>::infinity());
        EXPECT_TRUE(none.text.isEmpty());
        EXPECT_FALSE(none.number.has_value());
    }
    setCurrencySymbol(previous);
}

TEST(VbFormat, CurrencyWritesAndReadsBack)
{
    const QString previous = currencySymbol();
    setCurrencySymbol(QStringLiteral("€"));
    {
        DecimalSeparatorScope comma(QLatin1Char(','));
        EXPECT_EQ(text(Format(1234.5, QStringLiteral("Currency"))), "€ 1.234,50");
        EXPECT_EQ(text(Format(1234567.125, QStringLiteral("CURRENCY"))), "€ 1.234.567,13");
        EXPECT_EQ(text(Format(-3, QStringLiteral("currency"))), "-€ 3,00");
        EXPECT_EQ(text(Format(0.005, QStringLiteral("Currency"))), "€ 0,01");
        EXPECT_EQ(text(Format(QVariant(QStringLiteral("12,5")), QStringLiteral("Currency"))), "€ 12,50");
        EXPECT_EQ(text(Format(QVariant(QStringLiteral("dodici")), QStringLiteral("Currency"))), "dodici");

        EXPECT_EQ(CDbl(QStringLiteral("€ 1.234,50")), 1234.5);
        EXPECT_EQ(CDbl(QStringLiteral("-€ 3,00")), -3.0);
        EXPECT_EQ(CDbl(QStringLiteral("€-3")), -3.0);
        EXPECT_EQ(CDbl(QStringLiteral("3,5 €")), 3.5);
        EXPECT_EQ(CDbl(QStringLiteral("€ € 3")), std::nullopt);
        EXPECT_EQ(CDbl(QStringLiteral("€")), std::nullopt);
        // A currency amount keeps four decimals, halves to even.
        EXPECT_EQ(CCur(QStringLiteral("€ 1,23455")), 1.2346);
        EXPECT_EQ(CCur(QStringLiteral("1,23445")), 1.2344);
        EXPECT_EQ(CCur(QVariant(2.00005)), 2.0);
        EXPECT_EQ(CCur(QVariant()), std::nullopt);
    }
    {
        DecimalSeparatorScope point(QLatin1Char('.'));
        setCurrencySymbol(QStringLiteral("$"));
        EXPECT_EQ(text(Format(1234.5, QStringLiteral("Currency"))), "$ 1,234.50");
        EXPECT_EQ(CDbl(QStringLiteral("$ 1,234.50")), 1234.5);
        setCurrencySymbol(QString());
        EXPECT_EQ(text(Format(1234.5, QStringLiteral("Currency"))), "1,234.50");
    }
    setCurrencySymbol(previous);
}

TEST(VbCStr, FifteenSignificantDigitsUnderBothSeparators)
{
    struct Case
    {
        double value;
        const char *comma;
    };
    const Case cases[] = {
        { 0.1 + 0.2, "0,3" }, // 0.30000000000000004 has 0.300000000000000 as its 15-digit form
        { 1.0 / 3, "0,333333333333333" },
        { 2.0 / 3, "0,666666666666667" },
        { 1e20, "1E+20" },
        { 1e15, "1E+15" },
        { 123456789012345, "123456789012345" },
        { 1234567, "1234567" },
        { 1000, "1000" },
        { 999.993, "999,993" },
        { 14.5, "14,5" },
        { -14.5, "-14,5" },
        { 0, "0" },
        { -0.0, "0" },
        { 0.0001, "0,0001" },
        { 0.00001, "1E-05" },
        { -1.5e-7, "-1,5E-07" },
        { 1.25e100, "1,25E+100" },
    };
    for (const Case &c : cases) {
        {
            DecimalSeparatorScope comma(QLatin1Char(','));
            EXPECT_EQ(text(CStr(c.value)), c.comma);
        }
        {
            DecimalSeparatorScope point(QLatin1Char('.'));
            EXPECT_EQ(text(CStr(c.value)), withPoint(c.comma));
        }
    }
    EXPECT_EQ(text(CStr(std::numeric_limits<double>::infinity())), "");
}

TEST(VbCStr, TotalsKeptAsTextAddUpExactly)
{
    // A running total written back as text after every addition, as the total labels do: the
    // 15-digit text drops the binary noise, so thousandths add up to the exact sum.
    DecimalSeparatorScope comma(QLatin1Char(','));
    QString total = QStringLiteral("0");
    for (int i = 0; i < 1000; ++i) {
        total = CStr(*CDbl(total) + 0.999);
    }
    EXPECT_EQ(text(total), "999");
    EXPECT_EQ(text(CStr(999.992 + 0.001)), "999,993");
}

TEST(VbVal, LeadingNumberWithPointWhateverTheSeparator)
{
    struct Case
    {
        const char *text;
        double value;
    };
    const Case cases[] = {
        { "12abc", 12 },
        { " 3.5", 3.5 },
        { "3,5", 3 },
        { "", 0 },
        { "abc", 0 },
        { "1 2 3", 123 },
        { "\t4\n2", 42 },
        { "- 7", -7 },
        { "+4", 4 },
        { "--4", 0 },
        { "-", 0 },
        { ".5", 0.5 },
        { "-.5", -0.5 },
        { "1.2.3", 1.2 },
        { "-1.5e2", -150 },
        { "2D3", 2000 },
        { "1e", 1 },
        { "1e+", 1 },
        { "1E-2x", 0.01 },
        { "1e-400", 0 },
        { "1S", 1 },
        { "T", 0 },
        { "&HFF", 255 },
        { "&hff", 255 },
        { "&HFFFF", -1 },
        { "&H8000", -32768 },
        { "&H10000", 65536 },
        { "&HFFFFFFFF", -1 },
        { "&O17", 15 },
        { "&O19", 1 },
        { "&", 0 },
        { "&X1", 0 },
    };
    for (const QChar separator : { QLatin1Char(','), QLatin1Char('.') }) {
        DecimalSeparatorScope scope(separator);
        for (const Case &c : cases)
            EXPECT_EQ(Val(QString::fromUtf8(c.text)), c.value) << c.text;
    }
    // A line break that is not a line feed stops the number.
    EXPECT_EQ(Val(QStringLiteral("4\r2")), 4);
    EXPECT_THROW(Val(QStringLiteral("1e400")), std::overflow_error);
    EXPECT_THROW(Val(QStringLiteral("&H100000000")), std::overflow_error);
}

TEST(VbNumbers, IsNumericAndCDblUnderTheCommaSeparator)
{
    DecimalSeparatorScope comma(QLatin1Char(','));
    struct Case
    {
        const char *text;
        std::optional<double> value;
    };
    const Case cases[] = {
        { "12,5", 12.5 },
        // The point groups the whole part in threes, and only there.
        { "1.234,5", 1234.5 },
        { "1.000", 1000 },
        { "1.000.000,5", 1000000.5 },
        { "-12.345.678", -12345678 },
        { "4.20", std::nullopt },
        { "0.5", std::nullopt },
        { "1.2.3", std::nullopt },
        { "0.500", std::nullopt }, // no group starts with 0
        { "01.000", std::nullopt },
        { "1000.000", std::nullopt },
        { "1.0000", std::nullopt },
        { "1.000.00", std::nullopt },
        { "1..000", std::nullopt },
        { "1.000.", std::nullopt },
        { "1.000,5.5", std::nullopt },
        { " 7 ", 7 },
        { "\t7\n", 7 },
        { "1e3", 1000 },
        { "1,5E-2", 0.015 },
        { "2d2", 200 },
        { "-0,5", -0.5 },
        { "+3", 3 },
        { ",5", 0.5 },
        { "5,", 5 },
        { "007", 7 },
        // A typed number is decimal: the runtime's hexadecimal and octal literals are no numbers.
        { "&HFF", std::nullopt },
        { "&H10", std::nullopt },
        { "&HFFFF", std::nullopt },
        { "-&H10", std::nullopt },
        { "&O17", std::nullopt },
        { "1E-400", 0 },
        { "10000000000000000000000000000000000000000000000000000000000000000000000", 1e70 }, // a long text
        { "", std::nullopt },
        { "   ", std::nullopt },
        { "abc", std::nullopt },
        { "12abc", std::nullopt },
        { "1,234.5", std::nullopt }, // no grouping mark after the decimal one
        { ".5", std::nullopt }, // a grouping mark needs a digit before it
        { ",", std::nullopt },
        { "-", std::nullopt },
        { "--5", std::nullopt },
        { "3-", -3 }, // a trailing sign is read as a leading one
        { "2,5+", 2.5 },
        { " 1.234,5- ", -1234.5 },
        { "(5)", -5 }, // parentheses mark a negative number
        { "(1.000,5)", -1000.5 },
        { "-3-", std::nullopt }, // one sign at most
        { "(-5)", std::nullopt },
        { "(5", std::nullopt },
        { "5)", std::nullopt },
        { "3-4", std::nullopt },
        { "1e", std::nullopt },
        { "1 000", std::nullopt },
        { "1,5,5", std::nullopt },
        { "&H", std::nullopt },
        { "1E400", std::nullopt },
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(CDbl(text), c.value) << c.text;
        EXPECT_EQ(CDblUtf8(c.text), c.value) << c.text;
        EXPECT_EQ(IsNumeric(text), c.value.has_value()) << c.text;
    }
    // What refuses a typed text says how a number is written.
    EXPECT_EQ(notANumberMessage(QStringLiteral("0.5")),
        QStringLiteral("\"0.5\" non è un numero: scrivere i decimali dopo la virgola e il punto solo fra "
                       "gruppi di tre cifre della parte intera, per esempio 1.234,5."));
}

TEST(VbNumbers, IsNumericAndCDblUnderThePointSeparator)
{
    DecimalSeparatorScope point(QLatin1Char('.'));
    struct Case
    {
        const char *text;
        std::optional<double> value;
    };
    const Case cases[] = {
        { "12.5", 12.5 },
        { "1,234.5", 1234.5 },
        { "1,000", 1000 },
        { "1,000,000.5", 1000000.5 },
        { "12,5", std::nullopt }, // the comma groups the whole part in threes, and only there
        { "0,5", std::nullopt },
        { "0,84", std::nullopt },
        { "16,1894", std::nullopt },
        { "3,5", std::nullopt },
        { "0,500", std::nullopt },
        { " 4.20 ", 4.2 },
        { "1e3", 1000 },
        { ".5", 0.5 },
        { "1.234,5", std::nullopt },
        { ",5", std::nullopt },
        { "", std::nullopt },
        { "&H10", std::nullopt },
        { "&HFFFF", std::nullopt },
        { "(&H10)", std::nullopt },
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(CDbl(text), c.value) << c.text;
        EXPECT_EQ(CDblUtf8(c.text), c.value) << c.text;
        EXPECT_EQ(IsNumeric(text), c.value.has_value()) << c.text;
    }
    EXPECT_EQ(notANumberMessage(QStringLiteral(" 0,5 ")),
        QStringLiteral("\"0,5\" non è un numero: scrivere i decimali dopo il punto e la virgola solo fra "
                       "gruppi di tre cifre della parte intera, per esempio 1,234.5."));
}

// Numbers an archive stores as text are read from their bytes as their text is read: the plain ones
// by a shorter way, which must round as the general reading does and leave it every other text.
TEST(VbNumbers, StoredTextReadsAsItsText)
{
    const char *const texts[] = { "14,7", "14.7", "0,1", "0.3", "10,25", "10,50", "007", "0", "0,0", "5,",
        ",5", "123456789012345", "1234567890123456", "9007199254740993", "0,000000000000000000001",
        "0,0000000000000000000000001", "1,5,5", "1.5.5", ",", "", " 5", "5 ", "-5", "1e3", "1.000", "1,000",
        "\u0663", "1\u00a0000", "\u20ac 5", "5 \u20ac",
        "12345678901234567890123456789012345678901234567890123456789012345678901234567890" };
    for (const QChar separator : { QLatin1Char(','), QLatin1Char('.') }) {
        DecimalSeparatorScope scope(separator);
        for (const char *text : texts)
            EXPECT_EQ(CDblUtf8(text), CDbl(QString::fromUtf8(text)))
                << text << " under " << separator.toLatin1();
    }
    DecimalSeparatorScope comma(QLatin1Char(','));
    EXPECT_EQ(CDblUtf8("14,7"), 14.7);
    EXPECT_EQ(CDblUtf8("0,1"), 0.1);
    EXPECT_EQ(CDblUtf8("123456789012345,5"), 123456789012345.5);
    EXPECT_EQ(CDblUtf8("1.000"), 1000.0);
    EXPECT_EQ(CDblUtf8("14.7"), std::nullopt);
}

// The reading under a separator given, whatever the one in force: with the point, ".5" is a number
// under either separator in force, and the comma groups the whole part in threes.
TEST(VbNumbers, IsNumericUnderTheSeparatorGiven)
{
    const struct
    {
        const char *text;
        bool withPoint;
        bool withComma;
    } cases[] = {
        { ".5", true, false },
        { "0.5", true, false },
        { "3,5", false, true },
        { "3,500", true, true },
        { ",5", false, true },
        { "1.2.3", false, false },
        { "1,234.5", true, false },
        { "1e3", true, true },
        { "abc", false, false },
        { "", false, false },
        { "&H10", false, false },
    };
    for (const QChar inForce : { QLatin1Char(','), QLatin1Char('.') }) {
        DecimalSeparatorScope scope(inForce);
        for (const auto &c : cases) {
            const QString text = QString::fromUtf8(c.text);
            EXPECT_EQ(IsNumeric(text, QLatin1Char('.')), c.withPoint) << c.text;
            EXPECT_EQ(IsNumeric(text, QLatin1Char(',')), c.withComma) << c.text;
        }
    }
    EXPECT_THROW(IsNumeric(QStringLiteral("1"), QLatin1Char(';')), std::invalid_argument);
}

TEST(VbNumbers, VariantsReadAsNumbers)
{
    DecimalSeparatorScope comma(QLatin1Char(','));
    EXPECT_EQ(CDbl(QVariant()), std::nullopt);
    EXPECT_EQ(CDbl(QVariant(QMetaType::fromType<double>())), std::nullopt); // a database Null
    EXPECT_EQ(CDbl(QVariant(QString())), std::nullopt);
    EXPECT_EQ(CDbl(QVariant(true)), -1.0);
    EXPECT_EQ(CDbl(QVariant(false)), 0.0);
    EXPECT_EQ(CDbl(QVariant(3)), 3.0);
    EXPECT_EQ(CDbl(QVariant(qint64(5000000000))), 5e9);
    EXPECT_EQ(CDbl(QVariant(2.5)), 2.5);
    EXPECT_EQ(CDbl(QVariant(QStringLiteral("12,5"))), 12.5);
    EXPECT_EQ(CDbl(QVariant(QByteArray("4.20"))), std::nullopt);
    EXPECT_EQ(CDbl(QVariant(QByteArray("4.200"))), 4200.0);

    EXPECT_FALSE(IsNumeric(QVariant()));
    EXPECT_FALSE(IsNumeric(QVariant(QMetaType::fromType<QString>())));
    EXPECT_TRUE(IsNumeric(QVariant(5)));
    EXPECT_TRUE(IsNumeric(QVariant(true)));
    EXPECT_TRUE(IsNumeric(QVariant(QStringLiteral(" 1.234,5 "))));
    EXPECT_FALSE(IsNumeric(QVariant(QStringLiteral("abc"))));
}

TEST(VbNumbers, FormattedTextReadsBackUnderItsSeparator)
{
    for (const QChar separator : { QLatin1Char(','), QLatin1Char('.') }) {
        DecimalSeparatorScope scope(separator);
        EXPECT_EQ(CDbl(Format(275.0005, QStringLiteral("###0.0##"))), 275.001);
        EXPECT_EQ(CDbl(Format(0.5, QStringLiteral("###.0##"))), 0.5);
        EXPECT_EQ(CDbl(Format(0.0, QStringLiteral("###.0##"))), 0.0);
        EXPECT_EQ(CDbl(CStr(1.0 / 3)), 0.333333333333333);
        EXPECT_EQ(CDbl(CStr(1e20)), 1e20);
    }
}

TEST(VbSeparator, ScopeRestoresAndOnlyCommaOrPointAreAccepted)
{
    const QChar before = decimalSeparator();
    EXPECT_TRUE(before == QLatin1Char(',') || before == QLatin1Char('.'));
    {
        DecimalSeparatorScope comma(QLatin1Char(','));
        EXPECT_EQ(groupSeparator(), QLatin1Char('.'));
        {
            DecimalSeparatorScope point(QLatin1Char('.'));
            EXPECT_EQ(decimalSeparator(), QLatin1Char('.'));
            EXPECT_EQ(groupSeparator(), QLatin1Char(','));
        }
        EXPECT_EQ(decimalSeparator(), QLatin1Char(','));
        EXPECT_THROW(setDecimalSeparator(QLatin1Char(';')), std::invalid_argument);
        EXPECT_EQ(decimalSeparator(), QLatin1Char(','));
    }
    EXPECT_EQ(decimalSeparator(), before);
}

TEST(VbWhole, IntFixAndConversionsToWholeNumbers)
{
    struct Case
    {
        double value;
        double intPart;
        double fixPart;
        qint64 clng;
    };
    const Case cases[] = {
        { 2.7, 2, 2, 3 },
        { -2.7, -3, -2, -3 },
        { 2.5, 2, 2, 2 },
        { 3.5, 3, 3, 4 },
        { -2.5, -3, -2, -2 },
        { -3.5, -4, -3, -4 },
        { 0.5, 0, 0, 0 },
        { 1.5, 1, 1, 2 },
        { -0.001, -1, 0, 0 },
        { 2.5000001, 2, 2, 3 },
        { 2147483647.4, 2147483647, 2147483647, 2147483647 },
        { -2147483648.5, -2147483649, -2147483648, -2147483648 },
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Int(c.value), c.intPart) << c.value;
        EXPECT_EQ(Fix(c.value), c.fixPart) << c.value;
        EXPECT_EQ(CLng(c.value), c.clng) << c.value;
    }
    EXPECT_THROW(CLng(2147483647.5), std::overflow_error);
    EXPECT_THROW(CLng(-2147483649.0), std::overflow_error);
    EXPECT_THROW(CLng(std::nan("")), std::overflow_error);
    EXPECT_THROW(CLng(std::numeric_limits<double>::infinity()), std::overflow_error);

    EXPECT_EQ(CInt(32766.5), 32766);
    EXPECT_EQ(CInt(-32768.5), -32768);
    EXPECT_EQ(CInt(-4.5), -4);
    EXPECT_THROW(CInt(32767.5), std::overflow_error);
    EXPECT_THROW(CInt(-32769), std::overflow_error);
}

TEST(VbWhole, RoundHalvesToEvenOnTheDecimalForm)
{
    struct Case
    {
        double value;
        int decimals;
        double rounded;
    };
    const Case cases[] = {
        { 2.5, 0, 2 },
        { 3.5, 0, 4 },
        { -2.5, 0, -2 },
        { 0.5, 0, 0 },
        { 2.6, 0, 3 },
        { 0.125, 2, 0.12 },
        { 0.135, 2, 0.14 },
        { 0.12501, 2, 0.13 },
        { 1.0005, 3, 1.0 }, // a half on the decimal form, to the even 0
        { 2.675, 2, 2.68 }, // a half on the decimal form, to the even 8
        { -1.25, 1, -1.2 },
        { 9.995, 2, 10.0 },
        { 1.23456, 10, 1.23456 },
        { 0.0004, 3, 0 },
        // Beyond fifteen digits the whole number is kept, not cut to its fifteen-digit form.
        { 1234567890123456.0, 0, 1234567890123456.0 },
        { 1234567890123456.5, 0, 1234567890123456.0 },
        { 1234567890123457.5, 2, 1234567890123457.5 },
    };
    for (const Case &c : cases)
        EXPECT_EQ(Round(c.value, c.decimals), c.rounded) << c.value << " " << c.decimals;
    EXPECT_THROW(Round(1.5, -1), std::invalid_argument);
}

TEST(VbWhole, IntegerDivisionAndRemainder)
{
    struct Case
    {
        double dividend;
        double divisor;
        qint64 quotient;
        qint64 remainder;
    };
    const Case cases[] = {
        { 7, 2, 3, 1 }, { -7, 2, -3, -1 }, { 7, -2, -3, 1 }, { -7, -2, 3, -1 }, { 6, 3, 2, 0 },
        { 2.5, 1, 2, 0 }, // 2.5 rounds to 2 before dividing
        { 7.5, 2, 4, 0 }, // 7.5 rounds to 8
        { 10, 3.5, 2, 2 }, // 3.5 rounds to 4
        { 5, 0.6, 5, 0 }, // 0.6 rounds to 1
    };
    for (const Case &c : cases) {
        EXPECT_EQ(IntDiv(c.dividend, c.divisor), c.quotient) << c.dividend << " \\ " << c.divisor;
        EXPECT_EQ(Mod(c.dividend, c.divisor), c.remainder) << c.dividend << " Mod " << c.divisor;
    }
    EXPECT_THROW(IntDiv(5, 0), std::domain_error);
    EXPECT_THROW(Mod(5, 0.4), std::domain_error); // 0.4 rounds to 0
    EXPECT_THROW(IntDiv(-2147483648.0, -1), std::overflow_error);
    EXPECT_EQ(Mod(-2147483648.0, -1), 0);
    EXPECT_THROW(IntDiv(3e9, 1), std::overflow_error);
}

// Trim takes blanks only: a tab or a line end stays, as in an expression typed with them.
TEST(VbText, TrimTakesBlanksOnly)
{
    EXPECT_EQ(Trim(QStringLiteral("  12,5*3  ")), QStringLiteral("12,5*3"));
    EXPECT_EQ(Trim(QStringLiteral("\t4 ")), QStringLiteral("\t4"));
    EXPECT_EQ(Trim(QStringLiteral(" a b \n")), QStringLiteral("a b \n"));
    EXPECT_EQ(Trim(QStringLiteral("   ")), QString());
}
