#include "shell/project/backup.h"

#include "engine/databasefailure.h"
#include "expenses/expensearchive.h"
#include "platform/db.h"
#include "platform/ownedfiles.h"
#include "platform/windowspaths.h"
#include "platform/zipfile.h"
#include "shell/project/projectfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

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

QList<BackupEntry> backupEntries(const QString &archivePath)
{
    const QFileInfo archive(archivePath);
    QList<BackupEntry> entries { { archive.fileName(), archivePath } };
    const QStringList terraces = projectfiles::companionFiles(
        archive.path(), archive.fileName(), projectfiles::ProjectFile::Terraces);
    if (!terraces.isEmpty())
        entries.append({ QFileInfo(terraces.first()).fileName(), terraces.first() });
    const expenses::ExpenseArchive::Found expenses = expenses::ExpenseArchive::findForProject(
        projectfiles::projectName(archive.fileName()), archivePath);
    if (!expenses.path.isEmpty() && QFileInfo(expenses.path).isFile()) {
        entries.append({ QStringLiteral("ARCHIVI/") + QFileInfo(expenses.path).fileName(), expenses.path });
    }
    return entries;
}

BackupOutcome backupArchive(const QString &archivePath, const QString &folder)
{
    BackupOutcome outcome;
    const QString fileName = QFileInfo(archivePath).fileName();
    outcome.zipPath
        = projectfiles::joinPath(folder, projectfiles::projectName(fileName) + QStringLiteral(".zip"));
    // What the user finds in the folder when this backup is not made.
    const auto unchanged = [&] {
        return QFileInfo::exists(outcome.zipPath)
            ? QStringLiteral("la copia precedente %1 non è stata modificata")
                  .arg(QDir::toNativeSeparators(outcome.zipPath))
            : QStringLiteral("nessuna copia è stata scritta");
    };
    QString copying; // the archive being copied, for the message
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

        // Each archive is copied as last committed and checked before anything is zipped: the
        // file's bytes may be half a write of another connection, or a stopped one's.
        QTemporaryDir scratch;
        if (!scratch.isValid())
            throw platform::ZipError(
                QStringLiteral("impossibile creare una cartella temporanea (%1)").arg(scratch.errorString()));
        QList<BackupEntry> copies;
        int serial = 0;
        for (const BackupEntry &entry : backupEntries(archivePath)) {
            copying = entry.path;
            const QString copy = scratch.filePath(QStringLiteral("copia%1").arg(++serial));
            platform::Database::open(entry.path).copyTo(copy);
            copies.append({ entry.entryName, copy });
        }
        copying.clear();

        platform::ZipFile zip = platform::ZipFile::create(outcome.zipPath);
        for (const BackupEntry &copy : copies)
            zip.addFile(copy.entryName, copy.path);
        zip.setComment(OwnerMarker + QFileInfo(archivePath).absoluteFilePath());
        zip.commit();
        outcome.succeeded = true;
    } catch (const platform::DbError &error) {
        if (error.code() == platform::DbErrorCode::DiskFull) {
            outcome.error = platform::diskFullText(unchanged());
        } else {
            outcome.error = QStringLiteral("L'archivio %1 non è stato copiato.\n%2\nLa copia non è stata "
                                           "fatta: %3.")
                                .arg(QDir::toNativeSeparators(copying), engine::databaseFailureText(error),
                                    unchanged());
        }
    } catch (const platform::ZipError &error) {
        outcome.error = error.diskFull()
            ? platform::diskFullText(unchanged())
            : QStringLiteral("%1\nLa copia non è stata fatta: %2.").arg(error.message(), unchanged());
    }
    return outcome;
}

} // namespace zav::shell
