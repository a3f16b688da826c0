#include "platform/report/rtfwriter.h"

#include "platform/report/exportfiles.h"
#include "platform/report/reportpainter.h"

#include <QImage>
#include <QSizeF>

#include <algorithm>
#include <cmath>

namespace zav::platform {

namespace {

/** Unicode of the Windows-1252 bytes 0x80 to 0x9F (0 where the byte is unused). */
constexpr char16_t cp1252High[32] = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };

/** The Windows-1252 byte of a character beyond ASCII, 0 when it has none. */
int cp1252Byte(char16_t c)
{
    if (c >= 0xA0 && c <= 0xFF)
        return c;
    for (int i = 0; i < 32; ++i) {
        if (cp1252High[i] != 0 && cp1252High[i] == c)
            return 0x80 + i;
    }
    return 0;
}

int twips(double millimetres)
{
    return int(std::lround(millimetres * 1440.0 / 25.4));
}

const char *alignmentWord(ReportColumn::Align align)
{
    switch (align) {
    case ReportColumn::Align::Center:
        return "\\qc";
    case ReportColumn::Align::Right:
        return "\\qr";
    case ReportColumn::Align::Left:
        break;
    }
    return "\\ql";
}

/** Appends a text as RTF text to `out` (see RtfWriter::escape). Runs of plain ASCII, most of a
 * report, are copied in one step. */
void appendEscaped(QByteArray &out, QStringView text)
{
    const char16_t *c = text.utf16();
    const char16_t *const end = c + text.size();
    while (c != end) {
        const char16_t *run = c;
        while (run != end && *run >= 0x20 && *run < 0x7F && *run != u'\\' && *run != u'{' && *run != u'}')
            ++run;
        if (run != c) {
            const qsizetype at = out.size();
            out.resize(at + (run - c));
            char *to = out.data() + at;
            for (; c != run; ++c)
                *to++ = char(*c);
            if (c == end)
                break;
        }
        const char16_t ch = *c++;
        switch (ch) {
        case u'\\':
            out += "\\\\";
            continue;
        case u'{':
            out += "\\{";
            continue;
        case u'}':
            out += "\\}";
            continue;
        case u'\n':
            out += "\\line ";
            continue;
        case u'\t':
            out += "\\tab ";
            continue;
        case u'\r':
            continue;
        default:
            break;
        }
        if (ch < 0x20 || ch == 0x7F) {
            out += ' ';
        } else if (const int byte = cp1252Byte(ch)) {
            out += "\\'";
            out += QByteArray::number(byte, 16).rightJustified(2, '0');
        } else {
            // \u takes a signed 16-bit number; "?" stands in for readers without Unicode.
            out += "\\u";
            out += QByteArray::number(qint16(ch));
            out += '?';
        }
    }
}

} // namespace

QByteArray RtfWriter::escape(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() + 8);
    appendEscaped(out, text);
    return out;
}

QByteArray RtfWriter::write(const ReportContent &content, const QPageSize &pageSize,
    QPageLayout::Orientation orientation, const QString &owner)
{
    QSizeF paper = pageSize.size(QPageSize::Millimeter);
    if (orientation == QPageLayout::Landscape)
        paper.transpose();
    const int margin = twips(ReportPainter::MarginMm);
    const int paperW = twips(paper.width());
    const int paperH = twips(paper.height());
    const int textWidth = paperW - 2 * margin;

    QByteArray out;
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n";
    out += "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n";
    out += "{\\colortbl;\\red0\\green0\\blue0;\\red225\\green225\\blue225;}\n";
    if (!owner.isEmpty())
        out += ExportFiles::ownerMark(owner);
    out += "\\paperw" + QByteArray::number(paperW) + "\\paperh" + QByteArray::number(paperH);
    out += "\\margl" + QByteArray::number(margin) + "\\margr" + QByteArray::number(margin);
    out += "\\margt" + QByteArray::number(margin) + "\\margb" + QByteArray::number(margin);
    if (orientation == QPageLayout::Landscape)
        out += "\\landscape";
    out += "\n";
    // Each section states its page too: a word processor that makes a page style of each section
    // would otherwise give the later ones its default page.
    QByteArray sectionPage = "\\pgwsxn" + QByteArray::number(paperW) + "\\pghsxn" + QByteArray::number(paperH)
        + "\\marglsxn" + QByteArray::number(margin) + "\\margrsxn" + QByteArray::number(margin) + "\\margtsxn"
        + QByteArray::number(margin) + "\\margbsxn" + QByteArray::number(margin);
    if (orientation == QPageLayout::Landscape)
        sectionPage += "\\lndscpsxn";
    out += "\\sectd" + sectionPage + "\n";

    // The footer of every page: print date on the left, page number on the right.
    const QByteArray footer = "{\\footer\\pard\\plain\\f0\\fs15\\tqr\\tx" + QByteArray::number(textWidth)
        + " Stampato il " + escape(content.printDate)
        + "\\tab Pagina {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} di {\\field{\\*\\fldinst "
          "NUMPAGES}{\\fldrslt 1}}\\par}\n";

    // The heading block: title, project lines, subtitle.
    QByteArray heading = "\\pard\\plain\\f0\\fs28\\b\\qc " + escape(content.title) + "\\par\n";
    for (const QString &line : content.headerLines)
        heading += "\\pard\\plain\\f0\\fs20 " + escape(line) + "\\par\n";
    if (!content.subtitle.isEmpty())
        heading += "\\pard\\plain\\f0\\fs20\\b " + escape(content.subtitle) + "\\par\n";
    heading += "\\pard\\plain\\f0\\fs10\\par\n";

    // A section's widths are in the main table's units, so a table of few columns stays narrow.
    double mainWidth = 0;
    for (const ReportColumn &column : content.columns)
        mainWidth += column.width;
    const QByteArray cellFont = "\\fs" + QByteArray::number(int(std::lround(content.fontSize * 2)));
    // The space either side of a cell's text, in twips.
    constexpr int cellGap = 60;
    const QByteArray rowStart = "\\trowd\\trgaph" + QByteArray::number(cellGap) + "\\trleft0";
    const QByteArray borders = "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                               "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
    // The row definitions of a table: bordered cells across the text width, each column as wide as
    // its widest word needs (a number never breaks), the rest in proportion to the widths; the
    // headings' cells shaded. Words are measured on a device of 1200 dots an inch.
    QImage measure(1, 1, QImage::Format_Mono);
    constexpr double dpi = 1200;
    measure.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    measure.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    constexpr double twipsPerDot = 1440.0 / dpi;
    const auto edgesOf = [&](const QList<ReportColumn> &columns, const QList<QStringList> &rows,
                             const QStringList &totals) {
        double totalWidth = 0;
        for (const ReportColumn &column : columns)
            totalWidth += column.width;
        const double unit = textWidth / std::max(mainWidth, totalWidth);
        const QList<double> widths = ReportPainter::columnWidths(measure, content.fontSize, columns, rows,
            totals, unit * totalWidth / twipsPerDot, textWidth / twipsPerDot, cellGap / twipsPerDot);
        QList<int> edges;
        double right = 0;
        for (double w : widths) {
            right += w * twipsPerDot;
            edges.append(int(std::lround(right)));
        }
        return edges;
    };
    const auto cellsOf = [&](const QList<int> &edges, bool shaded) {
        QByteArray cells;
        for (int edge : edges) {
            cells += borders;
            if (shaded)
                cells += "\\clcbpat2";
            cells += "\\cellx" + QByteArray::number(edge);
        }
        return cells;
    };
    // The headings' row; `repeated` asks the word processor to repeat it on every page.
    const auto writeHeadings = [&](QByteArray &to, const QList<ReportColumn> &columns,
                                   const QList<int> &edges, bool repeated) {
        to += rowStart + (repeated ? "\\trhdr" : "") + cellsOf(edges, true) + "\n";
        for (const ReportColumn &column : columns)
            to += "\\pard\\intbl\\plain\\f0" + cellFont + "\\b\\qc " + escape(column.heading) + "\\cell";
        to += "\\row\n";
    };
    const auto writeRows = [&](const QList<ReportColumn> &columns, const QList<int> &edges,
                               const QList<QStringList> &rows, const QStringList &totals) {
        // What every row repeats is made once: its definition and each cell's opening words.
        const QByteArray definition = rowStart + cellsOf(edges, false) + "\n";
        QList<QByteArray> openings;
        QList<QByteArray> boldOpenings;
        qsizetype rowBytes = definition.size() + 5;
        for (const ReportColumn &column : columns) {
            const QByteArray cell = "\\pard\\intbl\\plain\\f0" + cellFont;
            const char *align = alignmentWord(column.align);
            openings.append(cell + align + ' ');
            boldOpenings.append(cell + "\\b" + align + ' ');
            rowBytes += openings.last().size() + 5;
        }
        // Room for every row at once, so that a long table is not copied as it grows.
        qsizetype bytes = (rows.size() + 1) * rowBytes;
        for (const QStringList &row : rows) {
            for (qsizetype c = 0; c < columns.size() && c < row.size(); ++c)
                bytes += row.at(c).size();
        }
        const qsizetype needed = out.size() + bytes + 256;
        if (needed > out.capacity())
            out.reserve(std::max(needed, 2 * out.capacity()));
        const auto writeRow = [&](const QStringList &texts, const QList<QByteArray> &opening) {
            out += definition;
            for (qsizetype c = 0; c < columns.size(); ++c) {
                out += opening.at(c);
                if (c < texts.size())
                    appendEscaped(out, texts.at(c));
                out += "\\cell";
            }
            out += "\\row\n";
        };
        for (const QStringList &row : rows)
            writeRow(row, openings);
        if (!totals.isEmpty())
            writeRow(totals, boldOpenings);
    };

    // The report's own table: its headings stand in the page header with the heading block, so that
    // every page shows them (word processors do not all repeat a table's heading row).
    const QList<int> mainEdges = edgesOf(content.columns, content.rows, content.totals);
    QByteArray pageHeader = "{\\header" + heading;
    writeHeadings(pageHeader, content.columns, mainEdges, false);
    // A header ends with a paragraph after its table; a small one, so the body follows close.
    pageHeader += "\\pard\\plain\\f0\\fs4\\par}\n";
    out += pageHeader + footer;
    if (!content.rows.isEmpty() || content.hasTotals())
        writeRows(content.columns, mainEdges, content.rows, content.totals);
    else
        out += "\\pard\\plain\\f0\\fs20\\par\n";

    // The further tables, from a new page whose header has the heading block only; each table has
    // its own headings, repeated where the word processor can.
    if (!content.sections.isEmpty()) {
        out += "\\sect\\sectd\\sbkpage" + sectionPage + "\n{\\header" + heading + "}\n" + footer;
        bool first = true;
        for (const ReportSectionContent &section : content.sections) {
            if (!first)
                out += "{\\pard\\plain\\f0\\fs20\\par}\n";
            first = false;
            if (!section.title.isEmpty())
                out += "{\\pard\\plain\\keepn\\f0\\fs20\\b " + escape(section.title) + "\\par}\n";
            const QList<int> edges = edgesOf(section.columns, section.rows, section.totals);
            writeHeadings(out, section.columns, edges, true);
            writeRows(section.columns, edges, section.rows, section.totals);
        }
    }

    out += "\\pard\\plain\\f0\\fs20\\par\n}\n";
    return out;
}

} // namespace zav::platform
