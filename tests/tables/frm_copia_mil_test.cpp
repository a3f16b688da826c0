// "Copia Millesimi": the general, a building's or a stair's thousandths appended to the user table
// selected in the workspace.
#include "tables/frm_copia_mil.h"

#include "support/child.h"
#include "tablesfixture.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/workspacecommands.h"

#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace zav::test {
namespace {

using platform::Database;
using platform::FormRegistry;
using tables::frm_copia_mil;
using workspace::frm_ins_coeff;
using Row = QVariantList;

const QString kTable = QStringLiteral("GARAGE");

class CopyThousandthsTest : public TablesTest
{
protected:
    void SetUp() override
    {
        TablesTest::SetUp();
        workspace::registerForms();
        openProject();
        Database db = Database::open(project);
        db.insert(QStringLiteral("ANA_CONDO"), { { QStringLiteral("NUM_PAL"), 2 } });
        db.insert(QStringLiteral("COMPOS_PAL"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("NUM_SCALE"), 3 } });
        db.insert(QStringLiteral("COMPOS_PAL"), { { QStringLiteral("NUM_PAL"), 2 } });
        // The general table, in its own row order.
        insert(db, "MILLESIMI",
            { "CONDOMINO", "PALAZ", "SCALA", "MQ", "MILLESIMI", "PIANO", "INTERNO", "RIGA" },
            { { "Rossi", "2", "A", 80.5, 400.0, "1", 3, 1.0 },
                { "D'Amico", "1", "B", 60.0, 350.5, "T", 1, -1.0 },
                { "Bianchi", "1", "A", 40.0, 249.5, "2", 2, 2.0 } });
        // The building table: two buildings, stored out of order.
        insert(db, "TEMPORANEO", { "CONDOMINO", "PALAZ", "SCALA", "MQ", "MILLESIMI", "PIANO", "INTERNO" },
            { { "Verdi", "2", "B", 10.0, 100.0, "3", 7 }, { "Neri", "1", "A", 20.0, 1000.0, "1", 1 },
                { "Gialli", "2", "A", 30.0, 900.0, "1", 5 } });
        // The stair table: the first half differs from the mean.
        insert(db, "TEMPORANEO2",
            { "CONDOMINO", "PALAZ", "SCALA", "MQ", "MILLESIMI", "MIL_B", "PIANO", "MEDIA", "INTERNO" },
            { { "Blu", "1", "B", 12.0, 600.0, 500.0, "2", 550.0, 4 },
                { "Rosa", "1", "A", 14.0, 1000.0, 1000.0, "1", 1000.0, 2 },
                { "Viola", "1", "B", 16.0, 400.0, 500.0, "4", 450.0, 6 } });
        userTable(kTable);
        engine::VAR_GBL.tabella_selezionata = kTable;
    }

    void TearDown() override
    {
        FormRegistry::unload(QString::fromLatin1(frm_copia_mil::FormName));
        TablesTest::TearDown();
    }

    static void insert(Database &db, const char *table, const QStringList &fields, const QList<Row> &rows)
    {
        for (const Row &row : rows) {
            QList<std::pair<QString, QVariant>> values;
            for (int i = 0; i < fields.size(); ++i)
                values.append({ fields.at(i), row.at(i) });
            db.insert(QString::fromLatin1(table), values);
        }
    }

    void userTable(const QString &name)
    {
        Database db = Database::open(project);
        db.exec(
            QStringLiteral("CREATE TABLE [%1] (CONDOMINO TEXT, PALAZ TEXT, SCALA TEXT, MQ DOUBLE, "
                           "MILLESIMI DOUBLE, PIANO TEXT, NOME_CONDO TEXT, INPUT DOUBLE, INTERNO INTEGER, "
                           "RIGA DOUBLE)")
                .arg(name));
        db.insert(QStringLiteral("NEW_TAB"), { { QStringLiteral("NOME_TABELLA"), name } });
    }

    /** The user table's rows, every field, in stored order. */
    QList<Row> rows(const QString &table = kTable) const
    {
        QList<Row> result;
        const platform::Recordset rs = Database::open(project).table(table);
        for (int r = 0; r < rs.recordCount(); ++r) {
            Row row;
            for (int f = 0; f < rs.fieldCount(); ++f) {
                const QVariant v = rs.value(r, f);
                row << (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong
                        ? QVariant(v.toDouble())
                        : v);
            }
            result << row;
        }
        return result;
    }

    frm_copia_mil *form()
    {
        return FormRegistry::form<frm_copia_mil>(QString::fromLatin1(frm_copia_mil::FormName));
    }

    static void pick(QComboBox *box, const QString &entry) { box->setCurrentIndex(box->findText(entry)); }

    const QString success = QStringLiteral("Copia effettuata con successo");
};

TEST_F(CopyThousandthsTest, TheListsOfferTheBuildingsAndTheStairsOfTheOneChosen)
{
    frm_copia_mil *f = form();
    QStringList buildings;
    for (int i = 0; i < f->Combo1->count(); ++i)
        buildings << f->Combo1->itemText(i);
    EXPECT_EQ(buildings, (QStringList { "1", "2" }));
    const auto stairs = [f] {
        QStringList texts;
        for (int i = 0; i < f->Combo2->count(); ++i)
            texts << f->Combo2->itemText(i);
        return texts;
    };
    // The building shown at opening comes with its stairs.
    EXPECT_EQ(f->Combo1->currentText(), QStringLiteral("1"));
    EXPECT_EQ(stairs(), (QStringList { "Nessuna", "A", "B", "C" }));

    pick(f->Combo1, QStringLiteral("1"));
    f->Combo1_Click();
    EXPECT_EQ(stairs(), (QStringList { "Nessuna", "A", "B", "C" }));
    EXPECT_TRUE(boxes.shown().isEmpty());

    // A building without stairs says so and empties the list.
    pick(f->Combo1, QStringLiteral("2"));
    f->Combo1_Click();
    EXPECT_EQ(
        boxes.messages(), QStringList { QStringLiteral("Nessuna scala inserita nella palazzina n°: 2") });
    EXPECT_EQ(f->Combo2->count(), 0);
}

// Each copy appends its source rows in their order: owner, building, stair, base value,
// thousandths, floor code and unit number; the name, weight and floor position stay empty.
TEST_F(CopyThousandthsTest, TheThreeCopiesAppendTheirRows)
{
    const QVariant none;
    frm_copia_mil *f = form();

    f->Option1->setChecked(true);
    f->Command1_Click(0);
    const QList<Row> general {
        { "Rossi", "2", "A", 80.5, 400.0, "1", none, none, 3.0, none },
        { "D'Amico", "1", "B", 60.0, 350.5, "T", none, none, 1.0, none },
        { "Bianchi", "1", "A", 40.0, 249.5, "2", none, none, 2.0, none },
    };
    EXPECT_EQ(rows(), general);
    EXPECT_EQ(f->ProgressBar1->value(), 1);

    // Building "2", by stair.
    f->Option2->setChecked(true);
    pick(f->Combo1, QStringLiteral("2"));
    f->Command1_Click(0);
    const QList<Row> building {
        { "Gialli", "2", "A", 30.0, 900.0, "1", none, none, 5.0, none },
        { "Verdi", "2", "B", 10.0, 100.0, "3", none, none, 7.0, none },
    };
    EXPECT_EQ(rows().mid(3), building);

    // Stair "B" of building "1": the first half, not the mean.
    f->Option3->setChecked(true);
    pick(f->Combo1, QStringLiteral("1"));
    f->Combo1_Click();
    pick(f->Combo2, QStringLiteral("B"));
    f->Command1_Click(0);
    const QList<Row> stair {
        { "Blu", "1", "B", 12.0, 600.0, "2", none, none, 4.0, none },
        { "Viola", "1", "B", 16.0, 400.0, "4", none, none, 6.0, none },
    };
    EXPECT_EQ(rows().mid(5), stair);

    // The same stair again: its units twice.
    f->Command1_Click(0);
    EXPECT_EQ(rows().mid(7), stair);
    EXPECT_EQ(boxes.messages(), QStringList(4, success));
}

TEST_F(CopyThousandthsTest, WhatIsMissingIsToldAndNothingIsCopied)
{
    frm_copia_mil *f = form();
    f->Combo1->setCurrentIndex(-1);
    const struct
    {
        QRadioButton *option;
        QString building;
        QString stair;
        QString message;
    } cases[] = {
        { nullptr, {}, {}, QStringLiteral("Nessuna opzione selezionata.") },
        { f->Option2, {}, {}, QStringLiteral("Nessuna palazzina selezionata") },
        { f->Option3, QStringLiteral("1"), {},
            QStringLiteral("Nessuna palazzina o nessuna Scala selezionata") },
        { f->Option2, QStringLiteral("1"), {},
            QStringLiteral("Impossibile copiare. La tabella millesimi palazzina risulta vuota") },
        { f->Option3, QStringLiteral("1"), QStringLiteral("Nessuna"),
            QStringLiteral("Impossibile copiare. La tabella millesimi scala risulta vuota") },
    };
    Database::open(project).exec(QStringLiteral("DELETE FROM TEMPORANEO WHERE PALAZ = '1'"));
    for (const auto &c : cases) {
        boxes.clear();
        if (c.option)
            c.option->setChecked(true);
        pick(f->Combo1, c.building);
        if (!c.building.isEmpty())
            f->Combo1_Click();
        pick(f->Combo2, c.stair);
        f->Command1_Click(0);
        EXPECT_EQ(boxes.messages(), QStringList { c.message });
        EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
    }
    Database::open(project).exec(QStringLiteral("DELETE FROM MILLESIMI"));
    boxes.clear();
    f->Option1->setChecked(true);
    f->Command1_Click(0);
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral("Impossibile copiare. La tabella millesimi globali risulta vuota") });
    EXPECT_TRUE(rows().isEmpty());
}

// The rows go to the selected table whatever the workspace's grid is captioned, all of them or
// none; a failed append is told as a failure.
TEST_F(CopyThousandthsTest, TheCopyGoesToTheSelectedTableInOneTransaction)
{
    userTable(QStringLiteral("ALTRA"));
    auto *ws = FormRegistry::form<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
    ws->TDBGrid1->setCaption(QStringLiteral("ALTRA"));
    engine::VAR_GBL.tabella_selezionata = kTable;
    frm_copia_mil *f = form();
    f->Option1->setChecked(true);
    f->Command1_Click(0);
    EXPECT_EQ(rows().size(), 3);
    EXPECT_TRUE(rows(QStringLiteral("ALTRA")).isEmpty());

    // The third row cannot be stored: none is.
    Database::open(project).exec(
        QStringLiteral("CREATE TRIGGER NO_BIANCHI BEFORE INSERT ON GARAGE WHEN NEW.CONDOMINO = 'Bianchi' "
                       "BEGIN SELECT RAISE(ABORT, 'rifiutato'); END"));
    boxes.clear();
    f->Command1_Click(0);
    EXPECT_EQ(rows().size(), 3);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().at(0).text.startsWith(
        QStringLiteral("Copia non effettuata: nessuna riga è stata aggiunta alla tabella GARAGE.")));
    EXPECT_EQ(boxes.shown().at(0).icon, platform::MsgIcon::Critical);

    // A selected table that is not in the archive receives nothing.
    engine::VAR_GBL.tabella_selezionata = QStringLiteral("SPARITA");
    boxes.clear();
    f->Command1_Click(0);
    EXPECT_EQ(boxes.messages(),
        QStringList {
            QStringLiteral("La tabella SPARITA non si trova nell'archivio: nessuna riga copiata.") });
}

// The workspace showing the table reads it again with the new rows; "Esci" closes the form and
// maximizes the workspace.
TEST_F(CopyThousandthsTest, TheWorkspaceShowsTheNewRowsAndEsciMaximizesIt)
{
    QMainWindow main;
    auto *area = new QMdiArea(&main);
    main.setCentralWidget(area);
    auto *ws = FormRegistry::form<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
    QMdiSubWindow *sub = area->addSubWindow(ws);
    main.show();
    sub->showNormal();
    ws->Data1->setRecordSource(platform::TableQuery { kTable, {}, {} });
    ws->Data1->refresh();
    ws->TDBGrid1->setCaption(kTable);
    engine::VAR_GBL.tabella_selezionata = kTable;

    frm_copia_mil *f = form();
    f->Option1->setChecked(true);
    f->Command1_Click(0);
    EXPECT_EQ(ws->Data1->recordCount(), 3);
    EXPECT_EQ(ws->Label20->text(), QStringLiteral("1000"));

    child<QPushButton>(*f, QStringLiteral("Command1_1"))->click();
    EXPECT_FALSE(FormRegistry::isLoaded(QString::fromLatin1(frm_copia_mil::FormName)));
    EXPECT_TRUE(sub->isMaximized());
    area->removeSubWindow(ws);
    ws->setParent(nullptr);
}

} // namespace
} // namespace zav::test
