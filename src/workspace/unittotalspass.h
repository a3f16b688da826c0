#pragma once

#include "platform/db.h"
#include "workspace/unitkey.h"
#include "workspace/unittotals.h"

#include <optional>

namespace zav::workspace {

/**
 * @brief The per-unit totals of one unit of a project archive: reads the unit's rooms and the
 * project's heating criterion, recomputes them (UnitTotals), writes the rooms back and stores the
 * unit's four totals in positions 11 to 14 of its `CODIF_PIANI` row.
 *
 * The caller owns the connection and the transaction and shows the messages; store() is the
 * workspace's way of running it: one transaction, and the messages of each outcome.
 */
class UnitTotalsPass
{
public:
    enum class Outcome {
        Stored, ///< rooms written and the totals stored
        NoHeader, ///< the project has no `ANA_CONDO` record: only the first room written, no totals
        NoUnitRow ///< rooms written, but no `CODIF_PIANI` row has the unit's key
    };

    struct Options
    {
        /** The unit's own floor height; none when it has none. */
        std::optional<double> floorHeight;
        /** Whether the radiant surface column is shown. */
        bool radiantShown = false;
        /** Evaluates expressions; the shared evaluator when empty. */
        UnitTotals::Evaluator evaluate;
    };

    UnitTotalsPass(platform::Database &db, const UnitKey &key);

    /** @brief Runs the pass inside the caller's transaction; throws platform::DbError when the
     * rooms or the unit row cannot be read or written. */
    Outcome run(const Options &options);
    /** @brief The rooms and totals as the pass left them. */
    const UnitTotals::Result &result() const { return m_result; }

    /**
     * @brief Recomputes and stores the totals of a unit of the archive at this path in one
     * transaction, then says what went wrong, if anything: a project without its header record,
     * a unit whose row is not found, a value that was not a finite number, an archive that could
     * not be written. Returns the pass's result, or none when nothing was stored or written.
     */
    static std::optional<UnitTotals::Result> store(
        const QString &archive, const UnitKey &key, const Options &options);

private:
    platform::Database &m_db;
    UnitKey m_key;
    UnitTotals::Result m_result;
};

} // namespace zav::workspace
