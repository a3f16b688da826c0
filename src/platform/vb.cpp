#include "platform/vb.h"

#include <QLocale>
#include <QVarLengthArray>

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>

namespace zav::platform::vb {

namespace detail {

/** The digits of a number in decimal, as written by the runtime: 15 significant digits at most (7 for
 * a single). */
struct Decimal
{
    char digits[20] {}; // significant digits, no leading zero; none for zero
    int count = 0;
    int exponent = 0; // the power of ten of digits[0]
    bool negative = false;

    bool isZero() const { return count == 0; }

    void trimTrailingZeros()
    {
        while (count > 0 && digits[count - 1] == '0')
            --count;
    }

    // The digit of a power of ten, '0' outside the digits held.
    char digitAt(int power) const
    {
        const int index = exponent - power;
        return index >= 0 && index < count ? digits[index] : '0';
    }
};

} // namespace detail

namespace {

// 0 until the system locale has been asked; then ',' or '.'.
std::atomic<char16_t> g_decimalSeparator { 0 };

char16_t systemDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    return point.startsWith(QLatin1Char(',')) ? u',' : u'.';
}

std::optional<QString> &currencySymbolSlot()
{
    static std::optional<QString> symbol;
    return symbol;
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')
        || c == QChar(0x00A0);
}

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The value of "&H" and "&O" literals: up to 16 bits they are read as a signed 16-bit number,
// up to 32 bits as a signed 32-bit one, as the runtime's literals are.
std::optional<double> radixLiteralValue(quint64 value)
{
    if (value <= 0xFFFFu)
        return static_cast<double>(static_cast<qint16>(static_cast<quint16>(value)));
    if (value <= 0xFFFFFFFFu)
        return static_cast<double>(static_cast<qint32>(static_cast<quint32>(value)));
    return std::nullopt;
}

/**
 * ASCII text of a number gathered from a QString, for std::from_chars. Short numbers stay on the
 * stack: the readers are called for every cell of a recalculation.
 */
class AsciiNumber
{
public:
    void push(char c)
    {
        if (m_size < int(sizeof(m_small))) {
            m_small[m_size++] = c;
            return;
        }
        if (m_large.empty())
            m_large.assign(m_small, m_small + m_size);
        m_large.push_back(c);
        ++m_size;
    }
    const char *begin() const { return m_large.empty() ? m_small : m_large.data(); }
    const char *end() const { return begin() + m_size; }

private:
    char m_small[64];
    std::string m_large;
    int m_size = 0;
};

/**
 * Converts gathered number text. decimalMagnitude is where the first significant digit sits
 * (its power of ten, roughly): it tells an underflow, which reads as zero, from an overflow.
 */
// Powers of ten that a double holds exactly.
constexpr double exactPowersOfTen[] = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12,
    1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22 };

// The double nearest to mantissa x 10^exponent, when one operation gives it: a mantissa of at most
// 15 digits is exact in a double, so is a power of ten up to 10^22, and a product or quotient of two
// exact doubles is rounded once, to the nearest. Empty when that does not hold.
std::optional<double> exactDecimal(quint64 mantissa, long long exponent)
{
    if (mantissa >= 1000000000000000ull || exponent < -22 || exponent > 22)
        return std::nullopt;
    const double m = double(mantissa);
    return exponent < 0 ? m / exactPowersOfTen[-exponent] : m * exactPowersOfTen[exponent];
}

// Plain number text ("123.45", "0.5e-3") read by the quick way when it serves (see exactDecimal).
std::optional<double> quickDecimal(const char *p, const char *end)
{
    quint64 mantissa = 0;
    int digits = 0;
    long long exponent = 0;
    bool point = false;
    for (; p < end && *p != 'e'; ++p) {
        if (*p == '.') {
            point = true;
            continue;
        }
        if (mantissa == 0 && *p == '0') {
            if (point)
                --exponent;
            continue;
        }
        if (++digits > 15)
            return std::nullopt;
        mantissa = mantissa * 10 + quint64(*p - '0');
        if (point)
            --exponent;
    }
    if (p < end) {
        ++p;
        bool negativeExponent = false;
        if (p < end && (*p == '-' || *p == '+'))
            negativeExponent = *p++ == '-';
        long long e = 0;
        for (; p < end; ++p) {
            e = e * 10 + (*p - '0');
            if (e > 1000)
                return std::nullopt;
        }
        exponent += negativeExponent ? -e : e;
    }
    if (mantissa == 0)
        return 0.0;
    return exactDecimal(mantissa, exponent);
}

std::optional<double> convert(const AsciiNumber &number, bool negative, long long decimalMagnitude)
{
    if (const std::optional<double> quick = quickDecimal(number.begin(), number.end())) {
        if (*quick == 0)
            return 0.0;
        return negative ? -*quick : *quick;
    }
    double value = 0;
    const auto [end, error]
        = std::from_chars(number.begin(), number.end(), value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        if (decimalMagnitude < 0)
            return 0.0;
        return std::nullopt;
    }
    if (error != std::errc() || end != number.end() || !std::isfinite(value))
        return std::nullopt;
    if (value == 0)
        return 0.0;
    return negative ? -value : value;
}

using detail::Decimal;

// The decimal digits of a value rounded to a number of significant digits: 15 for a double, 7 for a
// single, as the runtime writes each.
Decimal toDecimal(double value, int significantDigits = 15)
{
    Decimal decimal;
    decimal.negative = std::signbit(value);
    char text[40];
    // The shortest text that reads back as the value is the value rounded to the digits asked for
    // when it has no more of them: the value lies within half a unit of its last binary place of
    // that text, far nearer than half a step of the 15th (or 7th) decimal digit. Otherwise the
    // digits are rounded from the binary value.
    auto result = std::to_chars(text, text + sizeof(text), std::fabs(value), std::chars_format::scientific);
    int shortest = 0;
    for (const char *c = text; c < result.ptr && *c != 'e'; ++c)
        shortest += *c != '.';
    if (shortest > significantDigits) {
        result = std::to_chars(text, text + sizeof(text), std::fabs(value), std::chars_format::scientific,
            significantDigits - 1);
    }
    // text is "d.ddddddddddddddde+XX" (or "de+XX")
    const char *p = text;
    decimal.digits[decimal.count++] = *p++;
    if (*p == '.')
        ++p;
    while (p < result.ptr && *p != 'e')
        decimal.digits[decimal.count++] = *p++;
    int exponent = 0;
    if (p < result.ptr && *p == 'e') {
        ++p;
        if (*p == '+')
            ++p;
        std::from_chars(p, result.ptr, exponent);
    }
    decimal.exponent = exponent;
    decimal.trimTrailingZeros();
    if (decimal.count > 0 && decimal.digits[0] == '0')
        decimal.count = 0;
    return decimal;
}

enum class Halves { AwayFromZero, ToEven };

// Rounds the digits to a number of decimals, deciding halves on the decimal digits themselves.
void roundDecimal(Decimal &decimal, int decimals, Halves halves)
{
    if (decimal.isZero())
        return;
    const long long keepWide = static_cast<long long>(decimal.exponent) + 1 + decimals;
    if (keepWide >= decimal.count)
        return;
    if (keepWide < 0) {
        decimal.count = 0;
        return;
    }
    const int keep = static_cast<int>(keepWide);
    const char first = decimal.digits[keep];
    bool up = false;
    if (halves == Halves::AwayFromZero) {
        up = first >= '5';
    } else if (first > '5') {
        up = true;
    } else if (first == '5') {
        bool beyondHalf = false;
        for (int i = keep + 1; i < decimal.count; ++i)
            beyondHalf = beyondHalf || decimal.digits[i] != '0';
        const bool previousOdd = keep > 0 && (decimal.digits[keep - 1] - '0') % 2 == 1;
        up = beyondHalf || previousOdd;
    }
    decimal.count = keep;
    if (up) {
        int i = keep - 1;
        while (i >= 0 && decimal.digits[i] == '9') {
            decimal.digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++decimal.digits[i];
        } else {
            // Every kept digit was 9, or none was kept: the carry makes a 1 one place higher.
            decimal.digits[0] = '1';
            decimal.count = 1;
            ++decimal.exponent;
        }
    }
    decimal.trimTrailingZeros();
}

double fromDecimal(const Decimal &decimal)
{
    if (decimal.isZero())
        return 0.0;
    if (decimal.count <= 15) {
        quint64 mantissa = 0;
        for (int i = 0; i < decimal.count; ++i)
            mantissa = mantissa * 10 + quint64(decimal.digits[i] - '0');
        if (const std::optional<double> quick = exactDecimal(mantissa, decimal.exponent - decimal.count + 1))
            return decimal.negative ? -*quick : *quick;
    }
    char text[48];
    char *p = text;
    for (int i = 0; i < decimal.count; ++i)
        *p++ = decimal.digits[i];
    *p++ = 'e';
    p = std::to_chars(p, text + sizeof(text), decimal.exponent - decimal.count + 1).ptr;
    double value = 0;
    std::from_chars(text, p, value);
    return decimal.negative ? -value : value;
}

/** Text built on the stack and copied into a QString once: Format runs for every cell. */
class TextBuilder
{
public:
    void append(QChar c) { m_text.append(c); }
    void append(char c) { m_text.append(QChar(QLatin1Char(c))); }
    void append(QStringView text) { m_text.append(text.data(), text.size()); }
    QString toString() const { return QString(m_text.constData(), m_text.size()); }

private:
    QVarLengthArray<QChar, 48> m_text;
};

// Appends the integer digits, with grouping marks when asked.
void appendInteger(TextBuilder &out, const Decimal &decimal, int minDigits, bool grouping)
{
    const int digitCount
        = std::max(decimal.isZero() || decimal.exponent < 0 ? 0 : decimal.exponent + 1, minDigits);
    const QChar group = groupSeparator();
    for (int power = digitCount - 1; power >= 0; --power) {
        out.append(decimal.digitAt(power));
        if (grouping && power > 0 && power % 3 == 0)
            out.append(group);
    }
}

struct Pattern
{
    QStringView prefix;
    QStringView suffix;
    int minInteger = 0;
    bool grouping = false;
    bool point = false;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool hasPlaceholder = false;
};

Pattern parsePattern(QStringView text)
{
    Pattern pattern;
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('#') || c == QLatin1Char('0') || c == QLatin1Char('.')) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0) {
        pattern.prefix = text;
        return pattern;
    }
    pattern.hasPlaceholder = true;
    pattern.prefix = text.left(first);
    pattern.suffix = text.mid(last + 1);
    for (qsizetype i = first; i <= last; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('.') && !pattern.point) {
            pattern.point = true;
        } else if (!pattern.point) {
            if (c == QLatin1Char('0'))
                ++pattern.minInteger;
            else if (c == QLatin1Char(','))
                pattern.grouping = true;
        } else if (c == QLatin1Char('0')) {
            ++pattern.minDecimals;
            ++pattern.maxDecimals;
        } else if (c == QLatin1Char('#')) {
            ++pattern.maxDecimals;
        }
    }
    return pattern;
}

// Writes digits already rounded to the pattern's decimals.
QString writeWith(const Decimal &decimal, const Pattern &pattern, QStringView symbol)
{
    TextBuilder out;
    // A negative number that rounds to zero is written as zero: "-0,0" would be read back as
    // the same number and only looks like a fault in the tables.
    if (decimal.negative && !decimal.isZero())
        out.append('-');
    out.append(symbol);
    out.append(pattern.prefix);
    if (pattern.hasPlaceholder) {
        appendInteger(out, decimal, pattern.minInteger, pattern.grouping);
        if (pattern.point) {
            out.append(decimalSeparator());
            int decimals = pattern.maxDecimals;
            while (decimals > pattern.minDecimals && decimal.digitAt(-decimals) == '0')
                --decimals;
            for (int i = 1; i <= decimals; ++i)
                out.append(decimal.digitAt(-i));
        }
    }
    out.append(pattern.suffix);
    return out.toString();
}

QString formatWith(double value, const Pattern &pattern, QStringView symbol)
{
    Decimal decimal = toDecimal(value);
    roundDecimal(decimal, pattern.maxDecimals, Halves::AwayFromZero);
    return writeWith(decimal, pattern, symbol);
}

bool isCurrencyName(const QString &pattern)
{
    return pattern.compare(QLatin1String("Currency"), Qt::CaseInsensitive) == 0;
}

// Skips the currency symbol and the blanks after it.
qsizetype skipCurrency(QStringView text, qsizetype pos, const QString &symbol)
{
    if (symbol.isEmpty() || !text.mid(pos).startsWith(symbol))
        return pos;
    pos += symbol.size();
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    return pos;
}

// Reads a number under a decimal separator (',' or '.'), the other one being the grouping mark.
// Only decimal numbers: a typed "&H10" is not read as the runtime's hexadecimal 16.
std::optional<double> readNumber(QStringView text, QChar point)
{
    const QChar group = point == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    const QString &symbol = currencySymbol();
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size && isBlank(text[pos]))
        ++pos;

    // The currency symbol may stand once: before or after the sign, or after the number.
    bool currencySeen = false;
    const auto skipSymbol = [&] {
        if (currencySeen)
            return;
        const qsizetype after = skipCurrency(text, pos, symbol);
        currencySeen = after != pos;
        pos = after;
    };
    skipSymbol();
    // The sign may lead or trail ("-5", "5-"), or the number may stand in parentheses ("(5)"),
    // as in the standard conversion of text to numbers; only one of these at a time.
    bool negative = false;
    bool signSeen = false;
    bool parenthesised = false;
    if (pos < size && (text[pos] == QLatin1Char('-') || text[pos] == QLatin1Char('+'))) {
        negative = text[pos] == QLatin1Char('-');
        signSeen = true;
        ++pos;
    } else if (pos < size && text[pos] == QLatin1Char('(')) {
        parenthesised = true;
        negative = true;
        ++pos;
    }
    skipSymbol();

    AsciiNumber number;
    int mantissaDigits = 0;
    long long integerDigits = 0; // significant integer digits
    long long leadingFractionZeros = 0;
    bool significant = false;
    // A grouping mark stands only between groups of three digits of the whole part: the first group
    // holds one to three digits and does not start with 0, every later one exactly three. Anywhere
    // else ("0.5" or "4.20" under the comma) the text is no number, rather than another number.
    int groupDigits = 0;
    bool grouped = false;
    while (pos < size) {
        const QChar c = text[pos];
        if (isDigit(c)) {
            significant = significant || c != QLatin1Char('0');
            if (significant) {
                number.push(char(c.unicode()));
                ++integerDigits;
            }
            ++mantissaDigits;
            ++groupDigits;
        } else if (c == group) {
            const bool firstGroupFits
                = groupDigits >= 1 && groupDigits <= 3 && significant && integerDigits == groupDigits;
            if (grouped ? groupDigits != 3 : !firstGroupFits)
                return std::nullopt;
            grouped = true;
            groupDigits = 0;
        } else {
            break;
        }
        ++pos;
    }
    if (grouped && groupDigits != 3)
        return std::nullopt;
    if (!significant)
        number.push('0');
    if (pos < size && text[pos] == point) {
        ++pos;
        number.push('.');
        while (pos < size && isDigit(text[pos])) {
            if (!significant && text[pos] == QLatin1Char('0'))
                ++leadingFractionZeros;
            else
                significant = true;
            number.push(char(text[pos].unicode()));
            ++mantissaDigits;
            ++pos;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;

    long long exponent = 0;
    if (pos < size && QStringView(u"eEdD").contains(text[pos])) {
        ++pos;
        number.push('e');
        bool exponentNegative = false;
        if (pos < size && (text[pos] == QLatin1Char('-') || text[pos] == QLatin1Char('+'))) {
            exponentNegative = text[pos] == QLatin1Char('-');
            if (exponentNegative)
                number.push('-');
            ++pos;
        }
        int exponentDigits = 0;
        while (pos < size && isDigit(text[pos])) {
            number.push(char(text[pos].unicode()));
            if (exponent < 100000)
                exponent = exponent * 10 + (text[pos].unicode() - u'0');
            ++exponentDigits;
            ++pos;
        }
        if (exponentDigits == 0)
            return std::nullopt;
        if (exponentNegative)
            exponent = -exponent;
    }

    while (pos < size && isBlank(text[pos]))
        ++pos;
    skipSymbol();
    if (parenthesised) {
        if (pos >= size || text[pos] != QLatin1Char(')'))
            return std::nullopt;
        ++pos;
    } else if (!signSeen && pos < size && (text[pos] == QLatin1Char('-') || text[pos] == QLatin1Char('+'))) {
        negative = text[pos] == QLatin1Char('-');
        ++pos;
    }
    while (pos < size && isBlank(text[pos]))
        ++pos;
    skipSymbol();
    if (pos != size)
        return std::nullopt;
    const long long magnitude
        = (integerDigits > 0 ? integerDigits - 1 : -leadingFractionZeros - 1) + exponent;
    return convert(number, negative, magnitude);
}

std::optional<double> readLocaleNumber(QStringView text)
{
    return readNumber(text, decimalSeparator());
}

// Halves to even on the binary value, as the runtime converts to whole numbers.
double roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

qint64 toWhole(double value, double lowest, double highest)
{
    if (!std::isfinite(value))
        throw std::overflow_error("Overflow");
    const double rounded = roundHalfEven(value);
    if (rounded < lowest || rounded > highest)
        throw std::overflow_error("Overflow");
    return static_cast<qint64>(rounded);
}

bool isTextType(const QVariant &value)
{
    return value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray
        || value.typeId() == QMetaType::QChar;
}

} // namespace

QChar decimalSeparator()
{
    char16_t separator = g_decimalSeparator.load(std::memory_order_relaxed);
    if (separator == 0) {
        separator = systemDecimalSeparator();
        g_decimalSeparator.store(separator, std::memory_order_relaxed);
    }
    return QChar(separator);
}

void setDecimalSeparator(QChar separator)
{
    if (separator != QLatin1Char(',') && separator != QLatin1Char('.'))
        throw std::invalid_argument("decimal separator must be ',' or '.'");
    g_decimalSeparator.store(separator.unicode(), std::memory_order_relaxed);
}

QChar groupSeparator()
{
    return decimalSeparator() == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
}

DecimalSeparatorScope::DecimalSeparatorScope(QChar separator)
    : m_previous(decimalSeparator())
{
    setDecimalSeparator(separator);
}

DecimalSeparatorScope::~DecimalSeparatorScope()
{
    g_decimalSeparator.store(m_previous.unicode(), std::memory_order_relaxed);
}

const QString &currencySymbol()
{
    std::optional<QString> &symbol = currencySymbolSlot();
    if (!symbol)
        symbol = QLocale::system().currencySymbol(QLocale::CurrencySymbol);
    return *symbol;
}

void setCurrencySymbol(const QString &symbol)
{
    currencySymbolSlot() = symbol;
}

double Val(const QString &text)
{
    // Plain digits with at most one point, the common case, read at once.
    {
        quint64 mantissa = 0;
        int digits = 0;
        long long exponent = 0;
        bool point = false;
        bool plain = !text.isEmpty();
        for (const QChar c : text) {
            if (c == QLatin1Char('.') && !point) {
                point = true;
            } else if (isDigit(c) && digits < 15) {
                if (mantissa != 0 || c != QLatin1Char('0'))
                    ++digits;
                mantissa = mantissa * 10 + quint64(c.unicode() - u'0');
                if (point)
                    --exponent;
            } else {
                plain = false;
                break;
            }
        }
        if (plain) {
            if (mantissa == 0)
                return 0;
            if (const std::optional<double> value = exactDecimal(mantissa, exponent))
                return *value;
        }
    }

    // The runtime skips blanks, tabs and line feeds anywhere in the number.
    const auto skippable
        = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n'); };
    const qsizetype size = text.size();
    qsizetype pos = 0;
    const auto skip = [&] {
        while (pos < size && skippable(text[pos]))
            ++pos;
    };

    skip();
    if (pos < size && text[pos] == QLatin1Char('&')) {
        ++pos;
        skip();
        if (pos >= size)
            return 0;
        const QChar kind = text[pos].toUpper();
        const int radix = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
        if (radix == 0)
            return 0;
        ++pos;
        quint64 value = 0;
        for (skip(); pos < size; ++pos, skip()) {
            const int digit = hexValue(text[pos]);
            if (digit < 0 || digit >= radix)
                break;
            value = value * radix + digit;
            if (value > 0xFFFFFFFFu)
                throw std::overflow_error("Overflow");
        }
        return *radixLiteralValue(value);
    }

    bool negative = false;
    if (pos < size && (text[pos] == QLatin1Char('-') || text[pos] == QLatin1Char('+'))) {
        negative = text[pos] == QLatin1Char('-');
        ++pos;
    }
    AsciiNumber number;
    int mantissaDigits = 0;
    long long integerDigits = 0;
    long long leadingFractionZeros = 0;
    bool significant = false;
    bool point = false;
    number.push('0');
    for (skip(); pos < size; ++pos, skip()) {
        const QChar c = text[pos];
        if (isDigit(c)) {
            ++mantissaDigits;
            if (!point) {
                significant = significant || c != QLatin1Char('0');
                if (significant)
                    ++integerDigits;
            } else if (!significant) {
                if (c == QLatin1Char('0'))
                    ++leadingFractionZeros;
                else
                    significant = true;
            }
            number.push(char(c.unicode()));
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
            number.push('.');
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return 0;

    long long exponent = 0;
    if (pos < size && QStringView(u"eEdD").contains(text[pos])) {
        // An exponent mark without digits after it ends the number before the mark.
        qsizetype look = pos + 1;
        while (look < size && skippable(text[look]))
            ++look;
        bool exponentNegative = false;
        if (look < size && (text[look] == QLatin1Char('-') || text[look] == QLatin1Char('+'))) {
            exponentNegative = text[look] == QLatin1Char('-');
            ++look;
        }
        AsciiNumber digits;
        for (; look < size; ++look) {
            const QChar c = text[look];
            if (skippable(c))
                continue;
            if (!isDigit(c))
                break;
            digits.push(char(c.unicode()));
            if (exponent < 100000)
                exponent = exponent * 10 + (c.unicode() - u'0');
        }
        if (digits.begin() != digits.end()) {
            number.push('e');
            if (exponentNegative)
                number.push('-');
            for (const char *d = digits.begin(); d != digits.end(); ++d)
                number.push(*d);
            if (exponentNegative)
                exponent = -exponent;
        } else {
            exponent = 0;
        }
    }
    const long long magnitude
        = (integerDigits > 0 ? integerDigits - 1 : -leadingFractionZeros - 1) + exponent;
    const std::optional<double> value = convert(number, negative, magnitude);
    if (!value)
        throw std::overflow_error("Overflow");
    return *value;
}

bool isNumberValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool IsNumeric(const QString &text)
{
    return readLocaleNumber(text).has_value();
}

bool IsNumeric(QStringView text, QChar decimalSeparator)
{
    if (decimalSeparator != QLatin1Char(',') && decimalSeparator != QLatin1Char('.'))
        throw std::invalid_argument("decimal separator must be ',' or '.'");
    return readNumber(text, decimalSeparator).has_value();
}

bool IsNumeric(const QVariant &value)
{
    return CDbl(value).has_value();
}

std::optional<double> CDbl(const QString &text)
{
    return readLocaleNumber(text);
}

std::optional<double> CDblUtf8(QByteArrayView utf8)
{
    // Numbers stored as text are mostly plain digits with at most the decimal separator among them:
    // those are worked out here, by the same one rounding as the general reading below.
    const char point = char(decimalSeparator().unicode());
    quint64 mantissa = 0;
    int digits = 0;
    long long exponent = 0;
    bool seenDigit = false;
    bool seenPoint = false;
    bool plain = true;
    for (const char c : utf8) {
        if (c >= '0' && c <= '9') {
            seenDigit = true;
            if (mantissa != 0 || c != '0') {
                if (++digits > 15) {
                    plain = false;
                    break;
                }
                mantissa = mantissa * 10 + quint64(c - '0');
            }
            if (seenPoint)
                --exponent;
        } else if (c == point && !seenPoint) {
            seenPoint = true;
        } else {
            plain = false;
            break;
        }
    }
    if (plain && seenDigit) {
        if (mantissa == 0)
            return 0.0;
        if (const std::optional<double> quick = exactDecimal(mantissa, exponent))
            return quick;
    }
    // Anything else is read as its text, from the stack when it is short ASCII.
    QChar ascii[64];
    bool shortAscii = utf8.size() <= qsizetype(std::size(ascii));
    for (qsizetype i = 0; shortAscii && i < utf8.size(); ++i) {
        const uchar c = uchar(utf8[i]);
        shortAscii = c < 0x80;
        ascii[i] = QLatin1Char(char(c));
    }
    return shortAscii ? readLocaleNumber(QStringView(ascii, utf8.size()))
                      : readLocaleNumber(QString::fromUtf8(utf8));
}

std::optional<double> CDbl(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1.0 : 0.0;
    if (isNumberValue(value)) {
        const double number = value.toDouble();
        return std::isfinite(number) ? std::optional<double>(number) : std::nullopt;
    }
    if (isTextType(value))
        return readLocaleNumber(value.toString());
    return std::nullopt;
}

QString numberForm()
{
    const bool comma = decimalSeparator() == QLatin1Char(',');
    return QStringLiteral("scrivere i decimali dopo %1 e %2 solo fra gruppi di tre cifre della parte intera, "
                          "per esempio %3")
        .arg(comma ? QStringLiteral("la virgola") : QStringLiteral("il punto"),
            comma ? QStringLiteral("il punto") : QStringLiteral("la virgola"),
            comma ? QStringLiteral("1.234,5") : QStringLiteral("1,234.5"));
}

QString notANumberMessage(const QString &typed)
{
    return QStringLiteral("\"%1\" non è un numero: %2.").arg(typed.trimmed(), numberForm());
}

std::optional<double> CCur(const QString &text)
{
    const std::optional<double> value = CDbl(text);
    return value ? std::optional<double>(Round(*value, 4)) : std::nullopt;
}

std::optional<double> CCur(const QVariant &value)
{
    const std::optional<double> number = CDbl(value);
    return number ? std::optional<double>(Round(*number, 4)) : std::nullopt;
}

namespace {

// The pattern of a Format call, with the currency symbol it writes (empty unless "Currency").
struct ParsedPattern
{
    Pattern pattern;
    QString symbol;
    bool plain = false; ///< writes nothing but digits, sign and separators: CDbl reads its digits back
};

ParsedPattern parseFormat(const QString &text)
{
    ParsedPattern parsed;
    if (isCurrencyName(text)) {
        parsed.pattern.hasPlaceholder = true;
        parsed.pattern.minInteger = 1;
        parsed.pattern.grouping = true;
        parsed.pattern.point = true;
        parsed.pattern.minDecimals = 2;
        parsed.pattern.maxDecimals = 2;
        const QString &symbol = currencySymbol();
        parsed.symbol = symbol.isEmpty() ? QString() : symbol + QLatin1Char(' ');
    } else {
        parsed.pattern = parsePattern(text);
    }
    parsed.plain = parsed.symbol.isEmpty() && parsed.pattern.hasPlaceholder && parsed.pattern.prefix.isEmpty()
        && parsed.pattern.suffix.isEmpty();
    return parsed;
}

} // namespace

FormatPattern::FormatPattern(const QString &pattern)
{
    m_empty = pattern.isEmpty();
    const ParsedPattern parsed = parseFormat(pattern);
    m_prefix = parsed.pattern.prefix.toString();
    m_suffix = parsed.pattern.suffix.toString();
    m_symbol = parsed.symbol;
    m_minInteger = parsed.pattern.minInteger;
    m_minDecimals = parsed.pattern.minDecimals;
    m_maxDecimals = parsed.pattern.maxDecimals;
    m_grouping = parsed.pattern.grouping;
    m_point = parsed.pattern.point;
    m_hasPlaceholder = parsed.pattern.hasPlaceholder;
    m_plain = parsed.plain;
}

// Writes digits rounded to the pattern, with the number the text stands for.
Formatted FormatPattern::formatDigits(detail::Decimal decimal) const
{
    if (m_empty) {
        Formatted result { CStr(fromDecimal(decimal)), std::nullopt };
        result.number = CDbl(result.text);
        return result;
    }
    Pattern pattern;
    pattern.prefix = m_prefix;
    pattern.suffix = m_suffix;
    pattern.minInteger = m_minInteger;
    pattern.minDecimals = m_minDecimals;
    pattern.maxDecimals = m_maxDecimals;
    pattern.grouping = m_grouping;
    pattern.point = m_point;
    pattern.hasPlaceholder = m_hasPlaceholder;
    roundDecimal(decimal, pattern.maxDecimals, Halves::AwayFromZero);
    Formatted result;
    result.text = writeWith(decimal, pattern, m_symbol);
    // The text holds exactly the rounded digits, so they give the number it reads back as; a text
    // with other characters around them is read back as it stands.
    result.number = m_plain ? std::optional<double>(fromDecimal(decimal)) : CDbl(result.text);
    return result;
}

Formatted FormatPattern::format(double value) const
{
    if (!std::isfinite(value))
        return {};
    if (m_empty) {
        Formatted result { CStr(value), std::nullopt };
        result.number = CDbl(result.text);
        return result;
    }
    return formatDigits(toDecimal(value));
}

Formatted FormatPattern::formatSingle(float value) const
{
    if (!std::isfinite(value))
        return {};
    // A single is written with its own precision first: seven significant digits.
    return formatDigits(toDecimal(double(value), 7));
}

QString Format(double value, const QString &pattern)
{
    if (!std::isfinite(value))
        return QString();
    if (pattern.isEmpty())
        return CStr(value);
    const ParsedPattern parsed = parseFormat(pattern);
    return formatWith(value, parsed.pattern, parsed.symbol);
}

QString FormatSingle(float value, const QString &pattern)
{
    return FormatPattern(pattern).formatSingle(value).text;
}

QString Format(const QVariant &value, const QString &pattern)
{
    if (value.isNull())
        return QString();
    // A number that is not finite is written as the double overload writes it, not as "inf".
    if (isNumberValue(value) && !std::isfinite(value.toDouble()))
        return QString();
    if (const std::optional<double> number = CDbl(value))
        return Format(*number, pattern);
    return value.toString();
}

QString Trim(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

QString CStr(double value)
{
    if (!std::isfinite(value))
        return QString();
    const Decimal decimal = toDecimal(value);
    if (decimal.isZero())
        return QStringLiteral("0");

    TextBuilder out;
    if (decimal.negative)
        out.append('-');
    if (decimal.exponent < -4 || decimal.exponent >= 15) {
        out.append(decimal.digits[0]);
        if (decimal.count > 1) {
            out.append(decimalSeparator());
            for (int i = 1; i < decimal.count; ++i)
                out.append(decimal.digits[i]);
        }
        out.append('E');
        out.append(decimal.exponent < 0 ? '-' : '+');
        char exponent[8];
        const int magnitude = std::abs(decimal.exponent);
        if (magnitude < 10)
            out.append('0');
        const char *end = std::to_chars(exponent, exponent + sizeof(exponent), magnitude).ptr;
        for (const char *p = exponent; p != end; ++p)
            out.append(*p);
        return out.toString();
    }
    appendInteger(out, decimal, 1, false);
    const int lastPower = decimal.exponent - decimal.count + 1;
    if (lastPower < 0) {
        out.append(decimalSeparator());
        for (int power = -1; power >= lastPower; --power)
            out.append(decimal.digitAt(power));
    }
    return out.toString();
}

double Int(double value)
{
    return std::floor(value);
}

double Fix(double value)
{
    return std::trunc(value);
}

int CInt(double value)
{
    return static_cast<int>(toWhole(value, -32768.0, 32767.0));
}

qint64 CLng(double value)
{
    return toWhole(value, -2147483648.0, 2147483647.0);
}

double Round(double value, int decimals)
{
    if (decimals < 0)
        throw std::invalid_argument("Round: negative number of decimals");
    if (!std::isfinite(value))
        return value;
    // From 1e15 up the fifteen-digit form would drop whole digits: such a number has no decimals
    // worth keeping, so it is rounded on its own value.
    if (std::fabs(value) >= 1e15)
        return decimals == 0 ? roundHalfEven(value) : value;
    Decimal decimal = toDecimal(value);
    roundDecimal(decimal, decimals, Halves::ToEven);
    return fromDecimal(decimal);
}

qint64 IntDiv(double dividend, double divisor)
{
    const qint64 left = CLng(dividend);
    const qint64 right = CLng(divisor);
    if (right == 0)
        throw std::domain_error("Division by zero");
    const qint64 quotient = left / right;
    if (quotient > std::numeric_limits<qint32>::max())
        throw std::overflow_error("Overflow");
    return quotient;
}

qint64 Mod(double dividend, double divisor)
{
    const qint64 left = CLng(dividend);
    const qint64 right = CLng(divisor);
    if (right == 0)
        throw std::domain_error("Division by zero");
    return left % right;
}

} // namespace zav::platform::vb
