#pragma once

#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
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

/** @brief The files of a project, all named after the project. */
enum class ProjectFile {
    Archive, ///< NAME.CDB
    Report, ///< NAME.RTF, the calculation report
    Terraces, ///< NAME.TER, the terrace archive
    Lock, ///< NAME.LDB, the lock file older versions left beside the archive
};

/**
 * @brief The project's name from its archive's file name: the file name less its extension
 * ("VILLA.CDB" gives "VILLA"; an archive of an older version named "A.B.CDB" gives "A.B"). It is
 * `nome_progetto` and the name of every file of the project.
 */
QString projectName(const QString &archiveFileName);

/** @brief The extension of one of a project's files (".CDB", ".RTF", ".TER", ".LDB"). */
QString extension(ProjectFile file);

/** @brief The file name of one of a project's files: the project's name and the file's extension. */
QString projectFileName(const QString &projectName, ProjectFile file);

/** @brief The longest project name, in characters: every file of the project keeps a name the file
 * system accepts, whatever the characters. */
inline constexpr int MaxProjectNameLength = 60;

/**
 * @brief Why a typed project name cannot name a project, as the message to show; no value when it
 * can. A name is refused when it is longer than MaxProjectNameLength, holds "." (the files of
 * project "A.B" would pass for companions of project "A"), a folder separator ("/" or "\"), a
 * control or format character (a line break, a mark that reverses the text) or half a character.
 * An empty name is the caller's to handle.
 */
std::optional<QString> projectNameProblem(const QString &name);

/** @brief A folder and a file name joined with one separator. */
QString joinPath(const QString &folder, const QString &fileName);

/** @brief Entries (files) of a folder whose names equal the name given, without regard to case. */
QStringList filesIgnoringCase(const QString &folder, const QString &name);

/**
 * @brief The other projects of a folder that bear the name of the project whose archive is
 * `archiveFileName`, in whatever case: archives ("*.cdb", in whatever case) other than this one
 * whose project name equals this project's without regard to case ("prova.cdb" beside
 * "PROVA.CDB"). Their file names.
 */
QStringList namesakes(const QString &folder, const QString &archiveFileName);

/**
 * @brief Whether a namesake bears exactly this project's name ("PROVA.cdb" beside "PROVA.CDB"):
 * then no companion file can be told as this project's, and the project is not worked.
 */
bool hasTwin(const QString &folder, const QString &archiveFileName);

/**
 * @brief The files of `folder` that are this project's companion of kind `file` (its report, lock
 * file or terrace archive). Alone in the folder with its name, the project owns the files of its
 * name in whatever case ("PROVA.TER" is the terrace archive of "prova.cdb"). Beside a namesake
 * in another case, it owns only the files that keep its name exactly ("PROVA.TER" is PROVA's,
 * "prova.TER" is prova's); beside a twin, none.
 */
QStringList companionFiles(const QString &folder, const QString &archiveFileName, ProjectFile file);

/**
 * @brief The name under which a missing companion of kind `file` is made: the project's name
 * upper-cased with the companion's extension, or, beside a namesake in another case, the project's
 * name as it stands, so that each project has a companion of its own.
 */
QString newCompanionName(const QString &folder, const QString &archiveFileName, ProjectFile file);

/**
 * @brief The path of the project's own companion of kind `file`: the first of companionFiles() when
 * there is one, else the path under newCompanionName() where it is made.
 */
QString companionPath(const QString &folder, const QString &archiveFileName, ProjectFile file);

/** @brief Whether two paths name the same existing file (compared as canonical paths). */
bool isSameFile(const QString &a, const QString &b);

/** @brief The default folder of projects: "ARCHIVI" of the program folder (found ignoring case). */
QString defaultFolder();
/** @brief Creates the default folder when missing; false when it cannot be made. */
bool ensureDefaultFolder();

/**
 * @brief Whether new files can be written into a folder: tried by making a temporary file there
 * (permissions, a read-only disk, a file where the folder should be all count).
 */
bool isWritableFolder(const QString &folder);
/** @brief Whether an existing file can be written, and its folder too. */
bool isWritableFile(const QString &path);
/**
 * @brief Replaces how isWritableFolder() and isWritableFile() decide (tests, where the user may
 * write everywhere); an empty function restores the real check.
 */
void setWritableCheck(std::function<bool(const QString &path)> check);

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
    DiskFull, ///< no room left on the disk
    Failed, ///< any other failure
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
