#include "register/unitcodes.h"

#include "engine/archive.h"
#include "platform/vb.h"

#include <cmath>
#include <optional>

namespace zav::register_ {

QStringList unitKinds()
{
    return { QStringLiteral("Appartamento"), QStringLiteral("Negozio"), QStringLiteral("Box"),
        QStringLiteral("Mansarda"), QStringLiteral("Ufficio"), QStringLiteral("Magazzino"),
        QStringLiteral("Garage") };
}

QStringList floorCodes()
{
    QStringList codes;
    for (int basement = 10; basement >= 1; --basement)
        codes << QStringLiteral("%1S").arg(basement);
    codes << QStringLiteral("R") << QStringLiteral("T");
    for (int floor = 1; floor <= 9; ++floor)
        codes << QString::number(floor);
    codes << QStringLiteral("S1");
    for (int floor = 10; floor <= 40; ++floor)
        codes << QString::number(floor);
    return codes;
}

QStringList panelFloorCodes()
{
    QStringList codes = floorCodes();
    codes.removeAll(QStringLiteral("S1"));
    return codes;
}

QStringList registerStairs(const QVariant &numScale)
{
    // A count that is no number (or none at all) gives no stair; any number gives "Nessuna" at least.
    const QString count = numScale.isNull() ? QString() : numScale.toString().trimmed();
    const std::optional<double> number = count.isEmpty() ? std::nullopt : platform::vb::CDbl(count);
    if (!number || !std::isfinite(*number))
        return {};
    return QStringList { engine::archive::NoStair } + engine::archive::stairsOfBuilding(numScale);
}

} // namespace zav::register_
