// The summary table driven through its handlers: building the project's rows, emptying them, the
// two-step merge through the pop-up menu, and the project's changes while the form stays open.

#include "expenses/frm_rip_spese.h"
#include "expenses/mainwindowmenu.h"
#include "expenses/summarytable.h"
#include "expensesfixture.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <array>

namespace zav::test {
namespace {

using engine::VAR_GBL;
using expenses::frm_rip_spese;
using expenses::SummaryTable;
using platform::Database;
using platform::MsgIcon;
using platform::MsgResult;

/** One row of the summary table: project, owner, description and the six thousandths. */
struct Row
{
    QString project;
    QString owner;
    QVariant description;
    std::array<QVariant, 6> thousandths;
};

class SummaryFormTest : public ExpensesTest
{
protected:
    void TearDown() override
    {
        platform::FormRegistry::unload(expenses::SummaryFormName);
        ExpensesTest::TearDown();
    }

    frm_rip_spese *open() { return platform::FormRegistry::form<frm_rip_spese>(expenses::SummaryFormName); }

    QString summaryPath() const { return folder.file(QStringLiteral("RIP_SPESE.MDB")); }

    qint64 addRow(const Row &row)
    {
        Database d = Database::open(summaryPath());
        QList<std::pair<QString, QVariant>> values { { QStringLiteral("COD_CONDOMINIO"), row.project },
            { QStringLiteral("nome_condomino"), row.owner },
            { QStringLiteral("DESCRIZIONE"), row.description } };
        for (size_t i = 0; i < 6; ++i)
            values.append({ SummaryTable::thousandthsFields()[i], row.thousandths[i] });
        return d.insert(QStringLiteral("TAB_GENERALE"), values);
    }

    /** Every row of the table in stored order. */
    QList<Row> rows() const
    {
        Database d = Database::open(summaryPath());
        const platform::Recordset rs = d.table(QStringLiteral("TAB_GENERALE"));
        QList<Row> result;
        for (int r = 0; r < rs.recordCount(); ++r) {
            Row row { rs.value(r, 0).toString(), rs.value(r, 1).toString(), rs.value(r, 6), {} };
            for (size_t i = 0; i < 6; ++i)
                row.thousandths[i] = rs.value(r, rs.fieldIndex(SummaryTable::thousandthsFields()[i]));
            result << row;
        }
        return result;
    }

    Row rowById(qint64 rowid) const
    {
        Database d = Database::open(summaryPath());
        const platform::Recordset rs
            = d.query(QStringLiteral("SELECT * FROM TAB_GENERALE WHERE rowid = ?"), { rowid });
        Row row { rs.value(0, 0).toString(), rs.value(0, 1).toString(), rs.value(0, 6), {} };
        for (size_t i = 0; i < 6; ++i)
            row.thousandths[i] = rs.value(0, rs.fieldIndex(SummaryTable::thousandthsFields()[i]));
        return row;
    }

    /** Selects rows in this order, as clicks on their row selectors do, then makes one current. */
    static void select(frm_rip_spese *f, const QList<qint64> &rowids)
    {
        f->TDBGrid1->clearSelection();
        for (qint64 id : rowids)
            f->TDBGrid1->selectBookmark(id);
    }
    static void makeCurrent(frm_rip_spese *f, qint64 rowid)
    {
        f->Data1->setCurrentRow(f->Data1->rowOf(rowid));
    }
};

QVariantList numbers(const Row &row)
{
    QVariantList list;
    for (const QVariant &v : row.thousandths)
        list << (v.isNull() ? QVariant() : QVariant(v.toDouble()));
    return list;
}

const QVariant null;

// --- Crea Tabella ----------------------------------------------------------------------------

TEST_F(SummaryFormTest, CreaTabellaAddsTheUnitsWithTheirThousandthsAndLeavesOtherProjectsAlone)
{
    fillProject();
    addRow({ QStringLiteral("ALTRO"), QStringLiteral("Gialli"), QStringLiteral("Box"),
        { 1.0, 2.0, 3.0, 4.0, 5.0, 6.0 } });
    frm_rip_spese *f = open();
    EXPECT_EQ(f->Data1->recordCount(), 0);

    f->Command1->click();
    EXPECT_TRUE(boxes.shown().isEmpty());

    const QList<Row> all = rows();
    ASSERT_EQ(all.size(), 5);
    EXPECT_EQ(numbers(all.at(0)), (QVariantList { 1.0, 2.0, 3.0, 4.0, 5.0, 6.0 }));
    // By building, stair, unit number and owner; no porter's lodge, Neri's building is not heated.
    const QStringList owners = { "Rossi", "Bianchi", "Verdi", "Neri" };
    const QList<QVariantList> expected = {
        { 250.0, 300.0, 450.0, 0.0, 300.0, null },
        { 250.0, 300.0, 550.0, 1000.0, 300.0, null },
        { 300.0, 400.0, 1000.0, 1000.0, 400.0, null },
        { 200.0, 1000.0, 1000.0, 1000.0, null, null },
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(all.at(i + 1).project, QStringLiteral("CONDO1"));
        EXPECT_EQ(all.at(i + 1).owner, owners.at(i));
        EXPECT_EQ(numbers(all.at(i + 1)), expected.at(i)) << i;
    }
    EXPECT_EQ(all.at(1).description, QVariant(QStringLiteral("Appartamento")));
    Database d = Database::open(summaryPath());
    const platform::Recordset rs = d.table(QStringLiteral("TAB_GENERALE"));
    EXPECT_EQ(rs.value(4, rs.fieldIndex(QStringLiteral("PAL"))), QVariant(QStringLiteral("2")));
    EXPECT_EQ(rs.value(4, rs.fieldIndex(QStringLiteral("PIANO"))), QVariant(QStringLiteral("1")));

    // The grid shows the project's rows only.
    EXPECT_EQ(f->Data1->recordCount(), 4);
    EXPECT_EQ(f->Label1->text(), QStringLiteral("Appartamento"));

    // Run again: each unit gets a second row, filled as well.
    f->Command1_Click();
    const QList<Row> again = rows();
    ASSERT_EQ(again.size(), 9);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(numbers(again.at(i + 5)), expected.at(i)) << i;
    EXPECT_EQ(numbers(again.at(1)), expected.at(0));
    EXPECT_EQ(f->Data1->recordCount(), 8);
}

TEST_F(SummaryFormTest, AProjectNameWithQuotesSelectsExactlyItsOwnRows)
{
    fillProject();
    for (const char *name : { "L'ALBA", "IL \"SOLE\"", "L'ALBA' OR '1'='1" }) {
        VAR_GBL.nome_progetto = QString::fromUtf8(name);
        open()->Command1_Click();
        EXPECT_TRUE(boxes.shown().isEmpty()) << name;
        platform::FormRegistry::unload(expenses::SummaryFormName);
    }
    VAR_GBL.nome_progetto = QStringLiteral("L'ALBA");
    frm_rip_spese *f = open();
    ASSERT_EQ(f->Data1->recordCount(), 4);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(f->Data1->value(r, QStringLiteral("COD_CONDOMINIO")), QVariant(QStringLiteral("L'ALBA")));
    EXPECT_EQ(f->Data1->value(0, QStringLiteral("millesimi_generali")), QVariant(250.0));
}

TEST_F(SummaryFormTest, AnOwnerWithQuotesIsStoredAsTyped)
{
    buildings(1, { { 1, 0 } });
    Database d = Database::open(project);
    insert(d, "CODIF_PIANI", { "NUM_PAL", "SCALA", "SIGLA", "PROPRIETARIO", "INTERNO", "DESCRIZIONE" },
        { { 1, "Nessuna", "T", "D'Amico \"Pino\"", 1, "Negozio" } });
    insert(d, "MILLESIMI", { "CONDOMINO", "PALAZ", "SCALA", "INTERNO", "MILLESIMI" },
        { { "D'Amico \"Pino\"", "1", "Nessuna", 1, 1000.0 } });
    open()->Command1_Click();
    const QList<Row> all = rows();
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(all.at(0).owner, QStringLiteral("D'Amico \"Pino\""));
    EXPECT_EQ(all.at(0).thousandths[0], QVariant(1000.0));
}

// --- Elimina Tutto ---------------------------------------------------------------------------

TEST_F(SummaryFormTest, EliminaTuttoAsksAndDeletesOnlyTheProjectsRows)
{
    addRow({ QStringLiteral("CONDO1"), QStringLiteral("Rossi"), QStringLiteral("Box"), {} });
    addRow({ QStringLiteral("ALTRO"), QStringLiteral("Gialli"), QStringLiteral("Box"), {} });
    addRow({ QStringLiteral("CONDO1"), QStringLiteral("Verdi"), QStringLiteral("Box"), {} });
    frm_rip_spese *f = open();
    ASSERT_EQ(f->Data1->recordCount(), 2);

    boxes.answer(MsgResult::No);
    f->Command3->click();
    EXPECT_EQ(rows().size(), 3);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Vuoi Eliminare i dati della tabella ?"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Elimina Dati !!!"));
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Critical);
    EXPECT_EQ(boxes.shown().at(0).buttons, platform::MsgButtons::YesNo);

    boxes.answer(MsgResult::Yes);
    f->Command3_Click();
    const QList<Row> left = rows();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left.at(0).project, QStringLiteral("ALTRO"));
    EXPECT_EQ(f->Data1->recordCount(), 0);
}

// --- Projects of one name ----------------------------------------------------------------------

// "condo1" and "CONDO1" are two projects: each sees, makes and deletes its own rows only.
TEST_F(SummaryFormTest, ProjectsWhoseNamesDifferInCaseKeepTheirRowsApart)
{
    fillProject();
    addRow({ QStringLiteral("condo1"), QStringLiteral("Gialli"), QStringLiteral("Box"), { 7.0 } });
    frm_rip_spese *f = open();
    EXPECT_EQ(f->Data1->recordCount(), 0);

    f->Command1_Click();
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(f->Data1->recordCount(), 4);
    boxes.answer(MsgResult::Yes);
    f->Command3_Click();
    const QList<Row> left = rows();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left.at(0).project, QStringLiteral("condo1"));
    EXPECT_EQ(left.at(0).owner, QStringLiteral("Gialli"));
}

// A project of the same name in another folder owns the rows it made: the open project neither
// sees them nor adds to them nor deletes them, and says so.
TEST_F(SummaryFormTest, AProjectOfTheSameNameInAnotherFolderKeepsItsRows)
{
    fillProject();
    QTemporaryDir elsewhere;
    const QString other = namesakeWithSummaryRows(elsewhere);
    ASSERT_EQ(rows().size(), 4);

    frm_rip_spese *f = open();
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("non vengono mostrate")));
    EXPECT_TRUE(boxes.messages().at(0).contains(QDir::toNativeSeparators(other)));
    EXPECT_EQ(f->TDBGrid1->dataSource(), nullptr);

    boxes.clear();
    f->Command1_Click();
    boxes.answer(MsgResult::Yes);
    f->Command3_Click();
    ASSERT_EQ(boxes.messages().size(), 3);
    EXPECT_TRUE(boxes.messages().at(0).startsWith(QStringLiteral("Tabella non creata: ")));
    EXPECT_TRUE(boxes.messages().at(2).startsWith(QStringLiteral("Impossibile eliminare i dati: ")));
    for (const QString &text : { boxes.messages().at(0), boxes.messages().at(2) })
        EXPECT_TRUE(text.contains(QStringLiteral("restano a quel progetto"))) << text.toStdString();
    EXPECT_EQ(rows().size(), 4);

    // Once that project is gone, its rows are the open project's to work.
    ASSERT_TRUE(QFile::remove(other));
    platform::FormRegistry::unload(expenses::SummaryFormName);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    boxes.clear();
    f = open();
    EXPECT_TRUE(boxes.messages().isEmpty());
    EXPECT_EQ(f->Data1->recordCount(), 4);
    boxes.answer(MsgResult::Yes);
    f->Command3_Click();
    EXPECT_TRUE(rows().isEmpty());
}

// --- The merge -------------------------------------------------------------------------------

class SummaryMergeTest : public SummaryFormTest
{
public:
    void SetUp() override
    {
        SummaryFormTest::SetUp();
        setUpRows();
    }

    /** Four rows of CONDO1 and the form open on them. */
    void setUpRows()
    {
        a = addRow({ QStringLiteral("CONDO1"), QStringLiteral("Rossi"), QStringLiteral("Appartamento"),
            { 100.0, 200.0, 300.0, 400.0, 500.0, 600.0 } });
        b = addRow({ QStringLiteral("CONDO1"), QStringLiteral("Rossi"), QStringLiteral("Box"),
            { 10.0, 20.0, 30.0, 40.0, 50.0, 60.0 } });
        c = addRow({ QStringLiteral("CONDO1"), QStringLiteral("Rossi"), QStringLiteral("Garage"),
            { 1.0, 2.0, 3.0, 4.0, 5.0, 6.0 } });
        d = addRow({ QStringLiteral("CONDO1"), QStringLiteral("Rossi"), QVariant(),
            { null, 7.0, null, 7.0, 7.0, 7.0 } });
        f = open();
    }

    void seleziona(const QList<qint64> &rowids)
    {
        select(f, rowids);
        f->sel_Click();
    }
    void accorpa(qint64 into)
    {
        makeCurrent(f, into);
        f->accorpa_Click();
    }

    qint64 a = 0, b = 0, c = 0, d = 0;
    frm_rip_spese *f = nullptr;
};

TEST_F(SummaryMergeTest, SequencesOfSelezionaAndAccorpa)
{
    struct Case
    {
        const char *name;
        std::function<void(SummaryMergeTest &)> steps;
        qint64 SummaryMergeTest::*target;
        QVariantList thousandths;
        QVariant description;
    };
    const Case cases[] = {
        { "two rows into a third",
            [](SummaryMergeTest &t) {
                t.seleziona({ t.b, t.c });
                t.accorpa(t.a);
            },
            &SummaryMergeTest::a, { 111.0, 222.0, 333.0, 444.0, 555.0, 666.0 },
            QStringLiteral("Appartamento + Box + Garage") },
        { "descriptions in the order of selection",
            [](SummaryMergeTest &t) {
                t.seleziona({ t.c, t.b });
                t.accorpa(t.a);
            },
            &SummaryMergeTest::a, { 111.0, 222.0, 333.0, 444.0, 555.0, 666.0 },
            QStringLiteral("Appartamento + Garage + Box") },
        { "empty values and description add nothing",
            [](SummaryMergeTest &t) {
                t.seleziona({ t.b, t.d });
                t.accorpa(t.a);
            },
            &SummaryMergeTest::a, { 110.0, 227.0, 330.0, 447.0, 557.0, 667.0 },
            QStringLiteral("Appartamento + Box") },
        { "an empty target stays empty",
            [](SummaryMergeTest &t) {
                t.seleziona({ t.b });
                t.accorpa(t.d);
            },
            &SummaryMergeTest::d, { null, 27.0, null, 47.0, 57.0, 67.0 }, QVariant() },
        { "Accorpa twice adds twice",
            [](SummaryMergeTest &t) {
                t.seleziona({ t.c });
                t.accorpa(t.a);
                t.accorpa(t.a);
            },
            &SummaryMergeTest::a, { 102.0, 204.0, 306.0, 408.0, 510.0, 612.0 },
            QStringLiteral("Appartamento + Garage + Garage") },
        { "Seleziona with no row changes nothing",
            [](SummaryMergeTest &t) {
                t.seleziona({});
                t.accorpa(t.a);
            },
            &SummaryMergeTest::a, { 100.0, 200.0, 300.0, 400.0, 500.0, 600.0 },
            QStringLiteral("Appartamento") },
        { "Accorpa before any Seleziona changes nothing", [](SummaryMergeTest &t) { t.accorpa(t.b); },
            &SummaryMergeTest::b, { 10.0, 20.0, 30.0, 40.0, 50.0, 60.0 }, QStringLiteral("Box") },
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        // Each case from the same four rows and fresh sums.
        platform::FormRegistry::unload(expenses::SummaryFormName);
        Database::open(summaryPath()).clear(QStringLiteral("TAB_GENERALE"));
        for (QVariant *sum : { &VAR_GBL.somma_mil_generali, &VAR_GBL.somma_mil_palazzina,
                 &VAR_GBL.somma_mil_scala, &VAR_GBL.somma_mil_ascensore, &VAR_GBL.somma_mil_riscaldamento })
            *sum = QVariant();
        VAR_GBL.somma_mil_portierato = 0.0;
        VAR_GBL.descrizioni_accorpate.clear();
        setUpRows();
        test.steps(*this);
        const Row merged = rowById(this->*test.target);
        EXPECT_EQ(numbers(merged), test.thousandths);
        EXPECT_EQ(merged.description.isNull() ? QVariant() : merged.description, test.description);
        EXPECT_TRUE(boxes.shown().isEmpty());
        boxes.clear();
    }
}

TEST_F(SummaryMergeTest, SelezionaFillsTheSharedSumsAndLeavesTheLastSelectedRowCurrent)
{
    seleziona({ c, b, d });
    EXPECT_EQ(VAR_GBL.somma_mil_generali.toDouble(), 11.0);
    EXPECT_EQ(VAR_GBL.somma_mil_palazzina.toDouble(), 29.0);
    EXPECT_EQ(VAR_GBL.somma_mil_scala.toDouble(), 33.0);
    EXPECT_EQ(VAR_GBL.somma_mil_ascensore.toDouble(), 51.0);
    EXPECT_EQ(VAR_GBL.somma_mil_riscaldamento.toDouble(), 62.0);
    EXPECT_EQ(VAR_GBL.somma_mil_portierato, 73.0);
    EXPECT_EQ(VAR_GBL.descrizioni_accorpate, QStringLiteral(" + Garage + Box"));
    EXPECT_EQ(f->Data1->rowid(f->Data1->currentRow()), d);

    // The sums outlive the form; Accorpa reads them and leaves them.
    platform::FormRegistry::unload(expenses::SummaryFormName);
    f = open();
    accorpa(a);
    EXPECT_EQ(numbers(rowById(a)), (QVariantList { 111.0, 229.0, 333.0, 451.0, 562.0, 673.0 }));
    EXPECT_EQ(VAR_GBL.somma_mil_generali.toDouble(), 11.0);
    EXPECT_EQ(VAR_GBL.descrizioni_accorpate, QStringLiteral(" + Garage + Box"));
}

TEST_F(SummaryMergeTest, AccorpaIntoASelectedRowAsksFirst)
{
    seleziona({ b, c }); // leaves c current
    boxes.answer(MsgResult::No);
    f->accorpa_Click();
    EXPECT_EQ(numbers(rowById(c)), (QVariantList { 1.0, 2.0, 3.0, 4.0, 5.0, 6.0 }));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Attenzione !!!"));
    EXPECT_EQ(boxes.shown().at(0).buttons, platform::MsgButtons::YesNo);

    // Yes: its own values count twice.
    boxes.answer(MsgResult::Yes);
    f->accorpa_Click();
    EXPECT_EQ(numbers(rowById(c)), (QVariantList { 12.0, 24.0, 36.0, 48.0, 60.0, 72.0 }));
    EXPECT_EQ(rowById(c).description.toString(), QStringLiteral("Garage + Box + Garage"));

    // A row that was not selected is merged without a question.
    boxes.clear();
    accorpa(a);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// A value typed as text that is no number: a selected row adds nothing for it, and a merge into
// a row holding one stops with a message, writing nothing.
TEST_F(SummaryMergeTest, ValuesThatAreNoNumbers)
{
    const qint64 e = addRow({ QStringLiteral("CONDO1"), QStringLiteral("Neri"), QStringLiteral("Cantina"),
        { QStringLiteral("abc"), 3.0, 3.0, 3.0, 3.0, 3.0 } });
    platform::FormRegistry::unload(expenses::SummaryFormName);
    f = open();
    seleziona({ b, e });
    EXPECT_EQ(VAR_GBL.somma_mil_generali.toDouble(), 10.0);
    EXPECT_EQ(VAR_GBL.somma_mil_palazzina.toDouble(), 23.0);
    EXPECT_EQ(VAR_GBL.descrizioni_accorpate, QStringLiteral(" + Box + Cantina"));

    seleziona({ c });
    accorpa(e);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).startsWith(QStringLiteral("Righe non accorpate")));
    const Row unchanged = rowById(e);
    EXPECT_EQ(unchanged.thousandths[0], QVariant(QStringLiteral("abc")));
    EXPECT_EQ(unchanged.thousandths[1].toDouble(), 3.0);
    EXPECT_EQ(unchanged.description.toString(), QStringLiteral("Cantina"));
}

TEST_F(SummaryMergeTest, AccorpaWithNoCurrentRowSaysSoAndWritesNothing)
{
    seleziona({ b });
    f->Data1->setCurrentRow(-1);
    f->accorpa_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().at(0).text.contains(QStringLiteral("Nessuna riga corrente")));
    EXPECT_EQ(numbers(rowById(a)), (QVariantList { 100.0, 200.0, 300.0, 400.0, 500.0, 600.0 }));
}

TEST_F(SummaryMergeTest, TheAccorpaButtonWalksTheSelectionAndWritesNothing)
{
    select(f, { d, a, c });
    makeCurrent(f, b);
    f->Command4->click();
    EXPECT_EQ(f->Data1->rowid(f->Data1->currentRow()), c);
    EXPECT_EQ(numbers(rowById(a)), (QVariantList { 100.0, 200.0, 300.0, 400.0, 500.0, 600.0 }));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// --- The pop-up menu -------------------------------------------------------------------------

class RecordingMenu : public expenses::MainWindowMenu
{
public:
    void setPopupItemVisible(const QString &name, bool visible) override
    {
        items << std::pair { name, visible };
    }
    void popUpOpzioni(const QPoint &position) override { popUps << position; }
    QList<std::pair<QString, bool>> items;
    QList<QPoint> popUps;
};

TEST_F(SummaryFormTest, TheRightButtonPopsTheMenuUpWithSelezionaAndAccorpaOnly)
{
    RecordingMenu menu;
    expenses::setMainWindowMenu(&menu);
    frm_rip_spese *f = open();
    f->show();
    QTest::mouseRelease(f->TDBGrid1->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(menu.popUps.isEmpty());

    QTest::mouseRelease(f->TDBGrid1->viewport(), Qt::RightButton, {}, QPoint(20, 10));
    expenses::setMainWindowMenu(nullptr);
    ASSERT_EQ(menu.popUps.size(), 1);
    EXPECT_EQ(menu.popUps.at(0), f->TDBGrid1->viewport()->mapToGlobal(QPoint(20, 10)));
    const QList<std::pair<QString, bool>> expected = { { "Opzioni", true }, { "sel", true },
        { "accorpa", true }, { "copia", false }, { "incolla", false } };
    EXPECT_EQ(menu.items, expected);
}

// --- Project changes and missing files -------------------------------------------------------

TEST_F(SummaryFormTest, TheFormFollowsTheOpenProject)
{
    fillProject();
    addRow({ QStringLiteral("ALTRO"), QStringLiteral("Gialli"), QStringLiteral("Box"), {} });
    frm_rip_spese *f = open();
    f->Command1_Click();
    ASSERT_EQ(f->Data1->recordCount(), 4);

    // Closed: the rows stay shown, Crea Tabella refuses.
    VAR_GBL.progetto_corrente.reset();
    VAR_GBL.nome_progetto.clear();
    f->Command1_Click();
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Nessun progetto selezionato") });
    EXPECT_EQ(rows().size(), 5);
    EXPECT_EQ(f->Data1->recordCount(), 4);

    // Another project opened: the form shows its rows.
    VAR_GBL.progetto_corrente = project;
    VAR_GBL.nome_progetto = QStringLiteral("ALTRO");
    expenses::projectOpened();
    EXPECT_EQ(f->projectName(), QStringLiteral("ALTRO"));
    ASSERT_EQ(f->Data1->recordCount(), 1);
    EXPECT_EQ(f->Data1->value(0, QStringLiteral("nome_condomino")), QVariant(QStringLiteral("Gialli")));
}

TEST_F(SummaryFormTest, AMissingSummaryDatabaseIsSaidAndNothingIsCreated)
{
    fillProject();
    ASSERT_TRUE(QFile::remove(summaryPath()));
    frm_rip_spese *f = open();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("RIP_SPESE.MDB")));
    f->Command1_Click();
    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_TRUE(boxes.messages().at(1).startsWith(QStringLiteral("Tabella non creata")));
    EXPECT_FALSE(QFile::exists(summaryPath()));
}

} // namespace
} // namespace zav::test
