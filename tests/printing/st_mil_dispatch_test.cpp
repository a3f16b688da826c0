#include "platform/report_recordingrunner.h"
#include "printingfixture.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <functional>
#include <vector>

using namespace zav;
using platform::MsgIcon;
namespace ReportDestination = platform::ReportDestination;
using printing::ST_MIL;

namespace {

/** What one run of the report control is expected to hold. */
struct ExpectedRun
{
    const char *file;
    std::vector<int> dataSlots;
    const char *formula;
    int destination;
    const char *exportName = nullptr; ///< nullptr: no export file named
};

class PrintDispatch : public test::PrintingTest
{
protected:
    /** The one message of a "Stampa" that exported several files. */
    QString listing(const QStringList &names) const
    {
        return QStringLiteral("Sono stati scritti %1 file nella directory %2:\n- %3")
            .arg(names.size())
            .arg(QDir::toNativeSeparators(folder.file(QStringLiteral("ARCHIVI"))),
                names.join(QStringLiteral("\n- ")));
    }

    QString announcement(const QString &name) const
    {
        return QStringLiteral("Il file è stato chiamato: ") + name
            + QStringLiteral(" ed è stato inserito nella directory ")
            + QDir::toNativeSeparators(folder.file(QStringLiteral("ARCHIVI")));
    }

    void expectRuns(const std::vector<ExpectedRun> &expected)
    {
        ASSERT_EQ(runner.runs.size(), qsizetype(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(i);
            const platform::ReportProperties &run = runner.runs.at(qsizetype(i));
            const ExpectedRun &want = expected.at(i);
            EXPECT_EQ(run.ReportFileName, definition(QString::fromLatin1(want.file)));
            for (int slot = 0; slot < platform::ReportProperties::SlotCount; ++slot) {
                const bool set
                    = std::find(want.dataSlots.begin(), want.dataSlots.end(), slot) != want.dataSlots.end();
                EXPECT_EQ(run.DataFiles.at(slot), set ? archive : QString()) << "slot " << slot;
            }
            EXPECT_EQ(run.SelectionFormula, QString::fromUtf8(want.formula));
            EXPECT_EQ(run.Destination, want.destination);
            if (want.exportName) {
                EXPECT_EQ(run.PrintFileName, exportPath(QString::fromUtf8(want.exportName)));
                EXPECT_EQ(run.PrintFileType, platform::RtfFileType);
            } else {
                EXPECT_EQ(run.PrintFileName, QString());
            }
        }
    }

    test::RecordingReportRunner runner;
};

const QString printerMessage = QStringLiteral("Accendi la Stampante e premi 'Ok' quando pronto");

} // namespace

TEST_F(PrintDispatch, EachChoiceRunsItsReportWithItsSlotsFormulaAndExportName)
{
    struct Case
    {
        const char *name;
        std::function<void(ST_MIL &)> setUp;
        std::vector<ExpectedRun> runs;
        QStringList messages;
    };
    const auto file = [](ST_MIL &f) { f.Option3->click(); };
    const auto printer = [](ST_MIL &f) { f.Option2->click(); };
    const Case cases[] = {
        { "general, window", [](ST_MIL &f) { f.Check1->setChecked(true); },
            { { "MIL_GLOB.GST", { 0, 7 }, "", 0 } }, {} },
        { "general, file",
            [&](ST_MIL &f) {
                file(f);
                f.Check1->setChecked(true);
            },
            { { "MIL_GLOB.GST", { 0, 7 }, "", 2, "VIAGBL.RTF" } },
            { announcement(QStringLiteral("VIAGBL.RTF")) } },
        { "general and stair, file: two exports in the dispatcher's order, told in one message",
            [&](ST_MIL &f) {
                file(f);
                f.Check3->setChecked(true);
                f.Check1->setChecked(true);
                choose(f, QStringLiteral("2"), QStringLiteral("A"));
            },
            { { "MIL_GLOB.GST", { 0, 7 }, "", 2, "VIAGBL.RTF" },
                { "MIL_SCL.GST", { 10, 9 }, "{TEMPORANEO2.PALAZ}='2' and {TEMPORANEO2.SCALA}='A'", 2,
                    "VIASCL2A.RTF" } },
            { listing({ QStringLiteral("VIAGBL.RTF"), QStringLiteral("VIASCL2A.RTF") }) } },
        { "building, window",
            [&](ST_MIL &f) {
                f.Check2->setChecked(true);
                choose(f, QStringLiteral("2"), QString());
            },
            { { "MIL_PAL.GST", { 10, 8 }, "{TEMPORANEO.PALAZ}='2'", 0 } }, {} },
        { "building, window, no building", [](ST_MIL &f) { f.Check2->setChecked(true); }, {},
            { QStringLiteral("Palazzina non inserita.") } },
        { "building, file, no building: runs with what the box holds",
            [&](ST_MIL &f) {
                file(f);
                f.Check2->setChecked(true);
            },
            { { "MIL_PAL.GST", { 10, 8 }, "{TEMPORANEO.PALAZ}=''", 2, "VIAPAL.RTF" } },
            { announcement(QStringLiteral("VIAPAL.RTF")) } },
        { "general then stair without a stair, window",
            [&](ST_MIL &f) {
                f.Check1->setChecked(true);
                f.Check3->setChecked(true);
                choose(f, QStringLiteral("1"), QString());
            },
            { { "MIL_GLOB.GST", { 0, 7 }, "", 0 } }, { QStringLiteral("Scala non inserita.") } },
        { "stair, window, neither box", [](ST_MIL &f) { f.Check3->setChecked(true); }, {},
            { QStringLiteral("Palazzina e Scala non inseriti.") } },
        { "lift, file, no stair of its own",
            [&](ST_MIL &f) {
                file(f);
                f.Check4->setChecked(true);
                choose(f, QStringLiteral("1"), QStringLiteral("Nessuna"));
            },
            { { "MIL_ASC.GST", { 10, 9 }, "{TEMPORANEO2.PALAZ}='1' and {TEMPORANEO2.SCALA}='Nessuna'", 2,
                "VIAASC1Ne.RTF" } },
            { announcement(QStringLiteral("VIAASC1Ne.RTF")) } },
        { "lift then heating: the heating report finds the lift's slots empty",
            [&](ST_MIL &f) {
                f.Check4->setChecked(true);
                f.Check5->setChecked(true);
                choose(f, QStringLiteral("1"), QStringLiteral("A"));
            },
            { { "MIL_ASC.GST", { 10, 9 }, "{TEMPORANEO2.PALAZ}='1' and {TEMPORANEO2.SCALA}='A'", 0 },
                { "MIL_RISC.GST", { 0, 6 }, "", 0 } },
            {} },
        { "heating and porter's lodge, file",
            [&](ST_MIL &f) {
                file(f);
                f.Check6->setChecked(true);
                f.Check5->setChecked(true);
            },
            { { "MIL_RISC.GST", { 0, 6 }, "", 2, "VIARISC.RTF" },
                { "MIL_PORT.GST", { 0, 5 }, "", 2, "VIAPORT.RTF" } },
            { listing({ QStringLiteral("VIARISC.RTF"), QStringLiteral("VIAPORT.RTF") }) } },
        { "register, file: the building bare, no building or stair in the name",
            [&](ST_MIL &f) {
                file(f);
                f.Check9->setChecked(true);
                choose(f, QStringLiteral("1"), QStringLiteral("B"));
            },
            { { "CODPIANI.GST", { 0, 1 }, "{CODIF_PIANI.NUM_PAL}=1 and {CODIF_PIANI.SCALA}='B'", 2,
                "VIAANAGR.RTF" } },
            { announcement(QStringLiteral("VIAANAGR.RTF")) } },
        { "register, window, no stair",
            [&](ST_MIL &f) {
                f.Check9->setChecked(true);
                choose(f, QStringLiteral("1"), QString());
            },
            {}, { QStringLiteral("Scala non inserita.") } },
        { "user table without a table, printer: refused after the printer message",
            [&](ST_MIL &f) {
                printer(f);
                f.Check7->setChecked(true);
            },
            {}, { printerMessage, QStringLiteral("Nessuna tabella selezionata.") } },
        { "nothing ticked, printer: the printer message only", printer, {}, { printerMessage } },
        { "nothing ticked, window: nothing at all", [](ST_MIL &) {}, {}, {} },
    };

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ST_MIL *f = form();
        c.setUp(*f);
        boxes.clear();
        runner.runs.clear();
        f->Command2->click();
        expectRuns(c.runs);
        EXPECT_EQ(boxes.messages(), c.messages);
        // The command leaves no database in the control.
        for (const QString &slot : f->CrystalReport1.DataFiles)
            EXPECT_TRUE(slot.isEmpty());
        platform::FormRegistry::unload(printing::PrintFormName);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(PrintDispatch, MessagesOfTheDispatcherAreCriticalAttentions)
{
    ST_MIL *f = form();
    f->Check2->setChecked(true);
    f->Command2->click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Attenzione !!!"));
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Critical);
    boxes.clear();
    f->Option2->click();
    f->Command2->click();
    ASSERT_GE(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Zav -Stampa Millesimi-"));
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Exclamation);
}

TEST_F(PrintDispatch, AShortProjectNameBeginsTheExportNameWhole)
{
    engine::VAR_GBL.nome_progetto = QStringLiteral("AB");
    ST_MIL *f = form();
    f->Option3->click();
    f->Check1->setChecked(true);
    f->Command2->click();
    ASSERT_EQ(runner.runs.size(), 1);
    EXPECT_EQ(runner.runs.at(0).PrintFileName, exportPath(QStringLiteral("ABGBL.RTF")));
}

TEST_F(PrintDispatch, AfterAnExportTheWindowNamesAndAnnouncesNoFile)
{
    ST_MIL *f = form();
    f->Option3->click();
    f->Check1->setChecked(true);
    f->Command2->click();
    EXPECT_EQ(f->esporta_rtf, QStringLiteral("ON"));

    f->Option1->click();
    boxes.clear();
    f->Command2->click();
    EXPECT_EQ(f->esporta_rtf, QStringLiteral("OFF"));
    ASSERT_EQ(runner.runs.size(), 2);
    EXPECT_EQ(runner.runs.at(1).Destination, ReportDestination::Window);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(PrintDispatch, WithTheProjectClosedTheCommandRefuses)
{
    ST_MIL *f = form();
    f->Check1->setChecked(true);
    engine::VAR_GBL.progetto_corrente.reset();
    f->Command2->click();
    EXPECT_TRUE(runner.runs.isEmpty());
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Nessun progetto selezionato") });
}

// --- Printer loops ---------------------------------------------------------------------------------

TEST_F(PrintDispatch, OnThePrinterTheStairReportRunsForEveryBuildingAndStair)
{
    ST_MIL *f = form();
    f->Option2->click();
    f->Check3->setChecked(true);
    choose(*f, QStringLiteral("2"), QStringLiteral("A")); // the boxes do not matter
    f->Command2->click();

    const char *formula = "{TEMPORANEO2.PALAZ}='%1' and {TEMPORANEO2.SCALA}='%2'";
    std::vector<std::pair<const char *, const char *>> pairs
        = { { "1", "Nessuna" }, { "1", "A" }, { "1", "B" }, { "2", "Nessuna" }, { "2", "A" } };
    ASSERT_EQ(runner.runs.size(), qsizetype(pairs.size()));
    for (size_t i = 0; i < pairs.size(); ++i) {
        const platform::ReportProperties &run = runner.runs.at(qsizetype(i));
        EXPECT_EQ(run.SelectionFormula, QString::fromLatin1(formula).arg(pairs[i].first, pairs[i].second));
        EXPECT_EQ(run.Destination, ReportDestination::Printer);
        EXPECT_EQ(run.DataFiles.at(10), archive);
        EXPECT_EQ(run.DataFiles.at(9), archive);
        EXPECT_EQ(run.PrintFileName, QString());
    }
    EXPECT_EQ(f->Combo1->currentText(), QStringLiteral("2"));
    EXPECT_EQ(f->Combo2->currentText(), QStringLiteral("A"));
    EXPECT_EQ(boxes.messages(), QStringList { printerMessage });
}

TEST_F(PrintDispatch, OnThePrinterTheBuildingReportRunsForEveryBuilding)
{
    ST_MIL *f = form();
    f->Option2->click();
    f->Check2->setChecked(true);
    f->Command2->click();
    ASSERT_EQ(runner.runs.size(), 2);
    EXPECT_EQ(runner.runs.at(0).SelectionFormula, QStringLiteral("{TEMPORANEO.PALAZ}='1'"));
    EXPECT_EQ(runner.runs.at(1).SelectionFormula, QStringLiteral("{TEMPORANEO.PALAZ}='2'"));
    EXPECT_EQ(f->Combo1->currentText(), QStringLiteral("2"));
    EXPECT_EQ(f->Combo2->currentText(), QString()); // refilled with building 2's stairs, none chosen
}

TEST_F(PrintDispatch, OnThePrinterABuildingWithoutStairsPrintsNoStairReport)
{
    db().exec(QStringLiteral("UPDATE COMPOS_PAL SET NUM_SCALE = NULL WHERE NUM_PAL = 2"));
    ST_MIL *f = form();
    f->Option2->click();
    f->Check9->setChecked(true);
    f->Command2->click();
    QStringList formulas;
    for (const platform::ReportProperties &run : runner.runs)
        formulas.append(run.SelectionFormula);
    EXPECT_EQ(formulas,
        (QStringList { "{CODIF_PIANI.NUM_PAL}=1 and {CODIF_PIANI.SCALA}='Nessuna'",
            "{CODIF_PIANI.NUM_PAL}=1 and {CODIF_PIANI.SCALA}='A'",
            "{CODIF_PIANI.NUM_PAL}=1 and {CODIF_PIANI.SCALA}='B'" }));
    EXPECT_EQ(boxes.messages(),
        (QStringList { printerMessage, QStringLiteral("Nessuna scala inserita nella palazzina n°: 2") }));
}

TEST_F(PrintDispatch, APrinterLoopEndsAtItsFirstFailedRunWithOneMessage)
{
    ST_MIL *f = form();
    f->Option2->click();
    f->Check3->setChecked(true);
    f->Check5->setChecked(true);
    runner.failNext(QStringLiteral("la stampante non è disponibile"));
    f->Command2->click();
    ASSERT_EQ(runner.runs.size(), 2); // the first stair, then the next report of the command
    EXPECT_EQ(runner.runs.at(1).ReportFileName, definition(QStringLiteral("MIL_RISC.GST")));
    EXPECT_EQ(boxes.messages(),
        (QStringList {
            printerMessage, QStringLiteral("Stampa non eseguita: la stampante non è disponibile.") }));
}
