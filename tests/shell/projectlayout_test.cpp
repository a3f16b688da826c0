// The archive format the project archives are checked against, read from the template's schema
// script built into the program.

#include "shell/project/projectlayout.h"

#include "platform/db.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace zav::shell;
using zav::engine::archivelayout::Table;

// The format is the template's: the same tables with the same fields in the same order as the
// template the build makes from the same script.
TEST(ProjectLayout, TheFormatIsTheTemplates)
{
    zav::platform::Database shipped
        = zav::platform::Database::open(zav::test::builtProgramFolder() + QStringLiteral("/ARCH_MIL.CLO"));
    QStringList names;
    for (const Table &table : projectlayout::format()) {
        names << table.name;
        EXPECT_EQ(table.fields, shipped.fields(table.name)) << table.name.toStdString();
    }
    QStringList shippedNames = shipped.tables();
    shippedNames.sort();
    names.sort();
    EXPECT_EQ(names, shippedNames);
    EXPECT_TRUE(zav::engine::archivelayout::check(shipped, projectlayout::format()).isEmpty());
}

// What the upgrade appends ends its tables in the format, in the upgrade's order.
TEST(ProjectLayout, TheUpgradesFieldsEndTheirTables)
{
    const auto fieldsOf = [](const char *name) {
        for (const Table &table : projectlayout::format()) {
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
