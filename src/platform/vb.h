#pragma once

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
 */
namespace zav::platform::vb {

/** @brief The decimal separator in force: ',' or '.'. Defaults to the system locale's. */
QChar decimalSeparator();
/** @brief Sets the decimal separator used by every locale-aware conversion (',' or '.'). */
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

/**
 * @brief The leading number of a text, read with the point as decimal mark whatever the locale.
 *
 * Blanks, tabs and line feeds are skipped anywhere; reading stops at the first character that
 * cannot continue the number. "12abc" is 12, " 3.5" is 3.5, "3,5" is 3, "" is 0.
 */
double Val(const QString &text);

/** @brief Whether a text reads as a number under the decimal separator in force. */
bool IsNumeric(const QString &text);
/** @brief Numbers are numeric, Null is not, text as above. */
bool IsNumeric(const QVariant &value);

/**
 * @brief Locale-aware number reading: decimal and grouping separators in force, sign, exponent,
 * surrounding blanks. No value when the text is not a number (the runtime's type mismatch).
 */
std::optional<double> CDbl(const QString &text);
/** @brief Numbers and booleans pass; text is read as above; Null and empty give no value. */
std::optional<double> CDbl(const QVariant &value);

/**
 * @brief A number written by a format pattern, with the decimal separator in force.
 *
 * Patterns: "###0.0##", "##0.0###", "####0.0##", "###.0##", "###0.0###", "##0.000", "0.0000",
 * "########0.0", "########0.000". Halves are rounded away from zero, judged on the number's
 * 15-significant-digit decimal form.
 */
QString Format(double value, const QString &pattern);

/** @brief The runtime's text of a number: at most 15 significant digits, separator in force. */
QString CStr(double value);

/** @brief Largest whole number not above the value. */
double Int(double value);
/** @brief Whole part, towards zero. */
double Fix(double value);
/** @brief Conversion to a whole number with halves to even (2.5 gives 2, 3.5 gives 4). */
qint64 CLng(double value);
/** @brief Rounding to a number of decimals with halves to even. */
double Round(double value, int decimals = 0);
/** @brief Integer division: both operands rounded to whole numbers first, quotient towards zero. */
qint64 IntDiv(double dividend, double divisor);
/** @brief Remainder: both operands rounded to whole numbers first, sign of the dividend. */
qint64 Mod(double dividend, double divisor);

} // namespace zav::platform::vb
