// The expense form driven through its handlers and grids: creating the archive, typing the
// amounts, the apportionment, the totals, the frame and its keys, emptying, and the project's
// changes while the form stays open.

#include "expenses/frm_ripart_spese.h"
#include "expenses/mainwindowmetrics.h"
#include "expensesfixture.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "support/screenshots.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace zav::test {
namespace {

using expenses::frm_ripart_spese;
using platform::Database;
using platform::DataGrid;
using platform::MsgIcon;
using platform::MsgResult;
using platform::Recordset;

class ExpenseFormTest : public ExpensesTest
{
protected:
    frm_ripart_spese *form() { return qobject_cast<frm_ripart_spese *>(expenses::spese()); }

    /** "Crea Tabella" answered with a name. */
    void create(frm_ripart_spese *f, const std::optional<QString> &name)
    {
        boxes.answerText(name);
        f->Command1_Click();
    }

    QStringList expenseArchives() const
    {
        return QDir(folder.file(QStringLiteral("ARCHIVI")))
            .entryList({ QStringLiteral("*.TSP") }, QDir::Files | QDir::Dirs);
    }

    /** Types into a grid's cell as the user does; false when the grid refuses it. */
    static bool type(DataGrid *grid, int row, const QString &caption, const QString &text)
    {
        QAbstractItemModel *model = grid->model();
        return model->setData(model->index(row, grid->columnByCaption(caption)), text);
    }

    static QString cell(DataGrid *grid, int row, const QString &caption)
    {
        return grid->model()->index(row, grid->columnByCaption(caption)).data().toString();
    }

    /** The amounts of the CONDO1 example, typed into the four grids. */
    void typeAmounts(frm_ripart_spese *f)
    {
        const QString amount = QStringLiteral("Importo");
        ASSERT_TRUE(type(f->TDBGrid4, 0, amount, QStringLiteral("1.000,00")));
        ASSERT_TRUE(type(f->TDBGrid4, 1, amount, QStringLiteral("500")));
        ASSERT_TRUE(type(f->TDBGrid2, 0, amount, QStringLiteral("200")));
        ASSERT_TRUE(type(f->TDBGrid2, 1, amount, QStringLiteral("50")));
        // Stair rows: 1 Nessuna, 1 A, 1 B, 2 Nessuna, 2 A.
        ASSERT_TRUE(type(f->TDBGrid3, 1, amount, QStringLiteral("100")));
        ASSERT_TRUE(type(f->TDBGrid3, 2, amount, QStringLiteral("30")));
        ASSERT_TRUE(type(f->TDBGrid3, 4, amount, QStringLiteral("70")));
        ASSERT_TRUE(type(f->TDBGrid5, 1, amount, QStringLiteral("80")));
        ASSERT_TRUE(type(f->TDBGrid5, 2, amount, QStringLiteral("20")));
    }
};

TEST_F(ExpenseFormTest, OneFormReachedByName)
{
    frm_ripart_spese *f = form();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(expenses::spese(), f);
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Ripartizione delle Spese"));
    EXPECT_EQ(f->TDBGrid1->caption(), QStringLiteral("Tabella Ripartizione Spese"));
    EXPECT_EQ(f->TDBGrid1->columnCount(), 18);
    EXPECT_EQ(f->TDBGrid1->column(17).caption, QStringLiteral("TOTALE"));
    EXPECT_EQ(f->TDBGrid1->column(6).format, QStringLiteral("Currency"));
    EXPECT_FALSE(f->Frame1->isVisibleTo(f));
}

TEST_F(ExpenseFormTest, NamesThatMakeNoArchive)
{
    fillProject();
    frm_ripart_spese *f = form();
    const QString refused
        = QStringLiteral("Nome della tabella non valido: non può contenere \"/\", \"\\\", \"..\", \":\" "
                         "né caratteri di controllo.");
    struct Case
    {
        std::optional<QString> answer;
        QString message;
    } cases[] = {
        { std::nullopt, QString() },
        { QString(), QString() },
        { QStringLiteral("   "), QString() },
        { QStringLiteral("../x"), refused },
        { QStringLiteral("a/b"), refused },
        { QString(300, u'x'), QStringLiteral("Nome della tabella troppo lungo.") },
    };
    for (const Case &c : cases) {
        boxes.clear();
        create(f, c.answer);
        ASSERT_FALSE(boxes.shown().isEmpty());
        EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Inserire il nome della Tabella."));
        EXPECT_EQ(boxes.messages(), c.message.isEmpty() ? QStringList() : QStringList { c.message });
        EXPECT_TRUE(expenseArchives().isEmpty());
        EXPECT_TRUE(f->archivePath().isEmpty());
    }
}

TEST_F(ExpenseFormTest, CreaTabellaMakesTheArchiveUnderTheUpperCasedName)
{
    fillProject();
    frm_ripart_spese *f = form();
    create(f, QStringLiteral("prova"));
    const platform::ScriptedDialogs::Shown &input = boxes.shown().at(0);
    EXPECT_EQ(input.title, QStringLiteral("Crea Tabella"));
    EXPECT_EQ(input.defaultText, QStringLiteral("CONDO1"));
    EXPECT_EQ(expenseArchives(), QStringList { QStringLiteral("PROVA.TSP") });
    EXPECT_EQ(f->archivePath(), folder.file(QStringLiteral("ARCHIVI/PROVA.TSP")));
    EXPECT_TRUE(boxes.messages().isEmpty());
    EXPECT_EQ(f->TDBGrid1->model()->rowCount(), 4);
    EXPECT_EQ(cell(f->TDBGrid1, 0, QStringLiteral("Nome Condomino")), QStringLiteral("Rossi"));
    EXPECT_EQ(f->TDBGrid3->model()->rowCount(), 5);
    EXPECT_EQ(f->TDBGrid4->model()->rowCount(), 3);

    // The copies on their own fill the archive shown again.
    {
        Database d = Database::open(f->archivePath());
        d.exec(
            QStringLiteral("UPDATE TAB_GENERALE SET millesimi_generali = NULL, millesimi_ascensore = NULL"));
    }
    f->copia_mil_glob();
    f->copia_mil_scala();
    EXPECT_EQ(cell(f->TDBGrid1, 2, QStringLiteral("Mil. Gen.")), QStringLiteral("300"));
    EXPECT_EQ(column(f->archivePath(), QStringLiteral("TAB_GENERALE"), QStringLiteral("millesimi_ascensore")),
        (QVariantList { 0.0, 1000.0, 1000.0, 1000.0 }));

    // Made again while the form holds it: a fresh archive, each unit once.
    create(f, QStringLiteral("PROVA"));
    EXPECT_EQ(
        column(f->archivePath(), QStringLiteral("TAB_GENERALE"), QStringLiteral("nome_condomino")).size(), 4);
    EXPECT_EQ(f->TDBGrid1->model()->rowCount(), 4);
}

TEST_F(ExpenseFormTest, WithoutTheTemplateNothingIsAppended)
{
    fillProject();
    frm_ripart_spese *f = form();
    create(f, QStringLiteral("CONDO1"));
    ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("rip_spese2.mdb"))));
    boxes.clear();
    create(f, QStringLiteral("CONDO1"));
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("rip_spese2.mdb")));
    EXPECT_EQ(boxes.shown().at(1).icon, MsgIcon::Critical);
    // The archive before is whole and shown again.
    EXPECT_EQ(
        column(f->archivePath(), QStringLiteral("TAB_GENERALE"), QStringLiteral("nome_condomino")).size(), 4);
    EXPECT_EQ(f->archivePath(), folder.file(QStringLiteral("ARCHIVI/CONDO1.TSP")));
    EXPECT_EQ(f->TDBGrid1->model()->rowCount(), 4);
}

TEST_F(ExpenseFormTest, TheBuildingsNoticeAndAProjectWithoutUnits)
{
    buildings(3, {});
    frm_ripart_spese *f = form();
    create(f, QStringLiteral("CONDO1"));
    ASSERT_EQ(boxes.messages(), QStringList { QStringLiteral("Non sono ancora state inserite palazzine") });
    EXPECT_EQ(boxes.shown().at(1).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
    EXPECT_EQ(boxes.shown().at(1).icon, MsgIcon::Information);
    EXPECT_EQ(f->TDBGrid1->model()->rowCount(), 0);
    EXPECT_EQ(f->TDBGrid2->model()->rowCount(), 3);
    EXPECT_EQ(f->TDBGrid3->model()->rowCount(), 0);

    // Apportioning no units says so.
    boxes.clear();
    f->Command6_Click();
    EXPECT_EQ(
        boxes.messages(), QStringList { QStringLiteral("Calcolo Effettuato\nNessuna unità nella tabella.") });
}

TEST_F(ExpenseFormTest, LoadingOpensOnlyTheProjectsArchive)
{
    fillProject();
    makeArchive(QStringLiteral("ALTRO"));
    EXPECT_TRUE(form()->archivePath().isEmpty());
    EXPECT_EQ(form()->TDBGrid1->model()->rowCount(), 0);
    platform::FormRegistry::unload(expenses::ExpenseFormName);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The project's own archive, whatever the case of its file name.
    const QString made = makeArchive();
    const QString lower = folder.file(QStringLiteral("ARCHIVI/condo1.tsp"));
    ASSERT_TRUE(QFile::rename(made, lower));
    frm_ripart_spese *f = form();
    EXPECT_EQ(f->archivePath(), lower);
    EXPECT_EQ(f->TDBGrid1->model()->rowCount(), 4);
    EXPECT_TRUE(boxes.messages().isEmpty());
}

// Two projects that would name one expense archive: "condo1" beside CONDO1 in one folder, and
// CONDO1 of another folder. The first to make the archive owns it; the other neither opens nor
// replaces it, and gets one of its own under another name, which it then opens by itself.
TEST_F(ExpenseFormTest, AnExpenseArchiveIsItsProjectsAlone)
{
    QTemporaryDir elsewhere;
    const struct
    {
        QString archive;
        QString name;
    } others[] = {
        { folder.file(QStringLiteral("ARCHIVI/condo1.cdb")), QStringLiteral("condo1") },
        { elsewhere.filePath(QStringLiteral("CONDO1.cdb")), QStringLiteral("CONDO1") },
    };
    fillProject();
    for (const auto &other : others) {
        SCOPED_TRACE(other.archive.toStdString());
        ASSERT_TRUE(QFile::copy(folder.file(QStringLiteral("ARCH_MIL.CLO")), other.archive));
        {
            Database d = Database::open(other.archive);
            d.exec(QStringLiteral(
                "INSERT INTO CODIF_PIANI (NUM_PAL, PROPRIETARIO, INTERNO) VALUES (1, 'Solo', 1)"));
        }

        // CONDO1 makes its archive and types an amount.
        engine::VAR_GBL.progetto_corrente = project;
        engine::VAR_GBL.nome_progetto = QStringLiteral("CONDO1");
        frm_ripart_spese *f = form();
        create(f, QStringLiteral("CONDO1"));
        const QString condo1 = f->archivePath();
        ASSERT_EQ(condo1, folder.file(QStringLiteral("ARCHIVI/CONDO1.TSP")));
        {
            Database d = Database::open(condo1);
            d.exec(QStringLiteral("UPDATE TAB_SPESE1 SET importo = 10 WHERE PALAZZINA = 1"));
        }
        QFile file(condo1);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        // The other project is opened: CONDO1's archive is not shown, and not replaced.
        engine::VAR_GBL.progetto_corrente = other.archive;
        engine::VAR_GBL.nome_progetto = other.name;
        boxes.clear();
        expenses::projectOpened();
        EXPECT_TRUE(f->archivePath().isEmpty());
        EXPECT_EQ(f->TDBGrid1->model()->rowCount(), 0);
        ASSERT_EQ(boxes.messages().size(), 1);
        EXPECT_TRUE(boxes.messages().at(0).contains(QDir::toNativeSeparators(project)));
        boxes.clear();
        create(f, other.name);
        ASSERT_EQ(boxes.messages().size(), 1);
        EXPECT_TRUE(
            boxes.messages().at(0).startsWith(QStringLiteral("La tabella \"CONDO1.TSP\" è l'archivio spese "
                                                             "del progetto")));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before);
        file.close();
        EXPECT_TRUE(f->archivePath().isEmpty());

        // Named apart, it has its own, and finds it again when it comes back.
        boxes.clear();
        create(f, QStringLiteral("ALTRO CONDO1"));
        EXPECT_TRUE(boxes.messages().isEmpty()) << boxes.messages().join(u'\n').toStdString();
        EXPECT_EQ(f->TDBGrid1->model()->rowCount(), 1);
        expenses::projectOpened();
        EXPECT_EQ(f->archivePath(), folder.file(QStringLiteral("ARCHIVI/ALTRO CONDO1.TSP")));

        // And CONDO1 comes back to its own, amount and all.
        engine::VAR_GBL.progetto_corrente = project;
        engine::VAR_GBL.nome_progetto = QStringLiteral("CONDO1");
        expenses::projectOpened();
        EXPECT_EQ(f->archivePath(), condo1);
        EXPECT_EQ(f->TDBGrid1->model()->rowCount(), 4);
        EXPECT_EQ(
            column(condo1, QStringLiteral("TAB_SPESE1"), QStringLiteral("importo")).value(0), QVariant(10.0));

        boxes.clear();
        QFile::remove(condo1);
        QFile::remove(folder.file(QStringLiteral("ARCHIVI/ALTRO CONDO1.TSP")));
        QFile::remove(other.archive);
    }
}

// A field missing from an amount table is named, at load and when apportioning; nothing is
// computed from a damaged table.
TEST_F(ExpenseFormTest, AnArchiveLackingAFieldNamesIt)
{
    fillProject();
    const QString path = makeArchive();
    {
        Database d = Database::open(path);
        d.exec(QStringLiteral("ALTER TABLE TAB_SPESE2 DROP COLUMN importo"));
    }
    frm_ripart_spese *f = form();
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral(
            "L'archivio spese \"CONDO1.TSP\" nella tabella TAB_SPESE2 manca il campo importo.") });
    boxes.clear();
    f->Command6_Click();
    EXPECT_EQ(boxes.messages(),
        QStringList {
            QStringLiteral("Calcolo non effettuato: nella tabella TAB_SPESE2 manca il campo importo.") });
    EXPECT_TRUE(column(path, QStringLiteral("TAB_GENERALE"), QStringLiteral("totale")).value(0).isNull());
}

// F10 on an archive that cannot be read says so, rather than totals of nothing.
TEST_F(ExpenseFormTest, TotalsOfAnArchiveThatCannotBeReadAreNotShown)
{
    fillProject();
    frm_ripart_spese *f = form();
    create(f, QStringLiteral("CONDO1"));
    {
        QFile damaged(f->archivePath());
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write(QByteArray(4096, 'x'));
    }
    boxes.clear();
    f->Form_KeyDown(121);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).startsWith(
        QStringLiteral("L'archivio spese \"CONDO1.TSP\" non può essere letto: i totali non sono calcolati.")))
        << boxes.messages().at(0).toStdString();
    EXPECT_FALSE(boxes.messages().at(0).contains(QStringLiteral("Totale Generale")));
}

TEST_F(ExpenseFormTest, AnArchiveLackingATable)
{
    fillProject();
    const QString path = makeArchive();
    Database d = Database::open(path);
    d.dropTable(QStringLiteral("TAB_SPESE4"));
    d.close();
    frm_ripart_spese *f = form();
    EXPECT_EQ(boxes.messages(),
        QStringList {
            QStringLiteral("L'archivio spese \"CONDO1.TSP\" non contiene le tabelle: TAB_SPESE4.") });
    EXPECT_EQ(f->TDBGrid5->model()->rowCount(), 0);
    EXPECT_EQ(f->TDBGrid3->model()->rowCount(), 5);
    boxes.clear();
    f->Command6_Click();
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral("Calcolo Effettuato\nTabelle mancanti: TAB_SPESE4.") });
}

TEST_F(ExpenseFormTest, CommandsWithoutAnArchive)
{
    frm_ripart_spese *f = form();
    f->Command6_Click();
    f->Command3_Click();
    EXPECT_EQ(boxes.messages(),
        (QStringList { QStringLiteral("Nessuna tabella spese aperta: crearla con \"Crea Tabella\"."),
            QStringLiteral("Nessuna tabella spese aperta.") }));
    EXPECT_TRUE(expenseArchives().isEmpty());
    // The frame shows empty grids.
    f->Command4_Click();
    EXPECT_TRUE(f->Frame1->isVisibleTo(f));
    EXPECT_EQ(f->TDBGrid4->model()->rowCount(), 0);
}

TEST_F(ExpenseFormTest, TypingTheAmountsAndApportioning)
{
    fillProject();
    frm_ripart_spese *f = form();
    create(f, QStringLiteral("CONDO1"));
    f->Command4_Click();
    typeAmounts(f);
    EXPECT_EQ(cell(f->TDBGrid4, 0, QStringLiteral("Importo")), QStringLiteral("€ 1.000,00"));
    EXPECT_EQ(column(f->archivePath(), QStringLiteral("TAB_SPESE3"), QStringLiteral("importo")).at(0),
        QVariant(1000.0));
    // A text that is no number is refused and the amount stays.
    EXPECT_FALSE(type(f->TDBGrid4, 0, QStringLiteral("Importo"), QStringLiteral("abc")));
    EXPECT_EQ(column(f->archivePath(), QStringLiteral("TAB_SPESE3"), QStringLiteral("importo")).at(0),
        QVariant(1000.0));

    boxes.clear();
    f->Command6_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Calcolo Effettuato"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Zav"));
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::None);
    EXPECT_TRUE(f->TDBGrid1->isVisibleTo(f));
    const QStringList totals = { "€ 505,00", "€ 595,00", "€ 630,00", "€ 320,00" };
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(cell(f->TDBGrid1, row, QStringLiteral("TOTALE")), totals.at(row));
    EXPECT_EQ(cell(f->TDBGrid1, 3, QStringLiteral("E")), QString());

    // F10: general, heating, porter's lodge and building shares over every row.
    boxes.clear();
    f->Form_KeyDown(121);
    EXPECT_EQ(boxes.messages(),
        QStringList {
            QStringLiteral("Totale Generale: € 1.000,00 Totale Riscaldamento: € 500,00 Totale Portierato: "
                           "€ 0,00 Totale Palazzina: € 250,00") });
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Zav"));
}

// Four amounts of 1.000, 200, 120 and 500 € over thousandths that give no whole cents: every share
// is a whole number of cents, the shares of each amount add up to it, and F10 says so.
TEST_F(ExpenseFormTest, SharesAddUpToTheAmountsToTheCent)
{
    fillProject();
    frm_ripart_spese *f = form();
    create(f, QStringLiteral("CONDO1"));
    f->Command4_Click();
    const QString amount = QStringLiteral("Importo");
    ASSERT_TRUE(type(f->TDBGrid4, 0, amount, QStringLiteral("1.000")));
    ASSERT_TRUE(type(f->TDBGrid4, 1, amount, QStringLiteral("200")));
    ASSERT_TRUE(type(f->TDBGrid4, 2, amount, QStringLiteral("120")));
    ASSERT_TRUE(type(f->TDBGrid2, 0, amount, QStringLiteral("500")));
    {
        // Rossi, Bianchi, Verdi (building 1) and Neri (building 2), in stored order.
        Database d = Database::open(f->archivePath());
        const QList<QVariantList> thousandths = {
            { 123.456, 333.333, 142.857, 111.111 },
            { 234.567, 333.333, 285.714, 222.222 },
            { 345.678, 333.334, 285.714, 333.333 },
            { 296.299, 0.0, 285.715, 1000.0 },
        };
        const Recordset units = d.table(QStringLiteral("TAB_GENERALE"));
        ASSERT_EQ(units.recordCount(), 4);
        for (int row = 0; row < 4; ++row)
            d.update(QStringLiteral("TAB_GENERALE"), units.rowidAt(row),
                { { QStringLiteral("millesimi_generali"), thousandths.at(row).at(0) },
                    { QStringLiteral("millesimi_riscaldamento"), thousandths.at(row).at(1) },
                    { QStringLiteral("millesimi_portierato"), thousandths.at(row).at(2) },
                    { QStringLiteral("millesimi_palazzina"), thousandths.at(row).at(3) } });
    }
    boxes.clear();
    f->Command6_Click();
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Calcolo Effettuato") });

    // General: 123.456 rounds up, the cent too many comes off it. Heating: 66.6666 and 66.6668
    // round to 66.67, one cent off the first. Porter's lodge: 17.14284 rounds down, the others up,
    // one cent off the second. Building 1 (666.666 thousandths): 83.333, 166.667, 250.
    const QList<std::pair<QString, QStringList>> columns = {
        { QStringLiteral("A"), { "€ 123,45", "€ 234,57", "€ 345,68", "€ 296,30" } },
        { QStringLiteral("E"), { "€ 66,66", "€ 66,67", "€ 66,67", "€ 0,00" } },
        { QStringLiteral("F"), { "€ 17,14", "€ 34,28", "€ 34,29", "€ 34,29" } },
        { QStringLiteral("B"), { "€ 83,33", "€ 166,67", "€ 250,00", "" } },
        { QStringLiteral("TOTALE"), { "€ 290,58", "€ 502,19", "€ 696,64", "€ 330,59" } },
    };
    for (const auto &[caption, cells] : columns) {
        for (int row = 0; row < 4; ++row)
            EXPECT_EQ(cell(f->TDBGrid1, row, caption), cells.at(row)) << caption.toStdString() << row;
    }
    EXPECT_EQ(column(f->archivePath(), QStringLiteral("TAB_GENERALE"), QStringLiteral("TAB_A")),
        (QVariantList { 123.45, 234.57, 345.68, 296.30 }));

    boxes.clear();
    f->Form_KeyDown(121);
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral("Totale Generale: € 1.000,00 Totale Riscaldamento: € 200,00 Totale "
                                     "Portierato: € 120,00 Totale Palazzina: € 500,00") });
}

TEST_F(ExpenseFormTest, ValuesTooLargeAreRefusedWhenTypedAndWhenApportioned)
{
    fillProject();
    frm_ripart_spese *f = form();
    create(f, QStringLiteral("CONDO1"));
    f->Command4_Click();
    typeAmounts(f);
    f->Command6_Click();
    const QString archive = f->archivePath();
    const QVariantList totals = column(archive, QStringLiteral("TAB_GENERALE"), QStringLiteral("totale"));

    // Typed beyond the limits: refused with a message, the value kept.
    boxes.clear();
    const QString amount = QStringLiteral("Importo");
    EXPECT_FALSE(type(f->TDBGrid4, 0, amount, QStringLiteral("1e15")));
    EXPECT_FALSE(type(f->TDBGrid1, 0, QStringLiteral("Mil. Gen."), QStringLiteral("1e30")));
    EXPECT_FALSE(type(f->TDBGrid1, 0, QStringLiteral("A"), QStringLiteral("1,6e14")));
    EXPECT_TRUE(type(f->TDBGrid4, 1, amount, QStringLiteral("100.000.000.000"))); // at the limit
    ASSERT_EQ(boxes.shown().size(), 3);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral(
            "Importo troppo grande: 1e15. Gli importi non possono superare 100.000.000.000, in più "
            "o in meno: scrivere un importo minore."));
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Critical);
    EXPECT_TRUE(boxes.shown().at(1).text.startsWith(QStringLiteral("Millesimi troppo grandi: 1e30. ")));
    EXPECT_TRUE(boxes.shown().at(2).text.startsWith(QStringLiteral("Importo troppo grande: 1,6e14. ")));
    EXPECT_EQ(
        column(archive, QStringLiteral("TAB_SPESE3"), QStringLiteral("importo")).at(0), QVariant(1000.0));
    EXPECT_EQ(column(archive, QStringLiteral("TAB_GENERALE"), QStringLiteral("millesimi_generali")).at(0),
        QVariant(250.0));

    // An archive that holds such an amount all the same: the calculation is refused, and says
    // so, and no share nor total changes.
    {
        Database d = Database::open(archive);
        d.update(QStringLiteral("TAB_SPESE3"), d.table(QStringLiteral("TAB_SPESE3")).rowidAt(0),
            { { QStringLiteral("importo"), 1e15 } });
    }
    boxes.clear();
    f->Command6_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().at(0).text.startsWith(
        QStringLiteral("Calcolo non effettuato: l'importo di Spese generali supera il limite.\n")))
        << boxes.shown().at(0).text.toStdString();
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Critical);
    EXPECT_EQ(column(archive, QStringLiteral("TAB_GENERALE"), QStringLiteral("totale")), totals);
}

TEST_F(ExpenseFormTest, ALiftThatNobodyPaysIsSaidInsteadOfTheSuccess)
{
    fillProject();
    frm_ripart_spese *f = form();
    create(f, QStringLiteral("CONDO1"));
    // Bianchi moves to floor T, next to Rossi: no unit of the lift of stair 1 A pays.
    {
        Database d = Database::open(f->archivePath());
        d.update(QStringLiteral("TAB_GENERALE"), d.table(QStringLiteral("TAB_GENERALE")).rowidAt(1),
            { { QStringLiteral("PIANO"), QStringLiteral("T") } });
    }
    f->Command4_Click();
    typeAmounts(f);
    boxes.clear();
    f->Command6_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("Spese non ripartite: Ascensore 1 A. Nessuna unità paga queste spese (i millesimi "
                       "delle unità sono 0, mancano o, per l'ascensore, le unità sono al piano \"T\"): "
                       "correggere i millesimi o il piano delle unità e ripetere \"Calcola Spese\". Le "
                       "altre spese sono state ripartite."));
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Information);
    // The lift of 1 B (Verdi) is apportioned; those of 1 A are nobody's.
    EXPECT_EQ(column(f->archivePath(), QStringLiteral("TAB_GENERALE"), QStringLiteral("TAB_D")).mid(0, 3),
        (QVariantList { 0.0, 0.0, 20.0 }));
}

TEST_F(ExpenseFormTest, TheFrameAndItsKeys)
{
    fillProject();
    frm_ripart_spese *f = form();
    create(f, QStringLiteral("CONDO1"));
    f->Form_KeyDown(27);
    EXPECT_FALSE(f->Frame1->isVisibleTo(f));

    f->Command4_Click();
    EXPECT_TRUE(f->Frame1->isVisibleTo(f));
    const auto locked = [](DataGrid *g, const char *caption) {
        return g->column(g->columnByCaption(QString::fromUtf8(caption))).locked;
    };
    EXPECT_TRUE(locked(f->TDBGrid2, "Pal."));
    EXPECT_TRUE(locked(f->TDBGrid3, "Pal."));
    EXPECT_TRUE(locked(f->TDBGrid3, "Scala"));
    EXPECT_TRUE(locked(f->TDBGrid4, "Tabella"));
    EXPECT_TRUE(locked(f->TDBGrid5, "Pal."));
    EXPECT_TRUE(locked(f->TDBGrid5, "Scala"));
    EXPECT_FALSE(locked(f->TDBGrid2, "Importo"));
    EXPECT_FALSE(type(f->TDBGrid2, 0, QStringLiteral("Pal."), QStringLiteral("7")));
    EXPECT_EQ(column(f->archivePath(), QStringLiteral("TAB_SPESE1"), QStringLiteral("PALAZZINA")),
        (QVariantList { 1, 2 }));

    f->Command8->click();
    EXPECT_FALSE(f->Frame1->isVisibleTo(f));

    // The form sees Esc and F10 whichever control has the focus.
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f));
    f->Command4->click();
    f->TDBGrid2->setFocus();
    QTest::keyClick(f->TDBGrid2, Qt::Key_Escape);
    EXPECT_FALSE(f->Frame1->isVisibleTo(f));
    boxes.clear();
    QTest::keyClick(f->TDBGrid1, Qt::Key_F10);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).startsWith(QStringLiteral("Totale Generale: ")));
}

TEST_F(ExpenseFormTest, EliminaTutto)
{
    fillProject();
    frm_ripart_spese *f = form();
    create(f, QStringLiteral("CONDO1"));
    boxes.clear();
    boxes.answer(MsgResult::No);
    f->Command3_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Vuoi eliminare tutti i dati ?"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Elimina i dati !!!"));
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Critical);
    EXPECT_EQ(f->TDBGrid1->model()->rowCount(), 4);

    boxes.answer(MsgResult::Yes);
    f->Command3_Click();
    for (const QString &table : expenses::ExpenseArchive::tables())
        EXPECT_TRUE(column(f->archivePath(), table, QStringLiteral("rowid")).isEmpty()) << qPrintable(table);
    EXPECT_EQ(f->TDBGrid1->model()->rowCount(), 0);
    EXPECT_EQ(f->TDBGrid4->model()->rowCount(), 0);
    EXPECT_TRUE(QFile::exists(f->archivePath()));
}

// A typed amount is read whole in the system's number format or refused with the form expected,
// and the amount already stored stays: a grouping mark stands only between groups of three digits.
TEST_F(ExpenseFormTest, TypedAmountsAreReadWholeOrRefused)
{
    fillProject();
    frm_ripart_spese *f = form();
    create(f, QStringLiteral("CONDO1"));
    const QString amount = QStringLiteral("Importo");
    const struct
    {
        char16_t separator;
        const char *typed;
        std::optional<double> stored; ///< none: refused
    } cases[] = {
        { u',', "1.000", 1000.0 },
        { u',', "1.000.000,5", 1000000.5 },
        { u',', "0,5", 0.5 },
        { u',', "€ 1.234,50", 1234.5 },
        { u',', "12,50", 12.5 },
        { u',', "0.5", std::nullopt },
        { u',', "1,000", std::nullopt }, // three decimals: a thousand mistyped, not one euro
        { u',', "0,125", std::nullopt },
        { u',', "4.20", std::nullopt },
        { u',', "1.00.000", std::nullopt },
        { u',', "abc", std::nullopt },
        { u'.', "1,000", 1000.0 },
        { u'.', "0.5", 0.5 },
        { u'.', "0,5", std::nullopt },
        { u'.', "1.000", std::nullopt },
        { u'.', "0,84", std::nullopt },
        { u'.', "16,1894", std::nullopt },
        { u'.', "3,5", std::nullopt },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        platform::vb::DecimalSeparatorScope separator { QChar(c.separator) };
        type(f->TDBGrid4, 0, amount, QStringLiteral("7"));
        ASSERT_EQ(column(f->archivePath(), QStringLiteral("TAB_SPESE3"), amount).at(0), QVariant(7.0));
        boxes.clear();
        const bool taken = type(f->TDBGrid4, 0, amount, QString::fromUtf8(c.typed));
        EXPECT_EQ(taken, c.stored.has_value());
        const QVariant held = column(f->archivePath(), QStringLiteral("TAB_SPESE3"), amount).at(0);
        EXPECT_EQ(held, QVariant(c.stored.value_or(7.0)));
        if (c.stored) {
            EXPECT_TRUE(boxes.shown().isEmpty());
        } else {
            // Either message names the text and shows the form expected under the separator.
            ASSERT_EQ(boxes.shown().size(), 1);
            const QString text = boxes.shown().at(0).text;
            EXPECT_TRUE(text.startsWith(QStringLiteral("\"%1\" non è un").arg(QString::fromUtf8(c.typed))))
                << text.toStdString();
            EXPECT_TRUE(
                text.contains(c.separator == u',' ? QStringLiteral("1.234,5") : QStringLiteral("1,234.5")))
                << text.toStdString();
        }
    }
    // Emptied, the amount is Null, as never typed.
    EXPECT_TRUE(type(f->TDBGrid4, 0, amount, QString()));
    EXPECT_TRUE(column(f->archivePath(), QStringLiteral("TAB_SPESE3"), amount).at(0).isNull());
}

TEST_F(ExpenseFormTest, AddingAndDeletingAmountRows)
{
    fillProject();
    frm_ripart_spese *f = form();
    create(f, QStringLiteral("CONDO1"));
    f->addAmountRow(f->TDBGrid4);
    EXPECT_EQ(f->TDBGrid4->model()->rowCount(), 4);
    EXPECT_EQ(f->Data5->currentRow(), 3);
    ASSERT_TRUE(type(f->TDBGrid4, 3, QStringLiteral("Importo"), QStringLiteral("12,5")));
    EXPECT_EQ(column(f->archivePath(), QStringLiteral("TAB_SPESE3"), QStringLiteral("importo")).at(3),
        QVariant(12.5));

    boxes.answer(MsgResult::No);
    f->deleteAmountRow(f->TDBGrid4);
    EXPECT_EQ(f->TDBGrid4->model()->rowCount(), 4);
    boxes.answer(MsgResult::Yes);
    f->deleteAmountRow(f->TDBGrid4);
    EXPECT_EQ(column(f->archivePath(), QStringLiteral("TAB_SPESE3"), QStringLiteral("tabella")),
        (QVariantList { "Spese generali", "Spese riscaldamento", "Spese portierato" }));
}

class FakeMetrics : public expenses::MainWindowMetrics
{
public:
    int windowWidth() const override { return width; }
    int bandWidth(int position) const override
    {
        asked = position;
        return band;
    }
    int width = 1200;
    int band = 150;
    mutable int asked = -1;
};

TEST_F(ExpenseFormTest, TheGridTakesTheMainWindowsWidthLessTheBand)
{
    FakeMetrics metrics;
    expenses::setMainWindowMetrics(&metrics);
    frm_ripart_spese *f = form();
    f->resize(700, 500);
    f->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(metrics.asked, 1);
    EXPECT_EQ(f->TDBGrid1->width(), 1050);
    // A main window narrower than its band leaves the grid as it is.
    metrics.width = 100;
    f->resize(720, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(f->TDBGrid1->width(), 1050);
    expenses::setMainWindowMetrics(nullptr);
}

TEST_F(ExpenseFormTest, TheProjectClosedAndAnotherOpened)
{
    fillProject();
    frm_ripart_spese *f = form();
    create(f, QStringLiteral("CONDO1"));
    engine::VAR_GBL.progetto_corrente.reset();
    boxes.clear();
    f->Command1_Click();
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Nessun progetto selezionato") });
    EXPECT_EQ(boxes.shown().size(), 1);
    // The rest works on the archive shown.
    boxes.clear();
    f->Command6_Click();
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Calcolo Effettuato") });

    // Another project opened: the form loads afresh for it, with its archive or none.
    const QString other = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/CONDO2.cdb"));
    engine::VAR_GBL.progetto_corrente = other;
    engine::VAR_GBL.nome_progetto = QStringLiteral("CONDO2");
    f->Command4_Click();
    expenses::projectOpened();
    EXPECT_TRUE(f->archivePath().isEmpty());
    EXPECT_EQ(f->TDBGrid1->model()->rowCount(), 0);
    EXPECT_FALSE(f->Frame1->isVisibleTo(f));
    fillProject(other);
    project = other;
    makeArchive(QStringLiteral("CONDO2"));
    expenses::projectOpened();
    EXPECT_EQ(f->archivePath(), folder.file(QStringLiteral("ARCHIVI/CONDO2.TSP")));
    EXPECT_EQ(f->TDBGrid1->model()->rowCount(), 4);
}

} // namespace
} // namespace zav::test

namespace zav::test {
namespace {

// The form after an apportionment, with the amounts frame shown, as a PNG in the folder named by
// ZAV_SCREENSHOT_DIR, for the manual.
TEST_F(ExpenseFormTest, Screenshot)
{
    const QString target = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (target.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";
    fillProject();
    frm_ripart_spese *f = form();
    create(f, QStringLiteral("CONDO1"));
    f->Command4_Click();
    typeAmounts(f);
    f->Command6_Click();
    f->Command8_Click();
    f->resize(1000, 560);
    f->show();
    QCoreApplication::processEvents();
    const QPixmap grid = f->grab();
    f->Command4_Click();
    QCoreApplication::processEvents();
    const QPixmap frame = f->grab();
    // The grid with the apportionment above, the amounts frame below.
    QPixmap sheet(grid.width(), grid.height() + frame.height());
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.drawPixmap(0, 0, grid);
    painter.drawPixmap(0, grid.height(), frame);
    painter.end();
    ASSERT_TRUE(QDir().mkpath(target));
    EXPECT_TRUE(zav::test::pictureWritten(sheet, target, QStringLiteral("expenses-form.png")));
}

} // namespace
} // namespace zav::test
