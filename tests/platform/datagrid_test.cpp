#include "platform/ui/datagrid.h"

#include "platform/ui/datasource.h"
#include "platform/db.h"
#include "support/scripteddialogs.h"
#include "platform/vb.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace zav::platform;

namespace {

class DataGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_path = m_dir.filePath(QStringLiteral("PROVA.CDB"));
        Database db = Database::create(m_path);
        db.createTable(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("ID"), FieldType::Integer }, { QStringLiteral("NUM_PAL"), FieldType::Integer },
                { QStringLiteral("SCALA"), FieldType::Text },
                { QStringLiteral("PROPRIETARIO"), FieldType::Text },
                { QStringLiteral("HPIANO"), FieldType::Double } });
        for (const char *owner : { "Rossi", "Bianchi", "Verdi" })
            db.insert(QStringLiteral("CODIF_PIANI"),
                { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                    { QStringLiteral("PROPRIETARIO"), QString::fromLatin1(owner) },
                    { QStringLiteral("HPIANO"), 3.0 } });
        source.setDatabaseName(m_path);
        source.setRecordSource(QStringLiteral("CODIF_PIANI"));
        grid.setDataSource(&source);
        grid.setColumns({ { QStringLiteral("NUM_PAL"), QStringLiteral("N° Pal.") },
            { QStringLiteral("SCALA"), QStringLiteral("Scala") },
            { QStringLiteral("PROPRIETARIO"), QStringLiteral("Proprietario"), 200, true, true },
            { QStringLiteral("HPIANO"), QStringLiteral("H. Piano") },
            { QStringLiteral("ID"), QString(), -1, false } });
        source.refresh();
    }

    QVariant stored(int row, const QString &field)
    {
        Database db = Database::open(m_path);
        const Recordset rs = db.table(QStringLiteral("CODIF_PIANI"));
        return rs.value(row, rs.fieldIndex(field));
    }

    QTemporaryDir m_dir;
    QString m_path;
    DataSource source;
    DataGrid grid;
    ScriptedDialogs boxes;
};

TEST_F(DataGridTest, ColumnsShowTheirFieldsUnderTheirCaptions)
{
    QAbstractItemModel *model = grid.model();
    ASSERT_EQ(model->rowCount(), 3);
    ASSERT_EQ(model->columnCount(), 5);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("N° Pal."));
    EXPECT_EQ(model->headerData(4, Qt::Horizontal).toString(), QStringLiteral("ID"));
    EXPECT_EQ(model->index(1, 2).data().toString(), QStringLiteral("Bianchi"));
    EXPECT_TRUE(grid.isColumnHidden(4));
    EXPECT_EQ(grid.columnWidth(2), 200);
    EXPECT_EQ(grid.columnByCaption(QStringLiteral("Scala")), 1);
    // A locked column cannot be edited; the others can.
    EXPECT_FALSE(model->flags(model->index(0, 2)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable);
    grid.setAllowUpdate(false);
    EXPECT_FALSE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable);
}

TEST_F(DataGridTest, AnEditedCellIsStoredAndAClearedCellIsNull)
{
    vb::DecimalSeparatorScope comma(u',');
    QAbstractItemModel *model = grid.model();
    EXPECT_TRUE(model->setData(model->index(2, 3), QStringLiteral("2,85")));
    EXPECT_DOUBLE_EQ(stored(2, QStringLiteral("HPIANO")).toDouble(), 2.85);
    EXPECT_EQ(model->index(2, 3).data().toString(), QStringLiteral("2,85"));

    EXPECT_TRUE(model->setData(model->index(0, 1), QString()));
    EXPECT_TRUE(stored(0, QStringLiteral("SCALA")).isNull());

    // Text that a number field cannot hold is refused with the runtime's message.
    EXPECT_FALSE(model->setData(model->index(1, 0), QStringLiteral("uno")));
    EXPECT_EQ(stored(1, QStringLiteral("NUM_PAL")).toInt(), 1);
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Tipo non corrispondente.") });
}

TEST_F(DataGridTest, GridAndSourceShareTheCurrentRow)
{
    EXPECT_EQ(grid.row(), 0);
    grid.setCurrentIndex(grid.model()->index(2, 1));
    EXPECT_EQ(source.currentRow(), 2);
    EXPECT_EQ(grid.columnText(2), QStringLiteral("Verdi"));

    source.setCurrentRow(1);
    EXPECT_EQ(grid.currentIndex().row(), 1);
    EXPECT_EQ(grid.columnValue(2).toString(), QStringLiteral("Bianchi"));

    // Deleting and re-reading reach the grid's rows.
    source.deleteCurrent();
    EXPECT_EQ(grid.model()->rowCount(), 2);
    EXPECT_EQ(grid.columnText(2), QStringLiteral("Verdi"));
    {
        Database db = Database::open(m_path);
        db.insert(
            QStringLiteral("CODIF_PIANI"), { { QStringLiteral("PROPRIETARIO"), QStringLiteral("Neri") } });
    }
    source.refresh();
    EXPECT_EQ(grid.model()->rowCount(), 3);
    EXPECT_EQ(grid.row(), 0);
    EXPECT_EQ(grid.model()->index(2, 2).data().toString(), QStringLiteral("Neri"));
}

TEST_F(DataGridTest, SelectionBookmarksAreRowids)
{
    const qint64 first = source.rowid(0);
    const qint64 third = source.rowid(2);
    grid.selectBookmark(third);
    grid.selectBookmark(first);
    EXPECT_EQ(grid.selectedBookmarks(), (QList<qint64> { first, third }));
}

TEST_F(DataGridTest, LayoutsAreSavedAndLoadedByName)
{
    const QString file = m_dir.filePath(QStringLiteral("Layout_prova"));
    ASSERT_TRUE(grid.saveLayout(file, QStringLiteral("Completa")));
    grid.setColumns({ { QStringLiteral("PROPRIETARIO"), QStringLiteral("Nome"), 90, true, false, true } });
    ASSERT_TRUE(grid.saveLayout(file, QStringLiteral("Ridotta")));

    ASSERT_TRUE(grid.loadLayout(file, QStringLiteral("Completa")));
    ASSERT_EQ(grid.columnCount(), 5);
    EXPECT_EQ(grid.column(0).caption, QStringLiteral("N° Pal."));
    EXPECT_EQ(grid.column(2).width, 200);
    EXPECT_TRUE(grid.column(2).locked);
    EXPECT_FALSE(grid.column(4).visible);
    EXPECT_TRUE(grid.isColumnHidden(4));

    ASSERT_TRUE(grid.loadLayout(file, QStringLiteral("Ridotta")));
    ASSERT_EQ(grid.columnCount(), 1);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nome"));
    EXPECT_TRUE(grid.column(0).button);
    EXPECT_EQ(grid.columnWidth(0), 90);

    // A layout that is not in the file leaves the columns alone.
    EXPECT_FALSE(grid.loadLayout(file, QStringLiteral("Manca")));
    EXPECT_FALSE(grid.loadLayout(m_dir.filePath(QStringLiteral("manca")), QStringLiteral("Completa")));
    EXPECT_EQ(grid.columnCount(), 1);
}

TEST_F(DataGridTest, ACellButtonReportsItsColumn)
{
    DataGridColumn owner = grid.column(2);
    owner.button = true;
    grid.setColumn(2, owner);
    grid.resize(600, 200);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy clicks(&grid, &DataGrid::buttonClick);
    const QRect cell = grid.visualRect(grid.model()->index(0, 2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(cell.right() - 4, cell.center().y()));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 2);
    // A click elsewhere in the cell is no button click.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 4, cell.center().y()));
    EXPECT_EQ(clicks.count(), 1);
}

} // namespace
