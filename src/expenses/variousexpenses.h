#pragma once

#include "platform/db.h"

#include <QLatin1String>
#include <QString>
#include <QStringList>

namespace zav::expenses {

/**
 * @brief The various-expense database "rip_spese3.mdb": one row per unit met in the user
 * thousandths tables added to it (`tab_generale`) and the list of those tables (`elenco_tabelle`).
 * Each table NAME added gives `tab_generale` a pair of fields, NAME followed by "_mil" (the unit's
 * thousandths in that table) and NAME followed by "_imp" (an amount the user types).
 *
 * The user tables are read from a sample project archive, never from the open project. A table's
 * name becomes part of a field name only through the database layer's identifier quoting, which
 * refuses a name it cannot quote safely; names read from either database are values, never SQL.
 */
class VariousExpenses
{
public:
    /** @brief The fixed path the program gives the database, mapped into the program folder. */
    static constexpr QLatin1String WindowsPath { "c:\\zav4\\rip_spese3.mdb" };
    static constexpr QLatin1String Units { "tab_generale" };
    static constexpr QLatin1String Tables { "elenco_tabelle" };

    /** @brief The database's path on this system. */
    static QString path();
    /** @brief The unit fields, in the order of the grid's first five columns. */
    static const QStringList &unitFields();
    /** @brief The units by building, stair, unit number and owner, as after an add. */
    static platform::TableQuery orderedUnits();

    /** @brief The names of `elenco_tabelle`, in stored order (first field of each row). */
    static QStringList pairTables(platform::Database &various);

    /**
     * @brief Adds user tables of the sample archive, in this order: the pair of fields of each
     * (a pair already there is kept), its name in `elenco_tabelle` (once), then for each row of the
     * user table the thousandths into the unit's row, found by owner, building, stair and unit
     * number (an empty unit number matches an empty one), or a new unit row. A table the sample
     * lacks, or whose name cannot become a field name, is skipped; each skip is one line of the
     * result. Everything runs in one transaction; a step that fails is passed over.
     */
    static QStringList add(platform::Database &various, platform::Database &sample, const QStringList &names);

    /**
     * @brief Deletes a table's pair of fields (those that exist) and every `elenco_tabelle` row that
     * holds exactly its name (case counting); the unit rows stay. A step that fails is passed over.
     */
    static void removePair(platform::Database &various, const QString &name);

    /** @brief Deletes every unit row; the pairs and `elenco_tabelle` stay. */
    static void emptyUnits(platform::Database &various);
};

} // namespace zav::expenses
