// Shared rules of the project archive: floor positions, stair letters, the rooms of a unit and
// the table names, checked against the template the build ships.

#include "engine/archive.h"
#include "support/fixtures.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#include <optional>

namespace archive = zav::engine::archive;

namespace {

TEST(ArchiveRules, FloorPositionOfEachKindOfCode)
{
    const struct
    {
        const char *code;
        std::optional<int> position;
    } cases[] = {
        // Basements, below the ground floor.
        { "10S", -11 },
        { "9S", -10 },
        { "2S", -3 },
        { "1S", -2 },
        // The ground floor, then the raised one.
        { "T", -1 },
        { "R", 0 },
        // Numbered floors: their number.
        { "1", 1 },
        { "7", 7 },
        { "40", 40 },
        // No position: "S1", no code, and codes that are not floor codes as written.
        { "S1", std::nullopt },
        { "", std::nullopt },
        { "t", std::nullopt },
        { " 1S", std::nullopt },
        { "11S", std::nullopt },
        { "0S", std::nullopt },
        { "1S2", std::nullopt },
        { "-3", std::nullopt },
    };
    for (const auto &c : cases)
        EXPECT_EQ(archive::floorPosition(QString::fromLatin1(c.code)), c.position) << '"' << c.code << '"';
}

TEST(ArchiveRules, StairsOfABuildingAreItsFirstLetters)
{
    const QString all = QStringLiteral("ABCDEFGHILMNOPQRSTUVZ");
    const struct
    {
        QVariant numScale;
        QString letters;
    } cases[] = {
        { QVariant(), QString() }, // empty: the building has no stairs
        { QVariant(QString()), QString() },
        { QVariant(0), QString() },
        { QVariant(-2), QString() },
        { QVariant(1), QStringLiteral("A") },
        { QVariant(3), QStringLiteral("ABC") },
        { QVariant(3.0), QStringLiteral("ABC") }, // a number field may hand a double
        { QVariant(QStringLiteral("2")), QStringLiteral("AB") },
        { QVariant(10), QStringLiteral("ABCDEFGHIL") }, // J and K are skipped
        { QVariant(21), all },
        { QVariant(30), all }, // never an empty stair past the last letter
        { QVariant(QStringLiteral("due")), QString() },
    };
    for (const auto &c : cases) {
        QStringList expected;
        for (const QChar letter : c.letters)
            expected << QString(letter);
        EXPECT_EQ(archive::stairsOfBuilding(c.numScale), expected) << c.numScale.toString().toStdString();
    }
}

// Runs a structured query on a database as the archive layer does: every condition an equality
// with a bound value, rows in stored order. Returns the DESCRIZIONE of each row found.
// The descriptions of the rooms a query finds, read through the program's own database layer.
QStringList descriptionsFound(const QString &path, const zav::platform::TableQuery &query)
{
    zav::platform::Database db = zav::platform::Database::open(path);
    const zav::platform::Recordset rooms = db.select(query);
    QStringList found;
    for (int row = 0; row < rooms.recordCount(); ++row)
        found << rooms.value(row, rooms.fieldIndex(QStringLiteral("DESCRIZIONE"))).toString();
    return found;
}

TEST(ArchiveRules, RoomsQueryFindsExactlyTheUnitsRooms)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PROVA.CDB"));
    ASSERT_TRUE(QFile::copy(zav::test::builtProgramFolder() + u'/' + archive::TemplateFile, path));
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    const QString connection = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());

        // The owner holds both quote marks; rooms of neighbouring units differ in one key field.
        const QString owner = QStringLiteral("D'Amico \"Gino\"");
        const struct
        {
            QString owner;
            const char *building;
            const char *stair;
            int interno;
            const char *description;
        } rooms[] = {
            { owner, "1", "A", 3, "cucina" },
            { owner, "1", "A", 4, "other unit number" },
            { owner, "1", "B", 3, "other stair" },
            { owner, "2", "A", 3, "other building" },
            { QStringLiteral("D'Amico"), "1", "A", 3, "other owner" },
            { owner, "1", "A", 3, "bagno" },
        };
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO ESPRESSIONI (NOME_CONDOMINO, PALAZ, SCALA, INTERNO, "
                                      "DESCRIZIONE) VALUES (?, ?, ?, ?, ?)"));
        for (const auto &room : rooms) {
            insert.addBindValue(room.owner);
            insert.addBindValue(QString::fromLatin1(room.building));
            insert.addBindValue(QString::fromLatin1(room.stair));
            insert.addBindValue(room.interno);
            insert.addBindValue(QString::fromLatin1(room.description));
            ASSERT_TRUE(insert.exec());
        }
        // A room of the same unit key but with no unit number at all.
        insert.addBindValue(owner);
        insert.addBindValue(QStringLiteral("1"));
        insert.addBindValue(QStringLiteral("A"));
        insert.addBindValue(QVariant());
        insert.addBindValue(QStringLiteral("no unit number"));
        ASSERT_TRUE(insert.exec());

        const QStringList unitRooms = { QStringLiteral("cucina"), QStringLiteral("bagno") };
        // The building and the unit number come as numbers from the units table and as text from
        // the workspace's labels: both find the same rooms.
        EXPECT_EQ(descriptionsFound(path, archive::roomsQuery(owner, 1, QStringLiteral("A"), 3)), unitRooms);
        EXPECT_EQ(
            descriptionsFound(path, archive::roomsQuery(owner, 1.0, QStringLiteral("A"), 3.0)), unitRooms);
        EXPECT_EQ(
            descriptionsFound(path,
                archive::roomsQuery(owner, QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("3"))),
            unitRooms);
        // A unit number that is no whole number finds nothing, not even the rooms without a number.
        for (const QVariant &notWhole :
            { QVariant(QString()), QVariant(QStringLiteral("tre")), QVariant(3.5) })
            EXPECT_TRUE(descriptionsFound(path, archive::roomsQuery(owner, 1, QStringLiteral("A"), notWhole))
                            .isEmpty())
                << notWhole.toString().toStdString();
        // Only a missing unit number finds the rooms that have none.
        EXPECT_EQ(descriptionsFound(path, archive::roomsQuery(owner, 1, QStringLiteral("A"), QVariant())),
            QStringList { QStringLiteral("no unit number") });
    }
    QSqlDatabase::removeDatabase(connection);
}

TEST(ArchiveRules, TableNamesNameTablesOfTheTemplate)
{
    const QString connection = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(zav::test::builtProgramFolder() + u'/' + archive::TemplateFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        ASSERT_TRUE(db.open());
        const QStringList tables = db.tables();
        const QStringList named
            = { archive::ANA_CONDO, archive::COMPOS_PAL, archive::CODIF_PIANI, archive::ESPRESSIONI,
                  archive::MILLESIMI, archive::MIL_PORTIERATO, archive::TEMPORANEO, archive::TEMPORANEO2,
                  archive::MIL_RISC, archive::NEW_TAB, archive::TEMP_VARIE, archive::TAB_WINDOW };
        for (const QString &name : named + archive::coefficientTables() + archive::resultTables())
            EXPECT_TRUE(tables.contains(name)) << name.toStdString();

        const QStringList coefficients = archive::coefficientTables();
        ASSERT_EQ(coefficients.size(), 8);
        EXPECT_EQ(coefficients.first(), u"TAB_COEF");
        EXPECT_EQ(coefficients.at(6), u"TAB_COEF7"); // COEF7, destination
        EXPECT_EQ(archive::resultTables().size(), 5);
    }
    QSqlDatabase::removeDatabase(connection);
}

} // namespace
