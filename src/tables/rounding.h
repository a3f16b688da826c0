#pragma once

#include "engine/thousandthsbalance.h"

#include <QString>

#include <optional>

class QLabel;

namespace zav::platform {
class DataSource;
}

namespace zav::workspace {
class frm_ins_coeff;
}

namespace zav::tables {

/** @brief Exact decimals: the balancing's own, shared with every thousandths column. */
using Decimal = engine::Decimal;

/**
 * @brief One way of bringing a column of a thousandths view to its target: which field of the
 * view's rows is moved, which label holds its total, and the two rules that tell the operations
 * apart.
 */
struct RoundingStep
{
    using Zero = engine::BalanceRule::Zero;
    using Errors = engine::BalanceRule::Errors;

    QString field;
    int totalLabel = 20; ///< 16, 18 or 20
    Zero zero = Zero::Changed;
    Errors errors = Errors::Stop;
};

/** @brief How a column's bringing to its target ended. */
using RoundingOutcome = engine::BalanceOutcome;

/**
 * @brief Brings the thousandths column of the workspace's view to its total (the command
 * "Arrotonda"). One algorithm serves every view: from the total its label shows, each pass counts
 * the thousandths missing or in excess, adds or takes exactly 0.001 to as many rows from the top of
 * the view, and recounts the label as total text; the passes that change the same rows alike are
 * made at once (engine::BalancePlan). It ends when the total is the target, and also when it
 * cannot get there (no rows, a pass that does not get closer, a value that cannot be used in an
 * operation that stops): then it says so. A lowering pass never takes a row that holds 0 below it.
 *
 * A command is one transaction: the stair and lift views' three columns are written together, and
 * a value that stops the command, a total that cannot be reached or an archive that refuses the
 * writes (a full disk) leaves every value as it was. On the user-table view the total is typed: one
 * of 0 or less, or that is no number, is refused before anything changes.
 */
class Rounding
{
public:
    /**
     * @brief Brings one field of the rows of @p source to @p target, starting from the total
     * @p label shows and leaving the recomputed total there. Says nothing.
     */
    static RoundingOutcome bring(
        platform::DataSource &source, QLabel &label, const RoundingStep &step, const Decimal &target);
    /**
     * @brief Brings several fields of the rows of @p source to @p target as one command, each from
     * the total its own label shows: all are written in one transaction, or none. Says nothing.
     */
    static QList<RoundingOutcome> bringTogether(platform::DataSource &source,
        const QList<std::pair<QLabel *, RoundingStep>> &steps, const Decimal &target);

    /** @brief The operations of the workspace's thousandths views. */
    static void ARR_GLOBALI(workspace::frm_ins_coeff &form);
    static void ARR_PAL(workspace::frm_ins_coeff &form);
    static void ARR_SCALA(workspace::frm_ins_coeff &form);
    static void ARR_ASC(workspace::frm_ins_coeff &form);
    static void ARR_RISC(workspace::frm_ins_coeff &form);
    static void ARR_PORT(workspace::frm_ins_coeff &form);
    static void ARR_VARIE(workspace::frm_ins_coeff &form);
    static void ARR_PRIMA_META(workspace::frm_ins_coeff &form);
    static void ARR_SECONDA_META(workspace::frm_ins_coeff &form);
    static void ARR_SECONDA_META_ASC(workspace::frm_ins_coeff &form);

    /** @brief "Arrotonda": the operation of the workspace's selected tab (4 to 10); nothing on
     * another tab or without a workspace. */
    static void arrotonda();
    /** @brief Serves the main window's keys `arrotonda` and `tArrotonda`. */
    static void registerCommands();
};

} // namespace zav::tables
