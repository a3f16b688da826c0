#pragma once

#include "platform/report/reportcontent.h"

#include <QList>

class QPainter;
class QPrinter;

namespace zav::platform {

/**
 * @brief Lays a report out on pages and paints them: on every page the title, the project lines,
 * the subtitle and the column headings, then as many rows as fit, with the total row after the
 * last row; then each further table under its title, its headings repeated on every page it
 * spans; at the foot of each page the print date and "Pagina n di m".
 */
class ReportPainter
{
public:
    explicit ReportPainter(const ReportContent &content);

    /** @brief Paints every page on a printer set up for the run; false when it cannot be painted on. */
    bool print(QPrinter &printer);
    /** @brief Paints every page with a painter already open on the printer (the preview's). */
    void paint(QPainter &painter, QPrinter &printer);

    /** @brief Pages of the last layout. */
    int pageCount() const { return int(m_pages.size()); }

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
        double row = 0;
        QList<double> headings; ///< each table's heading row
    };
    static QList<Page> layOut(const ReportContent &content, const Heights &heights);

private:
    const ReportContent &m_content;
    QList<Page> m_pages;
};

} // namespace zav::platform
