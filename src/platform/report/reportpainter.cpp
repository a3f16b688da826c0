#include "platform/report/reportpainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

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

qsizetype headingLines(const QList<ReportColumn> &columns)
{
    qsizetype lines = 1;
    for (const ReportColumn &column : columns)
        lines = std::max(lines, column.heading.count(u'\n') + 1);
    return lines;
}

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

    double width = 0;
    double height = 0;
    double titleHeight = 0;
    double headerLineHeight = 0;
    double subtitleHeight = 0;
    double rowHeight = 0;
    double footerHeight = 0;
    double padding = 0;
    double gap = 0;
    QList<double> headingHeights; ///< each table's
    /** Each table's left edge of each column, and the right edge of the last one. */
    QList<QList<double>> columnX;

    Metrics(QPaintDevice &device, const QRectF &page, const QList<Table> &tables, double fontSize)
        : heading(reportFont(fontSize, true))
        , body(reportFont(fontSize))
        , total(reportFont(fontSize, true))
    {
        width = page.width();
        height = page.height();
        const double mm = device.logicalDpiY() / 25.4;
        gap = 2 * mm;
        padding = 1 * mm;
        titleHeight = QFontMetricsF(title, &device).height() * 1.3;
        headerLineHeight = QFontMetricsF(header, &device).height() * 1.2;
        subtitleHeight = QFontMetricsF(subtitle, &device).height() * 1.3;
        rowHeight = QFontMetricsF(body, &device).height() * 1.35;
        footerHeight = QFontMetricsF(footer, &device).height() * 1.5;

        // A section's widths are in the main table's units: a table of few columns stays narrow.
        const double mainWidth = widthSum(*tables.first().columns);
        for (const Table &table : tables) {
            headingHeights.append(
                QFontMetricsF(heading, &device).height() * (headingLines(*table.columns) + 0.35));
            const double unit = width / std::max(mainWidth, widthSum(*table.columns));
            QList<double> x;
            double left = 0;
            for (const ReportColumn &column : *table.columns) {
                x.append(left);
                left += unit * column.width;
            }
            x.append(left);
            columnX.append(x);
        }
    }

    double topBlock(const ReportContent &content) const
    {
        double h = titleHeight + headerLineHeight * content.headerLines.size();
        if (!content.subtitle.isEmpty())
            h += subtitleHeight;
        return h + gap;
    }

    ReportPainter::Heights heights(const ReportContent &content) const
    {
        return { height - topBlock(content) - footerHeight - gap, gap, subtitleHeight, rowHeight,
            headingHeights };
    }

    QRectF cell(int table, int column, double y, double h) const
    {
        const QList<double> &x = columnX.at(table);
        return QRectF(x.at(column), y, x.at(column + 1) - x.at(column), h);
    }
};

void drawCellText(
    QPainter &painter, const Metrics &m, const QRectF &cell, const QString &text, Qt::Alignment align)
{
    const QRectF inner = cell.adjusted(m.padding, 0, -m.padding, 0);
    const QFontMetricsF metrics(painter.font(), painter.device());
    QString shown = text;
    if (metrics.horizontalAdvance(text) > inner.width())
        shown = metrics.elidedText(text, Qt::ElideRight, inner.width());
    painter.drawText(inner, int(align | Qt::AlignVCenter), shown);
}

void drawRow(QPainter &painter, const Metrics &m, int table, const QList<ReportColumn> &columns,
    const QStringList &cells, double y, double h, bool headings)
{
    for (int c = 0; c < columns.size(); ++c) {
        const QRectF rect = m.cell(table, c, y, h);
        painter.drawRect(rect);
        const Qt::Alignment align = headings ? Qt::AlignHCenter : alignmentOf(columns.at(c).align);
        if (headings) {
            const QRectF inner = rect.adjusted(m.padding, 0, -m.padding, 0);
            painter.drawText(inner, int(Qt::AlignCenter | Qt::TextWordWrap), cells.value(c));
        } else {
            drawCellText(painter, m, rect, cells.value(c), align);
        }
    }
}

} // namespace

ReportPainter::ReportPainter(const ReportContent &content)
    : m_content(content)
{
}

QList<ReportPainter::Page> ReportPainter::layOut(const ReportContent &content, const Heights &h)
{
    const QList<Table> tables = tablesOf(content);
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
            // A piece begins on this page only when its opening and one line fit.
            if (!pages.last().isEmpty() && left < opening + h.row) {
                pages.append(Page {});
                left = h.body;
                continue;
            }
            const bool fresh = pages.last().isEmpty();
            left -= opening;
            Piece piece { t, row, row, false, title };
            int fit = std::max(0, int(std::floor(left / h.row)));
            if (fresh)
                fit = std::max(fit, 1);
            const int take = std::min(fit, rows - row);
            piece.endRow = row + take;
            row += take;
            left -= take * h.row;
            if (row == rows && !totalDone && (left >= h.row || (fresh && take == 0))) {
                piece.total = true;
                totalDone = true;
                left -= h.row;
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

void ReportPainter::paint(QPainter &painter, QPrinter &printer)
{
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QList<Table> tables = tablesOf(m_content);
    const Metrics m(printer, QRectF(0, 0, page.width(), page.height()), tables, m_content.fontSize);
    m_pages = layOut(m_content, m.heights(m_content));

    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, printer.resolution() / 200.0));
    painter.setPen(pen);

    for (int p = 0; p < m_pages.size(); ++p) {
        if (p > 0)
            printer.newPage();
        double y = 0;

        painter.setFont(m.title);
        painter.drawText(
            QRectF(0, y, m.width, m.titleHeight), int(Qt::AlignHCenter | Qt::AlignVCenter), m_content.title);
        y += m.titleHeight;
        painter.setFont(m.header);
        for (const QString &line : m_content.headerLines) {
            painter.drawText(
                QRectF(0, y, m.width, m.headerLineHeight), int(Qt::AlignLeft | Qt::AlignVCenter), line);
            y += m.headerLineHeight;
        }
        if (!m_content.subtitle.isEmpty()) {
            painter.setFont(m.subtitle);
            painter.drawText(QRectF(0, y, m.width, m.subtitleHeight), int(Qt::AlignLeft | Qt::AlignVCenter),
                m_content.subtitle);
            y += m.subtitleHeight;
        }
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
            painter.setFont(m.heading);
            painter.fillRect(QRectF(0, y, x.last(), headingHeight), QColor(225, 225, 225));
            drawRow(painter, m, piece.table, *table.columns, headings, y, headingHeight, true);
            y += headingHeight;

            painter.setFont(m.body);
            for (int row = piece.firstRow; row < piece.endRow; ++row) {
                drawRow(painter, m, piece.table, *table.columns, table.rows->at(row), y, m.rowHeight, false);
                y += m.rowHeight;
            }
            if (piece.total) {
                painter.setFont(m.total);
                drawRow(painter, m, piece.table, *table.columns, *table.totals, y, m.rowHeight, false);
                y += m.rowHeight;
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
