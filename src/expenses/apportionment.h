#pragma once

#include "expenses/money.h"
#include "platform/db.h"

#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <array>
#include <optional>

namespace zav::expenses {

/**
 * @brief The apportionment of the expense archive's amounts among its units ("Calcola Spese").
 *
 * Six kinds of expense, each with an amount (or one amount per building, stair or lift), a
 * thousandths field and a share field of the unit rows. A share is the unit's thousandths times
 * the amount divided by 1000, computed in double and rounded to one decimal; from there on every
 * share, sum, residue and step is Money. The rounding residue of each amount is spread in steps of
 * one currency unit over the units that weigh in it (thousandths other than 0; for the lift, not
 * on floor "T"), one step each in table order, the last of them taking the steps beyond them.
 * General, heating, porter's lodge and building residues below 1 are not spread (negative ones
 * included); stair and lift residues are spread up or down unless the stair's shares add up to 0.
 *
 * A unit on floor "T" pays no lift share. What such units would pay (their lift thousandths times
 * the amount over 1000) goes to the units of the same lift that pay, in proportion to their lift
 * thousandths, before rounding; so only the rounding residue is left to spread. A lift with an
 * amount whose units all stand on floor "T" (or weigh nothing) is apportioned to nobody, and said.
 *
 * Amounts and shares lie within ±MaxAmount and thousandths within ±MaxThousandths, so that no
 * share, sum or total can pass what Money holds. A value beyond them, or a sum that would pass
 * Money all the same (many units of huge thousandths), refuses the whole run: nothing is written.
 *
 * Each run computes afresh: a unit that takes part in a kind whose thousandths or amount is empty
 * or not a number gets an empty share. A unit that no building, stair or lift row matches keeps
 * its share, as do all units for a kind whose amount row (general, heating, porter's lodge) is
 * missing. Totals add up the six shares, an empty one counting 0.
 */
class Apportionment
{
public:
    /** @brief The kinds, in the order their shares are computed. */
    enum Kind { General, Heating, Porter, Building, Stair, Lift };
    static constexpr int KindCount = 6;

    /** @brief The greatest amount or share, of either sign, that is typed or apportioned. */
    static constexpr double MaxAmount = 1e11;
    /** @brief The greatest thousandths value, of either sign, that is typed or apportioned. */
    static constexpr double MaxThousandths = 1e6;

    /**
     * @brief Why a value typed for an amount or a share cannot be taken: an Italian message that
     * says what to do. Empty when it can, and for text that is no number (the grid refuses that).
     */
    static QString amountProblem(const QVariant &typed);
    /** @brief As amountProblem(), for a thousandths value. */
    static QString thousandthsProblem(const QVariant &typed);

    /** @brief The share field of a kind (`TAB_A` ... `TAB_F`). */
    static QLatin1String shareField(Kind kind);
    /** @brief The thousandths field of a kind (`millesimi_generali` ...). */
    static QLatin1String thousandthsField(Kind kind);

    /** @brief A unit row as stored: the values are read as they are held. */
    struct Unit
    {
        QVariant building; ///< `PAL`
        QVariant stair; ///< `SCALA`
        QVariant floor; ///< `PIANO`
        std::array<QVariant, KindCount> thousandths; ///< by Kind
        std::array<QVariant, KindCount> shares; ///< by Kind, as the last run left them
    };

    /** @brief A row of an amount table. */
    struct AmountRow
    {
        QVariant building; ///< `PALAZZINA` (building, stair and lift rows)
        QVariant stair; ///< `SCALA` (stair and lift rows)
        QVariant amount; ///< `importo`
        QVariant label; ///< `tabella` (general rows)
    };

    /** @brief What the apportionment reads; an amount table the archive lacks has no value. */
    struct Input
    {
        QVector<Unit> units;
        std::optional<QVector<AmountRow>> general; ///< `TAB_SPESE3`: rows 1, 2, 3 by position
        std::optional<QVector<AmountRow>> buildings; ///< `TAB_SPESE1`
        std::optional<QVector<AmountRow>> stairs; ///< `TAB_SPESE2`
        std::optional<QVector<AmountRow>> lifts; ///< `TAB_SPESE4`
    };

    /** @brief One share after the run: its value (none = empty) and whether the run writes it. */
    struct Share
    {
        std::optional<Money> value;
        bool written = false;
    };

    /** @brief The shares and totals of every unit, and what could not be read. */
    struct Result
    {
        QVector<std::array<Share, KindCount>> shares; ///< per unit, by Kind
        QVector<Money> totals; ///< per unit
        QStringList badAmounts; ///< amounts that are not numbers, named ("Spese generali", "Palazzina 2")
        int badThousandths = 0; ///< thousandths values that are not numbers
        QStringList missingTables; ///< amount tables the archive lacks
        /**
         * Values beyond the limits and sums beyond what Money holds, each said in Italian; when
         * there is any, the run writes nothing.
         */
        QStringList tooLarge;
        /** Lifts with an amount that none of their units pays ("Ascensore 1 A"). */
        QStringList unpaidLifts;

        /** @brief Whether the run was refused (see tooLarge). */
        bool refused() const { return !tooLarge.isEmpty(); }
        /** @brief The message of a refused run: what was too large and what to do. */
        QString refusal() const;
        /** @brief The message on lift amounts apportioned to nobody; empty when there is none. */
        QString unpaidLiftsText() const;

        /**
         * @brief The line that follows "Calcolo Effettuato": amounts that are not numbers, the count
         * of thousandths that are not numbers, missing tables, no unit rows; empty when all was read.
         */
        QString notes() const;
    };

    /** @brief The apportionment itself: no database, no message. */
    static Result compute(const Input &input);

    /**
     * @brief Reads the archive's unit and amount tables, computes and writes every unit's shares
     * and total, in one transaction; a refused run writes nothing. DbError when the unit rows
     * cannot be read or written.
     */
    static Result run(platform::Database &archive);

    /** @brief A share: thousandths times amount over 1000, in double, rounded to one decimal. */
    static std::optional<Money> share(double thousandths, double amount);
    /** @brief A share worked out in double, rounded to one decimal; none beyond what Money holds. */
    static std::optional<Money> roundedShare(double value);
    /** @brief An amount rounded to the currency's two decimals. */
    static std::optional<Money> roundedAmount(double amount);
};

} // namespace zav::expenses
