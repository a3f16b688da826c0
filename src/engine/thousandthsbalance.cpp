#include "engine/thousandthsbalance.h"

#include "engine/databasefailure.h"
#include "platform/db.h"

#include <QList>

#include <cmath>
#include <limits>

namespace zav::engine {

namespace {

constexpr qint64 kMaxUnits = std::numeric_limits<qint64>::max() / 10;

std::optional<qint64> powerOfTen(int exponent)
{
    qint64 result = 1;
    for (int i = 0; i < exponent; ++i) {
        if (result > kMaxUnits)
            return std::nullopt;
        result *= 10;
    }
    return result;
}

// Both numbers on one scale (the larger one).
std::optional<std::pair<qint64, qint64>> aligned(const Decimal &a, const Decimal &b, int &scale)
{
    scale = std::max(a.scale, b.scale);
    const std::optional<qint64> fa = powerOfTen(scale - a.scale);
    const std::optional<qint64> fb = powerOfTen(scale - b.scale);
    if (!fa || !fb)
        return std::nullopt;
    qint64 ua = 0;
    qint64 ub = 0;
    if (__builtin_mul_overflow(a.units, *fa, &ua) || __builtin_mul_overflow(b.units, *fb, &ub))
        return std::nullopt;
    return std::pair { ua, ub };
}

} // namespace

std::optional<Decimal> Decimal::of(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // The shortest form with 15 significant digits: the number the user reads.
    const QString text = QString::number(value, 'e', 14);
    const qsizetype e = text.indexOf(u'e');
    QString mantissa = text.left(e);
    int exponent = text.mid(e + 1).toInt();
    const bool negative = mantissa.startsWith(u'-');
    if (negative)
        mantissa.remove(0, 1);
    mantissa.remove(u'.');
    // mantissa holds d.dddddddddddddd: 15 digits, the first before the point.
    int scale = 14 - exponent;
    while (scale > 0 && mantissa.endsWith(u'0')) {
        mantissa.chop(1);
        --scale;
    }
    bool ok = false;
    qint64 units = mantissa.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    if (scale < 0) {
        const std::optional<qint64> factor = powerOfTen(-scale);
        if (!factor || __builtin_mul_overflow(units, *factor, &units))
            return std::nullopt;
        scale = 0;
    }
    return Decimal { negative ? -units : units, scale };
}

std::optional<Decimal> Decimal::plusThousandths(qint64 thousandths) const
{
    int common = 0;
    const auto pair = aligned(*this, Decimal { thousandths, 3 }, common);
    qint64 sum = 0;
    if (!pair || __builtin_add_overflow(pair->first, pair->second, &sum))
        return std::nullopt;
    return Decimal { sum, common };
}

std::optional<qint64> Decimal::thousandthsBetween(const Decimal &a, const Decimal &b)
{
    int common = 0;
    const auto pair = aligned(a, b, common);
    qint64 difference = 0;
    if (!pair || __builtin_sub_overflow(pair->first, pair->second, &difference))
        return std::nullopt;
    if (common <= 3) {
        const std::optional<qint64> factor = powerOfTen(3 - common);
        qint64 result = 0;
        if (!factor || __builtin_mul_overflow(difference, *factor, &result))
            return std::nullopt;
        return result;
    }
    // Rounded to three decimals, halves away from zero.
    const qint64 divisor = *powerOfTen(common - 3);
    const qint64 magnitude = difference < 0 ? -difference : difference;
    const qint64 rounded = (magnitude / divisor) + ((magnitude % divisor) * 2 >= divisor ? 1 : 0);
    return difference < 0 ? -rounded : rounded;
}

QString Decimal::text() const
{
    QString digits = QString::number(units < 0 ? -units : units);
    if (scale > 0) {
        if (digits.size() <= scale)
            digits = QString(scale - digits.size() + 1, u'0') + digits;
        digits.insert(digits.size() - scale, u'.');
        while (digits.endsWith(u'0'))
            digits.chop(1);
        if (digits.endsWith(u'.'))
            digits.chop(1);
    }
    return units < 0 ? u'-' + digits : digits;
}

double Decimal::toDouble() const
{
    return text().toDouble();
}

namespace {

// A cell's number: a number field as it is, text read as the column reads a total.
std::optional<double> cellNumber(const BalancedColumn &column, const QVariant &cell)
{
    if (cell.isNull() || !cell.isValid())
        return std::nullopt;
    if (cell.typeId() == QMetaType::QString)
        return column.read(cell.toString());
    bool ok = false;
    const double value = cell.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

QString rowFailure(int row)
{
    return QStringLiteral("la riga %1 non ha un valore numerico").arg(row + 1);
}

} // namespace

BalanceOutcome balance(BalancedColumn &column, const BalanceRule &rule, const Decimal &target)
{
    using End = BalanceOutcome::End;
    BalanceOutcome outcome;
    const bool stops = rule.errors == BalanceRule::Errors::Stop;
    const double targetValue = target.toDouble();

    const auto finish = [&](End end) {
        outcome.end = end;
        outcome.total = column.shownTotal();
        return outcome;
    };
    const auto missingField = [&]() {
        outcome.failure = QStringLiteral("la colonna %1 non c'è").arg(column.field());
        return finish(End::Failed);
    };

    // Counts the column into the label; false when an operation that stops met a cell it cannot add.
    const auto recountInto = [&]() {
        if (!column.hasField()) {
            outcome.failure = QStringLiteral("la colonna %1 non c'è").arg(column.field());
            return false;
        }
        const auto [total, unreadableRow] = column.count();
        column.show(total);
        if (stops && unreadableRow) {
            outcome.failure = rowFailure(*unreadableRow);
            return false;
        }
        return true;
    };

    std::optional<double> total = column.read(column.shownTotal());
    try {
        if (!total) {
            // A label that holds no number: start from the column's own total.
            if (!recountInto())
                return finish(End::Failed);
            total = column.read(column.shownTotal());
        }
        while (total && *total != targetValue) {
            const std::optional<Decimal> shown = Decimal::of(*total);
            const std::optional<qint64> missing
                = shown ? Decimal::thousandthsBetween(target, *shown) : std::nullopt;
            if (!missing || *missing == 0)
                return finish(End::NoProgress);
            const bool raising = *missing > 0;
            const qint64 steps = raising ? *missing : -*missing;

            column.reread();
            if (column.rowCount() == 0) {
                recountInto();
                return finish(End::NoRows);
            }
            if (!column.hasField())
                return missingField();

            // The column's own total before the pass, to tell whether the pass got closer.
            const std::optional<double> before = column.read(column.count().first);

            // The rows at the top of the view, as many as there are thousandths to move.
            QList<std::pair<qint64, double>> changes;
            std::optional<QString> failure;
            const qint64 reach = std::min<qint64>(steps, column.rowCount());
            for (int row = 0; row < reach; ++row) {
                const std::optional<double> value = cellNumber(column, column.value(row));
                const std::optional<Decimal> exact = value ? Decimal::of(*value) : std::nullopt;
                if (!exact) {
                    if (stops) {
                        failure = rowFailure(row);
                        break;
                    }
                    continue;
                }
                if (raising && rule.zero == BalanceRule::Zero::LeftUnchanged && exact->units == 0)
                    continue;
                const std::optional<Decimal> moved = exact->plusThousandths(raising ? 1 : -1);
                if (!moved) {
                    if (stops) {
                        failure = rowFailure(row);
                        break;
                    }
                    continue;
                }
                // A share is never taken below zero.
                if (!raising && moved->units < 0)
                    continue;
                changes.append({ column.rowid(row), moved->toDouble() });
            }

            // One transaction a pass; what was saved before a failure stays saved.
            if (!changes.isEmpty()) {
                platform::Database db = platform::Database::open(column.database());
                platform::Transaction transaction = db.transaction();
                const QString table = column.table();
                const QString name = column.field();
                for (const auto &[rowid, value] : changes) {
                    try {
                        db.update(table, rowid, { { name, value } });
                    } catch (const platform::DbError &error) {
                        if (stops) {
                            failure = databaseFailureText(error);
                            break;
                        }
                    }
                }
                transaction.commit();
            }
            column.reread();
            ++outcome.passes;
            const bool counted = recountInto();
            if (failure) {
                outcome.failure = *failure;
                return finish(End::Failed);
            }
            if (!counted)
                return finish(End::Failed);
            const std::optional<double> next = column.read(column.shownTotal());
            if (changes.isEmpty() || !next || !before
                || std::abs(targetValue - *next) >= std::abs(targetValue - *before))
                return finish(End::NoProgress);
            total = next;
        }
        // The last count, also when no pass was needed.
        if (!recountInto())
            return finish(End::Failed);
    } catch (const platform::DbError &error) {
        outcome.failure = databaseFailureText(error);
        return finish(End::Failed);
    }
    const std::optional<double> final = column.read(column.shownTotal());
    return finish(final && *final == targetValue ? End::Reached : End::NoProgress);
}

} // namespace zav::engine
