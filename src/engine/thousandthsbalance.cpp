#include "engine/thousandthsbalance.h"

#include "engine/databasefailure.h"
#include "platform/db.h"

#include <QList>
#include <QVariantList>

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

QString missingColumn(const BalancedColumn &column)
{
    return QStringLiteral("la colonna %1 non c'è").arg(column.field());
}

// Columns whose values and totals stay below this, with at most this many decimals, are totalled
// exactly by whole numbers: their sums have at most 14 digits, which the label's 15-digit total
// text holds without rounding.
constexpr qint64 kExactBound = 100000000;
constexpr int kExactScale = 6;

// A decimal on a finer scale; none when it does not fit.
std::optional<qint64> unitsAt(const Decimal &value, int scale)
{
    if (value.scale > scale)
        return std::nullopt;
    const std::optional<qint64> factor = powerOfTen(scale - value.scale);
    qint64 units = 0;
    if (!factor || __builtin_mul_overflow(value.units, *factor, &units))
        return std::nullopt;
    return units;
}

bool withinExactBound(const Decimal &value)
{
    const std::optional<qint64> bound = powerOfTen(value.scale);
    return value.scale <= kExactScale && bound && value.units < kExactBound * *bound
        && value.units > -kExactBound * *bound;
}

/**
 * The passes, made on the column's values in memory. Each value that can be used is held exactly;
 * when every value is a non-negative decimal of at most six places and the totals stay well within
 * the label's digits, all values are held on one scale and the column's total is their whole sum,
 * so that runs of passes that change the same rows alike can be made at once.
 */
class Passes
{
public:
    Passes(const BalancedColumn &column, const BalanceRule &rule, const Decimal &target)
        : m_column(column)
        , m_rule(rule)
        , m_target(target)
    {
        const int rows = column.rowCount();
        m_cells.reserve(rows);
        m_values.reserve(std::size_t(rows));
        for (int row = 0; row < rows; ++row) {
            m_cells << column.value(row);
            const std::optional<double> number = cellNumber(column, m_cells.last());
            m_values.push_back(number ? Decimal::of(*number) : std::nullopt);
            if (!m_values.back() && !m_firstUnusable)
                m_firstUnusable = row;
        }
        m_changed.assign(std::size_t(rows), false);
        holdExactly();
    }

    BalancePlan plan()
    {
        using End = BalanceOutcome::End;
        const bool stops = m_rule.errors == BalanceRule::Errors::Stop;
        const double targetValue = m_target.toDouble();
        const int rows = int(m_values.size());

        std::optional<double> total = m_column.read(m_column.shownTotal());
        if (!total) {
            // A label that holds no number: start from the column's own total.
            const auto [counted, unusable] = columnTotal();
            if (stops && unusable)
                return failed(rowFailure(*unusable));
            total = counted;
        }
        while (total && *total != targetValue) {
            const std::optional<Decimal> shown = Decimal::of(*total);
            const std::optional<qint64> missing
                = shown ? Decimal::thousandthsBetween(m_target, *shown) : std::nullopt;
            if (!missing || *missing == 0)
                return ended(End::NoProgress);
            if (rows == 0)
                return ended(End::NoRows);
            const bool raising = *missing > 0;
            const qint64 steps = raising ? *missing : -*missing;
            const auto [before, unusableBefore] = columnTotal();
            if (before && *before == *total && steps > rows && !(stops && unusableBefore)
                && passAtOnce(raising, steps)) {
                total = columnTotal().first;
                continue;
            }

            // One pass: the rows at the top of the view, as many as there are thousandths to move.
            const qint64 reach = std::min<qint64>(steps, rows);
            int changed = 0;
            for (int row = 0; row < reach; ++row) {
                const std::optional<Decimal> &value = m_values[std::size_t(row)];
                const std::optional<Decimal> moved
                    = value ? value->plusThousandths(raising ? 1 : -1) : std::nullopt;
                if (!moved) {
                    if (stops)
                        return failed(rowFailure(row));
                    continue;
                }
                if (raising && m_rule.zero == BalanceRule::Zero::LeftUnchanged && value->units == 0)
                    continue;
                // A share is never taken below zero.
                if (!raising && moved->units < 0)
                    continue;
                set(row, *moved);
                ++changed;
            }
            ++m_passes;
            const auto [next, unusable] = columnTotal();
            if (stops && unusable)
                return failed(rowFailure(*unusable));
            if (changed == 0 || !next || !before
                || std::abs(targetValue - *next) >= std::abs(targetValue - *before))
                return ended(End::NoProgress);
            total = next;
        }
        // The last count, also when no pass was needed.
        const auto [final, unusable] = columnTotal();
        if (stops && unusable)
            return failed(rowFailure(*unusable));
        return ended(final && *final == targetValue ? End::Reached : End::NoProgress);
    }

private:
    // Puts every value on one scale when the column can be totalled exactly.
    void holdExactly()
    {
        if (m_target.units < 0 || !withinExactBound(m_target))
            return;
        int scale = std::max(3, m_target.scale);
        const std::optional<double> shown = m_column.read(m_column.shownTotal());
        if (shown) {
            const std::optional<Decimal> label = Decimal::of(*shown);
            if (!label || !withinExactBound(*label))
                return;
            scale = std::max(scale, label->scale);
        }
        for (const std::optional<Decimal> &value : m_values) {
            if (!value)
                continue;
            if (value->units < 0 || !withinExactBound(*value))
                return;
            scale = std::max(scale, value->scale);
        }
        qint64 sum = 0;
        std::vector<std::optional<Decimal>> held;
        held.reserve(m_values.size());
        for (const std::optional<Decimal> &value : m_values) {
            const std::optional<qint64> units = value ? unitsAt(*value, scale) : std::nullopt;
            if (value && !units)
                return;
            if (units)
                sum += *units;
            held.push_back(units ? std::optional<Decimal>(Decimal { *units, scale }) : std::nullopt);
        }
        const qint64 bound = kExactBound * *powerOfTen(scale);
        const std::optional<qint64> target = unitsAt(m_target, scale);
        if (sum >= bound || !target || *target >= bound)
            return;
        m_values = std::move(held);
        m_exactScale = scale;
        m_sum = sum;
    }

    // The column's total as its label would show it, and the first row it could not add.
    std::pair<std::optional<double>, std::optional<int>> columnTotal() const
    {
        if (m_exactScale)
            return { Decimal { m_sum, *m_exactScale }.toDouble(), m_firstUnusable };
        const auto [text, unusable] = m_column.count(cells());
        return { m_column.read(text), unusable };
    }

    // The cells as they stand: those not changed as held, the others as their new number.
    QVariantList cells() const
    {
        QVariantList current = m_cells;
        for (std::size_t row = 0; row < m_values.size(); ++row) {
            if (m_changed[row])
                current[qsizetype(row)] = m_values[row]->toDouble();
        }
        return current;
    }

    void set(int row, const Decimal &value)
    {
        if (m_exactScale)
            m_sum += value.units - m_values[std::size_t(row)]->units;
        m_values[std::size_t(row)] = value;
        m_changed[std::size_t(row)] = true;
    }

    /**
     * While the thousandths to move outnumber the rows, every pass changes the same rows, each by
     * 0.001, and gets closer: the passes until fewer remain are made at once. A lowering run ends
     * early where a row would reach zero, since from there that row is left out.
     */
    bool passAtOnce(bool raising, qint64 steps)
    {
        if (!m_exactScale)
            return false;
        const qint64 thousandth = *powerOfTen(*m_exactScale - 3);
        const int rows = int(m_values.size());
        qint64 moving = 0;
        qint64 room = std::numeric_limits<qint64>::max();
        for (const std::optional<Decimal> &value : m_values) {
            if (!value)
                continue;
            if (raising) {
                if (m_rule.zero == BalanceRule::Zero::LeftUnchanged && value->units == 0)
                    continue;
            } else {
                if (value->units < thousandth)
                    continue;
                room = std::min(room, value->units / thousandth);
            }
            ++moving;
        }
        if (moving == 0)
            return false;
        qint64 passes = (steps - rows - 1) / moving + 1;
        if (!raising)
            passes = std::min(passes, room);
        const qint64 move = (raising ? passes : -passes) * thousandth;
        for (int row = 0; row < rows; ++row) {
            const std::optional<Decimal> &value = m_values[std::size_t(row)];
            if (!value || (raising && m_rule.zero == BalanceRule::Zero::LeftUnchanged && value->units == 0)
                || (!raising && value->units < thousandth))
                continue;
            set(row, Decimal { value->units + move, *m_exactScale });
        }
        m_passes += passes;
        return true;
    }

    BalancePlan ended(BalanceOutcome::End end)
    {
        BalancePlan plan;
        plan.table = m_column.table();
        plan.field = m_column.field();
        plan.outcome.end = end;
        plan.outcome.passes = m_passes;
        for (std::size_t row = 0; row < m_values.size(); ++row) {
            if (m_changed[row])
                plan.changes.append({ m_column.rowid(int(row)), m_values[row]->toDouble() });
        }
        return plan;
    }

    BalancePlan failed(const QString &failure)
    {
        BalancePlan plan;
        plan.table = m_column.table();
        plan.field = m_column.field();
        plan.outcome.end = BalanceOutcome::End::Failed;
        plan.outcome.passes = m_passes;
        plan.outcome.failure = failure;
        return plan;
    }

    const BalancedColumn &m_column;
    BalanceRule m_rule;
    Decimal m_target;
    QVariantList m_cells;
    std::vector<std::optional<Decimal>> m_values;
    std::vector<bool> m_changed;
    std::optional<int> m_firstUnusable;
    std::optional<int> m_exactScale; ///< the one scale of every value, when totalled exactly
    qint64 m_sum = 0; ///< their whole sum then
    qint64 m_passes = 0;
};

QVariantList cellsOf(const BalancedColumn &column)
{
    QVariantList cells;
    for (int row = 0; row < column.rowCount(); ++row)
        cells << column.value(row);
    return cells;
}

} // namespace

BalancePlan BalancePlan::of(const BalancedColumn &column, const BalanceRule &rule, const Decimal &target)
{
    if (!column.hasField()) {
        BalancePlan plan;
        plan.table = column.table();
        plan.field = column.field();
        plan.outcome.end = BalanceOutcome::End::Failed;
        plan.outcome.failure = missingColumn(column);
        return plan;
    }
    return Passes(column, rule, target).plan();
}

QList<BalanceOutcome> balanceTogether(const QList<BalanceJob> &jobs)
{
    using End = BalanceOutcome::End;
    QList<BalancePlan> plans;
    std::optional<BalanceOutcome> refused;
    // A column that fails or cannot reach its target ends the command before anything is written:
    // the passes made on the way would leave the column neither as it was nor at its target.
    for (const BalanceJob &job : jobs) {
        plans << BalancePlan::of(*job.column, job.rule, job.target);
        const End end = plans.last().outcome.end;
        if (!refused && (end == End::Failed || end == End::NoProgress))
            refused = plans.last().outcome;
    }

    // Every change of the command in one transaction: the archive holds all of them or none.
    if (!refused && !jobs.isEmpty()) {
        try {
            bool any = false;
            for (const BalancePlan &plan : plans)
                any = any || !plan.changes.isEmpty();
            if (any) {
                platform::Database db = platform::Database::open(jobs.first().column->database());
                platform::Transaction transaction = db.transaction();
                for (const BalancePlan &plan : plans) {
                    if (plan.changes.isEmpty())
                        continue;
                    platform::Statement update
                        = db.prepare(QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
                                         .arg(platform::Database::quoteName(plan.table),
                                             platform::Database::quoteName(plan.field)));
                    for (const auto &[rowid, value] : plan.changes)
                        update.exec({ value, rowid });
                }
                transaction.commit();
            }
        } catch (const platform::DbError &error) {
            BalanceOutcome notWritten;
            notWritten.end = End::NotWritten;
            notWritten.failure = databaseFailureText(error);
            refused = notWritten;
        }
    }

    // The rows as the archive now holds them, each label on its column's total.
    bool reread = !jobs.isEmpty();
    if (reread) {
        try {
            jobs.first().column->reread();
        } catch (const platform::DbError &) {
            // The labels keep what they show; the rows are read again at the next view.
            reread = false;
        }
    }
    QList<BalanceOutcome> outcomes;
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        BalancedColumn &column = *jobs.at(i).column;
        BalanceOutcome outcome = refused ? *refused : plans.at(i).outcome;
        if (refused)
            outcome.passes = 0;
        if (reread && column.hasField())
            column.show(column.count(cellsOf(column)).first);
        outcome.total = column.shownTotal();
        outcomes << outcome;
    }
    return outcomes;
}

BalanceOutcome balance(BalancedColumn &column, const BalanceRule &rule, const Decimal &target)
{
    return balanceTogether({ BalanceJob { &column, rule, target } }).first();
}

} // namespace zav::engine
