#include "platform/report_recordingrunner.h"
#include "platform/report_rtfreader.h"
#include "printing/tableprints.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace zav;
using platform::ReportControl;
namespace ReportDestination = platform::ReportDestination;
using printing::TablePrints;

namespace {

/** The program folder's template archive and the two table forms' report controls, fresh. */
class TablePrintsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedCoefficient = TablePrints::coefficientControl();
        savedWindow = TablePrints::windowControl();
        templ = folder.file(QStringLiteral("ARCH_MIL.CLO"));
        project = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/VIALE.cdb"));
    }
    void TearDown() override
    {
        TablePrints::coefficientControl() = savedCoefficient;
        TablePrints::windowControl() = savedWindow;
    }

    QString definition(const QString &name) const { return folder.file(QStringLiteral("STAMPE/") + name); }

    /** The slots of a run that name a database, as slot and path. */
    static QList<std::pair<int, QString>> filledSlots(const platform::ReportProperties &run)
    {
        QList<std::pair<int, QString>> filled;
        for (int i = 0; i < platform::ReportProperties::SlotCount; ++i) {
            if (!run.DataFiles.at(i).isEmpty())
                filled.append({ i, run.DataFiles.at(i) });
        }
        return filled;
    }

    test::TempProgramFolder folder;
    platform::ScriptedDialogs boxes;
    QString templ;
    QString project;
    ReportControl savedCoefficient;
    ReportControl savedWindow;
};

} // namespace

TEST_F(TablePrintsTest, EachCoefficientTitleRunsItsReportOnItsOneSlot)
{
    test::RecordingReportRunner runner;
    const struct
    {
        const char *title;
        const char *file;
        int slot;
    } cases[] = {
        { "Tabella Piano", "COEFF.GST", 10 },
        { "Tabella Orientamento", "COEFF2.GST", 11 },
        { "Tabella Esposizione", "COEFF3.GST", 12 },
        { "Tabella Luminosità", "COEFF4.GST", 13 },
        { "Tabella Utilizzazione", "COEFF5.GST", 14 },
        { "Tabella Globale", "COEFF6.GST", 15 },
        { "Tabella Destinazione", "COEFF7.GST", 16 },
        { "Tabella Utente 1", "COEFF8.GST", 17 },
    };
    for (const auto &c : cases) {
        // The archives alternate, so that a slot left from the run before would show.
        const QString archive = c.slot % 2 ? templ : project;
        EXPECT_TRUE(TablePrints::coefficientTable(QString::fromUtf8(c.title), archive)) << c.title;
        ASSERT_FALSE(runner.runs.isEmpty());
        const platform::ReportProperties &run = runner.runs.last();
        EXPECT_EQ(filledSlots(run), (QList<std::pair<int, QString>> { { c.slot, archive } })) << c.title;
        EXPECT_EQ(run.ReportFileName, definition(QString::fromLatin1(c.file))) << c.title;
        // Nothing else of the control is touched: the preview window, no selection.
        EXPECT_EQ(run.Destination, ReportDestination::Window);
        EXPECT_EQ(run.previewTitle, QStringLiteral("Zav - Anteprima di stampa -")) << c.title;
        EXPECT_TRUE(run.SelectionFormula.isEmpty());
    }
    EXPECT_EQ(runner.runs.size(), 8);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(TablePrintsTest, ATitleOutsideTheListPrintsNothing)
{
    test::RecordingReportRunner runner;
    // Titles are compared exactly.
    for (const char *title : { "tabella piano", "Tabella Piano ", "Tabella Utente 2", "" })
        EXPECT_FALSE(TablePrints::coefficientTable(QString::fromLatin1(title), templ)) << title;
    EXPECT_TRUE(runner.runs.isEmpty());
}

TEST_F(TablePrintsTest, TheWindowTableUsesSlot18AndNeverClearsTheOthers)
{
    test::RecordingReportRunner runner;
    TablePrints::windowControl().DataFiles.at(3) = QStringLiteral("/left/from/before.cdb");
    TablePrints::windowTable(project);
    TablePrints::windowTable(templ);
    ASSERT_EQ(runner.runs.size(), 2);
    EXPECT_EQ(filledSlots(runner.runs.at(0)),
        (QList<std::pair<int, QString>> { { 3, QStringLiteral("/left/from/before.cdb") }, { 18, project } }));
    EXPECT_EQ(runner.runs.at(1).DataFiles.at(18), templ);
    EXPECT_EQ(runner.runs.at(1).previewTitle, QStringLiteral("Zav - Anteprima di stampa -"));
    EXPECT_EQ(runner.runs.at(1).ReportFileName, definition(QStringLiteral("finestre.GST")));
}

TEST_F(TablePrintsTest, AFailedRunIsToldByTheCoefficientFormOnly)
{
    ASSERT_TRUE(QFile::remove(definition(QStringLiteral("COEFF2.GST"))));
    ASSERT_TRUE(QFile::remove(definition(QStringLiteral("finestre.GST"))));
    TablePrints::coefficientControl().Destination = ReportDestination::File;
    TablePrints::coefficientControl().PrintFileName = folder.file(QStringLiteral("ARCHIVI/C.RTF"));
    TablePrints::windowControl().Destination = ReportDestination::File;
    TablePrints::windowControl().PrintFileName = folder.file(QStringLiteral("ARCHIVI/W.RTF"));

    TablePrints::windowTable(templ);
    EXPECT_TRUE(boxes.shown().isEmpty());

    EXPECT_FALSE(TablePrints::coefficientTable(QStringLiteral("Tabella Orientamento"), templ));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Attenzione !!!"));
    EXPECT_TRUE(boxes.shown().at(0).text.startsWith(QStringLiteral("Stampa non eseguita: ")));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("ARCHIVI/C.RTF"))));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("ARCHIVI/W.RTF"))));
}

TEST_F(TablePrintsTest, TheNineReportsOfTheTemplateExportToRtfThatReadsBack)
{
    // The template's rows, as its schema script writes them: how many, and the first one or two.
    const struct
    {
        const char *title; ///< empty for the window table
        const char *heading;
        int rows;
        QStringList first;
        QStringList second;
    } cases[] = {
        { "Tabella Piano", "Tabella Coefficienti di Piano", 53, { "10S", "1,00", "", "", "", "", "", "", "" },
            { "9S", "1,00", "", "", "", "", "", "", "" } },
        { "Tabella Orientamento", "Tabella Coefficienti di Orientamento", 8, { "Nord", "1,00" }, {} },
        { "Tabella Esposizione", "Tabella Coefficienti di Esposizione", 5, { "Prospetto su strada", "1,00" },
            {} },
        { "Tabella Luminosità", "Tabella Coefficienti di Luminosità", 5, { "Ottima", "1,00" }, {} },
        { "Tabella Utilizzazione", "Tabella Coefficienti di Utilizzazione", 5, { "Abitazione", "1,00" }, {} },
        { "Tabella Globale", "Tabella Coefficienti Globali", 7, { "Appartamento", "1,00" }, {} },
        { "Tabella Destinazione", "Tabella Coefficienti di Destinazione", 9, { "Camere", "1,00" },
            { "Servizi (cucina - bagno - ripostiglio)", "0,90" } },
        { "Tabella Utente 1", "Tabella Coefficienti Utente 1", 3, { "Voce libera 1", "1,00" }, {} },
        { "", "Tabella Coefficienti di Illuminazione (Infissi)", 8,
            { "1", "K da 0,1666 a meno di 10", "1,00" }, { "2", "K da 0,14285 a meno di 0,1666", "0,96" } },
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString title = QString::fromUtf8(c.title);
        const QString out = folder.file(QStringLiteral("ARCHIVI/T%1.RTF").arg(++n));
        ReportControl &control
            = title.isEmpty() ? TablePrints::windowControl() : TablePrints::coefficientControl();
        control.Destination = ReportDestination::File;
        control.PrintFileName = out;
        if (title.isEmpty())
            TablePrints::windowTable(templ);
        else
            EXPECT_TRUE(TablePrints::coefficientTable(title, templ));

        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.heading;
        const test::RtfDocument doc = test::RtfDocument::read(file.readAll());
        SCOPED_TRACE(c.heading);
        EXPECT_TRUE(doc.balanced);
        EXPECT_EQ(doc.paragraphs.value(0), QString::fromUtf8(c.heading));
        // The headings, then one row per row of the table, in the table's order; no total.
        ASSERT_EQ(doc.rows.size(), c.rows + 1);
        EXPECT_EQ(doc.rows.at(1).mid(0, c.first.size()), c.first);
        if (!c.second.isEmpty()) {
            EXPECT_EQ(doc.rows.at(2).mid(0, c.second.size()), c.second);
        }
        if (!title.isEmpty()) {
            EXPECT_EQ(doc.rows.at(0),
                (QStringList { doc.rows.at(0).value(0), "Tab. A", "Tab. B", "Tab. C", "Tab. D", "Tab. E",
                    "Tab. F", "Tab. G", "Colonna\nin uso" }));
        }
    }
    EXPECT_TRUE(boxes.shown().isEmpty());
}
