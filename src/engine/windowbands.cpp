#include "engine/windowbands.h"

#include "platform/db.h"

#include <cmath>
#include <cstdlib>

namespace zav::engine {

namespace {

/** A decimal number: mantissa x 10^exponent, the mantissa at most 20 digits. */
struct Decimal
{
    __int128 mantissa = 0;
    int exponent = 0;
};

/** The 15-significant-digit decimal form of a finite double. */
Decimal decimalOf(double value)
{
    // "d.dddddddddddddde±x": the double correctly rounded to 15 significant digits.
    const QString text = QString::number(value, 'e', 14);
    const qsizetype e = text.indexOf(u'e');
    QString digits = text.left(e);
    digits.remove(u'.');
    Decimal d;
    d.mantissa = digits.toLongLong();
    d.exponent = text.mid(e + 1).toInt() - 14;
    return d;
}

int digitCount(__int128 value)
{
    if (value < 0)
        value = -value;
    int n = 1;
    while (value >= 10) {
        value /= 10;
        ++n;
    }
    return n;
}

__int128 power10(int n)
{
    __int128 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

/** The sign of a - b, exactly. */
int compare(Decimal a, Decimal b)
{
    const int signA = a.mantissa > 0 ? 1 : (a.mantissa < 0 ? -1 : 0);
    const int signB = b.mantissa > 0 ? 1 : (b.mantissa < 0 ? -1 : 0);
    if (signA != signB)
        return signA > signB ? 1 : -1;
    if (signA == 0)
        return 0;
    // Same sign: compare magnitudes, first by their orders, then digit by digit once aligned.
    const int orderA = digitCount(a.mantissa) + a.exponent;
    const int orderB = digitCount(b.mantissa) + b.exponent;
    int magnitude = 0;
    if (orderA != orderB) {
        magnitude = orderA > orderB ? 1 : -1;
    } else {
        // Equal orders: the exponents differ by less than the digits of a mantissa (20), so the
        // aligned mantissas stay within 20 digits.
        if (a.exponent > b.exponent)
            a.mantissa *= power10(a.exponent - b.exponent);
        else
            b.mantissa *= power10(b.exponent - a.exponent);
        const __int128 x = a.mantissa < 0 ? -a.mantissa : a.mantissa;
        const __int128 y = b.mantissa < 0 ? -b.mantissa : b.mantissa;
        magnitude = x == y ? 0 : (x > y ? 1 : -1);
    }
    return signA > 0 ? magnitude : -magnitude;
}

/** A band's lower limit as a decimal fraction: numerator / 10^places. */
struct Limit
{
    const char *band;
    int numerator;
    int places;
};

// From the highest band down; band "1" also has the upper limit 10.
constexpr Limit Limits[] = {
    { "1", 1666, 4 },
    { "2", 14285, 5 },
    { "3", 125, 3 },
    { "4", 111, 3 },
    { "5", 1, 1 },
    { "6", 1, 2 },
};
constexpr Limit Ceiling { nullptr, 10, 0 };

/** The sign of window / floor - limit, exactly, for a floor area that is not 0. */
int compareRatio(const Decimal &window, const Decimal &floor, const Limit &limit)
{
    // window / floor >= n / 10^p  <=>  window * 10^p >= n * floor  (the other way for a floor below 0).
    const Decimal left { window.mantissa, window.exponent + limit.places };
    const Decimal right { floor.mantissa * limit.numerator, floor.exponent };
    const int sign = compare(left, right);
    return floor.mantissa > 0 ? sign : -sign;
}

} // namespace

std::optional<QString> WindowBands::bandOfCode(const QString &entry)
{
    if (entry == u"C" || entry == u"0")
        return QStringLiteral("7");
    if (entry == u"A" || entry == u"00")
        return QStringLiteral("8");
    return std::nullopt;
}

std::optional<QString> WindowBands::bandOfRatio(double windowArea, double floorArea)
{
    if (!std::isfinite(windowArea) || !std::isfinite(floorArea) || floorArea == 0.0)
        return std::nullopt;
    const Decimal window = decimalOf(windowArea);
    const Decimal floor = decimalOf(floorArea);
    if (compareRatio(window, floor, Ceiling) >= 0)
        return std::nullopt;
    for (const Limit &limit : Limits) {
        if (compareRatio(window, floor, limit) >= 0)
            return QString::fromLatin1(limit.band);
    }
    return std::nullopt;
}

WindowBands WindowBands::read(const QString &archive)
{
    platform::Database db = platform::Database::open(archive);
    const platform::Recordset rs = db.table(QStringLiteral("TAB_WINDOW"));
    const int description = rs.fieldIndex(QStringLiteral("DESCR"));
    const int coefficient = rs.fieldIndex(QStringLiteral("COEFF"));
    const int band = rs.fieldIndex(QStringLiteral("CAMPO"));
    QList<Row> rows;
    for (int i = 0; i < rs.recordCount(); ++i)
        rows.append(Row { rs.value(i, description), rs.value(i, coefficient), rs.value(i, band) });
    return WindowBands(std::move(rows));
}

WindowBands::WindowBands(QList<Row> rows)
    : m_rows(std::move(rows))
{
}

std::optional<QVariant> WindowBands::coefficient(const QString &band) const
{
    for (const Row &row : m_rows) {
        if (!row.band.isNull() && row.band.toString() == band)
            return row.coefficient;
    }
    return std::nullopt;
}

} // namespace zav::engine
