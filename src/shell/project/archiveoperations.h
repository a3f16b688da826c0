#pragma once

#include "shell/project/upgrade.h"

#include <QString>

#include <optional>

/**
 * @brief The work behind the buttons of the project archive dialog: creating, opening, deleting,
 * duplicating, upgrading and backing up a project. Questions and messages go through the
 * installed Dialogs; the open project is written into the shared program state. No widgets.
 *
 * A project is a set of files in one folder sharing a name: the archive NAME.CDB, the calculation
 * report NAME.RTF, the terrace archive NAME.TER and, from older versions, a lock file NAME.LDB.
 */
namespace zav::shell::archiveoperations {

/** @brief The files of a project just created. */
struct CreatedProject
{
    QString archive;
    QString report;
    QString terraces;
};

/** @brief Makes a project the open one: `progetto_corrente`, `nome_progetto`, `archivio_terrazze`
 * and its calculation report. */
void setOpenProject(
    const QString &archive, const QString &name, const QString &terraces, const QString &report);

/**
 * @brief Creates a project from a typed name: refuses a name that cannot name a project (see
 * projectfiles::projectNameProblem), asks whether to use the default folder (else `shownFolder`),
 * refuses a folder that cannot be written, checks that NAME.CDB, NAME.RTF and NAME.TER (NAME = the
 * typed name upper-cased) are not the open project's and asks before replacing any that exist
 * (found without regard to case), then copies the three templates and opens the project. Every
 * copy is made or none; the project is opened only when all three are there. No value when
 * nothing was made (the reason has been shown).
 */
std::optional<CreatedProject> createProject(const QString &shownFolder, const QString &typedName);

/**
 * @brief Opens the archive `fileName` of `folder`: upgrades it silently, checks it against the
 * archive format, finds or makes its terrace archive, remembers the folder and makes it the open
 * project. Refused, with the reason said in Italian, and nothing opened: a file that is not a
 * project archive, a folder or an archive that cannot be written, an archive that departs from
 * the format (the message names what is missing), a terrace archive that cannot be made. Returns
 * whether the project was opened.
 */
bool openProject(const QString &folder, const QString &fileName);

/**
 * @brief Deletes the project whose archive is `fileName` of `folder`, after asking, unless it is
 * the open project. Its companions are the project's report (after a second question), lock file
 * and terrace archive (projectfiles::projectFileName). Returns whether the archive was deleted.
 */
bool deleteProject(const QString &folder, const QString &fileName);

/**
 * @brief Copies the archive `fileName` of `folder` into the same folder under a name asked for,
 * with ".cdb". Refuses a name that cannot name a project, a name that exists (without regard to
 * case, so never the source itself nor the open project) and a folder that cannot be written.
 * Returns the new archive's path, or no value.
 */
std::optional<QString> duplicateArchive(const QString &folder, const QString &fileName);

/**
 * @brief Upgrades an archive; unless `silent`, ends with "Archivio Aggiornato" when it succeeded
 * or with a message saying why it did not.
 */
UpgradeOutcome upgrade(const QString &archive, bool silent);

/**
 * @brief Backs up the archive `fileName` of `folder` into a zip in the folder standing for the
 * floppy drive, after the prompt for the disk; reports the outcome. Returns whether it succeeded.
 */
bool backup(const QString &folder, const QString &fileName);

} // namespace zav::shell::archiveoperations
