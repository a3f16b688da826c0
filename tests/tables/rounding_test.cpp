// Bringing a thousandths column to its total: the worked examples, the zero rules, the termination
// cases and the exact decimal steps, on a small archive on disk. Every expected value is worked
// out by hand.
#include "tables/rounding.h"

#include "platform/db.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"

#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace zav::test {
namespace {

using platform::Database;
using platform::DataSource;
using platform::FieldDef;
using platform::FieldType;
using tables::Decimal;
using tables::Rounding;
using tables::RoundingOutcome;
using tables::RoundingStep;
using End = RoundingOutcome::End;
namespace vb = platform::vb;

// A point-written number in the form of the separator in force.
QString local(const char *text)
{
    return QString::fromLatin1(text).replace(u'.', vb::decimalSeparator());
}

class RoundingTest : public ::testing::Test
{
protected:
    // A view of one table with a thousandths column, rows in this order (nullopt: empty cell).
    void makeView(const std::vector<std::optional<double>> &values)
    {
        m_path = m_dir.filePath(QStringLiteral("view%1.cdb").arg(++m_views));
        Database db = Database::create(m_path);
        db.createTable(QStringLiteral("MILLESIMI"),
            { { QStringLiteral("NOME_CONDOMINO"), FieldType::Text, 50 },
                { QStringLiteral("MILLESIMI"), FieldType::Double, 0 } });
        int n = 0;
        for (const std::optional<double> &value : values) {
            db.insert(QStringLiteral("MILLESIMI"),
                { { QStringLiteral("NOME_CONDOMINO"), QStringLiteral("U%1").arg(++n) },
                    { QStringLiteral("MILLESIMI"), value ? QVariant(*value) : QVariant() } });
        }
        m_source.setDatabaseName(m_path);
        m_source.setRecordSource(QStringLiteral("MILLESIMI"));
        m_source.refresh();
    }

    std::vector<std::optional<double>> stored()
    {
        Database db = Database::open(m_path);
        const platform::Recordset rows
            = db.query(QStringLiteral("SELECT MILLESIMI FROM MILLESIMI ORDER BY rowid"));
        std::vector<std::optional<double>> values;
        for (int row = 0; row < rows.recordCount(); ++row) {
            const QVariant v = rows.value(row, 0);
            values.push_back(v.isNull() ? std::nullopt : std::optional<double>(v.toDouble()));
        }
        return values;
    }

    RoundingOutcome bring(const char *labelTotal, RoundingStep::Zero zero = RoundingStep::Zero::Changed,
        RoundingStep::Errors errors = RoundingStep::Errors::Stop, Decimal target = { 1000, 0 })
    {
        m_label.setText(local(labelTotal));
        return Rounding::bring(m_source, m_label, { QStringLiteral("MILLESIMI"), 20, zero, errors }, target);
    }

    QTemporaryDir m_dir;
    QString m_path;
    int m_views = 0;
    DataSource m_source;
    QLabel m_label;
};

TEST(DecimalTest, ExactStepsAndDifferencesInThousandths)
{
    const Decimal a = *Decimal::of(999.993);
    EXPECT_EQ(a.text(), QStringLiteral("999.993"));
    EXPECT_EQ(a.plusThousandths(7)->text(), QStringLiteral("1000"));
    EXPECT_EQ(Decimal::of(0.001)->plusThousandths(-1)->text(), QStringLiteral("0"));
    EXPECT_EQ(Decimal::of(-0.5)->text(), QStringLiteral("-0.5"));
    EXPECT_EQ(Decimal::of(1e-7)->text(), QStringLiteral("0.0000001"));
    // 1000.002 − 1000 is 0.0019999… in doubles: two whole thousandths here.
    EXPECT_EQ(Decimal::thousandthsBetween(*Decimal::of(1000.002), { 1000, 0 }), 2);
    EXPECT_EQ(Decimal::thousandthsBetween({ 1000, 0 }, *Decimal::of(999.9995)), 1);
    EXPECT_EQ(Decimal::thousandthsBetween({ 1000, 0 }, *Decimal::of(1000.0005)), -1);
    EXPECT_FALSE(Decimal::of(std::numeric_limits<double>::infinity()));
}

// The worked examples, under both separators: rows before and after, passes, the label at the end.
TEST_F(RoundingTest, WorkedExamples)
{
    struct Case
    {
        const char *name;
        std::vector<std::optional<double>> rows;
        const char *labelTotal;
        RoundingStep::Zero zero;
        std::vector<std::optional<double>> expected;
        int passes;
    };
    const RoundingStep::Zero changed = RoundingStep::Zero::Changed;
    const RoundingStep::Zero unchanged = RoundingStep::Zero::LeftUnchanged;
    const std::vector<Case> cases = {
        { "999.993: the first 7 rows gain 0.001", { 100, 100, 100, 100, 100, 100, 100, 100, 100, 99.993 },
            "999.993", changed,
            { 100.001, 100.001, 100.001, 100.001, 100.001, 100.001, 100.001, 100, 100, 99.993 }, 1 },
        { "1000.004: the first 4 rows lose 0.001", { 100, 100, 100, 100, 100, 100, 100, 100, 100, 100.004 },
            "1000.004", changed, { 99.999, 99.999, 99.999, 99.999, 100, 100, 100, 100, 100, 100.004 }, 1 },
        { "3 rows at 999.990: passes of 3, 3, 3 and 1", { 333.33, 333.33, 333.33 }, "999.99", changed,
            { 333.334, 333.333, 333.333 }, 4 },
        { "heating zero rule: the 0 is counted, never raised", { 10.5, 0, 20.25, 969.248 }, "999.998",
            unchanged, { 10.502, 0, 20.25, 969.248 }, 2 },
        { "already at its total: nothing changes", { 500, 500 }, "1000", changed, { 500, 500 }, 0 },
    };
    for (const QChar separator : { u',', u'.' }) {
        const vb::DecimalSeparatorScope scope(separator);
        for (const Case &c : cases) {
            makeView(c.rows);
            const RoundingOutcome outcome = bring(c.labelTotal, c.zero);
            EXPECT_EQ(outcome.end, End::Reached) << c.name;
            EXPECT_EQ(outcome.passes, c.passes) << c.name;
            EXPECT_EQ(m_label.text(), QStringLiteral("1000")) << c.name;
            EXPECT_EQ(stored(), c.expected) << c.name;
        }
    }
}

// Another target (the user table's typed one): 99.995 to 100, the first 5 rows gain 0.001.
TEST_F(RoundingTest, TypedTargetOnTheUserTable)
{
    const vb::DecimalSeparatorScope scope(u',');
    makeView({ 10, 10, 10, 10, 10, 10, 10, 10, 10, 9.995 });
    const RoundingOutcome outcome
        = bring("99.995", RoundingStep::Zero::Changed, RoundingStep::Errors::Continue, { 100, 0 });
    EXPECT_EQ(outcome.end, End::Reached);
    EXPECT_EQ(m_label.text(), QStringLiteral("100"));
    EXPECT_EQ(stored(),
        (std::vector<std::optional<double>> {
            10.001, 10.001, 10.001, 10.001, 10.001, 10, 10, 10, 10, 9.995 }));
}

// Every way the total cannot be reached ends with every value as it was and the recounted total
// in the label.
TEST_F(RoundingTest, EndsWhenTheTotalCannotBeReached)
{
    struct Case
    {
        const char *name;
        std::vector<std::optional<double>> rows;
        const char *labelTotal;
        RoundingStep::Zero zero;
        RoundingStep::Errors errors;
        End end;
        const char *finalTotal;
        std::vector<std::optional<double>> expected;
    };
    using Z = RoundingStep::Zero;
    using E = RoundingStep::Errors;
    const std::vector<Case> cases = {
        { "no rows", {}, "0", Z::Changed, E::Stop, End::NoRows, "0", {} },
        { "the only row reached holds 0 under the zero rule", { 0, 999.999 }, "999.999", Z::LeftUnchanged,
            E::Stop, End::NoProgress, "999.999", { 0, 999.999 } },
        { "a lowering pass never takes a 0 below zero", { 0, 1000.001 }, "1000.001", Z::Changed, E::Stop,
            End::NoProgress, "1000.001", { 0, 1000.001 } },
        // A command that cannot reach its total writes nothing, not the passes made on the way.
        { "more than three decimals: a pass that does not get closer", { 499.9995, 500 }, "999.9995",
            Z::Changed, E::Continue, End::NoProgress, "999.9995", { 499.9995, 500 } },
        { "an empty cell where the operation stops", { std::nullopt, 500, 499.999 }, "999.999", Z::Changed,
            E::Stop, End::Failed, "999.999", { std::nullopt, 500, 499.999 } },
        { "an empty cell past the rows reached, where the operation stops: nothing is written",
            { 500, 499.999, std::nullopt }, "999.999", Z::Changed, E::Stop, End::Failed, "999.999",
            { 500, 499.999, std::nullopt } },
        { "an empty cell skipped where it goes on", { std::nullopt, 500, 499.999 }, "999.999", Z::Changed,
            E::Continue, End::NoProgress, "999.999", { std::nullopt, 500, 499.999 } },
    };
    const vb::DecimalSeparatorScope scope(u'.');
    for (const Case &c : cases) {
        makeView(c.rows);
        const RoundingOutcome outcome = bring(c.labelTotal, c.zero, c.errors);
        EXPECT_EQ(outcome.end, c.end) << c.name;
        EXPECT_EQ(outcome.total, QString::fromLatin1(c.finalTotal)) << c.name;
        EXPECT_EQ(stored(), c.expected) << c.name;
    }
}

// The first pass takes its size from the label, not from a fresh sum; later passes from the recount.
TEST_F(RoundingTest, FirstPassStartsFromTheLabel)
{
    const vb::DecimalSeparatorScope scope(u'.');
    makeView({ 500, 499.998 });
    // The label says one thousandth is missing, the column two: the first pass raises one row, the
    // second pass the other.
    const RoundingOutcome outcome = bring("999.999");
    EXPECT_EQ(outcome.end, End::Reached);
    EXPECT_EQ(outcome.passes, 2);
    EXPECT_EQ(stored(), (std::vector<std::optional<double>> { 500.002, 499.998 }));

    // A label that shows the target gives no pass, only the recount, which says it was not reached.
    makeView({ 500, 499.998 });
    const RoundingOutcome none = bring("1000");
    EXPECT_EQ(none.passes, 0);
    EXPECT_EQ(none.end, End::NoProgress);
    EXPECT_EQ(m_label.text(), QStringLiteral("999.998"));
}

} // namespace
} // namespace zav::test
