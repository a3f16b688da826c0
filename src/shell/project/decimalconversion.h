#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace zav::shell {

/**
 * @brief Rewrites the numbers held as text in an archive from one decimal separator to the other:
 * the coefficient tables, the window table and the rooms table, field by field.
 *
 * Every comma becomes a point, or every point a comma, in each non-empty text of the fields
 * converted, whatever else the text holds; the other characters stay. The whole conversion runs
 * in one transaction; a table that cannot be converted (missing, or short of fields) is left as it
 * was and named in the result, and the others are converted all the same.
 */
class DecimalConversion
{
public:
    enum class Direction { CommaToPoint, PointToComma };

    /** @brief A table converted and the positions of its fields that are rewritten. */
    struct Table
    {
        QString name;
        QList<int> positions;
    };

    /** @brief What a conversion did. */
    struct Result
    {
        /** Tables left as they were, in the order they were met. */
        QStringList failedTables;
        bool complete() const { return failedTables.isEmpty(); }
    };

    /**
     * @brief The ten tables, in the order they are converted: "TAB_COEF" to "TAB_COEF8" with their
     * seven coefficient columns `TAB_A` to `TAB_G` (positions 1 to 7; the description and the column
     * in use are no numbers), "TAB_WINDOW" with `COEFF` (1) and "ESPRESSIONI" with positions 3 to 21
     * but the radiant surface expression (18) and the window dimension (20), which always use the
     * point.
     */
    static const QList<Table> &tables();

    /** @brief The direction that brings numbers to a separator: ',' PointToComma, '.' CommaToPoint. */
    static Direction towards(QChar separator);

    /**
     * @brief Whether the coefficient tables and the window table of an archive hold numbers written
     * with the separator other than `separator`: some value holds the other separator and none of
     * this one ("0,84" under the point). Tables the archive lacks are passed over. Throws DbError
     * when the archive cannot be read.
     */
    static bool holdsOtherSeparator(const QString &path, QChar separator);

    /** @brief A text with every separator of the direction swapped. */
    static QString swapSeparator(const QString &text, Direction direction);

    /**
     * @brief Converts the archive at this path. `afterTable` runs after each table with its index in
     * tables(), whether the table was converted or not. Throws DbError when the archive cannot be
     * opened or the conversion cannot be committed; then nothing is converted.
     */
    static Result convertArchive(
        const QString &path, Direction direction, const std::function<void(int table)> &afterTable = {});
};

} // namespace zav::shell
