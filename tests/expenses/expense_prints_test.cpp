// "Stampa" of the expense form and of the summary table: what each hands its report control, and
// what the two report definitions print, exported to RTF and read back.

#include "expenses/frm_rip_spese.h"
#include "expenses/frm_ripart_spese.h"
#include "expensesfixture.h"
#include "platform/report/reportengine.h"
#include "platform/report/reportpainter.h"
#include "platform/report/reportpreview.h"
#include "platform/report_recordingrunner.h"
#include "platform/report_rtfreader.h"
#include "platform/ui/datagrid.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>

namespace zav::test {
namespace {

using engine::VAR_GBL;
using expenses::frm_rip_spese;
using expenses::frm_ripart_spese;
using platform::Database;
using platform::MsgIcon;
namespace ReportDestination = platform::ReportDestination;
using platform::ReportProperties;

const QString PreviewTitle = QStringLiteral("Z.A.V. (Anteprima di Stampa)");

class ExpensePrintsTest : public ExpensesTest
{
protected:
    void TearDown() override
    {
        for (platform::ReportPreview *preview : platform::ReportPreview::openPreviews())
            delete preview;
        platform::FormRegistry::unload(expenses::SummaryFormName);
        ExpensesTest::TearDown();
    }

    frm_ripart_spese *expenseForm() { return qobject_cast<frm_ripart_spese *>(expenses::spese()); }
    frm_rip_spese *summaryForm()
    {
        return platform::FormRegistry::form<frm_rip_spese>(expenses::SummaryFormName);
    }

    static QList<QPrintPreviewDialog *> gridPreviews(frm_ripart_spese *f)
    {
        QList<QPrintPreviewDialog *> open;
        for (QPrintPreviewDialog *preview : f->TDBGrid1->findChildren<QPrintPreviewDialog *>()) {
            if (preview->isVisible())
                open.append(preview);
        }
        return open;
    }

    /** The report the properties describe, exported to RTF through the engine and read back. */
    RtfDocument exported(ReportProperties report)
    {
        report.Destination = ReportDestination::File;
        report.PrintFileType = platform::RtfFileType;
        report.PrintFileName = folder.file(QStringLiteral("ARCHIVI/prova.rtf"));
        const platform::ReportResult result = platform::ReportEngine().run(report);
        EXPECT_TRUE(result.ok) << result.message.toStdString();
        QFile file(report.PrintFileName);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray rtf = file.readAll();
        const RtfDocument doc = RtfDocument::read(rtf);
        EXPECT_TRUE(doc.balanced);
        EXPECT_EQ(doc.rawNonAscii, 0);
        return doc;
    }

    static void update(const QString &path, const QString &sql, const QVariantList &values = {})
    {
        Database d = Database::open(path);
        d.exec(sql, values);
    }

    QString summaryPath() const { return folder.file(QStringLiteral("RIP_SPESE.MDB")); }

    void addSummaryRow(const QString &project, const QString &owner, const QVariantList &thousandths)
    {
        Database d = Database::open(summaryPath());
        QList<std::pair<QString, QVariant>> values { { QStringLiteral("COD_CONDOMINIO"), project },
            { QStringLiteral("nome_condomino"), owner }, { QStringLiteral("PAL"), QStringLiteral("1") },
            { QStringLiteral("SCALA"), QStringLiteral("A") },
            { QStringLiteral("PIANO"), QStringLiteral("T") }, { QStringLiteral("INTERNO"), 1 },
            { QStringLiteral("DESCRIZIONE"), QStringLiteral("Box") } };
        const QStringList fields = { "millesimi_generali", "millesimi_palazzina", "millesimi_scala",
            "millesimi_ascensore", "millesimi_riscaldamento", "millesimi_portierato" };
        for (qsizetype i = 0; i < fields.size(); ++i)
            values.append({ fields.at(i), thousandths.value(i) });
        d.insert(QStringLiteral("TAB_GENERALE"), values);
    }
};

TEST_F(ExpensePrintsTest, OnlyTheExactAnswersOneAndTwoAct)
{
    fillProject();
    const QString archive = makeArchive();
    frm_ripart_spese *f = expenseForm();
    ASSERT_EQ(f->archivePath(), archive);
    EXPECT_TRUE(f->Command5->isEnabled());
    RecordingReportRunner runner;

    const struct
    {
        std::optional<QString> answer;
        bool gridPreview;
        bool report;
    } cases[] = {
        { QStringLiteral("1"), true, false },
        { QStringLiteral("2"), false, true },
        { QStringLiteral("1 "), false, false },
        { QStringLiteral("01"), false, false },
        { QStringLiteral(" 2"), false, false },
        { QStringLiteral("3"), false, false },
        { QString(), false, false },
        { std::nullopt, false, false },
    };
    for (const auto &c : cases) {
        const QString label = c.answer.value_or(QStringLiteral("<Annulla>"));
        for (QPrintPreviewDialog *preview : gridPreviews(f))
            delete preview;
        runner.runs.clear();
        const qsizetype before = boxes.shown().size();
        boxes.answerText(c.answer);
        f->Command5->click();

        ASSERT_EQ(boxes.shown().size(), before + 1) << label.toStdString();
        const auto &asked = boxes.shown().last();
        EXPECT_EQ(asked.kind, platform::ScriptedDialogs::Kind::Input);
        EXPECT_EQ(asked.text,
            QStringLiteral(
                "Selezionare il tipo di anteprima. 1 per anteprima semplice, 2 per anteprima standard"));
        EXPECT_EQ(asked.title, QStringLiteral("Anteprima di stampa"));
        EXPECT_EQ(asked.defaultText, QStringLiteral("1"));
        EXPECT_EQ(gridPreviews(f).size(), c.gridPreview ? 1 : 0) << label.toStdString();
        EXPECT_EQ(runner.runs.size(), c.report ? 1 : 0) << label.toStdString();
    }
    for (QPrintPreviewDialog *preview : gridPreviews(f))
        delete preview;
}

TEST_F(ExpensePrintsTest, AnswerOnePreviewsTheExpenseGridUnderTheSummaryTitle)
{
    fillProject();
    makeArchive();
    frm_ripart_spese *f = expenseForm();
    boxes.answerText(QStringLiteral("1"));
    f->Command5_Click();
    const QList<QPrintPreviewDialog *> previews = gridPreviews(f);
    ASSERT_EQ(previews.size(), 1);
    EXPECT_EQ(previews.first()->windowTitle(), PreviewTitle);
    EXPECT_FALSE(previews.first()->isModal());
    // The grid's own print: its four unit rows under its captions.
    const std::unique_ptr<QTextDocument> document = f->TDBGrid1->printDocument();
    const QString text = document->toPlainText();
    for (const char *expected : { "Tabella Ripartizione Spese", "Nome Condomino", "TOTALE", "Rossi", "Neri" })
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    delete previews.first();
}

TEST_F(ExpensePrintsTest, AnswerTwoPrintsTheArchiveTheGridShowsWithAnEmptyFormula)
{
    fillProject();
    makeArchive();
    frm_ripart_spese *f = expenseForm();
    // An archive made under another name is the one shown, so the one printed.
    boxes.answerText(QStringLiteral("ALTRO"));
    f->Command1_Click();
    const QString other = expenses::ExpenseArchive::pathFor(QStringLiteral("ALTRO"));
    ASSERT_EQ(f->archivePath(), other);

    RecordingReportRunner runner;
    f->CrystalReport1.SelectionFormula = QStringLiteral("{TAB_GENERALE.PAL}='1'");
    f->CrystalReport1.DataFiles.at(3) = QStringLiteral("left by another report");
    boxes.answerText(QStringLiteral("2"));
    f->Command5_Click();

    ASSERT_EQ(runner.runs.size(), 1);
    const ReportProperties &run = runner.runs.first();
    EXPECT_EQ(run.DataFiles.at(0), other);
    EXPECT_EQ(run.DataFiles.at(1), QString());
    // The other slots are not cleared first.
    EXPECT_EQ(run.DataFiles.at(3), QStringLiteral("left by another report"));
    EXPECT_EQ(run.SelectionFormula, QString());
    EXPECT_EQ(run.ReportFileName, folder.file(QStringLiteral("STAMPE/Rip_spese.rpt")));
    EXPECT_EQ(run.Destination, ReportDestination::Window);
    EXPECT_EQ(run.previewTitle, PreviewTitle);
    EXPECT_EQ(boxes.messages().size(), 0);
}

TEST_F(ExpensePrintsTest, AnswerTwoWithNoArchiveSaysSoAndAFailedRunIsReported)
{
    fillProject();
    frm_ripart_spese *f = expenseForm();
    ASSERT_TRUE(f->archivePath().isEmpty());
    RecordingReportRunner runner;
    boxes.answerText(QStringLiteral("2"));
    f->Command5_Click();
    EXPECT_TRUE(runner.runs.isEmpty());
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.shown().last().text,
        QStringLiteral("Nessuna tabella spese aperta: crearla con \"Crea Tabella\"."));
    EXPECT_EQ(boxes.shown().last().icon, MsgIcon::Information);

    // The real engine, the definition missing: the run is reported, not skipped.
    makeArchive();
    f->projectOpened();
    ASSERT_FALSE(f->archivePath().isEmpty());
    ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("STAMPE/Rip_spese.rpt"))));
    {
        platform::ReportRunnerScope engine(nullptr);
        boxes.answerText(QStringLiteral("2"));
        f->Command5_Click();
    }
    EXPECT_TRUE(platform::ReportPreview::openPreviews().isEmpty());
    ASSERT_EQ(boxes.messages().size(), 2);
    EXPECT_TRUE(boxes.shown().last().text.startsWith(
        QStringLiteral("Stampa non eseguita: file di stampa non trovato")))
        << boxes.shown().last().text.toStdString();
    EXPECT_EQ(boxes.shown().last().icon, MsgIcon::Critical);
    EXPECT_EQ(boxes.shown().last().title, QStringLiteral("!!! Attenzione !!!"));
}

TEST_F(ExpensePrintsTest, TheApportionmentPrintsTheUnitsThenTheFourAmountTables)
{
    fillProject();
    const QString archive = makeArchive();
    // General 1000 and heating 500 shared by hand: general 250, 250, 300, 200; heating 150, 150,
    // 200 (building 1 only); totals the sums of the two.
    update(archive, QStringLiteral("UPDATE TAB_SPESE3 SET importo = 1000 WHERE rowid = 1"));
    update(archive, QStringLiteral("UPDATE TAB_SPESE3 SET importo = 500 WHERE rowid = 2"));
    update(archive, QStringLiteral("UPDATE TAB_SPESE1 SET importo = 200 WHERE PALAZZINA = 1"));
    update(archive, QStringLiteral("UPDATE TAB_SPESE1 SET importo = 50.5 WHERE PALAZZINA = 2"));
    update(archive,
        QStringLiteral("UPDATE TAB_SPESE2 SET importo = 1234.5 WHERE PALAZZINA = 1 AND SCALA = 'A'"));
    const QList<std::pair<QString, QVariantList>> shares = {
        { QStringLiteral("Rossi"), { 250.0, 150.0, 400.0 } },
        { QStringLiteral("Bianchi"), { 250.0, 150.0, 400.0 } },
        { QStringLiteral("Verdi"), { 300.0, 200.0, 500.0 } },
        { QStringLiteral("Neri"), { 200.0, QVariant(), 200.0 } },
    };
    for (const auto &[owner, values] : shares)
        update(archive,
            QStringLiteral(
                "UPDATE TAB_GENERALE SET TAB_A = ?, TAB_E = ?, totale = ? WHERE nome_condomino = ?"),
            { values.at(0), values.at(1), values.at(2), owner });
    update(archive,
        QStringLiteral("UPDATE TAB_GENERALE SET nome_condomino = ? WHERE nome_condomino = 'Neri'"),
        { QStringLiteral("Niccolò D'Àlvaro") });

    frm_ripart_spese *f = expenseForm();
    RecordingReportRunner runner;
    boxes.answerText(QStringLiteral("2"));
    f->Command5_Click();
    ASSERT_EQ(runner.runs.size(), 1);
    const RtfDocument doc = exported(runner.runs.first());

    EXPECT_TRUE(doc.controlWords.contains(QStringLiteral("landscape")));
    // Both sections of the document, the units' and the amounts', are on landscape pages.
    EXPECT_EQ(doc.controlWords.count(QStringLiteral("lndscpsxn")), 2);
    EXPECT_EQ(doc.controlWords.count(QStringLiteral("sbkpage")), 1);
    // The heading names the project and the day; the amount tables follow on a page whose header
    // repeats the heading.
    const QStringList heading { "Ripartizione delle Spese", "Progetto: CONDO1",
        "Data di stampa: " + QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")) };
    const QStringList tables { "Importi delle Spese Generali", "Importi delle Spese per Palazzina",
        "Importi delle Spese per Scala", "Importi delle Spese di Ascensore per Scala" };
    EXPECT_EQ(doc.paragraphs, heading + heading + tables);
    ASSERT_EQ(doc.headers.size(), 2);
    EXPECT_EQ(doc.headers.at(0).paragraphs, heading);
    EXPECT_EQ(doc.headers.at(1).paragraphs, heading);
    ASSERT_EQ(doc.rows.size(), 6 + 5 + 4 + 7 + 7);
    EXPECT_EQ(doc.rows.at(0).size(), 18);
    EXPECT_EQ(doc.rows.at(0).first(), QStringLiteral("Condomino"));
    EXPECT_EQ(doc.rows.at(0).last(), QStringLiteral("Totale"));
    // The units in stored order: owner, building, stair, floor, unit, then each thousandths
    // followed by its share, and the total.
    EXPECT_EQ(doc.rows.at(1),
        (QStringList { "Rossi", "1", "A", "T", "1", "250,000", "€ 250,00", "300,000", "", "450,000", "",
            "0,000", "", "300,000", "€ 150,00", "", "", "€ 400,00" }));
    EXPECT_EQ(doc.rows.at(4),
        (QStringList { QStringLiteral("Niccolò D'Àlvaro"), "2", "A", "1", "4", "200,000", "€ 200,00",
            "1000,000", "", "1000,000", "", "1000,000", "", "", "", "", "", "€ 200,00" }));
    EXPECT_EQ(doc.rows.at(5),
        (QStringList { "Totale", "", "", "", "", "", "€ 1.000,00", "", "€ 0,00", "", "€ 0,00", "", "€ 0,00",
            "", "€ 500,00", "", "€ 0,00", "€ 1.500,00" }));
    // The four amount tables, each with its total.
    EXPECT_EQ(doc.rows.mid(6, 5),
        (QList<QStringList> { { "Tabella", "Importo" }, { "Spese generali", "€ 1.000,00" },
            { "Spese riscaldamento", "€ 500,00" }, { "Spese portierato", "" }, { "Totale", "€ 1.500,00" } }));
    EXPECT_EQ(doc.rows.mid(11, 4),
        (QList<QStringList> {
            { "Palazzina", "Importo" }, { "1", "€ 200,00" }, { "2", "€ 50,50" }, { "Totale", "€ 250,50" } }));
    EXPECT_EQ(doc.rows.mid(15, 7),
        (QList<QStringList> { { "Palazzina", "Scala", "Importo" }, { "1", "Nessuna", "" },
            { "1", "A", "€ 1.234,50" }, { "1", "B", "" }, { "2", "Nessuna", "" }, { "2", "A", "" },
            { "Totale", "", "€ 1.234,50" } }));
    EXPECT_EQ(doc.rows.last(), (QStringList { "Totale", "", "€ 0,00" }));
}

// Shares of six figures: on paper every amount and every total stands whole, under a heading that
// names the project and the day.
TEST_F(ExpensePrintsTest, LargeSharesAndTheirTotalsPrintWhole)
{
    fillProject();
    const QString archive = makeArchive();
    update(archive,
        QStringLiteral("UPDATE TAB_GENERALE SET TAB_A = 123456.78, TAB_B = 123456.78, TAB_C = 123456.78, "
                       "TAB_D = 123456.78, TAB_E = 123456.78, TAB_F = 123456.78, totale = 740740.68 "
                       "WHERE nome_condomino = 'Rossi'"));
    update(archive,
        QStringLiteral("UPDATE TAB_GENERALE SET nome_condomino = ? WHERE nome_condomino = 'Verdi'"),
        { QStringLiteral("Società Immobiliare Costruzioni Edili del Viale Aurora S.r.l. Verdi") });
    update(archive, QStringLiteral("UPDATE TAB_SPESE3 SET importo = 123456.78"));

    frm_ripart_spese *f = expenseForm();
    RecordingReportRunner runner;
    boxes.answerText(QStringLiteral("2"));
    f->Command5_Click();
    ASSERT_EQ(runner.runs.size(), 1);
    const platform::ReportContent content = platform::ReportEngine::prepare(runner.runs.first());
    EXPECT_EQ(content.headerLines,
        (QStringList { "Progetto: CONDO1",
            "Data di stampa: " + QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")) }));
    EXPECT_EQ(content.totals,
        (QStringList { "Totale", "", "", "", "", "", "€ 123.456,78", "", "€ 123.456,78", "", "€ 123.456,78",
            "", "€ 123.456,78", "", "€ 123.456,78", "", "€ 123.456,78", "€ 740.740,68" }));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.file(QStringLiteral("ARCHIVI/spese.pdf")));
    platform::ReportEngine::setUpPrinter(printer, content);
    platform::ReportPainter painter(content);
    ASSERT_TRUE(painter.print(printer));
    QStringList cut;
    for (const platform::ReportPainter::CutCell &cell : painter.cutCells())
        cut.append(QStringLiteral("table %1 row %2 column %3: %4")
                       .arg(cell.table)
                       .arg(cell.row)
                       .arg(cell.column)
                       .arg(cell.text));
    EXPECT_EQ(cut, QStringList());
}

TEST_F(ExpensePrintsTest, TheSummaryPrintsTheProjectsRowsThroughItsFormula)
{
    fillProject();
    frm_rip_spese *f = summaryForm();
    RecordingReportRunner runner;
    f->Command5->click();
    ASSERT_EQ(runner.runs.size(), 1);
    const ReportProperties &run = runner.runs.first();
    EXPECT_EQ(run.DataFiles.at(0), summaryPath());
    EXPECT_EQ(run.DataFiles.at(1), project);
    EXPECT_EQ(run.SelectionFormula, QStringLiteral("{TAB_GENERALE.COD_CONDOMINIO}='CONDO1'"));
    EXPECT_EQ(run.ReportFileName, folder.file(QStringLiteral("STAMPE/Tab_riep.gst")));
    EXPECT_EQ(run.Destination, ReportDestination::Window);
    EXPECT_EQ(run.previewTitle, PreviewTitle);

    // No project open: said, and nothing runs.
    VAR_GBL.progetto_corrente.reset();
    f->Command5_Click();
    EXPECT_EQ(runner.runs.size(), 1);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages().first(), QStringLiteral("Nessun progetto selezionato"));
}

TEST_F(ExpensePrintsTest, AProjectNameWithAnApostropheSelectsItsOwnRows)
{
    fillProject();
    update(project, QStringLiteral("UPDATE ANA_CONDO SET NOME = ?, INDIRIZZO = ?, CITTA = ?"),
        { QStringLiteral("Condominio Città Giardino"), QStringLiteral("Via dell'Olmo 3"),
            QStringLiteral("Forlì") });
    VAR_GBL.nome_progetto = QStringLiteral("D'ANGELO");
    addSummaryRow(QStringLiteral("D'ANGELO"), QStringLiteral("Rossi"),
        { 600.0, 600.0, 1000.0, 0.0, 700.0, QVariant() });
    addSummaryRow(QStringLiteral("D"), QStringLiteral("Estraneo"), { 1.0, 1.0, 1.0, 1.0, 1.0, 1.0 });
    addSummaryRow(QStringLiteral("D'ANGELO"), QStringLiteral("Perù Niccolò"),
        { 400.5, 400.0, 1000.0, 1000.0, 300.0, QVariant() });
    addSummaryRow(QStringLiteral("ANGELO"), QStringLiteral("Estraneo"), { 1.0, 1.0, 1.0, 1.0, 1.0, 1.0 });

    frm_rip_spese *f = summaryForm();
    RecordingReportRunner runner;
    f->Command5_Click();
    ASSERT_EQ(runner.runs.size(), 1);
    EXPECT_EQ(
        runner.runs.first().SelectionFormula, QStringLiteral("{TAB_GENERALE.COD_CONDOMINIO}='D''ANGELO'"));

    const RtfDocument doc = exported(runner.runs.first());
    EXPECT_EQ(doc.paragraphs,
        (QStringList { "Tabella Riepilogativa Millesimi", QStringLiteral("Condominio Città Giardino"),
            QStringLiteral("Via dell'Olmo 3  Forlì") }));
    ASSERT_EQ(doc.rows.size(), 4);
    EXPECT_EQ(doc.rows.at(0),
        (QStringList { "Condomino", "Pal.", "Scala", "Piano", "Int.", "Descrizione", "Millesimi\nGenerali",
            "Millesimi\nPalazzina", "Millesimi\nScala", "Millesimi\nAscensore", "Millesimi\nRiscald.",
            "Millesimi\nPortierato" }));
    EXPECT_EQ(doc.rows.at(1),
        (QStringList {
            "Rossi", "1", "A", "T", "1", "Box", "600,000", "600,000", "1000,000", "0,000", "700,000", "" }));
    EXPECT_EQ(doc.rows.at(2).first(), QStringLiteral("Perù Niccolò"));
    // The condominium-wide tables are totalled; the building, stair and lift ones are not.
    EXPECT_EQ(doc.rows.at(3),
        (QStringList { "Totale", "", "", "", "", "", "1000,500", "", "", "", "1000,000", "0,000" }));
}

// "condo1" and "CONDO1" are two projects: the print of CONDO1 holds its two rows and none of the
// others, whatever the case of their name.
TEST_F(ExpensePrintsTest, TheSummaryPrintsOnlyTheRowsOfTheNameInItsExactCase)
{
    fillProject();
    addSummaryRow(
        QStringLiteral("condo1"), QStringLiteral("Gialli"), { 111.0, 222.0, 333.0, 444.0, 555.0, 666.0 });
    addSummaryRow(
        QStringLiteral("CONDO1"), QStringLiteral("Rossi"), { 600.0, 600.0, 1000.0, 0.0, 700.0, QVariant() });
    addSummaryRow(QStringLiteral("Condo1"), QStringLiteral("Viola"), { 5.0, 5.0, 5.0, 5.0, 5.0, 5.0 });
    addSummaryRow(
        QStringLiteral("CONDO1"), QStringLiteral("Bianchi"), { 400.0, 400.0, 1000.0, 1000.0, 300.0, 250.0 });

    frm_rip_spese *f = summaryForm();
    RecordingReportRunner runner;
    f->Command5_Click();
    ASSERT_EQ(runner.runs.size(), 1);
    EXPECT_TRUE(runner.runs.first().caseSensitiveSelection);
    const platform::ReportContent content = platform::ReportEngine::prepare(runner.runs.first());
    ASSERT_EQ(content.rows.size(), 2);
    EXPECT_EQ(content.rows.at(0).first(), QStringLiteral("Rossi"));
    EXPECT_EQ(content.rows.at(1).first(), QStringLiteral("Bianchi"));
    // General 600 + 400, heating 700 + 300, porter 250 (Rossi's is empty).
    EXPECT_EQ(content.totals,
        (QStringList { "Totale", "", "", "", "", "", "1000,000", "", "", "", "1000,000", "250,000" }));
    EXPECT_EQ(boxes.messages().size(), 0);
}

// The rows under the name are those of a project of the same name in another folder: the print
// is refused, saying whose they are, and nothing runs; so when the summary table cannot be opened.
TEST_F(ExpensePrintsTest, TheSummaryPrintOfRowsThatAreNotTheProjectsIsRefused)
{
    fillProject();
    QTemporaryDir elsewhere;
    const QString other = namesakeWithSummaryRows(elsewhere);
    frm_rip_spese *f = summaryForm();
    boxes.clear();
    RecordingReportRunner runner;
    f->Command5_Click();
    EXPECT_TRUE(runner.runs.isEmpty());
    ASSERT_EQ(boxes.shown().size(), 1);
    const QString text = boxes.shown().first().text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Stampa non eseguita: Le righe di \"CONDO1\"")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QDir::toNativeSeparators(other))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("aprire quel progetto"))) << text.toStdString();
    EXPECT_EQ(boxes.shown().first().icon, MsgIcon::Critical);

    // Once that project is gone, the rows are this project's to print.
    ASSERT_TRUE(QFile::remove(other));
    boxes.clear();
    f->Command5_Click();
    ASSERT_EQ(runner.runs.size(), 1);
    EXPECT_EQ(platform::ReportEngine::prepare(runner.runs.first()).rows.size(), 4);
    EXPECT_TRUE(boxes.shown().isEmpty());

    // A summary table that cannot be opened is said, and nothing runs.
    ASSERT_TRUE(QFile::remove(summaryPath()));
    f->Command5_Click();
    EXPECT_EQ(runner.runs.size(), 1);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().first().text.startsWith(QStringLiteral("Stampa non eseguita: ")))
        << boxes.shown().first().text.toStdString();
    EXPECT_EQ(boxes.shown().first().icon, MsgIcon::Critical);
}

TEST_F(ExpensePrintsTest, TheSummaryPreviewOpensOnTheRealEngine)
{
    fillProject();
    addSummaryRow(QStringLiteral("CONDO1"), QStringLiteral("Rossi"), { 1000.0 });
    frm_rip_spese *f = summaryForm();
    f->Command5_Click();
    const QList<platform::ReportPreview *> previews = platform::ReportPreview::openPreviews();
    ASSERT_EQ(previews.size(), 1);
    EXPECT_EQ(previews.first()->windowTitle(), PreviewTitle);
    EXPECT_EQ(previews.first()->content().rows.size(), 1);
    EXPECT_EQ(previews.first()->pageCount(), 1);
    EXPECT_EQ(boxes.messages().size(), 0);
}

} // namespace
} // namespace zav::test
