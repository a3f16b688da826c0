#include "platform/system.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace zav::platform {

namespace {

System *g_installed = nullptr;

} // namespace

System &system()
{
    static DesktopSystem desktop;
    return g_installed ? *g_installed : desktop;
}

void setSystem(System *system)
{
    g_installed = system;
}

QString DesktopSystem::findProgram(const QString &program)
{
    if (program.trimmed().isEmpty())
        return {};
    return QStandardPaths::findExecutable(program);
}

bool DesktopSystem::startProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

DocumentLookup DesktopSystem::lookUpDocument(const QString &document)
{
    if (document.isEmpty())
        return DocumentLookup::FileNotFound;
    const QFileInfo info(document);
    if (!info.absoluteDir().exists())
        return DocumentLookup::PathNotFound;
    if (!info.exists())
        return DocumentLookup::FileNotFound;

    // The desktop's own answer on which program opens this kind of document. Without the
    // freedesktop tools there is no one to ask: opening the document will then tell.
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return DocumentLookup::Found;
    const QString mimeType = QMimeDatabase().mimeTypeForFile(info).name();
    QProcess query;
    query.start(xdgMime, { QStringLiteral("query"), QStringLiteral("default"), mimeType });
    if (!query.waitForStarted(5000))
        return DocumentLookup::Failed;
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return DocumentLookup::Failed;
    }
    const QString desktopFile = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
    return desktopFile.isEmpty() ? DocumentLookup::NoAssociation : DocumentLookup::Found;
}

bool DesktopSystem::openDocument(const QString &document, OpenFailed failed)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty() || !QCoreApplication::instance())
        return QDesktopServices::openUrl(QUrl::fromLocalFile(document));

    // xdg-open starts whether or not it finds a way to open the document ("no method available"),
    // and where no desktop session takes the document over it runs the viewer itself until it is
    // closed: only its end tells. It is watched, never waited for.
    auto *process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({ document });
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process,
        [process, failed = std::move(failed)](int exitCode, QProcess::ExitStatus status) {
            process->deleteLater();
            if ((status != QProcess::NormalExit || exitCode != 0) && failed)
                failed();
        });
    process->start();
    if (!process->waitForStarted(5000)) {
        delete process;
        return false;
    }
    return true;
}

bool DesktopSystem::openAddress(const QString &address)
{
    const QUrl url = QUrl::fromUserInput(address);
    return url.isValid() && QDesktopServices::openUrl(url);
}

} // namespace zav::platform
