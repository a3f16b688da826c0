// The print frame of the terrace form through a recording report runner: what the form's report
// control holds at each run, for each destination and each set of ticks.

#include "platform/report/reportcall.h"
#include "platform/report/selectionformula.h"
#include "platform/report_recordingrunner.h"
#include "terraceprintsfixture.h"

using namespace zav;
using platform::FormulaTerm;
using platform::ReportProperties;
using terraces::TerracePrints;
using test::TerracePrintsTest;

namespace {

const QString PrinterMessage = QStringLiteral("Accendi la Stampante e premi 'Ok' quando pronto");
const QString ThousandthsFormula = QStringLiteral("{MILLESIMI_TER.CODICE}=\"TER1\"");

/** The rooms' selection of each listed unit of TER1, worked out by hand. */
const QStringList RoomFormulas = {
    QStringLiteral("{SUP_COEFF_VOL.CODICE}='TER1' and {SUP_COEFF_VOL.NOME_CONDOMINO}=\"Rossi Mario\" and "
                   "{SUP_COEFF_VOL.PALAZ}=1 and {SUP_COEFF_VOL.SCALA}='A' and {SUP_COEFF_VOL.INTERNO}=5"),
    QStringLiteral(
        "{SUP_COEFF_VOL.CODICE}='TER1' and {SUP_COEFF_VOL.NOME_CONDOMINO}=\"D'Amico \"\"Nino\"\"\" "
        "and {SUP_COEFF_VOL.PALAZ}=1 and {SUP_COEFF_VOL.SCALA}='A' and {SUP_COEFF_VOL.INTERNO}=3"),
    QStringLiteral("{SUP_COEFF_VOL.CODICE}='TER1' and {SUP_COEFF_VOL.NOME_CONDOMINO}=\"Rossi Mario\" and "
                   "{SUP_COEFF_VOL.PALAZ}=2 and {SUP_COEFF_VOL.SCALA}='A' and {SUP_COEFF_VOL.INTERNO}=5"),
    QStringLiteral("{SUP_COEFF_VOL.CODICE}='TER1' and {SUP_COEFF_VOL.NOME_CONDOMINO}=\"Bianchi Anna Maria\" "
                   "and {SUP_COEFF_VOL.PALAZ}=1 and {SUP_COEFF_VOL.SCALA}='B' and {SUP_COEFF_VOL.INTERNO}=7"),
    QStringLiteral("{SUP_COEFF_VOL.CODICE}='TER1' and {SUP_COEFF_VOL.NOME_CONDOMINO}=\"Bianchi Anna Luisa\" "
                   "and {SUP_COEFF_VOL.PALAZ}=1 and {SUP_COEFF_VOL.SCALA}='B' and {SUP_COEFF_VOL.INTERNO}=7"),
    QStringLiteral(
        "{SUP_COEFF_VOL.CODICE}='TER1' and {SUP_COEFF_VOL.NOME_CONDOMINO}=\"SNC A/B\" and "
        "{SUP_COEFF_VOL.PALAZ}=2 and {SUP_COEFF_VOL.SCALA}='Nessuna' and {SUP_COEFF_VOL.INTERNO}=2"),
    QStringLiteral("{SUP_COEFF_VOL.CODICE}='TER1' and {SUP_COEFF_VOL.NOME_CONDOMINO}=\"X:Y\" and "
                   "{SUP_COEFF_VOL.PALAZ}=1 and {SUP_COEFF_VOL.SCALA}='C' and {SUP_COEFF_VOL.INTERNO}=9"),
};

/** The names of the "Tutti" exports of the seven units, in the list's order. */
const QStringList EveryUnitFiles = { QStringLiteral("Rossi Mar1A5.RTF"), QStringLiteral("D'Amico _1A3.RTF"),
    QStringLiteral("Rossi Mar2A5.RTF"), QStringLiteral("Bianchi A1B7.RTF"),
    QStringLiteral("Bianchi A1B7_2.RTF"), QStringLiteral("SNC A_B2Nessuna2.RTF"),
    QStringLiteral("X_Y1C9.RTF") };

/** One run as a case expects it. */
struct ExpectedRun
{
    bool thousandths; ///< "MIL_TER.GST" with its three sort fields, else "T_SUP_TER.GST" with none
    QString formula;
    QString file; ///< export name; empty when the run writes no file
};

struct FrameCase
{
    const char *name;
    TerracePrintsTest::Destination destination;
    bool thousandths;
    bool rooms;
    bool all;
    QList<ExpectedRun> runs;
    QStringList messages;
};

class PrintFrame : public TerracePrintsTest
{
protected:
    void expectRun(const ReportProperties &run, const ExpectedRun &expected, int destination,
        const std::string &where) const
    {
        SCOPED_TRACE(where);
        EXPECT_EQ(run.ReportFileName,
            definition(expected.thousandths ? TerracePrints::ThousandthsDefinition
                                            : TerracePrints::RoomsDefinition));
        for (int slot = 0; slot < ReportProperties::SlotCount; ++slot)
            EXPECT_EQ(run.DataFiles.at(slot), slot == 5 ? terraces : QString()) << "slot " << slot;
        const std::array<QString, 3> sorts = expected.thousandths
            ? std::array<QString, 3> { "+{MILLESIMI_TER.PALAZ}", "+{MILLESIMI_TER.SCALA}",
                  "+{MILLESIMI_TER.INTERNO}" }
            : std::array<QString, 3> {};
        EXPECT_EQ(run.SortFields, sorts);
        EXPECT_EQ(run.SelectionFormula, expected.formula);
        EXPECT_EQ(run.Destination, destination);
        if (!expected.file.isEmpty()) {
            EXPECT_EQ(run.PrintFileType, 15);
            EXPECT_EQ(run.PrintFileName, exportPath(expected.file));
        }
        EXPECT_EQ(run.previewTitle, QStringLiteral("Z.A.V. - Anteprima di Stampa - Terrazze"));
    }
};

} // namespace

TEST_F(PrintFrame, DestinationsAndTicks)
{
    using D = Destination;
    QList<ExpectedRun> everyUnit;
    for (int i = 0; i < 7; ++i)
        everyUnit.append({ false, RoomFormulas.at(i), EveryUnitFiles.at(i) });

    const QList<FrameCase> cases = {
        { "window, thousandths", D::Video, true, false, false, { { true, ThousandthsFormula, {} } }, {} },
        { "printer, nothing ticked: the message and nothing else", D::Printer, false, false, false, {},
            { PrinterMessage } },
        { "Tutti without Tab. Superfici: nothing", D::Video, false, false, true, {}, {} },
        { "file, thousandths then the list's current unit; one message names both files", D::File, true, true,
            false,
            { { true, ThousandthsFormula, "CONMILTER.RTF" }, { false, RoomFormulas.at(0), "CON1A25.RTF" } },
            { QStringLiteral("Sono stati scritti 2 file nella directory %1:\n- CONMILTER.RTF\n- CON1A25.RTF")
                    .arg(QDir::toNativeSeparators(folder.file(QStringLiteral("ARCHIVI")))) } },
        { "printer, the current unit", D::Printer, false, true, false, { { false, RoomFormulas.at(0), {} } },
            { PrinterMessage } },
        { "file, every unit in the list's order, the one-unit report not run; one message lists the files",
            D::File, false, true, true, everyUnit,
            { QStringLiteral("Sono stati scritti 7 file nella directory %1:\n- %2")
                    .arg(QDir::toNativeSeparators(folder.file(QStringLiteral("ARCHIVI"))),
                        EveryUnitFiles.join(QStringLiteral("\n- "))) } },
        { "window, every unit: one run each", D::Video, false, true, true,
            [] {
                QList<ExpectedRun> runs;
                for (int i = 0; i < 7; ++i)
                    runs.append({ false, RoomFormulas.at(i), {} });
                return runs;
            }(),
            {} },
        { "no destination chosen: the control's own, the window", D::None, true, false, false,
            { { true, ThousandthsFormula, {} } }, {} },
    };

    for (const FrameCase &c : cases) {
        SCOPED_TRACE(c.name);
        // A form of its own for each case: the control starts from the design's values.
        platform::FormRegistry::unload(terraces::TerraceFormName);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        boxes.clear();
        test::RecordingReportRunner runner;
        terraces::frm_terrazze *form = openFrame();
        print(form, c.destination, c.thousandths, c.rooms, c.all);

        const int destination = c.destination == D::Printer ? 1 : (c.destination == D::File ? 2 : 0);
        ASSERT_EQ(runner.runs.size(), c.runs.size());
        for (qsizetype i = 0; i < c.runs.size(); ++i)
            expectRun(runner.runs.at(i), c.runs.at(i), destination, "run " + std::to_string(i));
        EXPECT_EQ(boxes.messages(), c.messages);
        EXPECT_TRUE(form->Frame1->isVisibleTo(form)); // the frame stays open
    }
}

TEST_F(PrintFrame, TheControlKeepsItsDestinationFileTypeAndLastFileBetweenClicks)
{
    test::RecordingReportRunner runner;
    terraces::frm_terrazze *form = openFrame();
    EXPECT_TRUE(form->prints().esporta_rtf.isEmpty());

    print(form, Destination::File, true, false, false);
    EXPECT_EQ(form->prints().esporta_rtf, QStringLiteral("ON"));
    print(form, Destination::Video, true, false, false);
    EXPECT_EQ(form->prints().esporta_rtf, QStringLiteral("OFF"));

    ASSERT_EQ(runner.runs.size(), 2);
    const ReportProperties &second = runner.runs.at(1);
    EXPECT_EQ(second.Destination, 0);
    EXPECT_EQ(second.PrintFileType, 15);
    EXPECT_EQ(second.PrintFileName, exportPath(QStringLiteral("CONMILTER.RTF")));

    // The thousandths' sort fields are not left to the rooms' report that follows.
    print(form, Destination::Printer, true, true, false);
    ASSERT_EQ(runner.runs.size(), 4);
    EXPECT_EQ(runner.runs.at(2).SortFields.at(0), QStringLiteral("+{MILLESIMI_TER.PALAZ}"));
    EXPECT_EQ(runner.runs.at(3).SortFields, (std::array<QString, 3> {}));
    EXPECT_EQ(runner.runs.at(3).Destination, 1);
}

TEST_F(PrintFrame, AfterTuttiTheOneUnitReportAsksForAUnitUntilOneIsChosen)
{
    test::RecordingReportRunner runner;
    terraces::frm_terrazze *form = openFrame();
    print(form, Destination::File, false, true, true);
    ASSERT_EQ(runner.runs.size(), 7);
    EXPECT_TRUE(form->Data5->noCurrentRow());
    boxes.clear(); // the files written

    print(form, Destination::File, false, true, false);
    EXPECT_EQ(runner.runs.size(), 7);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));

    // A unit chosen in the list: the same owner's unit 5, but in building 2.
    form->Data5->setCurrentRow(2);
    print(form, Destination::File, false, true, false);
    ASSERT_EQ(runner.runs.size(), 8);
    EXPECT_EQ(runner.runs.at(7).SelectionFormula, RoomFormulas.at(2));
    EXPECT_EQ(runner.runs.at(7).PrintFileName, exportPath(QStringLiteral("CON2A15.RTF")));

    // "Esci" puts the list back on its first unit.
    print(form, Destination::File, false, true, true);
    form->Command5->click();
    EXPECT_FALSE(form->Frame1->isVisibleTo(form));
    form->Command1[5]->click();
    print(form, Destination::File, false, true, false);
    ASSERT_EQ(runner.runs.size(), 16);
    EXPECT_EQ(runner.runs.at(15).SelectionFormula, RoomFormulas.at(0));
}

TEST_F(PrintFrame, FailuresAreReported)
{
    test::RecordingReportRunner runner;
    terraces::frm_terrazze *form = openFrame();

    runner.failNext(QStringLiteral("archivio non trovato"));
    print(form, Destination::Video, true, false, false);
    runner.failNext(QStringLiteral("disco pieno"));
    print(form, Destination::File, true, false, false);
    EXPECT_EQ(boxes.messages(),
        (QStringList { QStringLiteral("Stampa non eseguita: archivio non trovato."),
            QStringLiteral("Il file CONMILTER.RTF non è stato creato: disco pieno.") }));

    // "Tutti" goes on past a failure and names every failure in one message at its end.
    boxes.clear();
    runner.failNext(QStringLiteral("disco pieno"));
    runner.failNext(QStringLiteral("disco pieno"));
    print(form, Destination::File, false, true, true);
    EXPECT_EQ(runner.runs.size(), 2 + 7);
    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("Tabelle delle superfici non create: 2 su 7.\n- Rossi Mar1A5.RTF: disco pieno\n"
                       "- D'Amico _1A3.RTF: disco pieno"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Attenzione !!!"));
    // Then the five files written, in one message.
    EXPECT_TRUE(
        boxes.shown().at(1).text.startsWith(QStringLiteral("Sono stati scritti 5 file nella directory ")))
        << boxes.shown().at(1).text.toStdString();

    // To the window the units are named.
    boxes.clear();
    runner.failNext(QStringLiteral("stampante assente"));
    print(form, Destination::Video, false, true, true);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("Tabelle delle superfici non stampate: 1 su 7.\n"
                       "- Rossi Mario Pal. 1 Scala A Piano 2 Int. 5: stampante assente"));
}

TEST_F(PrintFrame, WithoutATableNothingRuns)
{
    test::RecordingReportRunner runner;
    terraces::frm_terrazze *form = openFrame(QStringLiteral("TER9"), QStringLiteral("non registrata"));
    print(form, Destination::Printer, true, true, false);
    EXPECT_TRUE(runner.runs.isEmpty());
    EXPECT_EQ(boxes.messages(), (QStringList { PrinterMessage, "Nessuna Tabella terrazze selezionata." }));
}

TEST(TerracePrintFormulas, QuotesInCodesAndOwnersStayValues)
{
    const terraces::TerraceUnit unit { QStringLiteral("D'Amico \"Nino\" and {X.Y}=1"), 12,
        QStringLiteral("B'"), QStringLiteral("T"), 3 };
    EXPECT_EQ(platform::SelectionFormula::parse(TerracePrints::roomsFormula(QStringLiteral("T'1\""), unit)),
        (QList<FormulaTerm> { { "SUP_COEFF_VOL", "CODICE", QStringLiteral("T'1\"") },
            { "SUP_COEFF_VOL", "NOME_CONDOMINO", unit.owner }, { "SUP_COEFF_VOL", "PALAZ", 12LL },
            { "SUP_COEFF_VOL", "SCALA", QStringLiteral("B'") }, { "SUP_COEFF_VOL", "INTERNO", 3LL } }));
    EXPECT_EQ(platform::SelectionFormula::parse(TerracePrints::thousandthsFormula(QStringLiteral("A\"B' C"))),
        (QList<FormulaTerm> { { "MILLESIMI_TER", "CODICE", QStringLiteral("A\"B' C") } }));
}

TEST(TerracePrintFileNames, NumbersAndNames)
{
    // The number a building, floor code or unit number starts with, without decimals.
    const struct
    {
        QVariant value;
        const char *expected;
    } numbers[] = {
        { QStringLiteral("T"), "0" },
        { QStringLiteral("1S"), "1" },
        { QStringLiteral("S1"), "0" },
        { QStringLiteral("12"), "12" },
        { QStringLiteral("-1"), "-1" },
        { QStringLiteral(""), "0" },
        { QVariant(), "0" },
        { 3, "3" },
        { 2.0, "2" },
    };
    for (const auto &n : numbers)
        EXPECT_EQ(TerracePrints::numberInName(n.value), QString::fromLatin1(n.expected))
            << n.value.toString().toStdString();

    const terraces::TerraceUnit unit { QStringLiteral("Rossi Mario"), 1, QStringLiteral("A"),
        QStringLiteral("2"), 5 };
    EXPECT_EQ(
        TerracePrints::thousandthsFileName(QStringLiteral("CONDOMINIO")), QStringLiteral("CONMILTER.RTF"));
    EXPECT_EQ(TerracePrints::thousandthsFileName(QStringLiteral("AB")), QStringLiteral("ABMILTER.RTF"));
    EXPECT_EQ(TerracePrints::unitFileName(QStringLiteral("CONDOMINIO"), unit), QStringLiteral("CON1A25.RTF"));
    EXPECT_EQ(TerracePrints::unitFileName(QStringLiteral("A/B"), { "X", 1, "A\\B", "T", 5 }),
        QStringLiteral("A_B1A_B05.RTF"));
    EXPECT_EQ(TerracePrints::everyUnitFileName({ QStringLiteral("Società\tLà"), 1, "A", "1", 4 }),
        QStringLiteral("Società_L1A4.RTF"));
}
