#include "terraces/terracetotals.h"

#include "platform/db.h"
#include "platform/progress.h"
#include "platform/ui/datasource.h"
#include "terraces/terracearchive.h"
#include "workspace/totaltext.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace zav::terraces::TerraceTotals {

using platform::Database;
using workspace::TotalText;

namespace {

// The fields a computation reads, besides those it writes.
const QStringList &readFields()
{
    static const QStringList fields = [] {
        QStringList list { QStringLiteral("ESPRESSIONE"), QStringLiteral("H_PIANO") };
        list << TerraceRoom::coefficientFields();
        return list;
    }();
    return fields;
}

// Empty text is stored as Null, as a cleared cell is.
QVariant stored(const QVariant &value)
{
    return value.isNull() || value.toString().isEmpty() ? QVariant() : value;
}

// What a computed room writes: the fields a computation writes, as stored, then the room's rowid.
QVariantList writtenValues(const TerraceRoomValues &room, qint64 rowid)
{
    QVariantList values;
    values.reserve(TerraceRoom::writtenFields().size() + 1);
    for (const QString &field : TerraceRoom::writtenFields())
        values << stored(room.value(field));
    values << rowid;
    return values;
}

class RoomWriter
{
public:
    explicit RoomWriter(Database &db)
        : m_update(db.prepare(QStringLiteral("UPDATE SUP_COEFF_VOL SET MQ = ?, SUP_CONVENZIONALE = ?, "
                                             "H_PIANO = ?, VOLUME = ? WHERE rowid = ?")))
    {
    }
    /** Writes a room's writtenValues(). */
    void write(const QVariantList &values) { m_update.exec(values); }

private:
    platform::Statement m_update;
};

} // namespace

bool holdsRooms(const platform::DataSource &source)
{
    return source.recordSource().table.compare(terracearchive::SUP_COEFF_VOL, Qt::CaseInsensitive) == 0;
}

UnitTotals computeUnit(const platform::DataSource &rooms, const TerraceRoom::Evaluator &evaluate)
{
    UnitTotals totals;
    if (!holdsRooms(rooms) || rooms.recordCount() == 0)
        return totals;
    Database db = Database::open(rooms.databaseName());
    platform::Transaction transaction = db.transaction();
    RoomWriter writer(db);
    QStringList fields = readFields();
    fields << TerraceRoom::writtenFields();
    for (int row = 0; row < rooms.recordCount(); ++row) {
        TerraceRoomValues room;
        for (const QString &field : fields)
            room.insert(field, rooms.value(row, field));
        const TerraceRoom::Outcome outcome = TerraceRoom::compute(room, TerraceRoom::Scope::Whole, evaluate);
        totals.nonFinite = totals.nonFinite || outcome.nonFinite;
        // Each total takes the room's value as far as the room got.
        TotalText::add(totals.surface, room.value(QStringLiteral("MQ")));
        const bool weightedDone = outcome.ok() || outcome.badField == QLatin1String("H_PIANO");
        if (weightedDone)
            TotalText::add(totals.weighted, room.value(QStringLiteral("SUP_CONVENZIONALE")));
        if (outcome.ok())
            TotalText::add(totals.volume, room.value(QStringLiteral("VOLUME")));
        writer.write(writtenValues(room, rooms.rowid(row)));
        if (!outcome.ok()) {
            totals.stoppedAt = row;
            totals.badField = outcome.badField;
            break;
        }
    }
    transaction.commit();
    return totals;
}

TableRecount recomputeTable(const QString &archive, const QString &code, platform::Progress &progress,
    const TerraceRoom::Evaluator &evaluate)
{
    TableRecount recount;
    Database db = Database::open(archive);
    QStringList fields = readFields();
    fields << TerraceRoom::writtenFields();
    // The rooms are read and written in one transaction, so that no other change comes between.
    // Each room is computed as it is read, with only the fields a computation uses; what it
    // writes is kept, and written once every room is computed. Every room of the table is
    // rewritten: room for all their pages, so that none is written twice.
    db.setPageCacheLimit(Database::BulkPageCacheKiB);
    platform::Transaction transaction = db.transaction();
    const qint64 expected = db.query(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE CODICE IS ?")
                                         .arg(terracearchive::SUP_COEFF_VOL),
                                  { code })
                                .value(0, 0)
                                .toLongLong();
    progress.setMaximum(int(std::clamp<qint64>(expected, 1, std::numeric_limits<int>::max())));
    progress.setValue(0);
    std::vector<QVariantList> computed; // per room, its writtenValues()
    computed.reserve(std::size_t(std::max<qint64>(expected, 0)));
    // One record for every room: its keys stay, its values are replaced room after room.
    TerraceRoomValues room;
    db.prepare(QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY rowid")
                   .arg(fields.join(QStringLiteral(", ")), terracearchive::roomsOfTableSource(db, code)))
        .forEach({ code }, [&](const platform::RowView &row) {
            for (int i = 0; i < fields.size(); ++i)
                room[fields.at(i)] = row.field(i + 1).toVariant();
            const TerraceRoom::Outcome outcome
                = TerraceRoom::compute(room, TerraceRoom::Scope::Whole, evaluate);
            recount.nonFinite = recount.nonFinite || outcome.nonFinite;
            if (!outcome.ok()) {
                // Never a value left from before, nor another room's.
                room.insert(QStringLiteral("SUP_CONVENZIONALE"), QString());
                room.insert(QStringLiteral("VOLUME"), QString());
                ++recount.badRooms;
            }
            computed.push_back(writtenValues(room, row.field(0).integer));
            ++recount.rooms;
            progress.setValue(int(std::min<qint64>(recount.rooms, std::numeric_limits<int>::max())));
        });

    RoomWriter writer(db);
    for (const QVariantList &values : computed)
        writer.write(values);
    transaction.commit();
    return recount;
}

} // namespace zav::terraces::TerraceTotals
