// The copy of the thousandths into unit rows: each row takes the values of its own unit, found
// by owner, building, stair and unit number, whatever the order of the source and the rows it lacks.

#include "expenses/thousandthscopy.h"
#include "expensesfixture.h"

namespace zav::test {
namespace {

using expenses::ThousandthsCopy;
using platform::Database;
using platform::TableQuery;

class ThousandthsCopyTest : public ExpensesTest
{
protected:
    /** A target table of unit rows in a database of its own, with a project code as the summary has. */
    void SetUp() override
    {
        ExpensesTest::SetUp();
        target = folder.copyOf(QStringLiteral("rip_spese2.mdb"), QStringLiteral("TARGET.db"));
        Database d = Database::open(target);
        d.appendField(QStringLiteral("TAB_GENERALE"), { QStringLiteral("COD_CONDOMINIO") });
    }

    void units(const QList<QVariantList> &rows)
    {
        Database d = Database::open(target);
        insert(d, "TAB_GENERALE", { "COD_CONDOMINIO", "nome_condomino", "PAL", "SCALA", "INTERNO" }, rows);
    }

    void source(const char *table, const QList<QVariantList> &rows)
    {
        Database d = Database::open(project);
        insert(d, table, { "CONDOMINO", "PALAZ", "SCALA", "INTERNO", "MILLESIMI" }, rows);
    }

    int copy(const QString &operation,
        const TableQuery &rows = TableQuery { QStringLiteral("TAB_GENERALE"), {}, {} })
    {
        Database p = Database::open(project);
        Database t = Database::open(target);
        return ThousandthsCopy::run(p, t, rows, *ThousandthsCopy::source(operation));
    }

    QVariantList copied(const char *field) const
    {
        return column(target, QStringLiteral("TAB_GENERALE"), QString::fromLatin1(field));
    }

    QString target;
};

TEST_F(ThousandthsCopyTest, ASourceLackingUnitsOrInAnotherOrder)
{
    // Building 1 unheated (not in the heating table), building 10 after building 2 in the rows
    // but before it in the source's text order.
    units({ { "C1", "Rossi", "1", "A", 1 }, { "C1", "Bianchi", "2", "A", 2 }, { "C1", "Verdi", "2", "A", 3 },
        { "C1", "Neri", "10", "A", 4 } });
    source("MIL_RISC",
        { { "Neri", "10", "A", 4, 100.0 }, { "Verdi", "2", "A", 3, 300.0 },
            { "Bianchi", "2", "A", 2, 600.0 } });
    EXPECT_EQ(copy(QStringLiteral("copia_mil_risc")), 3);
    EXPECT_EQ(copied("millesimi_riscaldamento"), (QVariantList { QVariant(), 600.0, 300.0, 100.0 }));
}

TEST_F(ThousandthsCopyTest, TheKeyIsCompared)
{
    units({
        { "C1", "Rossi", "1", "A", 1 }, // owner in another case in the source
        { "C1", "Bianchi", "1", "a", 2 }, // stair in another case
        { "C1", "Verdi", "1", "A", "3" }, // unit number held as text
        { "C1", "Gialli", "1", "A", 4.4 }, // converted to a whole number: 4
        { "C1", "Neri", "1", QVariant(), 5 }, // empty stair on both sides
        { "C1", "Bruni", "1", "A", 6 }, // the source's unit number is not whole
        { "C1", "Blu", "1", "A", QVariant() }, // empty unit number on both sides
        { "C1", QString(), "1", "A", 8 }, // empty owner on both sides
    });
    source("MILLESIMI",
        { { "ROSSI", "1", "A", 1, 1.0 }, { "Bianchi", "1", "A", 2, 2.0 }, { "Verdi", "1", "A", 3, 3.0 },
            { "Gialli", "1", "A", 4, 4.0 }, { "Neri", "1", QVariant(), 5, 5.0 },
            { "Bruni", "1", "A", 6.5, 6.0 }, { "Blu", "1", "A", QVariant(), 7.0 },
            { QString(), "1", "A", 8, 8.0 } });
    EXPECT_EQ(copy(QStringLiteral("copia_mil_glob")), 2);
    EXPECT_EQ(copied("millesimi_generali"),
        (QVariantList { QVariant(), QVariant(), 3.0, 4.0, QVariant(), QVariant(), QVariant(), QVariant() }));
}

TEST_F(ThousandthsCopyTest, TwoFieldsAtOnceAndTheLastMatchWins)
{
    units({ { "C1", "Rossi", "1", "A", 1 }, { "C1", "Rossi", "1", "A", 1 } });
    Database d = Database::open(project);
    insert(d, "TEMPORANEO2", { "CONDOMINO", "PALAZ", "SCALA", "INTERNO", "MEDIA", "MEDIA_ASC" },
        { { "Rossi", "1", "A", 1, 450.0, 400.0 }, { "Rossi", "1", "A", 1, 460.0, 410.0 } });
    d.close();
    // One unit with two rows: both rows take the source's last row.
    EXPECT_EQ(copy(QStringLiteral("copia_mil_scala")), 2);
    EXPECT_EQ(copied("millesimi_scala"), (QVariantList { 460.0, 460.0 }));
    EXPECT_EQ(copied("millesimi_ascensore"), (QVariantList { 410.0, 410.0 }));
}

TEST_F(ThousandthsCopyTest, OnlyTheRowsTheQueryNames)
{
    // The summary's rows of two projects: only CONDO1's are written.
    units({ { "CONDO1", "Rossi", "1", "A", 1 }, { "ALTRO", "Rossi", "1", "A", 1 } });
    source("MIL_PORTIERATO", { { "Rossi", "1", "A", 1, 125.5 } });
    const TableQuery rows { QStringLiteral("TAB_GENERALE"),
        { { QStringLiteral("COD_CONDOMINIO"), QStringLiteral("CONDO1") } }, {} };
    EXPECT_EQ(copy(QStringLiteral("copia_mil_port"), rows), 1);
    EXPECT_EQ(copied("millesimi_portierato"), (QVariantList { 125.5, QVariant() }));
}

TEST_F(ThousandthsCopyTest, EmptySourceOrTarget)
{
    // No target rows: nothing written. An empty source: the rows keep what they hold.
    source("TEMPORANEO", { { "Rossi", "1", "A", 1, 1000.0 } });
    EXPECT_EQ(copy(QStringLiteral("copia_mil_pal")), 0);
    units({ { "C1", "Rossi", "1", "A", 1 } });
    Database t = Database::open(target);
    t.exec(QStringLiteral("UPDATE TAB_GENERALE SET millesimi_generali = 7"));
    t.close();
    EXPECT_EQ(copy(QStringLiteral("copia_mil_glob")), 0);
    EXPECT_EQ(copied("millesimi_generali"), (QVariantList { 7.0 }));
    // A source table the project lacks is a failure of that copy.
    Database p = Database::open(project);
    p.dropTable(QStringLiteral("MIL_RISC"));
    p.close();
    EXPECT_THROW(copy(QStringLiteral("copia_mil_risc")), platform::DbError);
}

TEST(ThousandthsCopySources, FiveCopiesInTheirOrder)
{
    QStringList names;
    for (const ThousandthsCopy::Source &s : ThousandthsCopy::sources())
        names << s.operation;
    EXPECT_EQ(names,
        (QStringList {
            "copia_mil_glob", "copia_mil_pal", "copia_mil_scala", "copia_mil_risc", "copia_mil_port" }));
    EXPECT_EQ(ThousandthsCopy::source(QStringLiteral("copia")), nullptr);
}

} // namespace
} // namespace zav::test
