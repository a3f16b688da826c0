#include "platform/report/reportpreview.h"

#include "platform/report/reportengine.h"
#include "platform/report/reportpainter.h"

#include <QPainter>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTimer>

#include <memory>

namespace zav::platform {

namespace {

/** Owns the preview's printer: a child object, deleted after the preview's own destructor, so the
 * printer outlives every use the preview makes of it. */
class PrinterOwner : public QObject
{
public:
    PrinterOwner(QPrinter *printer, QObject *parent)
        : QObject(parent)
        , m_printer(printer)
    {
    }

private:
    std::unique_ptr<QPrinter> m_printer;
};

QList<QPointer<ReportPreview>> &previews()
{
    static QList<QPointer<ReportPreview>> list;
    return list;
}

} // namespace

ReportPreview *ReportPreview::create(ReportContent content, const QString &title, QWidget *parent)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    ReportEngine::setUpPrinter(*printer, content);
    printer->setPageMargins(QMarginsF(ReportPainter::MarginMm, ReportPainter::MarginMm,
                                ReportPainter::MarginMm, ReportPainter::MarginMm),
        QPageLayout::Millimeter);
    QPrinter *raw = printer.release();
    auto *preview = new ReportPreview(raw, std::move(content), title, parent);
    new PrinterOwner(raw, preview);
    return preview;
}

ReportPreview::ReportPreview(QPrinter *printer, ReportContent content, const QString &title, QWidget *parent)
    : QPrintPreviewDialog(printer, parent)
    , m_content(std::move(content))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    setModal(false);
    resize(900, 700);
    connect(this, &QPrintPreviewDialog::paintRequested, this, &ReportPreview::paintPages);
    previews().append(this);
}

int ReportPreview::pageCount() const
{
    return m_pageCount;
}

QList<ReportPreview *> ReportPreview::openPreviews()
{
    QList<ReportPreview *> open;
    QList<QPointer<ReportPreview>> &list = previews();
    list.removeAll(nullptr);
    for (const QPointer<ReportPreview> &preview : list) {
        if (preview->testAttribute(Qt::WA_DeleteOnClose) && preview->isVisible())
            open.append(preview);
    }
    return open;
}

void ReportPreview::accept()
{
    if (printer() && printer()->outputFormat() == QPrinter::PdfFormat)
        return;
    QPrintPreviewDialog::accept();
}

void ReportPreview::paintPages(QPrinter *printer)
{
    QPainter painter(printer);
    ReportPainter pages(m_content);
    // A long report shows its first page at once; the other pages follow as soon as the window
    // has been shown, the first page's painting aside.
    if (m_firstPageFirst) {
        m_firstPageFirst = false;
        pages.paint(painter, *printer, 1);
        m_pageCount = pages.pageCount();
        if (m_pageCount > 1) {
            QTimer::singleShot(0, this, [this] {
                if (auto *widget = findChild<QPrintPreviewWidget *>())
                    widget->updatePreview();
            });
        }
        return;
    }
    pages.paint(painter, *printer);
    m_pageCount = pages.pageCount();
}

} // namespace zav::platform
