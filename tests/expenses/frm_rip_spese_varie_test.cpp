// The various apportionments form on a sample archive built here: adding user tables one after
// the other, deleting a pair from either of its columns, emptying, and names that cannot become
// field names.

#include "expenses/frm_rip_spese_varie.h"
#include "expenses/variousexpenses.h"
#include "expensesfixture.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"

#include <QFile>
#include <QPushButton>

namespace zav::test {
namespace {

using expenses::frm_rip_spese_varie;
using platform::Database;
using platform::FieldDef;
using platform::FieldType;
using platform::MsgResult;

class VariousFormTest : public ExpensesTest
{
protected:
    void SetUp() override
    {
        ExpensesTest::SetUp();
        sample = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ESEMPIO.cdb"));
        Database d = Database::open(sample);
        insert(d, "NEW_TAB", { "NOME_TABELLA" }, { { "PAL" }, { "A B" }, { "X\"Y" }, { "MANCANTE" } });
        userTable(d, QStringLiteral("PAL"),
            { { "Rossi", "1", "A", "T", 1, 500.0 }, { "Bianchi", "1", "A", "1", 2, 500.0 } });
        userTable(d, QStringLiteral("A B"),
            { { "Rossi", "1", "A", "T", 1, 300.0 }, { "Verdi", "1", "B", "2", 3, 700.0 },
                { "Neri", "2", "A", "1", QVariant(), 0.0 } });
    }

    void TearDown() override
    {
        platform::FormRegistry::unload(expenses::VariousFormName);
        ExpensesTest::TearDown();
    }

    static void userTable(Database &d, const QString &name, const QList<QVariantList> &rows)
    {
        d.createTable(name,
            { { QStringLiteral("CONDOMINO"), FieldType::Text, 150 },
                { QStringLiteral("PALAZ"), FieldType::Text, 3 },
                { QStringLiteral("SCALA"), FieldType::Text, 10 },
                { QStringLiteral("PIANO"), FieldType::Text, 3 },
                { QStringLiteral("INTERNO"), FieldType::Integer },
                { QStringLiteral("MILLESIMI"), FieldType::Double } });
        insert(d, name.toUtf8().constData(),
            { "CONDOMINO", "PALAZ", "SCALA", "PIANO", "INTERNO", "MILLESIMI" }, rows);
    }

    QString various() const { return folder.file(QStringLiteral("rip_spese3.mdb")); }

    frm_rip_spese_varie *open()
    {
        auto *f = platform::FormRegistry::form<frm_rip_spese_varie>(expenses::VariousFormName);
        f->setSampleArchive(sample);
        return f;
    }

    /** Selects tables of the list in this order and adds them. */
    static void add(frm_rip_spese_varie *f, const QStringList &names)
    {
        f->TDBGrid1->clearSelection();
        for (const QString &name : names) {
            for (int row = 0; row < f->Data1->recordCount(); ++row) {
                if (f->Data1->value(row, 0).toString() == name)
                    f->TDBGrid1->selectBookmark(f->Data1->rowid(row));
            }
        }
        f->Command1->click();
    }

    QStringList captions(frm_rip_spese_varie *f) const
    {
        QStringList list;
        for (const platform::DataGridColumn &c : f->TDBGrid2->columns())
            list << c.heading();
        return list;
    }

    /** The units as the grid shows them: owner, building, stair, unit number, then the given fields. */
    static QList<QVariantList> units(frm_rip_spese_varie *f, const QStringList &fields)
    {
        QList<QVariantList> rows;
        for (int row = 0; row < f->Data2->recordCount(); ++row) {
            QVariantList values;
            for (const char *field : { "nome_condomino", "pal", "scala", "interno" })
                values << f->Data2->value(row, QString::fromLatin1(field));
            for (const QString &field : fields)
                values << f->Data2->value(row, field);
            rows << values;
        }
        return rows;
    }

    QStringList listed() const
    {
        Database d = Database::open(various());
        return expenses::VariousExpenses::pairTables(d);
    }

    void selectColumn(frm_rip_spese_varie *f, const QString &caption)
    {
        f->TDBGrid2->setCurrentIndex(f->TDBGrid2->model()->index(0, f->TDBGrid2->columnByCaption(caption)));
    }

    QString sample;
};

const QStringList designCaptions = { "nome_condomino", "pal", "scala", "piano", "interno" };

TEST_F(VariousFormTest, TwoTablesAddedOneAfterTheOtherShareTheUnitRows)
{
    frm_rip_spese_varie *f = open();
    EXPECT_EQ(captions(f), designCaptions);
    EXPECT_EQ(f->Data1->recordCount(), 4);

    add(f, { "PAL" });
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(captions(f), (designCaptions + QStringList { "Mil. PAL", "Imp. PAL" }));
    EXPECT_EQ(units(f, { "PAL_mil" }),
        (QList<QVariantList> { { "Rossi", "1", "A", "1", 500.0 }, { "Bianchi", "1", "A", "2", 500.0 } }));

    add(f, { "A B" });
    EXPECT_EQ(captions(f), (designCaptions + QStringList { "Mil. PAL", "Imp. PAL", "Mil. A B", "Imp. A B" }));
    EXPECT_EQ(f->TDBGrid2->column(8).format, QStringLiteral("Currency"));
    // Rossi, present in both, holds both thousandths; Neri's empty unit number stays empty.
    const QVariant null;
    EXPECT_EQ(units(f, { "PAL_mil", "A B_mil", "A B_imp" }),
        (QList<QVariantList> { { "Rossi", "1", "A", "1", 500.0, 300.0, null },
            { "Bianchi", "1", "A", "2", 500.0, null, null }, { "Verdi", "1", "B", "3", null, 700.0, null },
            { "Neri", "2", "A", null, null, 0.0, null } }));
    EXPECT_EQ(listed(), (QStringList { "PAL", "A B" }));

    // Added again: the thousandths are filled afresh, the table is listed once, no unit doubles.
    Database::open(sample).exec(QStringLiteral("UPDATE [A B] SET MILLESIMI = 350 WHERE CONDOMINO = 'Rossi'"));
    Database::open(sample).exec(QStringLiteral("UPDATE [A B] SET MILLESIMI = 5 WHERE CONDOMINO = 'Neri'"));
    add(f, { "A B" });
    EXPECT_EQ(listed(), (QStringList { "PAL", "A B" }));
    EXPECT_EQ(f->Data2->recordCount(), 4);
    EXPECT_EQ(units(f, { "A B_mil" }).at(0).at(4), QVariant(350.0));
    EXPECT_EQ(units(f, { "A B_mil" }).at(3).at(4), QVariant(5.0));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(VariousFormTest, NamesThatCannotBeFieldsAndTablesTheSampleLacksAreSkippedWithAMessage)
{
    frm_rip_spese_varie *f = open();
    add(f, { "X\"Y", "MANCANTE", "PAL" });
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("X\"Y")));
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("MANCANTE")));
    EXPECT_EQ(listed(), QStringList { QStringLiteral("PAL") });
    Database d = Database::open(various());
    EXPECT_EQ(
        d.fields(QStringLiteral("tab_generale")), (designCaptions + QStringList { "PAL_mil", "PAL_imp" }));
}

TEST_F(VariousFormTest, DeletingEitherColumnOfAPairAsksOnceAndRemovesBoth)
{
    frm_rip_spese_varie *f = open();
    add(f, { "PAL", "A B" });

    // The first five columns cannot go: nothing is asked.
    selectColumn(f, QStringLiteral("interno"));
    f->Command3->click();
    EXPECT_TRUE(boxes.shown().isEmpty());

    selectColumn(f, QStringLiteral("Imp. PAL"));
    boxes.answer(MsgResult::No);
    f->Command3_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Vuoi eliminare la colonna Imp. PAL ?"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Attenzione !!!"));
    EXPECT_EQ(listed(), (QStringList { "PAL", "A B" }));

    boxes.answer(MsgResult::Yes);
    f->Command3_Click();
    EXPECT_EQ(captions(f), (designCaptions + QStringList { "Mil. A B", "Imp. A B" }));
    EXPECT_EQ(listed(), QStringList { QStringLiteral("A B") });
    EXPECT_EQ(f->Data2->recordCount(), 4);

    selectColumn(f, QStringLiteral("Mil. A B"));
    boxes.answer(MsgResult::Yes);
    f->Command3_Click();
    EXPECT_EQ(captions(f), designCaptions);
    EXPECT_TRUE(listed().isEmpty());
    Database d = Database::open(various());
    EXPECT_EQ(d.fields(QStringLiteral("tab_generale")), designCaptions);
    EXPECT_EQ(f->Data2->recordCount(), 4);
}

TEST_F(VariousFormTest, EliminaColonnaWithNoCurrentColumnSaysSo)
{
    frm_rip_spese_varie *f = open();
    f->Command3_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("Nessuna colonna")));
}

TEST_F(VariousFormTest, EliminaDatiEmptiesTheUnitsAndKeepsThePairs)
{
    frm_rip_spese_varie *f = open();
    add(f, { "PAL" });
    f->Command2->click();
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(f->Data2->recordCount(), 0);
    EXPECT_EQ(captions(f), (designCaptions + QStringList { "Mil. PAL", "Imp. PAL" }));
    EXPECT_EQ(listed(), QStringList { QStringLiteral("PAL") });
}

TEST_F(VariousFormTest, WithoutASampleArchiveTheListIsEmptyAndNothingIsAdded)
{
    auto *f = platform::FormRegistry::form<frm_rip_spese_varie>(expenses::VariousFormName);
    EXPECT_EQ(f->TDBGrid1->dataSource(), nullptr);
    f->Command1_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("Nessun archivio di esempio")));
    // The open project is never read, even though one is open.
    EXPECT_TRUE(listed().isEmpty());
}

TEST_F(VariousFormTest, AMissingDatabaseIsSaid)
{
    ASSERT_TRUE(QFile::remove(various()));
    open();
    ASSERT_GE(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("rip_spese3.mdb")));
    EXPECT_FALSE(QFile::exists(various()));
}

} // namespace
} // namespace zav::test
