// The per-unit totals as a pure calculation: each room's derived cells and the unit's four totals,
// worked out by hand, under both decimal separators.

#include "engine/var_gbl.h"
#include "platform/vb.h"
#include "support/scripteddialogs.h"
#include "workspace/unittotals.h"
#include "workspacefixture.h"

#include <gtest/gtest.h>

#include <map>

using zav::test::num;
using zav::workspace::HeatingCriterion;
using zav::workspace::RoomCells;
using zav::workspace::UnitTotals;
namespace vb = zav::platform::vb;

namespace {

using Cells = std::map<QString, QVariant>;

RoomCells room(const Cells &cells, qint64 rowid = 1)
{
    QVector<QVariant> values;
    for (const QString &field : RoomCells::fieldNames()) {
        const auto it = cells.find(field);
        values.append(it == cells.end() ? QVariant() : it->second);
    }
    return RoomCells::fromValues(rowid, values);
}

QVariant field(const RoomCells &cells, const QString &name)
{
    return cells.values().at(RoomCells::fieldNames().indexOf(name));
}

UnitTotals::Evaluator evaluator()
{
    return [](const QString &text) { return zav::engine::VAR_GBL.valuta_espressione(text); };
}

const HeatingCriterion kByVolume { true, false, false };
const HeatingCriterion kByRadiant { false, true, false };
const HeatingCriterion kHalf { false, false, true };
const HeatingCriterion kNone { false, false, false };

class UnitTotalsTest : public ::testing::TestWithParam<QChar>
{
protected:
    void SetUp() override
    {
        zav::engine::VAR_GBL.reset();
        zav::engine::VAR_GBL.init_operatori();
        zav::engine::VAR_GBL.init_precedenze();
    }
    void TearDown() override { zav::engine::VAR_GBL.reset(); }

    UnitTotals::Result compute(const QVector<RoomCells> &rooms, std::optional<double> floorHeight = 3.0,
        std::optional<HeatingCriterion> heating = kByVolume, bool radiantShown = false)
    {
        UnitTotals::Input input;
        input.floorHeight = floorHeight;
        input.heating = heating;
        input.radiantShown = radiantShown;
        return UnitTotals::compute(rooms, input, evaluator());
    }

    zav::platform::ScriptedDialogs boxes;
};

// One room at a time: what each rule of the pass writes into the room and adds to the totals.
TEST_P(UnitTotalsTest, EachRoomRuleWorkedOutByHand)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    struct Case
    {
        const char *name;
        Cells in;
        Cells out; ///< expected cells after the pass
        const char *totMq;
        const char *totSupConv;
        const char *totVolume;
    };
    const Case cases[] = {
        { "2*3, no coefficients, height 3", { { "ESPRESSIONE", "2*3" }, { "H_PIANO", "3" } },
            { { "MQ", num("6.0") }, { "TOT_COEF", num("6.0") }, { "H_PIANO", "3" },
                { "TOT_VOL", num("18.0") } },
            "6", "6.0", "18" },
        { "coefficients 0.9 and 1.1, the rest empty",
            { { "ESPRESSIONE", "10" }, { "COEF1", num("0.9") }, { "COEF2", num("1.1") } },
            { { "MQ", num("10.0") }, { "TOT_COEF", num("9.9") }, { "H_PIANO", "3" },
                { "TOT_VOL", num("29.7") } },
            "10", "9.9", "29.7" },
        // 0.0625 is written 0.063, and that is what the coefficients multiply: 0.126, not 0.125.
        { "surface rounded to three decimals before the coefficients",
            { { "ESPRESSIONE", "0.0625" }, { "COEF1", "2" } },
            { { "MQ", num("0.063") }, { "TOT_COEF", num("0.126") }, { "TOT_VOL", num("0.378") } }, "0.063",
            "0.126", "0.378" },
        { "weighted surface written with four decimals",
            { { "ESPRESSIONE", "1" }, { "COEF1", num("0.12345") } },
            { { "MQ", num("1.0") }, { "TOT_COEF", num("0.1235") }, { "TOT_VOL", num("0.371") } }, "1",
            "0.124", "0.371" },
        { "height 0 counts as 1 and stays 0", { { "ESPRESSIONE", "4" }, { "H_PIANO", "0" } },
            { { "TOT_COEF", num("4.0") }, { "H_PIANO", "0" }, { "TOT_VOL", num("4.0") } }, "4", "4.0", "4" },
        { "room height written back in the system's form",
            { { "ESPRESSIONE", "2" }, { "H_PIANO", num("2.70") } },
            { { "H_PIANO", num("2.7") }, { "TOT_VOL", num("5.4") } }, "2", "2.0", "5.4" },
        { "empty expression counts as 0", { { "H_PIANO", "3" } },
            { { "ESPRESSIONE", "0" }, { "MQ", num("0.0") }, { "TOT_COEF", num("0.0") },
                { "TOT_VOL", num("0.0") } },
            "0", "0.0", "0" },
        { "window 2*1.5 gives its area", { { "ESPRESSIONE", "1" }, { "SUP_FINESTRA", "2*1.5" } },
            { { "MQ_FINESTRA", num("3.0") } }, "1", "1.0", "3" },
        { "empty window stays empty, its area as stored", { { "ESPRESSIONE", "1" }, { "MQ_FINESTRA", "2" } },
            { { "SUP_FINESTRA", "" }, { "MQ_FINESTRA", "2" } }, "1", "1.0", "3" },
        { "window code C leaves the area",
            { { "ESPRESSIONE", "1" }, { "SUP_FINESTRA", "C" }, { "MQ_FINESTRA", num("7.5") } },
            { { "SUP_FINESTRA", "C" }, { "MQ_FINESTRA", num("7.5") } }, "1", "1.0", "3" },
        { "text starting with A leaves the area",
            { { "ESPRESSIONE", "1" }, { "SUP_FINESTRA", "A12" }, { "MQ_FINESTRA", "x" } },
            { { "MQ_FINESTRA", "x" } }, "1", "1.0", "3" },
        { "lower-case c is an expression, and a bad one", { { "ESPRESSIONE", "1" }, { "SUP_FINESTRA", "c" } },
            { { "MQ_FINESTRA", "" } }, "1", "1.0", "3" },
        // As in the global recalculation: no weighted surface, and the volume stays as stored.
        { "a coefficient that is not a number leaves no weighted surface",
            { { "ESPRESSIONE", "5" }, { "COEF3", "abc" }, { "TOT_COEF", num("99.0") },
                { "TOT_VOL", num("99.0") } },
            { { "MQ", num("5.0") }, { "TOT_COEF", "" }, { "TOT_VOL", num("99.0") } }, "5", "0", "0" },
        { "an expression that cannot be evaluated adds nothing",
            { { "ESPRESSIONE", "2*" }, { "TOT_VOL", num("8.0") } },
            { { "MQ", "" }, { "TOT_COEF", "" }, { "TOT_VOL", num("8.0") } }, "0", "0", "0" },
        { "an expression that cannot be evaluated keeps the stored surface",
            { { "ESPRESSIONE", "x" }, { "MQ", num("5.0") } },
            { { "MQ", num("5.0") }, { "TOT_COEF", num("5.0") }, { "TOT_VOL", num("15.0") } }, "5", "5.0",
            "15" },
        { "an expression of blanks only has no value", { { "ESPRESSIONE", "  " }, { "MQ", num("5.0") } },
            { { "ESPRESSIONE", "  " }, { "MQ", "" }, { "TOT_COEF", "" } }, "0", "0", "0" },
        { "a division by zero is no value", { { "ESPRESSIONE", "1/0" } },
            { { "MQ", "" }, { "TOT_COEF", "" } }, "0", "0", "0" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        const UnitTotals::Result result = compute({ room(c.in) });
        ASSERT_EQ(result.rooms.size(), 1);
        for (const auto &[name, value] : c.out)
            EXPECT_EQ(field(result.rooms.at(0), name).toString(), value.toString()) << name.toStdString();
        EXPECT_EQ(result.totMq, num(c.totMq));
        EXPECT_EQ(result.totSupConv, num(c.totSupConv));
        EXPECT_EQ(result.totVolume, num(c.totVolume));
        EXPECT_EQ(result.totSupRad, QStringLiteral("0"));
    }
}

TEST_P(UnitTotalsTest, EvaluationFailuresAreReportedByTheEvaluatorAndNonFiniteValuesFlagged)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    UnitTotals::Result result
        = compute({ room({ { "ESPRESSIONE", "2*" } }), room({ { "ESPRESSIONE", "3" } }) });
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_FALSE(result.nonFinite);
    EXPECT_EQ(result.totMq, QStringLiteral("3"));

    boxes.clear();
    result = compute({ room({ { "ESPRESSIONE", "1/0" } }) });
    EXPECT_TRUE(result.nonFinite);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(result.storedTotals()[0], QVariant(0.0));
}

// "Tot. Sup. Conv." is rounded to three decimals at every addition: two rooms of 0.0625 make
// 0.063, then 0.126 (0.0625 + 0.0625 formatted once would be 0.125).
TEST_P(UnitTotalsTest, RunningWeightedTotalIsRoundedAtEveryAddition)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const RoomCells r = room({ { "ESPRESSIONE", "1" }, { "COEF1", num("0.0625") } });
    const UnitTotals::Result result = compute({ r, r });
    EXPECT_EQ(field(result.rooms.at(0), QStringLiteral("TOT_COEF")).toString(), num("0.0625"));
    EXPECT_EQ(result.totSupConv, num("0.126"));
    EXPECT_EQ(result.storedTotals()[0], QVariant(0.126));
    // The volume is summed as written: 0.188 + 0.188.
    EXPECT_EQ(result.totVolume, num("0.376"));
}

// The height in force: the unit's floor height, then the last room height that reads as a number.
TEST_P(UnitTotalsTest, EmptyHeightsTakeTheFloorHeightThenThePreviousRoomsHeight)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const UnitTotals::Result result
        = compute({ room({ { "ESPRESSIONE", "1" } }), room({ { "ESPRESSIONE", "1" } }),
                      room({ { "ESPRESSIONE", "1" }, { "H_PIANO", num("2.5") } }),
                      room({ { "ESPRESSIONE", "1" }, { "H_PIANO", "" } }) },
            3.0);
    const char *heights[] = { "3", "3", "2.5", "2.5" };
    const char *volumes[] = { "3.0", "3.0", "2.5", "2.5" };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(field(result.rooms.at(i), QStringLiteral("H_PIANO")).toString(), num(heights[i])) << i;
        EXPECT_EQ(field(result.rooms.at(i), QStringLiteral("TOT_VOL")).toString(), num(volumes[i])) << i;
    }
    EXPECT_EQ(result.totVolume, QStringLiteral("11"));
    EXPECT_EQ(result.lastHeight, 2.5);
}

// A height of 0 makes the height in force 1 for its room and the rooms after it: the 0 stays in its
// cell, and an empty height or one that is not a number after it receives "1".
//   R1 "5", height "0": volume 5; R2 "2", no height: 1, volume 2; R3 "2", height "abc": 1, volume 2;
//   R4 "2", height "2": volume 4.  Tot. Volume 13.
TEST_P(UnitTotalsTest, HeightZeroCountsAsOneForItsRoomAndTheRoomsAfterIt)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const UnitTotals::Result result
        = compute({ room({ { "ESPRESSIONE", "5" }, { "H_PIANO", "0" } }), room({ { "ESPRESSIONE", "2" } }),
                      room({ { "ESPRESSIONE", "2" }, { "H_PIANO", "abc" } }),
                      room({ { "ESPRESSIONE", "2" }, { "H_PIANO", "2" } }) },
            3.0);
    const char *heights[] = { "0", "1", "1", "2" };
    const char *volumes[] = { "5.0", "2.0", "2.0", "4.0" };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(field(result.rooms.at(i), QStringLiteral("H_PIANO")).toString(), num(heights[i])) << i;
        EXPECT_EQ(field(result.rooms.at(i), QStringLiteral("TOT_VOL")).toString(), num(volumes[i])) << i;
    }
    EXPECT_EQ(result.totVolume, QStringLiteral("13"));
    EXPECT_EQ(result.lastHeight, 2.0);
}

// A coefficient that is not a number leaves the room without a weighted surface; its volume stays as
// stored and, the room being heated, still counts in the heated volume by its plain surface.
//   R1 "10", COEF1 "abc", heated, stored volume 30: heated 10 x 3 = 30; R2 "4", heated: 12.
//   Heated volume 42; Tot. Volume and "Tot. Sup. Conv." only R2's: 12 and 4.
TEST_P(UnitTotalsTest, CoefficientThatIsNotANumberKeepsTheStoredVolumeForTheHeatedVolume)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const UnitTotals::Result result = compute({ room({ { "ESPRESSIONE", "10" }, { "COEF1", "abc" },
                                                    { "OPT_RISC", "S" }, { "TOT_VOL", num("30.0") } }),
        room({ { "ESPRESSIONE", "4" }, { "OPT_RISC", "S" } }) });
    EXPECT_EQ(field(result.rooms.at(0), QStringLiteral("TOT_COEF")).toString(), QString());
    EXPECT_EQ(field(result.rooms.at(0), QStringLiteral("TOT_VOL")).toString(), num("30.0"));
    EXPECT_EQ(result.totVolume, QStringLiteral("12"));
    EXPECT_EQ(result.totSupConv, num("4.0"));
    const std::array<QVariant, 4> stored = result.storedTotals();
    EXPECT_EQ(stored[0], QVariant(4.0));
    EXPECT_EQ(stored[1], QVariant(12.0));
    EXPECT_EQ(stored[2], QVariant(42.0));
}

// A unit without floor height counts its empty heights as 1 and writes nothing into them (nor after
// a room of height 0, which stays 0), until a room's own height is met: it carries on and is
// written into the empty heights after it.
TEST_P(UnitTotalsTest, UnitWithoutFloorHeightCountsOneFromItsFirstRoom)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const UnitTotals::Result result = compute(
        { room({ { "ESPRESSIONE", "2" } }), room({ { "ESPRESSIONE", "2" }, { "H_PIANO", "0" } }),
            room({ { "ESPRESSIONE", "2" }, { "H_PIANO", "" } }),
            room({ { "ESPRESSIONE", "2" }, { "H_PIANO", "3" } }), room({ { "ESPRESSIONE", "2" } }) },
        std::nullopt);
    const QVariant heights[] = { QVariant(), QVariant(QStringLiteral("0")), QVariant(QStringLiteral("")),
        QVariant(QStringLiteral("3")), QVariant(QStringLiteral("3")) };
    const char *volumes[] = { "2.0", "2.0", "2.0", "6.0", "6.0" };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(field(result.rooms.at(i), QStringLiteral("H_PIANO")), heights[i]) << i;
        EXPECT_EQ(field(result.rooms.at(i), QStringLiteral("TOT_VOL")).toString(), num(volumes[i])) << i;
    }
}

// Heated volume (surface x height, in double) and radiant sum (single precision) by criterion.
TEST_P(UnitTotalsTest, HeatedSumsFollowTheCriterionAndTheHeatedRoomsOnly)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    // Heated: 10 x 0.5 weighted 5, height 3: heated volume 30 (the plain surface), radiant 2.5.
    // Not heated ("s", "N", empty): nothing, whatever they hold.
    const QVector<RoomCells> rooms = {
        room({ { "ESPRESSIONE", "10" }, { "COEF1", num("0.5") }, { "OPT_RISC", "S" },
            { "TOT_ESPRES_RAD", num("2.5") } }),
        room({ { "ESPRESSIONE", "7" }, { "OPT_RISC", "s" }, { "TOT_ESPRES_RAD", num("1.0") } }),
        room({ { "ESPRESSIONE", "7" }, { "OPT_RISC", "N" }, { "TOT_ESPRES_RAD", num("1.0") } }),
        room({ { "ESPRESSIONE", "7" }, { "TOT_ESPRES_RAD", num("1.0") } }),
    };
    struct Case
    {
        const char *name;
        HeatingCriterion criterion;
        QVariant heated;
        QVariant radiant;
    };
    const Case cases[] = {
        { "volume", kByVolume, 30.0, 0.0 },
        { "radiant surface", kByRadiant, 0.0, 2.5 },
        { "half of each", kHalf, 30.0, 2.5 },
        { "none", kNone, 0.0, 0.0 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const UnitTotals::Result result = compute(rooms, 3.0, c.criterion);
        EXPECT_EQ(result.storedTotals()[2], c.heated);
        EXPECT_EQ(result.storedTotals()[3], c.radiant);
        // The radiant column is hidden: the radiant cells stay as stored and the label shows 0.
        EXPECT_EQ(field(result.rooms.at(0), QStringLiteral("TOT_ESPRES_RAD")).toString(), num("2.5"));
        EXPECT_EQ(result.totSupRad, QStringLiteral("0"));
        EXPECT_EQ(result.storedTotals()[0], QVariant(26.0));
    }
}

TEST_P(UnitTotalsTest, RadiantSumIsKeptInSinglePrecision)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    // 65536.007 has no exact single-precision form: the nearest is 65536.0078125, and a single is
    // written with its own seven significant digits: 65536.01.
    const UnitTotals::Result result = compute(
        { room({ { "ESPRESSIONE", "1" }, { "OPT_RISC", "S" }, { "TOT_ESPRES_RAD", num("65536.007") } }) },
        3.0, kByRadiant);
    EXPECT_EQ(result.storedTotals()[3], QVariant(65536.01));
}

TEST_P(UnitTotalsTest, RadiantSurfacesAreRecomputedOnlyWhileTheirColumnIsShown)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const QVector<RoomCells> rooms = {
        room({ { "ESPRESSIONE", "1" }, { "ESPRES_RAD", "2*1.25" }, { "TOT_ESPRES_RAD", num("9.0") },
            { "OPT_RISC", "S" } }),
        room({ { "ESPRESSIONE", "1" }, { "TOT_ESPRES_RAD", num("9.0") }, { "OPT_RISC", "S" } }),
        // No radiant surface yet: the room is left alone, expression and all.
        room({ { "ESPRESSIONE", "1" }, { "ESPRES_RAD", "4" }, { "OPT_RISC", "S" } }),
    };
    const UnitTotals::Result result = compute(rooms, 3.0, kHalf, true);
    EXPECT_EQ(field(result.rooms.at(0), QStringLiteral("TOT_ESPRES_RAD")).toString(), num("2.5"));
    EXPECT_EQ(field(result.rooms.at(1), QStringLiteral("ESPRES_RAD")).toString(), QStringLiteral("0"));
    EXPECT_EQ(field(result.rooms.at(1), QStringLiteral("TOT_ESPRES_RAD")).toString(), num("0.0"));
    EXPECT_FALSE(field(result.rooms.at(2), QStringLiteral("TOT_ESPRES_RAD")).isValid());
    EXPECT_EQ(result.totSupRad, num("2.5"));
    EXPECT_EQ(result.storedTotals()[3], QVariant(2.5));
}

TEST_P(UnitTotalsTest, NoProjectHeaderStopsAtTheFirstRoomsHeating)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const UnitTotals::Result result
        = compute({ room({ { "ESPRESSIONE", "2" } }), room({ { "ESPRESSIONE", "3" } }) }, 3.0, std::nullopt);
    EXPECT_TRUE(result.stoppedWithoutHeader);
    ASSERT_EQ(result.rooms.size(), 1);
    EXPECT_EQ(field(result.rooms.at(0), QStringLiteral("TOT_VOL")).toString(), num("6.0"));
    // The first room's surfaces were added, its volume was not.
    EXPECT_EQ(result.totMq, QStringLiteral("2"));
    EXPECT_EQ(result.totVolume, QStringLiteral("0"));
}

TEST_P(UnitTotalsTest, NoRoomsGiveZeroTotals)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const UnitTotals::Result result = compute({});
    EXPECT_EQ(result.totMq, QStringLiteral("0"));
    EXPECT_EQ(result.totSupConv, QStringLiteral("0"));
    const std::array<QVariant, 4> stored = result.storedTotals();
    for (const QVariant &total : stored)
        EXPECT_EQ(total, QVariant(0.0));
}

TEST_P(UnitTotalsTest, SurfaceColumnResummedUpToTheFirstCellThatIsNotANumber)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    struct Case
    {
        const char *name;
        QVector<QVariant> cells;
        const char *total;
        QVector<int> emptied;
    };
    const Case cases[] = {
        { "10.5 and 4", { num("10.5"), QStringLiteral("4") }, "14.5", {} },
        { "an empty cell becomes 0", { QVariant(), num("2.25"), QString() }, "2.25", { 0, 2 } },
        { "stops at text", { QStringLiteral("3"), QStringLiteral("x"), QStringLiteral("4") }, "3", {} },
        { "no rows", {}, "0", {} },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const UnitTotals::SurfaceSum sum = UnitTotals::sommaMq(c.cells);
        EXPECT_EQ(sum.total, num(c.total));
        EXPECT_EQ(sum.emptied, c.emptied);
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, UnitTotalsTest, ::testing::Values(QChar(u','), QChar(u'.')),
    [](const ::testing::TestParamInfo<QChar> &info) { return info.param == u',' ? "comma" : "point"; });

} // namespace
