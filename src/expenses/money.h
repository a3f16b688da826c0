#pragma once

#include <QString>
#include <QVariant>

#include <compare>
#include <limits>
#include <optional>
#include <stdexcept>

namespace zav::expenses {

/**
 * @brief An amount of money held exactly, as a whole number of ten-thousandths of the currency unit.
 *
 * Every share, sum and total of the apportionment is a Money, so that adding up shares of whole
 * cents never drifts: ten shares of 0.70 make exactly 7. Values come in from doubles and text
 * rounded to four decimals, and go out as doubles of at most four decimals.
 *
 * The arithmetic is checked: a sum or difference beyond what the type holds (about ±9.2e14) throws
 * std::overflow_error instead of wrapping round to a number of the other sign.
 */
class Money
{
public:
    /** @brief Ten-thousandths in one currency unit. */
    static constexpr qint64 Scale = 10000;

    constexpr Money() = default;

    /** @brief A number of ten-thousandths. */
    static constexpr Money fromUnits(qint64 units) { return Money(units); }
    /** @brief A number of whole currency units (std::overflow_error beyond what the type holds). */
    static constexpr Money whole(qint64 units)
    {
        qint64 held = 0;
        if (__builtin_mul_overflow(units, Scale, &held))
            throw std::overflow_error("Money::whole");
        return Money(held);
    }
    /** @brief The greatest amount the type holds. */
    static constexpr Money max() { return Money(std::numeric_limits<qint64>::max()); }
    /**
     * @brief A double rounded to four decimals, halves away from zero; no value when it is not
     * finite or lies beyond what the type holds (about 9e14).
     */
    static std::optional<Money> fromDouble(double value);
    /**
     * @brief A stored value: a number as it is, text read with the decimal separator in force
     * (grouping and currency symbol allowed); no value for Null, empty text or text that is not a
     * number.
     */
    static std::optional<Money> fromValue(const QVariant &value);

    constexpr qint64 units() const { return m_units; }
    double toDouble() const { return double(m_units) / double(Scale); }
    /** @brief The whole currency units, towards zero (2.7 gives 2, -1.5 gives -1). */
    constexpr qint64 wholePart() const { return m_units / Scale; }

    constexpr Money operator+(Money other) const { return Money(checked(m_units, other.m_units, false)); }
    constexpr Money operator-(Money other) const { return Money(checked(m_units, other.m_units, true)); }
    constexpr Money operator-() const { return Money(checked(0, m_units, true)); }
    constexpr Money &operator+=(Money other) { return *this = *this + other; }
    constexpr Money &operator-=(Money other) { return *this = *this - other; }
    constexpr auto operator<=>(const Money &) const = default;

private:
    constexpr explicit Money(qint64 units)
        : m_units(units)
    {
    }
    static constexpr qint64 checked(qint64 a, qint64 b, bool subtract)
    {
        qint64 result = 0;
        if (subtract ? __builtin_sub_overflow(a, b, &result) : __builtin_add_overflow(a, b, &result))
            throw std::overflow_error("Money");
        return result;
    }
    qint64 m_units = 0;
};

} // namespace zav::expenses
