#pragma once

#include "platform/report/reportcontent.h"

#include <QList>

class QPainter;
class QPrinter;

namespace zav::platform {

/**
 * @brief Lays a report out on pages and paints them: on every page the title, the project lines,
 * the subtitle and the column headings, then as many rows as fit, with the total row after the
 * last row; at the foot of each page the print date and "Pagina n di m".
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

private:
    struct Page
    {
        int firstRow = 0;
        int endRow = 0; ///< one past the last row
        bool total = false; ///< the total row closes this page
    };
    void layOut(int rowsPerPage);

    const ReportContent &m_content;
    QList<Page> m_pages;
};

} // namespace zav::platform
