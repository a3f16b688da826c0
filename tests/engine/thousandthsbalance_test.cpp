// Balancing a thousandths column, worked out in memory: the passes that change the same rows alike
// are made at once, and the values, the count of passes and the end are those of the passes made
// one by one. Expected values are worked out by hand, or by the passes one by one written out
// plainly below.

#include "engine/thousandthsbalance.h"

#include <QString>
#include <QVariantList>

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <vector>

using zav::engine::BalancedColumn;
using zav::engine::BalanceOutcome;
using zav::engine::BalancePlan;
using zav::engine::BalanceRule;
using zav::engine::Decimal;
using End = BalanceOutcome::End;
using Zero = BalanceRule::Zero;

namespace {

// A column held in memory: values in thousandths (nullopt: an empty cell), its label's total.
class MemoryColumn : public BalancedColumn
{
public:
    MemoryColumn(const std::vector<std::optional<qint64>> &thousandths, const QString &label)
        : m_label(label)
    {
        for (const std::optional<qint64> &value : thousandths)
            m_cells << (value ? QVariant(double(*value) / 1000.0) : QVariant());
    }

    QString shownTotal() const override { return m_label; }
    std::optional<double> read(const QString &total) const override
    {
        bool ok = false;
        const double value = total.toDouble(&ok);
        return ok ? std::optional<double>(value) : std::nullopt;
    }
    std::pair<QString, std::optional<int>> count(const QVariantList &cells) const override
    {
        // Every partial sum through its 15-digit text, as a total label holds it.
        QString total = QStringLiteral("0");
        std::optional<int> unreadable;
        for (qsizetype row = 0; row < cells.size(); ++row) {
            if (cells.at(row).isNull()) {
                unreadable = unreadable ? unreadable : std::optional<int>(int(row));
                continue;
            }
            total = QString::number(total.toDouble() + cells.at(row).toDouble(), 'f', 6);
            while (total.contains(u'.') && (total.endsWith(u'0') || total.endsWith(u'.')))
                total.chop(1);
        }
        return { total, unreadable };
    }
    void show(const QString &total) override { m_label = total; }
    void reread() override { }
    bool hasField() const override { return true; }
    QString field() const override { return QStringLiteral("MILLESIMI"); }
    int rowCount() const override { return int(m_cells.size()); }
    QVariant value(int row) const override { return m_cells.at(row); }
    qint64 rowid(int row) const override { return row + 1; }
    QString database() const override { return QString(); }
    QString table() const override { return QStringLiteral("MILLESIMI"); }

private:
    QVariantList m_cells;
    QString m_label;
};

struct Result
{
    std::vector<std::optional<qint64>> values; // thousandths
    qint64 passes = 0;
    End end = End::Reached;
};

// The plan's values applied to the rows, in thousandths.
Result planned(
    const std::vector<std::optional<qint64>> &rows, qint64 labelTotal, const BalanceRule &rule, qint64 target)
{
    const MemoryColumn column(rows, QString::number(double(labelTotal) / 1000.0, 'f', 3));
    const BalancePlan plan = BalancePlan::of(column, rule, Decimal { target, 3 });
    Result result { rows, plan.outcome.passes, plan.outcome.end };
    for (const auto &[rowid, value] : plan.changes)
        result.values[std::size_t(rowid - 1)] = std::llround(value * 1000.0);
    return result;
}

// The passes one by one, as the rule states them, on whole thousandths: n is the gap between the
// target and the total (the label's at first, then the column's); a pass changes the first n rows
// (all of them when fewer) by one thousandth, but for an empty cell, a 0 in a raising pass under
// the zero rule and a row a lowering pass would take below zero; it ends at the target, or when a
// pass does not get closer.
Result stepwise(
    std::vector<std::optional<qint64>> rows, qint64 labelTotal, const BalanceRule &rule, qint64 target)
{
    const auto columnTotal = [&rows] {
        qint64 sum = 0;
        for (const auto &value : rows)
            sum += value.value_or(0);
        return sum;
    };
    Result result;
    qint64 total = labelTotal;
    while (total != target) {
        if (rows.empty()) {
            result.end = End::NoRows;
            break;
        }
        const bool raising = target > total;
        const qint64 n = raising ? target - total : total - target;
        const qint64 before = columnTotal();
        int changed = 0;
        for (qint64 row = 0; row < std::min<qint64>(n, qint64(rows.size())); ++row) {
            std::optional<qint64> &value = rows[std::size_t(row)];
            if (!value || (raising && rule.zero == Zero::LeftUnchanged && *value == 0)
                || (!raising && *value == 0))
                continue;
            *value += raising ? 1 : -1;
            ++changed;
        }
        ++result.passes;
        total = columnTotal();
        if (changed == 0 || std::llabs(target - total) >= std::llabs(target - before)) {
            result.end = End::NoProgress;
            break;
        }
    }
    if (result.end == End::Reached && columnTotal() != target)
        result.end = End::NoProgress;
    result.values = rows;
    return result;
}

BalanceRule rule(Zero zero)
{
    return { zero, BalanceRule::Errors::Continue };
}

// Gaps from a twentieth of a thousandth to 500 thousandths, on 3 rows, worked out by hand.
TEST(BalancePlanTest, GapsOfEverySizeEndAsThePassesOneByOne)
{
    struct Case
    {
        const char *name;
        std::vector<std::optional<qint64>> rows;
        Zero zero;
        std::vector<std::optional<qint64>> expected;
        qint64 passes;
        End end;
    };
    const std::vector<Case> cases = {
        // 50 = 16 x 3 + 2: sixteen passes of the three rows, then one of the first two.
        { "gap 0.05", { 333000, 333000, 333950 }, Zero::Changed, { 333017, 333017, 333966 }, 17,
            End::Reached },
        // 1000 = 333 x 3 + 1.
        { "gap 1", { 333000, 333000, 333000 }, Zero::Changed, { 333334, 333333, 333333 }, 334, End::Reached },
        // 50000 = 16666 x 3 + 2.
        { "gap 50", { 300000, 300000, 350000 }, Zero::Changed, { 316667, 316667, 366666 }, 16667,
            End::Reached },
        // 500000 too many: 166666 x 3 + 2 taken off.
        { "gap 500, lowering", { 500000, 500000, 500000 }, Zero::Changed, { 333333, 333333, 333334 }, 166667,
            End::Reached },
        // 10000 missing, the 0 left out: 4999 passes raise the two other rows (n from 10000 down to
        // 4), then n = 2 raises the first row only, n = 1 the first row again.
        { "gap 10, a 0 under the zero rule", { 10000, 0, 980000 }, Zero::LeftUnchanged, { 15001, 0, 984999 },
            5001, End::Reached },
        // 100003 too many: two passes empty the first row; 49998 passes lower the other two (n from
        // 99997 down to 3); n = 1 reaches only the emptied row, and the total stays 1000.001.
        { "gap 100.003, a row emptied on the way", { 2, 600000, 500001 }, Zero::Changed,
            { 0, 550000, 450001 }, 50001, End::NoProgress },
        // An empty cell is counted and passed over: four passes raise the two others (n from 10
        // down to 4), then n = 2 and n = 1 raise the first row.
        { "gap 0.01 beside an empty cell", { 400000, std::nullopt, 599990 }, Zero::Changed,
            { 400006, std::nullopt, 599994 }, 6, End::Reached },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        qint64 total = 0;
        for (const auto &value : c.rows)
            total += value.value_or(0);
        const Result result = planned(c.rows, total, rule(c.zero), 1000000);
        EXPECT_EQ(result.values, c.expected);
        EXPECT_EQ(result.passes, c.passes);
        EXPECT_EQ(result.end, c.end);
        // The passes one by one agree with the hand.
        const Result oneByOne = stepwise(c.rows, total, rule(c.zero), 1000000);
        EXPECT_EQ(oneByOne.values, c.expected);
        EXPECT_EQ(oneByOne.passes, c.passes);
        EXPECT_EQ(oneByOne.end, c.end);
    }
}

// Many columns drawn at random, with zeros, empty cells, labels that differ from the column and
// gaps of 0.05, 1, 50 and 500 either way: the plan is the passes one by one, each time.
TEST(BalancePlanTest, RandomColumnsEndAsThePassesOneByOne)
{
    std::mt19937 random(20261211);
    for (const qint64 gap : { 50, 1000, 50000, 500000 }) {
        for (int draw = 0; draw < 150; ++draw) {
            const int size = 1 + int(random() % 9);
            std::vector<std::optional<qint64>> rows;
            qint64 sum = 0;
            for (int row = 0; row < size; ++row) {
                const unsigned kind = random() % 10;
                if (kind == 0)
                    rows.push_back(std::nullopt);
                else if (kind == 1)
                    rows.push_back(0);
                else
                    rows.push_back(qint64(random() % 200000));
                sum += rows.back().value_or(0);
            }
            const bool raising = random() % 2;
            const qint64 target = raising ? sum + gap : std::max<qint64>(sum - gap, 0);
            // Now and then the label is off the column by a few thousandths.
            const qint64 label = random() % 4 == 0 ? sum + qint64(random() % 7) - 3 : sum;
            const BalanceRule r = rule(random() % 2 ? Zero::Changed : Zero::LeftUnchanged);
            SCOPED_TRACE(testing::Message() << "gap " << gap << " draw " << draw);
            const Result plan = planned(rows, label, r, target);
            const Result oneByOne = stepwise(rows, label, r, target);
            EXPECT_EQ(plan.values, oneByOne.values);
            EXPECT_EQ(plan.passes, oneByOne.passes);
            EXPECT_EQ(plan.end, oneByOne.end);
        }
    }
}

// A gap of almost 100 million on three rows: 33,333,333,000 passes one by one, worked in a few
// steps (the passes one by one would not end within the test's time).
TEST(BalancePlanTest, AHugeGapOnFewRowsIsWorkedAtOnce)
{
    const Result result = planned({ 0, 0, 1 }, 1, rule(Zero::Changed), 99999999000);
    EXPECT_EQ(result.end, End::Reached);
    // 99,999,998,999 = 33,333,332,999 x 3 + 2.
    EXPECT_EQ(result.values, (std::vector<std::optional<qint64>> { 33333333000, 33333333000, 33333333000 }));
    EXPECT_EQ(result.passes, 33333333000);
}

} // namespace
