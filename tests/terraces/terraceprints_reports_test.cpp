// The two terrace reports run by the report engine on a terrace archive of hand-made rows, exported
// to RTF and read back.

#include "platform/report/reportengine.h"
#include "platform/report_rtfreader.h"
#include "support/screenshots.h"
#include "terraceprintsfixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace zav;
using test::RtfDocument;
using test::TerracePrintsTest;

namespace {

class TerraceReports : public TerracePrintsTest
{
protected:
    void SetUp() override
    {
        TerracePrintsTest::SetUp();
        // The thousandths of TER1 as the last calculation left them; a row of another table too,
        // and one thousandths value held as text with the comma, as the calculation writes it.
        thousandths("Rossi Mario", 1, "A", "2", 40.5, 300.125, "TER1", 5);
        thousandths("D'Amico \"Nino\"", 1, "A", "T", 60.0, QStringLiteral("450,5"), "TER1", 3);
        thousandths("Negozio Perù", 2, "A", "1S", 30.0, 249.375, "TER1", 5);
        thousandths("Verdi", 1, "B", "3", 99.0, 1000.0, "TER3", 1);

        // Rooms of Rossi Mario's unit 5 in building 1, and of his unit 5 in building 2, and of
        // the first in another table.
        room("TER1", "Rossi Mario", 1, "A", 5, "Terrazzo più ampio", "4.6*4", "18,4", "0,9", "16,56", "2,7",
            "49,68", "2");
        room("TER1", "Rossi Mario", 1, "A", 5, "Lastrico", "6.55*5", "32,75", "0,25", "8,1875", "", "0", "2");
        room("TER1", "Rossi Mario", 2, "A", 5, "Terrazzo pal. 2", "2*2", "4", "1", "4", "3", "12", "1S");
        room("TER2", "Rossi Mario", 1, "A", 5, "Altra tabella", "1", "1", "1", "1", "3", "3", "2");
        room(
            "TER1", "Bianchi Anna Maria", 1, "B", 7, "Terrazza Maria", "3*3", "9", "1", "9", "3", "27", "S1");
        room(
            "TER1", "Bianchi Anna Luisa", 1, "B", 7, "Terrazza Luisa", "2*3", "6", "1", "6", "3", "18", "S1");
        room("TER1", "D'Amico \"Nino\"", 1, "A", 3, "Solaio", "1*1", "1", "1", "1", "3", "3", "T");
    }

    void thousandths(const char *owner, int building, const char *stair, const char *floor, double mq,
        const QVariant &value, const char *code, int interno)
    {
        insert(terraces, QStringLiteral("MILLESIMI"),
            { { "NOME_CONDOMINO", QString::fromUtf8(owner) }, { "PALAZ", building }, { "SCALA", stair },
                { "PIANO", floor }, { "MQ", mq }, { "MILLESIMI", value }, { "CODICE", code },
                { "INTERNO", interno }, { "DESCRIZIONE", "Lastrico solare" } });
    }

    /** A room: its surface, floor coefficient, weighted surface, height and volume as text; the
     * other coefficients empty but the exposure, "1". */
    void room(const char *code, const char *owner, int building, const char *stair, int interno,
        const char *description, const char *expression, const char *mq, const char *floorCoefficient,
        const char *weighted, const char *height, const char *volume, const char *floor)
    {
        insert(terraces, QStringLiteral("SUP_COEFF_VOL"),
            { { "CODICE", code }, { "NOME_CONDOMINO", QString::fromUtf8(owner) }, { "PALAZ", building },
                { "SCALA", stair }, { "INTERNO", interno },
                { "DESCRIZ_VANO", QString::fromUtf8(description) }, { "ESPRESSIONE", expression },
                { "MQ", mq }, { "COEFF_PIANO", floorCoefficient }, { "COEFF_ESPOS", "1" },
                { "SUP_CONVENZIONALE", weighted }, { "H_PIANO", height }, { "VOLUME", volume },
                { "PIANO", floor } });
    }

    RtfDocument exported(const QString &name)
    {
        QFile file(exportPath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "no export " << name.toStdString();
            return {};
        }
        const RtfDocument doc = RtfDocument::read(file.readAll());
        EXPECT_TRUE(doc.balanced) << name.toStdString();
        EXPECT_EQ(doc.rawNonAscii, 0) << name.toStdString();
        return doc;
    }

    /** The message that tells the one file an export wrote. */
    QString writtenMessage(const QString &name) const
    {
        return QStringLiteral("Il file è stato chiamato: %1 ed è stato inserito nella directory %2")
            .arg(name, QDir::toNativeSeparators(folder.file(QStringLiteral("ARCHIVI"))));
    }

    /** The RTF exports in "ARCHIVI". */
    QStringList exports() const
    {
        return QDir(folder.file(QStringLiteral("ARCHIVI")))
            .entryList({ QStringLiteral("*.RTF") }, QDir::Files, QDir::Name);
    }
};

const QStringList RoomHeadings = { "Descrizione vano", "Espressione", "Mq.", "Coeff.\npiano",
    "Coeff.\norient.", "Coeff.\nespos.", "Coeff.\nlumin.", "Coeff.\nutiliz.", "Coeff.\nglobale",
    "Coeff.\ndestin.", "Coeff.\nlibero", "Superficie\nconvenzionale", "Altezza", "Volume" };

} // namespace

TEST_F(TerraceReports, ThousandthsOfTheTableByBuildingStairAndUnitWithTheirTotal)
{
    terraces::frm_terrazze *form = openFrame();
    print(form, Destination::File, true, false, false);
    EXPECT_EQ(boxes.messages(), QStringList { writtenMessage(QStringLiteral("CONMILTER.RTF")) });

    const RtfDocument doc = exported(QStringLiteral("CONMILTER.RTF"));
    EXPECT_EQ(doc.paragraphs.mid(0, 2),
        (QStringList { "Tabella Millesimi Terrazze", "Tabella TER1 - Lastrico solare" }));
    ASSERT_EQ(doc.rows.size(), 5);
    EXPECT_EQ(doc.rows.at(0),
        (QStringList { "Condomino", "Pal.", "Scala", "Piano", "Int.", "Mq/Mc", "Millesimi" }));
    EXPECT_EQ(doc.rows.at(1), (QStringList { "D'Amico \"Nino\"", "1", "A", "T", "3", "60,000", "450,500" }));
    EXPECT_EQ(doc.rows.at(2), (QStringList { "Rossi Mario", "1", "A", "2", "5", "40,500", "300,125" }));
    EXPECT_EQ(doc.rows.at(3),
        (QStringList { QStringLiteral("Negozio Perù"), "2", "A", "1S", "5", "30,000", "249,375" }));
    // 40.5 + 60 + 30 and 300.125 + 450.5 + 249.375.
    EXPECT_EQ(doc.rows.at(4), (QStringList { "Totale", "", "", "", "", "130,500", "1000,000" }));
}

TEST_F(TerraceReports, ThousandthsOfATableNotComputedLastHaveNoRows)
{
    table(QStringLiteral("T'2 \"b\""), QStringLiteral("Con virgolette"));
    thousandths("Quote", 1, "A", "1", 5.0, 1000.0, "T'2 \"b\"", 1);
    terraces::frm_terrazze *form = openFrame(QStringLiteral("TER2"), QStringLiteral("Terrazzi scala B"));
    print(form, Destination::File, true, false, false);
    EXPECT_EQ(boxes.messages(), QStringList { writtenMessage(QStringLiteral("CONMILTER.RTF")) });
    RtfDocument doc = exported(QStringLiteral("CONMILTER.RTF"));
    ASSERT_EQ(doc.rows.size(), 2);
    EXPECT_EQ(doc.rows.at(1), (QStringList { "Totale", "", "", "", "", "0,000", "0,000" }));

    // A code holding both quotes selects its own row.
    form->Command5->click();
    form->selectTable(QStringLiteral("T'2 \"b\""), QStringLiteral("Con virgolette"));
    form->Command1[5]->click();
    boxes.clear();
    print(form, Destination::File, true, false, false);
    EXPECT_EQ(boxes.messages(), QStringList { writtenMessage(QStringLiteral("CONMILTER.RTF")) });
    doc = exported(QStringLiteral("CONMILTER.RTF"));
    ASSERT_EQ(doc.rows.size(), 3);
    EXPECT_EQ(doc.rows.at(1).at(0), QStringLiteral("Quote"));
}

TEST_F(TerraceReports, RoomsOfOneUnitOnlyItsBuildingAndTable)
{
    terraces::frm_terrazze *form = openFrame();
    print(form, Destination::File, false, true, false);
    EXPECT_EQ(boxes.messages(), QStringList { writtenMessage(QStringLiteral("CON1A25.RTF")) });

    const RtfDocument doc = exported(QStringLiteral("CON1A25.RTF"));
    EXPECT_EQ(doc.paragraphs.mid(0, 2),
        (QStringList { "Tabella Superfici Terrazze",
            "Tabella TER1 - Condomino Rossi Mario - Palazzina 1 - Scala A - Piano 2 - Interno 5" }));
    ASSERT_EQ(doc.rows.size(), 4);
    EXPECT_EQ(doc.rows.at(0), RoomHeadings);
    EXPECT_EQ(doc.rows.at(1),
        (QStringList { QStringLiteral("Terrazzo più ampio"), "4.6*4", "18,40", "0,9", "", "1", "", "", "", "",
            "", "16,56", "2,70", "49,68" }));
    EXPECT_EQ(doc.rows.at(2),
        (QStringList {
            "Lastrico", "6.55*5", "32,75", "0,25", "", "1", "", "", "", "", "", "8,19", "", "0,00" }));
    // 18.4 + 32.75; 16.56 + 8.1875; 49.68 + 0.
    EXPECT_EQ(doc.rows.at(3),
        (QStringList { "Totale", "", "51,15", "", "", "", "", "", "", "", "", "24,75", "", "49,68" }));
}

TEST_F(TerraceReports, ASingleExportSaysOnceWhichFileItWrote)
{
    const struct
    {
        const char *name;
        bool thousandths;
        bool rooms;
        const char *file;
    } cases[] = {
        { "the thousandths", true, false, "CONMILTER.RTF" },
        { "the rooms of the list's current unit", false, true, "CON1A25.RTF" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        terraces::frm_terrazze *form = openFrame();
        print(form, Destination::File, c.thousandths, c.rooms, false);
        ASSERT_EQ(boxes.shown().size(), 1) << boxes.messages().join(u'\n').toStdString();
        EXPECT_EQ(boxes.shown().at(0).text, writtenMessage(QString::fromLatin1(c.file)));
        EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Esportazione RTF"));
        EXPECT_EQ(boxes.shown().at(0).icon, platform::MsgIcon::Information);
        EXPECT_TRUE(QFileInfo::exists(exportPath(QString::fromLatin1(c.file))));
    }
}

TEST_F(TerraceReports, TuttiWritesAFileForEachUnitWithItsOwnRooms)
{
    terraces::frm_terrazze *form = openFrame();
    print(form, Destination::File, false, true, true);
    // One message lists the files, in the order written.
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral("Sono stati scritti 7 file nella directory %1:\n- Rossi Mar1A5.RTF\n"
                                     "- D'Amico _1A3.RTF\n- Rossi Mar2A5.RTF\n- Bianchi A1B7.RTF\n"
                                     "- Bianchi A1B7_2.RTF\n- SNC A_B2Nessuna2.RTF\n- X_Y1C9.RTF")
                          .arg(QDir::toNativeSeparators(folder.file(QStringLiteral("ARCHIVI")))) });
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Esportazione RTF"));

    EXPECT_EQ(exports(),
        (QStringList { "Bianchi A1B7.RTF", "Bianchi A1B7_2.RTF", "D'Amico _1A3.RTF", "Rossi Mar1A5.RTF",
            "Rossi Mar2A5.RTF", "SNC A_B2Nessuna2.RTF", "X_Y1C9.RTF" }));
    const struct
    {
        const char *file;
        const char *owner;
        QStringList rooms;
    } expected[] = {
        { "Bianchi A1B7.RTF", "Bianchi Anna Maria", { "Terrazza Maria" } },
        { "Bianchi A1B7_2.RTF", "Bianchi Anna Luisa", { "Terrazza Luisa" } },
        { "Rossi Mar1A5.RTF", "Rossi Mario", { QStringLiteral("Terrazzo più ampio"), "Lastrico" } },
        { "Rossi Mar2A5.RTF", "Rossi Mario", { "Terrazzo pal. 2" } },
        { "D'Amico _1A3.RTF", "D'Amico \"Nino\"", { "Solaio" } },
        { "SNC A_B2Nessuna2.RTF", "SNC A/B", {} },
    };
    for (const auto &e : expected) {
        SCOPED_TRACE(e.file);
        const RtfDocument doc = exported(QString::fromUtf8(e.file));
        ASSERT_GE(doc.paragraphs.size(), 2);
        EXPECT_TRUE(
            doc.paragraphs.at(1).contains(QStringLiteral("Condomino %1").arg(QString::fromUtf8(e.owner))))
            << doc.paragraphs.at(1).toStdString();
        QStringList rooms;
        for (qsizetype r = 1; r + 1 < doc.rows.size(); ++r)
            rooms.append(doc.rows.at(r).at(0));
        EXPECT_EQ(rooms, e.rooms);
    }
}

TEST_F(TerraceReports, AMissingDefinitionIsSaidOnceForTutti)
{
    ASSERT_TRUE(QFile::remove(definition(QStringLiteral("T_SUP_TER.GST"))));
    terraces::frm_terrazze *form = openFrame();
    print(form, Destination::File, true, true, true);
    // The thousandths still print; the seven units fail for the same reason, in one message, and
    // the one file written is told after it.
    EXPECT_EQ(exports(), QStringList { "CONMILTER.RTF" });
    ASSERT_EQ(boxes.shown().size(), 2);
    const QString text = boxes.shown().at(0).text;
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("Tabelle delle superfici non create: 7 su 7.\n- Rossi Mar1A5.RTF: "
                                       "file di stampa non trovato: ")))
        << text.toStdString();
    EXPECT_EQ(text.count(u'\n'), 7);
    EXPECT_EQ(boxes.shown().at(1).text, writtenMessage(QStringLiteral("CONMILTER.RTF")));
}

TEST_F(TerraceReports, AnExportThatCannotBeWrittenIsReported)
{
    ASSERT_TRUE(QDir(folder.file(QStringLiteral("ARCHIVI"))).mkpath(QStringLiteral("CONMILTER.RTF")));
    terraces::frm_terrazze *form = openFrame();
    print(form, Destination::File, true, false, false);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).startsWith(
        QStringLiteral("Il file CONMILTER.RTF non è stato creato: impossibile scrivere il file ")))
        << boxes.messages().at(0).toStdString();
}

TEST_F(TerraceReports, WithoutAnArchiveFolderTuttiSaysSoOnce)
{
    // The project's archives moved beside the program, and "ARCHIVI" gone.
    for (QString *path : { &project, &terraces }) {
        const QString moved = folder.file(QFileInfo(*path).fileName());
        ASSERT_TRUE(QFile::rename(*path, moved));
        *path = moved;
    }
    engine::VAR_GBL.progetto_corrente = project;
    engine::VAR_GBL.archivio_terrazze = terraces;
    ASSERT_TRUE(QDir(folder.file(QStringLiteral("ARCHIVI"))).removeRecursively());

    terraces::frm_terrazze *form = openFrame();
    print(form, Destination::File, false, true, true);
    ASSERT_EQ(boxes.shown().size(), 1);
    const QString text = boxes.shown().at(0).text;
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("Tabelle delle superfici non create: 7 su 7.\n- Rossi Mar1A5.RTF: "
                                       "impossibile scrivere il file ")))
        << text.toStdString();
}

TEST_F(TerraceReports, TheWindowOpensAPreviewWithTheTerraceTitle)
{
    terraces::frm_terrazze *form = openFrame();
    print(form, Destination::Video, true, true, false);
    const QList<platform::ReportPreview *> previews = platform::ReportPreview::openPreviews();
    ASSERT_EQ(previews.size(), 2);
    for (platform::ReportPreview *preview : previews)
        EXPECT_EQ(preview->windowTitle(), QStringLiteral("Z.A.V. - Anteprima di Stampa - Terrazze"));
    EXPECT_EQ(previews.at(0)->content().title, QStringLiteral("Tabella Millesimi Terrazze"));
    EXPECT_EQ(previews.at(1)->content().title, QStringLiteral("Tabella Superfici Terrazze"));
    EXPECT_EQ(previews.at(1)->content().rows.size(), 2);
}

// Writes a picture of the terrace thousandths' preview into the folder named by ZAV_SCREENSHOT_DIR.
TEST_F(TerraceReports, Screenshot)
{
    const QString target = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (target.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";
    terraces::frm_terrazze *form = openFrame();
    print(form, Destination::Video, true, false, false);
    ASSERT_EQ(platform::ReportPreview::openPreviews().size(), 1);
    platform::ReportPreview *preview = platform::ReportPreview::openPreviews().first();
    preview->resize(900, 720);
    QCoreApplication::processEvents();
    ASSERT_TRUE(QDir().mkpath(target));
    EXPECT_TRUE(
        zav::test::pictureWritten(preview->grab(), target, QStringLiteral("terraces-print-preview.png")));
}

TEST_F(TerraceReports, AnotherProjectsExportsAreNeverReplacedByTutti)
{
    // Another project, of a name that starts alike, exported first.
    const QString other = folder.file(QStringLiteral("CONTRADA.cdb"));
    {
        QFile archive(other);
        ASSERT_TRUE(archive.open(QIODevice::WriteOnly));
    }
    const QByteArray othersExport = "{\\rtf1{\\*\\userprops {\\propname ZavProgetto}\\proptype30{\\staticval "
        + other.toUtf8() + "}}Altro progetto\\par}";
    for (const char *name : { "CONMILTER.RTF", "Bianchi A1B7.RTF", "Bianchi A1B7_2.RTF" }) {
        QFile file(exportPath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(othersExport);
    }

    terraces::frm_terrazze *form = openFrame();
    print(form, Destination::File, true, true, true);

    const QString archives = QDir::toNativeSeparators(folder.file(QStringLiteral("ARCHIVI")));
    const QString owner = QDir::toNativeSeparators(other);
    // One message: the files named apart, then every file written, in the order written.
    const QString apart
        = QStringLiteral("Il file %1 è l'esportazione di un altro progetto (%2) e non è stato "
                         "sostituito: questa esportazione si chiama %3.");
    EXPECT_EQ(boxes.messages(),
        QStringList { apart.arg(QStringLiteral("CONMILTER.RTF"), owner, QStringLiteral("CONMILTER_2.RTF"))
            + u'\n'
            + apart.arg(QStringLiteral("Bianchi A1B7.RTF"), owner, QStringLiteral("Bianchi A1B7_3.RTF"))
            + u'\n'
            + apart.arg(QStringLiteral("Bianchi A1B7.RTF"), owner, QStringLiteral("Bianchi A1B7_4.RTF"))
            + QStringLiteral(
                "\n\nSono stati scritti 8 file nella directory %1:\n- CONMILTER_2.RTF\n"
                "- Rossi Mar1A5.RTF\n- D'Amico _1A3.RTF\n- Rossi Mar2A5.RTF\n- Bianchi A1B7_3.RTF\n"
                "- Bianchi A1B7_4.RTF\n- SNC A_B2Nessuna2.RTF\n- X_Y1C9.RTF")
                  .arg(archives) });

    for (const char *name : { "CONMILTER.RTF", "Bianchi A1B7.RTF", "Bianchi A1B7_2.RTF" }) {
        QFile file(exportPath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), othersExport) << name;
    }
    EXPECT_TRUE(exported(QStringLiteral("Bianchi A1B7_3.RTF"))
                    .paragraphs.value(1)
                    .contains(QStringLiteral("Bianchi Anna Maria")));
    EXPECT_TRUE(exported(QStringLiteral("Bianchi A1B7_4.RTF"))
                    .paragraphs.value(1)
                    .contains(QStringLiteral("Bianchi Anna Luisa")));
    EXPECT_EQ(exports().size(), 3 + 1 + 7);
}
