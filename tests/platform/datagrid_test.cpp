#include "platform/ui/datagrid.h"

#include "platform/db.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

#include <memory>

using namespace zav::platform;

namespace {

/** The refusal of text a number field cannot hold, as the user reads it under the separator in force. */
QString notANumber(const QString &typed)
{
    const QString form = vb::decimalSeparator() == u','
        ? QStringLiteral("scrivere i decimali dopo la virgola e il punto solo fra gruppi di tre cifre della "
                         "parte intera, per esempio 1.234,5")
        : QStringLiteral("scrivere i decimali dopo il punto e la virgola solo fra gruppi di tre cifre della "
                         "parte intera, per esempio 1,234.5");
    return QStringLiteral("Tipo non corrispondente. \"%1\" non è un numero: %2.").arg(typed, form);
}

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

    /**
     * Rows holding only these values in the field of a column, added after the three; the column
     * narrowed to the least width and a short caption; the grid shown on every row.
     */
    void showNarrowed(int column, const QString &caption, const QVariantList &values)
    {
        DataGridColumn narrow = grid.column(column);
        {
            Database db = Database::open(m_path);
            for (const QVariant &value : values)
                db.insert(QStringLiteral("CODIF_PIANI"), { { narrow.dataField, value } });
        }
        narrow.width = 5;
        narrow.caption = caption;
        grid.setColumn(column, narrow);
        grid.resize(300, 200);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
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
    EXPECT_EQ(boxes.messages(), QStringList { notANumber(QStringLiteral("uno")) });
}

// A number field takes a number read whole under the separator in force, or refuses the text and
// says how to write it; a refused value stores nothing.
TEST_F(DataGridTest, ANumberFieldReadsTheTextWholeOrSaysHowToWriteIt)
{
    const struct
    {
        char16_t separator;
        const char *typed;
        std::optional<double> stored;
    } cases[] = {
        { u',', "2,85", 2.85 },
        { u',', "1.000", 1000.0 },
        { u',', "4.20", std::nullopt },
        { u',', "0.5", std::nullopt },
        { u'.', "2.85", 2.85 },
        { u'.', "1,000.5", 1000.5 },
        { u'.', "0,5", std::nullopt },
        { u'.', "3,5", std::nullopt },
    };
    QAbstractItemModel *model = grid.model();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        vb::DecimalSeparatorScope scope(c.separator);
        boxes.clear();
        const double before = stored(0, QStringLiteral("HPIANO")).toDouble();
        EXPECT_EQ(model->setData(model->index(0, 3), QString::fromLatin1(c.typed)), c.stored.has_value());
        if (c.stored) {
            EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("HPIANO")).toDouble(), *c.stored);
            EXPECT_TRUE(boxes.shown().isEmpty());
        } else {
            EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("HPIANO")).toDouble(), before);
            EXPECT_EQ(boxes.messages(), QStringList { notANumber(QString::fromLatin1(c.typed)) });
        }
    }
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

// A column given too narrow a width still shows its caption and its values whole, a cell button's
// room included: "0.95" is never cut to "0.9" under the button.
TEST_F(DataGridTest, AColumnIsNeverNarrowerThanItsCaptionAndItsValuesNeed)
{
    {
        Database db = Database::open(m_path);
        db.exec(QStringLiteral("UPDATE CODIF_PIANI SET HPIANO = 0.95"));
    }
    source.refresh();
    DataGridColumn height = grid.column(3);
    height.width = 10;
    height.button = true;
    grid.setColumn(3, height);
    DataGridColumn stair = grid.column(1);
    stair.width = 5;
    stair.caption = QStringLiteral("Scala di accesso");
    grid.setColumn(1, stair);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const QFontMetrics metrics(grid.font());
    const QString shown = grid.model()->index(0, 3).data().toString();
    ASSERT_TRUE(shown.startsWith(QStringLiteral("0"))) << shown.toStdString();
    EXPECT_GT(grid.columnWidth(3), metrics.horizontalAdvance(shown) + 16);
    EXPECT_GE(grid.columnWidth(1),
        QFontMetrics(grid.horizontalHeader()->font()).horizontalAdvance(QStringLiteral("Scala di accesso")));
}

// Among thousands of rows the widest value may stand anywhere: its column fits it wherever it stands,
// a row far below those in view included, for a text as for a number.
TEST_F(DataGridTest, AColumnFitsItsWidestValueWhereverItsRowStands)
{
    constexpr int rows = 3000;
    const QString longOwner = QStringLiteral("Amministrazione condominiale Rossi");
    for (const int wide : { 0, 2345 }) {
        SCOPED_TRACE(wide);
        {
            Database db = Database::open(m_path);
            auto transaction = db.transaction();
            db.exec(QStringLiteral("DELETE FROM CODIF_PIANI"));
            Statement insert = db.prepare(QStringLiteral(
                "INSERT INTO CODIF_PIANI (NUM_PAL, SCALA, PROPRIETARIO, HPIANO) VALUES (1, 'A', ?, ?)"));
            for (int row = 0; row < rows; ++row)
                insert.exec(
                    { row == wide ? longOwner : QStringLiteral("R"), row == wide + 1 ? 123456.5 : 3.0 });
            transaction.commit();
        }
        source.refresh();
        for (const int c : { 2, 3 }) {
            DataGridColumn narrow = grid.column(c);
            narrow.width = 10;
            grid.setColumn(c, narrow);
        }
        const QFontMetrics metrics(grid.font());
        const QString number = grid.model()->index(wide + 1, 3).data().toString();
        ASSERT_TRUE(number.startsWith(QStringLiteral("123456"))) << number.toStdString();
        EXPECT_GT(grid.columnWidth(2), metrics.horizontalAdvance(longOwner));
        EXPECT_GT(grid.columnWidth(3), metrics.horizontalAdvance(number));
    }
}

// A number column is as wide as its widest number, sign included, wherever the row stands (beyond
// the rows in view too), and a drag of its edge does not narrow it further: a sign is never cut.
TEST_F(DataGridTest, ANumberColumnIsAtLeastAsWideAsItsWidestNumberWithItsSign)
{
    showNarrowed(0, QStringLiteral("P"), QVariantList(200, 1) << -1234567);
    const QString widest = QStringLiteral("-1234567");
    ASSERT_FALSE(grid.model()->match(grid.model()->index(0, 0), Qt::DisplayRole, widest).isEmpty());
    const int least = QFontMetrics(grid.font()).horizontalAdvance(widest);
    EXPECT_GT(grid.columnWidth(0), least);
    grid.horizontalHeader()->resizeSection(0, 4);
    EXPECT_GT(grid.columnWidth(0), least);
    // A text column may still be narrowed by hand.
    grid.horizontalHeader()->resizeSection(2, 30);
    EXPECT_EQ(grid.columnWidth(2), 30);
}

TEST_F(DataGridTest, ARefreshMeasuresTheNumbersItChangedAgain)
{
    showNarrowed(3, QStringLiteral("H"), QVariantList(200, 3.0) << 10.0);
    const int wide = QFontMetrics(grid.font()).horizontalAdvance(vb::CStr(3.14159265));
    // Each refresh follows a change made behind the grid; the column fits the longest number read.
    // Row 101 is neither in view, nor among the rows sampled for the column's content, nor its
    // largest or smallest number: only the measure of every number finds it.
    const struct Step
    {
        const char *change;
        bool wide;
    } steps[] = {
        { "UPDATE CODIF_PIANI SET HPIANO = 3.14159265 WHERE rowid = 101", true },
        { "UPDATE CODIF_PIANI SET ID = 7", true },
        { "UPDATE CODIF_PIANI SET HPIANO = 3 WHERE rowid = 101", false },
        { "INSERT INTO CODIF_PIANI (HPIANO) VALUES (3.14159265)", true },
        { "DELETE FROM CODIF_PIANI WHERE HPIANO > 3.1", false },
    };
    for (const Step &step : steps) {
        Database(Database::open(m_path)).exec(QString::fromLatin1(step.change));
        source.refresh();
        EXPECT_EQ(grid.columnWidth(3) > wide, step.wide) << step.change;
    }
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

// --- Formats, alignment, read-only mode and the model's header ---------------------------------

/** A rooms table with a number, numbers held as text and a yes/no, shown through its own columns. */
class DataGridDisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_path = m_dir.filePath(QStringLiteral("STANZE.CDB"));
        Database db = Database::create(m_path);
        db.createTable(QStringLiteral("STANZE"),
            { { QStringLiteral("DESCR"), FieldType::Text }, { QStringLiteral("MQ"), FieldType::Double },
                { QStringLiteral("QUOTA"), FieldType::Text },
                { QStringLiteral("FLAG"), FieldType::Boolean } });
        db.insert(QStringLiteral("STANZE"),
            { { QStringLiteral("DESCR"), QStringLiteral("Cucina") }, { QStringLiteral("MQ"), 2.85 },
                { QStringLiteral("QUOTA"), QStringLiteral("1,5") }, { QStringLiteral("FLAG"), true } });
        db.insert(QStringLiteral("STANZE"),
            { { QStringLiteral("DESCR"), QStringLiteral("Bagno") }, { QStringLiteral("MQ"), 1234.5 },
                { QStringLiteral("QUOTA"), QStringLiteral("0,0625") }, { QStringLiteral("FLAG"), false } });
        db.insert(QStringLiteral("STANZE"), { { QStringLiteral("DESCR"), QVariant() } });
        db.close();
        source.setDatabaseName(m_path);
        source.setRecordSource(QStringLiteral("STANZE"));
        grid.setDataSource(&source);
        source.refresh();
    }

    QVariant stored(int row, const QString &field)
    {
        Database db = Database::open(m_path);
        const Recordset rs = db.table(QStringLiteral("STANZE"));
        return rs.value(row, rs.fieldIndex(field));
    }

    /** The text of one cell under a one-column layout of a field in a format. */
    QString shown(const QString &field, const QString &format, int row)
    {
        grid.setColumns({ DataGridColumn { field, QString(), -1, true, false, false, format } });
        return grid.model()->index(row, 0).data().toString();
    }

    static Qt::Alignment alignmentOf(const QVariant &value) { return Qt::Alignment(value.toInt()); }

    QTemporaryDir m_dir;
    QString m_path;
    DataSource source;
    DataGrid grid;
    ScriptedDialogs boxes;
};

TEST_F(DataGridDisplayTest, ACellShowsItsValueInTheColumnsFormatUnderEitherSeparator)
{
    const QString previousSymbol = vb::currencySymbol();
    vb::setCurrencySymbol(QStringLiteral("€"));
    struct Case
    {
        const char *field;
        int row;
        const char *format;
        const char *comma;
        const char *point;
    };
    // MQ holds 2.85, 1234.5 and Null.
    const Case cases[] = {
        { "MQ", 0, "##0.000", "2,850", "2.850" },
        { "MQ", 1, "##0.000", "1234,500", "1234.500" },
        { "MQ", 1, "#,##0.00", "1.234,50", "1,234.50" },
        { "MQ", 0, "###0.0##", "2,85", "2.85" },
        { "MQ", 1, "###0.0##", "1234,5", "1234.5" },
        { "MQ", 1, "Currency", "€ 1.234,50", "€ 1,234.50" },
        { "MQ", 1, "General Number", "1234,5", "1234.5" },
        { "MQ", 0, "", "2,85", "2.85" },
        { "MQ", 2, "##0.000", "", "" },
        // Text that is not a number shows unchanged.
        { "DESCR", 0, "##0.000", "Cucina", "Cucina" },
    };
    for (const QChar separator : { QChar(u','), QChar(u'.') }) {
        vb::DecimalSeparatorScope scope(separator);
        for (const Case &c : cases) {
            const QString expected = QString::fromUtf8(separator == u',' ? c.comma : c.point);
            EXPECT_EQ(shown(QLatin1String(c.field), QString::fromUtf8(c.format), c.row), expected)
                << c.field << " row " << c.row << " '" << c.format << "' under '" << separator.toLatin1()
                << "'";
        }
    }

    // Numbers held as text are formatted as the numbers they read as (comma, as the archives
    // hold them): 1,5 and 0,0625, the latter rounded half away from zero.
    vb::DecimalSeparatorScope comma(u',');
    EXPECT_EQ(shown(QStringLiteral("QUOTA"), QStringLiteral("##0.000"), 0), QStringLiteral("1,500"));
    EXPECT_EQ(shown(QStringLiteral("QUOTA"), QStringLiteral("###0.0##"), 1), QStringLiteral("0,063"));
    EXPECT_EQ(shown(QStringLiteral("QUOTA"), QStringLiteral("General Number"), 1), QStringLiteral("0,0625"));

    // An edit starts from the value as held, and writing it back unchanged stores nothing.
    shown(QStringLiteral("MQ"), QStringLiteral("##0.000"), 0);
    QAbstractItemModel *model = grid.model();
    EXPECT_EQ(model->index(0, 0).data(Qt::EditRole).toString(), QStringLiteral("2,85"));
    EXPECT_FALSE(model->setData(model->index(0, 0), QStringLiteral("2,85")));
    EXPECT_TRUE(model->setData(model->index(0, 0), QStringLiteral("3,1")));
    EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("MQ")).toDouble(), 3.1);
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("3,100"));
    vb::setCurrencySymbol(previousSymbol);
}

TEST_F(DataGridDisplayTest, GeneralAlignmentPutsNumbersRightAndTextLeftOtherAlignmentsAreFixed)
{
    using Alignment = DataGridColumn::Alignment;
    grid.setColumns({ { QStringLiteral("DESCR"), QStringLiteral("Descrizione") },
        { QStringLiteral("MQ"), QStringLiteral("Mq.") },
        { QStringLiteral("QUOTA"), QStringLiteral("Quota"), -1, true, false, false, {}, Alignment::Right },
        { QStringLiteral("MQ"), QStringLiteral("Mq."), -1, true, false, false, {}, Alignment::Center },
        { QStringLiteral("MQ"), QStringLiteral("Mq."), -1, true, false, false, {}, Alignment::Left } });
    QAbstractItemModel *model = grid.model();
    const auto cell
        = [&](int column) { return alignmentOf(model->index(0, column).data(Qt::TextAlignmentRole)); };
    EXPECT_EQ(cell(0), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(cell(1), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(cell(2), Qt::AlignRight | Qt::AlignVCenter); // text held, right by choice
    EXPECT_EQ(cell(3), Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_EQ(cell(4), Qt::AlignLeft | Qt::AlignVCenter); // a number, left by choice

    // The header carries the fixed alignments; General leaves the header's own.
    EXPECT_FALSE(model->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).isValid());
    EXPECT_EQ(alignmentOf(model->headerData(2, Qt::Horizontal, Qt::TextAlignmentRole)),
        Qt::AlignRight | Qt::AlignVCenter);
}

TEST_F(DataGridDisplayTest, AReadOnlyGridRefusesEveryEditUntilItIsEditableAgain)
{
    vb::DecimalSeparatorScope comma(u',');
    grid.setColumns({ { QStringLiteral("MQ"), QStringLiteral("Mq.") },
        { QStringLiteral("FLAG"), QStringLiteral("Sì/No") },
        { QStringLiteral("DESCR"), QStringLiteral("Descrizione"), -1, true, true } });
    QAbstractItemModel *model = grid.model();
    EXPECT_TRUE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model->flags(model->index(0, 1)) & Qt::ItemIsUserCheckable);

    grid.setReadOnly(true);
    EXPECT_TRUE(grid.isReadOnly());
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(model->index(0, 1)) & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(model->flags(model->index(0, 0)) & Qt::ItemIsSelectable);
    EXPECT_FALSE(model->setData(model->index(0, 0), QStringLiteral("7")));
    EXPECT_FALSE(model->setData(model->index(0, 1), Qt::Unchecked, Qt::CheckStateRole));
    // Allowing updates does not lift the read-only mode.
    grid.setAllowUpdate(true);
    EXPECT_FALSE(model->setData(model->index(0, 0), QStringLiteral("7")));
    EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("MQ")).toDouble(), 2.85);
    EXPECT_TRUE(stored(0, QStringLiteral("FLAG")).toBool());

    grid.setReadOnly(false);
    EXPECT_TRUE(model->setData(model->index(0, 0), QStringLiteral("7")));
    EXPECT_TRUE(model->setData(model->index(0, 1), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("MQ")).toDouble(), 7.0);
    EXPECT_FALSE(stored(0, QStringLiteral("FLAG")).toBool());
    // A locked column refuses an edit through the model as well.
    EXPECT_FALSE(model->setData(model->index(0, 2), QStringLiteral("Salone")));
    EXPECT_EQ(stored(0, QStringLiteral("DESCR")).toString(), QStringLiteral("Cucina"));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(DataGridDisplayTest, TheModelsHeaderCarriesCaptionsFieldsAndFormatsAndLayoutsKeepThem)
{
    vb::DecimalSeparatorScope comma(u',');
    grid.setColumns({ { QStringLiteral("DESCR"), QString() },
        { QStringLiteral("MQ"), QStringLiteral("Mq."), 80, true, false, false, QStringLiteral("##0.000"),
            DataGridColumn::Alignment::Center } });
    const DataGridModel *model = grid.dataModel();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("DESCR"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Mq."));
    EXPECT_EQ(
        model->headerData(1, Qt::Horizontal, DataGridModel::FieldRole).toString(), QStringLiteral("MQ"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal, DataGridModel::FormatRole).toString(),
        QStringLiteral("##0.000"));
    EXPECT_TRUE(model->headerData(0, Qt::Horizontal, DataGridModel::FormatRole).toString().isEmpty());

    // Cells give the value as held beside the text shown; the grid's current row reads the same.
    EXPECT_DOUBLE_EQ(model->index(1, 1).data(DataGridModel::ValueRole).toDouble(), 1234.5);
    EXPECT_TRUE(model->index(2, 1).data(DataGridModel::ValueRole).isNull());
    EXPECT_EQ(model->text(1, 1), QStringLiteral("1234,500"));
    source.setCurrentRow(1);
    EXPECT_EQ(grid.columnText(1), QStringLiteral("1234,500"));
    EXPECT_DOUBLE_EQ(grid.columnValue(1).toDouble(), 1234.5);

    const QString file = m_dir.filePath(QStringLiteral("Layout_stanze"));
    ASSERT_TRUE(grid.saveLayout(file, QStringLiteral("Stanze")));
    grid.setColumns({});
    ASSERT_TRUE(grid.loadLayout(file, QStringLiteral("Stanze")));
    ASSERT_EQ(grid.columnCount(), 2);
    EXPECT_EQ(grid.column(1).format, QStringLiteral("##0.000"));
    EXPECT_EQ(grid.column(1).alignment, DataGridColumn::Alignment::Center);
    EXPECT_EQ(grid.column(0).alignment, DataGridColumn::Alignment::General);

    // A layout written without formats and alignments loads with none.
    QFile old(m_dir.filePath(QStringLiteral("Layout_vecchio")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(R"({"Vecchia":[{"dataField":"MQ","caption":"Mq.","width":60,"visible":true}]})");
    old.close();
    ASSERT_TRUE(grid.loadLayout(old.fileName(), QStringLiteral("Vecchia")));
    EXPECT_TRUE(grid.column(0).format.isEmpty());
    EXPECT_EQ(grid.column(0).alignment, DataGridColumn::Alignment::General);
    EXPECT_EQ(grid.model()->index(1, 0).data().toString(), QStringLiteral("1234,5"));
}

} // namespace

// --- Editing events, value lists, new-row line, selection order ---------------------------------

TEST_F(DataGridTest, TheNewRowLineStoresARowWithWhatTheNewRowEventAdds)
{
    DataGridModel *model = grid.dataModel();
    EXPECT_EQ(model->newRowLine(), -1);
    grid.setAllowAddNew(true);
    ASSERT_EQ(model->rowCount(), 4);
    EXPECT_EQ(model->newRowLine(), 3);
    EXPECT_EQ(model->headerData(3, Qt::Vertical).toString(), QStringLiteral("*"));

    QStringList events;
    model->setOnAddNew([&](DataGridModel::Values &values) {
        events << QStringLiteral("add");
        values.append({ QStringLiteral("NUM_PAL"), QStringLiteral("2") });
        return true;
    });
    model->setBeforeUpdate(
        [&](int row, DataGridModel::Values &) { events << QStringLiteral("before %1").arg(row); });
    model->setAfterUpdate([&](int row) { events << QStringLiteral("after %1").arg(row); });

    ASSERT_TRUE(model->setData(model->index(3, 1), QStringLiteral("D")));
    EXPECT_EQ(events, (QStringList { "add", "before -1", "after 3" }));
    EXPECT_EQ(stored(3, QStringLiteral("SCALA")).toString(), QStringLiteral("D"));
    EXPECT_EQ(stored(3, QStringLiteral("NUM_PAL")).toLongLong(), 2); // converted to a number
    EXPECT_EQ(model->rowCount(), 5);
    EXPECT_EQ(model->newRowLine(), 4);

    // A new row the event drops is not stored.
    model->setOnAddNew([](DataGridModel::Values &) { return false; });
    EXPECT_FALSE(model->setData(model->index(4, 1), QStringLiteral("E")));
    EXPECT_EQ(Database::open(m_path).table(QStringLiteral("CODIF_PIANI")).recordCount(), 4);
}

TEST_F(DataGridTest, ACancelledColumnUpdateWritesNothingAndBeforeUpdateMayAddValues)
{
    vb::DecimalSeparatorScope point(u'.');
    DataGridModel *model = grid.dataModel();
    QVariant oldSeen;
    model->setBeforeColUpdate([&](int column, const QVariant &oldValue, const QVariant &newValue) {
        oldSeen = oldValue;
        return column == 1 && newValue.toString() == QStringLiteral("Z");
    });
    model->setBeforeUpdate([](int, DataGridModel::Values &values) {
        values.append({ QStringLiteral("HPIANO"), QStringLiteral("2.5") });
    });

    EXPECT_FALSE(model->setData(model->index(0, 1), QStringLiteral("Z")));
    EXPECT_EQ(oldSeen.toString(), QStringLiteral("A"));
    EXPECT_EQ(stored(0, QStringLiteral("SCALA")).toString(), QStringLiteral("A"));
    EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("HPIANO")).toDouble(), 3.0);

    EXPECT_TRUE(model->setData(model->index(0, 1), QStringLiteral("B")));
    EXPECT_EQ(stored(0, QStringLiteral("SCALA")).toString(), QStringLiteral("B"));
    EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("HPIANO")).toDouble(), 2.5);
}

TEST_F(DataGridTest, AValueThatDoesNotSuitItsFieldLeavesTheWholeRowUnwritten)
{
    DataGridModel *model = grid.dataModel();
    // The handler adds a good value; the typed one cannot be stored, so neither is.
    model->setBeforeUpdate([](int, DataGridModel::Values &values) {
        values.append({ QStringLiteral("SCALA"), QStringLiteral("C") });
    });
    bool after = false;
    model->setAfterUpdate([&](int) { after = true; });
    EXPECT_FALSE(model->setData(model->index(0, 3), QStringLiteral("tre")));
    EXPECT_EQ(stored(0, QStringLiteral("SCALA")).toString(), QStringLiteral("A"));
    EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("HPIANO")).toDouble(), 3.0);
    EXPECT_FALSE(after);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, notANumber(QStringLiteral("tre")));
}

TEST_F(DataGridTest, AValueListOffersItsItemsAndRefusesOtherText)
{
    DataGridColumn scala = grid.column(1);
    scala.valueItems = { QStringLiteral("A"), QStringLiteral("B") };
    grid.setColumn(1, scala);
    grid.show();
    grid.setCurrentIndex(grid.model()->index(0, 1));
    grid.edit(grid.model()->index(0, 1));
    auto *combo = grid.findChild<QComboBox *>(QStringLiteral("valueList"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 3); // an empty entry, then the list
    EXPECT_EQ(combo->currentText(), QStringLiteral("A"));
    combo->setCurrentIndex(2);
    grid.itemDelegate()->setModelData(combo, grid.model(), grid.model()->index(0, 1));
    EXPECT_EQ(stored(0, QStringLiteral("SCALA")).toString(), QStringLiteral("B"));

    EXPECT_FALSE(grid.model()->setData(grid.model()->index(1, 1), QStringLiteral("Q")));
    EXPECT_EQ(stored(1, QStringLiteral("SCALA")).toString(), QStringLiteral("A"));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().at(0).text.contains(QStringLiteral("\"Q\"")));
}

TEST_F(DataGridTest, SelectionInClickOrderAndRowColChange)
{
    const qint64 first = source.rowid(0);
    const qint64 third = source.rowid(2);
    grid.selectBookmark(third);
    grid.selectBookmark(first);
    EXPECT_EQ(grid.selectedBookmarksInClickOrder(), (QList<qint64> { third, first }));
    EXPECT_EQ(grid.selectedBookmarks(), (QList<qint64> { first, third }));
    grid.selectionModel()->select(
        grid.model()->index(2, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    EXPECT_EQ(grid.selectedBookmarksInClickOrder(), (QList<qint64> { first }));

    // Selecting whole rows, the second and then the first.
    grid.clearSelection();
    grid.selectionModel()->select(
        grid.model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    grid.selectionModel()->select(
        grid.model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(grid.selectedBookmarksInClickOrder(), (QList<qint64> { source.rowid(1), first }));

    QSignalSpy moves(&grid, &DataGrid::rowColChange);
    grid.setCurrentIndex(grid.model()->index(2, 3));
    ASSERT_EQ(moves.size(), 1);
    EXPECT_EQ(moves.at(0).at(0).toInt(), 0);
}

TEST_F(DataGridTest, HeadingsMayHoldTwoLines)
{
    const int oneLine = grid.horizontalHeader()->minimumHeight();
    grid.setHeadingLines(2);
    EXPECT_EQ(grid.headingLines(), 2);
    EXPECT_GE(grid.horizontalHeader()->minimumHeight(), 2 * grid.fontMetrics().lineSpacing());
    EXPECT_GT(grid.horizontalHeader()->minimumHeight(), oneLine);
    EXPECT_TRUE(grid.horizontalHeader()->defaultAlignment() & Qt::TextWordWrap);
}

// --- Keys, edits and deletions ---------------------------------------------------------------------

class DataGridKeysTest : public DataGridTest
{
protected:
    void SetUp() override
    {
        DataGridTest::SetUp();
        grid.resize(700, 300);
        grid.show();
        grid.setFocus();
        QObject::connect(&grid, &DataGrid::colEdit,
            [this](int column) { events << QStringLiteral("edit %1").arg(column); });
        QObject::connect(&grid, &DataGrid::afterColEdit,
            [this](int column) { events << QStringLiteral("after %1").arg(column); });
    }

    /** The editor of the cell being edited (those of ended edits linger hidden until deleted). */
    QLineEdit *editor() const
    {
        for (QLineEdit *edit : grid.viewport()->findChildren<QLineEdit *>()) {
            if (edit->isVisible())
                return edit;
        }
        return nullptr;
    }

    QStringList events;
};

// The handler hears every typed character first and may replace it: here "." becomes "," in the
// stair column. The key that opens the cell's editor is heard after the cell entered edit mode, and
// Enter is heard after the text was stored and the edit ended.
TEST_F(DataGridKeysTest, TheKeyPressHandlerHearsAndReplacesCharactersAndEnterComesAfterTheStore)
{
    QVariant storedAtEnter;
    grid.setKeyPress([&](int &key) {
        events << QStringLiteral("key %1").arg(key);
        if (grid.keyEditColumn() >= 0)
            events.last() += QStringLiteral(" in %1").arg(grid.keyEditColumn());
        if (key == '\r')
            storedAtEnter = stored(1, QStringLiteral("SCALA"));
        if (key == '.' && grid.currentIndex().column() == 1)
            key = ',';
    });
    grid.setCurrentIndex(grid.model()->index(1, 1));
    QTest::keyClick(&grid, 'B');
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor(), QStringLiteral(".2"));
    EXPECT_EQ(editor()->text(), QStringLiteral("B,2"));
    QTest::keyClick(editor(), Qt::Key_Return);

    EXPECT_EQ(events,
        (QStringList { "edit 1", "key 66 in 1", "key 46 in 1", "key 50 in 1", "after 1", "key 13 in 1" }));
    EXPECT_EQ(storedAtEnter, QVariant(QStringLiteral("B,2")));
    EXPECT_EQ(stored(1, QStringLiteral("SCALA")), QVariant(QStringLiteral("B,2")));
    EXPECT_EQ(editor(), nullptr);

    // Enter on the grid itself, with no cell being edited, is heard too; an edit given up with Esc
    // stores nothing and is not an edit that ended with its text.
    events.clear();
    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::keyClick(&grid, 'Z');
    ASSERT_NE(editor(), nullptr);
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_EQ(events, (QStringList { "key 13", "edit 1", "key 90 in 1", "key 27 in 1" }));
    EXPECT_EQ(stored(1, QStringLiteral("SCALA")), QVariant(QStringLiteral("B,2")));
}

// Pasted text is read as typed text: the handler hears each character and may replace it, the line
// end of a copied cell goes, and the cell's checks refuse what they refuse when typed.
TEST_F(DataGridKeysTest, PastedTextIsHeardAndCheckedAsTypedText)
{
    vb::DecimalSeparatorScope comma(u',');
    grid.setKeyPress([&](int &key) {
        events << QStringLiteral("key %1 in %2").arg(key).arg(grid.keyEditColumn());
        if (key == '.' && grid.keyEditColumn() == 3)
            key = ',';
    });
    QClipboard *clipboard = QGuiApplication::clipboard();

    // The paste key on a cell not being edited: the pasted text takes the cell's place, in edit.
    clipboard->setText(QStringLiteral("2.85\r\n"));
    grid.setCurrentIndex(grid.model()->index(0, 3));
    QTest::keySequence(&grid, QKeySequence::Paste);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("2,85"));
    EXPECT_EQ(events, (QStringList { "edit 3", "key 50 in 3", "key 46 in 3", "key 56 in 3", "key 53 in 3" }));
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("HPIANO")).toDouble(), 2.85);

    // Into a cell being edited, at the cursor; a tab between copied cells stays, never joining them,
    // so "1" and "2\t3" make no number: refused, kept in edit, nothing stored.
    clipboard->setText(QStringLiteral("2\t3"));
    grid.setCurrentIndex(grid.model()->index(1, 3));
    QTest::keyClick(&grid, '1');
    ASSERT_NE(editor(), nullptr);
    QTest::keySequence(editor(), QKeySequence::Paste);
    EXPECT_EQ(editor()->text(), QStringLiteral("12\t3"));
    QTest::keyClick(editor(), Qt::Key_Return);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(boxes.messages(), QStringList { notANumber(QStringLiteral("12\t3")) });
    EXPECT_DOUBLE_EQ(stored(1, QStringLiteral("HPIANO")).toDouble(), 3.0);
    // Under the comma "0.5" is no number: pasted into a column the handler leaves alone, refused.
    editor()->clear();
    clipboard->setText(QStringLiteral("0.5"));
    grid.setKeyPress({});
    QTest::keySequence(editor(), QKeySequence::Paste);
    QTest::keyClick(editor(), Qt::Key_Return);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("0.5"));
    EXPECT_EQ(boxes.messages().size(), 2);
    EXPECT_DOUBLE_EQ(stored(1, QStringLiteral("HPIANO")).toDouble(), 3.0);

    // The editor's own menu pastes through the grid: its paste entry is found by its caption.
    const std::unique_ptr<QMenu> menu(editor()->createStandardContextMenu());
    bool found = false;
    for (const QAction *action : menu->actions())
        found = found || action->text().startsWith(QCoreApplication::translate("QLineEdit", "&Paste"));
    EXPECT_TRUE(found);
}

TEST_F(DataGridKeysTest, ACellWrittenByTheProgramIsStoredAtOnceAndNullAsNull)
{
    grid.setCurrentIndex(grid.model()->index(2, 1));
    EXPECT_TRUE(grid.setColumnValue(2, QStringLiteral("Gialli")));
    EXPECT_EQ(stored(2, QStringLiteral("PROPRIETARIO")), QVariant(QStringLiteral("Gialli")));
    EXPECT_TRUE(grid.setColumnValue(1, QVariant()));
    EXPECT_TRUE(stored(2, QStringLiteral("SCALA")).isNull());
    EXPECT_TRUE(events.isEmpty());
    // A number field refuses a text that is no number; without a current row nothing is written.
    EXPECT_FALSE(grid.setColumnValue(0, QStringLiteral("uno")));
    EXPECT_EQ(boxes.messages(), QStringList { notANumber(QStringLiteral("uno")) });
    source.setCurrentRow(source.recordCount());
    EXPECT_FALSE(grid.setColumnValue(1, QStringLiteral("A")));
}

TEST_F(DataGridKeysTest, DelDeletesTheSelectedRowsOnlyWhereDeletingIsAllowed)
{
    const auto count
        = [this] { return Database::open(m_path).table(QStringLiteral("CODIF_PIANI")).recordCount(); };
    grid.selectRow(1);
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(count(), 3);

    grid.setAllowDelete(true);
    grid.selectRow(1);
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(grid.model()->index(1, 2).data().toString(), QStringLiteral("Verdi"));

    grid.setReadOnly(true);
    grid.selectRow(0);
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(count(), 2);
}

// Typed on the new-row line, a row is stored with its first cell and takes the line's place: the
// cell stays on it, so the cells typed next go on into that row and a fresh line follows it.
TEST_F(DataGridKeysTest, CellsTypedOnTheNewRowLineMakeOneRow)
{
    grid.setAllowAddNew(true);
    DataGridModel *model = grid.dataModel();
    grid.setCurrentIndex(model->index(3, 0));
    QTest::keyClick(&grid, '5');
    ASSERT_NE(editor(), nullptr);
    QTest::keyClick(editor(), Qt::Key_Tab); // stored, and on to the stair of the same row
    EXPECT_EQ(grid.currentIndex(), model->index(3, 1));
    ASSERT_NE(editor(), nullptr);
    QTest::keyClick(editor(), 'D');
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(grid.currentIndex(), model->index(3, 1));
    EXPECT_EQ(source.currentRow(), 3);

    QCoreApplication::processEvents();
    QTest::keyClick(&grid, Qt::Key_Right);
    QTest::keyClick(&grid, Qt::Key_Right);
    QTest::keyClick(&grid, '2');
    ASSERT_NE(editor(), nullptr);
    QTest::keyClick(editor(), Qt::Key_Return);

    EXPECT_EQ(Database::open(m_path).table(QStringLiteral("CODIF_PIANI")).recordCount(), 4);
    EXPECT_EQ(stored(3, QStringLiteral("NUM_PAL")).toLongLong(), 5);
    EXPECT_EQ(stored(3, QStringLiteral("SCALA")).toString(), QStringLiteral("D"));
    EXPECT_DOUBLE_EQ(stored(3, QStringLiteral("HPIANO")).toDouble(), 2.0);
    EXPECT_EQ(model->rowCount(), 5);
    EXPECT_EQ(model->newRowLine(), 4);
    EXPECT_EQ(model->headerData(3, Qt::Vertical).toString(), QStringLiteral("4"));
    EXPECT_EQ(model->headerData(4, Qt::Vertical).toString(), QStringLiteral("*"));
    EXPECT_EQ(model->index(3, 1).data().toString(), QStringLiteral("D"));
    EXPECT_EQ(grid.currentIndex(), model->index(3, 3));
}

// Text the model refuses on Enter (no number for a number field, a cancelled column update) stays
// in the cell, still in edit, after one message: the user puts it right or gives it up with Esc.
TEST_F(DataGridKeysTest, TextRefusedOnEnterStaysInEditForTheUserToPutRight)
{
    grid.setKeyPress([&](int &key) {
        if (key == '\r')
            events << QStringLiteral("enter");
    });
    grid.setCurrentIndex(grid.model()->index(0, 3));
    QTest::keyClick(&grid, 't');
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor(), QStringLiteral("re"));
    QTest::keyClick(editor(), Qt::Key_Return);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("tre"));
    EXPECT_EQ(boxes.messages(), QStringList { notANumber(QStringLiteral("tre")) });
    EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("HPIANO")).toDouble(), 3.0);
    EXPECT_EQ(events, QStringList { QStringLiteral("edit 3") });

    // Put right, it is stored and the edit ends as any other.
    editor()->selectAll();
    QTest::keyClicks(editor(), QStringLiteral("4"));
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(editor(), nullptr);
    EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("HPIANO")).toDouble(), 4.0);
    EXPECT_EQ(events, (QStringList { "edit 3", "after 3", "enter" }));
    EXPECT_EQ(boxes.messages().size(), 1);

    // A column update the form cancels, with its own message, then given up with Esc.
    grid.dataModel()->setBeforeColUpdate([&](int, const QVariant &, const QVariant &newValue) {
        if (newValue.toString() != QStringLiteral("Z"))
            return false;
        dialogs().msgBox(QStringLiteral("No"), MsgButtons::Ok, MsgIcon::Critical, QString());
        return true;
    });
    boxes.clear();
    events.clear();
    QCoreApplication::processEvents();
    grid.setCurrentIndex(grid.model()->index(1, 1));
    QTest::keyClick(&grid, 'Z');
    ASSERT_NE(editor(), nullptr);
    QTest::keyClick(editor(), Qt::Key_Return);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("Z"));
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("No") });
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(stored(1, QStringLiteral("SCALA")).toString(), QStringLiteral("A"));
    EXPECT_EQ(events, QStringList { QStringLiteral("edit 1") });
    EXPECT_EQ(boxes.messages().size(), 1);
}

// Tab stores what was typed before moving on: refused text stays in its cell, still in edit; put
// right, Tab stores it and goes to the next cell.
TEST_F(DataGridKeysTest, TextRefusedOnTabStaysInEditForTheUserToPutRight)
{
    grid.setCurrentIndex(grid.model()->index(0, 3));
    QTest::keyClick(&grid, 't');
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor(), QStringLiteral("re"));
    QTest::keyClick(editor(), Qt::Key_Tab);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("tre"));
    EXPECT_EQ(grid.currentIndex().column(), 3);
    EXPECT_EQ(boxes.messages(), QStringList { notANumber(QStringLiteral("tre")) });
    EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("HPIANO")).toDouble(), 3.0);

    editor()->selectAll();
    QTest::keyClicks(editor(), QStringLiteral("4"));
    QTest::keyClick(editor(), Qt::Key_Tab);
    EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("HPIANO")).toDouble(), 4.0);
    EXPECT_NE(grid.currentIndex().column(), 3);
    EXPECT_EQ(boxes.messages().size(), 1);
}

// A message box takes the focus from the cell's editor while it is shown: the refused text is
// neither stored again nor dropped by that focus change.
TEST_F(DataGridKeysTest, ARefusalWhoseMessageTakesTheFocusStillKeepsTheText)
{
    QWidget box;
    auto *other = new QLineEdit(&box);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    grid.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    int refusals = 0;
    bool focusTaken = false;
    grid.dataModel()->setBeforeColUpdate([&](int, const QVariant &, const QVariant &) {
        ++refusals;
        box.activateWindow();
        other->setFocus();
        QCoreApplication::processEvents();
        focusTaken = QApplication::focusWidget() == other;
        grid.activateWindow();
        QCoreApplication::processEvents();
        return true;
    });
    grid.setCurrentIndex(grid.model()->index(1, 1));
    QTest::keyClick(&grid, 'Z');
    ASSERT_NE(editor(), nullptr);
    QTest::keyClick(editor(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(focusTaken);
    EXPECT_EQ(refusals, 1);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("Z"));
}

// A hidden column holds what the program keeps there (a row's key): the grid never writes it, by
// typing, by a value put into the cell or on the new-row line, where the new-row event still gives it.
TEST_F(DataGridKeysTest, AHiddenColumnIsNeverWrittenFromTheGrid)
{
    DataGridModel *model = grid.dataModel();
    const QModelIndex hidden = model->index(0, 4);
    ASSERT_TRUE(grid.isColumnHidden(4));
    EXPECT_FALSE(model->flags(hidden) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->setData(hidden, QStringLiteral("99")));

    grid.setCurrentIndex(hidden);
    QTest::keyClick(&grid, '7');
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(stored(0, QStringLiteral("ID")), QVariant());

    grid.setAllowAddNew(true);
    model->setOnAddNew([](DataGridModel::Values &values) {
        values.append({ QStringLiteral("ID"), 42 });
        return true;
    });
    EXPECT_FALSE(model->setData(model->index(3, 4), QStringLiteral("7")));
    ASSERT_TRUE(model->setData(model->index(3, 1), QStringLiteral("D")));
    EXPECT_EQ(stored(3, QStringLiteral("ID")).toLongLong(), 42);
    EXPECT_EQ(Database::open(m_path).table(QStringLiteral("CODIF_PIANI")).recordCount(), 4);

    // Shown again, the column is written as any other.
    QList<DataGridColumn> columns = grid.columns();
    columns[4].visible = true;
    grid.setColumns(columns);
    EXPECT_TRUE(model->setData(model->index(0, 4), QStringLiteral("5")));
    EXPECT_EQ(stored(0, QStringLiteral("ID")).toLongLong(), 5);
}

// Rows read again or columns set again: the current cell keeps its column where it shows and can
// be written, else it takes the first column that can; it never lands on a hidden one.
TEST_F(DataGridKeysTest, AfterAResetTheCurrentCellKeepsAShownWritableColumn)
{
    grid.setCurrentIndex(grid.model()->index(1, 1));
    source.refresh();
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(0, 1));
    grid.setColumns(grid.columns());
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(0, 1));

    // The locked owner column is left for the first column that can be written.
    grid.setCurrentIndex(grid.model()->index(2, 2));
    source.refresh();
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(0, 0));

    // The key column first and hidden, as the workspace's rooms have it.
    grid.setColumns({ { QStringLiteral("ID"), QString(), -1, false }, { QStringLiteral("SCALA"), QString() },
        { QStringLiteral("PROPRIETARIO"), QString() } });
    EXPECT_EQ(grid.currentIndex().column(), 1);
    grid.setCurrentIndex(grid.model()->index(1, 2));
    grid.setColumns({ { QStringLiteral("ID"), QString(), -1, false }, { QStringLiteral("SCALA"), QString() },
        { QStringLiteral("PROPRIETARIO"), QString(), -1, false } });
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(1, 1));
    source.refresh();
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(0, 1));
    QTest::keyClick(&grid, 'z');
    ASSERT_NE(editor(), nullptr);
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(stored(0, QStringLiteral("SCALA")).toString(), QStringLiteral("z"));
    EXPECT_EQ(stored(0, QStringLiteral("ID")), QVariant());

    // A grid that cannot be written keeps a shown column all the same.
    grid.setCurrentIndex(grid.model()->index(0, 1));
    grid.setReadOnly(true);
    source.refresh();
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(0, 1));
}

// A form about to read its rows again first stores the cell being typed: text the cell refuses
// stays in it, still in edit, and the form is told so.
TEST_F(DataGridKeysTest, APendingEditIsStoredOrKeptInEditWhenRefused)
{
    EXPECT_TRUE(grid.commitPendingEdit());
    grid.setCurrentIndex(grid.model()->index(0, 3));
    QTest::keyClick(&grid, 't');
    ASSERT_NE(editor(), nullptr);
    EXPECT_FALSE(grid.commitPendingEdit());
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("t"));
    EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("HPIANO")).toDouble(), 3.0);

    editor()->setText(QStringLiteral("4"));
    EXPECT_TRUE(grid.commitPendingEdit());
    EXPECT_EQ(editor(), nullptr);
    EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("HPIANO")).toDouble(), 4.0);
    EXPECT_EQ(events, (QStringList { "edit 3", "after 3" }));
}
