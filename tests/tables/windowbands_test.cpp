#include "tables/windowbands.h"

#include "platform/db.h"
#include "support/openproject.h"
#include "tables/tablearchive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zav::test {
namespace {

using tables::WindowBands;

TEST(WindowBandsTest, CodesPickBandsSevenAndEightExactly)
{
    EXPECT_EQ(WindowBands::bandOfCode(QStringLiteral("C")), QStringLiteral("7"));
    EXPECT_EQ(WindowBands::bandOfCode(QStringLiteral("0")), QStringLiteral("7"));
    EXPECT_EQ(WindowBands::bandOfCode(QStringLiteral("A")), QStringLiteral("8"));
    EXPECT_EQ(WindowBands::bandOfCode(QStringLiteral("00")), QStringLiteral("8"));
    // Anything else is an area to evaluate: the caller upper-cases, nobody trims.
    for (const char *entry : { "c", " C", "C ", "000", "", "1.2*1.4", "AA" })
        EXPECT_FALSE(WindowBands::bandOfCode(QString::fromLatin1(entry))) << entry;
}

struct RatioCase
{
    double window;
    double floor;
    const char *band; ///< nullptr: no band
};

TEST(WindowBandsTest, TheRatioPicksItsBandWithEachLowerLimitExact)
{
    const RatioCase cases[] = {
        { 1.2 * 1.4, 12, "3" }, // 1.68 / 12 = 0.14
        // Each lower limit belongs to its band, also where the double quotient falls just below it.
        { 1.666, 10, "1" },
        { 0.61642, 3.7, "1" }, // 0.1666 exactly; 0.16659999999999997 in binary
        { 1, 6, "1" }, // one sixth lies above 0.1666
        { 1.6659, 10, "2" },
        { 1.4285, 10, "2" },
        { 1.4284, 10, "3" },
        { 0.125, 1, "3" },
        { 0.124, 1, "4" },
        { 0.111, 1, "4" },
        { 1.9203, 17.3, "4" }, // 0.111 exactly
        { 1, 9, "4" }, // one ninth lies above 0.111
        { 0.1109, 1, "5" },
        { 0.3, 3, "5" }, // 0.1 exactly; 0.09999999999999999 in binary
        { 0.0999, 1, "6" },
        { 0.013, 1.3, "6" }, // 0.01 exactly
        { 0.00999, 1, nullptr },
        { 9.999, 1, "1" },
        { 10, 1, nullptr }, // 10 and above: no band
        { 25, 2, nullptr },
        { 0, 12, nullptr },
        { -1, 10, nullptr },
        { 1, 0, nullptr },
        { 1, std::numeric_limits<double>::infinity(), nullptr },
        { std::nan(""), 1, nullptr },
    };
    for (const RatioCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.window << " / " << c.floor);
        const std::optional<QString> band = WindowBands::bandOfRatio(c.window, c.floor);
        if (c.band)
            EXPECT_EQ(band, QString::fromLatin1(c.band));
        else
            EXPECT_FALSE(band);
    }
}

TEST(WindowBandsTest, TheCoefficientComesFromTheEditedTableInStoredOrder)
{
    const OpenProject project;
    const QString archive = project.path();

    // The defaults that ship with the template.
    const WindowBands defaults = WindowBands::read(archive);
    const char *shipped[] = { "1,00", "0,96", "0,92", "0,88", "0,84", "0,80", "0,70", "0,60" };
    for (int band = 1; band <= 8; ++band)
        EXPECT_EQ(
            defaults.coefficient(QString::number(band)), QVariant(QString::fromLatin1(shipped[band - 1])));

    // The user edits band 3, and adds a second row for band 5 after the first one.
    {
        platform::Database db = platform::Database::open(archive);
        const platform::Recordset rs = db.table(QStringLiteral("TAB_WINDOW"));
        db.update(QStringLiteral("TAB_WINDOW"), rs.rowidAt(2),
            { { QStringLiteral("COEFF"), QStringLiteral("0,90") } });
        db.insert(QStringLiteral("TAB_WINDOW"),
            { { QStringLiteral("COEFF"), QStringLiteral("0,10") },
                { QStringLiteral("CAMPO"), QStringLiteral("5") } });
    }
    const WindowBands edited = WindowBands::read(archive);
    EXPECT_EQ(edited.coefficient(*WindowBands::bandOfRatio(1.68, 12)), QVariant(QStringLiteral("0,90")));
    EXPECT_EQ(edited.coefficient(QStringLiteral("5")), QVariant(QStringLiteral("0,84")));
    EXPECT_FALSE(edited.coefficient(QStringLiteral("9")));
    EXPECT_FALSE(edited.coefficient(QStringLiteral("05")));

    // The template keeps its own values.
    EXPECT_EQ(WindowBands::read(tables::TableArchive::templatePath()).coefficient(QStringLiteral("3")),
        QVariant(QStringLiteral("0,92")));

    // An archive without the table cannot be read.
    platform::Database::open(archive).dropTable(QStringLiteral("TAB_WINDOW"));
    EXPECT_THROW(WindowBands::read(archive), platform::DbError);
}

} // namespace
} // namespace zav::test
