#pragma once

#include "platform/db.h"

#include <QLatin1String>
#include <QList>
#include <QString>
#include <QVariant>

#include <array>

namespace zav::expenses {

/**
 * @brief The summary table of the thousandths: the file "RIP_SPESE.MDB" of the program folder,
 * whose table `TAB_GENERALE` holds one row per unit per project, a project's rows being those whose
 * `COD_CONDOMINIO` holds its name exactly ("condo1" and "CONDO1" are two projects).
 *
 * The table `PROGETTI` (made when first needed) names, for each name, the project archive whose
 * rows they are: two projects of one name in two folders never share rows. Rows whose name no
 * project holds (made before, or by a project that is gone) are taken by the first project of
 * that name that makes or deletes rows.
 *
 * The operations take their databases and throw platform::DbError; they show nothing. The project
 * name is always a bound value, so any name (quotes included) selects exactly its own rows.
 */
class SummaryTable
{
public:
    /** @brief File name of the summary database in the program folder. */
    static constexpr QLatin1String FileName { "RIP_SPESE.MDB" };
    /** @brief The table of the rows. */
    static constexpr QLatin1String Table { "TAB_GENERALE" };
    /** @brief The table naming the project archive of each name's rows. */
    static constexpr QLatin1String Owners { "PROGETTI" };

    /** @brief The six thousandths fields, in the order the merge sums follow. */
    static const std::array<QString, 6> &thousandthsFields();

    /** @brief The summary database of the program folder, found without regard to case. */
    static QString path();
    /** @brief A project's rows, in stored order. */
    static platform::TableQuery projectRows(const QString &project);
    /**
     * @brief The archive of another project, still there, whose rows are those under `name`; empty
     * text when they are the project's of `projectArchive` or no project's.
     */
    static QString otherOwner(
        platform::Database &summary, const QString &name, const QString &projectArchive);
    /**
     * @brief What the user is told of rows under `name` that are the project's of `otherArchive`:
     * "Le righe di ... sono del progetto ..., che ha lo stesso nome", to be followed by what
     * becomes of them.
     */
    static QString otherOwnerText(const QString &name, const QString &otherArchive);
    /**
     * @brief Refuses work on the rows under `name` when they are another project's (see
     * otherOwner): DbError PermissionDenied, saying whose they are and that only that project
     * works or prints them.
     */
    static void checkOwner(platform::Database &summary, const QString &name, const QString &projectArchive);

    /**
     * @brief "Crea Tabella", in one transaction: appends one row per unit of the project (by
     * building, stair, unit number, owner) under the project's name, with empty thousandths, then
     * runs the five copies of the thousandths over the project's rows. Rows made earlier stay, so
     * a second run gives each unit a second row. The rows under the name become the project's of
     * `projectArchive`. Returns the number of rows appended; on a failure nothing is kept. DbError
     * PermissionDenied, with nothing written, when the name's rows are another project's.
     */
    static int create(platform::Database &summary, platform::Database &project, const QString &name,
        const QString &projectArchive);
    /**
     * @brief Deletes the project's rows, and no other project's; returns how many. DbError
     * PermissionDenied, with nothing deleted, when the name's rows are another project's.
     */
    static int removeProject(platform::Database &summary, const QString &name, const QString &projectArchive);

    /** @brief What "Seleziona" gathers from the rows chosen: six sums and the joined descriptions. */
    struct MergeSums
    {
        std::array<double, 6> sums {};
        QString descriptions;
    };
    /**
     * @brief The sums of the rows with these rowids, in this order: each thousandths field added to
     * its sum, an empty or unreadable value adding nothing; " + " and the description appended for
     * each row whose description is not empty. A rowid that names no row is passed over.
     */
    static MergeSums gather(platform::Database &summary, const QList<qint64> &rowids);

    /**
     * @brief "Accorpa" on the row with this rowid: each thousandths field gets its sum added (an
     * empty field stays empty; an empty sum, as before any "Seleziona", adds nothing) and the
     * description gets the joined descriptions appended (an empty description stays empty). The
     * sums are given as the shared state holds them: five values that may be empty, then a number.
     * DbError NoCurrentRecord when no row has the rowid; a value that is not a number stops the
     * merge with nothing written.
     */
    static void merge(platform::Database &summary, qint64 rowid, const std::array<QVariant, 6> &sums,
        const QString &descriptions);
};

} // namespace zav::expenses
