// The upgrade of project archives made from older templates: the fields appended at the end of
// their tables, and what it reports.

#include "shell/project/upgrade.h"

#include "engine/archive.h"
#include "platform/db.h"
#include "support/fixtures.h"

#include <QFile>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using zav::platform::Database;
using zav::shell::upgradeArchive;
using zav::shell::UpgradeOutcome;

namespace {

using Drop = std::pair<const char *, const char *>; // table, field

// The fields an archive of the oldest templates lacks.
const std::vector<Drop> AllNewFields { { "ANA_CONDO", "NOTE" }, { "ANA_CONDO", "RISC_50" },
    { "TEMPORANEO", "RIGA" }, { "TEMPORANEO2", "RIGA" }, { "MIL_RISC", "RIGA" }, { "MIL_PORTIERATO", "RIGA" },
    { "MILLESIMI", "RIGA" }, { "TEMP_VARIE", "RIGA" } };

const char *const UpgradedTables[]
    = { "ANA_CONDO", "TEMPORANEO", "TEMPORANEO2", "MIL_RISC", "MIL_PORTIERATO", "MILLESIMI", "TEMP_VARIE" };

// A copy of the template archive with its tables rebuilt without the fields given.
QString oldArchive(const zav::test::TempProgramFolder &program, const QString &name,
    const std::vector<Drop> &drops, const QStringList &droppedTables = {})
{
    const QString path = program.copyOf(QStringLiteral("ARCH_MIL.CLO"), name);
    Database db = Database::open(path);
    for (const auto &[table, field] : drops)
        db.exec(
            QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(QLatin1String(table), QLatin1String(field)));
    for (const QString &table : droppedTables)
        db.dropTable(table);
    return path;
}

QStringList fieldsOf(const QString &path, const QString &table)
{
    return Database::open(path).fields(table);
}

class Upgrade : public ::testing::Test
{
protected:
    zav::test::TempProgramFolder program;
    QString templatePath() const { return program.file(QStringLiteral("ARCH_MIL.CLO")); }
};

} // namespace

TEST_F(Upgrade, AppendsTheMissingFieldsAtTheEndOnceAndKeepsTheRows)
{
    const QString path = oldArchive(program, QStringLiteral("VECCHIO.CDB"), AllNewFields);
    {
        Database db = Database::open(path);
        ASSERT_FALSE(db.fields(QStringLiteral("ANA_CONDO")).contains(QStringLiteral("NOTE")));
        db.insert(
            QStringLiteral("ANA_CONDO"), { { QStringLiteral("NOME"), QStringLiteral("Condominio Aurora") } });
        db.insert(QStringLiteral("MILLESIMI"),
            { { QStringLiteral("CONDOMINO"), QStringLiteral("Rossi") },
                { QStringLiteral("MILLESIMI"), 125.5 } });
    }

    const UpgradeOutcome first = upgradeArchive(path);
    EXPECT_TRUE(first.succeeded());
    EXPECT_EQ(first.added,
        QStringList({ "ANA_CONDO.NOTE", "ANA_CONDO.RISC_50", "TEMPORANEO.RIGA", "TEMPORANEO2.RIGA",
            "MIL_RISC.RIGA", "MIL_PORTIERATO.RIGA", "MILLESIMI.RIGA", "TEMP_VARIE.RIGA" }));

    // NOTE then RISC_50 close ANA_CONDO, RIGA closes each other table: the layout of the template.
    const QStringList header = fieldsOf(path, QStringLiteral("ANA_CONDO"));
    EXPECT_EQ(header.mid(header.size() - 2), QStringList({ "NOTE", "RISC_50" }));
    for (const char *table : UpgradedTables) {
        EXPECT_EQ(fieldsOf(path, QLatin1String(table)), fieldsOf(templatePath(), QLatin1String(table)))
            << table;
        if (QLatin1String(table) != QLatin1String("ANA_CONDO")) {
            EXPECT_EQ(fieldsOf(path, QLatin1String(table)).last(), QStringLiteral("RIGA")) << table;
        }
    }

    Database db = Database::open(path);
    const auto types = db.query(QStringLiteral("SELECT name, type FROM pragma_table_info('ANA_CONDO') "
                                               "WHERE name IN ('NOTE', 'RISC_50') ORDER BY cid"));
    ASSERT_EQ(types.recordCount(), 2);
    EXPECT_TRUE(types.value(0, 1).toString().startsWith(QStringLiteral("TEXT")));
    EXPECT_TRUE(types.value(1, 1).toString().startsWith(QStringLiteral("BOOLEAN")));
    const auto headerRow = db.table(QStringLiteral("ANA_CONDO"));
    ASSERT_EQ(headerRow.recordCount(), 1);
    EXPECT_EQ(headerRow.value(QStringLiteral("NOME")).toString(), QStringLiteral("Condominio Aurora"));
    EXPECT_TRUE(headerRow.value(QStringLiteral("NOTE")).isNull());
    EXPECT_EQ(db.table(QStringLiteral("MILLESIMI")).value(QStringLiteral("MILLESIMI")).toDouble(), 125.5);
    db.close();

    // A second run finds every field and changes nothing.
    const UpgradeOutcome second = upgradeArchive(path);
    EXPECT_TRUE(second.succeeded());
    EXPECT_TRUE(second.added.isEmpty());
    EXPECT_EQ(
        fieldsOf(path, QStringLiteral("ANA_CONDO")), fieldsOf(templatePath(), QStringLiteral("ANA_CONDO")));
}

TEST_F(Upgrade, AddsOnlyWhatIsMissing)
{
    struct Case
    {
        const char *what;
        std::vector<Drop> drops;
        QStringList droppedTables;
        QStringList added;
    };
    const std::vector<Case> cases {
        { "archive made from the current template", {}, {}, {} },
        { "NOTE there, RISC_50 missing", { { "ANA_CONDO", "RISC_50" } }, {}, { "ANA_CONDO.RISC_50" } },
        { "no TEMP_VARIE table",
            { { "TEMPORANEO", "RIGA" }, { "TEMPORANEO2", "RIGA" }, { "MIL_RISC", "RIGA" },
                { "MIL_PORTIERATO", "RIGA" }, { "MILLESIMI", "RIGA" } },
            { "TEMP_VARIE" },
            { "TEMPORANEO.RIGA", "TEMPORANEO2.RIGA", "MIL_RISC.RIGA", "MIL_PORTIERATO.RIGA",
                "MILLESIMI.RIGA" } },
    };
    int n = 0;
    for (const Case &c : cases) {
        const QString path
            = oldArchive(program, QStringLiteral("CASO%1.CDB").arg(++n), c.drops, c.droppedTables);
        const UpgradeOutcome outcome = upgradeArchive(path);
        EXPECT_TRUE(outcome.succeeded()) << c.what;
        EXPECT_EQ(outcome.added, c.added) << c.what;
        for (const char *table : UpgradedTables) {
            if (c.droppedTables.contains(QLatin1String(table))) {
                EXPECT_FALSE(Database::open(path).hasTable(QLatin1String(table))) << c.what;
                continue;
            }
            EXPECT_EQ(fieldsOf(path, QLatin1String(table)), fieldsOf(templatePath(), QLatin1String(table)))
                << c.what << " " << table;
        }
    }
}

TEST_F(Upgrade, AFieldThatCannotBeAddedIsSkippedAndTheOthersAreStillAdded)
{
    // TEMPORANEO2 is a table that refuses a DOUBLE field (a strict table knows no such type); the
    // other tables of the archive lack their fields as usual.
    const QString path = oldArchive(program, QStringLiteral("RIGIDO.CDB"), AllNewFields, { "TEMPORANEO2" });
    Database::open(path).exec(
        QStringLiteral("CREATE TABLE TEMPORANEO2 (CONDOMINO TEXT, PALAZ TEXT, SCALA TEXT) STRICT"));

    const UpgradeOutcome outcome = upgradeArchive(path);
    EXPECT_FALSE(outcome.succeeded());
    EXPECT_EQ(outcome.status, UpgradeOutcome::Status::NotUpgraded);
    EXPECT_FALSE(outcome.error.isEmpty());
    EXPECT_EQ(outcome.added,
        QStringList({ "ANA_CONDO.NOTE", "ANA_CONDO.RISC_50", "TEMPORANEO.RIGA", "MIL_RISC.RIGA",
            "MIL_PORTIERATO.RIGA", "MILLESIMI.RIGA", "TEMP_VARIE.RIGA" }));
    EXPECT_EQ(fieldsOf(path, QStringLiteral("TEMPORANEO2")), QStringList({ "CONDOMINO", "PALAZ", "SCALA" }));
    for (const char *table : UpgradedTables) {
        if (QLatin1String(table) == QLatin1String("TEMPORANEO2"))
            continue;
        EXPECT_EQ(fieldsOf(path, QLatin1String(table)), fieldsOf(templatePath(), QLatin1String(table)))
            << table;
    }
}

TEST_F(Upgrade, AFieldThereInAnotherCaseIsNotAddedAgain)
{
    const QString path = oldArchive(program, QStringLiteral("MINUSCOLO.CDB"), { { "MILLESIMI", "RIGA" } });
    Database::open(path).exec(QStringLiteral("ALTER TABLE MILLESIMI ADD COLUMN riga DOUBLE"));

    const UpgradeOutcome outcome = upgradeArchive(path);
    EXPECT_TRUE(outcome.succeeded());
    EXPECT_TRUE(outcome.added.isEmpty());
    EXPECT_EQ(fieldsOf(path, QStringLiteral("MILLESIMI")).last(), QStringLiteral("riga"));
}

TEST_F(Upgrade, WhatIsNotAProjectArchiveIsReportedAndLeftAlone)
{
    // A missing file is not created.
    const QString missing = program.file(QStringLiteral("ARCHIVI/NESSUNO.CDB"));
    EXPECT_EQ(upgradeArchive(missing).status, UpgradeOutcome::Status::Unreadable);
    EXPECT_FALSE(QFile::exists(missing));

    // A file that is not a database keeps its bytes.
    const QString text = program.file(QStringLiteral("ARCHIVI/TESTO.CDB"));
    {
        QFile file(text);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("non è un archivio\n");
    }
    EXPECT_EQ(upgradeArchive(text).status, UpgradeOutcome::Status::Unreadable);
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("non è un archivio\n"));

    // A database without the project header table: another program's database.
    const QString other = program.file(QStringLiteral("ARCHIVI/ALTRO.CDB"));
    {
        Database db = Database::create(other);
        db.exec(QStringLiteral("CREATE TABLE MILLESIMI (CONDOMINO TEXT)"));
    }
    const UpgradeOutcome outcome = upgradeArchive(other);
    EXPECT_EQ(outcome.status, UpgradeOutcome::Status::NotAnArchive);
    EXPECT_FALSE(outcome.succeeded());
    EXPECT_EQ(fieldsOf(other, QStringLiteral("MILLESIMI")), QStringList({ "CONDOMINO" }));
}

// The index on the rooms' unit key: an archive made without it gets it, and the rooms query of a unit
// (owner, building and stair compared without regard to case) is then answered from it. An archive
// where it cannot be made is upgraded all the same, and nothing is said.
TEST_F(Upgrade, AddsTheIndexOfTheRoomsByUnitWhereItCan)
{
    const auto hasIndex = [](const QString &path) {
        return Database::open(path)
                   .query(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?"),
                       { QStringLiteral("ESPRESSIONI_UNITA") })
                   .recordCount()
            == 1;
    };
    const QString path = oldArchive(program, QStringLiteral("SENZAINDICE.CDB"), {});
    {
        Database db = Database::open(path);
        db.exec(QStringLiteral("DROP INDEX ESPRESSIONI_UNITA"));
        db.insert(QStringLiteral("ESPRESSIONI"),
            { { QStringLiteral("NOME_CONDOMINO"), QStringLiteral("Rossi") },
                { QStringLiteral("PALAZ"), QStringLiteral("1") },
                { QStringLiteral("SCALA"), QStringLiteral("A") }, { QStringLiteral("INTERNO"), 3 } });
    }
    ASSERT_FALSE(hasIndex(path));
    const UpgradeOutcome outcome = upgradeArchive(path);
    EXPECT_TRUE(outcome.succeeded());
    EXPECT_TRUE(outcome.added.isEmpty());
    EXPECT_TRUE(hasIndex(path));

    // The program's own query of a unit's rooms, as it runs it.
    Database db = Database::open(path);
    const zav::platform::TableQuery rooms
        = zav::engine::archive::roomsQuery(QStringLiteral("ROSSI"), 1, QStringLiteral("a"), 3);
    EXPECT_EQ(db.select(rooms).recordCount(), 1);
    QVariantList values;
    const QString sql = Database::selectStatement(rooms, values);
    const auto plan = db.query(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, values);
    QString details;
    for (int row = 0; row < plan.recordCount(); ++row)
        details += plan.value(row, plan.fieldCount() - 1).toString() + u'\n';
    EXPECT_TRUE(details.contains(QStringLiteral("USING INDEX ESPRESSIONI_UNITA"))) << details.toStdString();
    db.close();

    // Rooms without the unit number: no index, and an upgrade that succeeds without a word of it.
    const QString withoutNumber = oldArchive(program, QStringLiteral("SENZAINTERNO.CDB"), {});
    {
        Database old = Database::open(withoutNumber);
        old.exec(QStringLiteral("DROP INDEX ESPRESSIONI_UNITA"));
        old.exec(QStringLiteral("ALTER TABLE ESPRESSIONI DROP COLUMN INTERNO"));
    }
    const UpgradeOutcome partial = upgradeArchive(withoutNumber);
    EXPECT_TRUE(partial.succeeded());
    EXPECT_TRUE(partial.failures.isEmpty());
    EXPECT_TRUE(partial.error.isEmpty());
    EXPECT_FALSE(hasIndex(withoutNumber));
}
