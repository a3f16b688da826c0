#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace zav::engine {

/**
 * @brief A decimal number held exactly: `units` × 10^−`scale`. Thousandths are moved by exactly
 * 0.001 in this form, so no binary drift ever reaches a stored value or a total.
 */
struct Decimal
{
    qint64 units = 0;
    int scale = 0;
    /** @brief A number read from its shortest decimal form (15 significant digits); none when it
     * is not finite or too large to hold. */
    static std::optional<Decimal> of(double value);
    /** @brief The number plus @p thousandths × 0.001; none on overflow. */
    std::optional<Decimal> plusThousandths(qint64 thousandths) const;
    /** @brief The difference @p a − @p b in thousandths, rounded half away from zero. */
    static std::optional<qint64> thousandthsBetween(const Decimal &a, const Decimal &b);
    /** @brief The double nearest to the decimal. */
    double toDouble() const;
    /** @brief Plain decimal text with "." as its mark ("1000.004", "-0.5"). */
    QString text() const;
};

/**
 * @brief A column of thousandths on view, as the balancing sees it: its rows (re-read on demand,
 * first row first), the value of each, where a changed value is stored, and the total that a label
 * shows for it.
 */
class BalancedColumn
{
public:
    virtual ~BalancedColumn() = default;
    /** @brief The total the label shows, as text. */
    virtual QString shownTotal() const = 0;
    /** @brief A total text read as a number; none when it is not one. */
    virtual std::optional<double> read(const QString &total) const = 0;
    /** @brief These cells counted one after the other as the label would show their total, and the
     * first cell that could not be added. */
    virtual std::pair<QString, std::optional<int>> count(const QVariantList &cells) const = 0;
    /** @brief Shows a total in the label. */
    virtual void show(const QString &total) = 0;
    /** @brief Reads the rows again, in the view's order. */
    virtual void reread() = 0;
    /** @brief Whether the rows have the column's field. */
    virtual bool hasField() const = 0;
    virtual QString field() const = 0;
    virtual int rowCount() const = 0;
    /** @brief The value of a row's cell as held. */
    virtual QVariant value(int row) const = 0;
    virtual qint64 rowid(int row) const = 0;
    /** @brief The database file and table the rows are stored in. */
    virtual QString database() const = 0;
    virtual QString table() const = 0;
};

/** @brief The rules that tell one balancing from another. */
struct BalanceRule
{
    /** @brief What a pass does with a row that holds 0. */
    enum class Zero {
        Changed, ///< raised like any other row
        LeftUnchanged, ///< counted, left at 0, in a raising pass
    };
    /** @brief What a value that cannot be read does. */
    enum class Errors {
        Stop, ///< ends the operation, which says so
        Continue, ///< the row is left as it was and the walk goes on
    };
    Zero zero = Zero::Changed;
    Errors errors = Errors::Stop;
};

/** @brief How a balancing ended. */
struct BalanceOutcome
{
    enum class End {
        Reached, ///< the total is the target
        NoRows, ///< the view shows no rows
        NoProgress, ///< a pass could not bring the total closer (or needed no whole thousandth): nothing was
                    ///< written
        Failed, ///< a value could not be read, in an operation that stops: nothing was written
        NotWritten, ///< the archive refused the new values (disk full, read-only ...): nothing was written
    };
    End end = End::Reached;
    qint64 passes = 0; ///< as many as the passes one by one would make
    QString total; ///< the recomputed total, as the label shows it
    QString failure; ///< what failed, for End::Failed and End::NotWritten
};

/**
 * @brief What balancing a column comes to, worked out on its rows as read, before anything is
 * written: how it ends, and the new value of each row it changes.
 *
 * The rule is that of passes: from the total its label shows, each pass counts the thousandths
 * missing or in excess, adds or takes exactly 0.001 to as many rows from the first, and counts the
 * column again; it ends when the total is the target, and also when it cannot get there (no rows,
 * a pass that does not get closer, a value that cannot be used under Errors::Stop). A lowering pass
 * never takes a row below zero. Passes that change the same rows alike (the rows outnumbered by
 * the thousandths to move) are made at once, as many as the gap needs, so a gap of any size costs
 * about one walk of the rows; the values are those the passes one by one would give.
 */
struct BalancePlan
{
    BalanceOutcome outcome; ///< its total is the column's total once the changes are made
    QList<std::pair<qint64, double>> changes; ///< rowid and new value, each changed row once
    QString table;
    QString field;

    static BalancePlan of(const BalancedColumn &column, const BalanceRule &rule, const Decimal &target);
};

/** @brief A column of a view, with its rule and target, to be balanced with others as one command. */
struct BalanceJob
{
    BalancedColumn *column = nullptr;
    BalanceRule rule;
    Decimal target;
};

/**
 * @brief Balances columns of one view as one command, all or nothing: each is planned, then the
 * changes of all are written in one transaction on the view's archive. When a plan fails
 * (End::Failed) or cannot reach its target (End::NoProgress), or the archive refuses the writes
 * (End::NotWritten, said as databaseFailureText() says it), nothing is written and every outcome
 * says so. The rows are then read again and each label shows its column's total. Says nothing.
 */
QList<BalanceOutcome> balanceTogether(const QList<BalanceJob> &jobs);

/** @brief Balances one column as one command (balanceTogether() of one job). */
BalanceOutcome balance(BalancedColumn &column, const BalanceRule &rule, const Decimal &target);

} // namespace zav::engine
