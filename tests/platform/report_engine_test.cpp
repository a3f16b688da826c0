#include "platform/db.h"
#include "platform/report/reportcontent.h"
#include "platform/report/reportengine.h"
#include "platform/report/reportpainter.h"
#include "platform/report/reportpreview.h"
#include "platform/report/rtfwriter.h"
#include "platform/report_rtfreader.h"
#include "platform/vb.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDate>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include "support/fullfiledisk.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zav::platform;
using zav::test::RtfDocument;

namespace {

/** A small database of its own: a header table and a table of amounts by building. */
class ReportEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        database = dir.filePath(QStringLiteral("data.db"));
        Database db = Database::create(database);
        db.createTable(QStringLiteral("HEAD"),
            { { QStringLiteral("NOME") }, { QStringLiteral("INDIRIZZO") }, { QStringLiteral("CITTA") } });
        db.insert(QStringLiteral("HEAD"),
            { { QStringLiteral("NOME"), QStringLiteral("Condominio Le Querce") },
                { QStringLiteral("CITTA"), QStringLiteral("Forlì") } });
        db.createTable(QStringLiteral("AMOUNTS"),
            { { QStringLiteral("BLD") }, { QStringLiteral("OWNER") },
                { QStringLiteral("SHARE"), FieldType::Double }, { QStringLiteral("NUM"), FieldType::Integer },
                { QStringLiteral("AREA") } });
        // Stored out of order: building "10" must follow "9", and the text "1,5" reads as a number.
        const QList<QVariantList> rows = {
            { "10", "Verdi", 100.5, 4, "1,5" },
            { "9", "D'Amico \"Nino\"", 250.25, 2, "2" },
            { "9", "Àlvaro", 149.25, 1, QVariant() },
            { "2", "Rossi {capo}", 500.0, 3, "abc" },
        };
        for (const QVariantList &row : rows) {
            db.insert(QStringLiteral("AMOUNTS"),
                { { QStringLiteral("BLD"), row.at(0) }, { QStringLiteral("OWNER"), row.at(1) },
                    { QStringLiteral("SHARE"), row.at(2) }, { QStringLiteral("NUM"), row.at(3) },
                    { QStringLiteral("AREA"), row.at(4) } });
        }

        definitionPath = dir.filePath(QStringLiteral("AMOUNTS.GST"));
        writeDefinition(definitionJson);
        report.ReportFileName = definitionPath;
        report.DataFiles.at(2) = database;
        report.DataFiles.at(5) = database;
        report.previewTitle = QStringLiteral("Anteprima di prova");
    }

    void TearDown() override
    {
        ReportEngine::setPrinterSetup({});
        for (ReportPreview *preview : ReportPreview::openPreviews())
            delete preview;
    }

    void writeDefinition(const char *json)
    {
        QFile file(definitionPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(json);
    }

    static inline const char *definitionJson = R"({
        "title": "Quote per palazzina",
        "header": { "slot": 2, "table": "HEAD", "lines": ["{NOME}", "{INDIRIZZO}", "{INDIRIZZO} {CITTA}"] },
        "detail": { "slot": 5, "table": "AMOUNTS", "sort": ["BLD", "NUM"] },
        "subtitle": ["Palazzina {BLD}", "Int. {NUM}", "Nota {MISSING}"],
        "columns": [
            { "field": "BLD", "heading": "Pal.", "width": 5, "align": "center" },
            { "field": "OWNER", "heading": "Condomino", "width": 30 },
            { "field": "AREA", "heading": "Mq.", "width": 8, "align": "right", "format": "#,##0.00", "total": true },
            { "field": "SHARE", "heading": "Millesimi", "width": 10, "align": "right", "format": "##0.000", "total": true }
        ]
    })";

    QTemporaryDir dir;
    QString database;
    QString definitionPath;
    ReportProperties report;
    vb::DecimalSeparatorScope comma { u',' };
};

QStringList column(const ReportContent &content, int c)
{
    QStringList texts;
    for (const QStringList &row : content.rows)
        texts.append(row.at(c));
    return texts;
}

int pdfPages(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return int(QString::fromLatin1(pdf).count(page));
}

} // namespace

TEST_F(ReportEngineTest, ContentHoldsTheSortedRowsTheirTotalsAndTheHeading)
{
    const ReportContent content = ReportEngine::prepare(report);
    EXPECT_EQ(content.title, QStringLiteral("Quote per palazzina"));
    // An empty line is left out; a line with one value of two keeps it.
    EXPECT_EQ(content.headerLines,
        (QStringList { QStringLiteral("Condominio Le Querce"), QStringLiteral("Forlì") }));
    EXPECT_EQ(column(content, 0), (QStringList { "2", "9", "9", "10" }));
    EXPECT_EQ(column(content, 1),
        (QStringList { "Rossi {capo}", QStringLiteral("Àlvaro"), "D'Amico \"Nino\"", "Verdi" }));
    // Text that is not a number stays as it is; an empty value writes nothing.
    EXPECT_EQ(column(content, 2), (QStringList { "abc", "", "2,00", "1,50" }));
    EXPECT_EQ(column(content, 3), (QStringList { "500,000", "149,250", "250,250", "100,500" }));
    // 500 + 149.25 + 250.25 + 100.5 = 1000; 2 + 1.5 = 3.5 (the text "abc" adds nothing).
    EXPECT_EQ(content.totals, (QStringList { "", "Totale", "3,50", "1000,000" }));
    // No formula: the subtitle comes from the first row printed; a part with no value is left out.
    EXPECT_EQ(content.subtitle, QStringLiteral("Palazzina 2 - Int. 3"));
    EXPECT_EQ(content.printDate, QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
}

// A text of digits sorts as its number, a minus before them and blanks around them allowed; every
// other text sorts after the numbers, without regard to case.
TEST_F(ReportEngineTest, TextsOfDigitsSortAsNumbersAndOtherTextsAfterThem)
{
    {
        Database db = Database::open(database);
        db.exec(QStringLiteral("DELETE FROM AMOUNTS"));
        const QStringList buildings = { "5-", "12", "A", " 7 ", "-", "1 2", "\t8", "-3", " -5", "b" };
        for (int i = 0; i < buildings.size(); ++i) {
            db.insert(QStringLiteral("AMOUNTS"),
                { { QStringLiteral("BLD"), buildings.at(i) }, { QStringLiteral("NUM"), i },
                    { QStringLiteral("SHARE"), 0.0 } });
        }
    }
    const ReportContent content = ReportEngine::prepare(report);
    EXPECT_EQ(
        column(content, 0), (QStringList { " -5", "-3", " 7 ", "\t8", "12", "-", "1 2", "5-", "A", "b" }));
}

// A total adds up the rows as printed, each rounded by its column's format: on paper it is the
// sum of the numbers above it.
TEST_F(ReportEngineTest, ATotalIsTheSumOfTheRowsAsPrinted)
{
    {
        Database db = Database::open(database);
        db.exec(QStringLiteral("UPDATE AMOUNTS SET AREA = '108,3234', SHARE = 0.3335"));
    }
    const ReportContent content = ReportEngine::prepare(report);
    EXPECT_EQ(column(content, 2), (QStringList { "108,32", "108,32", "108,32", "108,32" }));
    EXPECT_EQ(column(content, 3), (QStringList { "0,334", "0,334", "0,334", "0,334" }));
    // Not 433,29 and 1,334, the sums of the values as stored.
    EXPECT_EQ(content.totals, (QStringList { "", "Totale", "433,28", "1,336" }));
}

TEST_F(ReportEngineTest, TheFormulaKeepsItsRowsWithValuesBoundNotPasted)
{
    report.SelectionFormula = QStringLiteral("{AMOUNTS.BLD}='9' and {AMOUNTS.NUM}=2");
    ReportContent content = ReportEngine::prepare(report);
    EXPECT_EQ(column(content, 1), QStringList { "D'Amico \"Nino\"" });
    EXPECT_EQ(content.subtitle, QStringLiteral("Palazzina 9 - Int. 2"));

    report.SelectionFormula = QStringLiteral("{AMOUNTS.OWNER}=\"D'Amico \"\"Nino\"\"\"");
    content = ReportEngine::prepare(report);
    EXPECT_EQ(column(content, 0), QStringList { "9" });

    // Text compares without regard to case, as everywhere in the archives.
    report.SelectionFormula = QStringLiteral("{amounts.owner}='VERDI'");
    EXPECT_EQ(ReportEngine::prepare(report).rows.size(), 1);

    // A quote that would end the value in SQL selects nothing and harms nothing.
    report.SelectionFormula = QStringLiteral("{AMOUNTS.OWNER}='x'' OR ''1''=''1'");
    content = ReportEngine::prepare(report);
    EXPECT_TRUE(content.rows.isEmpty());
    EXPECT_EQ(content.totals, (QStringList { "", "Totale", "0,00", "0,000" }));
    EXPECT_EQ(Database::open(database).table(QStringLiteral("AMOUNTS")).recordCount(), 4);
}

// A report that asks for it selects texts in their exact case; numbers, and every other report,
// match as before.
TEST_F(ReportEngineTest, ACaseSensitiveSelectionComparesTextsExactly)
{
    const struct
    {
        const char *formula;
        QStringList owners; ///< without regard to case, as every report selects
        QStringList exact; ///< with the report's option
    } cases[] = {
        { "{AMOUNTS.OWNER}='Verdi'", { "Verdi" }, { "Verdi" } },
        { "{AMOUNTS.OWNER}='VERDI'", { "Verdi" }, {} },
        { "{AMOUNTS.OWNER}='verdi'", { "Verdi" }, {} },
        { "{AMOUNTS.OWNER}=\"d'amico \"\"NINO\"\"\"", { "D'Amico \"Nino\"" }, {} },
        { "{AMOUNTS.OWNER}='Rossi {capo}' and {AMOUNTS.NUM}=3", { "Rossi {capo}" }, { "Rossi {capo}" } },
        { "{AMOUNTS.OWNER}='ROSSI {CAPO}' and {AMOUNTS.NUM}=3", { "Rossi {capo}" }, {} },
        // A number term is no text: the option leaves it as it was.
        { "{AMOUNTS.NUM}=2", { "D'Amico \"Nino\"" }, { "D'Amico \"Nino\"" } },
        { "{AMOUNTS.OWNER}=''", {}, {} },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.formula);
        report.SelectionFormula = QString::fromUtf8(c.formula);
        report.caseSensitiveSelection = false;
        EXPECT_EQ(column(ReportEngine::prepare(report), 1), c.owners);
        report.caseSensitiveSelection = true;
        EXPECT_EQ(column(ReportEngine::prepare(report), 1), c.exact);
    }

    // The heading's table is selected the same way.
    report.SelectionFormula = QStringLiteral("{HEAD.NOME}='CONDOMINIO LE QUERCE'");
    report.caseSensitiveSelection = false;
    EXPECT_EQ(ReportEngine::prepare(report).headerLines,
        (QStringList { QStringLiteral("Condominio Le Querce"), QStringLiteral("Forlì") }));
    report.caseSensitiveSelection = true;
    EXPECT_EQ(ReportEngine::prepare(report).headerLines, QStringList());
}

TEST_F(ReportEngineTest, SortFieldsOfTheControlReplaceTheDefinitionsOrder)
{
    report.SortFields.at(0) = QStringLiteral("-{AMOUNTS.SHARE}");
    EXPECT_EQ(column(ReportEngine::prepare(report), 3),
        (QStringList { "500,000", "250,250", "149,250", "100,500" }));
    report.SortFields.at(0) = QStringLiteral("+{OTHER.SHARE}");
    EXPECT_THROW(ReportEngine::prepare(report), ReportError);
}

TEST_F(ReportEngineTest, WhatCannotBeReadIsAFailureWithItsReason)
{
    struct Case
    {
        const char *what;
        std::function<void(ReportProperties &)> change;
        const char *reason;
    };
    const Case cases[] = {
        { "missing definition", [](ReportProperties &r) { r.ReportFileName += QStringLiteral(".none"); },
            "file di stampa non trovato" },
        { "empty slot", [](ReportProperties &r) { r.DataFiles.at(5).clear(); },
            "nessun archivio indicato per la tabella AMOUNTS (posizione 5)" },
        { "missing database", [](ReportProperties &r) { r.DataFiles.at(5) += QStringLiteral(".none"); },
            "impossibile leggere la tabella AMOUNTS" },
        { "formula", [](ReportProperties &r) { r.SelectionFormula = QStringLiteral("{AMOUNTS.NUM}="); },
            "formula di selezione non valida" },
        { "other table",
            [](ReportProperties &r) { r.SelectionFormula = QStringLiteral("{MILLESIMI.PALAZ}='1'"); },
            "nomina la tabella MILLESIMI" },
        { "missing field",
            [](ReportProperties &r) { r.SelectionFormula = QStringLiteral("{AMOUNTS.NOPE}='1'"); },
            "impossibile leggere la tabella AMOUNTS" },
        { "file type",
            [](ReportProperties &r) {
                r.Destination = ReportDestination::File;
                r.PrintFileType = 1;
            },
            "tipo di file di esportazione non gestito: 1" },
        { "destination", [](ReportProperties &r) { r.Destination = 7; },
            "destinazione di stampa non valida" },
    };
    ReportEngine engine;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ReportProperties changed = report;
        c.change(changed);
        const ReportResult result = engine.run(changed);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.message.contains(QString::fromUtf8(c.reason))) << result.message.toStdString();
    }
    EXPECT_TRUE(ReportPreview::openPreviews().isEmpty());
}

TEST_F(ReportEngineTest, DefinitionsThatAreNotValidAreRefused)
{
    const char *const bad[] = {
        "not json",
        "[]",
        R"({ "title": "t", "columns": [ { "field": "A" } ] })", // no detail
        R"({ "detail": { "slot": 25, "table": "T" }, "columns": [ { "field": "A" } ] })",
        R"({ "detail": { "slot": 1.5, "table": "T" }, "columns": [ { "field": "A" } ] })",
        R"({ "detail": { "slot": 1 }, "columns": [ { "field": "A" } ] })",
        R"({ "detail": { "slot": 1, "table": "T" }, "columns": [] })",
        R"({ "detail": { "slot": 1, "table": "T" }, "columns": [ { "heading": "A" } ] })",
        R"({ "detail": { "slot": 1, "table": "T" }, "columns": [ { "field": "A", "width": 0 } ] })",
        R"({ "detail": { "slot": 1, "table": "T" }, "columns": [ { "field": "A", "align": "middle" } ] })",
        R"({ "detail": { "slot": 1, "table": "T", "sort": "A" }, "columns": [ { "field": "A" } ] })",
    };
    for (const char *json : bad) {
        SCOPED_TRACE(json);
        EXPECT_THROW(ReportDefinition::fromJson(json), ReportError);
    }
    // A column that the table lacks is found when the report runs.
    writeDefinition(R"({ "detail": { "slot": 5, "table": "AMOUNTS" }, "columns": [ { "field": "NOPE" } ] })");
    EXPECT_THROW(ReportEngine::prepare(report), ReportError);
}

TEST_F(ReportEngineTest, ExportWritesAnRtfTableThatReadsBack)
{
    report.Destination = ReportDestination::File;
    report.PrintFileType = RtfFileType;
    report.PrintFileName = dir.filePath(QStringLiteral("OUT.RTF"));
    ASSERT_TRUE(ReportEngine().run(report).ok);

    QFile file(report.PrintFileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    const RtfDocument doc = RtfDocument::read(rtf);
    EXPECT_TRUE(doc.balanced);
    EXPECT_EQ(doc.rawNonAscii, 0);
    EXPECT_EQ(doc.paragraphs.mid(0, 4),
        (QStringList { QStringLiteral("Quote per palazzina"), QStringLiteral("Condominio Le Querce"),
            QStringLiteral("Forlì"), QStringLiteral("Palazzina 2 - Int. 3") }));
    ASSERT_EQ(doc.rows.size(), 6); // headings, four rows, total
    EXPECT_EQ(doc.rows.at(0), (QStringList { "Pal.", "Condomino", "Mq.", "Millesimi" }));
    EXPECT_EQ(doc.rows.at(1), (QStringList { "2", "Rossi {capo}", "abc", "500,000" }));
    EXPECT_EQ(doc.rows.at(2), (QStringList { "9", QStringLiteral("Àlvaro"), "", "149,250" }));
    EXPECT_EQ(doc.rows.at(3), (QStringList { "9", "D'Amico \"Nino\"", "2,00", "250,250" }));
    EXPECT_EQ(doc.rows.at(5), (QStringList { "", "Totale", "3,50", "1000,000" }));
    // The page header holds the heading block and the bold column headings, so that every page
    // shows them whatever the word processor makes of a table's repeated heading row; the body
    // starts with the first row.
    ASSERT_EQ(doc.headers.size(), 1);
    EXPECT_EQ(doc.headers.at(0).paragraphs, doc.paragraphs.mid(0, 4));
    EXPECT_EQ(doc.headers.at(0).rows, doc.rows.mid(0, 1));
    EXPECT_EQ(doc.paragraphs.size(), 4);
    const qsizetype header = rtf.indexOf("{\\header");
    const qsizetype firstRow = rtf.indexOf("Rossi \\{capo\\}");
    ASSERT_GE(header, 0);
    EXPECT_LT(header, rtf.indexOf("Quote per palazzina"));
    EXPECT_LT(rtf.indexOf("\\row", rtf.indexOf("Millesimi\\cell")), firstRow);
    EXPECT_FALSE(rtf.contains("\\trhdr"));
    EXPECT_TRUE(rtf.contains("{\\footer"));
    EXPECT_TRUE(rtf.contains("\\b\\qc Millesimi"));
    // Borders on every cell.
    EXPECT_EQ(doc.controlWords.count(QStringLiteral("cellx")), 6 * 4);
    EXPECT_EQ(doc.controlWords.count(QStringLiteral("clbrdrt")), 6 * 4);
    // The accents are escaped as RTF wants them.
    EXPECT_TRUE(rtf.contains("Forl\\'ec"));
    EXPECT_TRUE(rtf.contains("\\'c0lvaro"));
    EXPECT_TRUE(rtf.contains("Rossi \\{capo\\}"));
}

TEST(RtfWriter, EscapesWhatRtfReservesAndEveryCharacterBeyondAscii)
{
    const std::pair<const char *, const char *> cases[] = {
        { "perché più", "perch\\'e9 pi\\'f9" },
        { "\\ { }", "\\\\ \\{ \\}" },
        { "€ 10 – “sì”", "\\'80 10 \\'96 \\'93s\\'ec\\'94" },
        { "Łódź", "\\u321?\\'f3d\\u378?" },
        { "ǅ", "\\u453?" },
        { "a\nb\tc\rd", "a\\line b\\tab cd" },
    };
    for (const auto &[text, rtf] : cases)
        EXPECT_EQ(RtfWriter::escape(QString::fromUtf8(text)), QByteArray(rtf)) << text;
    // A character above 0x7FFF is written as a negative 16-bit number.
    EXPECT_EQ(RtfWriter::escape(QString(QChar(0xFB01))), QByteArray("\\u-1279?"));
    const RtfDocument doc
        = RtfDocument::read("{\\rtf1 " + RtfWriter::escape(QStringLiteral("Łódź € ﬁ")) + "\\par}");
    EXPECT_EQ(doc.paragraphs, QStringList { QStringLiteral("Łódź € ﬁ") });
}

TEST(RtfWriter, PageSizeAndOrientationComeFromTheSettings)
{
    ReportContent content;
    ReportColumn only;
    only.field = only.heading = QStringLiteral("A");
    content.columns = { only };
    // A4 is 210 x 297 mm: 11906 x 16838 twips; A3 is 297 x 420 mm.
    const QByteArray portrait = RtfWriter::write(content, QPageSize(QPageSize::A4), QPageLayout::Portrait);
    EXPECT_TRUE(portrait.contains("\\paperw11906\\paperh16838")) << portrait.left(300).toStdString();
    EXPECT_FALSE(portrait.contains("\\landscape"));
    const QByteArray landscape = RtfWriter::write(content, QPageSize(QPageSize::A3), QPageLayout::Landscape);
    EXPECT_TRUE(landscape.contains("\\paperw23811\\paperh16838\\")) << landscape.left(300).toStdString();
    EXPECT_TRUE(landscape.contains("\\landscape"));
    EXPECT_TRUE(RtfDocument::read(landscape).balanced);
}

TEST_F(ReportEngineTest, AnExportThatCannotBeWrittenFailsAndLeavesNoFile)
{
    report.Destination = ReportDestination::File;
    report.PrintFileName = dir.filePath(QStringLiteral("missing/OUT.RTF"));
    const ReportResult result = ReportEngine().run(report);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message.startsWith(QStringLiteral("impossibile scrivere il file")))
        << result.message.toStdString();
    EXPECT_FALSE(QFile::exists(report.PrintFileName));
}

TEST_F(ReportEngineTest, AnExportOnAFullDiskSaysSoAndKeepsTheFileThatWasThere)
{
    report.Destination = ReportDestination::File;
    report.PrintFileName = dir.filePath(QStringLiteral("OUT.RTF"));
    {
        QFile before(report.PrintFileName);
        ASSERT_TRUE(before.open(QIODevice::WriteOnly));
        before.write("prima");
    }
    ReportResult result;
    {
        zav::test::FullFileDisk disk(16);
        result = ReportEngine().run(report);
    }
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message,
        QStringLiteral("impossibile scrivere il file %1: Il disco è pieno: nessun file è stato cambiato. "
                       "Liberare spazio sul disco e riprovare.")
            .arg(report.PrintFileName));
    QFile after(report.PrintFileName);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), QByteArray("prima"));
}

TEST_F(ReportEngineTest, PrintingGoesToThePrinterSetUpForTheRun)
{
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    ReportEngine::setPrinterSetup([&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A5));
    });
    report.Destination = ReportDestination::Printer;
    ASSERT_TRUE(ReportEngine().run(report).ok);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(pdfPages(bytes), 1);
    // A5 is 420 x 595 points.
    EXPECT_TRUE(bytes.contains("/MediaBox [0 0 420.000000 595.000000]")) << "media box of A5";
}

TEST_F(ReportEngineTest, LongTablesRunOverPagesWithTheTotalAfterTheLastRow)
{
    {
        Database db = Database::open(database);
        Transaction transaction = db.transaction();
        for (int i = 0; i < 300; ++i)
            db.insert(QStringLiteral("AMOUNTS"),
                { { QStringLiteral("BLD"), QStringLiteral("1") }, { QStringLiteral("SHARE"), 1.0 } });
        transaction.commit();
    }
    const ReportContent content = ReportEngine::prepare(report);
    ASSERT_EQ(content.rows.size(), 304);

    const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    ReportPainter painter(content);
    ASSERT_TRUE(painter.print(printer));
    EXPECT_GT(painter.pageCount(), 4);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdfPages(file.readAll()), painter.pageCount());
}

// A column is as wide as the widest word it prints, wherever that word stands among many rows:
// its need is the word's advance, padding either side and a pixel to spare.
TEST_F(ReportEngineTest, AColumnTakesItsWidestWordAmongThousandsOfRows)
{
    QImage device(1, 1, QImage::Format_Mono);
    device.setDotsPerMeterX(47244); // 1200 dots an inch
    device.setDotsPerMeterY(47244);
    QList<ReportColumn> columns(2);
    columns[0].heading = QStringLiteral("A");
    columns[1].heading = QStringLiteral("B");
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(9);
    const QFontMetricsF metrics(font, &device);
    font.setBold(true);
    const QFontMetricsF headingMetrics(font, &device);
    const QString wide = QStringLiteral("Precipitevolissimevolmente");
    const double padding = 10;
    const double need = std::ceil(metrics.horizontalAdvance(wide)) + 2 * padding + 1;
    for (const int at : { 0, 4321, 9999 }) {
        SCOPED_TRACE(at);
        QList<QStringList> rows;
        for (int row = 0; row < 10000; ++row)
            rows.append({ row == at ? QStringLiteral("di ") + wide : QStringLiteral("di Rossi %1").arg(row),
                QStringLiteral("1") });
        // Room for both needs and no more: each column gets exactly its need.
        const double second = std::ceil(std::max(headingMetrics.horizontalAdvance(QStringLiteral("B")),
                                  metrics.horizontalAdvance(QStringLiteral("1"))))
            + 2 * padding + 1;
        const double width = need + second;
        const QList<double> widths
            = ReportPainter::columnWidths(device, 9, columns, rows, {}, width, width, padding);
        ASSERT_EQ(widths.size(), 2);
        EXPECT_NEAR(widths.at(0), need, 0.001);
    }
}

// A long report's preview shows its first page as soon as it is laid out, then every page: the
// pages shown in the end are those of the printed report.
TEST_F(ReportEngineTest, ALongPreviewShowsItsFirstPageAtOnceThenEveryPage)
{
    {
        Database db = Database::open(database);
        Transaction transaction = db.transaction();
        for (int i = 0; i < 300; ++i)
            db.insert(QStringLiteral("AMOUNTS"),
                { { QStringLiteral("BLD"), QStringLiteral("1") }, { QStringLiteral("SHARE"), 1.0 } });
        transaction.commit();
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("long.pdf")));
    printer.setPageSize(QPageSize(QPageSize::A4));
    const ReportContent content = ReportEngine::prepare(report);
    ReportPainter printed(content);
    ASSERT_TRUE(printed.print(printer));
    ASSERT_GT(printed.pageCount(), 4);

    ASSERT_TRUE(ReportEngine().run(report).ok);
    const QList<ReportPreview *> previews = ReportPreview::openPreviews();
    ASSERT_EQ(previews.size(), 1);
    auto *widget = previews.first()->findChild<QPrintPreviewWidget *>();
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->pageCount(), 1);
    EXPECT_EQ(previews.first()->pageCount(), printed.pageCount());
    QCoreApplication::processEvents();
    EXPECT_EQ(widget->pageCount(), printed.pageCount());
    previews.first()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A preview asked for from a modal window belongs to that window, so that it stands in front of it and
// can be used while the modal window is open.
TEST_F(ReportEngineTest, APreviewOpenedFromAModalWindowBelongsToIt)
{
    QDialog modal;
    modal.setModal(true);
    modal.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &modal);
    ASSERT_TRUE(ReportEngine().run(report).ok);
    const QList<ReportPreview *> previews = ReportPreview::openPreviews();
    ASSERT_EQ(previews.size(), 1);
    EXPECT_EQ(previews.first()->parentWidget(), &modal);
    EXPECT_TRUE(previews.first()->isWindow());
    previews.first()->close();
    modal.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The preview's own "Print" into a PDF file writes the file and leaves the preview open, so that
// the pages can be printed again or elsewhere.
TEST_F(ReportEngineTest, ThePreviewStaysOpenAfterPrintingIntoAPdfFile)
{
    ASSERT_TRUE(ReportEngine().run(report).ok);
    QCoreApplication::processEvents();
    ASSERT_EQ(ReportPreview::openPreviews().size(), 1);
    ReportPreview *preview = ReportPreview::openPreviews().first();
    const QString pdf = dir.filePath(QStringLiteral("anteprima stampata.pdf"));
    preview->printer()->setOutputFileName(pdf);

    QAction *print = nullptr;
    for (QAction *action : preview->findChildren<QAction *>())
        if (action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print"))
            print = action;
    ASSERT_NE(print, nullptr);
    // The print dialog that "Print" opens is accepted as it stands: into the PDF file.
    bool dialogAccepted = false;
    QTimer::singleShot(0, preview, [&] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            dialogAccepted = true;
            dialog->accept();
        }
    });
    print->trigger();
    QCoreApplication::processEvents();

    EXPECT_TRUE(dialogAccepted);
    EXPECT_TRUE(QFileInfo(pdf).size() > 0);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(ReportPreview::openPreviews().size(), 1);
}

TEST_F(ReportEngineTest, TheWindowIsAModelessPreviewWithTheControlsTitle)
{
    ASSERT_TRUE(ReportEngine().run(report).ok);
    QCoreApplication::processEvents();
    const QList<ReportPreview *> previews = ReportPreview::openPreviews();
    ASSERT_EQ(previews.size(), 1);
    ReportPreview *preview = previews.first();
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Anteprima di prova"));
    EXPECT_FALSE(preview->isModal());
    EXPECT_EQ(preview->pageCount(), 1);
    EXPECT_EQ(preview->content().rows.size(), 4);

    // A second run opens a window of its own; closing one deletes it.
    ASSERT_TRUE(ReportEngine().run(report).ok);
    EXPECT_EQ(ReportPreview::openPreviews().size(), 2);
    preview->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ReportPreview::openPreviews().size(), 1);
}

// The runs of a batch share their reading and sync once at its end: the files they leave are the
// ones the same runs write one by one.
TEST_F(ReportEngineTest, ABatchWritesTheFilesOfItsRunsAsTheyAreWrittenOneByOne)
{
    report.Destination = ReportDestination::File;
    const struct
    {
        const char *file;
        const char *formula;
    } runs[] = {
        { "NOVE.RTF", "{AMOUNTS.BLD}='9'" },
        { "DUE.RTF", "{AMOUNTS.BLD}='2'" },
        { "NESSUNO.RTF", "{AMOUNTS.BLD}='7'" },
        { "TUTTI.RTF", "" },
    };
    QDir(dir.path()).mkpath(QStringLiteral("single"));
    QDir(dir.path()).mkpath(QStringLiteral("batch"));
    const auto path = [&](const char *folder, const char *file) {
        return dir.filePath(QStringLiteral("%1/%2").arg(QString::fromUtf8(folder), QString::fromUtf8(file)));
    };
    // A file the batch replaces keeps its permissions.
    {
        QFile old(path("batch", "DUE.RTF"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("vecchio");
    }
    const QFile::Permissions kept = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path("batch", "DUE.RTF"), kept));

    ReportEngine engine;
    for (const auto &run : runs) {
        report.SelectionFormula = QString::fromUtf8(run.formula);
        report.PrintFileName = path("single", run.file);
        ASSERT_TRUE(engine.run(report).ok) << run.file;
    }
    {
        ReportRunnerScope scope(&engine);
        ReportBatch batch;
        for (const auto &run : runs) {
            report.SelectionFormula = QString::fromUtf8(run.formula);
            report.PrintFileName = path("batch", run.file);
            const ReportResult result = engine.run(report);
            EXPECT_TRUE(result.ok) << run.file << ": " << result.message.toStdString();
            EXPECT_EQ(result.exportFile, report.PrintFileName);
        }
        EXPECT_TRUE(batch.finish().ok);
    }

    const auto contents = [](const QString &name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(nessun file)");
    };
    for (const auto &run : runs) {
        SCOPED_TRACE(run.file);
        EXPECT_EQ(contents(path("batch", run.file)), contents(path("single", run.file)));
    }
    EXPECT_TRUE(contents(path("batch", "NOVE.RTF")).contains("\\'c0lvaro"));
    EXPECT_FALSE(contents(path("batch", "DUE.RTF")).contains("\\'c0lvaro"));
    const QFile::Permissions ownerGroupOther(0x7077);
    EXPECT_EQ(QFile::permissions(path("batch", "DUE.RTF")) & ownerGroupOther, kept);
    EXPECT_EQ(QFile::permissions(path("batch", "NOVE.RTF")), QFile::permissions(path("single", "NOVE.RTF")));
    // Nothing is left aside.
    const QDir::Filters every = QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot;
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("batch"))).entryList(every, QDir::Name),
        QDir(dir.filePath(QStringLiteral("single"))).entryList(every, QDir::Name));
}

TEST_F(ReportEngineTest, AFailedWriteInABatchLeavesTheFileThatWasThereAndNothingAside)
{
    report.Destination = ReportDestination::File;
    QDir(dir.path()).mkpath(QStringLiteral("out"));
    report.PrintFileName = dir.filePath(QStringLiteral("out/OUT.RTF"));
    {
        QFile before(report.PrintFileName);
        ASSERT_TRUE(before.open(QIODevice::WriteOnly));
        before.write("prima");
    }
    ReportEngine engine;
    engine.startBatch();
    ReportResult full;
    {
        zav::test::FullFileDisk disk(16);
        full = engine.run(report);
    }
    ReportProperties nowhere = report;
    nowhere.PrintFileName = dir.filePath(QStringLiteral("missing/OUT.RTF"));
    const ReportResult missing = engine.run(nowhere);
    EXPECT_TRUE(engine.finishBatch().ok);

    EXPECT_FALSE(full.ok);
    EXPECT_EQ(full.message,
        QStringLiteral("impossibile scrivere il file %1: Il disco è pieno: nessun file è stato cambiato. "
                       "Liberare spazio sul disco e riprovare.")
            .arg(report.PrintFileName));
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.message.startsWith(QStringLiteral("impossibile scrivere il file ")))
        << missing.message.toStdString();
    EXPECT_FALSE(QFile::exists(nowhere.PrintFileName));
    QFile after(report.PrintFileName);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), QByteArray("prima"));
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
        QStringList { "OUT.RTF" });
}

// A batch's files reach the disk before any takes its name: until the batch finishes, the file that
// was there stays as it was, so a machine stopped in the middle never leaves an empty export.
TEST_F(ReportEngineTest, ABatchsFilesTakeTheirNamesOnlyWhenTheBatchFinishes)
{
    report.Destination = ReportDestination::File;
    QDir(dir.path()).mkpath(QStringLiteral("out"));
    report.PrintFileName = dir.filePath(QStringLiteral("out/OUT.RTF"));
    const auto contents = [this] {
        QFile file(report.PrintFileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(nessun file)");
    };
    {
        QFile before(report.PrintFileName);
        ASSERT_TRUE(before.open(QIODevice::WriteOnly));
        before.write("prima");
    }
    ReportEngine engine;
    engine.startBatch();
    ASSERT_TRUE(engine.run(report).ok);
    EXPECT_EQ(contents(), QByteArray("prima"));
    EXPECT_TRUE(engine.finishBatch().ok);
    EXPECT_TRUE(contents().startsWith("{\\rtf1")) << contents().left(40).toStdString();
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
        QStringList { "OUT.RTF" });
}
