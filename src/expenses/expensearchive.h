#pragma once

#include "platform/db.h"

#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <optional>

/**
 * @brief The expense archive: one project's apportionment in a file "NAME.TSP" of the program
 * folder's "ARCHIVI", made from the template "rip_spese2.mdb".
 */
namespace zav::expenses {

/** @brief File name of the template in the program folder. */
inline constexpr QLatin1String TemplateFile("rip_spese2.mdb");
/** @brief Extension of an expense archive. */
inline constexpr QLatin1String ArchiveExtension(".TSP");

// Tables of the expense archive.
inline constexpr QLatin1String TAB_GENERALE("TAB_GENERALE"); ///< one row per unit
inline constexpr QLatin1String TAB_SPESE1("TAB_SPESE1"); ///< building amounts
inline constexpr QLatin1String TAB_SPESE2("TAB_SPESE2"); ///< stair amounts
inline constexpr QLatin1String TAB_SPESE3("TAB_SPESE3"); ///< general, heating and porter's lodge amounts
inline constexpr QLatin1String TAB_SPESE4("TAB_SPESE4"); ///< lift amounts per stair
/** @brief The table naming, in its field `ARCHIVIO`, the project archive the archive was made for. */
inline constexpr QLatin1String PROGETTO("PROGETTO");

/**
 * @brief Creating, finding and emptying expense archives. Operations take their databases and
 * throw platform::DbError; they show nothing, the form tells the user.
 */
class ExpenseArchive
{
public:
    /** @brief The five tables, in the order the form binds them: TAB_GENERALE, TAB_SPESE1 to 4. */
    static QStringList tables();

    /** @brief The program folder's "ARCHIVI", found without regard to case. */
    static QString archivesFolder();
    /**
     * @brief Why a typed name cannot become an archive's file name, or empty text when it can.
     * A name is a plain file name: no "/", "\", "..", ":" or control character, and short enough
     * for the file system once upper-cased and given its extension.
     */
    static QString nameProblem(const QString &name);
    /** @brief "ARCHIVI/NAME.TSP": only the name is upper-cased, never the folder's path. */
    static QString pathFor(const QString &name);
    /** @brief Whose an archive is, seen from one project. */
    enum class Claim {
        Own, ///< made for this project
        Free, ///< made before archives named their project, or for a project that is gone
        Other, ///< made for another project that still exists
    };
    /** @brief An archive's claim, and the project archive it names (empty when none). */
    struct Ownership
    {
        Claim claim = Claim::Free;
        QString owner;
        /** Another connection holds the archive for writing beyond the usual wait: nothing read. */
        bool inUse = false;
    };
    /**
     * @brief Whose the archive at `path` is, seen from the project whose archive is
     * `projectArchive`: the project its `PROGETTO` table names, compared as files (so the case of
     * a name or the folder of a project tells two projects apart).
     */
    static Ownership ownership(const QString &path, const QString &projectArchive);
    /** @brief Writes the project archive into the archive's `PROGETTO` table (made when missing). */
    static void setOwner(platform::Database &archive, const QString &projectArchive);

    /** @brief The archive of a project as found in "ARCHIVI". */
    struct Found
    {
        QString path; ///< the archive; empty when there is none the project may open
        Claim claim = Claim::Free; ///< whose it is
        /** When the archive named after the project is another project's: that project's archive. */
        QString otherOwner;
    };
    /**
     * @brief The archive of a project: the file of "ARCHIVI" named after the project with ".TSP",
     * found without regard to case (the upper-cased name first), when it is this project's or no
     * project's; else an archive of another name made for this project (one named apart).
     * Another project's archive is never given: its owner is.
     */
    static Found findForProject(const QString &projectName, const QString &projectArchive);
    /**
     * @brief Where "Crea Tabella" under `name` writes: the file of "ARCHIVI" of that name in
     * whatever case (so that no second file of the name is made), else "ARCHIVI/NAME.TSP". No path,
     * and the owner, when a file of that name is another project's archive: it is never replaced.
     * DbError PermissionDenied ("database is locked") when such a file is held by another
     * connection beyond the usual wait, so that the caller answers at once.
     */
    static Found targetFor(const QString &name, const QString &projectArchive);

    /**
     * @brief Replaces the file at a path with a fresh copy of the template, as one step: a failure
     * leaves the file that was there. DbError DatabaseNotFound without the template, PathFileAccess
     * when the copy cannot be written.
     */
    static void copyTemplate(const QString &path);

    /** @brief What filling a new archive did. */
    struct FillOutcome
    {
        int units = 0; ///< unit rows appended
        /** The notice of the building and stair rows ("Non sono ancora state inserite palazzine"), if any. */
        std::optional<QString> notice;
        /** Steps that failed and were skipped, each said in Italian. */
        QStringList failures;
    };

    /**
     * @brief Fills a fresh archive from the project, in one transaction: one unit row per unit of
     * the project (by building, stair, unit number, owner), their six thousandths, then the
     * building and stair rows. A step that fails is skipped and told in the outcome; the others
     * are kept. DbError, with nothing kept, when the transaction cannot be opened or committed
     * or a step fails to write (a full disk, a disk error, an archive read-only or in use).
     */
    static FillOutcome fill(platform::Database &archive, platform::Database &project);
    /**
     * @brief "Crea Tabella": builds the archive aside (a copy of the template beside `path`,
     * filled from the project, named as the project's) and puts it at `path` only when it is
     * whole, replacing the file there. A failure leaves the file that was there as it was: no
     * template, a copy that cannot be written, a disk that fills up while filling. An archive at
     * `path` that another connection holds is left as it is (DbError PermissionDenied, "database
     * is locked"). Temporary files that a stopped run left beside `path` are removed first.
     */
    static FillOutcome create(const QString &path, const QString &projectArchive);

    /**
     * @brief Appends one unit row per unit of the project: owner, building as text, stair, floor
     * code, unit number and description. Returns the number of rows.
     */
    static int appendUnits(platform::Database &archive, platform::Database &project);
    /**
     * @brief The building rows, then for each building its stair rows ("Nessuna" and one per stair)
     * in both stair tables. The buildings are those of the building composition in number order
     * (1 to the project's building count while none is composed yet); each building's stairs are
     * looked up by its number. Ends with a notice when no building is composed yet, or at the
     * first building whose number of stairs is empty (the buildings before it keep their rows).
     */
    static std::optional<QString> fillBuildingsAndStairs(
        platform::Database &archive, platform::Database &project);

    /** @brief Deletes every row of the five tables (the template's three amount rows too), in one
     * transaction. */
    static void empty(platform::Database &archive);
    /** @brief The tables among the five that an archive lacks. */
    static QStringList missingTables(platform::Database &archive);
    /**
     * @brief The fields the program reads or writes that the archive's tables lack (a missing
     * table is left to missingTables()), one sentence each: "nella tabella TAB_SPESE2 manca il
     * campo importo". Names are compared without regard to case.
     */
    static QStringList missingFields(platform::Database &archive);

    /** @brief The unit query of the project: every unit by building, stair, unit number and owner. */
    static platform::TableQuery unitQuery();
};

} // namespace zav::expenses
