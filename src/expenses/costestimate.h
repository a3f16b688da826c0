#pragma once

#include "platform/db.h"

#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace zav::expenses {

/**
 * @brief The cost estimate: the file "new.mdb" of the program folder, with the units of the
 * estimate (`preventivo`, typed by the user) and the five amounts to split (`TOTALI`, one row).
 *
 * Each unit gets its percentage of five bases (urban, covered and useful surface, volume, presumed
 * cost); each amount is then split by those percentages. The operations take their database and
 * throw platform::DbError for a failure of the database; bad data stops a command at its row, and
 * the rows stored before it keep their new values.
 */
class CostEstimate
{
public:
    static constexpr QLatin1String FileName { "new.mdb" };
    static constexpr QLatin1String Units { "preventivo" };
    static constexpr QLatin1String Totals { "TOTALI" };

    /** @brief One base: its fields and the captions of its grid columns. */
    struct Base
    {
        QString base; ///< the unit's quantity (`sup_urba` ...)
        QString percentage; ///< its share, in percent (`perc_sup_urba` ...)
        QString cost; ///< its part of the amount (`COSTO_SUP_URBA` ...)
        QString baseCaption;
        QString costCaption;
        QString amount; ///< the field of `TOTALI` holding the amount to split
    };
    /** @brief The five bases, in the order of the grid and of `TOTALI`. */
    static const std::array<Base, 5> &bases();

    /** @brief The estimate database of the program folder, found without regard to case. */
    static QString path();

    /** @brief Adds the row of five zeros to an empty `TOTALI` (by position); true when it did. */
    static bool ensureTotalsRow(platform::Database &db);

    /** @brief Where and why a command stopped. */
    struct Stop
    {
        int row = 0; ///< counted from 1
        QString column; ///< the caption of the column, as the grid shows it
        QString reason;
        /** @brief The whole message: row, column and reason. */
        QString message() const;
    };

    /** @brief What "CALC. PERC." leaves in its ten labels, in the order of the bases. */
    struct Percentages
    {
        std::array<QString, 5> columnTotals; ///< the surfaces and the volume plain, the cost in currency
        std::array<QString, 5> percentageTotals; ///< plain numbers
        std::optional<Stop> stop;
    };
    /**
     * @brief "CALC. PERC.": three passes over the units. The column totals are kept as the text
     * the labels show, the cost's in currency format after every row, and the percentages divide by
     * those texts read back; each percentage is stored rounded to four decimals. A total of 0 or an
     * empty value stops the command at its row.
     */
    static Percentages percentages(platform::Database &db);

    /**
     * @brief "Ripartizione": every unit's five costs from the amounts typed (texts read as
     * currency amounts, for every row) and its percentages, stored unrounded. A text that is not
     * an amount, or an empty percentage, stops the command at its row.
     */
    static std::optional<Stop> split(platform::Database &db, const std::array<QString, 5> &amounts);

    /**
     * @brief "CTRL": the currency total of the texts of the grid's column "Costo Sup. cop.", one a
     * row; an empty text or one that is not an amount stops at its row (the total has no value).
     */
    struct Check
    {
        double total = 0.0;
        std::optional<Stop> stop;
    };
    static Check check(const QStringList &coveredCosts);

    /** @brief "ELIMINA TUTTO": deletes every unit; returns how many. */
    static int empty(platform::Database &db);
};

} // namespace zav::expenses
