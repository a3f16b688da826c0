#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>
#include <utility>

namespace zav::platform {
class Database;
}

namespace zav::register_ {

/** @brief A height that starts at start + step and goes up by the step from one row to the next. */
struct SteppedHeight
{
    double start = 0.0;
    double step = 0.0;
};

/**
 * @brief The values that the bulk panel writes into units: each one is set only when its box is
 * ticked (an empty optional leaves the field alone).
 */
struct BulkValues
{
    std::optional<QString> owner;
    std::optional<QString> floorCode;
    std::optional<qint64> firstInterno; ///< the first new unit's number; the next ones follow it
    std::optional<SteppedHeight> groundHeight;
    std::optional<double> floorHeight;
    std::optional<SteppedHeight> liftHeight;
    std::optional<QString> description;
};

/**
 * @brief Writes chosen values into many register rows at once, or adds new units that carry them,
 * with heights that go up by a step and consecutive unit numbers from one unit to the next. Only
 * `CODIF_PIANI` is written: rooms and user tables are not touched.
 *
 * The running values are kept by repeated addition: the first value, then the step added once
 * after each row. A floor code that has a floor position also sets the row's position.
 */
class BulkChange
{
public:
    using Fields = QList<std::pair<QString, QVariant>>;

    /** @brief No more new units than this in one go. */
    static constexpr qint64 MostDuplicates = 100000;
    /** @brief Above this many new units the user is asked first. */
    static constexpr qint64 DuplicatesWithoutAsking = 1000;

    explicit BulkChange(const BulkValues &values);

    /** @brief The fields of the next row, in the order the boxes come; then the running values step on. */
    Fields nextRow();

    /** @brief Writes the values into these rows of `CODIF_PIANI`, in this order. DbError on failure. */
    static void modify(platform::Database &db, const QList<qint64> &rows, const BulkValues &values);
    /**
     * @brief Adds `count` units to a building and stair carrying the values; returns their rowids.
     * DbError on failure.
     */
    static QList<qint64> duplicate(platform::Database &db, qint64 building, const QString &stair,
        qint64 count, const BulkValues &values);

    /**
     * @brief A number typed into a step, start, height or unit-number box, read in the system's
     * number format (CDbl: a grouping mark only between groups of three digits, so "0,5" under the
     * point is no number rather than 5). A text that is not a number or lies beyond the doubles gives
     * no value; the empty text gives no value either.
     */
    static std::optional<double> boxNumber(const QString &typed);
    /**
     * @brief The number of new units: a whole number written with digits only (blanks around it
     * aside), from 1 to MostDuplicates. No value for anything else ("1.000", "2,5", "12abc", "&H10",
     * "-5", "0"): a count is never read as the number its first characters make.
     */
    static std::optional<qint64> duplicateCount(const QString &typed);
    /**
     * @brief The first new unit's number: the typed number + 1, rounded with halves to even; no value
     * for a number too large to be a unit number at all.
     */
    static std::optional<qint64> firstUnitNumber(double typed);

private:
    BulkValues m_values;
    std::optional<double> m_ground;
    std::optional<double> m_lift;
    std::optional<qint64> m_interno;
};

} // namespace zav::register_
