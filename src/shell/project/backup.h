#pragma once

#include <QString>

namespace zav::shell {

/**
 * @brief The folder that stands for the floppy drive "a:\" of the backup, from the platform's table
 * of Windows paths (the user's home folder).
 */
QString floppyFolder();

/** @brief What a backup did. */
struct BackupOutcome
{
    bool succeeded = false;
    /** @brief The zip written (or that could not be written). */
    QString zipPath;
    /** @brief Why it failed (empty on success). */
    QString error;
};

/**
 * @brief Zips a project archive into `folder`: the zip is named after the archive's base name
 * (its file name up to the first ".") with ".zip", replaces a zip of that name, and holds the
 * archive under its own file name. Shows no message.
 */
BackupOutcome backupArchive(const QString &archivePath, const QString &folder = floppyFolder());

} // namespace zav::shell
