#pragma once

#include "platform/db.h"

#include <QString>
#include <QVariant>

namespace zav::platform {
class DataSource;
}

namespace zav::terraces {

/**
 * @brief A unit as the terrace archive knows it: owner, building, stair, floor code and unit
 * number, the values as the archive holds them (the building and the unit number are numbers).
 */
struct TerraceUnit
{
    QString owner;
    QVariant building;
    QString stair;
    QString floorCode;
    QVariant interno;

    bool operator==(const TerraceUnit &other) const = default;

    /** @brief The unit of a row of `ELENCO` (fields 0 to 4). */
    static TerraceUnit fromListRow(const platform::DataSource &list, int row);
    /** @brief The unit of a room of `SUP_COEFF_VOL` (fields 1 to 4, and 19 for the floor code). */
    static TerraceUnit fromRoomRow(const platform::DataSource &rooms, int row);

    /**
     * @brief The unit's rooms in the terrace table of this code, in stored order: code, owner and
     * stair compared as texts, building and unit number as numbers. A unit without a building or a
     * unit number has no rooms.
     */
    platform::TableQuery rooms(const QString &code) const;

    /** @brief A value as the form's labels show it: Null as "", numbers plainly. */
    static QString text(const QVariant &value);
};

/** @brief The unit the terrace form shows: the terrace table whose rooms it shows, and the unit. */
struct ShownTerraceUnit
{
    QString code;
    TerraceUnit unit;

    bool operator==(const ShownTerraceUnit &other) const = default;
    /** @brief Its rooms: the unit's rooms in its table. */
    platform::TableQuery rooms() const { return unit.rooms(code); }
};

} // namespace zav::terraces
