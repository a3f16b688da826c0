#pragma once

#include <QString>

namespace zav::terraces {

/**
 * @brief The copy of the listed units' rooms into a terrace table: for every unit listed for the
 * table (`ELENCO`, stored order), each of its rooms in the project (`ESPRESSIONI`, stored order)
 * is appended to `SUP_COEFF_VOL` under the table's code, its values as the project holds them.
 *
 * A room belongs to a listed unit as the rooms query of a unit compares them: owner, building (the
 * listed number as text) and stair as texts without regard to the case of the letters A to Z, the
 * unit number as a number; a unit listed without a unit number has no rooms. The project is read
 * through the terrace archive's connection, read only: the rooms' keys once, then the rooms found,
 * by rowid in the order they are appended, copied by SQLite in one statement. The whole copy is one
 * transaction: it appends every room or none.
 * Nothing is deleted first, so a second copy appends the rooms again.
 */
class RoomCopy
{
public:
    /** @brief What a copy appended. */
    struct Outcome
    {
        int units = 0; ///< listed units read
        int rooms = 0; ///< rooms appended
    };

    /** @brief Runs the copy for the table of this code; platform::DbError when an archive fails. */
    static Outcome run(const QString &projectArchive, const QString &terraceArchive, const QString &code);

    /**
     * @brief A text as the archives compare texts: the letters A to Z lowered, everything else as it
     * stands.
     */
    static QString comparable(const QString &text);
};

} // namespace zav::terraces
