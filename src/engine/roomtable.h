#pragma once

#include "engine/recalculation.h"
#include "platform/db.h"

#include <QVariantList>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace zav::engine {

/**
 * @brief The rooms of a project as the global recalculation works on them: read once, in stored
 * order, kept compactly (each room's values as the archive holds them, in one record) and chained
 * by unit key, so that a unit finds its rooms in stored order without a query of its own.
 *
 * A room belongs to a unit when its owner, building, stair and unit number equal the values the
 * rooms query binds for the unit, compared as the archive compares them: the three text fields
 * without regard to case for the letters A to Z (COLLATE NOCASE), the unit number as a number (3
 * equals 3.0) or, for a text, exactly; Null equals only Null.
 *
 * The new values of the rooms are kept here too until they are stored, in stored order.
 */
class RoomTable
{
public:
    /** @brief No room. */
    static constexpr quint32 none = 0xFFFFFFFFu;

    /** @brief The fields a room's new values are stored in, in this order. */
    static constexpr int newValueCount = 6;
    using NewValues = std::array<platform::FieldView, newValueCount>;

    RoomTable();
    ~RoomTable();
    RoomTable(const RoomTable &) = delete;
    RoomTable &operator=(const RoomTable &) = delete;

    /** @brief Reads every room of `ESPRESSIONI`; throws platform::DbError when they cannot be read. */
    void read(platform::Database &db);

    /**
     * @brief The first room of the unit with this key (the values of archive::roomsQuery's
     * conditions), none when it has no rooms; the next ones follow through next().
     */
    quint32 firstRoom(const QVariantList &unitKey);
    quint32 next(quint32 room) const { return m_rooms[room].next; }

    /** @brief Fills the working room with a room as stored, or with the new values it was given. */
    void load(quint32 room, RecalculationRoom &into) const;
    /** @brief Keeps a room's new values (MQ, TOT_COEF, H_PIANO, TOT_VOL, TOT_ESPRES_RAD, MQ_FINESTRA). */
    void setNewValues(quint32 room, const RecalculationRoom &values);
    /**
     * @brief Hands the rooms given new values to `store`, in stored order, with their rowid and
     * their values in the order of NewValues; then forgets the new values.
     */
    void takeNewValues(const std::function<void(qint64 rowid, const NewValues &values)> &store);

private:
    /** @brief Memory handed out in large blocks, all given back with the table. */
    class Arena
    {
    public:
        char *allocate(size_t size);

    private:
        std::vector<std::unique_ptr<char[]>> m_blocks;
        char *m_next = nullptr;
        size_t m_left = 0;
    };

    struct Room
    {
        qint64 rowid = 0;
        const char *record = nullptr;
        quint32 next = none;
    };
    /** @brief The rooms of one key, chained. */
    struct Chain
    {
        quint32 first = none;
        quint32 last = none;
    };

    void add(const platform::RowView &row);
    static bool unitKey(std::string &key, const QVariantList &values);

    Arena m_records;
    Arena m_newRecords;
    std::vector<Room> m_rooms;
    std::vector<const char *> m_newValues; ///< per room, its new values' record, or none
    std::vector<Chain> m_chains;
    std::unordered_map<std::string, quint32> m_chainOfKey;
    std::string m_key; ///< scratch, kept so that keys are built without allocating
    std::string m_record; ///< scratch of one room's new values
    std::string m_text; ///< scratch of one value
};

} // namespace zav::engine
