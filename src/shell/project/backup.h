#pragma once

#include <QList>
#include <QString>

namespace zav::shell {

/**
 * @brief The folder that stands for the floppy drive "a:\" of the backup, from the platform's table
 * of Windows paths (the user's home folder).
 */
QString floppyFolder();

/** @brief One file of a project in its backup: its name in the zip and where it is. */
struct BackupEntry
{
    QString entryName;
    QString path;
};

/**
 * @brief The files a backup of the project archive `archivePath` holds: the archive under its own
 * file name, then, when they exist, the project's own terrace archive beside it (under its file
 * name, "NAME.TER") and its expense archive of the program folder (as "ARCHIVI/NAME.TSP"). Another
 * project's terrace or expense archive is never among them.
 */
QList<BackupEntry> backupEntries(const QString &archivePath);

/** @brief What a backup did. */
struct BackupOutcome
{
    bool succeeded = false;
    /** @brief The zip written (or that could not be written). */
    QString zipPath;
    /** @brief Why it failed (empty on success). */
    QString error;
    /**
     * @brief When the zip of the project's name was another project's backup, left as it was and
     * this one named apart: that zip (otherwise empty).
     */
    QString passedOverZip;
    /** @brief The project archive that `passedOverZip` is the backup of. */
    QString otherProject;
};

/**
 * @brief The project archive a backup zip was made from, read from the zip's comment, or empty
 * text when the zip records none (made before backups recorded it, or by another program) or
 * cannot be read.
 */
QString backupOwnerOf(const QString &zipPath);

/**
 * @brief Zips a project into `folder`: the zip is named after the archive's base name (its file
 * name up to the first ".") with ".zip", holds the files of backupEntries() and records the
 * archive's path in its comment. Each archive is copied through SQLite as last committed and
 * checked whole before it goes into the zip; the zip is written aside and takes its name only when
 * complete, so that a backup that fails (an archive in use or damaged, a full disk) leaves an
 * earlier zip as it was. It replaces a zip of that name unless that zip is the backup of another
 * project that still exists: then the backup is named apart ("NAME_2.zip", the first such name that
 * is free or this project's own; see platform::OwnedFiles). Shows no message.
 */
BackupOutcome backupArchive(const QString &archivePath, const QString &folder = floppyFolder());

} // namespace zav::shell
