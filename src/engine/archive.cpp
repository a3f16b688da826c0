#include "engine/archive.h"

#include "platform/vb.h"

#include <cmath>

namespace zav::engine::archive {

QStringList coefficientTables()
{
    return { QStringLiteral("TAB_COEF"), QStringLiteral("TAB_COEF2"), QStringLiteral("TAB_COEF3"),
        QStringLiteral("TAB_COEF4"), QStringLiteral("TAB_COEF5"), QStringLiteral("TAB_COEF6"),
        QStringLiteral("TAB_COEF7"), QStringLiteral("TAB_COEF8") };
}

QStringList resultTables()
{
    return { MILLESIMI, MIL_PORTIERATO, TEMPORANEO, TEMPORANEO2, MIL_RISC };
}

QStringList stairsOfBuilding(const QVariant &numScale)
{
    if (numScale.isNull())
        return {};
    bool ok = false;
    const double stairs = numScale.toString().trimmed().isEmpty() ? 0.0 : numScale.toDouble(&ok);
    if (!ok || !std::isfinite(stairs) || stairs < 1.0)
        return {};
    const qsizetype count = std::min<qsizetype>(qsizetype(stairs), StairLetters.size());
    QStringList letters;
    for (qsizetype k = 0; k < count; ++k)
        letters << QString(StairLetters.sliced(k, 1));
    return letters;
}

std::optional<int> floorPosition(const QString &floorCode)
{
    if (floorCode == u"T")
        return -1;
    if (floorCode == u"R")
        return 0;
    // Basements: "1S" is -2 down to "10S" at -11.
    for (int level = 1; level <= 10; ++level) {
        if (floorCode == QString::number(level) + u'S')
            return -(level + 1);
    }
    // A number code is its own position; anything else ("S1") has none.
    if (floorCode.isEmpty())
        return std::nullopt;
    for (const QChar c : floorCode) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const int value = floorCode.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

namespace {

// The building as the rooms hold it: a whole number written plainly ("1", never "1.0").
QVariant buildingText(const QVariant &building)
{
    if (building.isNull())
        return {};
    if (platform::vb::isNumberValue(building)) {
        const double number = building.toDouble();
        if (std::isfinite(number) && number == std::floor(number) && std::fabs(number) < 1e15)
            return QString::number(qlonglong(number));
    }
    return building.toString().trimmed();
}

// The unit number as a whole number. A value that is not one is passed on as it is, so that it
// matches no room (no stored unit number equals it); only Null matches the rooms without a number.
QVariant unitNumber(const QVariant &interno)
{
    if (interno.isNull())
        return {};
    if (platform::vb::isNumberValue(interno)) {
        const double number = interno.toDouble();
        if (std::isfinite(number) && number == std::floor(number) && std::fabs(number) < 1e15)
            return qlonglong(number);
        return interno;
    }
    const QString text = interno.toString().trimmed();
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok);
    return ok ? QVariant(number) : QVariant(text);
}

} // namespace

QList<int> buildingNumbers(platform::Database &db)
{
    const platform::Recordset rows = db.query(
        QStringLiteral("SELECT NUM_PAL FROM COMPOS_PAL WHERE NUM_PAL IS NOT NULL ORDER BY NUM_PAL"));
    QList<int> numbers;
    for (int row = 0; row < rows.recordCount(); ++row)
        numbers.append(rows.value(row, 0).toInt());
    return numbers;
}

platform::TableQuery roomsQuery(
    const QString &owner, const QVariant &building, const QString &stair, const QVariant &interno)
{
    platform::TableQuery query;
    query.table = ESPRESSIONI;
    query.where
        = { { QStringLiteral("NOME_CONDOMINO"), owner }, { QStringLiteral("PALAZ"), buildingText(building) },
              { QStringLiteral("SCALA"), stair }, { QStringLiteral("INTERNO"), unitNumber(interno) } };
    return query;
}

} // namespace zav::engine::archive
