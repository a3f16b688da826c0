#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace zav::printing {

/**
 * @brief What the print form reads of the project archive and writes into it, each operation on a
 * connection of its own. Failures of the database are thrown as platform::DbError.
 */
class PrintArchive
{
public:
    /** @brief The numbers of the project's buildings (`COMPOS_PAL`), in increasing order, as the
     * building boxes list them; no value when the archive has no header record. */
    static std::optional<QStringList> buildings(const QString &archive);

    /** @brief The stairs of one building, as the building box's choice finds them. */
    struct Stairs
    {
        enum class Found { NoBuildings, NoSuchBuilding, NoStairs, Stairs };
        Found found = Found::NoBuildings;
        /** "Nessuna" then the letters of the building's stairs (an empty entry for each stair
         * beyond the last letter). */
        QStringList entries;
    };
    /** @brief The stair box's entries for a building number given as the building box's text. */
    static Stairs stairs(const QString &archive, const QString &building);

    /** @brief How copying a user table into the print buffer `TEMP_VARIE` went. */
    struct Buffer
    {
        enum class Outcome { Filled, EmptyTable, Failed };
        Outcome outcome = Outcome::Failed;
        int rows = 0;
        QString message; ///< the failure said for the user when it failed
    };
    /**
     * @brief Empties `TEMP_VARIE` and copies into it every row of a user table, in the table's
     * order: positions 0 to 5 as they are, the table's name at 6, nothing at 7, the unit number
     * (8) at 8 and the weight (7) at 9. A table that cannot be read counts as empty; the buffer
     * stays empty then. One transaction: a failure part-way leaves the buffer as it was.
     */
    static Buffer fillBuffer(const QString &archive, const QString &table);
};

} // namespace zav::printing
