#include "terraces/terraceunit.h"

#include "platform/ui/datasource.h"
#include "platform/vb.h"
#include "terraces/terracearchive.h"

namespace zav::terraces {

namespace {

QVariant at(const platform::DataSource &source, int row, int field)
{
    return field < source.fieldCount() ? source.value(row, field) : QVariant();
}

} // namespace

TerraceUnit TerraceUnit::fromListRow(const platform::DataSource &list, int row)
{
    return { text(at(list, row, 0)), at(list, row, 1), text(at(list, row, 2)), text(at(list, row, 3)),
        at(list, row, 4) };
}

TerraceUnit TerraceUnit::fromRoomRow(const platform::DataSource &rooms, int row)
{
    return { text(at(rooms, row, 1)), at(rooms, row, 2), text(at(rooms, row, 3)), text(at(rooms, row, 19)),
        at(rooms, row, 4) };
}

platform::TableQuery TerraceUnit::rooms(const QString &code) const
{
    using terracearchive::numberKey;
    return { terracearchive::SUP_COEFF_VOL,
        { { QStringLiteral("CODICE"), code }, { QStringLiteral("NOME_CONDOMINO"), owner },
            { QStringLiteral("PALAZ"), numberKey(building) }, { QStringLiteral("SCALA"), stair },
            { QStringLiteral("INTERNO"), numberKey(interno) } },
        {} };
}

QString TerraceUnit::text(const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (platform::vb::isNumberValue(value))
        return platform::vb::CStr(value.toDouble());
    return value.toString();
}

} // namespace zav::terraces
