#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace zav::platform {
class DataSource;
}

namespace zav::workspace {

/**
 * @brief Totals kept as text, as the workspace's value labels hold them: the decimal form of a
 * number rounded to 15 significant digits, trailing zeros and a trailing separator dropped, with
 * the decimal separator in force and no grouping ("0", "14,5", "999,999", "1000",
 * "1000000000000000", "0,0000001"). Never the exponent form, so a label always reads as a plain
 * number.
 *
 * A column is totalled row by row: every partial sum is written as total text and read back
 * before the next cell is added, so the total is rounded to 15 significant digits at each step
 * (333.333 + 333.333 + 333.334 gives exactly "1000"). The rounding commands read the labels back
 * the same way.
 */
class TotalText
{
public:
    /** @brief The total text of a number; the empty text for one that is not finite. */
    static QString of(double value);
    /** @brief A total text (or any number text) read under the separator in force; none when it is
     * not a number. */
    static std::optional<double> read(const QString &text);
    /**
     * @brief Adds a cell to a total kept as total text. A cell that is empty or is not a number, a
     * total that does not read as a number, or a sum that is not finite leave the total as it was
     * and give false.
     */
    static bool add(QString &total, const QVariant &cell);

    /**
     * @brief A total summed cell by cell as add() sums it into its text, each partial sum rounded to
     * its text's number, but with only the last sum written as text (a column of many rows).
     */
    class Running
    {
    public:
        /** @brief Adds a cell as add() adds it to the total's text; false when the total stays. */
        bool add(const QVariant &cell);
        /** @brief The total's text. */
        QString text() const;

    private:
        double m_value = 0; ///< the number the total's text reads as
        std::optional<double> m_sum; ///< the sum the total's text was written from; none for "0"
        bool m_unreadable = false; ///< the total's text does not read as a number
    };

    /**
     * @brief The totals of some fields over every row of a data source, in its order, each started
     * from "0" and summed by add(). A field the source lacks totals "0".
     */
    static QStringList columnTotals(const platform::DataSource &source, const QStringList &fields);
};

} // namespace zav::workspace
