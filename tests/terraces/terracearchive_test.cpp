// The terrace archive: the template's format, and what keeps an archive from being worked, said
// before the terrace form opens.

#include "support/readonlymount.h"
#include "terraces/terracearchive.h"
#include "terracesfixture.h"

#include <QFile>

using zav::platform::Database;
using zav::platform::MsgIcon;
using zav::terraces::terracearchive::format;
using zav::terraces::terracearchive::problems;

namespace {

class TerraceArchive : public zav::test::TerracesTest
{
};

TEST_F(TerraceArchive, TemplateHasTheFourTablesInOrderAndNoRows)
{
    Database db = Database::open(terraces);
    ASSERT_EQ(format().size(), 4);
    const QStringList expected[] = {
        { "CODICE", "DESCRIZIONE" },
        { "PROPRIETARIO", "NUM_PAL", "SCALA", "SIGLA", "INTERNO", "COD_TERRAZZE", "DESCRIZIONE_TER" },
        { "CODICE", "NOME_CONDOMINO", "PALAZ", "SCALA", "INTERNO", "DESCRIZ_VANO", "ESPRESSIONE", "MQ",
            "COEFF_PIANO", "COEFF_ORIENT", "COEFF_ESPOS", "COEFF_LUMIN", "COEFF_UTILIZ", "COEFF_GLOB",
            "COEFF_LIB1", "COEFF_LIB2", "SUP_CONVENZIONALE", "H_PIANO", "VOLUME", "PIANO" },
        { "NOME_CONDOMINO", "PALAZ", "SCALA", "PIANO", "MQ", "MILLESIMI", "CODICE", "INTERNO",
            "DESCRIZIONE" },
    };
    const char *names[] = { "CODICE", "ELENCO", "SUP_COEFF_VOL", "MILLESIMI" };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(format().at(i).name, QString::fromLatin1(names[i]));
        EXPECT_EQ(format().at(i).fields, expected[i]);
        EXPECT_EQ(db.fields(format().at(i).name), expected[i]);
        EXPECT_EQ(db.table(format().at(i).name).recordCount(), 0);
    }
    EXPECT_TRUE(problems(terraces).isEmpty());
}

TEST_F(TerraceArchive, EachFaultIsNamed)
{
    const struct
    {
        const char *name;
        const char *sql; // applied to a copy of the template; empty: the file is removed
        const char *expected;
    } cases[] = {
        { "missing file", "", "il file non esiste" },
        { "missing table", "DROP TABLE ELENCO", "manca la tabella ELENCO" },
        { "missing field",
            "CREATE TABLE X AS SELECT CODICE FROM CODICE; DROP TABLE CODICE; ALTER TABLE X RENAME TO CODICE",
            "nella tabella CODICE manca il campo DESCRIZIONE" },
        { "misplaced field", "DROP TABLE CODICE; CREATE TABLE CODICE (DESCRIZIONE TEXT, CODICE TEXT)",
            "nella tabella CODICE il campo CODICE non è al suo posto (dovrebbe essere il 1°)" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.copyOf(QStringLiteral("TERRAZZE.CLO"), QStringLiteral("CASO.TER"));
        if (QByteArray(c.sql).isEmpty()) {
            QFile::remove(path);
        } else {
            Database db = Database::open(path);
            for (const QString &statement : QString::fromUtf8(c.sql).split(u';'))
                db.exec(statement);
        }
        EXPECT_TRUE(problems(path).contains(QString::fromUtf8(c.expected)))
            << problems(path).join(u'|').toStdString();
        QFile::remove(path);
    }
}

TEST_F(TerraceArchive, ExtraFieldsAndCaseOfNamesAreAllowed)
{
    Database db = Database::open(terraces);
    db.exec(QStringLiteral("ALTER TABLE ELENCO ADD COLUMN NOTE TEXT"));
    db.exec(QStringLiteral("DROP TABLE CODICE"));
    db.exec(QStringLiteral("CREATE TABLE codice (codice TEXT, Descrizione TEXT, NOTE TEXT)"));
    EXPECT_TRUE(problems(terraces).isEmpty());
}

TEST_F(TerraceArchive, ReadOnlyArchiveKeepsTheFormClosedAndSaysWhy)
{
    const zav::test::ReadOnlyMount readOnly(terraces);
    if (!readOnly.holds())
        GTEST_SKIP() << "the archive cannot be made read-only here: " << readOnly.why().toStdString();
    EXPECT_EQ(openForm(), nullptr);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().icon, MsgIcon::Critical);
    EXPECT_EQ(boxes.shown().first().title, QStringLiteral("!!! Zav - Attenzione - !!!"));
    EXPECT_TRUE(boxes.shown().first().text.contains(QStringLiteral("il file è di sola lettura")));
    EXPECT_FALSE(zav::platform::FormRegistry::isLoaded(zav::terraces::TerraceFormName));
}

TEST_F(TerraceArchive, ArchiveLackingATableKeepsTheFormClosed)
{
    {
        Database db = Database::open(terraces);
        db.exec(QStringLiteral("DROP TABLE SUP_COEFF_VOL"));
    }
    EXPECT_EQ(openForm(), nullptr);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages().first().contains(QStringLiteral("manca la tabella SUP_COEFF_VOL")));
}

} // namespace
