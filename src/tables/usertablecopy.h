#pragma once

#include "platform/db.h"

#include <QString>

namespace zav::tables {

/**
 * @brief Copies computed thousandths into a user table: every unit of the general table, of one
 * building's rows of the building table, or of one stair's rows of the stair table, appended to
 * the user table's rows with its owner, building, stair, base value, thousandths, floor code and
 * unit number (the stair table gives its first half, `MILLESIMI`).
 *
 * The building and the stair reach the archive as bound values; the target must be a user table
 * listed in `NEW_TAB`. The rows are appended in one transaction: all of them or, on a failure,
 * none.
 */
class UserTableCopy
{
public:
    /** @brief The three copies. */
    enum class Source { General, Building, Stair };

    /** @brief How a copy ended. */
    enum class End {
        Copied, ///< the source's rows were appended
        EmptySource, ///< the source has no row: nothing was appended
        NoTarget, ///< the target is not a user table of the archive: nothing was appended
    };

    struct Outcome
    {
        End end = End::Copied;
        int rows = 0; ///< rows appended
    };

    /** @brief The rows a copy reads, in their order. */
    static platform::TableQuery sourceRows(Source source, const QString &building, const QString &stair);

    /** @brief The message that tells that the source of a copy has no row. */
    static QString emptySourceMessage(Source source);

    /**
     * @brief Appends the rows of @p source (for @p building and @p stair where it needs them) to the
     * user table @p target of the archive @p archive. DbError when the archive fails; nothing is
     * appended then.
     */
    static Outcome copy(const QString &archive, Source source, const QString &building, const QString &stair,
        const QString &target);
};

} // namespace zav::tables
