// What the reports put on paper: every cell's text whole, however long the owners' names and
// however large the numbers, and every total the sum of the rows printed above it.

#include "platform/report/reportpainter.h"
#include "printingfixture.h"

#include <QDir>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QSet>

#include <climits>

#include <cmath>
#include <optional>

using namespace zav;
using platform::ReportPainter;

namespace {

/** A printed number in millionths, so that sums compare exactly; no value for what is not a number. */
std::optional<qint64> printedMillionths(const QString &text)
{
    if (text.isEmpty())
        return qint64(0);
    const std::optional<double> number = platform::vb::CDbl(text);
    if (!number)
        return std::nullopt;
    return std::llround(*number * 1e6);
}

/** The totals of a table that are not the sum of the numbers printed above them, as text. */
QStringList totalsNotSummed(const QString &table, const QList<platform::ReportColumn> &columns,
    const QList<QStringList> &rows, const QStringList &totals)
{
    QStringList wrong;
    for (qsizetype c = 0; c < totals.size(); ++c) {
        if (!columns.at(c).total)
            continue;
        qint64 sum = 0;
        for (const QStringList &row : rows)
            sum += printedMillionths(row.at(c)).value_or(0);
        const std::optional<qint64> total = printedMillionths(totals.at(c));
        if (total != sum)
            wrong.append(QStringLiteral("%1 column %2: total %3, rows add up to %4")
                             .arg(table, columns.at(c).heading, totals.at(c))
                             .arg(double(sum) / 1e6, 0, 'f', 6));
    }
    return wrong;
}

/** Keeps the texts a painting draws, each line as the painter lays it out; draws nothing. */
class TextRecorder : public QPaintEngine
{
public:
    TextRecorder()
        : QPaintEngine(QPaintEngine::AllFeatures)
    {
    }

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override { }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { }
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override { }
    void drawPath(const QPainterPath &) override { }
    void drawRects(const QRectF *, int) override { }
    void drawLines(const QLineF *, int) override { }
    void drawTextItem(const QPointF &, const QTextItem &item) override { texts.append(item.text()); }
    Type type() const override { return QPaintEngine::User; }

    QStringList texts;
};

/** Pages of the printer's size and resolution whose painting keeps the texts drawn. */
class RecordingPages : public QPaintDevice
{
public:
    explicit RecordingPages(const QPrinter &printer)
        : m_printer(printer)
    {
    }

    QPaintEngine *paintEngine() const override { return &m_engine; }
    const QStringList &texts() const { return m_engine.texts; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_printer.width();
        case PdmHeight:
            return m_printer.height();
        case PdmWidthMM:
            return m_printer.widthMM();
        case PdmHeightMM:
            return m_printer.heightMM();
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDpiX:
            return m_printer.logicalDpiX();
        case PdmDpiY:
            return m_printer.logicalDpiY();
        case PdmPhysicalDpiX:
            return m_printer.physicalDpiX();
        case PdmPhysicalDpiY:
            return m_printer.physicalDpiY();
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    const QPrinter &m_printer;
    mutable TextRecorder m_engine;
};

QSet<QString> wordsOf(const QStringList &texts)
{
    QSet<QString> words;
    for (const QString &text : texts) {
        for (const QString &word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
            words.insert(word);
    }
    return words;
}

/** Every text of the report's tables: headings, rows and totals, its sections' too. */
QStringList cellTexts(const platform::ReportContent &content)
{
    QStringList texts;
    const auto add = [&](const QList<platform::ReportColumn> &columns, const QList<QStringList> &rows,
                         const QStringList &totals) {
        for (const platform::ReportColumn &column : columns)
            texts.append(column.heading);
        for (const QStringList &row : rows)
            texts += row;
        texts += totals;
    };
    add(content.columns, content.rows, content.totals);
    for (const platform::ReportSectionContent &section : content.sections)
        add(section.columns, section.rows, section.totals);
    return texts;
}

class PrintedCells : public test::PrintingTest
{
protected:
    /**
     * The cells a report cut when printed on the program's printer, as text for a failure: a text
     * that ran beyond its cell, and a text shortened to fit ("Società Immobiliare…"), which leaves
     * words of its cell undrawn.
     */
    QStringList cutCells(const QString &definitionName)
    {
        platform::ReportProperties report;
        report.ReportFileName = definition(definitionName);
        report.DataFiles.fill(archive);
        const platform::ReportContent content = platform::ReportEngine::prepare(report);
        EXPECT_FALSE(content.rows.isEmpty()) << definitionName.toStdString();
        QStringList notSummed = totalsNotSummed(content.title, content.columns, content.rows, content.totals);
        for (const platform::ReportSectionContent &section : content.sections)
            notSummed += totalsNotSummed(section.title, section.columns, section.rows, section.totals);
        EXPECT_EQ(notSummed, QStringList()) << definitionName.toStdString();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.file(QStringLiteral("ARCHIVI/cells.pdf")));
        platform::ReportEngine::setUpPrinter(printer, content);
        ReportPainter painter(content);
        EXPECT_TRUE(painter.print(printer));
        QStringList cut;
        for (const ReportPainter::CutCell &cell : painter.cutCells())
            cut.append(QStringLiteral("page %1 table %2 row %3 column %4: %5")
                           .arg(cell.page)
                           .arg(cell.table)
                           .arg(cell.row)
                           .arg(cell.column)
                           .arg(cell.text));

        // The same pages painted again, keeping the texts drawn.
        RecordingPages pages(printer);
        QPainter printing;
        EXPECT_TRUE(printing.begin(&printer)); // the printer turns the pages
        QPainter recording(&pages);
        painter.paint(recording, printer);
        recording.end();
        printing.end();
        const QSet<QString> drawn = wordsOf(pages.texts());
        const QSet<QString> cells = wordsOf(cellTexts(content));
        for (const QString &word : cells) {
            if (!drawn.contains(word))
                cut.append(QStringLiteral("not drawn: %1").arg(word));
        }
        for (const QString &word : drawn) {
            if (word.contains(u'…') && !cells.contains(word))
                cut.append(QStringLiteral("shortened: %1").arg(word));
        }
        return cut;
    }
};

} // namespace

// Owners of 70 characters, rooms described as "Appartamento", surfaces and volumes of six figures,
// weighted surfaces of four decimals printed with two.
TEST_F(PrintedCells, NoReportOfTheProjectCutsACell)
{
    const QString longOwner
        = QStringLiteral("Società Immobiliare Costruzioni Edili del Viale Aurora S.r.l. Bianchi");
    {
        platform::Database d = db();
        d.exec(QStringLiteral("UPDATE CODIF_PIANI SET PROPRIETARIO = ?, DESCRIZIONE = 'Appartamento', "
                              "TOT_SUP = 123456.78, TOT_VOL = 370370.34 WHERE PROPRIETARIO = 'Bianchi'"),
            { longOwner });
        d.exec(QStringLiteral("UPDATE CODIF_PIANI SET DESCRIZIONE = 'Appartamento'"));
        d.exec(QStringLiteral("UPDATE ESPRESSIONI SET DESCRIZIONE = 'Appartamento', NOME_CONDOMINO = ? "
                              "WHERE NOME_CONDOMINO = 'ALFA'"),
            { longOwner });
        for (const char *table :
            { "MILLESIMI", "MIL_PORTIERATO", "TEMPORANEO", "TEMPORANEO2", "MIL_RISC", "SCALA B" }) {
            d.exec(QStringLiteral("UPDATE \"%1\" SET CONDOMINO = ? WHERE CONDOMINO = 'Bianchi'")
                       .arg(QLatin1String(table)),
                { longOwner });
        }
        d.exec(QStringLiteral("UPDATE MILLESIMI SET MQ = 123456.78"));
        // Four rows of 108.3234, printed as 108,32 under the one of 123.456,78: the total printed
        // is 123.890,06, the sum of the rows on paper, not 123.890,07 from the unrounded values.
        d.exec(QStringLiteral("UPDATE MILLESIMI SET MQ = 108.3234 WHERE rowid > 1"));
    }
    const QStringList definitions = QDir(folder.file(QStringLiteral("STAMPE")))
                                        .entryList({ QStringLiteral("*.GST") }, QDir::Files, QDir::Name);
    ASSERT_FALSE(definitions.isEmpty());
    for (const QString &name : definitions) {
        // The summary database's and the terrace archive's reports are printed with their forms.
        if (name.compare(QStringLiteral("Tab_riep.gst"), Qt::CaseInsensitive) == 0
            || name.startsWith(QStringLiteral("MIL_TER")) || name.startsWith(QStringLiteral("T_SUP_TER")))
            continue;
        try {
            EXPECT_EQ(cutCells(name), QStringList()) << name.toStdString();
        } catch (const platform::ReportError &error) {
            ADD_FAILURE() << name.toStdString() << ": " << error.message().toStdString();
        }
    }
}
