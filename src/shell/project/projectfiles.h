#pragma once

#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

/**
 * @brief File rules of project archives: names, the default folder, the folder-memory file, and
 * copies and deletions that tell how they failed. No widgets.
 */
namespace zav::shell::projectfiles {

/** @brief Template of the project archive, of the calculation report and of the terrace archive. */
inline constexpr QLatin1String ArchiveTemplate("ARCH_MIL.CLO");
inline constexpr QLatin1String ReportTemplate("RELAZION.rtf");
inline constexpr QLatin1String TerraceTemplate("TERRAZZE.CLO");
/** @brief The folder-memory file of the program folder. */
inline constexpr QLatin1String FolderMemoryFile("zav.cfg");
/** @brief The default folder of projects, under the program folder. */
inline constexpr QLatin1String DefaultFolderName("ARCHIVI");

/**
 * @brief The base name of an archive's file name: its characters up to, and without, the first
 * "." (at most the first 1000 characters are looked at).
 */
QString baseName(const QString &fileName);

/** @brief A file name less its last extension ("A.B.CDB" gives "A.B"; a name without "." stays). */
QString stem(const QString &fileName);

/**
 * @brief Whether a typed name can name a file of a folder: not empty, no folder separator ("/"
 * or "\"), not "." or "..", and no control character.
 */
bool isPlainFileName(const QString &name);

/** @brief A folder and a file name joined with one separator. */
QString joinPath(const QString &folder, const QString &fileName);

/** @brief Entries (files) of a folder whose names equal the name given, without regard to case. */
QStringList filesIgnoringCase(const QString &folder, const QString &name);

/** @brief Whether two paths name the same existing file (compared as canonical paths). */
bool isSameFile(const QString &a, const QString &b);

/** @brief The default folder of projects: "ARCHIVI" of the program folder (found ignoring case). */
QString defaultFolder();
/** @brief Creates the default folder when missing; false when it cannot be made. */
bool ensureDefaultFolder();

/** @brief The folder remembered in "zav.cfg"; no value when the file or its record is missing. */
std::optional<QString> rememberedFolder();
/** @brief Writes the folder into "zav.cfg" as one quoted record; false when it cannot be written. */
bool rememberFolder(const QString &folder);

/** @brief How a file step ended. */
enum class FileOutcome {
    Done,
    SourceMissing, ///< the file to copy is not there
    PathNotFound, ///< the target folder is not there
    PermissionDenied, ///< the folder or the file cannot be written
    Failed, ///< any other failure (disk full, ...)
};

/** @brief A copy to make: the source file and the target path. */
struct Copy
{
    QString source;
    QString target;
};

/**
 * @brief Makes every copy or none: each target is written to a temporary file beside it first,
 * and only when all are written do they take their names (replacing files of those names). The
 * files in `replaced` are deleted just before, once every copy is ready. On failure nothing is
 * changed and `failedPath` names the file that failed.
 */
FileOutcome copyAll(
    const QList<Copy> &copies, const QStringList &replaced = {}, QString *failedPath = nullptr);

/** @brief Deletes a file. */
FileOutcome removeFile(const QString &path);

} // namespace zav::shell::projectfiles
