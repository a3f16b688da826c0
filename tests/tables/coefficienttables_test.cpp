#include "tables/coefficienttables.h"
#include "tables/tablearchive.h"

#include "platform/db.h"
#include "support/openproject.h"
#include "support/scripteddialogs.h"

#include <QFile>

#include <gtest/gtest.h>

namespace zav::test {
namespace {

using tables::ArchiveKind;
namespace CoefficientTables = tables::CoefficientTables;
namespace TableArchive = tables::TableArchive;

struct TableCase
{
    int number;
    const char *table;
    const char *title;
    const char *menuKey;
    const char *toolKey;
    int workspaceColumn;
    int terraceColumn;
};

// The eight tables with the titles, commands and grid columns the program gives them.
const TableCase Tables[] = {
    { 1, "TAB_COEF", "Tabella Piano", "coef1", "tPiano", 6, 8 },
    { 2, "TAB_COEF2", "Tabella Orientamento", "coef2", "tOrientamento", 7, 9 },
    { 3, "TAB_COEF3", "Tabella Esposizione", "coef3", "tEsposizione", 8, 10 },
    { 4, "TAB_COEF4", "Tabella Luminosità", "coef4", "tLuminosita", 9, 11 },
    { 5, "TAB_COEF5", "Tabella Utilizzazione", "coef5", "tUtilizzo", 10, 12 },
    { 6, "TAB_COEF6", "Tabella Globale", "coef6", "tGlobale", 11, 13 },
    { 7, "TAB_COEF7", "Tabella Destinazione", "coef7", "tDestinazione", 12, 14 },
    { 8, "TAB_COEF8", "Tabella Utente 1", "coef8", "tLibero", 13, 15 },
};

TEST(CoefficientTablesTest, EveryTableIsFoundByItsNumberNameCommandsAndGridColumns)
{
    ASSERT_EQ(CoefficientTables::all().size(), 8);
    for (const TableCase &c : Tables) {
        SCOPED_TRACE(c.table);
        for (const auto &found :
            { CoefficientTables::byNumber(c.number), CoefficientTables::byTable(QString::fromLatin1(c.table)),
                CoefficientTables::byCommand(QString::fromLatin1(c.menuKey)),
                CoefficientTables::byCommand(QString::fromLatin1(c.toolKey)),
                CoefficientTables::byWorkspaceColumn(c.workspaceColumn),
                CoefficientTables::byTerraceColumn(c.terraceColumn) }) {
            ASSERT_TRUE(found);
            EXPECT_EQ(found->number, c.number);
            EXPECT_EQ(found->table, QString::fromLatin1(c.table));
            EXPECT_EQ(found->title, QString::fromUtf8(c.title));
            EXPECT_EQ(found->coefficient, QStringLiteral("COEF%1").arg(c.number));
        }
    }
    // Outside the list: nothing, and names are compared exactly.
    EXPECT_FALSE(CoefficientTables::byNumber(0));
    EXPECT_FALSE(CoefficientTables::byNumber(9));
    EXPECT_FALSE(CoefficientTables::byTable(QStringLiteral("tab_coef")));
    EXPECT_FALSE(CoefficientTables::byTable(QStringLiteral("TAB_WINDOW")));
    EXPECT_FALSE(CoefficientTables::byCommand(QStringLiteral("infissi")));
    EXPECT_FALSE(CoefficientTables::byWorkspaceColumn(5));
    EXPECT_FALSE(CoefficientTables::byWorkspaceColumn(14));
    EXPECT_FALSE(CoefficientTables::byTerraceColumn(7));
    EXPECT_FALSE(CoefficientTables::byTerraceColumn(16));
}

TEST(CoefficientTablesTest, TheColumnsAreTheFieldsOfEveryTableOfTheTemplateInOrder)
{
    TempProgramFolder folder;
    platform::Database db = platform::Database::open(TableArchive::templatePath());
    const QStringList coefficientFields { "DESCRIZIONE", "TAB_A", "TAB_B", "TAB_C", "TAB_D", "TAB_E", "TAB_F",
        "TAB_G", "TAB_UTIL" };
    const QStringList captions { "Descrizione", "Tab. A", "Tab. B", "Tab. C", "Tab. D", "Tab. E", "Tab. F",
        "Tab. G", "TAB_UTIL" };
    QStringList fields, shown;
    for (const tables::TableColumn &column : CoefficientTables::columns()) {
        fields << column.field;
        shown << column.caption;
        EXPECT_EQ(column.number, column.field.startsWith(u"TAB_") && column.field != u"TAB_UTIL");
    }
    EXPECT_EQ(fields, coefficientFields);
    EXPECT_EQ(shown, captions);
    EXPECT_EQ(fields.at(CoefficientTables::ColumnInUseField), QStringLiteral("TAB_UTIL"));
    for (const tables::CoefficientTable &table : CoefficientTables::all())
        EXPECT_EQ(db.fields(table.table), coefficientFields) << table.table.toStdString();

    QStringList windowFields;
    for (const tables::TableColumn &column : tables::WindowTable::columns())
        windowFields << column.field;
    EXPECT_EQ(db.fields(QStringLiteral("TAB_WINDOW")), windowFields);
    EXPECT_EQ(tables::WindowTable::columns().at(0).caption, QStringLiteral("Descrizione Valori \"K\""));
    EXPECT_EQ(tables::WindowTable::columns().at(1).caption, QStringLiteral("Coeff."));
    EXPECT_TRUE(tables::WindowTable::columns().at(1).number);
}

class TableArchiveTest : public ::testing::Test
{
protected:
    OpenProject opened;
    const TempProgramFolder &folder = opened.folder();
    platform::ScriptedDialogs boxes;
};

TEST_F(TableArchiveTest, AnArchiveMustBeThereWritableAndHoldTheTable)
{
    const QString templ = TableArchive::templatePath();
    EXPECT_EQ(templ, folder.file(QStringLiteral("ARCH_MIL.CLO")));
    const QString project = opened.path();

    EXPECT_FALSE(TableArchive::problem(templ, QStringLiteral("TAB_COEF"), ArchiveKind::Template));
    EXPECT_FALSE(TableArchive::problem(templ, QStringLiteral("TAB_WINDOW"), ArchiveKind::Template));
    EXPECT_FALSE(TableArchive::problem(project, QStringLiteral("TAB_COEF8"), ArchiveKind::Project));

    // A name outside the program's own list is never opened, whatever the archive holds.
    const auto foreign = TableArchive::problem(project, QStringLiteral("ESPRESSIONI"), ArchiveKind::Project);
    ASSERT_TRUE(foreign);
    EXPECT_TRUE(foreign->contains(u"ESPRESSIONI"));

    // A project archive without the table.
    platform::Database::open(project).dropTable(QStringLiteral("TAB_COEF3"));
    const auto lacking = TableArchive::problem(project, QStringLiteral("TAB_COEF3"), ArchiveKind::Project);
    ASSERT_TRUE(lacking);
    EXPECT_TRUE(lacking->contains(u"TAB_COEF3"));

    // A missing project.
    EXPECT_TRUE(TableArchive::problem(
        folder.file(QStringLiteral("NONE.cdb")), QStringLiteral("TAB_COEF"), ArchiveKind::Project));

    // A file that is no archive: said in the program's words.
    const QString broken = folder.file(QStringLiteral("ROTTO.cdb"));
    {
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    const auto notArchive = TableArchive::problem(broken, QStringLiteral("TAB_COEF"), ArchiveKind::Project);
    ASSERT_TRUE(notArchive);
    EXPECT_TRUE(
        notArchive->startsWith(QStringLiteral("Il file non è un archivio di Zav: non è un database.")))
        << notArchive->toStdString();
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(TableArchiveTest, AMissingOrReadOnlyTemplateIsToldOnce)
{
    const QString templ = TableArchive::templatePath();
    ASSERT_TRUE(QFile(templ).setPermissions(QFile::ReadOwner | QFile::ReadUser));
    EXPECT_FALSE(TableArchive::check(templ, QStringLiteral("TAB_COEF"), ArchiveKind::Template));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("L'archivio modello \"ARCH_MIL.CLO\" è di sola lettura: la tabella non può essere "
                       "modificata."));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));

    boxes.clear();
    ASSERT_TRUE(QFile::remove(templ));
    EXPECT_FALSE(
        TableArchive::check(TableArchive::templatePath(), QStringLiteral("TAB_COEF"), ArchiveKind::Template));
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages().at(0),
        QStringLiteral(
            "Impossibile trovare l'archivio modello \"ARCH_MIL.CLO\" nella cartella del programma: la "
            "tabella non può essere aperta."));
    EXPECT_FALSE(QFile::exists(templ)) << "a check never creates the archive";
}

} // namespace
} // namespace zav::test
