#pragma once

#include "platform/db.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace zav::tables {

/**
 * @brief The user's own thousandths tables of a project archive: tables of ten fields in a fixed
 * order, each named in the list table `NEW_TAB`.
 *
 * A name becomes a table only after it is checked here (letters, digits, blanks and "_", at most
 * 64 characters, not a table of the archive nor one of the archive's own tables), and reaches SQL
 * only as a quoted identifier. Creating makes the table and its list row together; dropping
 * removes the list row only once the table is gone.
 */
class UserTables
{
public:
    /** @brief The longest name a user table may have. */
    static constexpr int MaxNameLength = 64;

    /** @brief The ten fields of a user table, in their order. */
    static const QList<platform::FieldDef> &fields();

    /** @brief The tables every project archive has (or gets from the template) by their names. */
    static const QStringList &archiveTables();

    /** @brief Why a name cannot be given to a new table. */
    enum class Refusal {
        Empty, ///< nothing but blanks
        Invalid, ///< a character that is not a letter, digit, blank or "_", or too long
        Exists, ///< a table of the archive, or one of the archive's own tables, has it
    };

    /** @brief The name a typed text gives: upper-cased, without blanks at its ends. */
    static QString nameOf(const QString &typed);

    /** @brief Why @p name (already upper-cased) cannot be a new table of @p db; none when it can. */
    static std::optional<Refusal> refusal(platform::Database &db, const QString &name);

    /**
     * @brief Creates the empty table @p name in the archive @p archive and lists it in `NEW_TAB`,
     * both in one transaction. Returns the refusal when the name cannot be used; DbError when the
     * archive fails (nothing is then created).
     */
    static std::optional<Refusal> create(const QString &archive, const QString &name);

    /** @brief How a drop ended. */
    enum class Dropped {
        Table, ///< the table went, and its list row with it
        ListRowOnly, ///< the table was not there any more: only its list row went
    };

    /**
     * @brief Drops the user table @p name and then deletes the list row @p listRow of `NEW_TAB`,
     * in one transaction. DbError when the table cannot be dropped (the row then stays) or the
     * name cannot be a table name.
     */
    static Dropped drop(const QString &archive, const QString &name, qint64 listRow);

    /** @brief Whether the archive lists @p name in `NEW_TAB` and holds the table. */
    static bool isListedTable(platform::Database &db, const QString &name);
};

} // namespace zav::tables
