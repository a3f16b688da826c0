#include "workspace/totaltext.h"

#include "engine/archivevalues.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zav::workspace {

namespace vb = platform::vb;

QString TotalText::of(double value)
{
    if (!std::isfinite(value))
        return QString();
    // Fifteen significant digits with their power of ten: d.dddddddddddddde±x. A column is totalled
    // through this text cell by cell, so it is put together in place, without passing through
    // intermediate strings.
    char buffer[40];
    const int length = std::snprintf(buffer, sizeof buffer, "%.14e", value);
    const char *p = buffer;
    const char *const end = buffer + std::max(0, std::min(length, int(sizeof buffer) - 1));
    const bool negative = *p == '-';
    if (negative)
        ++p;
    char digits[sizeof buffer];
    int count = 0;
    for (; p < end && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits[count++] = *p;
    }
    const int exponent = p < end && *p == 'e' ? std::atoi(p + 1) : 0;
    while (count > 1 && digits[count - 1] == '0')
        --count;
    if (count == 1 && digits[0] == '0')
        return QStringLiteral("0");

    QString text;
    text.reserve(count + std::abs(exponent) + 3);
    if (negative)
        text += u'-';
    if (exponent >= 0) {
        for (int i = 0; i <= exponent; ++i)
            text += QLatin1Char(i < count ? digits[i] : '0');
        if (count > exponent + 1) {
            text += vb::decimalSeparator();
            text += QLatin1StringView(digits + exponent + 1, count - exponent - 1);
        }
    } else {
        text += u'0';
        text += vb::decimalSeparator();
        text += QString(-exponent - 1, u'0');
        text += QLatin1StringView(digits, count);
    }
    return text;
}

std::optional<double> TotalText::read(const QString &text)
{
    return vb::CDbl(text);
}

bool TotalText::add(QString &total, const QVariant &cell)
{
    const engine::Num value = engine::ArchiveValues::number(cell);
    const std::optional<double> current = read(total);
    if (!value || !current || !std::isfinite(*value) || !std::isfinite(*current))
        return false;
    const double sum = *current + *value;
    if (!std::isfinite(sum))
        return false;
    total = of(sum);
    return true;
}

namespace {

// The number a sum's total text reads as: the sum rounded to fifteen significant digits. Over most
// of the doubles' range the digits of "%.14e" are read directly (the text stands for the same
// decimal, and both readings give the double nearest to it); at the ends, through the text itself.
std::optional<double> readBack(double sum)
{
    const double magnitude = std::fabs(sum);
    if (magnitude >= 1e-300 && magnitude <= 1e300) {
        char buffer[40];
        const int length = std::snprintf(buffer, sizeof buffer, "%.14e", sum);
        double value = 0;
        if (length > 0 && length < int(sizeof buffer)) {
            const auto [end, error] = std::from_chars(buffer, buffer + length, value);
            if (error == std::errc() && end == buffer + length)
                return value;
        }
    }
    return TotalText::read(TotalText::of(sum));
}

} // namespace

bool TotalText::Running::add(const QVariant &cell)
{
    const engine::Num value = engine::ArchiveValues::number(cell);
    if (!value || m_unreadable || !std::isfinite(*value))
        return false;
    const double sum = m_value + *value;
    if (!std::isfinite(sum))
        return false;
    m_sum = sum;
    const std::optional<double> readAs = readBack(sum);
    m_unreadable = !readAs || !std::isfinite(*readAs);
    m_value = readAs.value_or(0);
    return true;
}

QString TotalText::Running::text() const
{
    return m_sum ? of(*m_sum) : QStringLiteral("0");
}

QStringList TotalText::columnTotals(const platform::DataSource &source, const QStringList &fields)
{
    QList<Running> running(fields.size());
    QList<int> positions;
    for (const QString &field : fields)
        positions << source.fieldIndex(field);
    for (int row = 0; row < source.recordCount(); ++row) {
        for (int i = 0; i < positions.size(); ++i) {
            if (positions.at(i) >= 0)
                running[i].add(source.value(row, positions.at(i)));
        }
    }
    QStringList totals;
    for (const Running &total : running)
        totals << total.text();
    return totals;
}

} // namespace zav::workspace
