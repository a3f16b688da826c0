#include "shell/project/backup.h"

#include "platform/ownedfiles.h"
#include "platform/windowspaths.h"
#include "platform/zipfile.h"
#include "shell/project/projectfiles.h"

#include <QFileInfo>

namespace zav::shell {

namespace {

/** What a backup's comment starts with; the archive's absolute path follows. A zip whose comment
 * does not start so records no project. */
const QString OwnerMarker = QStringLiteral("Zav progetto: ");

} // namespace

QString floppyFolder()
{
    return platform::WindowsPaths::folder(QStringLiteral("a:\\"));
}

QString backupOwnerOf(const QString &zipPath)
{
    QString comment;
    try {
        comment = platform::ZipFile::openForReading(zipPath).comment();
    } catch (const platform::ZipError &) {
        return QString(); // not a zip we can read: nobody's backup
    }
    return comment.startsWith(OwnerMarker) ? comment.mid(OwnerMarker.size()) : QString();
}

BackupOutcome backupArchive(const QString &archivePath, const QString &folder)
{
    BackupOutcome outcome;
    const QString fileName = QFileInfo(archivePath).fileName();
    outcome.zipPath
        = projectfiles::joinPath(folder, projectfiles::projectName(fileName) + QStringLiteral(".zip"));
    try {
        if (!QFileInfo(folder).isDir())
            throw platform::ZipError(QStringLiteral("%1: cartella non trovata").arg(folder));
        const platform::OwnedFiles::Target target
            = platform::OwnedFiles(&backupOwnerOf).target(outcome.zipPath, archivePath);
        if (!target.otherOwner.isEmpty()) {
            outcome.passedOverZip = outcome.zipPath;
            outcome.otherProject = target.otherOwner;
            outcome.zipPath = target.path;
        }
        platform::ZipFile zip = platform::ZipFile::create(outcome.zipPath);
        zip.addFile(fileName, archivePath);
        zip.setComment(OwnerMarker + QFileInfo(archivePath).absoluteFilePath());
        zip.commit();
        outcome.succeeded = true;
    } catch (const platform::ZipError &error) {
        outcome.error = error.message();
    }
    return outcome;
}

} // namespace zav::shell
