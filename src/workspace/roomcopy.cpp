#include "workspace/roomcopy.h"

#include "engine/archive.h"
#include "engine/archivevalues.h"
#include "platform/db.h"

namespace zav::workspace {

using engine::ArchiveValues;

namespace {

// The unit number as the number field holds it; an empty one stays empty.
QVariant unitNumber(const QString &interno)
{
    if (const std::optional<qint64> whole = ArchiveValues::wholeNumber(interno))
        return qlonglong(*whole);
    return ArchiveValues::field(ArchiveValues::number(interno));
}

} // namespace

int RoomCopy::copy(const QString &archive, const UnitKey &source, const UnitKey &target)
{
    platform::Database db = platform::Database::open(archive);
    const platform::Recordset rooms = db.select(source.rooms());
    if (rooms.isEmpty())
        return 0;

    // The fields that say whose room it is come from the target; the rest from the source room.
    const QList<std::pair<QString, QVariant>> key = { { QStringLiteral("NOME_CONDOMINO"), target.owner },
        { QStringLiteral("PALAZ"), target.building }, { QStringLiteral("SCALA"), target.stair },
        { QStringLiteral("INTERNO"), unitNumber(target.interno) },
        { QStringLiteral("PIANO"), target.floorCode } };
    const auto keyValue = [&key](const QString &field) -> const QVariant * {
        for (const auto &[name, value] : key) {
            if (name.compare(field, Qt::CaseInsensitive) == 0)
                return &value;
        }
        return nullptr;
    };

    platform::Transaction transaction = db.transaction();
    for (int row = 0; row < rooms.recordCount(); ++row) {
        QList<std::pair<QString, QVariant>> values;
        values.reserve(rooms.fieldCount());
        for (int field = 0; field < rooms.fieldCount(); ++field) {
            const QString name = rooms.fieldName(field);
            const QVariant *own = keyValue(name);
            values.append({ name, own ? *own : rooms.value(row, field) });
        }
        db.insert(engine::archive::ESPRESSIONI, values);
    }
    transaction.commit();
    return rooms.recordCount();
}

} // namespace zav::workspace
