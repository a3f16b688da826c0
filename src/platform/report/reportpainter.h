#pragma once

#include "platform/report/reportcontent.h"

#include <QList>

class QPaintDevice;
class QPainter;
class QPrinter;

namespace zav::platform {

/**
 * @brief Lays a report out on pages and paints them: on every page the title, the project lines,
 * the subtitle and the column headings, then as many rows as fit, with the total row after the
 * last row; then each further table under its title, its headings repeated on every page it
 * spans; at the foot of each page the print date and "Pagina n di m".
 *
 * Nothing is cut. A column is at least as wide as the widest word it prints (a number is one
 * word), headings included; the rest of the width goes to the columns in proportion to their
 * widths. Texts and headings wrap at blanks within their cell and the row grows as tall as its
 * tallest cell; a project line or subtitle longer than the page wraps at blanks the same way. Only when the
 * widest words of all the columns together exceed the page does a cell's text get smaller, as
 * much as it needs to fit.
 */
class ReportPainter
{
public:
    explicit ReportPainter(const ReportContent &content);

    /** @brief Paints every page on a printer set up for the run; false when it cannot be painted on. */
    bool print(QPrinter &printer);
    /** @brief Paints every page with a painter already open on the printer (the preview's); with a
     * `limit`, only the first `limit` pages of the layout (the layout is the whole report's). */
    void paint(QPainter &painter, QPrinter &printer, int limit = -1);

    /** @brief Pages of the last layout. */
    int pageCount() const { return int(m_pages.size()); }

    /** @brief A cell whose text did not fit in its cell when it was painted. */
    struct CutCell
    {
        int page = 0; ///< from 0
        int table = 0; ///< 0 the report's own table, then its sections from 1; HeadingBlock above them
        int row = 0; ///< -1 the headings, the rows from 0, then the total row; in the heading block,
                     ///< the project's lines from 0, then the subtitle
        int column = 0;
        QString text;
    };
    /** @brief The `table` of a CutCell that is a line of the heading block (project lines, subtitle). */
    static constexpr int HeadingBlock = -1;
    /** @brief The cells of the last painting whose text ran beyond their cell (none, if all is well). */
    const QList<CutCell> &cutCells() const { return m_cut; }

    /** @brief The page margins of every report, in millimetres. */
    static constexpr double MarginMm = 15.0;

    /** @brief One table's rows on one page. */
    struct Piece
    {
        int table = 0; ///< 0 the report's own table, then its sections from 1
        int firstRow = 0;
        int endRow = 0; ///< one past the last row
        bool total = false; ///< the total row closes the piece
        bool title = false; ///< the section's title opens the piece
    };
    using Page = QList<Piece>;

    /**
     * @brief Lays the tables out on pages whose body (below the report's heading, above the
     * footer) is `body` high: each piece takes its title, its headings and its rows, and a gap
     * parts two pieces. A fresh page always takes at least one row, so the layout ends.
     */
    struct Heights
    {
        double body = 0;
        double gap = 0;
        double title = 0; ///< a section's title
        double row = 0; ///< a row's height, when `rows` does not give it
        QList<double> headings; ///< each table's heading row
        /** Each table's row heights, the total row's last; empty when every row is `row` high. */
        QList<QList<double>> rows;
    };
    static QList<Page> layOut(const ReportContent &content, const Heights &heights);

    /**
     * @brief The widths of a table's columns, in the pixels of `device`: each at least as wide as
     * the widest word it prints in the report's font of `fontSize` points (heading, rows and total
     * row) plus `padding` on either side; the rest of `width` in proportion to the columns' own
     * widths. A table whose words need more than `width` grows up to `maxWidth`; beyond that the
     * columns share `maxWidth` in proportion to their needs.
     */
    static QList<double> columnWidths(QPaintDevice &device, double fontSize,
        const QList<ReportColumn> &columns, const QList<QStringList> &rows, const QStringList &totals,
        double width, double maxWidth, double padding);

private:
    const ReportContent &m_content;
    QList<Page> m_pages;
    QList<CutCell> m_cut;
};

} // namespace zav::platform
