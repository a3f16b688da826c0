#pragma once

#include "engine/recalculation.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <array>
#include <functional>
#include <optional>

namespace zav::workspace {

/**
 * @brief One room of a unit as the totals read and write it: the fields of `ESPRESSIONI` that hold
 * its expressions, coefficients, height and derived values, each as the archive holds it (text,
 * number or Null).
 */
struct RoomCells
{
    qint64 rowid = -1;
    QVariant espressione; ///< surface expression (point as decimal mark)
    QVariant mq; ///< surface, "###0.0##"
    std::array<QVariant, 8> coef; ///< COEF1 to COEF8; an empty one counts as 1
    QVariant totCoef; ///< weighted surface, "##0.0###"
    QVariant hPiano; ///< room height
    QVariant totVol; ///< volume, "###0.0##"
    QVariant optRisc; ///< "S" for a heated room
    QVariant espresRad; ///< radiant surface expression
    QVariant totEspresRad; ///< radiant surface, "###0.0##"
    QVariant supFinestra; ///< window: an expression, or a code starting with "C" or "A"
    QVariant mqFinestra; ///< window area, "###0.0##"

    bool operator==(const RoomCells &other) const = default;

    /** @brief The field names, in the order `values()` gives them. */
    static const QStringList &fieldNames();
    /** @brief The fields in the order of fieldNames(). */
    QVariantList values() const;
    /** @brief A room from values in the order of fieldNames(). */
    static RoomCells fromValues(qint64 rowid, const QVector<QVariant> &values);
};

/** @brief The heating criterion of the project (`ANA_CONDO` fields 10, 11 and 16). */
using HeatingCriterion = engine::Recalculation::Heating;

/**
 * @brief The per-unit totals: every room of a unit recomputed from its expressions, coefficients
 * and height, and the unit's four totals, as the workspace shows and stores them.
 *
 * A pure calculation over the rooms in their stored order. Each room follows the rules of the
 * global recalculation (engine::Recalculation, the same code), read the workspace's way: an empty
 * expression or window counts as 0 and is written so, and radiant surfaces are recomputed only while
 * their column is shown, for the rooms that have one. The labels' totals are the workspace's own:
 * "Tot. Sup. Conv." is rounded to three decimals at every addition (so it can differ from the
 * recalculation's sum rounded once) and the totals are kept as the labels hold them, in total text.
 */
class UnitTotals
{
public:
    /** @brief Value of an expression; no value when it cannot be evaluated (already reported). */
    using Evaluator = std::function<std::optional<double>(const QString &)>;

    struct Input
    {
        /** The unit's own floor height; none when the unit has none. */
        std::optional<double> floorHeight;
        /** Whether the radiant surface column is shown: only then are radiant surfaces recomputed. */
        bool radiantShown = false;
        /** The heating criterion; none when the project has no `ANA_CONDO` record. */
        std::optional<HeatingCriterion> heating;
    };

    struct Result
    {
        /** The rooms recomputed, in order (all of them unless the pass stopped). */
        QVector<RoomCells> rooms;
        /** Total text of "Tot. Mq.", "Tot. Sup. Conv.", "Tot. Volume" and "Tot. Sup. Rad.". */
        QString totMq = QStringLiteral("0");
        QString totSupConv = QStringLiteral("0");
        QString totVolume = QStringLiteral("0");
        QString totSupRad = QStringLiteral("0");
        /** The unit's values as the global recalculation stores them: the workspace stores the
         * heated volume and the radiant sum from here, and its labels for the other two. */
        engine::Recalculation::UnitValues heating;
        /** The height used by the last room (the floor height, or 0, when there was none). */
        double lastHeight = 0.0;
        /** The project has no `ANA_CONDO` record: the pass stopped at its first room's heating. */
        bool stoppedWithoutHeader = false;
        /** Some value came out as a number that is not finite and was left empty. */
        bool nonFinite = false;

        /** @brief The four values stored in `CODIF_PIANI` (`TOT_SUP` to `TOT_RAD_RISC`), as numbers
         * (Null for one that is not a finite number). */
        std::array<QVariant, 4> storedTotals() const;
    };

    /** @brief Recomputes the rooms of a unit and its totals. */
    static Result compute(const QVector<RoomCells> &rooms, const Input &input, const Evaluator &evaluate);

    /** @brief What re-summing the surface column gives: the total, and the rows whose empty surface
     * becomes "0". */
    struct SurfaceSum
    {
        QString total = QStringLiteral("0");
        QVector<int> emptied;
    };
    /**
     * @brief "Tot. Mq." summed again from the surface cells: an empty cell becomes 0, and the sum
     * stops at the first cell that is not a number, keeping the rows before it.
     */
    static SurfaceSum sommaMq(const QVector<QVariant> &surfaces);
};

} // namespace zav::workspace
