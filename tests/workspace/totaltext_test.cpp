// Totals kept as text: the text of a number and the column totals summed through it, under both
// decimal separators. Every expected text is worked out by hand.

#include "platform/db.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"
#include "support/fixtures.h"
#include "workspace/totaltext.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using zav::workspace::TotalText;
namespace vb = zav::platform::vb;

namespace {

// A text written with a point, in the form of the separator in force.
QString local(const char *text)
{
    return QString::fromLatin1(text).replace(u'.', vb::decimalSeparator());
}

TEST(TotalText, TextOfANumber)
{
    const struct
    {
        double value;
        const char *text;
    } cases[] = {
        { 0.0, "0" },
        { -0.0, "0" },
        { 14.5, "14.5" },
        { 1000.0, "1000" },
        { 999.999, "999.999" },
        { -2.5, "-2.5" },
        // Fifteen significant digits, trailing zeros dropped.
        { 1.0 / 3.0, "0.333333333333333" },
        { 2.0 / 3.0 * 1000.0, "666.666666666667" },
        { 123456789.123456789, "123456789.123457" },
        { 0.1 + 0.2, "0.3" },
        // Never the exponent form.
        { 1e15, "1000000000000000" },
        { 1e20, "100000000000000000000" },
        { 1e-7, "0.0000001" },
        { 1.5e-7, "0.00000015" },
        { 0.0001, "0.0001" },
    };
    for (const QChar separator : { u',', u'.' }) {
        const vb::DecimalSeparatorScope scope(separator);
        for (const auto &c : cases) {
            EXPECT_EQ(TotalText::of(c.value), local(c.text)) << c.text << " under " << separator.toLatin1();
            // A total reads back as the number it stands for.
            EXPECT_EQ(TotalText::read(TotalText::of(c.value)), TotalText::read(local(c.text))) << c.text;
        }
    }
    EXPECT_EQ(TotalText::of(std::numeric_limits<double>::quiet_NaN()), QString());
    EXPECT_EQ(TotalText::of(std::numeric_limits<double>::infinity()), QString());
}

TEST(TotalText, EveryPartialSumIsRoundedBeforeTheNextCell)
{
    const struct
    {
        const char *name;
        QVariantList cells;
        const char *total;
    } cases[] = {
        { "three thirds of a thousand", { 333.333, 333.333, 333.333 }, "999.999" },
        { "brought to a thousand", { 333.333, 333.333, 333.334 }, "1000" },
        { "a decimal", { 10.5, 4 }, "14.5" },
        { "heating halves", { 500.5, 499.5 }, "1000" },
        // 0.1 + 0.2 is 0.30000000000000004 in binary; its text is 0.3, and 0.3 + 0.7 is 1.
        { "binary remainders are dropped", { 0.1, 0.2, 0.7 }, "1" },
        // Fifteen significant digits of 1000000000000004 drop its units: each 4 is lost on its
        // own (summed at once, 1000000000000008 would be written 1000000000000010).
        { "at 1e15", { 1e15, 4, 4 }, "1000000000000000" },
        { "at 1e-7", { 1e-7, 1e-7, 1e-7 }, "0.0000003" },
        { "empty and unreadable cells add nothing",
            { 250.25, QVariant(), QString(), QStringLiteral("abc"), 249.75, 500 }, "1000" },
        { "no cell", {}, "0" },
    };
    for (const QChar separator : { u',', u'.' }) {
        const vb::DecimalSeparatorScope scope(separator);
        for (const auto &c : cases) {
            // The text summed cell by cell, and the running total that writes only its last sum.
            QString total = QStringLiteral("0");
            TotalText::Running running;
            for (const QVariant &cell : c.cells)
                EXPECT_EQ(running.add(cell), TotalText::add(total, cell)) << c.name;
            EXPECT_EQ(total, local(c.total)) << c.name << " under " << separator.toLatin1();
            EXPECT_EQ(running.text(), local(c.total)) << c.name << " under " << separator.toLatin1();
        }
    }
}

TEST(TotalText, CellsHeldAsTextReadWithTheSeparatorInForce)
{
    const vb::DecimalSeparatorScope scope(u',');
    QString total = QStringLiteral("0");
    EXPECT_TRUE(TotalText::add(total, QStringLiteral("333,333")));
    EXPECT_TRUE(TotalText::add(total, QStringLiteral("333,333")));
    EXPECT_TRUE(TotalText::add(total, QStringLiteral("333,334")));
    EXPECT_EQ(total, QStringLiteral("1000"));

    // A total that is not a number stays as it is, and so does one that would overflow.
    QString broken = QStringLiteral("abc");
    EXPECT_FALSE(TotalText::add(broken, 1.0));
    EXPECT_EQ(broken, QStringLiteral("abc"));
    QString huge = TotalText::of(1e308);
    const QString before = huge;
    EXPECT_FALSE(TotalText::add(huge, 1e308));
    EXPECT_EQ(huge, before);
    TotalText::Running running;
    EXPECT_TRUE(running.add(1e308));
    EXPECT_FALSE(running.add(1e308));
    EXPECT_EQ(running.text(), before);
    EXPECT_TRUE(running.add(QStringLiteral("-1e308")));
    EXPECT_EQ(running.text(), QStringLiteral("0"));
}

TEST(TotalText, ColumnTotalsWalkEveryRowOfASource)
{
    const vb::DecimalSeparatorScope scope(u',');
    zav::test::TempProgramFolder folder;
    const QString path = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("TOT.CDB"));
    {
        zav::platform::Database db = zav::platform::Database::open(path);
        for (const QVariantList &row : { QVariantList { 333.333, 100 }, QVariantList { 333.333, QVariant() },
                 QVariantList { 333.334, 50.5 } })
            db.insert(QStringLiteral("TEMPORANEO2"),
                { { QStringLiteral("MILLESIMI"), row.at(0) }, { QStringLiteral("MIL_B"), row.at(1) } });
    }
    zav::platform::DataSource source;
    source.setDatabaseName(path);
    source.setRecordSource(QStringLiteral("TEMPORANEO2"));
    source.refresh();
    EXPECT_EQ(TotalText::columnTotals(
                  source, { QStringLiteral("MILLESIMI"), QStringLiteral("MIL_B"), QStringLiteral("NOPE") }),
        (QStringList { QStringLiteral("1000"), QStringLiteral("150,5"), QStringLiteral("0") }));
}

} // namespace
