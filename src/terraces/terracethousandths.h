#pragma once

#include <QString>
#include <QStringList>

/**
 * @brief The terrace thousandths of one terrace table: each project unit's share of the table's
 * weighted surfaces (or volumes), rounded to three decimals and brought to a total of 1000.
 */
namespace zav::terraces::TerraceThousandths {

/** @brief What a calculation did. */
struct Outcome
{
    int rows = 0; ///< rows written into `MILLESIMI`
    /** One message per unit passed over because a room of it has no weighted surface. */
    QStringList incorrectUnits;
    int rooms = 0; ///< rooms of the table
    bool byVolume = false; ///< the shares follow the volumes (the project's base in force)
    double total = 0.0; ///< the table's total on that base
    /**
     * With the volume base, the rooms that have a weighted surface but no volume, their height being
     * empty (or zero): they count 0. Each as "owner Pal. b Scala s Int. n: room".
     */
    QStringList roomsWithoutHeight;
};

/**
 * @brief Rebuilds the terrace archive's `MILLESIMI` from the rooms of the table of this code.
 *
 * The table's rooms are read once and grouped by unit: owner, building, stair and unit number
 * (numbers as numbers, texts without regard to case), so that two owners who share a building,
 * stair and unit number each take only their own rooms. Each unit of the project's `CODIF_PIANI`,
 * in stored order, takes the sums of its rooms. A unit with a room whose weighted surface is empty gets no
 * row (and a message); so does a unit whose two sums are both zero, one without a unit number and
 * one whose share rounds to 0. The shares, written in the order of the units, are then brought to
 * 1000 by 0.001 a row from the first row written, each row at most once. Everything in one
 * transaction on the terrace archive; throws platform::DbError when an archive fails.
 */
Outcome calculate(const QString &terraceArchive, const QString &projectArchive, const QString &code,
    const QString &description);

} // namespace zav::terraces::TerraceThousandths
