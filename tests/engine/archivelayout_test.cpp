// The check of an archive against a format: schema scripts read into tables, the departures found
// in a small archive, and how they are said.

#include "engine/archivelayout.h"

#include "platform/db.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zav::engine::archivelayout;
using zav::platform::Database;

namespace {

const QList<Table> &smallFormat()
{
    static const QList<Table> format {
        { QStringLiteral("UNO"), { QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C") } },
        { QStringLiteral("DUE"), { QStringLiteral("X") } },
    };
    return format;
}

} // namespace

TEST(ArchiveLayout, ScriptsAreReadStatementByStatement)
{
    const QList<Table> tables = tablesOfScript(
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

TEST(ArchiveLayout, DeparturesFromTheFormatAreFoundAndSaid)
{
    QTemporaryDir dir;
    Database db = Database::create(dir.filePath(QStringLiteral("PROVA.DB")));

    // A matching archive: names in another case, a field after the format's last and a table of
    // the user's own are all allowed.
    db.exec(QStringLiteral("CREATE TABLE uno (a TEXT, b TEXT, c TEXT, EXTRA TEXT)"));
    db.exec(QStringLiteral("CREATE TABLE DUE (X INTEGER)"));
    db.exec(QStringLiteral("CREATE TABLE MIA (Q TEXT)"));
    EXPECT_TRUE(check(db, smallFormat()).isEmpty());
    EXPECT_TRUE(hasAnyFormatTable(db, smallFormat()));

    // C before B, A gone, DUE gone.
    db.exec(QStringLiteral("DROP TABLE uno"));
    db.exec(QStringLiteral("DROP TABLE DUE"));
    db.exec(QStringLiteral("CREATE TABLE UNO (C TEXT, B TEXT)"));
    const QList<Problem> expected {
        { Problem::Kind::MissingField, QStringLiteral("UNO"), QStringLiteral("A"), 0 },
        { Problem::Kind::MisplacedField, QStringLiteral("UNO"), QStringLiteral("C"), 2 },
        { Problem::Kind::MissingTable, QStringLiteral("DUE"), QString(), -1 },
    };
    const QList<Problem> found = check(db, smallFormat());
    EXPECT_EQ(found, expected);
    EXPECT_EQ(describe(found),
        QStringList({ QStringLiteral("nella tabella UNO manca il campo A"),
            QStringLiteral("nella tabella UNO il campo C non è al suo posto (dovrebbe essere il 3°)"),
            QStringLiteral("manca la tabella DUE") }));

    db.exec(QStringLiteral("DROP TABLE UNO"));
    EXPECT_FALSE(hasAnyFormatTable(db, smallFormat()));
}

TEST(ArchiveLayout, DescriptionsStopAtTheLimitAndCountTheRest)
{
    const QList<Problem> problems(5, { Problem::Kind::MissingTable, QStringLiteral("T"), QString(), -1 });
    EXPECT_EQ(describe(problems, 2),
        QStringList({ QStringLiteral("manca la tabella T"), QStringLiteral("manca la tabella T"),
            QStringLiteral("... e altre 3 differenze") }));
    EXPECT_EQ(describe(problems, 5).size(), 5);
}
