#include "platform/programfolder.h"
#include "platform/report/reportcall.h"
#include "platform/report_recordingrunner.h"
#include "support/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zav::platform;
using zav::test::RecordingReportRunner;

namespace {

class ReportCallTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("ARCHIVI")));
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("STAMPE")));
        QFile definition(folder.filePath(QStringLiteral("STAMPE/MIL_GLOB.GST")));
        ASSERT_TRUE(definition.open(QIODevice::WriteOnly));
        ProgramFolder::setPath(folder.path());
    }
    void TearDown() override { ProgramFolder::setPath(QString()); }

    ReportCall::Report general() const
    {
        ReportCall::Report report;
        report.fileName = QStringLiteral("mil_glob.gst"); // found without regard to case
        report.dataSlots = { 0, 7 };
        report.database = QStringLiteral("/progetti/VIALE.cdb");
        report.exportName = QStringLiteral("VIAGBL.RTF");
        report.announce = true;
        return report;
    }

    QTemporaryDir folder;
    ScriptedDialogs boxes;
    RecordingReportRunner runner;
    ReportControl control;
};

} // namespace

TEST_F(ReportCallTest, DestinationStepSetsTheDestinationAndTheFlag)
{
    QString flag;
    control.DataFiles.at(4) = QStringLiteral("old");

    ReportCall::destinationStep(control, false, false, true, RtfFileType, flag);
    EXPECT_EQ(control.Destination, ReportDestination::File);
    EXPECT_EQ(control.PrintFileType, RtfFileType);
    EXPECT_EQ(flag, QStringLiteral("ON"));
    EXPECT_TRUE(control.DataFiles.at(4).isEmpty());
    EXPECT_TRUE(boxes.shown().isEmpty());

    ReportCall::destinationStep(control, false, true, false, RtfFileType, flag);
    EXPECT_EQ(control.Destination, ReportDestination::Printer);
    EXPECT_EQ(flag, QStringLiteral("OFF"));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Accendi la Stampante e premi 'Ok' quando pronto"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Zav -Stampa Millesimi-"));
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Exclamation);

    ReportCall::destinationStep(control, true, false, false, RtfFileType, flag);
    EXPECT_EQ(control.Destination, ReportDestination::Window);
    EXPECT_EQ(flag, QStringLiteral("OFF"));

    // No option set: everything stays as it was.
    flag = QStringLiteral("ON");
    ReportCall::destinationStep(control, false, false, false, RtfFileType, flag);
    EXPECT_EQ(control.Destination, ReportDestination::Window);
    EXPECT_EQ(flag, QStringLiteral("ON"));
    EXPECT_TRUE(runner.runs.isEmpty());
}

TEST_F(ReportCallTest, ReportStepSetsTheControlRunsItAndAnnouncesTheExportAfterwards)
{
    control.Destination = ReportDestination::File;
    ASSERT_TRUE(ReportCall::reportStep(control, QStringLiteral("ON"), general()));

    ASSERT_EQ(runner.runs.size(), 1);
    const ReportProperties &run = runner.runs.at(0);
    EXPECT_EQ(run.DataFiles.at(0), QStringLiteral("/progetti/VIALE.cdb"));
    EXPECT_EQ(run.DataFiles.at(7), QStringLiteral("/progetti/VIALE.cdb"));
    EXPECT_EQ(std::count_if(
                  run.DataFiles.begin(), run.DataFiles.end(), [](const QString &s) { return !s.isEmpty(); }),
        2);
    EXPECT_EQ(run.ReportFileName, folder.filePath(QStringLiteral("STAMPE/MIL_GLOB.GST")));
    EXPECT_EQ(run.PrintFileName, folder.filePath(QStringLiteral("ARCHIVI/VIAGBL.RTF")));
    EXPECT_EQ(run.SelectionFormula, QString());

    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("Il file è stato chiamato: VIAGBL.RTF ed è stato inserito nella directory ")
            + QDir::toNativeSeparators(folder.filePath(QStringLiteral("ARCHIVI"))));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Esportazione RTF"));
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Information);
}

TEST_F(ReportCallTest, AFailedRunIsReportedAndNothingIsAnnounced)
{
    control.Destination = ReportDestination::File;
    runner.failNext(QStringLiteral("impossibile scrivere il file"));
    EXPECT_FALSE(ReportCall::reportStep(control, QStringLiteral("ON"), general()));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("Il file VIAGBL.RTF non è stato creato: impossibile scrivere il file."));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Attenzione !!!"));
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Critical);

    boxes.clear();
    control.Destination = ReportDestination::Window;
    runner.failNext(QStringLiteral("file di stampa non trovato"));
    EXPECT_FALSE(ReportCall::reportStep(control, QStringLiteral("OFF"), general()));
    EXPECT_EQ(
        boxes.messages(), QStringList { QStringLiteral("Stampa non eseguita: file di stampa non trovato.") });
}

TEST_F(ReportCallTest, WithTheFlagOffNoFileIsNamedOrAnnounced)
{
    control.Destination = ReportDestination::Window;
    control.PrintFileName = QStringLiteral("/earlier/VIAGBL.RTF");
    for (const QString &flag : { QStringLiteral("OFF"), QString(), QStringLiteral("on") }) {
        ASSERT_TRUE(ReportCall::reportStep(control, flag, general()));
        EXPECT_EQ(runner.runs.last().PrintFileName, QStringLiteral("/earlier/VIAGBL.RTF"));
    }
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(ReportCallTest, SortFieldsAreSetOnlyWhenGiven)
{
    ReportCall::Report report = general();
    report.sortFields
        = { QStringLiteral("+{MILLESIMI_TER.PALAZ}"), QStringLiteral("+{MILLESIMI_TER.SCALA}") };
    ReportCall::reportStep(control, QStringLiteral("OFF"), report);
    EXPECT_EQ(runner.runs.last().SortFields.at(0), QStringLiteral("+{MILLESIMI_TER.PALAZ}"));
    EXPECT_EQ(runner.runs.last().SortFields.at(1), QStringLiteral("+{MILLESIMI_TER.SCALA}"));
    EXPECT_EQ(runner.runs.last().SortFields.at(2), QString());
    ReportCall::reportStep(control, QStringLiteral("OFF"), general());
    EXPECT_EQ(runner.runs.last().SortFields.at(0), QStringLiteral("+{MILLESIMI_TER.PALAZ}"));
}

TEST(ReportCallNames, SafeFileNamesKeepNoSeparatorOrReservedCharacter)
{
    const std::pair<const char *, const char *> cases[] = {
        { "SCALA B", "SCALA B" },
        { "1Nessuna03", "1Nessuna03" },
        { "../../etc/passwd", ".._.._etc_passwd" },
        { "a\\b:c*d?e\"f<g>h|i", "a_b_c_d_e_f_g_h_i" },
        { "tab\there", "tab_here" },
        { "Perù", "Perù" },
    };
    for (const auto &[text, safe] : cases)
        EXPECT_EQ(ReportCall::safeFileName(QString::fromUtf8(text)), QString::fromUtf8(safe)) << text;
}

TEST(ReportCallNames, TheExportPrefixIsTheFirstThreeWholeCharactersOfTheProjectsName)
{
    const std::pair<const char *, const char *> cases[] = {
        { "VIALE", "VIA" },
        { "AB", "AB" },
        { "", "" },
        // Characters outside the basic plane are two code units each.
        { "\U0001D538\U0001D539\U0001D53B\U0001D53C", "\U0001D538\U0001D539\U0001D53B" },
        { "A\U0001D539CD", "A\U0001D539C" },
        // A letter with a combining accent is one character.
        { "e\u0301e\u0301e\u0301e", "e\u0301e\u0301e\u0301" },
        { "Perù", "Per" },
        { "a/b", "a_b" },
    };
    for (const auto &[name, prefix] : cases)
        EXPECT_EQ(ReportCall::exportPrefix(QString::fromUtf8(name)), QString::fromUtf8(prefix)) << name;
}

TEST(ReportCallNames, AMessageListNamesItsFirstLinesAndCountsTheRest)
{
    const QStringList three { "a", "b", "c" };
    const struct
    {
        const char *name;
        QStringList lines;
        int shown;
        QString others;
        QStringList expected;
    } cases[] = {
        { "none", {}, 2, QStringLiteral("altri"), {} },
        { "as many as shown", three, 3, QStringLiteral("altri"), three },
        { "one more than shown", three, 2, QStringLiteral("altri"), { "a", "b", "... e altri 1" } },
        { "the word for the rest as given", three, 1, QStringLiteral("altre"), { "a", "... e altre 2" } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(messageLines(c.lines, c.shown, c.others), c.expected);
    }
    // Files are counted as "altri" unless told otherwise.
    EXPECT_EQ(messageLines(three, 0), QStringList { "... e altri 3" });
}

TEST(ReportControlTest, ClearingEmptiesEverySlotAndOnlyTheSlots)
{
    ReportControl control;
    for (QString &slot : control.DataFiles)
        slot = QStringLiteral("x");
    control.SelectionFormula = QStringLiteral("{T.F}=1");
    control.PrintFileName = QStringLiteral("f");
    control.clearDataFiles();
    for (const QString &slot : control.DataFiles)
        EXPECT_TRUE(slot.isEmpty());
    EXPECT_EQ(control.SelectionFormula, QStringLiteral("{T.F}=1"));
    EXPECT_EQ(control.PrintFileName, QStringLiteral("f"));

    RecordingReportRunner runner;
    EXPECT_TRUE(control.setAction(0).ok);
    EXPECT_TRUE(runner.runs.isEmpty());
    control.setAction(1);
    EXPECT_EQ(runner.runs.size(), 1);
}

TEST_F(ReportCallTest, AnExportNamedApartIsAlwaysTold)
{
    control.Destination = ReportDestination::File;
    const QString archives = QDir::toNativeSeparators(folder.filePath(QStringLiteral("ARCHIVI")));
    ReportResult apart;
    apart.exportFile = folder.filePath(QStringLiteral("ARCHIVI/VIAGBL_2.RTF"));
    apart.exportOtherOwner = QStringLiteral("/altro/VIALE.cdb");
    const QString told
        = QStringLiteral("Il file VIAGBL.RTF è l'esportazione di un altro progetto (%1) e non è "
                         "stato sostituito: questa esportazione ha un nome a parte.")
              .arg(QDir::toNativeSeparators(QStringLiteral("/altro/VIALE.cdb")));
    const QString named
        = QStringLiteral("Il file è stato chiamato: VIAGBL_2.RTF ed è stato inserito nella directory ")
        + archives;

    for (const bool announce : { true, false }) {
        boxes.clear();
        ReportCall::Report report = general();
        report.announce = announce;
        runner.results.push_back(apart);
        ASSERT_TRUE(ReportCall::reportStep(control, QStringLiteral("ON"), report));
        EXPECT_EQ(boxes.messages(), QStringList { told + QStringLiteral("\n\n") + named }) << announce;
    }

    // Written under its own name, an export that does not ask to be announced is not.
    boxes.clear();
    ReportCall::Report quiet = general();
    quiet.announce = false;
    ReportResult own;
    own.exportFile = folder.filePath(QStringLiteral("ARCHIVI/VIAGBL.RTF"));
    runner.results.push_back(own);
    ASSERT_TRUE(ReportCall::reportStep(control, QStringLiteral("ON"), quiet));
    EXPECT_TRUE(boxes.shown().isEmpty());
}
