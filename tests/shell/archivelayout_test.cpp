// The archive format the project archives are checked against, read from the template's schema
// script built into the program.

#include "shell/project/archivelayout.h"

#include "platform/db.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace zav::shell;

// The format is the template's: the same tables with the same fields in the same order as the
// template the build makes from the same script.
TEST(ArchiveLayout, TheFormatIsTheTemplates)
{
    zav::platform::Database shipped
        = zav::platform::Database::open(zav::test::builtProgramFolder() + QStringLiteral("/ARCH_MIL.CLO"));
    QStringList names;
    for (const archivelayout::Table &table : archivelayout::format()) {
        names << table.name;
        EXPECT_EQ(table.fields, shipped.fields(table.name)) << table.name.toStdString();
    }
    QStringList shippedNames = shipped.tables();
    shippedNames.sort();
    names.sort();
    EXPECT_EQ(names, shippedNames);
    EXPECT_TRUE(archivelayout::check(shipped).isEmpty());
}

// What the upgrade appends ends its tables in the format, in the upgrade's order.
TEST(ArchiveLayout, TheUpgradesFieldsEndTheirTables)
{
    const auto fieldsOf = [](const char *name) {
        for (const archivelayout::Table &table : archivelayout::format()) {
            if (table.name == QLatin1String(name))
                return table.fields;
        }
        return QStringList();
    };
    EXPECT_EQ(fieldsOf("ANA_CONDO").mid(15), QStringList({ "NOTE", "RISC_50" }));
    for (const char *table :
        { "TEMPORANEO", "TEMPORANEO2", "MIL_RISC", "MIL_PORTIERATO", "MILLESIMI", "TEMP_VARIE" })
        EXPECT_EQ(fieldsOf(table).last(), QStringLiteral("RIGA")) << table;
    EXPECT_EQ(fieldsOf("CODIF_PIANI").at(9), QStringLiteral("HPIANO"));
}

TEST(ArchiveLayout, ScriptsAreReadStatementByStatement)
{
    const QList<archivelayout::Table> tables = archivelayout::tablesOfScript(
        QStringLiteral("-- a comment; with a semicolon\n"
                       "CREATE TABLE UNO (A TEXT COLLATE NOCASE, -- first\n  B VARCHAR(3), C DOUBLE);\n"
                       "INSERT INTO UNO (A) VALUES ('x');\n"
                       "create table DUE (X INTEGER)"));
    ASSERT_EQ(tables.size(), 2);
    EXPECT_EQ(tables.at(0).name, QStringLiteral("UNO"));
    EXPECT_EQ(tables.at(0).fields, QStringList({ "A", "B", "C" }));
    EXPECT_EQ(tables.at(1).name, QStringLiteral("DUE"));
    EXPECT_EQ(tables.at(1).fields, QStringList({ "X" }));
}
