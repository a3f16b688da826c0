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
    /** @brief The column's total counted row by row as the label would show it, and the first row
     * whose cell could not be added. */
    virtual std::pair<QString, std::optional<int>> count() const = 0;
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
    /** @brief What a value that cannot be read or saved does. */
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
        NoProgress, ///< a pass could not bring the total closer (or needed no whole thousandth)
        Failed, ///< a value could not be read or saved, in an operation that stops
    };
    End end = End::Reached;
    int passes = 0;
    QString total; ///< the recomputed total, as the label shows it
    QString failure; ///< what failed, for End::Failed
};

/**
 * @brief Brings a column of thousandths to its target. From the total its label shows, each pass
 * counts the thousandths missing or in excess, adds or takes exactly 0.001 to as many rows from the
 * first, in one transaction, and counts the label again. It ends when the total is the target, and
 * also when it cannot get there (no rows, a pass that does not get closer, a value that cannot be
 * used under Errors::Stop). A lowering pass never takes a row below zero. Says nothing.
 */
BalanceOutcome balance(BalancedColumn &column, const BalanceRule &rule, const Decimal &target);

} // namespace zav::engine
