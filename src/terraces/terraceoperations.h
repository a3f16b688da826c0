#pragma once

#include "terraces/terraceunit.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

/**
 * @brief The writes of the terrace forms on the terrace archive: tables created and deleted, units
 * listed and removed, rooms deleted. Each works on the archive at the path given, in one
 * transaction, and throws platform::DbError when the archive fails (nothing changed then).
 */
namespace zav::terraces::TerraceOperations {

/** @brief A code as a new terrace table takes it: without the blanks around it (" T1 " is "T1"). */
QString tableCode(const QString &typed);

/**
 * @brief Why a typed code cannot be given to a new terrace table, in Italian, saying what to do:
 * it is empty (or only blanks), longer than the field holds (terracearchive::CodeLength), holds a
 * control character (a tabulation, a line break, NUL ...), or another table has it already,
 * without regard to case and to blanks around it ("t1" or " T1" beside "T1"), since the tables
 * share their units and rooms by code. The code is judged as tableCode() makes it. No value when
 * the code can be used.
 */
std::optional<QString> refusedCode(const QString &archive, const QString &typed);

/**
 * @brief Deletes a terrace table: its units (`ELENCO`), its rooms (`SUP_COEFF_VOL`) and its row of
 * `CODICE` (the row of this rowid), all or nothing. Its terrace thousandths stay.
 */
void deleteTable(const QString &archive, qint64 codeRowid, const QString &code);

/** @brief Deletes a unit's rooms in the terrace table of this code; returns how many went. */
int deleteUnitRooms(const QString &archive, const ShownTerraceUnit &shown);

/** @brief Removes a listed unit (its row of `ELENCO`) with its rooms in that table, all or nothing. */
void removeListedUnit(const QString &archive, qint64 listRowid, const ShownTerraceUnit &shown);

/**
 * @brief Lists units of the project for a terrace table, in the order given, under its code and
 * description: one `ELENCO` row each, appended even when the unit is listed already. A unit without
 * a floor code or a unit number is left out. All or nothing; returns the units left out.
 */
QList<TerraceUnit> listUnits(
    const QString &archive, const QString &code, const QString &description, const QList<TerraceUnit> &units);

/** @brief A unit as a message names it: "owner Pal. b Scala s Piano f Int. n". */
QString describe(const TerraceUnit &unit);

} // namespace zav::terraces::TerraceOperations
