// The expense archive: its template, the names it may take, where it is found, and what a fresh
// archive holds after it has been filled from the project.

#include "expenses/apportionment.h"
#include "expenses/expensearchive.h"
#include "expensesfixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace zav::test {
namespace {

using expenses::ExpenseArchive;
using platform::Database;
using platform::DbError;

using ExpenseArchiveTest = ExpensesTest;

TEST_F(ExpenseArchiveTest, TemplateHoldsFiveTablesAndTheThreeAmountRows)
{
    const QString path = folder.copyOf(QStringLiteral("rip_spese2.mdb"), QStringLiteral("T.TSP"));
    Database d = Database::open(path);
    EXPECT_TRUE(ExpenseArchive::missingTables(d).isEmpty());
    EXPECT_EQ(column(path, QStringLiteral("TAB_SPESE3"), QStringLiteral("tabella")),
        (QVariantList { "Spese generali", "Spese riscaldamento", "Spese portierato" }));
    for (const QString &table : ExpenseArchive::tables()) {
        if (table != QLatin1String("TAB_SPESE3")) {
            EXPECT_EQ(d.table(table).recordCount(), 0) << qPrintable(table);
        }
    }
    // Field names are matched without regard to case.
    const platform::Recordset rs = d.table(QStringLiteral("TAB_GENERALE"));
    EXPECT_EQ(
        rs.fieldIndex(QStringLiteral("nome_condomino")), rs.fieldIndex(QStringLiteral("Nome_Condomino")));
}

TEST_F(ExpenseArchiveTest, NamesArePlainFileNames)
{
    for (const QString &bad : { QStringLiteral("../x"), QStringLiteral("a/b"), QStringLiteral("a\\b"),
             QStringLiteral("c:x"), QStringLiteral("a..b"), QStringLiteral("tab\tx"), QString(300, u'x') }) {
        EXPECT_FALSE(ExpenseArchive::nameProblem(bad).isEmpty()) << qPrintable(bad.left(20));
    }
    for (const QString &good : { QStringLiteral("prova"), QStringLiteral("Perù 2"), QString(200, u'x') })
        EXPECT_TRUE(ExpenseArchive::nameProblem(good).isEmpty()) << qPrintable(good.left(20));
    // Only the name is upper-cased, never the folder's path.
    EXPECT_EQ(ExpenseArchive::pathFor(QStringLiteral("prova")),
        folder.path() + QStringLiteral("/ARCHIVI/PROVA.TSP"));
    EXPECT_EQ(
        ExpenseArchive::pathFor(QStringLiteral("Perù")), folder.path() + QStringLiteral("/ARCHIVI/PERÙ.TSP"));
}

TEST_F(ExpenseArchiveTest, TheProjectsArchiveIsFoundWithoutRegardToCase)
{
    const auto found
        = [this](const QString &name) { return ExpenseArchive::findForProject(name, project).path; };
    EXPECT_TRUE(found(QStringLiteral("CONDO1")).isEmpty());
    EXPECT_TRUE(found(QString()).isEmpty());
    QFile(folder.file(QStringLiteral("ARCHIVI/condo1.tsp"))).open(QIODevice::WriteOnly);
    EXPECT_EQ(found(QStringLiteral("CONDO1")), folder.file(QStringLiteral("ARCHIVI/condo1.tsp")));
    QFile(folder.file(QStringLiteral("ARCHIVI/CONDO1.TSP"))).open(QIODevice::WriteOnly);
    EXPECT_EQ(found(QStringLiteral("condo1")), folder.file(QStringLiteral("ARCHIVI/CONDO1.TSP")));
    // Another name's archive is not the project's.
    EXPECT_TRUE(found(QStringLiteral("CONDO")).isEmpty());

    // The archives folder itself is found without regard to case.
    ASSERT_TRUE(QDir(folder.path()).rename(QStringLiteral("ARCHIVI"), QStringLiteral("archivi")));
    EXPECT_EQ(found(QStringLiteral("CONDO1")), folder.file(QStringLiteral("archivi/CONDO1.TSP")));
    EXPECT_EQ(ExpenseArchive::pathFor(QStringLiteral("x")), folder.file(QStringLiteral("archivi/X.TSP")));
}

// An archive names the project it was made for; a project of that name elsewhere, or differing in
// case, is another project. A claim by a project whose archive is gone lapses.
TEST_F(ExpenseArchiveTest, AnArchiveBelongsToTheProjectItWasMadeFor)
{
    fillProject();
    using Claim = ExpenseArchive::Claim;
    const QString path = ExpenseArchive::pathFor(QStringLiteral("CONDO1"));
    ExpenseArchive::create(path, project);
    const QString sameFolder
        = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/condo1.cdb"));
    QTemporaryDir elsewhere;
    const QString otherFolder = elsewhere.filePath(QStringLiteral("CONDO1.cdb"));
    ASSERT_TRUE(QFile::copy(project, otherFolder));

    EXPECT_EQ(ExpenseArchive::ownership(path, project).claim, Claim::Own);
    // The same file under another spelling of its path is the same project.
    EXPECT_EQ(
        ExpenseArchive::ownership(path, folder.file(QStringLiteral("ARCHIVI/../ARCHIVI/CONDO1.cdb"))).claim,
        Claim::Own);
    for (const QString &other : { sameFolder, otherFolder }) {
        const ExpenseArchive::Ownership owned = ExpenseArchive::ownership(path, other);
        EXPECT_EQ(owned.claim, Claim::Other) << other.toStdString();
        EXPECT_TRUE(QFileInfo(owned.owner) == QFileInfo(project)) << owned.owner.toStdString();
        EXPECT_TRUE(ExpenseArchive::findForProject(QStringLiteral("CONDO1"), other).path.isEmpty());
        EXPECT_TRUE(ExpenseArchive::targetFor(QStringLiteral("condo1"), other).path.isEmpty());
    }
    ASSERT_TRUE(QFile::remove(project));
    EXPECT_EQ(ExpenseArchive::ownership(path, otherFolder).claim, Claim::Free);
    EXPECT_EQ(ExpenseArchive::findForProject(QStringLiteral("CONDO1"), otherFolder).path, path);
}

TEST_F(ExpenseArchiveTest, CopyingTheTemplate)
{
    const QString path = ExpenseArchive::pathFor(QStringLiteral("PROVA"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    ExpenseArchive::copyTemplate(path);
    Database d = Database::open(path);
    EXPECT_EQ(d.table(QStringLiteral("TAB_SPESE3")).recordCount(), 3);
    d.close();

    // Without the template nothing is written and the file there stays.
    ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("rip_spese2.mdb"))));
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    try {
        ExpenseArchive::copyTemplate(path);
        FAIL() << "no template, no copy";
    } catch (const DbError &error) {
        EXPECT_EQ(error.code(), platform::DbErrorCode::DatabaseNotFound);
        EXPECT_TRUE(error.message().contains(QStringLiteral("rip_spese2.mdb")));
    }
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

TEST_F(ExpenseArchiveTest, ACopyThatCannotBeWrittenIsAFailure)
{
    // A folder where the file should go cannot be replaced.
    const QString path = ExpenseArchive::pathFor(QStringLiteral("CARTELLA"));
    ASSERT_TRUE(QDir().mkpath(path));
    EXPECT_THROW(ExpenseArchive::copyTemplate(path), DbError);
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST_F(ExpenseArchiveTest, FillingFromTheProject)
{
    fillProject();
    const QString path = makeArchive();
    const QString units = QStringLiteral("TAB_GENERALE");
    // By building, stair, unit number and owner; the building as text.
    EXPECT_EQ(column(path, units, QStringLiteral("nome_condomino")),
        (QVariantList { "Rossi", "Bianchi", "Verdi", "Neri" }));
    EXPECT_EQ(column(path, units, QStringLiteral("PAL")), (QVariantList { "1", "1", "1", "2" }));
    EXPECT_EQ(column(path, units, QStringLiteral("PAL")).at(0).typeId(), QMetaType::QString);
    EXPECT_EQ(column(path, units, QStringLiteral("SCALA")), (QVariantList { "A", "A", "B", "A" }));
    EXPECT_EQ(column(path, units, QStringLiteral("PIANO")), (QVariantList { "T", "1", "2", "1" }));
    EXPECT_EQ(column(path, units, QStringLiteral("INTERNO")), (QVariantList { 1, 2, 3, 4 }));
    EXPECT_EQ(column(path, units, QStringLiteral("DESCRIZIONE")),
        (QVariantList { "Appartamento", "Appartamento", "Box", "Negozio" }));
    // The six thousandths; the heating only for the heated building, no porter's lodge.
    EXPECT_EQ(column(path, units, QStringLiteral("millesimi_generali")),
        (QVariantList { 250.0, 250.0, 300.0, 200.0 }));
    EXPECT_EQ(column(path, units, QStringLiteral("millesimi_palazzina")),
        (QVariantList { 300.0, 300.0, 400.0, 1000.0 }));
    EXPECT_EQ(column(path, units, QStringLiteral("millesimi_scala")),
        (QVariantList { 450.0, 550.0, 1000.0, 1000.0 }));
    EXPECT_EQ(column(path, units, QStringLiteral("millesimi_ascensore")),
        (QVariantList { 0.0, 1000.0, 1000.0, 1000.0 }));
    EXPECT_EQ(column(path, units, QStringLiteral("millesimi_riscaldamento")),
        (QVariantList { 300.0, 300.0, 400.0, QVariant() }));
    EXPECT_EQ(column(path, units, QStringLiteral("millesimi_portierato")),
        (QVariantList { QVariant(), QVariant(), QVariant(), QVariant() }));
    EXPECT_EQ(column(path, units, QStringLiteral("totale")),
        (QVariantList { QVariant(), QVariant(), QVariant(), QVariant() }));
    // Two buildings, the first with two stairs and the second with one.
    EXPECT_EQ(
        column(path, QStringLiteral("TAB_SPESE1"), QStringLiteral("PALAZZINA")), (QVariantList { 1, 2 }));
    const QStringList stairs = { "1 Nessuna", "1 A", "1 B", "2 Nessuna", "2 A" };
    EXPECT_EQ(stairRows(path, QStringLiteral("TAB_SPESE2")), stairs);
    EXPECT_EQ(stairRows(path, QStringLiteral("TAB_SPESE4")), stairs);
    EXPECT_EQ(column(path, QStringLiteral("TAB_SPESE2"), QStringLiteral("importo")),
        (QVariantList { QVariant(), QVariant(), QVariant(), QVariant(), QVariant() }));
}

TEST_F(ExpenseArchiveTest, ACopyThatFailsIsSaidAndTheOthersAreCopied)
{
    fillProject();
    {
        Database d = Database::open(project);
        d.exec(QStringLiteral("DROP TABLE TEMPORANEO"));
        d.exec(QStringLiteral("ALTER TABLE TEMPORANEO2 DROP COLUMN MEDIA_ASC"));
    }
    const QString path = ExpenseArchive::pathFor(QStringLiteral("CONDO1"));
    ExpenseArchive::copyTemplate(path);
    ExpenseArchive::FillOutcome outcome;
    {
        Database archive = Database::open(path);
        Database units = Database::open(project);
        outcome = ExpenseArchive::fill(archive, units);
    }
    // The building copy lacks its table, the stair copy one of its two fields: neither writes.
    EXPECT_EQ(outcome.units, 4);
    EXPECT_EQ(outcome.failures,
        (QStringList {
            "Nell'archivio manca la tabella TEMPORANEO.", "Nell'archivio manca il campo MEDIA_ASC." }));
    const QString units = QStringLiteral("TAB_GENERALE");
    const QVariantList none { QVariant(), QVariant(), QVariant(), QVariant() };
    EXPECT_EQ(column(path, units, QStringLiteral("millesimi_generali")),
        (QVariantList { 250.0, 250.0, 300.0, 200.0 }));
    EXPECT_EQ(column(path, units, QStringLiteral("millesimi_palazzina")), none);
    EXPECT_EQ(column(path, units, QStringLiteral("millesimi_scala")), none);
    EXPECT_EQ(column(path, units, QStringLiteral("millesimi_ascensore")), none);
    EXPECT_EQ(column(path, units, QStringLiteral("millesimi_riscaldamento")),
        (QVariantList { 300.0, 300.0, 400.0, QVariant() }));
    EXPECT_EQ(column(path, units, QStringLiteral("millesimi_portierato")), none);
}

TEST_F(ExpenseArchiveTest, BuildingAndStairRows)
{
    struct Case
    {
        const char *what;
        QVariant count;
        QList<QVariantList> composition;
        QVariantList buildings;
        QStringList stairs;
        std::optional<QString> notice;
    };
    const QString noBuildings = QStringLiteral("Non sono ancora state inserite palazzine");
    const QString noStairs = QStringLiteral("Nessuna scala inserita nella palazzina n°: ");
    const QList<Case> cases = {
        { "no building composed", 3, {}, { 1, 2, 3 }, {}, noBuildings },
        { "a building without stairs stops", 3, { { 1, 2 }, { 2, QVariant() }, { 3, 1 } }, { 1, 2, 3 },
            { "1 Nessuna", "1 A", "1 B" }, noStairs + QStringLiteral("2") },
        { "a gap filled later", 6, { { 1, 1 }, { 2, 1 }, { 4, 1 }, { 5, 1 }, { 3, 2 }, { 6, 0 } },
            { 1, 2, 3, 4, 5, 6 },
            { "1 Nessuna", "1 A", "2 Nessuna", "2 A", "3 Nessuna", "3 A", "3 B", "4 Nessuna", "4 A",
                "5 Nessuna", "5 A", "6 Nessuna" },
            std::nullopt },
        { "building 12", 12, { { 12, 1 } }, { 12 }, { "12 Nessuna", "12 A" }, std::nullopt },
        { "no building count", QVariant(), { { 1, 1 } }, {}, {}, std::nullopt },
    };
    for (const Case &c : cases) {
        const QString file = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("CASE.cdb"));
        buildings(c.count, c.composition, file);
        const QString path = ExpenseArchive::pathFor(QStringLiteral("CASE"));
        ExpenseArchive::copyTemplate(path);
        Database archive = Database::open(path);
        Database units = Database::open(file);
        const ExpenseArchive::FillOutcome outcome = ExpenseArchive::fill(archive, units);
        archive.close();
        EXPECT_EQ(outcome.notice, c.notice) << c.what;
        EXPECT_TRUE(outcome.failures.isEmpty()) << c.what;
        EXPECT_EQ(outcome.units, 0) << c.what;
        EXPECT_EQ(column(path, QStringLiteral("TAB_SPESE1"), QStringLiteral("PALAZZINA")), c.buildings)
            << c.what;
        EXPECT_EQ(stairRows(path, QStringLiteral("TAB_SPESE2")), c.stairs) << c.what;
        EXPECT_EQ(stairRows(path, QStringLiteral("TAB_SPESE4")), c.stairs) << c.what;
    }
}

TEST_F(ExpenseArchiveTest, ABuildingNumberHeldAsTextInTheUnitRows)
{
    buildings(12, { { 12, 1 } });
    Database d = Database::open(project);
    insert(d, "CODIF_PIANI", { "NUM_PAL", "SCALA", "SIGLA", "PROPRIETARIO", "INTERNO" },
        { { 12, "A", "1", "Gialli", 1 } });
    d.close();
    const QString path = makeArchive();
    EXPECT_EQ(column(path, QStringLiteral("TAB_GENERALE"), QStringLiteral("PAL")), (QVariantList { "12" }));
    EXPECT_EQ(column(path, QStringLiteral("TAB_SPESE1"), QStringLiteral("PALAZZINA")), (QVariantList { 12 }));
    // ... and they meet in the apportionment.
    Database archive = Database::open(path);
    archive.exec(QStringLiteral("UPDATE TAB_GENERALE SET millesimi_palazzina = 1000"));
    archive.exec(QStringLiteral("UPDATE TAB_SPESE1 SET importo = 40"));
    expenses::Apportionment::run(archive);
    archive.close();
    EXPECT_EQ(column(path, QStringLiteral("TAB_GENERALE"), QStringLiteral("TAB_B")), (QVariantList { 40.0 }));
}

TEST_F(ExpenseArchiveTest, EmptyingLeavesEveryTableEmpty)
{
    fillProject();
    const QString path = makeArchive();
    Database d = Database::open(path);
    ExpenseArchive::empty(d);
    for (const QString &table : ExpenseArchive::tables())
        EXPECT_EQ(d.table(table).recordCount(), 0) << qPrintable(table);
}

TEST_F(ExpenseArchiveTest, ApportioningTheProject)
{
    fillProject();
    const QString path = makeArchive();
    {
        Database d = Database::open(path);
        d.exec(QStringLiteral("UPDATE TAB_SPESE3 SET importo = 1000 WHERE rowid = 1"));
        d.exec(QStringLiteral("UPDATE TAB_SPESE3 SET importo = 500 WHERE rowid = 2"));
        d.exec(QStringLiteral("UPDATE TAB_SPESE1 SET importo = CASE PALAZZINA WHEN 1 THEN 200 ELSE 50 END"));
        d.exec(QStringLiteral("UPDATE TAB_SPESE2 SET importo = 100 WHERE PALAZZINA = 1 AND SCALA = 'A'"));
        d.exec(QStringLiteral("UPDATE TAB_SPESE2 SET importo = 30 WHERE PALAZZINA = 1 AND SCALA = 'B'"));
        d.exec(QStringLiteral("UPDATE TAB_SPESE2 SET importo = 70 WHERE PALAZZINA = 2 AND SCALA = 'A'"));
        d.exec(QStringLiteral("UPDATE TAB_SPESE4 SET importo = 80 WHERE PALAZZINA = 1 AND SCALA = 'A'"));
        d.exec(QStringLiteral("UPDATE TAB_SPESE4 SET importo = 20 WHERE PALAZZINA = 1 AND SCALA = 'B'"));
    }
    const QString units = QStringLiteral("TAB_GENERALE");
    for (int run = 0; run < 2; ++run) {
        Database d = Database::open(path);
        const expenses::Apportionment::Result result = expenses::Apportionment::run(d);
        d.close();
        EXPECT_TRUE(result.notes().isEmpty());
        // Rossi, Bianchi (1 A), Verdi (1 B), Neri (2 A, unheated, no lift amount).
        EXPECT_EQ(
            column(path, units, QStringLiteral("TAB_A")), (QVariantList { 250.0, 250.0, 300.0, 200.0 }));
        EXPECT_EQ(
            column(path, units, QStringLiteral("TAB_E")), (QVariantList { 150.0, 150.0, 200.0, QVariant() }));
        EXPECT_EQ(column(path, units, QStringLiteral("TAB_F")),
            (QVariantList { QVariant(), QVariant(), QVariant(), QVariant() }));
        EXPECT_EQ(column(path, units, QStringLiteral("TAB_B")), (QVariantList { 60.0, 60.0, 80.0, 50.0 }));
        EXPECT_EQ(column(path, units, QStringLiteral("TAB_C")), (QVariantList { 45.0, 55.0, 30.0, 70.0 }));
        EXPECT_EQ(
            column(path, units, QStringLiteral("TAB_D")), (QVariantList { 0.0, 80.0, 20.0, QVariant() }));
        EXPECT_EQ(
            column(path, units, QStringLiteral("totale")), (QVariantList { 505.0, 595.0, 630.0, 320.0 }));
    }
}

} // namespace
} // namespace zav::test
