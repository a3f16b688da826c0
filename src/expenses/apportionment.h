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
 * thousandths field and a share field of the unit rows. Money is counted in cents: every amount is
 * taken rounded to the cent, and the units that pay it (those of its group whose thousandths read
 * as a number) share it in proportion to their thousandths, whatever these add up to: a unit's
 * exact share is the amount times its thousandths over the sum of the thousandths of the units
 * that pay. Each share is rounded to the cent; the cents by which the rounded shares miss the
 * amount (the residue, up or down) go one a unit, in table order from the group's first unit, to
 * the units rounded the other way. So the shares of every amount add up to it exactly, and each
 * lies within one cent of its exact share: 100 over 330, 330 and 330 is 33.34, 33.33 and 33.33.
 *
 * A unit on floor "T" pays no lift share: the lift's amount is shared by the units of the lift that
 * pay, in proportion to their thousandths. An amount that no unit pays (no unit in its group, or
 * their thousandths add up to 0, or all stand on floor "T") is apportioned to nobody, and said.
 *
 * Amounts and shares lie within ±MaxAmount and thousandths within ±MaxThousandths, so that no
 * share, sum or total can pass what Money holds. A value beyond them, or a share beyond them all
 * the same (thousandths of both signs that nearly cancel out), refuses the whole run: nothing is
 * written.
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
        /** Amounts that no unit pays, named ("Scala 1 A", "Ascensore 1 A"). */
        QStringList unapportioned;

        /** @brief Whether the run was refused (see tooLarge). */
        bool refused() const { return !tooLarge.isEmpty(); }
        /** @brief The message of a refused run: what was too large and what to do. */
        QString refusal() const;
        /** @brief The message on amounts apportioned to nobody; empty when there is none. */
        QString unapportionedText() const;

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

    /** @brief An amount rounded to the currency's two decimals. */
    static std::optional<Money> roundedAmount(double amount);
};

} // namespace zav::expenses
