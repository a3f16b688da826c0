#pragma once

#include "platform/report/reportcontent.h"

#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

namespace zav::platform {

/**
 * @brief Writes a report as an RTF document: the page of the program's printer settings, a page
 * header with the heading (title, project lines, subtitle) and the table's bold column headings,
 * so that every page shows them, the table's rows with borders and a bold total row, and a footer
 * with the print date and the page number. The further tables follow from a new page, whose
 * header holds the heading only, each under its title and its own headings.
 *
 * With an owner, the document records the project archive it was made for (see ExportFiles).
 *
 * The text is 7-bit: characters of Windows-1252 beyond ASCII are written as "\'hh", every other
 * character as "\uN?", so that any word processor reads the accents.
 */
class RtfWriter
{
public:
    static QByteArray write(const ReportContent &content,
        const QPageSize &pageSize = QPageSize(QPageSize::A4),
        QPageLayout::Orientation orientation = QPageLayout::Portrait, const QString &owner = QString());

    /** @brief A text as RTF text: control characters of RTF escaped, non-ASCII as above, line
     * breaks as "\line", tabs as "\tab". */
    static QByteArray escape(const QString &text);
};

} // namespace zav::platform
