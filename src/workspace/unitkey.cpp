#include "workspace/unitkey.h"

#include "engine/archive.h"
#include "engine/archivevalues.h"
#include "platform/vb.h"

namespace zav::workspace {

using engine::ArchiveValues;

namespace {

// Field positions of CODIF_PIANI.
constexpr int NUM_PAL = 1;
constexpr int SCALA = 2;
constexpr int SIGLA = 6;
constexpr int PROPRIETARIO = 7;
constexpr int HPIANO = 9;
constexpr int INTERNO = 15;

// A number field compared with header text: the whole number the text reads as, else the text
// itself (which then matches no row).
QVariant wholeNumberOrText(const QString &text)
{
    const std::optional<qint64> number = ArchiveValues::wholeNumber(text);
    if (number)
        return qlonglong(*number);
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant fieldAt(const platform::Recordset &rs, int row, int position)
{
    return position < rs.fieldCount() ? rs.value(row, position) : QVariant();
}

} // namespace

platform::TableQuery UnitKey::rooms() const
{
    return engine::archive::roomsQuery(owner, building, stair, wholeNumberOrText(interno));
}

platform::TableQuery UnitKey::unitRow() const
{
    platform::TableQuery query;
    query.table = engine::archive::CODIF_PIANI;
    query.where = { { QStringLiteral("PROPRIETARIO"), owner },
        { QStringLiteral("NUM_PAL"), wholeNumberOrText(building) }, { QStringLiteral("SCALA"), stair },
        { QStringLiteral("SIGLA"), floorCode }, { QStringLiteral("INTERNO"), wholeNumberOrText(interno) } };
    return query;
}

QString UnitKey::description() const
{
    return owner + QStringLiteral(" Pal.: ") + building + QStringLiteral(" Scala: ") + stair
        + QStringLiteral(" Piano: ") + floorCode + QStringLiteral(" Interno: ") + interno;
}

QString Unit::headerText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (platform::vb::isNumberValue(value))
        return platform::vb::CStr(value.toDouble());
    return value.toString();
}

Unit Unit::fromCodifPiani(const platform::Recordset &rs, int row)
{
    Unit unit;
    unit.key.owner = headerText(fieldAt(rs, row, PROPRIETARIO));
    unit.key.building = headerText(fieldAt(rs, row, NUM_PAL));
    unit.key.stair = headerText(fieldAt(rs, row, SCALA));
    unit.key.floorCode = headerText(fieldAt(rs, row, SIGLA));
    unit.key.interno = headerText(fieldAt(rs, row, INTERNO));
    unit.floorHeight = ArchiveValues::number(fieldAt(rs, row, HPIANO));
    return unit;
}

} // namespace zav::workspace
