#include "tables/celltarget.h"
#include "tables/columninuse.h"
#include "tables/typednumber.h"

#include "platform/db.h"
#include "platform/vb.h"
#include "support/openproject.h"
#include "support/scripteddialogs.h"

#include <QList>

#include <gtest/gtest.h>

#include <stdexcept>

namespace zav::test {
namespace {

using platform::vb::DecimalSeparatorScope;
namespace TypedNumber = tables::TypedNumber;

struct TypedCase
{
    const char *typed;
    /** The text stored under the comma and under the point; nullptr = Null, "!" = refused. */
    const char *comma;
    const char *point;
};

TEST(TypedNumberTest, ATypedValueIsStoredAsTheNumbersTextOrRefused)
{
    const TypedCase cases[] = {
        { "0,95", "0,95", "0.95" },
        { "0.95", "0,95", "0.95" }, // either mark is the decimal mark, never a grouping mark
        { " 1,50 ", "1,5", "1.5" },
        { "1,00", "1", "1" },
        { "2", "2", "2" },
        { "-0,5", "-0,5", "-0.5" },
        { "+1,2", "1,2", "1.2" },
        { ",5", "0,5", "0.5" },
        { "5,", "5", "5" },
        { "", nullptr, nullptr },
        { "   ", nullptr, nullptr },
        { "abc", "!", "!" },
        { "1,2,3", "!", "!" },
        { "1.234,5", "!", "!" },
        { "2*3", "!", "!" },
        { "1e3", "!", "!" },
        { "1 5", "!", "!" },
        { "-", "!", "!" },
        { ",", "!", "!" },
        { "0,9a", "!", "!" },
    };
    for (const QChar separator : { u',', u'.' }) {
        DecimalSeparatorScope scope(separator);
        for (const TypedCase &c : cases) {
            SCOPED_TRACE(std::string(c.typed) + " under " + char(separator.toLatin1()));
            const char *expected = separator == u',' ? c.comma : c.point;
            const std::optional<QVariant> stored = TypedNumber::read(QString::fromLatin1(c.typed));
            if (expected && QByteArray(expected) == "!") {
                EXPECT_FALSE(stored);
            } else if (!expected) {
                ASSERT_TRUE(stored);
                EXPECT_TRUE(stored->isNull());
            } else {
                ASSERT_TRUE(stored);
                EXPECT_EQ(stored->toString(), QString::fromLatin1(expected));
            }
        }
    }
}

TEST(TypedNumberTest, ARefusalNamesTheValue)
{
    platform::ScriptedDialogs boxes;
    DecimalSeparatorScope comma(u',');
    TypedNumber::refuse(QStringLiteral(" abc "));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("\"abc\" non è un numero: il valore non è stato registrato.\n"
                       "Scrivere il coefficiente come numero, per esempio 0,95."));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
}

TEST(ColumnInUseTest, TheCaptionShowsTheValueOrNessuna)
{
    EXPECT_EQ(tables::ColumnInUse::caption(QVariant()), QStringLiteral("Tabella utilizzata: Nessuna"));
    EXPECT_EQ(tables::ColumnInUse::caption(QString()), QStringLiteral("Tabella utilizzata: Nessuna"));
    EXPECT_EQ(
        tables::ColumnInUse::caption(QStringLiteral("Tab. C")), QStringLiteral("Tabella utilizzata: Tab. C"));
}

TEST(ColumnInUseTest, MarkingWritesEveryRowOfThatTableAlone)
{
    const OpenProject project;
    const QString archive = project.path();
    tables::ColumnInUse::mark(archive, QStringLiteral("TAB_COEF3"), QStringLiteral("Tab. C"));

    platform::Database db = platform::Database::open(archive);
    const platform::Recordset marked = db.table(QStringLiteral("TAB_COEF3"));
    ASSERT_GT(marked.recordCount(), 1);
    for (int row = 0; row < marked.recordCount(); ++row)
        EXPECT_EQ(marked.value(row, 8), QVariant(QStringLiteral("Tab. C")));
    const platform::Recordset other = db.table(QStringLiteral("TAB_COEF2"));
    for (int row = 0; row < other.recordCount(); ++row)
        EXPECT_TRUE(other.value(row, 8).isNull());

    EXPECT_THROW(tables::ColumnInUse::mark(archive, QStringLiteral("ESPRESSIONI"), QStringLiteral("x")),
        std::invalid_argument);
    EXPECT_THROW(tables::ColumnInUse::mark(project.folder().file(QStringLiteral("NONE.cdb")),
                     QStringLiteral("TAB_COEF"), QStringLiteral("Tab. A")),
        platform::DbError);
}

/** A room grid in memory: rows of cells, a current row and column, and the writes it received. */
class RoomGridDouble : public tables::CellTarget
{
public:
    RoomGridDouble(int rows, int row, int column)
        : cells(rows, QList<QString>(16))
        , current(row)
        , currentCol(column)
    {
    }

    int currentColumn() const override { return currentCol; }
    bool hasCurrentRow() const override { return current >= 0 && current < cells.size(); }
    void moveFirst() override { current = cells.isEmpty() ? -1 : 0; }
    void moveNext() override { current = std::min(current + 1, int(cells.size())); }
    bool setCell(int column, const QString &text) override
    {
        cells[current][column] = text;
        return true;
    }

    QList<QList<QString>> cells;
    int current;
    int currentCol;
};

TEST(CoefficientTransferTest, OneRoomOrEveryRoomReceivesTheValueInTheCurrentColumn)
{
    // No: the current room alone.
    RoomGridDouble one(3, 1, 9);
    EXPECT_EQ(tables::CoefficientTransfer::transfer(one, QStringLiteral("0,92"), false), 1);
    EXPECT_EQ(one.cells[0][9], QString());
    EXPECT_EQ(one.cells[1][9], QStringLiteral("0,92"));
    EXPECT_EQ(one.cells[2][9], QString());
    EXPECT_EQ(one.current, 1);

    // Yes: every room, and the grid ends past its last row.
    RoomGridDouble all(3, 1, 9);
    EXPECT_EQ(tables::CoefficientTransfer::transfer(all, QStringLiteral("0,92"), true), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(all.cells[row][9], QStringLiteral("0,92"));
        EXPECT_EQ(all.cells[row][8], QString());
    }
    EXPECT_FALSE(all.hasCurrentRow());
    EXPECT_EQ(all.current, 3);

    // A grid without rows, or without a current column, receives nothing.
    RoomGridDouble empty(0, -1, 9);
    EXPECT_EQ(tables::CoefficientTransfer::transfer(empty, QStringLiteral("1"), true), 0);
    EXPECT_EQ(tables::CoefficientTransfer::transfer(empty, QStringLiteral("1"), false), 0);
    RoomGridDouble noColumn(2, 0, -1);
    EXPECT_EQ(tables::CoefficientTransfer::transfer(noColumn, QStringLiteral("1"), true), 0);
    EXPECT_EQ(noColumn.cells[0], QList<QString>(16));
}

} // namespace
} // namespace zav::test
