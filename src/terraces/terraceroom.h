#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

namespace zav::terraces {

/**
 * @brief The values of one terrace room by field name (`ESPRESSIONE`, `MQ`, `COEFF_PIANO` ...
 * `COEFF_LIB2`, `SUP_CONVENZIONALE`, `H_PIANO`, `VOLUME`), as the room holds them: numbers held
 * as text, Null or empty when blank.
 */
using TerraceRoomValues = QHash<QString, QVariant>;

/**
 * @brief The computation of a terrace room: floor surface from its expression, weighted surface
 * from its eight coefficients, volume from its height.
 *
 * Each value is written as text with the decimal separator in force ("###0.0##" for the surface
 * and the volume, "##0.0###" for the weighted surface) and the next step reads that text back, so
 * that the volume is the product of the four-decimal weighted surface. An empty coefficient counts
 * 1. Unlike the workspace's rooms, an empty height is stored as "0" and gives the volume 0.
 */
class TerraceRoom
{
public:
    /** @brief The fields of the eight coefficients, in order. */
    static const QStringList &coefficientFields();

    /** @brief How far a computation goes. */
    enum class Scope {
        /** Only the surface (Enter in the expression): no value leaves `MQ` empty. */
        Surface,
        /** The whole room (the totals): no value gives `MQ` "0", an empty height becomes "0". */
        Whole,
    };

    /** @brief How a computation ended. */
    struct Outcome
    {
        /** The expression gave a value that is not a number (a division by zero). */
        bool nonFinite = false;
        /** The field whose text is not a number (a coefficient or the height); empty when none.
         * The computation stops there: the values of the later steps are left as they were. */
        QString badField;
        bool ok() const { return badField.isEmpty(); }
    };

    /** @brief The value of an expression (trimmed), none when it cannot be evaluated. */
    using Evaluator = std::function<std::optional<double>(const QString &)>;

    /**
     * @brief Computes a room in place. The evaluator defaults to the program's, which tells the
     * user itself why an expression cannot be evaluated; an expression with a comma gets no value
     * there, with a message, since the expressions write their decimals with the point.
     */
    static Outcome compute(TerraceRoomValues &room, Scope scope, const Evaluator &evaluate = {});

    /** @brief The fields compute() writes, in the order the room's columns hold them. */
    static const QStringList &writtenFields();
};

} // namespace zav::terraces
