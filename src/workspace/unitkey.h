#pragma once

#include "platform/db.h"

#include <QString>
#include <QVariant>

#include <optional>

namespace zav::workspace {

/**
 * @brief What tells a unit apart: owner, building, stair, floor code and unit number, as the
 * workspace's header shows them (plain text).
 *
 * The unit's row of `CODIF_PIANI` is the one with all five; its rooms in `ESPRESSIONI` are those
 * with the owner, building, stair and unit number. Every value is bound, never pasted into SQL,
 * so an owner such as `D'Amico "Nino"` needs no care.
 */
struct UnitKey
{
    QString owner;
    QString building;
    QString stair;
    QString floorCode;
    QString interno;

    bool operator==(const UnitKey &other) const = default;

    /** @brief The unit's rooms, in stored order. */
    platform::TableQuery rooms() const;
    /** @brief The unit's row of `CODIF_PIANI`. */
    platform::TableQuery unitRow() const;
    /** @brief The key as the messages name a unit: "owner Pal.: b Scala: s Piano: f Interno: n". */
    QString description() const;
};

/** @brief A unit handed to the workspace: its key and its own floor height (none when empty). */
struct Unit
{
    UnitKey key;
    std::optional<double> floorHeight;

    bool operator==(const Unit &other) const = default;

    /**
     * @brief The unit of a `CODIF_PIANI` row, read by field position: owner 7, building 1, stair 2,
     * floor code 6, unit number 15, floor height 9.
     */
    static Unit fromCodifPiani(const platform::Recordset &rs, int row);
    /** @brief A value of the archive as the header shows it: Null as "", numbers plainly. */
    static QString headerText(const QVariant &value);
};

} // namespace zav::workspace
