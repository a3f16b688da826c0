#pragma once

#include "platform/report/reportcontent.h"

#include <QPrintPreviewDialog>

namespace zav::platform {

/**
 * @brief The preview window of one report run: modeless, deleted when closed, with the page
 * set-up and printing of the standard preview. Printed into a PDF file, it stays open.
 */
class ReportPreview : public QPrintPreviewDialog
{
    Q_OBJECT

public:
    /** @brief Makes a preview of a report on a printer of its own, set up for the run. */
    static ReportPreview *create(ReportContent content, const QString &title, QWidget *parent = nullptr);

    const ReportContent &content() const { return m_content; }
    /** @brief Pages laid out by the preview (all of them, even while only the first is shown). */
    int pageCount() const;

    /** @brief The preview windows open now, oldest first. */
    static QList<ReportPreview *> openPreviews();

public slots:
    /** @brief What the standard preview does once it has printed: it closes, unless it printed
     * into a file, whose pages the user may want to print again or elsewhere. */
    void accept() override;

private:
    ReportPreview(QPrinter *printer, ReportContent content, const QString &title, QWidget *parent);
    void paintPages(QPrinter *printer);

    ReportContent m_content;
    bool m_firstPageFirst = true;
    int m_pageCount = 0;
};

} // namespace zav::platform
