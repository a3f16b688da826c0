#include "register/unitcodes.h"

#include "engine/archive.h"

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
    const QStringList letters = engine::archive::stairsOfBuilding(numScale);
    if (letters.isEmpty())
        return {};
    return QStringList { engine::archive::NoStair } + letters;
}

} // namespace zav::register_
