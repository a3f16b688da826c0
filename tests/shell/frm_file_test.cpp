// The project archive dialog, driven through its handlers and its controls on a temporary program
// folder, with scripted answers to its questions.

#include "shell/forms/frm_file.h"

#include "controls/xpbutton.h"
#include "engine/var_gbl.h"
#include "engine/windowbands.h"
#include "platform/db.h"
#include "platform/projectrecord.h"
#include "platform/vb.h"
#include "platform/zipfile.h"
#include "shell/project/archiveoperations.h"
#include "shell/project/decimalconversion.h"
#include "shell/project/projectfiles.h"
#include "support/fixtures.h"
#include "support/fullfiledisk.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using zav::engine::VAR_GBL;
using zav::platform::Database;
using zav::platform::MsgButtons;
using zav::platform::MsgIcon;
using zav::platform::MsgResult;
using zav::platform::ScriptedDialogs;
using zav::shell::frm_file;
namespace vb = zav::platform::vb;

namespace {

const QString InfoTitle = QStringLiteral("!!! Zav - Informazioni - !!!");

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

class FrmFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VAR_GBL.reset();
        m_oldHome = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        form = std::make_unique<frm_file>();
        form->setHooks({ [this](const QString &text) { statusTexts << text; }, [this] { ++headerShown; },
            [this] { ++conversionShown; } });
    }

    void TearDown() override
    {
        form.reset();
        qputenv("HOME", m_oldHome);
        VAR_GBL.reset();
    }

    QString archivi() const { return program.file(QStringLiteral("ARCHIVI")); }
    QString templateFile(const char *name) const { return program.file(QLatin1String(name)); }

    /** Remembers a folder in zav.cfg, as Apri writes it. */
    void remember(const QString &folder)
    {
        writeFile(program.file(QStringLiteral("zav.cfg")), '"' + folder.toUtf8() + "\"\r\n");
    }

    template<class T> T *control(const char *name) const
    {
        T *found = form->findChild<T *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    /** Activates the dialog and selects an entry of its file list. */
    void activateAndSelect(const QString &fileName)
    {
        form->show();
        form->Form_Activate();
        const QStringList entries = listed();
        ASSERT_TRUE(entries.contains(fileName)) << fileName.toStdString();
        form->File1->setListIndex(int(entries.indexOf(fileName)));
        ASSERT_EQ(form->File1->FileName(), fileName);
    }

    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < form->File1->ListCount(); ++i)
            names << form->File1->item(i)->text();
        return names;
    }

    /** A project archive copied from the template, with one header row to tell it apart. */
    QString projectIn(const QString &folder, const QString &fileName, const QString &condominium)
    {
        const QString path = folder + u'/' + fileName;
        QFile::copy(templateFile("ARCH_MIL.CLO"), path);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        Database::open(path).insert(QStringLiteral("ANA_CONDO"), { { QStringLiteral("NOME"), condominium } });
        return path;
    }

    static QString condominiumOf(const QString &archive)
    {
        const auto rows = Database::open(archive).table(QStringLiteral("ANA_CONDO"));
        return rows.isEmpty() ? QString() : rows.value(QStringLiteral("NOME")).toString();
    }

    /** A terrace archive as made from the template for a project: the template's tables, and the
     * record of its project. */
    void expectFreshTerraces(const QString &terraces, const QString &project) const
    {
        QStringList tables = Database::open(templateFile("TERRAZZE.CLO")).tables()
            << QStringLiteral("PROGETTO");
        tables.sort(Qt::CaseInsensitive);
        QStringList made = Database::open(terraces).tables();
        made.sort(Qt::CaseInsensitive);
        EXPECT_EQ(made, tables) << terraces.toStdString();
        for (const QString &table : Database::open(templateFile("TERRAZZE.CLO")).tables()) {
            EXPECT_EQ(Database::open(terraces).table(table).recordCount(),
                Database::open(templateFile("TERRAZZE.CLO")).table(table).recordCount())
                << table.toStdString();
        }
        EXPECT_EQ(zav::platform::projectrecord::ownerOf(terraces), QFileInfo(project).absoluteFilePath());
    }

    /** The condominium of the archive a zip holds under `entry`, read from a copy of it. */
    QString condominiumInZip(const zav::platform::ZipFile &zip, const QString &entry) const
    {
        const QString copy = elsewhere.filePath(QStringLiteral("estratto.cdb"));
        QFile file(copy);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QStringLiteral("non scrivibile");
        file.write(zip.read(entry));
        file.close();
        const QString name = condominiumOf(copy);
        QFile::remove(copy);
        return name;
    }

    /** The templates' own separator, unless a test sets another. */
    vb::DecimalSeparatorScope comma { u',' };
    zav::test::TempProgramFolder program;
    QTemporaryDir home;
    QTemporaryDir elsewhere;
    ScriptedDialogs dialogs;
    std::unique_ptr<frm_file> form;
    QStringList statusTexts;
    int headerShown = 0;
    int conversionShown = 0;

private:
    QByteArray m_oldHome;
};

} // namespace

// --- Activation, lists and folder memory -----------------------------------------------------

TEST_F(FrmFile, ActivationShowsTheRememberedFolderOrTheDefaultOne)
{
    form->Form_Activate();
    EXPECT_EQ(form->File1->Path(), archivi()); // no zav.cfg
    EXPECT_EQ(form->Dir1->Path(), archivi());
    EXPECT_EQ(form->File1->Pattern(), QStringLiteral("*.cdb"));
    EXPECT_FALSE(form->aggiornamento_silenzioso);

    remember(elsewhere.path());
    form->Form_Activate();
    EXPECT_EQ(form->File1->Path(), elsewhere.path());
    EXPECT_EQ(form->Dir1->Path(), elsewhere.path());

    // Browsing elsewhere lasts until the next activation, which shows the remembered folder again.
    form->Dir1->setPath(archivi());
    EXPECT_EQ(form->File1->Path(), archivi());
    form->Form_Activate();
    EXPECT_EQ(form->File1->Path(), elsewhere.path());

    // An empty record, or a folder that is gone, means the default folder.
    writeFile(program.file(QStringLiteral("zav.cfg")), "\"\"\r\n");
    form->Form_Activate();
    EXPECT_EQ(form->File1->Path(), archivi());
    remember(elsewhere.path() + QStringLiteral("/sparita"));
    form->Form_Activate();
    EXPECT_EQ(form->File1->Path(), archivi());
}

TEST_F(FrmFile, FileListShowsArchivesWhateverTheCaseOfTheirExtension)
{
    for (const char *name : { "b.cdb", "A.CDB", "c.Cdb", "d.txt", "e.cdb.bak", "F.CDBX" })
        writeFile(archivi() + u'/' + QLatin1String(name), "x");
    QDir(archivi()).mkdir(QStringLiteral("sotto.cdb"));
    form->Form_Activate();
    EXPECT_EQ(listed(), QStringList({ "A.CDB", "b.cdb", "c.Cdb" }));
    EXPECT_EQ(form->File1->ListCount(), 3);
    EXPECT_EQ(form->File1->ListIndex(), -1);
    EXPECT_EQ(form->File1->FileName(), QString());

    // Lent to other forms with another folder and pattern.
    writeFile(elsewhere.path() + QStringLiteral("/SPESE.TSP"), "x");
    form->File1->setPath(elsewhere.path());
    form->File1->setPattern(QStringLiteral("*.tsp"));
    form->File1->setListIndex(0);
    EXPECT_EQ(form->File1->FileName(), QStringLiteral("SPESE.TSP"));
}

// --- Crea ----------------------------------------------------------------------------------

TEST_F(FrmFile, CreaMakesTheThreeFilesAndOpensTheProject)
{
    form->show();
    form->Form_Activate();
    EXPECT_FALSE(control<QLineEdit>("Text1")->isVisibleTo(form.get()));
    form->Command1_Click(1); // Nuovo
    EXPECT_TRUE(control<QLabel>("Label1")->isVisibleTo(form.get()));
    EXPECT_TRUE(control<QLineEdit>("Text1")->isVisibleTo(form.get()));
    EXPECT_TRUE(control<QWidget>("Command2")->isVisibleTo(form.get()));

    // "Crea" is the program's own button, clicked with the mouse.
    auto *crea = control<zav::controls::XPButton>("Command2");
    ASSERT_NE(crea, nullptr);
    EXPECT_EQ(crea->caption(), QStringLiteral("C&rea"));
    EXPECT_EQ(crea->buttonType(), 3);
    control<QLineEdit>("Text1")->setText(QStringLiteral("Aurora"));
    dialogs.answer(MsgResult::Yes); // the default folder
    QTest::mouseClick(crea, Qt::LeftButton, {}, QPoint(10, 10));

    const QString cdb = archivi() + QStringLiteral("/AURORA.CDB");
    const QString ter = archivi() + QStringLiteral("/AURORA.TER");
    EXPECT_EQ(filesIn(archivi()), QStringList({ "AURORA.CDB", "AURORA.RTF", "AURORA.TER" }));
    EXPECT_EQ(bytesOf(cdb), bytesOf(templateFile("ARCH_MIL.CLO")));
    EXPECT_EQ(bytesOf(archivi() + QStringLiteral("/AURORA.RTF")), bytesOf(templateFile("RELAZION.rtf")));
    expectFreshTerraces(ter, cdb);

    EXPECT_EQ(VAR_GBL.progetto_corrente, cdb);
    EXPECT_EQ(VAR_GBL.nome_progetto, QStringLiteral("AURORA"));
    EXPECT_EQ(VAR_GBL.archivio_terrazze, ter);
    EXPECT_EQ(statusTexts, QStringList({ cdb }));
    EXPECT_EQ(headerShown, 1);
    EXPECT_FALSE(form->isVisible());

    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().at(0).text, QStringLiteral("Vuoi utilizzare la cartella di default?"));
    EXPECT_EQ(dialogs.shown().at(0).title, QStringLiteral("Scelta cartella nuovo progetto"));
    EXPECT_EQ(dialogs.shown().at(0).buttons, MsgButtons::YesNo);
    EXPECT_EQ(dialogs.shown().at(0).icon, MsgIcon::Information);
}

// --- The decimal separator of a new or opened project -----------------------------------------

/** The dialog under the comma and under the point. */
class FrmFileSeparator : public FrmFile, public ::testing::WithParamInterface<QChar>
{
protected:
    /** A number written with a point, in the separator under test. */
    static QString number(const char *pointText)
    {
        return QString::fromLatin1(pointText).replace(u'.', GetParam());
    }

    static QVariant stored(const QString &archive, const QString &table, int row, int field)
    {
        return Database::open(archive).table(table).value(row, field);
    }

    /** "Crea" of a name in the default folder; the new archive's path. */
    QString crea(const QString &name)
    {
        form->Form_Activate();
        form->Command1_Click(1);
        control<QLineEdit>("Text1")->setText(name);
        dialogs.answer(MsgResult::Yes);
        form->Command2_Click();
        return archivi() + u'/' + name.toUpper() + QStringLiteral(".CDB");
    }
};

INSTANTIATE_TEST_SUITE_P(Separators, FrmFileSeparator, ::testing::Values(QChar(u','), QChar(u'.')),
    [](const ::testing::TestParamInfo<QChar> &info) { return info.param == u',' ? "Comma" : "Point"; });

// The templates hold "0,84": under the point a new project is written with the point, so that a
// room of 16,23 m2 in window band 5 weighs 16,23 x 0,84 = 13,6332, not 1363,32.
TEST_P(FrmFileSeparator, CreaWritesTheNewProjectInTheSystemsSeparator)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const QString cdb = crea(QStringLiteral("Luce"));
    ASSERT_EQ(VAR_GBL.progetto_corrente, cdb);
    EXPECT_EQ(dialogs.messages(), QStringList { QStringLiteral("Vuoi utilizzare la cartella di default?") });

    // Window band 5 and two coefficients of the destination table; the descriptions stay as written.
    const QString window = QStringLiteral("TAB_WINDOW");
    EXPECT_EQ(stored(cdb, window, 4, 1), QVariant(number("0.84")));
    EXPECT_EQ(stored(cdb, window, 4, 0), QVariant(QStringLiteral("K da 0,1 a meno di 0,111")));
    EXPECT_EQ(stored(cdb, QStringLiteral("TAB_COEF7"), 1, 1), QVariant(number("0.90")));
    EXPECT_EQ(stored(cdb, QStringLiteral("TAB_COEF"), 0, 1), QVariant(number("1.00")));
    // The template keeps the comma; under the comma the project is the template's copy.
    EXPECT_EQ(stored(templateFile("ARCH_MIL.CLO"), window, 4, 1), QVariant(QStringLiteral("0,84")));
    if (GetParam() == u',') {
        EXPECT_EQ(bytesOf(cdb), bytesOf(templateFile("ARCH_MIL.CLO")));
    }

    // A room of 16,23 m2 with a window of 1,7 m2 (ratio 0,1047: band 5) takes the band's coefficient
    // as the room grid does.
    const std::optional<QString> band = zav::engine::WindowBands::bandOfRatio(1.7, 16.23);
    ASSERT_EQ(band, QStringLiteral("5"));
    const std::optional<QVariant> light = zav::engine::WindowBands::read(cdb).coefficient(*band);
    ASSERT_TRUE(light);
    {
        Database db = Database::open(cdb);
        db.insert(QStringLiteral("ANA_CONDO"), { { QStringLiteral("NOME"), QStringLiteral("Luce") } });
        db.insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                { QStringLiteral("PROPRIETARIO"), QStringLiteral("Rossi") }, { QStringLiteral("HPIANO"), 3 },
                { QStringLiteral("INTERNO"), 1 } });
        db.insert(QStringLiteral("ESPRESSIONI"),
            { { QStringLiteral("NOME_CONDOMINO"), QStringLiteral("Rossi") },
                { QStringLiteral("PALAZ"), QStringLiteral("1") },
                { QStringLiteral("SCALA"), QStringLiteral("A") }, { QStringLiteral("INTERNO"), 1 },
                { QStringLiteral("ESPRESSIONE"), QStringLiteral("16.23") },
                { QStringLiteral("COEF4"), *light },
                { QStringLiteral("SUP_FINESTRA"), QStringLiteral("1.7") } });
    }
    dialogs.clear();
    dialogs.answer(MsgResult::Yes); // go on
    dialogs.answer(MsgResult::Ok); // done
    dialogs.answer(MsgResult::No); // no thousandths calculation
    VAR_GBL.ricalcolo_globale();
    EXPECT_EQ(dialogs.unanswered(), 0) << dialogs.messages().join(u'|').toStdString();
    EXPECT_EQ(Database::open(cdb).table(QStringLiteral("ESPRESSIONI")).value(QStringLiteral("TOT_COEF")),
        QVariant(number("13.6332")));
}

// A project written under the other separator is said on opening, with the offer to convert it.
TEST_P(FrmFileSeparator, ApriOffersToConvertAProjectInTheOtherSeparator)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const QChar other = GetParam() == u',' ? u'.' : u',';
    const QString path = projectIn(archivi(), QStringLiteral("ALTRO.CDB"), QStringLiteral("Altro"));
    if (other == u'.')
        zav::shell::DecimalConversion::convertArchive(
            path, zav::shell::DecimalConversion::Direction::CommaToPoint);
    Database::open(path).insert(QStringLiteral("ESPRESSIONI"),
        { { QStringLiteral("NOME_CONDOMINO"), QStringLiteral("Rossi") },
            { QStringLiteral("COEF4"), QStringLiteral("0") + other + QStringLiteral("84") } });
    const QString window = QStringLiteral("TAB_WINDOW");
    const QString held = QStringLiteral("0") + other + QStringLiteral("84");

    // No: the project opens as it is.
    activateAndSelect(QStringLiteral("ALTRO.CDB"));
    dialogs.answer(MsgResult::No);
    form->Command1_Click(0);
    ASSERT_EQ(dialogs.shown().size(), 1);
    const QString name = GetParam() == u',' ? QStringLiteral("virgola") : QStringLiteral("punto");
    const QString otherName = GetParam() == u',' ? QStringLiteral("punto") : QStringLiteral("virgola");
    EXPECT_EQ(dialogs.shown().at(0).text,
        QStringLiteral(
            "I coefficienti di questo progetto sono scritti con il separatore decimale \"%1\" (%2), "
            "ma il sistema usa \"%3\" (%4): così non sono letti come sono scritti (%5 non vale "
            "%6).\nConvertire ora i numeri del progetto al separatore \"%3\"?\nCon No il progetto si "
            "apre com'è; si potrà convertire in seguito con \"Conversione Dati\".")
            .arg(QString(other), otherName, QString(GetParam()), name, held, number("0.84")));
    EXPECT_EQ(dialogs.shown().at(0).buttons, MsgButtons::YesNo);
    EXPECT_EQ(dialogs.shown().at(0).icon, MsgIcon::Question);
    EXPECT_EQ(VAR_GBL.progetto_corrente, path);
    EXPECT_EQ(stored(path, window, 4, 1), QVariant(held));

    // Yes: the coefficient tables and the rooms are converted; asked once, and not again.
    dialogs.clear();
    activateAndSelect(QStringLiteral("ALTRO.CDB"));
    dialogs.answer(MsgResult::Yes);
    form->Command1_Click(0);
    EXPECT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(stored(path, window, 4, 1), QVariant(number("0.84")));
    EXPECT_EQ(stored(path, QStringLiteral("TAB_COEF7"), 8, 1), QVariant(number("0.15")));
    EXPECT_EQ(Database::open(path).table(QStringLiteral("ESPRESSIONI")).value(QStringLiteral("COEF4")),
        QVariant(number("0.84")));
    dialogs.clear();
    activateAndSelect(QStringLiteral("ALTRO.CDB"));
    form->Command1_Click(0);
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(VAR_GBL.progetto_corrente, path);
}

TEST_F(FrmFile, ShippedTemplatesOfANewProject)
{
    // The terrace archive has its four tables, fields in order, and no rows.
    Database ter = Database::open(templateFile("TERRAZZE.CLO"));
    EXPECT_EQ(ter.tables().size(), 4);
    EXPECT_EQ(ter.fields(QStringLiteral("CODICE")), QStringList({ "CODICE", "DESCRIZIONE" }));
    EXPECT_EQ(ter.fields(QStringLiteral("ELENCO")),
        QStringList(
            { "PROPRIETARIO", "NUM_PAL", "SCALA", "SIGLA", "INTERNO", "COD_TERRAZZE", "DESCRIZIONE_TER" }));
    EXPECT_EQ(ter.fields(QStringLiteral("SUP_COEFF_VOL")),
        QStringList({ "CODICE", "NOME_CONDOMINO", "PALAZ", "SCALA", "INTERNO", "DESCRIZ_VANO", "ESPRESSIONE",
            "MQ", "COEFF_PIANO", "COEFF_ORIENT", "COEFF_ESPOS", "COEFF_LUMIN", "COEFF_UTILIZ", "COEFF_GLOB",
            "COEFF_LIB1", "COEFF_LIB2", "SUP_CONVENZIONALE", "H_PIANO", "VOLUME", "PIANO" }));
    EXPECT_EQ(ter.fields(QStringLiteral("MILLESIMI")),
        QStringList({ "NOME_CONDOMINO", "PALAZ", "SCALA", "PIANO", "MQ", "MILLESIMI", "CODICE", "INTERNO",
            "DESCRIZIONE" }));
    for (const QString &table : ter.tables())
        EXPECT_TRUE(ter.table(table).isEmpty()) << table.toStdString();

    // Table and field names are matched without regard to case, and so are the texts compared.
    ter.insert(QStringLiteral("elenco"),
        { { QStringLiteral("cod_terrazze"), QStringLiteral("T1") }, { QStringLiteral("NUM_PAL"), 2 } });
    EXPECT_EQ(
        ter.query(QStringLiteral("SELECT NUM_PAL FROM Elenco WHERE [COD_TERRAZZE] = 't1'")).recordCount(), 1);

    // The calculation report is an RTF document titled "Relazione di calcolo".
    const QByteArray rtf = bytesOf(templateFile("RELAZION.rtf"));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_TRUE(rtf.contains("Relazione di calcolo"));
}

TEST_F(FrmFile, CreaInTheFolderShownKeepsThePathOfTheFileItMade)
{
    remember(elsewhere.path());
    form->Form_Activate();
    form->Command1_Click(1);
    control<QLineEdit>("Text1")->setText(QStringLiteral("villa nord"));
    dialogs.answer(MsgResult::No); // the folder shown
    form->Command2_Click();

    EXPECT_EQ(
        filesIn(elsewhere.path()), QStringList({ "VILLA NORD.CDB", "VILLA NORD.RTF", "VILLA NORD.TER" }));
    EXPECT_TRUE(filesIn(archivi()).isEmpty());
    // The open project is the file that exists, not the typed case of its name.
    EXPECT_EQ(VAR_GBL.progetto_corrente, elsewhere.path() + QStringLiteral("/VILLA NORD.CDB"));
    EXPECT_TRUE(QFile::exists(*VAR_GBL.progetto_corrente));
    EXPECT_EQ(VAR_GBL.nome_progetto, QStringLiteral("VILLA NORD"));
    EXPECT_EQ(VAR_GBL.archivio_terrazze, elsewhere.path() + QStringLiteral("/VILLA NORD.TER"));
}

TEST_F(FrmFile, CreaWithAnEmptyNameHidesTheNewProjectFields)
{
    form->Form_Activate();
    form->Command1_Click(1);
    form->Command2_Click();
    EXPECT_FALSE(control<QLineEdit>("Text1")->isVisibleTo(form.get()));
    EXPECT_FALSE(control<QLabel>("Label1")->isVisibleTo(form.get()));
    EXPECT_FALSE(control<QWidget>("Command2")->isVisibleTo(form.get()));
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_TRUE(filesIn(archivi()).isEmpty());
    EXPECT_FALSE(VAR_GBL.progetto_corrente);
}

TEST_F(FrmFile, CreaAsksBeforeReplacingFilesOfTheTargetFolderWhateverTheirCase)
{
    // The folder shown holds AURORA.CDB, the default folder holds a lower-case aurora.cdb and a
    // terrace archive of that name.
    remember(elsewhere.path());
    const QString shownCopy
        = projectIn(elsewhere.path(), QStringLiteral("AURORA.CDB"), QStringLiteral("Shown"));
    const QString old = projectIn(archivi(), QStringLiteral("aurora.cdb"), QStringLiteral("Old"));
    writeFile(archivi() + QStringLiteral("/AURORA.TER"), "old terraces");

    form->Form_Activate();
    form->Command1_Click(1);
    control<QLineEdit>("Text1")->setText(QStringLiteral("Aurora"));

    // No: nothing is made, nothing is replaced.
    dialogs.answer(MsgResult::Yes);
    dialogs.answer(MsgResult::No);
    form->Command2_Click();
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown().at(0).text, QStringLiteral("Vuoi utilizzare la cartella di default?"));
    EXPECT_EQ(dialogs.shown().at(1).text, QStringLiteral("Il file è già esistente. Si vuole eliminarlo ?"));
    EXPECT_EQ(dialogs.shown().at(1).title, QStringLiteral("!!! Attenzione !!!"));
    EXPECT_EQ(dialogs.shown().at(1).icon, MsgIcon::Critical);
    EXPECT_EQ(dialogs.shown().at(1).buttons, MsgButtons::YesNo);
    EXPECT_EQ(filesIn(archivi()), QStringList({ "AURORA.TER", "aurora.cdb" }));
    EXPECT_EQ(condominiumOf(old), QStringLiteral("Old"));
    EXPECT_FALSE(VAR_GBL.progetto_corrente);
    EXPECT_EQ(headerShown, 0);

    // Yes: the three files are made afresh and the old lower-case archive is gone.
    dialogs.clear();
    dialogs.answer(MsgResult::Yes);
    dialogs.answer(MsgResult::Yes);
    form->Command2_Click();
    EXPECT_EQ(filesIn(archivi()), QStringList({ "AURORA.CDB", "AURORA.RTF", "AURORA.TER" }));
    expectFreshTerraces(archivi() + QStringLiteral("/AURORA.TER"), archivi() + QStringLiteral("/AURORA.CDB"));
    EXPECT_EQ(condominiumOf(archivi() + QStringLiteral("/AURORA.CDB")), QString());
    EXPECT_EQ(VAR_GBL.progetto_corrente, archivi() + QStringLiteral("/AURORA.CDB"));
    // The archive of the same name in the folder shown was never the target.
    EXPECT_EQ(condominiumOf(shownCopy), QStringLiteral("Shown"));

    // A name that exists only in the folder shown asks nothing when the default folder is chosen.
    VAR_GBL.reset();
    dialogs.clear();
    projectIn(elsewhere.path(), QStringLiteral("BORGO.CDB"), QStringLiteral("Borgo"));
    control<QLineEdit>("Text1")->setText(QStringLiteral("borgo"));
    dialogs.answer(MsgResult::Yes);
    form->Command2_Click();
    EXPECT_EQ(dialogs.messages(), QStringList({ "Vuoi utilizzare la cartella di default?" }));
    EXPECT_TRUE(QFile::exists(archivi() + QStringLiteral("/BORGO.CDB")));
    EXPECT_EQ(condominiumOf(elsewhere.path() + QStringLiteral("/BORGO.CDB")), QStringLiteral("Borgo"));
}

TEST_F(FrmFile, CreaRefusesToReplaceTheOpenProject)
{
    const QString open = projectIn(archivi(), QStringLiteral("aurora.cdb"), QStringLiteral("In uso"));
    VAR_GBL.progetto_corrente = open;
    VAR_GBL.nome_progetto = QStringLiteral("aurora");

    form->Form_Activate();
    form->Command1_Click(1);
    control<QLineEdit>("Text1")->setText(QStringLiteral("AURORA"));
    dialogs.answer(MsgResult::Yes);
    dialogs.answer(MsgResult::Yes); // would replace, if asked
    form->Command2_Click();

    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown().at(1).text,
        QStringLiteral("Il progetto è attualmente in uso. Chiudere il progetto e ripetere l'operazione"));
    EXPECT_EQ(filesIn(archivi()), QStringList({ "aurora.cdb" }));
    EXPECT_EQ(condominiumOf(open), QStringLiteral("In uso"));
    EXPECT_EQ(VAR_GBL.progetto_corrente, open);
    EXPECT_EQ(VAR_GBL.nome_progetto, QStringLiteral("aurora"));
    EXPECT_EQ(headerShown, 0);
}

TEST_F(FrmFile, NamesThatAreNotPlainFileNamesAreRefused)
{
    projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("Aurora"));
    for (const char *bad :
        { "../FUORI", "sotto/PROVA", "sotto\\PROVA", ".", "..", "villa.nord", "AURORA.bis" }) {
        const QString name = QString::fromUtf8(bad);
        SCOPED_TRACE(bad);

        dialogs.clear();
        form->Form_Activate();
        form->Command1_Click(1);
        control<QLineEdit>("Text1")->setText(name);
        dialogs.answer(MsgResult::Yes);
        form->Command2_Click();
        ASSERT_EQ(dialogs.shown().size(), 1); // refused before the folder question
        EXPECT_TRUE(dialogs.shown().at(0).text.contains(name));
        EXPECT_EQ(dialogs.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
        EXPECT_FALSE(VAR_GBL.progetto_corrente);

        dialogs.clear();
        form->Form_Activate();
        form->File1->setListIndex(0);
        dialogs.answerText(name);
        form->Command1_Click(6); // Duplica
        ASSERT_EQ(dialogs.shown().size(), 2);
        EXPECT_TRUE(dialogs.shown().at(1).text.contains(name));

        EXPECT_EQ(filesIn(archivi()), QStringList({ "AURORA.CDB" }));
        EXPECT_EQ(
            filesIn(program.path()).filter(QStringLiteral("FUORI"), Qt::CaseInsensitive), QStringList());
        EXPECT_FALSE(QDir(archivi() + QStringLiteral("/sotto")).exists());
    }
}

// A name too long for the files of a project is refused with the limit, in Crea and in Duplica.
TEST_F(FrmFile, ATooLongNameIsRefusedWithTheLimit)
{
    projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("Aurora"));
    const QString name(300, u'N');
    const QString said = QStringLiteral(
        "Il nome del progetto è troppo lungo (300 caratteri): può avere al massimo 60 caratteri.");

    form->Form_Activate();
    form->Command1_Click(1);
    control<QLineEdit>("Text1")->setText(name);
    dialogs.answer(MsgResult::Yes);
    form->Command2_Click();
    EXPECT_EQ(dialogs.messages(), QStringList({ said }));

    dialogs.clear();
    form->File1->setListIndex(0);
    dialogs.answerText(name);
    form->Command1_Click(6);
    EXPECT_EQ(dialogs.messages(), QStringList({ said }));
    EXPECT_EQ(filesIn(archivi()), QStringList({ "AURORA.CDB" }));
    EXPECT_FALSE(VAR_GBL.progetto_corrente);
}

// --- A folder that cannot be written ------------------------------------------------------------
//
// The tests run as root, whom permissions do not stop: a folder is made unwritable by replacing
// the check of writability (as a read-only disk would answer it), or by a folder standing where
// a file must be written, which stops anyone.

TEST_F(FrmFile, CreaAndDuplicaInAFolderThatCannotBeWrittenSaySoAndMakeNothing)
{
    projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("Aurora"));
    const QString folder = QDir(archivi()).absolutePath();
    zav::shell::projectfiles::setWritableCheck([&](const QString &path) {
        return QDir(path).absolutePath() != folder && QFileInfo(path).absolutePath() != folder;
    });
    const QString notWritable
        = QStringLiteral("Impossibile scrivere nella cartella \"%1\": la cartella non è scrivibile. ")
              .arg(folder);

    form->Form_Activate();
    form->Command1_Click(1);
    control<QLineEdit>("Text1")->setText(QStringLiteral("Borgo"));
    dialogs.answer(MsgResult::Yes); // the default folder, ARCHIVI
    form->Command2_Click();
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown().at(1).text, notWritable + QStringLiteral("Il progetto non è stato creato."));
    EXPECT_EQ(dialogs.shown().at(1).icon, MsgIcon::Critical);

    dialogs.clear();
    form->File1->setListIndex(0);
    dialogs.answerText(QStringLiteral("Copia"));
    form->Command1_Click(6);
    EXPECT_EQ(dialogs.messages(),
        QStringList({ notWritable + QStringLiteral("L'archivio non è stato duplicato.") }));

    zav::shell::projectfiles::setWritableCheck({});
    EXPECT_EQ(filesIn(archivi()), QStringList({ "AURORA.CDB" }));
    EXPECT_FALSE(VAR_GBL.progetto_corrente);
    EXPECT_EQ(headerShown, 0);
}

// A file where the default folder should be stops anyone: Crea says so and makes nothing.
TEST_F(FrmFile, CreaSaysWhenTheDefaultFolderCannotBeMade)
{
    ASSERT_TRUE(QDir(archivi()).removeRecursively());
    writeFile(archivi(), "non una cartella");
    form->Form_Activate();
    form->Command1_Click(1);
    control<QLineEdit>("Text1")->setText(QStringLiteral("Borgo"));
    dialogs.answer(MsgResult::Yes);
    form->Command2_Click();
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown().at(1).text,
        QStringLiteral(
            "Impossibile creare la cartella \"%1\": la cartella del programma non è scrivibile, o vi si "
            "trova un file con quel nome. Il progetto non è stato creato.")
            .arg(archivi()));
    EXPECT_FALSE(VAR_GBL.progetto_corrente);
    EXPECT_EQ(filesIn(program.path()).filter(QStringLiteral("BORGO")), QStringList());
    EXPECT_EQ(bytesOf(archivi()), QByteArray("non una cartella"));
}

TEST_F(FrmFile, ApriOfAProjectInAFolderThatCannotBeWrittenSaysSoAndOpensNothing)
{
    const QString archive = projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("Aurora"));
    const QString folder = QDir(archivi()).absolutePath();
    const struct
    {
        const char *name;
        std::function<bool(const QString &)> writable;
        QString said;
    } cases[] = {
        { "folder", [&](const QString &path) { return QDir(path).absolutePath() != folder; },
            QStringLiteral("Impossibile scrivere nella cartella \"%1\": la cartella non è scrivibile. Il "
                           "progetto non è stato aperto.")
                .arg(folder) },
        { "archive", [&](const QString &path) { return path != archive; },
            QStringLiteral(
                "L'archivio \"%1\" è di sola lettura: le modifiche non potrebbero essere salvate. Il "
                "progetto non è stato aperto.")
                .arg(archive) },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.clear();
        zav::shell::projectfiles::setWritableCheck(c.writable);
        activateAndSelect(QStringLiteral("AURORA.CDB"));
        form->Command1_Click(0);
        zav::shell::projectfiles::setWritableCheck({});
        EXPECT_EQ(dialogs.messages(), QStringList({ c.said }));
        EXPECT_FALSE(VAR_GBL.progetto_corrente);
        EXPECT_EQ(filesIn(archivi()), QStringList({ "AURORA.CDB" })); // no terrace archive
        EXPECT_TRUE(statusTexts.isEmpty());
        EXPECT_FALSE(QFile::exists(program.file(QStringLiteral("zav.cfg"))));
        EXPECT_TRUE(form->isVisible());
    }
}

// A project is never opened without its terrace archive: when it cannot be made (here a folder
// stands in its place), Apri says so and opens nothing.
TEST_F(FrmFile, ApriOpensNothingWhenTheTerraceArchiveCannotBeMade)
{
    projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("Aurora"));
    ASSERT_TRUE(QDir(archivi()).mkdir(QStringLiteral("AURORA.TER")));
    activateAndSelect(QStringLiteral("AURORA.CDB"));
    form->Command1_Click(0);

    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_TRUE(dialogs.shown().at(0).text.contains(QStringLiteral("AURORA.TER")))
        << dialogs.messages().join(u'|').toStdString();
    EXPECT_NE(dialogs.shown().at(0).text, QStringLiteral("File già esistente."));
    EXPECT_EQ(dialogs.shown().at(1).text,
        QStringLiteral(
            "Manca l'archivio delle terrazze del progetto e non è stato possibile crearlo. Il progetto "
            "non è stato aperto."));
    EXPECT_FALSE(VAR_GBL.progetto_corrente);
    EXPECT_EQ(VAR_GBL.archivio_terrazze, QString());
    EXPECT_TRUE(statusTexts.isEmpty());
    EXPECT_TRUE(form->isVisible());
}

// On a full disk a new project is not made and nothing there before changes; the message says so.
TEST_F(FrmFile, CreaOnAFullDiskSaysSoAndChangesNothing)
{
    const QString old = projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("Aurora"));
    const QByteArray before = bytesOf(old);
    dialogs.answer(MsgResult::Yes); // the default folder
    dialogs.answer(MsgResult::Yes); // replace the project there
    std::optional<zav::shell::archiveoperations::CreatedProject> made;
    {
        zav::test::FullFileDisk disk;
        made = zav::shell::archiveoperations::createProject(elsewhere.path(), QStringLiteral("Aurora"));
    }
    EXPECT_FALSE(made);
    ASSERT_EQ(dialogs.shown().size(), 3);
    EXPECT_EQ(dialogs.shown().at(2).text,
        QStringLiteral(
            "Impossibile scrivere il file \"%1/AURORA.CDB\". Il disco è pieno: nessun file è stato "
            "cambiato. Liberare spazio sul disco e riprovare.")
            .arg(archivi()));
    EXPECT_EQ(bytesOf(old), before);
    EXPECT_EQ(filesIn(archivi()), QStringList({ "AURORA.CDB" }));
    EXPECT_FALSE(VAR_GBL.progetto_corrente);
}

// A terrace archive records its project: one of no project is taken over by the first project
// that opens it; one copied from another project that still exists is refused by name.
TEST_F(FrmFile, ApriUsesOnlyTheProjectsOwnTerraceArchive)
{
    const QString lago = projectIn(elsewhere.path(), QStringLiteral("LAGO.CDB"), QStringLiteral("Lago"));
    const QString viale = projectIn(archivi(), QStringLiteral("VIALE.CDB"), QStringLiteral("Viale"));
    const QString lagoTerraces = elsewhere.path() + QStringLiteral("/LAGO.TER");
    const QString vialeTerraces = archivi() + QStringLiteral("/VIALE.TER");
    const auto terraceRows = [](const QString &terraces) {
        return Database::open(terraces).table(QStringLiteral("CODICE")).recordCount();
    };

    // An old terrace archive, recording no project, with a table typed into it.
    ASSERT_TRUE(QFile::copy(templateFile("TERRAZZE.CLO"), lagoTerraces));
    QFile(lagoTerraces).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    const int rows = terraceRows(lagoTerraces);
    Database::open(lagoTerraces)
        .insert(QStringLiteral("CODICE"), { { QStringLiteral("CODICE"), QStringLiteral("T1") } });
    ASSERT_TRUE(zav::shell::archiveoperations::openProject(elsewhere.path(), QStringLiteral("LAGO.CDB")));
    EXPECT_EQ(VAR_GBL.archivio_terrazze, lagoTerraces);
    EXPECT_EQ(zav::platform::projectrecord::ownerOf(lagoTerraces), lago);
    EXPECT_EQ(terraceRows(lagoTerraces), rows + 1);
    EXPECT_TRUE(dialogs.shown().isEmpty()) << dialogs.messages().join(u'|').toStdString();

    // Copied over another project's terrace archive, it is refused by name and nothing is opened.
    VAR_GBL.progetto_corrente.reset();
    VAR_GBL.archivio_terrazze.clear();
    QFile::remove(vialeTerraces);
    ASSERT_TRUE(QFile::copy(lagoTerraces, vialeTerraces));
    const QByteArray copied = bytesOf(vialeTerraces);
    EXPECT_FALSE(zav::shell::archiveoperations::openProject(archivi(), QStringLiteral("VIALE.CDB")));
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().at(0).text,
        QStringLiteral("L'archivio delle terrazze \"%1\" è del progetto \"%2\" e non viene usato per questo "
                       "progetto. Il progetto non è stato aperto.\nSpostare o rinominare il file \"%1\": "
                       "all'apertura il progetto ne creerà uno nuovo.")
            .arg(vialeTerraces, lago));
    EXPECT_EQ(dialogs.shown().at(0).icon, MsgIcon::Critical);
    EXPECT_FALSE(VAR_GBL.progetto_corrente);
    EXPECT_EQ(VAR_GBL.archivio_terrazze, QString());
    EXPECT_EQ(bytesOf(vialeTerraces), copied);

    // Once that project is gone, the copy is free and taken over.
    dialogs.clear();
    ASSERT_TRUE(QFile::remove(lago));
    EXPECT_TRUE(zav::shell::archiveoperations::openProject(archivi(), QStringLiteral("VIALE.CDB")));
    EXPECT_EQ(VAR_GBL.archivio_terrazze, vialeTerraces);
    EXPECT_EQ(zav::platform::projectrecord::ownerOf(vialeTerraces), viale);
    EXPECT_TRUE(dialogs.shown().isEmpty()) << dialogs.messages().join(u'|').toStdString();
}

// --- Apri and Aggiorna -----------------------------------------------------------------------

namespace {

// An archive of an older template: ANA_CONDO without NOTE and RISC_50, the thousandths tables and
// TEMP_VARIE without RIGA.
QString oldArchiveIn(const QString &folder, const QString &fileName, const QString &templatePath)
{
    const QString path = folder + u'/' + fileName;
    QFile::copy(templatePath, path);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    Database db = Database::open(path);
    db.exec(QStringLiteral("ALTER TABLE ANA_CONDO DROP COLUMN RISC_50"));
    db.exec(QStringLiteral("ALTER TABLE ANA_CONDO DROP COLUMN NOTE"));
    for (const char *table :
        { "TEMPORANEO", "TEMPORANEO2", "MIL_RISC", "MIL_PORTIERATO", "MILLESIMI", "TEMP_VARIE" })
        db.exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN RIGA").arg(QLatin1String(table)));
    return path;
}

} // namespace

TEST_F(FrmFile, ApriOpensAndSilentlyUpgradesAnOldArchive)
{
    remember(elsewhere.path());
    const QString archive
        = oldArchiveIn(elsewhere.path(), QStringLiteral("Vecchio.cdb"), templateFile("ARCH_MIL.CLO"));
    ASSERT_FALSE(
        Database::open(archive).fields(QStringLiteral("MILLESIMI")).contains(QStringLiteral("RIGA")));

    activateAndSelect(QStringLiteral("Vecchio.cdb"));
    form->Command1_Click(0);

    EXPECT_TRUE(dialogs.shown().isEmpty()); // silent
    Database db = Database::open(archive);
    const QStringList header = db.fields(QStringLiteral("ANA_CONDO"));
    EXPECT_EQ(header.mid(header.size() - 2), QStringList({ "NOTE", "RISC_50" }));
    for (const char *table :
        { "TEMPORANEO", "TEMPORANEO2", "MIL_RISC", "MIL_PORTIERATO", "MILLESIMI", "TEMP_VARIE" })
        EXPECT_EQ(db.fields(QLatin1String(table)).last(), QStringLiteral("RIGA")) << table;
    db.close();

    // The path as chosen, the base name, and the terrace archive made beside it from the template.
    EXPECT_EQ(VAR_GBL.progetto_corrente, archive);
    EXPECT_EQ(VAR_GBL.nome_progetto, QStringLiteral("Vecchio"));
    EXPECT_EQ(VAR_GBL.archivio_terrazze, elsewhere.path() + QStringLiteral("/VECCHIO.TER"));
    expectFreshTerraces(VAR_GBL.archivio_terrazze, archive);
    EXPECT_EQ(statusTexts, QStringList({ archive }));
    EXPECT_EQ(headerShown, 0);
    EXPECT_FALSE(form->isVisible());
    // The folder is remembered in the quoted form.
    EXPECT_EQ(bytesOf(program.file(QStringLiteral("zav.cfg"))), '"' + elsewhere.path().toUtf8() + "\"\r\n");
}

// The project is named after its archive less the extension, and so is its terrace archive: an
// archive of an older version named with a dot never takes the terrace archive of another project.
TEST_F(FrmFile, ApriKeepsAnExistingTerraceArchiveAndNamesTheProjectAfterItsArchive)
{
    struct Case
    {
        const char *archive;
        const char *terraces; // already beside it, or nullptr
        const char *name;
        const char *expectedTerraces;
    };
    const std::vector<Case> cases {
        { "LAGO.CDB", "lago.ter", "LAGO", "lago.ter" }, { "villa.cdb", nullptr, "villa", "VILLA.TER" },
        { "A.B.CDB", nullptr, "A.B", "A.B.TER" },
        { "C.D.CDB", "C.TER", "C.D", "C.D.TER" }, // C.TER is the terrace archive of project C
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.archive);
        QTemporaryDir folder;
        remember(folder.path());
        projectIn(folder.path(), QLatin1String(c.archive), QStringLiteral("x"));
        if (c.terraces)
            writeFile(folder.path() + u'/' + QLatin1String(c.terraces), "terrazze");
        activateAndSelect(QLatin1String(c.archive));
        form->Command1_Click(0);

        EXPECT_EQ(VAR_GBL.nome_progetto, QLatin1String(c.name));
        EXPECT_EQ(VAR_GBL.archivio_terrazze, folder.path() + u'/' + QLatin1String(c.expectedTerraces));
        if (c.terraces) {
            EXPECT_EQ(bytesOf(folder.path() + u'/' + QLatin1String(c.terraces)), QByteArray("terrazze"));
        }
        EXPECT_TRUE(QFile::exists(VAR_GBL.archivio_terrazze));
    }
}

// The dialog opened again selects the project last opened or created, in this run or a later
// one; a list of another folder selects nothing.
TEST_F(FrmFile, ReopeningSelectsTheProjectLastOpened)
{
    for (const char *name : { "AURORA.CDB", "BORGO.CDB", "CORTE.CDB" })
        projectIn(archivi(), QLatin1String(name), QStringLiteral("x"));
    activateAndSelect(QStringLiteral("BORGO.CDB"));
    form->Command1_Click(0);
    ASSERT_EQ(VAR_GBL.progetto_corrente, archivi() + QStringLiteral("/BORGO.CDB"));
    EXPECT_FALSE(form->isVisible());

    form->show();
    form->Form_Activate();
    EXPECT_EQ(form->File1->FileName(), QStringLiteral("BORGO.CDB"));

    form = std::make_unique<frm_file>();
    form->show();
    form->Form_Activate();
    EXPECT_EQ(form->File1->FileName(), QStringLiteral("BORGO.CDB"));

    // A project created becomes the last one.
    form->Command1_Click(1);
    form->Text1->setText(QStringLiteral("DOGANA"));
    dialogs.answer(MsgResult::No); // the folder shown, not the default one
    form->Command2_Click();
    ASSERT_EQ(VAR_GBL.progetto_corrente, archivi() + QStringLiteral("/DOGANA.CDB"));
    form->show();
    form->Form_Activate();
    EXPECT_EQ(form->File1->FileName(), QStringLiteral("DOGANA.CDB"));

    // Another folder holding a namesake is not where the last project lies.
    projectIn(elsewhere.path(), QStringLiteral("DOGANA.CDB"), QStringLiteral("y"));
    remember(elsewhere.path());
    form->Form_Activate();
    EXPECT_EQ(form->File1->Path(), elsewhere.path());
    EXPECT_EQ(form->File1->ListIndex(), -1);
}

TEST_F(FrmFile, ApriWithoutASelectionDoesNothing)
{
    projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("x"));
    form->show();
    form->Form_Activate();
    form->Command1_Click(0);
    form->Command3_Click();
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_FALSE(VAR_GBL.progetto_corrente);
    EXPECT_TRUE(statusTexts.isEmpty());
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(QFile::exists(program.file(QStringLiteral("zav.cfg"))));
}

TEST_F(FrmFile, AnEntryWithTheFocusButNotSelectedIsNotChosen)
{
    projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("x"));
    projectIn(archivi(), QStringLiteral("BORGO.CDB"), QStringLiteral("x"));
    form->show();
    form->Form_Activate();
    form->activateWindow();
    QApplication::processEvents();

    // Tabbing into the list puts the focus on an entry without selecting it.
    form->File1->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(form->File1->selectedItems().isEmpty());
    EXPECT_EQ(form->File1->ListIndex(), -1);
    EXPECT_EQ(form->File1->FileName(), QString());
    form->Command1_Click(0);
    EXPECT_FALSE(VAR_GBL.progetto_corrente);

    // An entry selected and then deselected with Ctrl and a click is no longer chosen.
    QWidget *list = form->File1->viewport();
    const QPoint second = form->File1->visualItemRect(form->File1->item(1)).center();
    QTest::mouseClick(list, Qt::LeftButton, {}, second);
    EXPECT_EQ(form->File1->ListIndex(), 1);
    EXPECT_EQ(form->File1->FileName(), QStringLiteral("BORGO.CDB"));
    QTest::mouseClick(list, Qt::LeftButton, Qt::ControlModifier, second);
    EXPECT_EQ(form->File1->ListIndex(), -1);
    form->Command1_Click(0);
    EXPECT_FALSE(VAR_GBL.progetto_corrente);
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(FrmFile, AFileThatIsNotAnArchiveIsReportedAndNotOpened)
{
    writeFile(archivi() + QStringLiteral("/ROTTO.CDB"), "testo qualsiasi");
    activateAndSelect(QStringLiteral("ROTTO.CDB"));

    form->Command1_Click(0);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown().at(0).text.contains(archivi() + QStringLiteral("/ROTTO.CDB")));
    EXPECT_EQ(dialogs.shown().at(0).icon, MsgIcon::Critical);
    EXPECT_FALSE(VAR_GBL.progetto_corrente);
    EXPECT_EQ(VAR_GBL.nome_progetto, QString());
    EXPECT_TRUE(statusTexts.isEmpty());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(filesIn(archivi()), QStringList({ "ROTTO.CDB" })); // no terrace archive made
    EXPECT_FALSE(QFile::exists(program.file(QStringLiteral("zav.cfg"))));

    // Aggiorna does not call it upgraded either.
    dialogs.clear();
    form->Command3_Click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_NE(dialogs.shown().at(0).text, QStringLiteral("Archivio Aggiornato"));
    EXPECT_EQ(dialogs.shown().at(0).title, QStringLiteral("Update Archivio"));
    EXPECT_EQ(bytesOf(archivi() + QStringLiteral("/ROTTO.CDB")), QByteArray("testo qualsiasi"));
}

TEST_F(FrmFile, AggiornaUpgradesTheChosenArchiveAndSaysSo)
{
    const QString archive
        = oldArchiveIn(archivi(), QStringLiteral("VECCHIO.CDB"), templateFile("ARCH_MIL.CLO"));
    activateAndSelect(QStringLiteral("VECCHIO.CDB"));
    form->Command3_Click();
    EXPECT_EQ(Database::open(archive).fields(QStringLiteral("TEMP_VARIE")).last(), QStringLiteral("RIGA"));
    // Again, on an archive that has everything: still upgraded.
    form->Command3_Click();
    ASSERT_EQ(dialogs.shown().size(), 2);
    for (const ScriptedDialogs::Shown &box : dialogs.shown()) {
        EXPECT_EQ(box.text, QStringLiteral("Archivio Aggiornato"));
        EXPECT_EQ(box.title, QStringLiteral("Update Archivio"));
        EXPECT_EQ(box.icon, MsgIcon::Information);
    }
    EXPECT_FALSE(VAR_GBL.progetto_corrente); // upgrading opens nothing
    EXPECT_TRUE(form->isVisible());
}

TEST_F(FrmFile, AnUpgradeThatCannotAddAFieldIsNotCalledDoneAndApriRefusesTheArchive)
{
    // MILLESIMI refuses its RIGA (a strict table knows no DOUBLE); the other fields can be added.
    const QString archive
        = oldArchiveIn(archivi(), QStringLiteral("RIGIDO.CDB"), templateFile("ARCH_MIL.CLO"));
    {
        Database db = Database::open(archive);
        db.dropTable(QStringLiteral("MILLESIMI"));
        db.exec(QStringLiteral("CREATE TABLE MILLESIMI (CONDOMINO TEXT) STRICT"));
    }
    activateAndSelect(QStringLiteral("RIGIDO.CDB"));
    form->Command3_Click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    const QString said = dialogs.shown().at(0).text;
    EXPECT_TRUE(said.startsWith(QStringLiteral("Impossibile aggiornare l'archivio"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("campo RIGA della tabella MILLESIMI"))) << said.toStdString();
    EXPECT_EQ(dialogs.shown().at(0).title, QStringLiteral("Update Archivio"));
    EXPECT_EQ(dialogs.shown().at(0).icon, MsgIcon::Critical);
    EXPECT_EQ(Database::open(archive).fields(QStringLiteral("TEMP_VARIE")).last(), QStringLiteral("RIGA"));
    EXPECT_FALSE(VAR_GBL.progetto_corrente);

    // Apri refuses it, naming what the archive lacks; nothing is opened or made.
    dialogs.clear();
    form->File1->setListIndex(0);
    form->Command1_Click(0);
    ASSERT_EQ(dialogs.shown().size(), 1);
    const QString refused = dialogs.shown().at(0).text;
    EXPECT_TRUE(refused.contains(QStringLiteral("nella tabella MILLESIMI manca il campo PALAZ")))
        << refused.toStdString();
    EXPECT_TRUE(refused.contains(QStringLiteral("Il progetto non è stato aperto."))) << refused.toStdString();
    EXPECT_FALSE(VAR_GBL.progetto_corrente);
    EXPECT_EQ(filesIn(archivi()), QStringList({ "RIGIDO.CDB" }));
    EXPECT_TRUE(form->isVisible());
}

// Apri checks the archive, once upgraded, against the archive format and refuses one that departs
// from it, saying in Italian what is wrong; tables and trailing fields of its own are allowed.
TEST_F(FrmFile, ApriRefusesAnArchiveThatIsNotInTheArchiveFormat)
{
    const struct
    {
        const char *name;
        std::function<void(const QString &path)> damage; // on a copy of the template
        QStringList said; // lines the message holds; empty: the archive opens
    } cases[] = {
        { "lacks a table",
            [](const QString &path) { Database::open(path).dropTable(QStringLiteral("CODIF_PIANI")); },
            { QStringLiteral("- manca la tabella CODIF_PIANI") } },
        { "lacks a field",
            [](const QString &path) {
                Database::open(path).exec(QStringLiteral("ALTER TABLE CODIF_PIANI DROP COLUMN HPIANO"));
            },
            { QStringLiteral("- nella tabella CODIF_PIANI manca il campo HPIANO"),
                QStringLiteral(
                    "- nella tabella CODIF_PIANI il campo INTERNO non è al suo posto (dovrebbe essere "
                    "il 16°)") } },
        { "fields out of order",
            [](const QString &path) {
                Database db = Database::open(path);
                db.dropTable(QStringLiteral("TAB_WINDOW"));
                db.exec(QStringLiteral("CREATE TABLE TAB_WINDOW (COEFF TEXT, DESCR TEXT, CAMPO TEXT)"));
            },
            { QStringLiteral(
                  "- nella tabella TAB_WINDOW il campo DESCR non è al suo posto (dovrebbe essere il 1°)"),
                QStringLiteral(
                    "- nella tabella TAB_WINDOW il campo COEFF non è al suo posto (dovrebbe essere il "
                    "2°)") } },
        { "a user table and a field at the end",
            [](const QString &path) {
                Database db = Database::open(path);
                db.exec(QStringLiteral("CREATE TABLE \"TABELLA SCALE B\" (CONDOMINO TEXT)"));
                db.exec(QStringLiteral("ALTER TABLE TAB_WINDOW ADD COLUMN NOTA TEXT"));
            },
            {} },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.clear();
        VAR_GBL.reset();
        QTemporaryDir folder;
        remember(folder.path());
        const QString archive = folder.filePath(QStringLiteral("DANNO.CDB"));
        QFile::copy(templateFile("ARCH_MIL.CLO"), archive);
        QFile(archive).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        c.damage(archive);
        activateAndSelect(QStringLiteral("DANNO.CDB"));
        form->Command1_Click(0);
        if (c.said.isEmpty()) {
            EXPECT_EQ(dialogs.messages(), QStringList());
            EXPECT_EQ(VAR_GBL.progetto_corrente, archive);
            continue;
        }
        ASSERT_EQ(dialogs.shown().size(), 1);
        const QString text = dialogs.shown().at(0).text;
        EXPECT_TRUE(text.startsWith(
            QStringLiteral("L'archivio \"%1\" non ha la forma di un archivio di progetto di Zav:\n")
                .arg(archive)))
            << text.toStdString();
        for (const QString &line : c.said)
            EXPECT_TRUE(text.split(u'\n').contains(line)) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral("\nIl progetto non è stato aperto."))) << text.toStdString();
        EXPECT_EQ(dialogs.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
        EXPECT_FALSE(VAR_GBL.progetto_corrente);
        EXPECT_EQ(filesIn(folder.path()), QStringList({ "DANNO.CDB" }));
    }
    form->show();
}

// Files that are no project archive at all are refused, said in Italian with the database's own
// text after.
TEST_F(FrmFile, ApriRefusesFilesThatAreNoProjectArchive)
{
    writeFile(archivi() + QStringLiteral("/TESTO.CDB"),
        "testo qualsiasi, non un database......................"
        "..............................................");
    {
        Database db = Database::create(archivi() + QStringLiteral("/ALTRO.CDB"));
        db.exec(QStringLiteral("CREATE TABLE CLIENTI (NOME TEXT)"));
    }
    writeFile(archivi() + QStringLiteral("/VUOTO.CDB"), QByteArray());
    const struct
    {
        const char *file;
        QString said;
    } cases[] = {
        { "TESTO.CDB",
            QStringLiteral(
                "Impossibile aprire \"%1\". Il progetto non è stato aperto.\nIl file non è un archivio di "
                "Zav: non è un database.\nfile is not a database") },
        { "ALTRO.CDB",
            QStringLiteral(
                "Il file \"%1\" non è un archivio di progetto di Zav. Il progetto non è stato aperto.") },
        { "VUOTO.CDB",
            QStringLiteral(
                "Il file \"%1\" non è un archivio di progetto di Zav. Il progetto non è stato aperto.") },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        dialogs.clear();
        activateAndSelect(QLatin1String(c.file));
        form->Command1_Click(0);
        EXPECT_EQ(dialogs.messages(), QStringList({ c.said.arg(archivi() + u'/' + QLatin1String(c.file)) }));
        EXPECT_FALSE(VAR_GBL.progetto_corrente);
    }
    EXPECT_EQ(filesIn(archivi()), QStringList({ "ALTRO.CDB", "TESTO.CDB", "VUOTO.CDB" }));
}

// --- Elimina -------------------------------------------------------------------------------

TEST_F(FrmFile, EliminaDeletesTheArchiveAndOnlyItsOwnCompanions)
{
    // A.B.CDB has its companions A.B.*; A.CDB is another project, whose files must stay.
    const QString archive = projectIn(archivi(), QStringLiteral("A.B.CDB"), QStringLiteral("x"));
    for (const char *name : { "A.B.RTF", "a.b.ter", "A.B.LDB", "A.RTF", "A.TER", "A.CDB" })
        writeFile(archivi() + u'/' + QLatin1String(name), "x");

    activateAndSelect(QStringLiteral("A.B.CDB"));
    dialogs.answer(MsgResult::Yes);
    dialogs.answer(MsgResult::Yes);
    form->Command1_Click(2);

    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown().at(0).text,
        QStringLiteral("Sei sicuro di voler eliminare il progetto: ") + archive
            + QStringLiteral("\nVerranno eliminati anche: A.B.LDB, a.b.ter"));
    EXPECT_EQ(
        dialogs.shown().at(1).text, QStringLiteral("Elimino anche la Relazione del progetto ?\nA.B.RTF"));
    for (const ScriptedDialogs::Shown &box : dialogs.shown()) {
        EXPECT_EQ(box.title, InfoTitle);
        EXPECT_EQ(box.icon, MsgIcon::Information);
        EXPECT_EQ(box.buttons, MsgButtons::YesNo);
    }
    EXPECT_EQ(filesIn(archivi()), QStringList({ "A.CDB", "A.RTF", "A.TER" }));
    EXPECT_EQ(listed(), QStringList({ "A.CDB" }));
    EXPECT_TRUE(form->isVisible());
}

// Two projects whose names differ only in case each work their own terrace archive, report and
// lock file: opening one never takes the other's, deleting one never deletes the other's.
TEST_F(FrmFile, ProjectsDifferingInCaseNeverShareTheirCompanions)
{
    remember(elsewhere.path());
    const QString folder = elsewhere.path();
    projectIn(folder, QStringLiteral("PROVA.CDB"), QStringLiteral("maiuscolo"));
    projectIn(folder, QStringLiteral("prova.cdb"), QStringLiteral("minuscolo"));
    writeFile(folder + QStringLiteral("/PROVA.TER"), "terrazze di PROVA");
    writeFile(folder + QStringLiteral("/PROVA.RTF"), "relazione di PROVA");

    // prova gets a terrace archive of its own, made from the template under its own name.
    activateAndSelect(QStringLiteral("prova.cdb"));
    form->Command1_Click(0);
    EXPECT_EQ(VAR_GBL.nome_progetto, QStringLiteral("prova"));
    EXPECT_EQ(VAR_GBL.archivio_terrazze, folder + QStringLiteral("/prova.TER"));
    expectFreshTerraces(folder + QStringLiteral("/prova.TER"), folder + QStringLiteral("/prova.cdb"));
    EXPECT_EQ(bytesOf(folder + QStringLiteral("/PROVA.TER")), QByteArray("terrazze di PROVA"));
    // Its calculation report is one of its own name, not yet written, never PROVA's.
    EXPECT_EQ(VAR_GBL.calculationReport, folder + QStringLiteral("/prova.RTF"));

    // PROVA keeps its own.
    activateAndSelect(QStringLiteral("PROVA.CDB"));
    form->Command1_Click(0);
    EXPECT_EQ(VAR_GBL.archivio_terrazze, folder + QStringLiteral("/PROVA.TER"));
    EXPECT_EQ(VAR_GBL.calculationReport, folder + QStringLiteral("/PROVA.RTF"));
    EXPECT_TRUE(dialogs.shown().isEmpty());

    // With PROVA open, deleting prova deletes prova's files only.
    activateAndSelect(QStringLiteral("prova.cdb"));
    dialogs.answer(MsgResult::Yes);
    dialogs.answer(MsgResult::Yes);
    form->Command1_Click(2);
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_TRUE(dialogs.shown().at(0).text.endsWith(QStringLiteral("\nVerranno eliminati anche: prova.TER")))
        << dialogs.shown().at(0).text.toStdString();
    EXPECT_EQ(dialogs.shown().at(1).text, QStringLiteral("Elimino anche la Relazione del progetto ?"));
    EXPECT_EQ(filesIn(folder), QStringList({ "PROVA.CDB", "PROVA.RTF", "PROVA.TER" }));
    EXPECT_EQ(bytesOf(folder + QStringLiteral("/PROVA.TER")), QByteArray("terrazze di PROVA"));

    // Alone again, PROVA's companions are found in whatever case, as before.
    dialogs.clear();
    VAR_GBL.reset();
    projectIn(folder, QStringLiteral("prova.cdb"), QStringLiteral("minuscolo"));
    QFile::remove(folder + QStringLiteral("/PROVA.CDB"));
    activateAndSelect(QStringLiteral("prova.cdb"));
    form->Command1_Click(0);
    EXPECT_EQ(VAR_GBL.archivio_terrazze, folder + QStringLiteral("/PROVA.TER"));
    EXPECT_EQ(VAR_GBL.calculationReport, folder + QStringLiteral("/PROVA.RTF"));
}

// Two archives of one name, told apart only by the case of the extension, would share every
// companion: neither is opened, and deleting one deletes nothing else.
TEST_F(FrmFile, TwinArchivesAreNotOpenedAndShareNothing)
{
    remember(elsewhere.path());
    const QString folder = elsewhere.path();
    projectIn(folder, QStringLiteral("PROVA.CDB"), QStringLiteral("uno"));
    projectIn(folder, QStringLiteral("PROVA.cdb"), QStringLiteral("due"));
    writeFile(folder + QStringLiteral("/PROVA.TER"), "terrazze");
    writeFile(folder + QStringLiteral("/PROVA.RTF"), "relazione");

    for (const char *archive : { "PROVA.cdb", "PROVA.CDB" }) {
        SCOPED_TRACE(archive);
        dialogs.clear();
        activateAndSelect(QLatin1String(archive));
        form->Command1_Click(0);
        ASSERT_EQ(dialogs.messages().size(), 1);
        EXPECT_TRUE(dialogs.messages().at(0).contains(QStringLiteral("Rinominare uno dei due archivi.")))
            << dialogs.messages().at(0).toStdString();
        EXPECT_TRUE(dialogs.messages().at(0).endsWith(QStringLiteral("Il progetto non è stato aperto.")));
        EXPECT_FALSE(VAR_GBL.progetto_corrente.has_value());
    }

    dialogs.clear();
    activateAndSelect(QStringLiteral("PROVA.cdb"));
    dialogs.answer(MsgResult::Yes);
    dialogs.answer(MsgResult::Yes);
    form->Command1_Click(2);
    EXPECT_EQ(filesIn(folder), QStringList({ "PROVA.CDB", "PROVA.RTF", "PROVA.TER" }));
    EXPECT_EQ(condominiumOf(folder + QStringLiteral("/PROVA.CDB")), QStringLiteral("uno"));
}

TEST_F(FrmFile, EliminaAsksTwiceAndKeepsWhatIsRefused)
{
    projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("x"));
    writeFile(archivi() + QStringLiteral("/AURORA.RTF"), "relazione");
    writeFile(archivi() + QStringLiteral("/AURORA.TER"), "terrazze");

    // No to the first question: nothing is deleted and nothing more is asked.
    activateAndSelect(QStringLiteral("AURORA.CDB"));
    dialogs.answer(MsgResult::No);
    form->Command1_Click(2);
    EXPECT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(filesIn(archivi()), QStringList({ "AURORA.CDB", "AURORA.RTF", "AURORA.TER" }));

    // Yes, then No to the report: the report stays.
    dialogs.clear();
    dialogs.answer(MsgResult::Yes);
    dialogs.answer(MsgResult::No);
    form->Command1_Click(2);
    EXPECT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(filesIn(archivi()), QStringList({ "AURORA.RTF" }));
}

TEST_F(FrmFile, EliminaRefusesTheOpenProjectWhateverPathNamesIt)
{
    const QString archive = projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("x"));
    // The project was opened under another spelling of the same file.
    VAR_GBL.progetto_corrente = program.path() + QStringLiteral("/./ARCHIVI/../ARCHIVI/AURORA.CDB");

    activateAndSelect(QStringLiteral("AURORA.CDB"));
    dialogs.answer(MsgResult::Yes);
    dialogs.answer(MsgResult::Yes);
    form->Command1_Click(2);

    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().at(0).text,
        QStringLiteral(
            "Il progetto che si vuole eliminare è attualmento in uso. Chiudere il progetto e ripetere "
            "l'operazione"));
    EXPECT_EQ(dialogs.shown().at(0).title, InfoTitle);
    EXPECT_TRUE(QFile::exists(archive));
}

// --- Duplica -------------------------------------------------------------------------------

TEST_F(FrmFile, DuplicaCopiesTheArchiveUnderTheNameTyped)
{
    const QString source = projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("Aurora"));
    writeFile(archivi() + QStringLiteral("/AURORA.RTF"), "relazione");
    activateAndSelect(QStringLiteral("AURORA.CDB"));
    dialogs.answerText(QStringLiteral("Copia"));
    form->Command1_Click(6);

    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().at(0).kind, ScriptedDialogs::Kind::Input);
    EXPECT_EQ(dialogs.shown().at(0).text, QStringLiteral("Inserire il nome del nuovo progetto"));
    EXPECT_EQ(dialogs.shown().at(0).title, QStringLiteral("!!! Zav - Duplica archivio - !!!"));
    EXPECT_EQ(dialogs.shown().at(0).defaultText, QStringLiteral("Nome File"));
    EXPECT_EQ(filesIn(archivi()), QStringList({ "AURORA.CDB", "AURORA.RTF", "Copia.cdb" }));
    EXPECT_EQ(bytesOf(archivi() + QStringLiteral("/Copia.cdb")), bytesOf(source));
    EXPECT_TRUE(listed().contains(QStringLiteral("Copia.cdb")));
    EXPECT_FALSE(VAR_GBL.progetto_corrente);

    // Cancelled or empty: nothing.
    dialogs.clear();
    dialogs.answerText(std::nullopt);
    form->File1->setListIndex(0);
    form->Command1_Click(6);
    dialogs.answerText(QString());
    form->Command1_Click(6);
    EXPECT_EQ(dialogs.messages(), QStringList());
    EXPECT_EQ(filesIn(archivi()).size(), 3);
}

TEST_F(FrmFile, DuplicaRefusesATargetThatExistsTheSourceAndTheOpenProject)
{
    projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("Aurora"));
    projectIn(archivi(), QStringLiteral("BORGO.CDB"), QStringLiteral("Borgo"));
    projectIn(archivi(), QStringLiteral("in uso.cdb"), QStringLiteral("Aperto"));
    VAR_GBL.progetto_corrente = archivi() + QStringLiteral("/in uso.cdb");

    struct Case
    {
        const char *typed;
        const char *message;
    };
    const std::vector<Case> cases {
        { "borgo", "File già esistente." }, // BORGO.CDB, in another case
        { "AURORA", "File già esistente." }, // the source itself
        { "IN USO", "Il progetto è attualmente in uso. Chiudere il progetto e ripetere l'operazione" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        dialogs.clear();
        activateAndSelect(QStringLiteral("AURORA.CDB"));
        dialogs.answerText(QString::fromUtf8(c.typed));
        form->Command1_Click(6);
        EXPECT_EQ(dialogs.messages(), QStringList({ QString::fromUtf8(c.message) }));
        EXPECT_EQ(filesIn(archivi()), QStringList({ "AURORA.CDB", "BORGO.CDB", "in uso.cdb" }));
    }
    EXPECT_EQ(condominiumOf(archivi() + QStringLiteral("/BORGO.CDB")), QStringLiteral("Borgo"));
    EXPECT_EQ(condominiumOf(archivi() + QStringLiteral("/in uso.cdb")), QStringLiteral("Aperto"));
}

TEST_F(FrmFile, EliminaBackupAndDuplicaWithoutASelectionSayNoFileWasChosen)
{
    projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("x"));
    form->Form_Activate();
    for (const int index : { 2, 4, 6 }) {
        dialogs.clear();
        form->Command1_Click(index);
        EXPECT_EQ(dialogs.messages(),
            QStringList({ QStringLiteral("Impossibile trovare il percorso, o nessun file selezionato") }))
            << index;
    }
    EXPECT_EQ(filesIn(archivi()), QStringList({ "AURORA.CDB" }));
    EXPECT_TRUE(filesIn(home.path()).isEmpty());
}

// --- Backup --------------------------------------------------------------------------------

TEST_F(FrmFile, BackupZipsTheArchiveIntoTheFolderOfTheFloppyDriveAndSaysSo)
{
    remember(elsewhere.path());
    const QString archive
        = projectIn(elsewhere.path(), QStringLiteral("Villa.Nord.CDB"), QStringLiteral("Villa"));
    activateAndSelect(QStringLiteral("Villa.Nord.CDB"));

    // Cancel writes nothing.
    dialogs.answer(MsgResult::Cancel);
    form->Command1_Click(4);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().at(0).text,
        QStringLiteral("Inserire un dischetto da 1.44 Mb formattato e premere Ok "));
    EXPECT_EQ(dialogs.shown().at(0).title, QStringLiteral("!!! Zav - Copia archivio - !!!"));
    EXPECT_EQ(dialogs.shown().at(0).buttons, MsgButtons::OkCancel);
    EXPECT_TRUE(filesIn(home.path()).isEmpty());

    dialogs.clear();
    dialogs.answer(MsgResult::Ok);
    form->File1->setListIndex(0);
    form->Command1_Click(4);
    // Named after the project, the archive's name less its extension.
    const QString zipPath = home.path() + QStringLiteral("/Villa.Nord.zip");
    EXPECT_EQ(filesIn(home.path()), QStringList({ "Villa.Nord.zip" }));
    const zav::platform::ZipFile zip = zav::platform::ZipFile::openForReading(zipPath);
    EXPECT_EQ(zip.entries(), QStringList({ "Villa.Nord.CDB" }));
    EXPECT_EQ(condominiumInZip(zip, QStringLiteral("Villa.Nord.CDB")), QStringLiteral("Villa"));

    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_TRUE(dialogs.shown().at(1).text.contains(zipPath));
    EXPECT_EQ(dialogs.shown().at(1).icon, MsgIcon::Information);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(FrmFile, BackupReportsAFailure)
{
    projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("x"));
    qputenv("HOME", (home.path() + QStringLiteral("/manca")).toUtf8()); // no such folder
    activateAndSelect(QStringLiteral("AURORA.CDB"));
    dialogs.answer(MsgResult::Ok);
    form->Command1_Click(4);
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_TRUE(dialogs.shown().at(1).text.startsWith(QStringLiteral("Copia dell'archivio non riuscita")));
    EXPECT_EQ(dialogs.shown().at(1).icon, MsgIcon::Critical);
    EXPECT_TRUE(filesIn(home.path()).isEmpty());
}

TEST_F(FrmFile, ABackupNamedApartFromAnotherProjectsZipSaysWhichAndWhy)
{
    const QString first = projectIn(elsewhere.path(), QStringLiteral("VIALE.CDB"), QStringLiteral("Viale A"));
    const QString second = projectIn(archivi(), QStringLiteral("VIALE.CDB"), QStringLiteral("Viale B"));
    dialogs.answer(MsgResult::Ok);
    ASSERT_TRUE(zav::shell::archiveoperations::backup(elsewhere.path(), QStringLiteral("VIALE.CDB")));
    const QByteArray firstZip = bytesOf(home.path() + QStringLiteral("/VIALE.zip"));

    dialogs.clear();
    dialogs.answer(MsgResult::Ok);
    ASSERT_TRUE(zav::shell::archiveoperations::backup(archivi(), QStringLiteral("VIALE.CDB")));
    EXPECT_EQ(filesIn(home.path()), QStringList({ "VIALE.zip", "VIALE_2.zip" }));
    EXPECT_EQ(bytesOf(home.path() + QStringLiteral("/VIALE.zip")), firstZip);
    EXPECT_EQ(
        condominiumInZip(zav::platform::ZipFile::openForReading(home.path() + QStringLiteral("/VIALE_2.zip")),
            QStringLiteral("VIALE.CDB")),
        condominiumOf(second));
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown().at(1).text,
        QStringLiteral("Copia dell'archivio eseguita:\n%1/VIALE_2.zip\n\nIl file %1/VIALE.zip è la copia di "
                       "sicurezza di un altro progetto (%2) e non è stato sostituito: questa copia si chiama "
                       "VIALE_2.zip.")
            .arg(home.path(), first));
    EXPECT_EQ(dialogs.shown().at(1).icon, MsgIcon::Information);

    // The first project's own backup again: its zip, and the usual message.
    dialogs.clear();
    dialogs.answer(MsgResult::Ok);
    ASSERT_TRUE(zav::shell::archiveoperations::backup(elsewhere.path(), QStringLiteral("VIALE.CDB")));
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown().at(1).text,
        QStringLiteral("Copia dell'archivio eseguita:\n%1/VIALE.zip").arg(home.path()));
}

// --- The other buttons -----------------------------------------------------------------------

TEST_F(FrmFile, EsciConvDatiAndTheHeightOfTheDialog)
{
    form->show();
    form->Form_Activate();
    EXPECT_EQ(control<QPushButton>("Command1_5")->text(), QStringLiteral("&Conv. Dati"));
    EXPECT_EQ(control<QPushButton>("Command1_5")->toolTip(), QStringLiteral("Leggi note sottostanti"));
    EXPECT_EQ(control<QPushButton>("Command3")->toolTip(),
        QStringLiteral("Aggiorna i vecchi archivi di Zav  alla versione ultima"));

    form->Command1_Click(5);
    EXPECT_EQ(conversionShown, 1);
    EXPECT_TRUE(form->isVisible());

    // 6375 and 4620 twips at 15 twips a pixel.
    form->Command1_MouseMove(5);
    EXPECT_EQ(form->height(), 425);
    form->Command1_MouseMove(0);
    EXPECT_EQ(form->height(), 308);
    form->Command1_MouseMove(5);
    form->Command3_MouseMove();
    EXPECT_EQ(form->height(), 308);

    form->Command1_Click(3);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

// As in any file dialog, a double click or Enter on an archive opens it, and Enter in the name box
// presses "Crea".
TEST_F(FrmFile, DoubleClickOrEnterOpensAProjectAndEnterInTheNameBoxCreatesOne)
{
    const QString aurora = projectIn(archivi(), QStringLiteral("AURORA.CDB"), QStringLiteral("x"));
    activateAndSelect(QStringLiteral("AURORA.CDB"));
    QWidget *list = form->File1->viewport();
    const QPoint entry = form->File1->visualItemRect(form->File1->item(0)).center();
    QTest::mouseClick(list, Qt::LeftButton, {}, entry);
    QTest::mouseDClick(list, Qt::LeftButton, {}, entry);
    EXPECT_EQ(VAR_GBL.progetto_corrente, aurora);
    EXPECT_FALSE(form->isVisible());

    VAR_GBL.reset();
    projectIn(archivi(), QStringLiteral("BORGO.CDB"), QStringLiteral("x"));
    form->show();
    form->Form_Activate();
    form->File1->setFocus();
    form->File1->setCurrentRow(1); // the cursor only, as the arrow keys leave it
    QTest::keyClick(form->File1, Qt::Key_Return);
    EXPECT_EQ(VAR_GBL.progetto_corrente, archivi() + QStringLiteral("/BORGO.CDB"));

    VAR_GBL.reset();
    form->show();
    form->Form_Activate();
    form->Command1_Click(1);
    auto *name = control<QLineEdit>("Text1");
    name->setText(QStringLiteral("Corte"));
    dialogs.answer(MsgResult::Yes); // the default folder
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(VAR_GBL.progetto_corrente, archivi() + QStringLiteral("/CORTE.CDB"));
    EXPECT_EQ(headerShown, 1);
}

// Every button of the dialog has an access letter of its own.
TEST_F(FrmFile, EveryButtonHasAnAccessLetterOfItsOwn)
{
    QString letters;
    for (const QPushButton *button : form->findChildren<QPushButton *>()) {
        const qsizetype mark = button->text().indexOf(u'&');
        ASSERT_GE(mark, 0) << button->text().toStdString();
        letters += button->text().at(mark + 1).toUpper();
    }
    const QString crea = control<zav::controls::XPButton>("Command2")->caption();
    letters += crea.at(crea.indexOf(u'&') + 1).toUpper();
    for (const QChar letter : letters)
        EXPECT_EQ(letters.count(letter), 1) << QString(letter).toStdString();
}

TEST_F(FrmFile, NewProjectShowsTheNameBoxWithTheFocus)
{
    form->showNewProject();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(control<QLineEdit>("Text1")->isVisible());
    EXPECT_TRUE(control<QWidget>("Command2")->isVisible());
    form->activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>("Text1"));
}
