#pragma once

#include "terraces/terraceroom.h"

#include <QList>
#include <QString>

#include <optional>

namespace zav::platform {
class DataSource;
class Progress;
} // namespace zav::platform

/**
 * @brief The two commands that compute terrace rooms and store them: the rooms of the unit shown
 * with its three totals ("Calcola Totali"), and every room of a terrace table ("Ricalcola Totali").
 * Each works in one transaction on the terrace archive and throws platform::DbError when the
 * archive fails (nothing stored then).
 */
namespace zav::terraces::TerraceTotals {

/** @brief Whether a record source is one of terrace rooms (`SUP_COEFF_VOL`), the only rows computed. */
bool holdsRooms(const platform::DataSource &source);

/** @brief The totals of a unit's rooms, and where the computation stopped. */
struct UnitTotals
{
    QString surface = QStringLiteral("0"); ///< total text of `MQ`
    QString weighted = QStringLiteral("0"); ///< of `SUP_CONVENZIONALE`
    QString volume = QStringLiteral("0"); ///< of `VOLUME`
    /** The row of the room whose coefficient or height is not a number; none when all computed. */
    std::optional<int> stoppedAt;
    QString badField; ///< that room's field
    bool nonFinite = false; ///< an expression gave a division by zero
};

/**
 * @brief Computes the rooms of the unit a data source holds, in its order, and stores them. The
 * totals are sums of the values as written, each partial sum kept as total text. A room whose
 * coefficient or height is not a number stops the walk: the rooms before it are stored, with what
 * it got up to that step. The source is not re-read.
 */
UnitTotals computeUnit(const platform::DataSource &rooms, const TerraceRoom::Evaluator &evaluate = {});

/** @brief What a recomputation of a table did. */
struct TableRecount
{
    int rooms = 0;
    /** Rooms whose coefficient or height is not a number: their weighted surface and volume are
     * left empty. */
    int badRooms = 0;
    bool nonFinite = false;
};

/**
 * @brief Computes every room of the terrace table of this code, in stored order, and stores them;
 * the progress bar counts the rooms.
 */
TableRecount recomputeTable(const QString &archive, const QString &code, platform::Progress &progress,
    const TerraceRoom::Evaluator &evaluate = {});

} // namespace zav::terraces::TerraceTotals
