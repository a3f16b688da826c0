#pragma once

#include "workspace/unitkey.h"

#include <QString>

namespace zav::workspace {

/**
 * @brief Appends the rooms of one unit to another: each room of the source unit, in stored order,
 * becomes a new room of the target unit.
 *
 * A new room takes the target's owner, building, stair, unit number and floor code and keeps
 * everything else of the source room as stored (description, expressions, surfaces,
 * coefficients, height, volume, heating flag, window): nothing is recomputed. The source rooms are
 * read in full before the first one is appended, so a unit copied onto itself gains exactly one
 * copy of each room.
 */
class RoomCopy
{
public:
    /**
     * @brief Copies the source unit's rooms into the target unit of this archive, all or nothing.
     * Returns the number of rooms copied; 0 when the source unit has none (nothing written).
     * DbError when the archive cannot be read or written (nothing written).
     */
    static int copy(const QString &archive, const UnitKey &source, const UnitKey &target);
};

} // namespace zav::workspace
