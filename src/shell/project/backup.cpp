#include "shell/project/backup.h"

#include "platform/windowspaths.h"
#include "platform/zipfile.h"
#include "shell/project/projectfiles.h"

#include <QFileInfo>

namespace zav::shell {

QString floppyFolder()
{
    return platform::WindowsPaths::folder(QStringLiteral("a:\\"));
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
        platform::ZipFile zip = platform::ZipFile::create(outcome.zipPath);
        zip.addFile(fileName, archivePath);
        zip.commit();
        outcome.succeeded = true;
    } catch (const platform::ZipError &error) {
        outcome.error = error.message();
    }
    return outcome;
}

} // namespace zav::shell
