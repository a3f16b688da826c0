#include "shell/project/decimalconversion.h"

#include "platform/db.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <functional>

namespace zav::test {
namespace {

using platform::Database;
using shell::DecimalConversion;
using Direction = DecimalConversion::Direction;

struct SwapCase
{
    const char *text;
    Direction direction;
    const char *expected;
};

TEST(DecimalConversionSwap, EverySeparatorOfTheDirectionIsSwappedAndNothingElse)
{
    const SwapCase cases[] = {
        { "1,25", Direction::CommaToPoint, "1.25" },
        { "1.25", Direction::PointToComma, "1,25" },
        { "1.000,5", Direction::CommaToPoint, "1.000.5" },
        { "1.000.5", Direction::PointToComma, "1,000,5" },
        { "1.25", Direction::CommaToPoint, "1.25" },
        { "7", Direction::PointToComma, "7" },
        { "", Direction::CommaToPoint, "" },
        { "Sud, Est. 2,5", Direction::CommaToPoint, "Sud. Est. 2.5" },
    };
    for (const SwapCase &c : cases) {
        EXPECT_EQ(DecimalConversion::swapSeparator(QString::fromUtf8(c.text), c.direction),
            QString::fromUtf8(c.expected))
            << c.text;
    }
}

// A project archive with one row in each kind of table, every field filled with text that holds
// a separator, so that a field converted when it should not be (or the reverse) shows.
class DecimalConversionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("PROVA.CDB"));
        Database db = Database::open(path);
        for (const QString &table : { QStringLiteral("TAB_COEF"), QStringLiteral("TAB_COEF8") }) {
            db.clear(table);
            db.insert(table,
                { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Piano 1,5") },
                    { QStringLiteral("TAB_A"), QStringLiteral("1,25") },
                    { QStringLiteral("TAB_B"), QStringLiteral("0,9") },
                    { QStringLiteral("TAB_F"), QStringLiteral("1,1") },
                    { QStringLiteral("TAB_G"), QStringLiteral("0,95") },
                    { QStringLiteral("TAB_UTIL"), QStringLiteral("Tab. A") } });
        }
        db.clear(QStringLiteral("TAB_WINDOW"));
        db.insert(QStringLiteral("TAB_WINDOW"),
            { { QStringLiteral("DESCR"), QStringLiteral("K da 0,1 a 0,111") },
                { QStringLiteral("COEFF"), QStringLiteral("0,84") },
                { QStringLiteral("CAMPO"), QStringLiteral("5") } });
        QList<std::pair<QString, QVariant>> room;
        const QStringList fields = db.fields(QStringLiteral("ESPRESSIONI"));
        for (int i = 0; i < fields.size(); ++i)
            room.append({ fields.at(i), QStringLiteral("%1,5").arg(i) });
        room[2].second = QStringLiteral("3.5*4");
        room[18].second = QStringLiteral("2.5*3");
        room[20].second = QStringLiteral("1.2*1.4");
        room[22].second = 3;
        room[9].second = QVariant(); // an empty coefficient stays empty
        db.insert(QStringLiteral("ESPRESSIONI"), room);
    }

    QVariant field(const QString &table, int position)
    {
        Database db = Database::open(path);
        return db.table(table).value(0, position);
    }

    TempProgramFolder folder;
    QString path;
};

TEST_F(DecimalConversionTest, CoefficientColumnsWindowCoefficientAndRoomNumbersAreConvertedBothWays)
{
    DecimalConversion::Result result = DecimalConversion::convertArchive(path, Direction::CommaToPoint);
    EXPECT_TRUE(result.complete());

    for (const QString &table : { QStringLiteral("TAB_COEF"), QStringLiteral("TAB_COEF8") }) {
        // The seven coefficient columns TAB_A to TAB_G; not the description, not the column in use.
        EXPECT_EQ(field(table, 0).toString(), QStringLiteral("Piano 1,5")) << table.toStdString();
        EXPECT_EQ(field(table, 1).toString(), QStringLiteral("1.25")) << table.toStdString();
        EXPECT_EQ(field(table, 2).toString(), QStringLiteral("0.9")) << table.toStdString();
        EXPECT_TRUE(field(table, 3).isNull()) << table.toStdString();
        EXPECT_EQ(field(table, 6).toString(), QStringLiteral("1.1")) << table.toStdString();
        EXPECT_EQ(field(table, 7).toString(), QStringLiteral("0.95")) << table.toStdString();
        EXPECT_EQ(field(table, 8).toString(), QStringLiteral("Tab. A")) << table.toStdString();
    }
    // The other tables' rows too: the template's orientation "Nord" holds "1,00".
    EXPECT_EQ(field(QStringLiteral("TAB_COEF2"), 0).toString(), QStringLiteral("Nord"));
    EXPECT_EQ(field(QStringLiteral("TAB_COEF2"), 1).toString(), QStringLiteral("1.00"));

    EXPECT_EQ(field(QStringLiteral("TAB_WINDOW"), 0).toString(), QStringLiteral("K da 0,1 a 0,111"));
    EXPECT_EQ(field(QStringLiteral("TAB_WINDOW"), 1).toString(), QStringLiteral("0.84"));

    const QString rooms = QStringLiteral("ESPRESSIONI");
    for (int position : { 0, 1, 23 })
        EXPECT_EQ(field(rooms, position).toString(), QStringLiteral("%1,5").arg(position)) << position;
    EXPECT_EQ(field(rooms, 2).toString(), QStringLiteral("3.5*4"));
    EXPECT_EQ(field(rooms, 18).toString(), QStringLiteral("2.5*3"));
    EXPECT_EQ(field(rooms, 20).toString(), QStringLiteral("1.2*1.4"));
    EXPECT_EQ(field(rooms, 22).toInt(), 3);
    EXPECT_TRUE(field(rooms, 9).isNull());
    for (int position : { 3, 4, 5, 8, 12, 13, 14, 15, 16, 17, 19, 21 })
        EXPECT_EQ(field(rooms, position).toString(), QStringLiteral("%1.5").arg(position)) << position;

    // Converting again the same way changes nothing more.
    DecimalConversion::convertArchive(path, Direction::CommaToPoint);
    EXPECT_EQ(field(QStringLiteral("TAB_COEF"), 1).toString(), QStringLiteral("1.25"));
    EXPECT_EQ(field(rooms, 3).toString(), QStringLiteral("3.5"));

    // Back to the comma: the numbers as they were, and the expressions keep their points.
    result = DecimalConversion::convertArchive(path, Direction::PointToComma);
    EXPECT_TRUE(result.complete());
    EXPECT_EQ(field(QStringLiteral("TAB_COEF"), 1).toString(), QStringLiteral("1,25"));
    EXPECT_EQ(field(QStringLiteral("TAB_COEF"), 7).toString(), QStringLiteral("0,95"));
    EXPECT_EQ(field(QStringLiteral("TAB_COEF"), 8).toString(), QStringLiteral("Tab. A"));
    EXPECT_EQ(field(QStringLiteral("TAB_WINDOW"), 1).toString(), QStringLiteral("0,84"));
    EXPECT_EQ(field(rooms, 21).toString(), QStringLiteral("21,5"));
    EXPECT_EQ(field(rooms, 18).toString(), QStringLiteral("2.5*3"));
    EXPECT_EQ(field(rooms, 2).toString(), QStringLiteral("3.5*4"));
}

TEST_F(DecimalConversionTest, AMissingTableIsNamedAndTheOthersAreConverted)
{
    {
        Database db = Database::open(path);
        db.dropTable(QStringLiteral("TAB_COEF5"));
    }
    QList<int> steps;
    const DecimalConversion::Result result = DecimalConversion::convertArchive(
        path, Direction::CommaToPoint, [&](int table) { steps << table; });
    EXPECT_EQ(result.failedTables, QStringList { QStringLiteral("TAB_COEF5") });
    EXPECT_EQ(steps, (QList<int> { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 }));
    EXPECT_EQ(field(QStringLiteral("TAB_COEF8"), 1).toString(), QStringLiteral("1.25"));
    EXPECT_EQ(field(QStringLiteral("ESPRESSIONI"), 3).toString(), QStringLiteral("3.5"));
}

TEST_F(DecimalConversionTest, AnArchiveThatCannotBeOpenedConvertsNothing)
{
    EXPECT_THROW(
        DecimalConversion::convertArchive(folder.file(QStringLiteral("MANCA.CDB")), Direction::CommaToPoint),
        platform::DbError);
}

} // namespace
} // namespace zav::test
