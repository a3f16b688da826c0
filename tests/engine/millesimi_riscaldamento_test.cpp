// The heating table under each heating criterion, with heated and unheated buildings. Every
// expected value is worked out by hand beside its case.

#include "millesimi_test.h"

namespace {

using namespace zav::milltest;

struct HeatingCase
{
    const char *name;
    ProjectRow project;
    std::vector<BuildingRow> buildings;
    std::vector<UnitRow> units;
    QStringList owners;
    std::vector<Num> shares;
    std::vector<Num> volumes;
};

class MillesimiHeating : public MillesimiCalc
{
protected:
    void runCase(const HeatingCase &c)
    {
        project(c.project);
        for (const BuildingRow &b : c.buildings)
            building(b);
        units(c.units);

        VAR_GBL.calcolo_millesimi();

        EXPECT_EQ(column("MIL_RISC", "CONDOMINO"), QVariantList(c.owners.begin(), c.owners.end()));
        {
            SCOPED_TRACE("MILLESIMI");
            expectNumbers(column("MIL_RISC", "MILLESIMI"), c.shares);
        }
        {
            SCOPED_TRACE("VOLUME");
            expectNumbers(column("MIL_RISC", "VOLUME"), c.volumes);
        }
        // The heating table ends the calculation, rows or not.
        EXPECT_EQ(dialogs.messages(), QStringList({ "Calcolo Millesimi effettuato" }));
    }
};

// Each unit has a weighted surface and a volume so that it also has its general row; the heating
// shares do not depend on them.
UnitRow heated(const char *owner, int building, QVariant volume, QVariant radiant)
{
    return {
        .owner = owner, .numPal = building, .totSup = 1, .totVol = 1, .volRisc = volume, .radRisc = radiant
    };
}

const HeatingCase criteria[] = {
    // Heated volume; buildings 1 and 2 heated, 3 not: T1 = 1 + 0 + 1 (building 1) + 1 (building 2)
    // = 3. Rows by building number, then stored order: h2 and h5 1000*1/3*1000 -> 333.333 with
    // VOLUME 1, h4 (nothing heated) takes the half case: 0 and no VOLUME; h1 333.333; h3 none.
    { "heated volume", { .numPal = 3, .riscVol = true },
        { { .number = 1, .heated = true }, { .number = 2, .heated = true },
            { .number = 3, .heated = false } },
        { heated("h1", 2, 1, 0), heated("h2", 1, 1, 0), heated("h3", 3, 5, 0), heated("h4", 1, 0, 0),
            heated("h5", 1, 1, 0) },
        { "h2", "h4", "h5", "h1" }, { 333.333, 0, 333.333, 333.333 }, { 1, std::nullopt, 1, 1 } },
    // Heated volumes 300 and 700 in two buildings: 300 and 700.
    { "heated volume, two buildings", { .numPal = 2, .riscVol = true },
        { { .number = 1, .heated = true }, { .number = 2, .heated = true } },
        { heated("a", 1, 300, 0), heated("b", 2, 700, 0) }, { "a", "b" }, { 300, 700 }, { 300, 700 } },
    // Radiant surface 2, 1, 0 (T1 = 3): 2000/3 = 666.666.. rounded by the format to 666.667, 1000/3
    // -> 333.333, and the unit with nothing takes the half case: 0, no VOLUME.
    { "radiant surface", { .numPal = 1, .riscRad = true }, { { .number = 1, .heated = true } },
        { heated("r1", 1, 0, 2), heated("r2", 1, 0, 1), heated("r3", 1, 0, 0) }, { "r1", "r2", "r3" },
        { 666.667, 333.333, 0 }, { 2, 1, std::nullopt } },
    // Half and half: T1 = 50 + 50 heated volume, T2 = 10 + 30 radiant surface. A: v = 500, r = 250,
    // (500 + 250)/2 = 375; B: v = 500, r = 750 -> 625. No VOLUME.
    { "half and half", { .numPal = 1, .risc50 = true }, { { .number = 1, .heated = true } },
        { heated("A", 1, 50, 10), heated("B", 1, 50, 30) }, { "A", "B" }, { 375, 625 },
        { std::nullopt, std::nullopt } },
    // Half and half without radiant surface (T2 = 0): half the volume share, 300/2 and 700/2.
    { "half and half, no radiant surface", { .numPal = 1, .risc50 = true },
        { { .number = 1, .heated = true } }, { heated("A", 1, 30, 0), heated("B", 1, 70, 0) }, { "A", "B" },
        { 150, 350 }, { std::nullopt, std::nullopt } },
    // Half and half without heated volume: T1 = 0, no rows.
    { "half and half, no heated volume", { .numPal = 1, .risc50 = true }, { { .number = 1, .heated = true } },
        { heated("A", 1, 0, 10), heated("B", 1, 0, 30) }, {}, {}, {} },
    // Several criteria set add up. Heated volume and half and half: T1 = 2 * (30 + 70) = 200, T2 =
    // 10 + 30 = 40, every unit takes the half case: A v = 30000/200 = 150, r = 10000/40 = 250, mean
    // 200; B v = 350, r = 750, mean 550 (the column sums to 750).
    { "heated volume and half and half", { .numPal = 1, .riscVol = true, .risc50 = true },
        { { .number = 1, .heated = true } }, { heated("A", 1, 30, 10), heated("B", 1, 70, 30) }, { "A", "B" },
        { 200, 550 }, { std::nullopt, std::nullopt } },
    // Heated volume and radiant surface: T1 = 30 + 10 + 70 + 30 + 0 + 20 = 160; A and B take the
    // volume case, 30000/160 = 187.5 and 70000/160 = 437.5; C, without heated volume, the radiant
    // case, 20000/160 = 125 with VOLUME 20 (the column sums to 750).
    { "heated volume and radiant surface", { .numPal = 1, .riscVol = true, .riscRad = true },
        { { .number = 1, .heated = true } },
        { heated("A", 1, 30, 10), heated("B", 1, 70, 30), heated("C", 1, 0, 20) }, { "A", "B", "C" },
        { 187.5, 437.5, 125 }, { 30, 70, 20 } },
    // No criterion set: no rows.
    { "no criterion", { .numPal = 1 }, { { .number = 1, .heated = true } }, { heated("A", 1, 10, 10) }, {},
        {}, {} },
    // No building heated: no rows.
    { "unheated building", { .numPal = 1, .riscVol = true }, { { .number = 1, .heated = false } },
        { heated("A", 1, 10, 0) }, {}, {}, {} },
    // Every heated building that exists gets its rows, whatever count the header holds: buildings
    // 1 and 3 after building 2 was deleted (count 2), and a count left behind at 1. T1 = 1 + 1:
    // 1000*1/2 = 500 each.
    { "buildings 1 and 3", { .numPal = 2, .riscVol = true },
        { { .number = 1, .heated = true }, { .number = 3, .heated = true } },
        { heated("A", 3, 1, 0), heated("B", 1, 1, 0) }, { "B", "A" }, { 500, 500 }, { 1, 1 } },
    { "count below the buildings", { .numPal = 1, .riscVol = true },
        { { .number = 1, .heated = true }, { .number = 2, .heated = true } },
        { heated("A", 1, 1, 0), heated("B", 2, 1, 0) }, { "A", "B" }, { 500, 500 }, { 1, 1 } },
};

TEST_F(MillesimiHeating, SharesUnderEachCriterion)
{
    for (const QChar separator : { u',', u'.' }) {
        for (const HeatingCase &c : criteria) {
            SCOPED_TRACE(testing::Message() << c.name << ", separator " << separator.toLatin1());
            freshArchive();
            DecimalSeparatorScope scope(separator);
            runCase(c);
        }
    }
}

// An amount that the criterion in force does not use counts as nothing when a unit's case is
// chosen, so an amount left over from an earlier criterion is not divided by the other total:
//   radiant surface, A with a heated volume 5 left over and radiant surface 2, B 0 and 2 (T1 = 4):
//   both take the radiant case, 2000/4 = 500 each, VOLUME 2 (not A 5000/4 = 1250 on its volume);
//   heated volume, A with a radiant surface 3 left over, B volume 10 (T1 = 10): A has nothing
//   heated, 0 without VOLUME (not 3000/10 = 300 on its radiant surface), B 1000.
// An empty amount under the criterion that uses it still takes its case, with an empty share.
TEST_F(MillesimiHeating, AmountsOutsideTheCriterionCountAsNothing)
{
    const HeatingCase cases[] = {
        { "radiant surface with a heated volume left over", { .numPal = 1, .riscRad = true },
            { { .number = 1, .heated = true } }, { heated("A", 1, 5, 2), heated("B", 1, 0, 2) }, { "A", "B" },
            { 500, 500 }, { 2, 2 } },
        { "heated volume with a radiant surface left over", { .numPal = 1, .riscVol = true },
            { { .number = 1, .heated = true } }, { heated("A", 1, 0, 3), heated("B", 1, 10, 0) },
            { "A", "B" }, { 0, 1000 }, { std::nullopt, 10 } },
        { "heated volume empty", { .numPal = 1, .riscVol = true }, { { .number = 1, .heated = true } },
            { heated("A", 1, QVariant(), 0), heated("B", 1, 10, 0) }, { "A", "B" }, { std::nullopt, 1000 },
            { std::nullopt, 10 } },
    };
    for (const HeatingCase &c : cases) {
        SCOPED_TRACE(c.name);
        freshArchive();
        DecimalSeparatorScope scope(u',');
        runCase(c);
    }
}

} // namespace
