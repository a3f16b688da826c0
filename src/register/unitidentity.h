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

/** @brief A unit's identity as the user types it: each value as text. */
struct UnitIdentity
{
    QString owner;
    QString description;
    QString building;
    QString stair;
    QString floorCode;
    QString interno;
};

/**
 * @brief Gives a unit of the register a new owner, description, building, stair, floor code and
 * unit number, and carries the new identity into every table that keys rows by the unit: its rooms
 * in `ESPRESSIONI`, its rows in each user thousandths table listed in `NEW_TAB`, and last its own row
 * of `CODIF_PIANI`.
 *
 * Every query selects by the identity the unit row holds when the change starts. The new identity
 * is checked in full before anything is written, and the writes stand or fall together.
 */
class IdentityChange
{
public:
    /** @brief What became of a change. */
    enum class Result {
        Changed, ///< everything written and committed
        Refused, ///< the new identity does not hold; nothing written
        Failed ///< a read or write failed; nothing changed
    };
    struct Outcome
    {
        Result result = Result::Changed;
        QString message; ///< the reason of a refusal or the failure said for the user
    };

    // The longest texts that every table the identity goes into holds.
    static constexpr int OwnerLength = 150;
    static constexpr int DescriptionLength = 70;
    static constexpr int BuildingLength = 3;
    static constexpr int StairLength = 10;
    static constexpr int FloorCodeLength = 3;

    /** @brief Checks and applies a change to the unit row with this rowid, in one transaction. */
    static Outcome run(const QString &archive, qint64 unitRow, const UnitIdentity &changed);

    /**
     * @brief Why the new identity cannot be written, or nothing: the building must exist, the stair
     * must be one of that building (or "Nessuna"), the unit number written in digits alone ("2.0",
     * "1.000" and "-1" are refused, not read as 20, 1000 or -1) and held by a 16-bit field, the owner not
     * empty, every text short enough for each field it goes into, and no other unit may hold the same owner,
     * building, stair and unit number. DbError when the archive cannot be read.
     */
    static std::optional<QString> refusal(
        platform::Database &db, qint64 unitRow, const UnitIdentity &changed);

    /**
     * @brief Writes a checked identity: rooms, user tables, unit row. A user table listed in
     * `NEW_TAB` that does not exist, has a name not allowed or lacks the fields of a user table is
     * passed over; any other failure throws DbError. The caller owns the transaction.
     */
    static void apply(platform::Database &db, qint64 unitRow, const UnitIdentity &changed);

    /**
     * @brief The fields of `CODIF_PIANI` that a checked identity writes, as field name / value pairs:
     * owner, description, building, stair, floor code, unit number, and the floor position when the
     * floor code has one.
     */
    static QList<std::pair<QString, QVariant>> unitRowValues(const UnitIdentity &changed);
};

} // namespace zav::register_
