#include "expenses/money.h"

#include "platform/vb.h"

#include <cmath>

namespace zav::expenses {

namespace {

// Beyond this the ten-thousandths would no longer be exact in a double.
constexpr double Limit = 9.0e14;

} // namespace

std::optional<Money> Money::fromDouble(double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= Limit)
        return std::nullopt;
    return Money(std::llround(value * double(Scale)));
}

std::optional<Money> Money::fromValue(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    const std::optional<double> number = platform::vb::CDbl(value);
    if (!number)
        return std::nullopt;
    return fromDouble(*number);
}

} // namespace zav::expenses
