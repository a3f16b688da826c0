#pragma once

#include "platform/db.h"

#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

/**
 * @brief Names and small rules of the project archive that the engine and the forms share: the
 * table names, the stair letters, the floor position of a floor code and the rooms of a unit.
 */
namespace zav::engine::archive {

/** @brief File name of the template archive in the program folder. */
inline constexpr QLatin1String TemplateFile("ARCH_MIL.CLO");

// Tables of the project archive.
inline constexpr QLatin1String ANA_CONDO("ANA_CONDO");
inline constexpr QLatin1String COMPOS_PAL("COMPOS_PAL");
inline constexpr QLatin1String CODIF_PIANI("CODIF_PIANI");
inline constexpr QLatin1String ESPRESSIONI("ESPRESSIONI");
inline constexpr QLatin1String MILLESIMI("MILLESIMI");
inline constexpr QLatin1String MIL_PORTIERATO("MIL_PORTIERATO");
inline constexpr QLatin1String TEMPORANEO("TEMPORANEO");
inline constexpr QLatin1String TEMPORANEO2("TEMPORANEO2");
inline constexpr QLatin1String MIL_RISC("MIL_RISC");
inline constexpr QLatin1String NEW_TAB("NEW_TAB");
inline constexpr QLatin1String TEMP_VARIE("TEMP_VARIE");
inline constexpr QLatin1String TAB_WINDOW("TAB_WINDOW");

/**
 * @brief The eight coefficient tables, "TAB_COEF" then "TAB_COEF2" to "TAB_COEF8": entry k - 1
 * holds the values of the room coefficient COEFk.
 */
QStringList coefficientTables();

/** @brief The five thousandths tables that the thousandths calculation empties and refills. */
QStringList resultTables();

/** @brief The stair letters: stair k of a building is the k-th letter (no J, K, W, X or Y). */
inline constexpr QLatin1String StairLetters("ABCDEFGHILMNOPQRSTUVZ");

/** @brief The value that places a unit on no stair, offered first in every stair list. */
inline constexpr QLatin1String NoStair("Nessuna");

/**
 * @brief The stair letters of a building from its number of stairs (`COMPOS_PAL.NUM_SCALE`).
 *
 * A building with n stairs has the first n letters. An empty value, one that is not a number, or a
 * number below 1 gives none; a fractional number counts its whole part; more stairs than letters
 * give every letter, never an empty stair.
 */
QStringList stairsOfBuilding(const QVariant &numScale);

/**
 * @brief The floor position (`RIGA`) of a floor code: "10S" to "1S" give -11 to -2, "T" -1, "R" 0
 * and a number code its own value. Codes are compared exactly; any other code ("S1", the empty
 * text) has no position.
 */
std::optional<int> floorPosition(const QString &floorCode);

/**
 * @brief The numbers of the buildings the project has (`COMPOS_PAL.NUM_PAL`), in increasing
 * order; a row without number is no building. DbError when the table cannot be read.
 */
QList<int> buildingNumbers(platform::Database &db);

/**
 * @brief The rooms of a unit: the rows of `ESPRESSIONI` whose owner, building, stair and unit
 * number are the unit's, in stored order.
 *
 * The building is compared as text (the rooms hold it as text), whatever form it is given in; a
 * unit number that is not a whole number matches no room.
 */
platform::TableQuery roomsQuery(
    const QString &owner, const QVariant &building, const QString &stair, const QVariant &interno);

} // namespace zav::engine::archive
