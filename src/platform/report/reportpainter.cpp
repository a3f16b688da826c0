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

/** Fonts and measures of one layout, in the device's pixels. */
struct Metrics
{
    QFont title = reportFont(14, true);
    QFont header = reportFont(10);
    QFont subtitle = reportFont(10, true);
    QFont heading = reportFont(8.5, true);
    QFont body = reportFont(8.5);
    QFont total = reportFont(8.5, true);
    QFont footer = reportFont(7.5);

    double width = 0;
    double height = 0;
    double titleHeight = 0;
    double headerLineHeight = 0;
    double subtitleHeight = 0;
    double rowHeight = 0;
    double headingHeight = 0;
    double footerHeight = 0;
    double padding = 0;
    double gap = 0;
    QList<double> columnX; ///< left edge of each column, and the right edge of the last one

    Metrics(QPaintDevice &device, const QRectF &page, const ReportContent &content)
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
        const int headingLines = std::max<qsizetype>(1, maxHeadingLines(content));
        headingHeight = QFontMetricsF(heading, &device).height() * (headingLines + 0.35);
        footerHeight = QFontMetricsF(footer, &device).height() * 1.5;

        double totalWidth = 0;
        for (const ReportColumn &column : content.columns)
            totalWidth += column.width;
        double x = 0;
        for (const ReportColumn &column : content.columns) {
            columnX.append(x);
            x += width * column.width / totalWidth;
        }
        columnX.append(width);
    }

    static qsizetype maxHeadingLines(const ReportContent &content)
    {
        qsizetype lines = 1;
        for (const ReportColumn &column : content.columns)
            lines = std::max(lines, column.heading.count(u'\n') + 1);
        return lines;
    }

    double topBlock(const ReportContent &content) const
    {
        double h = titleHeight + headerLineHeight * content.headerLines.size();
        if (!content.subtitle.isEmpty())
            h += subtitleHeight;
        return h + gap;
    }

    int rowsPerPage(const ReportContent &content) const
    {
        const double body = height - topBlock(content) - headingHeight - footerHeight - gap;
        return std::max(1, int(std::floor(body / rowHeight)));
    }

    QRectF cell(int column, double y, double h) const
    {
        return QRectF(columnX.at(column), y, columnX.at(column + 1) - columnX.at(column), h);
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

void drawRow(QPainter &painter, const Metrics &m, const ReportContent &content, const QStringList &cells,
    double y, double h, bool headings)
{
    for (int c = 0; c < content.columns.size(); ++c) {
        const QRectF rect = m.cell(c, y, h);
        painter.drawRect(rect);
        const Qt::Alignment align = headings ? Qt::AlignHCenter : alignmentOf(content.columns.at(c).align);
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

void ReportPainter::layOut(int rowsPerPage)
{
    m_pages.clear();
    const int rows = int(m_content.rows.size());
    int first = 0;
    do {
        Page page;
        page.firstRow = first;
        page.endRow = std::min(rows, first + rowsPerPage);
        m_pages.append(page);
        first = page.endRow;
    } while (first < rows);
    if (m_content.hasTotals()) {
        Page &last = m_pages.last();
        if (last.endRow - last.firstRow < rowsPerPage)
            last.total = true;
        else
            m_pages.append({ rows, rows, true });
    }
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
    const Metrics m(printer, QRectF(0, 0, page.width(), page.height()), m_content);
    layOut(m.rowsPerPage(m_content));

    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, printer.resolution() / 200.0));
    painter.setPen(pen);
    const QStringList headings = [&] {
        QStringList texts;
        for (const ReportColumn &column : m_content.columns)
            texts.append(column.heading);
        return texts;
    }();

    for (int p = 0; p < m_pages.size(); ++p) {
        if (p > 0)
            printer.newPage();
        const Page &current = m_pages.at(p);
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

        painter.setFont(m.heading);
        painter.fillRect(QRectF(0, y, m.width, m.headingHeight), QColor(225, 225, 225));
        drawRow(painter, m, m_content, headings, y, m.headingHeight, true);
        y += m.headingHeight;

        painter.setFont(m.body);
        for (int row = current.firstRow; row < current.endRow; ++row) {
            drawRow(painter, m, m_content, m_content.rows.at(row), y, m.rowHeight, false);
            y += m.rowHeight;
        }
        if (current.total) {
            painter.setFont(m.total);
            drawRow(painter, m, m_content, m_content.totals, y, m.rowHeight, false);
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
