#include "platform/report/reportpainter.h"

#include "platform/charadvances.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numeric>
#include <optional>
#include <vector>

namespace zav::platform {

namespace {

QFont reportFont(double points, bool bold = false)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

Qt::Alignment alignmentOf(ReportColumn::Align align)
{
    switch (align) {
    case ReportColumn::Align::Center:
        return Qt::AlignHCenter;
    case ReportColumn::Align::Right:
        return Qt::AlignRight;
    case ReportColumn::Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

/** One table of a report as the layout sees it: the report's own, or a section. */
struct Table
{
    QString title;
    const QList<ReportColumn> *columns = nullptr;
    const QList<QStringList> *rows = nullptr;
    const QStringList *totals = nullptr;

    int rowCount() const { return int(rows->size()); }
    bool hasTotals() const { return !totals->isEmpty(); }
};

QList<Table> tablesOf(const ReportContent &content)
{
    QList<Table> tables { { QString(), &content.columns, &content.rows, &content.totals } };
    for (const ReportSectionContent &section : content.sections)
        tables.append({ section.title, &section.columns, &section.rows, &section.totals });
    return tables;
}

double widthSum(const QList<ReportColumn> &columns)
{
    double sum = 0;
    for (const ReportColumn &column : columns)
        sum += column.width;
    return sum;
}

/** Calls `word` on each word of a text: the runs between blanks. */
template<typename Visit> void forEachWord(const QString &text, Visit &&word)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text.at(i).isSpace()) {
            if (i > start)
                word(QStringView(text).mid(start, i - start));
            start = i + 1;
        }
    }
}

/** The width of the widest word of a text: where it may not wrap. */
double widestWord(const QFontMetricsF &metrics, const QString &text)
{
    double widest = 0;
    forEachWord(text,
        [&](QStringView word) { widest = std::max(widest, metrics.horizontalAdvance(word.toString())); });
    return widest;
}

using CharAdvances = platform::CharAdvances<QFontMetricsF>;

/**
 * The widest word of many texts in one font. Laying out every word is what makes a long report
 * slow: each word is estimated by the advances of its characters, and only the few widest by
 * estimate are laid out whole.
 */
class WidestWord
{
public:
    explicit WidestWord(CharAdvances &advances)
        : m_advances(advances)
    {
    }

    /** Adds the words of a text, which must outlive this object. */
    void add(const QString &text)
    {
        forEachWord(text, [this](QStringView word) { addWord(word); });
    }

    /** The widest word's width as laid out; 0 without words. */
    double width() const
    {
        double widest = 0;
        for (const Candidate &candidate : m_candidates)
            widest = std::max(widest, m_advances.metrics().horizontalAdvance(candidate.word.toString()));
        return widest;
    }

private:
    // Enough to hold every word that an estimate's small error could put above the widest.
    static constexpr std::size_t Kept = 8;

    struct Candidate
    {
        double estimate = 0;
        QStringView word;
    };

    void addWord(QStringView word)
    {
        const double estimate = m_advances.estimate(word);
        if (m_candidates.size() == Kept && estimate <= m_candidates.back().estimate)
            return;
        for (const Candidate &candidate : m_candidates) {
            if (candidate.word == word)
                return;
        }
        const auto at = std::find_if(m_candidates.begin(), m_candidates.end(),
            [estimate](const Candidate &candidate) { return candidate.estimate < estimate; });
        m_candidates.insert(at, { estimate, word });
        if (m_candidates.size() > Kept)
            m_candidates.pop_back();
    }

    CharAdvances &m_advances;
    std::vector<Candidate> m_candidates; // widest estimate first
};

/** A table's column widths, and the widest word of each column's rows in the body font. */
struct ColumnMeasures
{
    QList<double> widths;
    QList<double> widestBody;
};

/**
 * Shares a table's width among its columns: each at least its need, the rest in proportion to the
 * columns' own widths. When the needs alone exceed the width, each column gets its share of the
 * width in proportion to its need (its texts are then made smaller to fit).
 */
QList<double> fitWidths(const QList<double> &proportional, const QList<double> &need, double width)
{
    const qsizetype n = proportional.size();
    const double needSum = std::accumulate(need.cbegin(), need.cend(), 0.0);
    QList<double> widths(n, 0.0);
    if (needSum >= width) {
        for (qsizetype c = 0; c < n; ++c)
            widths[c] = needSum > 0 ? need.at(c) * width / needSum : width / double(n);
        return widths;
    }
    QList<bool> fixed(n, false);
    for (;;) {
        double free = width;
        double share = 0;
        for (qsizetype c = 0; c < n; ++c) {
            if (fixed.at(c))
                free -= need.at(c);
            else
                share += proportional.at(c);
        }
        bool changed = false;
        for (qsizetype c = 0; c < n; ++c) {
            if (fixed.at(c)) {
                widths[c] = need.at(c);
                continue;
            }
            widths[c] = share > 0 ? proportional.at(c) * free / share : 0;
            if (widths.at(c) < need.at(c)) {
                fixed[c] = true;
                changed = true;
            }
        }
        if (!changed)
            return widths;
    }
}

ColumnMeasures measureColumns(QPaintDevice &device, double fontSize, const QList<ReportColumn> &columns,
    const QList<QStringList> &rows, const QStringList &totals, double width, double maxWidth, double padding)
{
    const QFontMetricsF headingMetrics(reportFont(fontSize, true), &device);
    CharAdvances bodyAdvances(QFontMetricsF(reportFont(fontSize), &device));
    const QFontMetricsF totalMetrics(reportFont(fontSize, true), &device);
    const double columnsWidth = widthSum(columns);
    ColumnMeasures measures;
    QList<double> proportional;
    QList<double> need;
    const QString none;
    for (qsizetype c = 0; c < columns.size(); ++c) {
        proportional.append(columnsWidth > 0 ? width * columns.at(c).width / columnsWidth : 0);
        WidestWord body(bodyAdvances);
        for (const QStringList &row : rows)
            body.add(c < row.size() ? row.at(c) : none);
        measures.widestBody.append(body.width());
        double widest
            = std::max(widestWord(headingMetrics, columns.at(c).heading), measures.widestBody.last());
        widest = std::max(widest, widestWord(totalMetrics, totals.value(c)));
        // A pixel to spare against rounding of the text's advance.
        need.append(std::ceil(widest) + 2 * padding + 1);
    }
    const double needSum = std::accumulate(need.cbegin(), need.cend(), 0.0);
    if (needSum > width)
        width = std::min(maxWidth, needSum);
    measures.widths = fitWidths(proportional, need, width);
    return measures;
}

/** The font a cell's text is drawn in: the table's, made smaller when a word of it is wider than
 * the cell. `widest`, when not negative, is known to be at least as wide as the text's widest word. */
QFont cellFont(const QFont &font, QPaintDevice *device, const QString &text, double width, double widest = -1)
{
    if (widest >= 0 && widest <= width)
        return font;
    widest = widestWord(QFontMetricsF(font, device), text);
    if (widest <= width || widest <= 0)
        return font;
    QFont smaller = font;
    double points = font.pointSizeF() * width / widest;
    smaller.setPointSizeF(points);
    // Font sizes do not scale exactly: step down until the word fits.
    while (points > 1 && widestWord(QFontMetricsF(smaller, device), text) > width) {
        points *= 0.95;
        smaller.setPointSizeF(points);
    }
    return smaller;
}

constexpr int wrapFlags = Qt::TextWordWrap;

/** Fonts and measures of one layout, in the device's pixels. */
struct Metrics
{
    QFont title = reportFont(14, true);
    QFont header = reportFont(10);
    QFont subtitle = reportFont(10, true);
    QFont heading;
    QFont body;
    QFont total;
    QFont footer = reportFont(7.5);
    QPaintDevice *device = nullptr;

    double width = 0;
    double height = 0;
    double titleHeight = 0;
    double headerLineHeight = 0;
    double subtitleHeight = 0;
    double rowHeight = 0;
    double rowSpace = 0; ///< a row's height beyond its text
    double footerHeight = 0;
    double padding = 0;
    double gap = 0;
    QList<double> headingHeights; ///< each table's
    /** Each table's left edge of each column, and the right edge of the last one. */
    QList<QList<double>> columnX;
    /** Each table's row heights, the total row's last when the table has one. */
    QList<QList<double>> rowHeights;
    /** Each table's widest word of each column's rows, in the body font. */
    QList<QList<double>> widestBody;
    /** The body font's line height and character advances. */
    double bodyLineHeight = 0;
    mutable std::optional<CharAdvances> bodyAdvances;

    Metrics(QPaintDevice &paintDevice, const QRectF &page, const QList<Table> &tables, double fontSize)
        : heading(reportFont(fontSize, true))
        , body(reportFont(fontSize))
        , total(reportFont(fontSize, true))
        , device(&paintDevice)
    {
        width = page.width();
        height = page.height();
        const double mm = paintDevice.logicalDpiY() / 25.4;
        gap = 2 * mm;
        padding = 1 * mm;
        titleHeight = QFontMetricsF(title, device).height() * 1.3;
        headerLineHeight = QFontMetricsF(header, device).height() * 1.2;
        subtitleHeight = QFontMetricsF(subtitle, device).height() * 1.3;
        const double bodyHeight = QFontMetricsF(body, device).height();
        bodyLineHeight = bodyHeight;
        bodyAdvances.emplace(QFontMetricsF(body, device));
        rowHeight = bodyHeight * 1.35;
        rowSpace = bodyHeight * 0.35;
        footerHeight = QFontMetricsF(footer, device).height() * 1.5;

        // A section's widths are in the main table's units: a table of few columns stays narrow.
        const double mainWidth = widthSum(*tables.first().columns);
        const QFontMetricsF headingMetrics(heading, device);
        for (const Table &table : tables) {
            const QList<ReportColumn> &columns = *table.columns;
            const double unit = width / std::max(mainWidth, widthSum(columns));
            const ColumnMeasures measures = measureColumns(paintDevice, fontSize, columns, *table.rows,
                *table.totals, unit * widthSum(columns), width, padding);
            widestBody.append(measures.widestBody);
            QList<double> x;
            double left = 0;
            for (double w : measures.widths) {
                x.append(left);
                left += w;
            }
            x.append(left);
            columnX.append(x);
            const int t = int(columnX.size()) - 1;

            double headingHeight = 0;
            for (qsizetype c = 0; c < columns.size(); ++c)
                headingHeight
                    = std::max(headingHeight, textHeight(heading, t, int(c), columns.at(c).heading));
            headingHeights.append(std::max(headingHeight, headingMetrics.height()) + rowSpace);

            QList<double> heights;
            heights.reserve(table.rowCount() + 1);
            for (const QStringList &row : *table.rows)
                heights.append(rowHeightOf(body, t, row, &widestBody.at(t)));
            if (table.hasTotals())
                heights.append(rowHeightOf(total, t, *table.totals, nullptr));
            rowHeights.append(heights);
        }
    }

    QRectF inner(const QRectF &cell) const { return cell.adjusted(padding, 0, -padding, 0); }

    double columnWidth(int table, int column) const
    {
        const QList<double> &x = columnX.at(table);
        return x.at(column + 1) - x.at(column) - 2 * padding;
    }

    /** The height of a cell's text as it wraps in its column; `widest`, when not negative, is the
     * widest word of the column in the body font, which the text is in. */
    double textHeight(const QFont &font, int table, int column, const QString &text, double widest = -1) const
    {
        if (text.isEmpty())
            return 0;
        const double w = columnWidth(table, column);
        if (widest >= 0 && widest <= w && !text.contains(u'\n')) {
            // Every word fits, so the font stays: a single word is one line, and so is a text whose
            // estimate leaves more room than kerning could take.
            const bool oneWord
                = std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
            if (oneWord || bodyAdvances->estimate(text) <= 0.9 * w)
                return bodyLineHeight;
        }
        const QFont f = cellFont(font, device, text, w);
        const QFontMetricsF metrics(f, device);
        if (!text.contains(u'\n') && metrics.horizontalAdvance(text) <= w)
            return metrics.height();
        return metrics.boundingRect(QRectF(0, 0, w, 1e6), wrapFlags, text).height();
    }

    double rowHeightOf(
        const QFont &font, int table, const QStringList &cells, const QList<double> *widest) const
    {
        double h = 0;
        for (int c = 0; c + 1 < columnX.at(table).size(); ++c)
            h = std::max(h, textHeight(font, table, c, cells.value(c), widest ? widest->value(c, -1) : -1));
        return std::max(rowHeight, h + rowSpace);
    }

    /** A line of the heading block in its font, smaller only when one of its words is wider than the page. */
    QFont lineFont(const QFont &font, const QString &line) const
    {
        return cellFont(font, device, line, width);
    }

    /** The height of a line of the heading block as it wraps at blanks within the page's width. */
    double lineHeight(const QFont &font, double oneLine, const QString &line) const
    {
        const QFontMetricsF metrics(lineFont(font, line), device);
        const double wrapped = metrics.boundingRect(QRectF(0, 0, width, 1e6), wrapFlags, line).height();
        return std::max(oneLine, wrapped + oneLine - metrics.height());
    }

    double topBlock(const ReportContent &content) const
    {
        double h = titleHeight;
        for (const QString &line : content.headerLines)
            h += lineHeight(header, headerLineHeight, line);
        if (!content.subtitle.isEmpty())
            h += lineHeight(subtitle, subtitleHeight, content.subtitle);
        return h + gap;
    }

    ReportPainter::Heights heights(const ReportContent &content) const
    {
        return { height - topBlock(content) - footerHeight - gap, gap, subtitleHeight, rowHeight,
            headingHeights, rowHeights };
    }

    QRectF cell(int table, int column, double y, double h) const
    {
        const QList<double> &x = columnX.at(table);
        return QRectF(x.at(column), y, x.at(column + 1) - x.at(column), h);
    }
};

/** Paints one row of a table; a cell whose text runs beyond it is added to `cut`. */
void drawRow(QPainter &painter, const Metrics &m, const QFont &font, int table,
    const QList<ReportColumn> &columns, const QStringList &cells, double y, double h, bool headings,
    const std::function<void(int column, const QString &text)> &cut, const QList<double> *widest = nullptr)
{
    for (int c = 0; c < columns.size(); ++c) {
        const QRectF rect = m.cell(table, c, y, h);
        painter.drawRect(rect);
        const QString text = cells.value(c);
        if (text.isEmpty())
            continue;
        const Qt::Alignment align = headings ? Qt::AlignHCenter : alignmentOf(columns.at(c).align);
        const QRectF inner = m.inner(rect);
        painter.setFont(cellFont(font, m.device, text, inner.width(), widest ? widest->value(c, -1) : -1));
        QRectF drawn;
        painter.drawText(inner, int(align | Qt::AlignVCenter) | wrapFlags, text, &drawn);
        // Half a pixel of slack for the rounding of the text's measures.
        if (drawn.width() > inner.width() + 0.5 || drawn.height() > rect.height() + 0.5)
            cut(c, text);
    }
}

} // namespace

ReportPainter::ReportPainter(const ReportContent &content)
    : m_content(content)
{
}

QList<double> ReportPainter::columnWidths(QPaintDevice &device, double fontSize,
    const QList<ReportColumn> &columns, const QList<QStringList> &rows, const QStringList &totals,
    double width, double maxWidth, double padding)
{
    return measureColumns(device, fontSize, columns, rows, totals, width, maxWidth, padding).widths;
}

QList<ReportPainter::Page> ReportPainter::layOut(const ReportContent &content, const Heights &h)
{
    const QList<Table> tables = tablesOf(content);
    // The height of row r of table t; r one past the last row is the total row.
    const auto rowHeight = [&](int t, int r) { return h.rows.isEmpty() ? h.row : h.rows.at(t).at(r); };
    QList<Page> pages { Page {} };
    double left = h.body;
    for (int t = 0; t < tables.size(); ++t) {
        const Table &table = tables.at(t);
        const int rows = table.rowCount();
        int row = 0;
        bool totalDone = !table.hasTotals();
        bool first = true;
        // A table with no rows still prints its headings (and its total row).
        while (first || row < rows || !totalDone) {
            const bool title = first && t > 0 && !table.title.isEmpty();
            const double opening
                = (pages.last().isEmpty() ? 0 : h.gap) + (title ? h.title : 0) + h.headings.at(t);
            const double nextLine = row < rows || !totalDone ? rowHeight(t, row) : h.row;
            // A piece begins on this page only when its opening and one line fit.
            if (!pages.last().isEmpty() && left < opening + nextLine) {
                pages.append(Page {});
                left = h.body;
                continue;
            }
            const bool fresh = pages.last().isEmpty();
            left -= opening;
            Piece piece { t, row, row, false, title };
            int take = 0;
            while (row + take < rows && left >= rowHeight(t, row + take)) {
                left -= rowHeight(t, row + take);
                ++take;
            }
            if (fresh && take == 0 && row < rows) {
                left -= rowHeight(t, row);
                take = 1;
            }
            piece.endRow = row + take;
            row += take;
            if (row == rows && !totalDone && (left >= rowHeight(t, rows) || (fresh && take == 0))) {
                piece.total = true;
                totalDone = true;
                left -= rowHeight(t, rows);
            }
            pages.last().append(piece);
            first = false;
            if (row < rows || !totalDone) {
                pages.append(Page {});
                left = h.body;
            }
        }
    }
    return pages;
}

bool ReportPainter::print(QPrinter &printer)
{
    printer.setPageMargins(QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    paint(painter, printer);
    return painter.end();
}

void ReportPainter::paint(QPainter &painter, QPrinter &printer, int limit)
{
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QList<Table> tables = tablesOf(m_content);
    const Metrics m(printer, QRectF(0, 0, page.width(), page.height()), tables, m_content.fontSize);
    m_pages = layOut(m_content, m.heights(m_content));
    m_cut.clear();

    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, printer.resolution() / 200.0));
    painter.setPen(pen);

    const int painted = limit < 0 ? int(m_pages.size()) : std::min(limit, int(m_pages.size()));
    for (int p = 0; p < painted; ++p) {
        if (p > 0)
            printer.newPage();
        double y = 0;

        painter.setFont(m.title);
        painter.drawText(
            QRectF(0, y, m.width, m.titleHeight), int(Qt::AlignHCenter | Qt::AlignVCenter), m_content.title);
        y += m.titleHeight;
        // The project's lines and the subtitle wrap at blanks when longer than the page (a long
        // owner's name): nothing of them is lost.
        const auto headingLine = [&](const QFont &font, double oneLine, const QString &line, int index) {
            const QRectF rect(0, y, m.width, m.lineHeight(font, oneLine, line));
            painter.setFont(m.lineFont(font, line));
            QRectF drawn;
            painter.drawText(rect, int(Qt::AlignLeft | Qt::AlignVCenter) | wrapFlags, line, &drawn);
            if (drawn.width() > rect.width() + 0.5 || drawn.height() > rect.height() + 0.5)
                m_cut.append({ p, HeadingBlock, index, 0, line });
            y += rect.height();
        };
        for (int l = 0; l < m_content.headerLines.size(); ++l)
            headingLine(m.header, m.headerLineHeight, m_content.headerLines.at(l), l);
        if (!m_content.subtitle.isEmpty())
            headingLine(m.subtitle, m.subtitleHeight, m_content.subtitle, int(m_content.headerLines.size()));
        y += m.gap;

        for (int i = 0; i < m_pages.at(p).size(); ++i) {
            const Piece &piece = m_pages.at(p).at(i);
            const Table &table = tables.at(piece.table);
            if (i > 0)
                y += m.gap;
            if (piece.title) {
                painter.setFont(m.subtitle);
                painter.drawText(QRectF(0, y, m.width, m.subtitleHeight),
                    int(Qt::AlignLeft | Qt::AlignVCenter), table.title);
                y += m.subtitleHeight;
            }
            QStringList headings;
            for (const ReportColumn &column : *table.columns)
                headings.append(column.heading);
            const double headingHeight = m.headingHeights.at(piece.table);
            const QList<double> &x = m.columnX.at(piece.table);
            const QList<double> &heights = m.rowHeights.at(piece.table);
            const auto cutAt = [&](int row) {
                return [&, row](int column, const QString &text) {
                    m_cut.append({ p, piece.table, row, column, text });
                };
            };
            painter.fillRect(QRectF(0, y, x.last(), headingHeight), QColor(225, 225, 225));
            drawRow(painter, m, m.heading, piece.table, *table.columns, headings, y, headingHeight, true,
                cutAt(-1));
            y += headingHeight;

            for (int row = piece.firstRow; row < piece.endRow; ++row) {
                drawRow(painter, m, m.body, piece.table, *table.columns, table.rows->at(row), y,
                    heights.at(row), false, cutAt(row), &m.widestBody.at(piece.table));
                y += heights.at(row);
            }
            if (piece.total) {
                const int row = table.rowCount();
                drawRow(painter, m, m.total, piece.table, *table.columns, *table.totals, y, heights.at(row),
                    false, cutAt(row));
                y += heights.at(row);
            }
        }

        painter.setFont(m.footer);
        const QRectF foot(0, m.height - m.footerHeight, m.width, m.footerHeight);
        painter.drawText(
            foot, int(Qt::AlignLeft | Qt::AlignBottom), QStringLiteral("Stampato il ") + m_content.printDate);
        painter.drawText(foot, int(Qt::AlignRight | Qt::AlignBottom),
            QStringLiteral("Pagina %1 di %2").arg(p + 1).arg(m_pages.size()));
    }
}

} // namespace zav::platform
