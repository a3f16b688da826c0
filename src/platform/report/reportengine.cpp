#include "platform/report/reportengine.h"

#include "platform/diskspace.h"

#include "platform/db.h"

#include "platform/report/exportfiles.h"
#include "platform/report/reportpainter.h"
#include "platform/report/reportpreview.h"
#include "platform/report/rtfwriter.h"
#include "platform/ui/printersettings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPrinter>
#include <QSaveFile>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

namespace zav::platform {

namespace {

/** A file written aside, under a name of its own, and the name it takes when the batch finishes. */
struct AsideFile
{
    QString aside;
    QString path;
};

} // namespace

/**
 * What the runs of a batch share: the definitions loaded, the archives open, and the files written
 * aside that take their names when the batch finishes.
 */
struct ReportEngine::Batch
{
    QHash<QString, ReportDefinition> definitions;
    ReportSources sources;
    QList<AsideFile> written;

    ReportContent prepare(const ReportProperties &report)
    {
        auto found = definitions.constFind(report.ReportFileName);
        if (found == definitions.cend())
            found = definitions.insert(report.ReportFileName, ReportDefinition::load(report.ReportFileName));
        return ReportContent::build(*found, report, &sources);
    }
};

namespace {

/** A write to a file cut short by the disk is not always told as an error: the size written tells it. */
bool writeWhole(QFileDevice &file, const QByteArray &bytes)
{
    return file.write(bytes) == bytes.size() && file.flush() && file.size() == bytes.size();
}

QString writeFailure(const QFileDevice &file, const QString &path)
{
    const QString why = file.error() == QFileDevice::NoError && isDiskFull(path) ? systemFailureText(ENOSPC)
                                                                                 : fileFailureText(file);
    return QStringLiteral("impossibile scrivere il file %1: %2").arg(path, why);
}

/**
 * Writes a file of a batch aside, under a name of its own in the same folder, so that a failed write
 * leaves no half file behind; it keeps the permissions of the file it will replace. Why it could not
 * be written, or nothing and its name in `asideName`.
 */
std::optional<QString> writeAside(const QString &path, const QByteArray &bytes, QString &asideName)
{
    const QFileInfo target(path);
    QFile aside;
    for (int attempt = 0;; ++attempt) {
        aside.setFileName(target.dir().filePath(QStringLiteral(".%1.%2-%3.tmp")
                                                    .arg(target.fileName())
                                                    .arg(QCoreApplication::applicationPid())
                                                    .arg(attempt)));
        if (aside.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            break;
        if (aside.exists() && attempt < 100)
            continue;
        return writeFailure(aside, path);
    }
    if (!writeWhole(aside, bytes)) {
        const QString failure = writeFailure(aside, path);
        // Closed first: a file that failed a write may fail its close too, and keep its name then.
        aside.close();
        QFile::remove(aside.fileName());
        return failure;
    }
    aside.close();
    if (target.exists())
        aside.setPermissions(QFile::permissions(path));
    asideName = aside.fileName();
    return std::nullopt;
}

/**
 * Syncs a folder: the whole file system it is on first (`syncfs`) when asked, so that the files
 * written aside in it reach the disk, then the folder itself, so that its new names last.
 */
std::optional<QString> syncFolder(const QString &folder, bool fileSystem)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return systemFailureText(errno);
    int error = 0;
    if ((fileSystem && ::syncfs(fd) != 0) || ::fsync(fd) != 0)
        error = errno;
    ::close(fd);
    if (error != 0)
        return systemFailureText(error);
    return std::nullopt;
}

QString folderFailure(const QString &folder, const QString &why)
{
    return QStringLiteral("impossibile scrivere i file nella directory %1: %2")
        .arg(QDir::toNativeSeparators(folder), why);
}

ReportEngine::PrinterSetup &printerSetup()
{
    static ReportEngine::PrinterSetup setup;
    return setup;
}

ReportResult exportFile(const ReportContent &content, const ReportProperties &report, QList<AsideFile> *batch)
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
    if (batch) {
        QString aside;
        if (const std::optional<QString> failure = writeAside(target.path, rtf, aside))
            return ReportResult::failure(*failure);
        batch->append({ aside, target.path });
    } else {
        // Written aside and renamed at the end, so a failed export leaves no half file behind.
        QSaveFile file(target.path);
        if (!file.open(QIODevice::WriteOnly) || !writeWhole(file, rtf) || !file.commit()) {
            const QString failure = writeFailure(file, target.path);
            file.cancelWriting();
            return ReportResult::failure(failure);
        }
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

ReportEngine::ReportEngine() = default;

ReportEngine::~ReportEngine()
{
    finishBatch();
}

void ReportEngine::startBatch()
{
    m_batch = std::make_unique<Batch>();
}

ReportResult ReportEngine::finishBatch()
{
    const std::unique_ptr<Batch> batch = std::move(m_batch);
    if (!batch || batch->written.isEmpty())
        return ReportResult::success();
    // The files reach the disk before any takes its name, so that a machine stopped at any point
    // leaves each file whole, new or as it was; then the folders, once each, keep the new names.
    QStringList folders;
    for (const AsideFile &file : std::as_const(batch->written)) {
        const QString folder = QFileInfo(file.path).absolutePath();
        if (!folders.contains(folder))
            folders.append(folder);
    }
    QStringList failures;
    for (const QString &folder : std::as_const(folders)) {
        if (const std::optional<QString> failure = syncFolder(folder, true))
            failures.append(folderFailure(folder, *failure));
    }
    for (const AsideFile &file : std::as_const(batch->written)) {
        if (std::rename(QFile::encodeName(file.aside).constData(), QFile::encodeName(file.path).constData())
            != 0) {
            failures.append(QStringLiteral("impossibile scrivere il file %1: %2")
                                .arg(file.path, systemFailureText(errno)));
            QFile::remove(file.aside);
        }
    }
    for (const QString &folder : std::as_const(folders)) {
        if (const std::optional<QString> failure = syncFolder(folder, false))
            failures.append(folderFailure(folder, *failure));
    }
    return failures.isEmpty() ? ReportResult::success() : ReportResult::failure(failures.join(u'\n'));
}

ReportResult ReportEngine::run(const ReportProperties &report)
{
    ReportContent content;
    try {
        content = m_batch ? m_batch->prepare(report) : prepare(report);
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
        return exportFile(content, report, m_batch ? &m_batch->written : nullptr);
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
