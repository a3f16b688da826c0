#include "platform/ui/datasource.h"

#include "platform/db.h"
#include "platform/vb.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace zav::platform;

namespace {

int errorCode(const std::function<void()> &call)
{
    try {
        call();
    } catch (const DbError &error) {
        return error.code();
    }
    return 0;
}

// A small table of units: owner, building, floor height, heated, in stored order.
class DataSourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_path = m_dir.filePath(QStringLiteral("PROVA.CDB"));
        Database db = Database::create(m_path);
        db.createTable(QStringLiteral("UNITA"),
            { { QStringLiteral("PROPRIETARIO"), FieldType::Text },
                { QStringLiteral("NUM_PAL"), FieldType::Integer },
                { QStringLiteral("HPIANO"), FieldType::Double },
                { QStringLiteral("RISCALDATA"), FieldType::Boolean } });
        db.insert(QStringLiteral("UNITA"),
            { { QStringLiteral("PROPRIETARIO"), QStringLiteral("Rossi") }, { QStringLiteral("NUM_PAL"), 1 },
                { QStringLiteral("HPIANO"), 2.7 }, { QStringLiteral("RISCALDATA"), true } });
        db.insert(QStringLiteral("UNITA"),
            { { QStringLiteral("PROPRIETARIO"), QStringLiteral("D'Amico") },
                { QStringLiteral("NUM_PAL"), 2 } });
        db.insert(QStringLiteral("UNITA"), { { QStringLiteral("PROPRIETARIO"), QStringLiteral("Bianchi") } });
        source.setDatabaseName(m_path);
        source.setRecordSource(QStringLiteral("UNITA"));
    }

    QStringList storedOwners()
    {
        Database db = Database::open(m_path);
        const Recordset rs = db.table(QStringLiteral("UNITA"));
        QStringList owners;
        for (int row = 0; row < rs.recordCount(); ++row)
            owners << rs.value(row, 0).toString();
        return owners;
    }

    QVariant stored(int row, const QString &field)
    {
        Database db = Database::open(m_path);
        const Recordset rs = db.table(QStringLiteral("UNITA"));
        return rs.value(row, rs.fieldIndex(field));
    }

    QTemporaryDir m_dir;
    QString m_path;
    DataSource source;
};

TEST_F(DataSourceTest, RefreshReadsEveryRowInStoredOrderWithTheFirstCurrent)
{
    source.refresh();
    ASSERT_EQ(source.recordCount(), 3);
    EXPECT_EQ(source.currentRow(), 0);
    EXPECT_EQ(source.currentValue(QStringLiteral("proprietario")).toString(), QStringLiteral("Rossi"));
    EXPECT_EQ(source.value(1, 0).toString(), QStringLiteral("D'Amico"));
    EXPECT_TRUE(source.value(2, QStringLiteral("NUM_PAL")).isNull());

    // A query narrows the rows with bound values (an apostrophe is only a character).
    source.setRecordSource(TableQuery {
        QStringLiteral("UNITA"), { { QStringLiteral("PROPRIETARIO"), QStringLiteral("D'Amico") } }, {} });
    source.refresh();
    ASSERT_EQ(source.recordCount(), 1);
    EXPECT_EQ(source.currentValue(QStringLiteral("NUM_PAL")).toInt(), 2);

    // No rows: no current row, but the fields are known.
    source.setRecordSource(TableQuery {
        QStringLiteral("UNITA"), { { QStringLiteral("PROPRIETARIO"), QStringLiteral("Verdi") } }, {} });
    source.refresh();
    EXPECT_EQ(source.recordCount(), 0);
    EXPECT_TRUE(source.noCurrentRow());
    EXPECT_EQ(source.fieldCount(), 4);
    EXPECT_EQ(
        errorCode([&] { source.currentValue(QStringLiteral("NUM_PAL")); }), DbErrorCode::NoCurrentRecord);
}

// The rows are read in full and the statement released: another connection can then commit,
// which a model left streaming its rows would block as "database is locked".
TEST_F(DataSourceTest, HoldsNoReadLockAfterRefresh)
{
    source.refresh();
    Database other = Database::open(m_path);
    Transaction transaction = other.transaction();
    other.exec(QStringLiteral("UPDATE UNITA SET NUM_PAL = 9"));
    EXPECT_NO_THROW(transaction.commit());
}

TEST_F(DataSourceTest, TextIntoNumberFieldsFollowsTheDecimalSeparatorAndEmptyIsNull)
{
    vb::DecimalSeparatorScope comma(u',');
    source.refresh();
    source.setValue(0, 2, QStringLiteral("3,25"));
    EXPECT_DOUBLE_EQ(stored(0, QStringLiteral("HPIANO")).toDouble(), 3.25);
    source.setValue(0, 1, QStringLiteral("4"));
    EXPECT_EQ(stored(0, QStringLiteral("NUM_PAL")).toInt(), 4);
    EXPECT_EQ(source.value(0, 1).toInt(), 4);
    source.setValue(0, 2, QString());
    EXPECT_TRUE(stored(0, QStringLiteral("HPIANO")).isNull());

    // Text that is not a number is refused and the field keeps its value.
    EXPECT_NE(errorCode([&] { source.setValue(0, 1, QStringLiteral("quattro")); }), 0);
    EXPECT_EQ(stored(0, QStringLiteral("NUM_PAL")).toInt(), 4);
    EXPECT_NE(errorCode([&] { source.setValue(0, 2, QStringLiteral("1.5x")); }), 0);
}

TEST_F(DataSourceTest, TypedValuesAreStoredWhenTheRecordIsLeftAndDroppedByUpdateControls)
{
    QLineEdit owner;
    QCheckBox heated;
    source.bind(&owner, QStringLiteral("PROPRIETARIO"));
    source.bind(&heated, QStringLiteral("RISCALDATA"));
    source.refresh();
    EXPECT_EQ(owner.text(), QStringLiteral("Rossi"));
    EXPECT_TRUE(heated.isChecked());

    owner.setText(QStringLiteral("Rossi Mario"));
    EXPECT_TRUE(source.dataChanged());
    EXPECT_EQ(stored(0, QStringLiteral("PROPRIETARIO")).toString(), QStringLiteral("Rossi"));
    source.moveNext();
    EXPECT_EQ(stored(0, QStringLiteral("PROPRIETARIO")).toString(), QStringLiteral("Rossi Mario"));
    EXPECT_EQ(owner.text(), QStringLiteral("D'Amico"));
    EXPECT_FALSE(heated.isChecked());

    owner.setText(QStringLiteral("Neri"));
    source.updateControls();
    EXPECT_EQ(owner.text(), QStringLiteral("D'Amico"));
    source.storePending();
    EXPECT_EQ(storedOwners(), (QStringList { "Rossi Mario", "D'Amico", "Bianchi" }));

    // Only the box that changed is written: a tick stored meanwhile by someone else stays.
    {
        Database other = Database::open(m_path);
        other.update(QStringLiteral("UNITA"), source.rowid(1), { { QStringLiteral("RISCALDATA"), true } });
    }
    owner.setText(QStringLiteral("Neri"));
    source.storePending();
    EXPECT_EQ(storedOwners(), (QStringList { "Rossi Mario", "Neri", "Bianchi" }));
    EXPECT_TRUE(stored(1, QStringLiteral("RISCALDATA")).toBool());

    // A box emptied stores Null.
    owner.clear();
    source.storePending();
    EXPECT_TRUE(stored(1, QStringLiteral("PROPRIETARIO")).isNull());
}

TEST_F(DataSourceTest, ANewRecordIsAddedByUpdateOrWhenLeftWithChanges)
{
    QLineEdit owner;
    source.bind(&owner, QStringLiteral("PROPRIETARIO"));
    source.refresh();

    source.addNew();
    EXPECT_EQ(owner.text(), QString());
    EXPECT_EQ(source.editMode(), DataSource::EditMode::AddNew);
    owner.setText(QStringLiteral("Verdi"));
    source.update();
    EXPECT_EQ(storedOwners(), (QStringList { "Rossi", "D'Amico", "Bianchi", "Verdi" }));
    EXPECT_EQ(source.recordCount(), 4);

    // Left without anything typed, a new record is abandoned; with something typed it is stored.
    source.addNew();
    source.storePending();
    source.moveFirst();
    EXPECT_EQ(storedOwners().size(), 4);
    source.addNew();
    owner.setText(QStringLiteral("Gialli"));
    source.storePending();
    EXPECT_EQ(storedOwners().last(), QStringLiteral("Gialli"));
}

TEST_F(DataSourceTest, DeletingTheCurrentRowMakesTheNextOneCurrent)
{
    source.refresh();
    source.setCurrentRow(1);
    source.deleteCurrent();
    EXPECT_EQ(storedOwners(), (QStringList { "Rossi", "Bianchi" }));
    EXPECT_EQ(source.currentRow(), 1);
    EXPECT_EQ(source.currentValue(QStringLiteral("PROPRIETARIO")).toString(), QStringLiteral("Bianchi"));
    source.deleteCurrent();
    EXPECT_EQ(source.currentRow(), 0);
    source.deleteCurrent();
    EXPECT_TRUE(source.noCurrentRow());
    EXPECT_EQ(errorCode([&] { source.deleteCurrent(); }), DbErrorCode::NoCurrentRecord);
}

} // namespace
