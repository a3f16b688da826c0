#pragma once

#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QVariant>

#include <optional>

/**
 * @brief The number and text rules of the original runtime that the program's arithmetic rests on.
 *
 * Every conversion between numbers and text goes through here, so that one decimal separator
 * (the system's, or one a test sets) governs them all. Function names follow the runtime's own
 * (`Val`, `IsNumeric`, `Format` ...) so that a reader recognises them in the calculations.
 *
 * Failures are thrown as standard exceptions that callers map to the runtime's messages:
 * std::overflow_error for "Overflow.", std::domain_error for "Divisione per zero." and
 * std::invalid_argument for "Chiamata di routine o argomento non validi.". Text that is not a
 * number (the runtime's type mismatch) is not thrown: the readers return no value.
 */
namespace zav::platform::vb {

/** @brief The decimal separator in force: ',' or '.'. Defaults to the system locale's, read once. */
QChar decimalSeparator();
/** @brief Sets the decimal separator used by every locale-aware conversion (',' or '.'; else throws
 * std::invalid_argument). */
void setDecimalSeparator(QChar separator);
/** @brief The grouping separator that goes with the decimal one: '.' under ',' and ',' under '.'. */
QChar groupSeparator();

/** @brief Sets the decimal separator for a scope and restores the previous one after (tests). */
class DecimalSeparatorScope
{
public:
    explicit DecimalSeparatorScope(QChar separator);
    ~DecimalSeparatorScope();
    DecimalSeparatorScope(const DecimalSeparatorScope &) = delete;
    DecimalSeparatorScope &operator=(const DecimalSeparatorScope &) = delete;

private:
    QChar m_previous;
};

/** @brief The currency symbol of the "Currency" format. Defaults to the system locale's, read once. */
const QString &currencySymbol();
/** @brief Sets the currency symbol (tests; an empty text writes amounts without a symbol). */
void setCurrencySymbol(const QString &symbol);

/**
 * @brief The leading number of a text, read with the point as decimal mark whatever the locale.
 *
 * Blanks, tabs and line feeds are skipped anywhere; reading stops at the first character that
 * cannot continue the number. "12abc" is 12, " 3.5" is 3.5, "3,5" is 3, "" is 0, "1 2 3" is 123.
 * A sign, an exponent ("E" or "D") and the prefixes "&H" (hexadecimal) and "&O" (octal) are read;
 * "&HFFFF" is -1 as in the runtime's 16-bit reading. A number beyond the range of doubles throws
 * std::overflow_error.
 */
double Val(const QString &text);

/** @brief Whether a value is held as a number (of any width), not as text, boolean or Null. */
bool isNumberValue(const QVariant &value);

/** @brief Whether a text reads as a number under the decimal separator in force (see CDbl). */
bool IsNumeric(const QString &text);
/**
 * @brief Whether a text reads as a number under the decimal separator given (',' or '.', else
 * std::invalid_argument), the other one being the grouping mark (as CDbl places it), whatever the
 * separator in force.
 */
bool IsNumeric(QStringView text, QChar decimalSeparator);
/** @brief Numbers and booleans are numeric, Null is not, text as above. */
bool IsNumeric(const QVariant &value);

/**
 * @brief Locale-aware number reading: decimal and grouping separators in force, a sign before or
 * after the number ("-5", "5-") or parentheses for a negative one ("(5)"), exponent, surrounding
 * blanks. No value when the text is not a number (the runtime's type mismatch) or
 * lies beyond the range of doubles.
 *
 * A grouping mark stands only between groups of three digits of the whole part, the first group
 * of one to three digits not starting with 0: under ',' "1.000" is 1000 and "1.000.000,5" is
 * 1000000.5, while "0.5", "4.20" and "1.2.3" are no numbers; under '.' "1,000" is 1000 and "0,5",
 * "0,84" and "3,5" are no numbers. A text is read whole or not at all, never as another number.
 * The currency symbol in force may stand before or after the number, so that text written by the
 * "Currency" format reads back. Numbers are decimal: the runtime's literals "&H10" and "&O17",
 * which Val reads, are no numbers here.
 */
std::optional<double> CDbl(const QString &text);
/** @brief Numbers and booleans (true is -1) pass; text is read as above; Null and empty give no value. */
std::optional<double> CDbl(const QVariant &value);
/** @brief CDbl of UTF-8 text, such as a number an archive stores as text, read without a QString. */
std::optional<double> CDblUtf8(QByteArrayView utf8);

/**
 * @brief How a number is written under the separator in force, for the messages that refuse one:
 * "scrivere i decimali dopo la virgola e il punto solo fra gruppi di tre cifre della parte intera,
 * per esempio 1.234,5".
 */
QString numberForm();
/**
 * @brief The message that refuses a typed text that CDbl does not read: the text, and how a
 * number is written (numberForm).
 */
QString notANumberMessage(const QString &typed);

/** @brief A currency amount: read as CDbl, then rounded to four decimals with halves to even. */
std::optional<double> CCur(const QString &text);
/** @brief A currency amount of a value, as CDbl of the value rounded to four decimals. */
std::optional<double> CCur(const QVariant &value);

/**
 * @brief A number written by a format pattern, with the decimal separator in force.
 *
 * Patterns of '#', '0', '.' and ',': the '0's before the point give the least number of integer
 * digits, the '0's after it the least number of decimals and all the placeholders after it the
 * most; a ',' among the integer placeholders asks for grouping. So "###0.0##" writes at least one
 * integer digit and one to three decimals, and "###.0##" writes no integer digit when the integer
 * part is 0 (0.5 gives ",5" under ','). Other characters before the first placeholder or after
 * the last are copied as they stand. The named format "Currency" writes two decimals, grouping and
 * the currency symbol ("€ 1.234,50", "-€ 3,00"). An empty pattern writes as CStr.
 *
 * Halves are rounded away from zero, judged on the number's 15-significant-digit decimal form:
 * 1.0005 with "###0.0##" gives "1,001" though the double lies just below the half. A negative
 * number that rounds to zero is written without its sign. A value that is not finite gives the
 * empty text.
 */
QString Format(double value, const QString &pattern);
/**
 * @brief Format of a value: Null and a number that is not finite give the empty text, numbers
 * and text that reads as a number (CDbl) are formatted, any other text comes back unchanged.
 */
QString Format(const QVariant &value, const QString &pattern);

/**
 * @brief Format of a single-precision value, as the runtime formats one: the value is first taken
 * to its own precision, seven significant digits, and those digits are then rounded and written as
 * the pattern asks. 12345.678 held as a single (12345.677734375) gives "12345,68" with "###0.0##",
 * where Format of the double 12345.678 gives "12345,678". An empty pattern writes the seven-digit
 * form as CStr would write it.
 */
QString FormatSingle(float value, const QString &pattern);

/** @brief A number written by a pattern, with the number that text reads back as. */
struct Formatted
{
    QString text; ///< empty for a value that is not finite
    std::optional<double> number; ///< CDbl of the text; no value when the text reads as none
};

namespace detail {
struct Decimal;
}

/**
 * @brief A Format pattern read once, for bulk work that writes many numbers with it: format() gives
 * Format(value, pattern), formatSingle() FormatSingle(value, pattern), each together with the
 * number its text reads back as (CDbl of the text), worked out from the same digits so that the
 * caller goes on with the number without reading its own output. A value that is not finite gives
 * the empty text and no number. The currency symbol of "Currency" is the one in force when the
 * pattern is read; the decimal separator is the one in force at each call.
 */
class FormatPattern
{
public:
    explicit FormatPattern(const QString &pattern);
    Formatted format(double value) const;
    Formatted formatSingle(float value) const;

private:
    Formatted formatDigits(detail::Decimal digits) const;

    bool m_empty = false; ///< no pattern: written as CStr
    QString m_prefix;
    QString m_suffix;
    QString m_symbol;
    int m_minInteger = 0;
    int m_minDecimals = 0;
    int m_maxDecimals = 0;
    bool m_grouping = false;
    bool m_point = false;
    bool m_hasPlaceholder = false;
    bool m_plain = false; ///< nothing but digits, sign and separators: its digits give its number
};

/**
 * @brief The runtime's text of a number, also used where a number is joined to a text and for
 * the totals kept in labels: the decimal form rounded to 15 significant digits, trailing zeros
 * and a trailing separator dropped, the separator in force, no grouping ("0,3", "999,993",
 * "1000"). Beyond 15 integer digits, or below 0.0001, the exponent form: "1E+20", "1,5E-07".
 * A value that is not finite gives the empty text.
 */
QString CStr(double value);

/** @brief The text without leading and trailing blanks; tabs and line ends are kept. */
QString Trim(const QString &text);

/** @brief Largest whole number not above the value. */
double Int(double value);
/** @brief Whole part, towards zero. */
double Fix(double value);
/** @brief Conversion to a 16-bit whole number with halves to even; std::overflow_error beyond it. */
int CInt(double value);
/** @brief Conversion to a 32-bit whole number with halves to even (2.5 gives 2, 3.5 gives 4);
 * std::overflow_error beyond it. */
qint64 CLng(double value);
/**
 * @brief Rounding to a number of decimals with halves to even, judged on the 15-significant-digit
 * decimal form (Round(0.125, 2) is 0.12). Negative decimals throw std::invalid_argument.
 */
double Round(double value, int decimals = 0);
/**
 * @brief Integer division: both operands rounded to 32-bit whole numbers first (CLng), quotient
 * towards zero. A divisor that rounds to 0 throws std::domain_error.
 */
qint64 IntDiv(double dividend, double divisor);
/**
 * @brief Remainder: both operands rounded to 32-bit whole numbers first (CLng), sign of the
 * dividend. A divisor that rounds to 0 throws std::domain_error.
 */
qint64 Mod(double dividend, double divisor);

} // namespace zav::platform::vb
