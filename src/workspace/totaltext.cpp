#include "workspace/totaltext.h"

#include "engine/archivevalues.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zav::workspace {

namespace vb = platform::vb;

QString TotalText::of(double value)
{
    if (!std::isfinite(value))
        return QString();
    // Fifteen significant digits with their power of ten: d.dddddddddddddde±x.
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    const char *p = buffer;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    QString digits;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits.append(QLatin1Char(*p));
    }
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);
    if (digits == QLatin1String("0"))
        return QStringLiteral("0");

    QString integer;
    QString fraction;
    if (exponent >= 0) {
        integer = digits.left(exponent + 1);
        integer = integer.leftJustified(exponent + 1, u'0');
        fraction = digits.mid(exponent + 1);
    } else {
        integer = QStringLiteral("0");
        fraction = QString(-exponent - 1, u'0') + digits;
    }
    QString text = negative ? QStringLiteral("-") : QString();
    text += integer;
    if (!fraction.isEmpty())
        text += vb::decimalSeparator() + fraction;
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

QStringList TotalText::columnTotals(const platform::DataSource &source, const QStringList &fields)
{
    QStringList totals;
    QList<int> positions;
    for (const QString &field : fields) {
        totals << QStringLiteral("0");
        positions << source.fieldIndex(field);
    }
    for (int row = 0; row < source.recordCount(); ++row) {
        for (int i = 0; i < positions.size(); ++i) {
            if (positions.at(i) >= 0)
                add(totals[i], source.value(row, positions.at(i)));
        }
    }
    return totals;
}

} // namespace zav::workspace
