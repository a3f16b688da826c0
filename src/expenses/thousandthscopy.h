#pragma once

#include "platform/db.h"

#include <QLatin1String>
#include <QList>
#include <QString>

#include <functional>
#include <utility>

namespace zav::expenses {

/**
 * @brief The copy of the units' thousandths from the project's result tables into unit rows of a
 * `TAB_GENERALE` table: the expense archive's, or one project's rows of the summary table.
 *
 * One mechanism serves the five copies; a source names its result table and the fields it copies.
 * A target row takes the values of the source row of the same unit, found in a map of the source
 * by the unit's four-part key: owner, building, stair (compared exactly, case counting) and unit
 * number (the target's converted to a whole 32-bit number). An empty part never matches. When the
 * source holds one unit twice, the last of its rows (by building, stair, unit number and owner)
 * wins. Target rows without a source row keep their values; values are copied as stored.
 */
class ThousandthsCopy
{
public:
    /** @brief One result table and what it copies. */
    struct Source
    {
        QLatin1String operation; ///< the copy's name, `copia_mil_glob` ...
        QLatin1String table; ///< result table of the project archive
        QList<std::pair<QLatin1String, QLatin1String>> fields; ///< source field -> target field
    };

    /** @brief The five copies, in the order they run: general, building, stair and lift, heating, porter's
     * lodge. */
    static const QList<Source> &sources();
    /** @brief The copy of this name (`copia_mil_glob` ...); nullptr when none. */
    static const Source *source(const QString &operation);

    /**
     * @brief Copies one source into the target rows that a query names (its table must be the
     * target table); returns the number of rows written. The caller owns the transaction.
     * DbError when a table or a key field is missing.
     */
    static int run(platform::Database &project, platform::Database &target,
        const platform::TableQuery &targetRows, const Source &source);

    /**
     * @brief Copies several sources into the same target rows, as running them one after another
     * would, but reading the rows once and writing each once. A copy whose source or target fields
     * fail is handed to `failed` with its DbError and left out; so is a failed write, which ends
     * the writing (a `failed` that throws ends the run). Returns the number of rows written. The
     * caller owns the transaction.
     */
    static int run(platform::Database &project, platform::Database &target,
        const platform::TableQuery &targetRows, const QList<Source> &sources,
        const std::function<void(const platform::DbError &)> &failed);

    /**
     * @brief The copy named `operation` from the project archive at one path into the target rows
     * of the database at another, in one transaction; nothing is done for an unknown name or an
     * empty path. DbError when either database or a table fails.
     */
    static void runOn(const QString &projectPath, const QString &targetPath,
        const platform::TableQuery &targetRows, const QString &operation);
};

} // namespace zav::expenses
