#pragma once

#include <QList>
#include <QVariant>

#include <optional>

namespace zav::workspace {
class frm_ins_coeff;
}

namespace zav::tables {

/**
 * @brief The weights of the user table shown in the workspace: zeroing them (`azzera`) and
 * computing the thousandths from them (`calc_mil_tab`).
 *
 * Each thousandth is the unit's part of a total the user gives, in proportion to its weight,
 * written with at most three decimals; a unit without weight keeps its thousandths. Weights that
 * cannot be shares (a negative one, a sum of 0 or less, a sum beyond the doubles) and a typed total
 * that is no number above 0 are refused with a message before anything changes. Every operation
 * writes the table in one transaction: a row that cannot be written ends it with every value kept.
 */
class Weights
{
public:
    /** @brief What the weights of some rows give for a total. */
    struct Shares
    {
        enum class Refusal {
            Negative, ///< a weight below 0
            NoWeight, ///< the weights add up to 0
            TooLarge, ///< the weights, or a share of the total, lie beyond the doubles
        };
        std::optional<Refusal> refused;
        /** One entry per row: the new thousandths, none for a row that keeps its own. */
        QList<std::optional<double>> thousandths;
    };

    /**
     * @brief The thousandths of weights @p weights (Null or not a number counts as no weight) for
     * the total @p total: weight × total ÷ sum of the weights, written with "###0.0##" and read
     * back. A row whose weight is 0 or none keeps its thousandths.
     */
    static Shares shares(const QList<QVariant> &weights, double total);

    /** @brief Zeroes every weight of the user table shown ("Azzera Input"). */
    static void azzera(workspace::frm_ins_coeff &form);
    /** @brief Computes the thousandths of the user table shown from its weights ("Calc. Mil. Tab."). */
    static void calc_mil_tab(workspace::frm_ins_coeff &form);

    /** @brief `azzera` on the open workspace; nothing without one. */
    static void azzeraCommand();
    /** @brief `calc_mil_tab` on the open workspace; nothing without one. */
    static void calcMilTabCommand();
};

} // namespace zav::tables
