#include "platform/report/reportengine.h"

#include "platform/diskspace.h"

#include "platform/db.h"

#include "platform/report/exportfiles.h"
#include "platform/report/reportpainter.h"
#include "platform/report/reportpreview.h"
#include "platform/report/rtfwriter.h"
#include "platform/ui/printersettings.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QSaveFile>

#include <cerrno>

namespace zav::platform {

namespace {

ReportEngine::PrinterSetup &printerSetup()
{
    static ReportEngine::PrinterSetup setup;
    return setup;
}

ReportResult exportFile(const ReportContent &content, const ReportProperties &report)
{
    if (!isRtfFileType(report.PrintFileType))
        return ReportResult::failure(
            QStringLiteral("tipo di file di esportazione non gestito: %1").arg(report.PrintFileType));
    if (report.PrintFileName.isEmpty())
        return ReportResult::failure(QStringLiteral("nessun file di esportazione indicato"));
    const PrinterSettings &settings = PrinterSettings::program();
    const QByteArray rtf = RtfWriter::write(
        content, settings.pageSize, content.orientation.value_or(settings.orientation), report.ExportOwner);
    // Another project's export of the same name stays as it is.
    const ExportFiles::Target target = ExportFiles::target(report.PrintFileName, report.ExportOwner);
    // Written aside and renamed at the end, so a failed export leaves no half file behind.
    QSaveFile file(target.path);
    // A write cut short by the disk is not always told as an error: the size written tells it.
    const bool written = file.open(QIODevice::WriteOnly) && file.write(rtf) == rtf.size() && file.flush()
        && file.size() == rtf.size();
    if (!written || !file.commit()) {
        const QString why = file.error() == QFileDevice::NoError && isDiskFull(target.path)
            ? systemFailureText(ENOSPC)
            : fileFailureText(file);
        file.cancelWriting();
        return ReportResult::failure(
            QStringLiteral("impossibile scrivere il file %1: %2").arg(target.path, why));
    }
    ReportResult result = ReportResult::success();
    result.exportFile = target.path;
    result.exportOtherOwner = target.otherOwner;
    return result;
}

ReportResult print(const ReportContent &content)
{
    QPrinter printer(QPrinter::HighResolution);
    ReportEngine::setUpPrinter(printer, content);
    if (!ReportPainter(content).print(printer))
        return ReportResult::failure(QStringLiteral("la stampante non è disponibile"));
    return ReportResult::success();
}

} // namespace

ReportContent ReportEngine::prepare(const ReportProperties &report)
{
    return ReportContent::build(ReportDefinition::load(report.ReportFileName), report);
}

ReportResult ReportEngine::run(const ReportProperties &report)
{
    ReportContent content;
    try {
        content = prepare(report);
    } catch (const ReportError &error) {
        return ReportResult::failure(error.message());
    }
    switch (report.Destination) {
    case ReportDestination::Window: {
        // Opened from a modal window (the terraces), the preview belongs to it: it comes in front of it
        // and takes the keyboard and the mouse, which the modal window would otherwise keep to itself.
        ReportPreview *preview = ReportPreview::create(
            std::move(content), report.previewTitle, QApplication::activeModalWidget());
        preview->show();
        preview->raise();
        preview->activateWindow();
        return ReportResult::success();
    }
    case ReportDestination::Printer:
        return print(content);
    case ReportDestination::File:
        return exportFile(content, report);
    default:
        return ReportResult::failure(
            QStringLiteral("destinazione di stampa non valida: %1").arg(report.Destination));
    }
}

void ReportEngine::setPrinterSetup(PrinterSetup setup)
{
    printerSetup() = std::move(setup);
}

void ReportEngine::setUpPrinter(QPrinter &printer)
{
    PrinterSettings::program().applyTo(printer);
    if (printerSetup())
        printerSetup()(printer);
}

void ReportEngine::setUpPrinter(QPrinter &printer, const ReportContent &content)
{
    setUpPrinter(printer);
    if (content.orientation)
        printer.setPageOrientation(*content.orientation);
}

} // namespace zav::platform
