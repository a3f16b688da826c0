#pragma once

#include "engine/archivelayout.h"
#include "platform/db.h"

#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

/**
 * @brief The terrace archive ("NAME.TER" beside the project): its tables and fields in their
 * positions, the check that an archive can be worked, and the queries the terrace forms run on it.
 *
 * Every query is kept as structure with bound values. Texts are bound as texts and the building and
 * unit numbers as numbers, so an owner such as `D'Amico "Nino"` or "SCALA" is only ever a value.
 */
namespace zav::terraces::terracearchive {

/** @brief File name of the terrace template in the program folder. */
inline constexpr QLatin1String TemplateFile("TERRAZZE.CLO");

// Tables of the terrace archive.
inline constexpr QLatin1String CODICE("CODICE");
inline constexpr QLatin1String ELENCO("ELENCO");
inline constexpr QLatin1String SUP_COEFF_VOL("SUP_COEFF_VOL");
inline constexpr QLatin1String MILLESIMI("MILLESIMI");

/** @brief The most characters a terrace table's code holds: a text field's length in the archive
 * format, which every table that carries the code shares. */
inline constexpr int CodeLength = 50;

/** @brief A table of the terrace format with its fields in order. */
using Table = engine::archivelayout::Table;

/** @brief The four tables of the terrace format, each with its fields at their positions. */
const QList<Table> &format();

/**
 * @brief What keeps the terrace archive at this path from being worked, said in Italian, one line
 * each: a missing file, a file that cannot be written, a missing table, a missing or misplaced
 * field. Empty when the archive has the terrace format and can be written.
 */
QStringList problems(const QString &path);

/**
 * @brief A number the queries compare bare (a building or unit number): a whole number as an
 * integer, another number as it is, a text read as a number. Empty or not a number: the empty
 * text, which no stored number equals, so such a key matches nothing.
 */
QVariant numberKey(const QVariant &value);
/** @brief A text the queries compare between quotes: Null becomes the empty text. */
QVariant textKey(const QVariant &value);

/** @brief The table's row of `CODICE` with this code. */
platform::TableQuery tableRow(const QString &code);
/** @brief The units listed for a table with this code and description (stored order). */
platform::TableQuery listOfTable(const QString &code, const QString &description);
/** @brief The units listed for a table with this code (stored order). */
platform::TableQuery listOfCode(const QString &code);
/** @brief The units listed for a table in one building, by building, stair, floor code and unit number. */
platform::TableQuery listOfBuilding(const QString &code, const QVariant &building);
/** @brief The rooms of one building, in every table. */
platform::TableQuery roomsOfBuilding(const QVariant &building);
/** @brief The project's units of one building, by building, stair, floor code and unit number. */
platform::TableQuery projectUnitsOfBuilding(const QVariant &building);

/**
 * @brief Where the rooms of the table with this code are read from, for a SELECT of them in stored
 * order: the text after FROM, its one placeholder the code. The rooms are picked through the index
 * when they are a few of the archive's and read in one pass over the archive when they are many (a
 * row found through the index is looked up again in the table, then sorted, which costs more than
 * reading past the others).
 */
QString roomsOfTableSource(platform::Database &db, const QString &code);

} // namespace zav::terraces::terracearchive
