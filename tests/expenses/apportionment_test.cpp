// The apportionment worked by hand: shares to the cent in proportion to the thousandths of the
// units that pay, residue cents one a unit, totals. Every case runs under the comma and under the
// point; amounts are in euro.

#include "expenses/apportionment.h"
#include "platform/vb.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace {

using zav::expenses::Apportionment;
using zav::expenses::Money;
using Kind = Apportionment::Kind;
using Row = Apportionment::AmountRow;
using Share = Apportionment::Share;
using Shares = std::vector<std::optional<double>>;
namespace vb = zav::platform::vb;

constexpr std::nullopt_t none = std::nullopt;

Apportionment::Unit unit(
    const QVariant &building, const QString &stair, const QString &floor = QStringLiteral("1"))
{
    return Apportionment::Unit { building, stair, floor, {}, {} };
}

/** Units of one building and stair, each with its thousandths of one kind. */
QVector<Apportionment::Unit> units(Kind kind, std::initializer_list<QVariant> thousandths,
    const QVariant &building = QStringLiteral("1"), const QString &stair = QStringLiteral("A"))
{
    QVector<Apportionment::Unit> list;
    for (const QVariant &t : thousandths) {
        Apportionment::Unit u = unit(building, stair);
        u.thousandths[kind] = t;
        list << u;
    }
    return list;
}

Shares shares(const Apportionment::Result &result, Kind kind)
{
    Shares list;
    for (const auto &unitShares : result.shares) {
        const std::optional<Money> &value = unitShares[kind].value;
        list.push_back(value ? std::optional<double>(value->toDouble()) : std::nullopt);
    }
    return list;
}

/** An amount typed as text in the separator in force ("100,5" or "100.5"). */
QVariant typed(const char *pointText)
{
    return QString::fromLatin1(pointText).replace(u'.', vb::decimalSeparator());
}

class ApportionmentTest : public ::testing::TestWithParam<QChar>
{
protected:
    vb::DecimalSeparatorScope separator { GetParam() };

    /** The input with the condominium-wide amounts, general first, and no other table. */
    static Apportionment::Input wide(QVector<Apportionment::Unit> list, const QVariant &general,
        const QVariant &heating = QVariant(), const QVariant &porter = QVariant())
    {
        Apportionment::Input input;
        input.units = std::move(list);
        input.general = QVector<Row> { { {}, {}, general, QStringLiteral("Spese generali") },
            { {}, {}, heating, QStringLiteral("Spese riscaldamento") },
            { {}, {}, porter, QStringLiteral("Spese portierato") } };
        input.buildings = QVector<Row>();
        input.stairs = QVector<Row>();
        input.lifts = QVector<Row>();
        return input;
    }

    static Apportionment::Input stairs(
        QVector<Apportionment::Unit> list, QVector<Row> rows, bool lift = false)
    {
        Apportionment::Input input = wide(std::move(list), QVariant());
        (lift ? input.lifts : input.stairs) = std::move(rows);
        return input;
    }
};

INSTANTIATE_TEST_SUITE_P(Separators, ApportionmentTest, ::testing::Values(QChar(u','), QChar(u'.')),
    [](const ::testing::TestParamInfo<QChar> &info) { return info.param == u',' ? "Comma" : "Point"; });

TEST_P(ApportionmentTest, WorkedExampleOfAStairResidue)
{
    // 100 € over 330, 330 and 330: 33.333 each, 33.33 rounded, the residue cent to the first unit.
    // Over 340 each the exact shares are the same: the thousandths need not add up to 1000.
    for (const QVariant &amount : { QVariant(100.0), typed("100.00") }) {
        Apportionment::Result up = Apportionment::compute(
            stairs(units(Kind::Stair, { 330, 330, 330 }), { { 1, QStringLiteral("A"), amount, {} } }));
        EXPECT_EQ(shares(up, Kind::Stair), (Shares { 33.34, 33.33, 33.33 }));
        Apportionment::Result down = Apportionment::compute(
            stairs(units(Kind::Stair, { 340, 340, 340 }), { { 1, QStringLiteral("A"), amount, {} } }));
        EXPECT_EQ(shares(down, Kind::Stair), (Shares { 33.34, 33.33, 33.33 }));
        EXPECT_EQ(up.totals.at(0), *Money::fromDouble(33.34));
        EXPECT_TRUE(up.notes().isEmpty());
    }
}

// Cases worked by hand, each on units of building 1, with the amounts of every row. For each case:
// every share, the shares of each amount adding up to it, and each unit's total.
TEST_P(ApportionmentTest, SharesToTheCent)
{
    using Thousandths = std::array<std::optional<double>, Apportionment::KindCount>; // by Kind
    struct UnitOf
    {
        const char *stair;
        const char *floor;
        Thousandths thousandths;
    };
    struct Case
    {
        const char *what;
        std::vector<UnitOf> units;
        std::array<const char *, 3> wide; // general, heating, porter's lodge; nullptr: empty
        const char *building;
        std::vector<std::pair<const char *, const char *>> stairs; // stair, amount
        std::vector<std::pair<const char *, const char *>> lifts;
        std::vector<std::pair<Kind, Shares>> expected;
        std::vector<double> totals;
        QStringList unapportioned;
    };
    const std::optional<double> no;
    const Case cases[] = {
        // 1000 € general over 123.456, 234.567, 345.678, 296.299: rounded to the cent they make
        // 1000.01, and the cent comes off the first (123.456 rounded up). 200 € heating over
        // 333.333, 333.333, 333.334 and 0: 66.6666, 66.6666, 66.6668 round to 66.67, one cent too
        // many off the first. 120 € porter's lodge over 142.857, 285.714, 285.714, 285.715: 17.14284
        // rounds down, the others up to 34.29, one cent off the second. 500 € building over
        // 111.111, 222.222, 333.333, 333.334: 55.5555, 111.111, 166.6665 (a half, rounded up),
        // 166.667, one cent off the first.
        { "four amounts",
            {
                { "A", "1", { 123.456, 333.333, 142.857, 111.111, no, no } },
                { "A", "2", { 234.567, 333.333, 285.714, 222.222, no, no } },
                { "A", "3", { 345.678, 333.334, 285.714, 333.333, no, no } },
                { "A", "4", { 296.299, 0, 285.715, 333.334, no, no } },
            },
            { "1000", "200", "120" }, "500", {}, {},
            {
                { Kind::General, { 123.45, 234.57, 345.68, 296.30 } },
                { Kind::Heating, { 66.66, 66.67, 66.67, 0.0 } },
                { Kind::Porter, { 17.14, 34.28, 34.29, 34.29 } },
                { Kind::Building, { 55.55, 111.11, 166.67, 166.67 } },
                { Kind::Stair, { none, none, none, none } },
            },
            { 262.80, 446.63, 613.31, 497.26 }, {} },
        { "100 over 330, 330, 330",
            { { "A", "1", { no, no, no, no, 330, no } }, { "A", "2", { no, no, no, no, 330, no } },
                { "A", "3", { no, no, no, no, 330, no } } },
            {}, nullptr, { { "A", "100" } }, {}, { { Kind::Stair, { 33.34, 33.33, 33.33 } } },
            { 33.34, 33.33, 33.33 }, {} },
        // The thousandths add up to 1020: each unit pays a third.
        { "100 over 340, 340, 340",
            { { "A", "1", { no, no, no, no, 340, no } }, { "A", "2", { no, no, no, no, 340, no } },
                { "A", "3", { no, no, no, no, 340, no } } },
            {}, nullptr, { { "A", "100" } }, {}, { { Kind::Stair, { 33.34, 33.33, 33.33 } } },
            { 33.34, 33.33, 33.33 }, {} },
        // Thousandths of 500 and 660: 1000 € over 200 and 300, 100 € over 330 and 330.
        { "thousandths that do not add up to 1000",
            { { "A", "1", { 200, 330, no, no, no, no } }, { "A", "2", { 300, 330, no, no, no, no } } },
            { "1000", "100", nullptr }, nullptr, {}, {},
            { { Kind::General, { 400.0, 600.0 } }, { Kind::Heating, { 50.0, 50.0 } } }, { 450.0, 650.0 },
            {} },
        // Lift of 100 € over the 900 thousandths that pay: 44.444, 44.444, 11.111, the residue cent
        // to the first that pays; the unit on T pays its stair share all the same (25 each).
        { "a lift with a unit on floor T",
            {
                { "A", "T", { no, no, no, no, 250, 100 } },
                { "A", "1", { no, no, no, no, 250, 400 } },
                { "A", "2", { no, no, no, no, 250, 400 } },
                { "A", "R", { no, no, no, no, 250, 100 } },
            },
            {}, nullptr, { { "A", "100" } }, { { "A", "100" } },
            { { Kind::Stair, { 25.0, 25.0, 25.0, 25.0 } }, { Kind::Lift, { 0.0, 44.45, 44.44, 11.11 } } },
            { 25.0, 69.45, 69.44, 36.11 }, {} },
        // 0.00333 each rounds to 0: the one cent goes to the first.
        { "0,01 over three units",
            { { "A", "1", { no, no, 333.333, no, no, no } }, { "A", "2", { no, no, 333.333, no, no, no } },
                { "A", "3", { no, no, 333.334, no, no, no } } },
            { nullptr, nullptr, "0.01" }, nullptr, {}, {}, { { Kind::Porter, { 0.01, 0.0, 0.0 } } },
            { 0.01, 0.0, 0.0 }, {} },
        // 1 € over six units of 100: 0.1667 rounds to 0.17, six make 1.02: two cents off the first two.
        { "a negative residue",
            { { "A", "1", { 100, no, no, no, no, no } }, { "A", "2", { 100, no, no, no, no, no } },
                { "A", "3", { 100, no, no, no, no, no } }, { "A", "4", { 100, no, no, no, no, no } },
                { "A", "5", { 100, no, no, no, no, no } }, { "A", "6", { 100, no, no, no, no, no } } },
            { "1", nullptr, nullptr }, nullptr, {}, {},
            { { Kind::General, { 0.16, 0.16, 0.17, 0.17, 0.17, 0.17 } } },
            { 0.16, 0.16, 0.17, 0.17, 0.17, 0.17 }, {} },
        // A refund of 100 €: -33.333 rounds to -33.33, and the cent still missing comes off the first.
        { "a negative amount",
            { { "A", "1", { 330, no, no, no, no, no } }, { "A", "2", { 330, no, no, no, no, no } },
                { "A", "3", { 330, no, no, no, no, no } } },
            { "-100", nullptr, nullptr }, nullptr, {}, {}, { { Kind::General, { -33.34, -33.33, -33.33 } } },
            { -33.34, -33.33, -33.33 }, {} },
        // A unit of 0 thousandths pays nothing and takes no cent; a stair whose thousandths are all
        // 0 is paid by nobody, and said.
        { "zero thousandths",
            { { "A", "1", { 0, no, no, no, 0, no } }, { "A", "2", { 330, no, no, no, 0, no } },
                { "A", "3", { 330, no, no, no, 0, no } }, { "A", "4", { 330, no, no, no, 0, no } } },
            { "100", nullptr, nullptr }, nullptr, { { "A", "1000" } }, {},
            { { Kind::General, { 0.0, 33.34, 33.33, 33.33 } }, { Kind::Stair, { 0.0, 0.0, 0.0, 0.0 } } },
            { 0.0, 33.34, 33.33, 33.33 }, { QStringLiteral("Scala 1 A") } },
    };
    const auto amount = [](const char *text) { return text ? typed(text) : QVariant(); };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Apportionment::Input input;
        for (const UnitOf &u : c.units) {
            Apportionment::Unit added
                = unit(QStringLiteral("1"), QString::fromLatin1(u.stair), QString::fromLatin1(u.floor));
            for (int kind = 0; kind < Apportionment::KindCount; ++kind) {
                if (u.thousandths.at(kind))
                    added.thousandths[kind] = *u.thousandths.at(kind);
            }
            input.units << added;
        }
        input.general = QVector<Row> { { {}, {}, amount(c.wide[0]), QStringLiteral("Spese generali") },
            { {}, {}, amount(c.wide[1]), QStringLiteral("Spese riscaldamento") },
            { {}, {}, amount(c.wide[2]), QStringLiteral("Spese portierato") } };
        input.buildings = QVector<Row>();
        if (c.building)
            input.buildings->append({ 1, {}, typed(c.building), {} });
        input.stairs = QVector<Row>();
        for (const auto &[stair, value] : c.stairs)
            input.stairs->append({ 1, QString::fromLatin1(stair), typed(value), {} });
        input.lifts = QVector<Row>();
        for (const auto &[stair, value] : c.lifts)
            input.lifts->append({ 1, QString::fromLatin1(stair), typed(value), {} });

        const Apportionment::Result result = Apportionment::compute(input);
        ASSERT_FALSE(result.refused());
        EXPECT_EQ(result.unapportioned, c.unapportioned);
        EXPECT_TRUE(result.notes().isEmpty()) << result.notes().toStdString();
        for (const auto &[kind, expected] : c.expected)
            EXPECT_EQ(shares(result, kind), expected) << "kind " << kind;

        // The shares of each amount that somebody pays add up to it, to the cent.
        const auto sumOf = [&](Kind kind, const char *stair) {
            Money sum;
            for (int i = 0; i < result.shares.size(); ++i) {
                if (stair && input.units.at(i).stair.toString() != QLatin1String(stair))
                    continue;
                sum += result.shares.at(i)[kind].value.value_or(Money());
            }
            return sum;
        };
        const Kind wideKinds[] = { Kind::General, Kind::Heating, Kind::Porter };
        for (int k = 0; k < 3; ++k) {
            if (c.wide[k]) {
                EXPECT_EQ(sumOf(wideKinds[k], nullptr), Money::fromValue(typed(c.wide[k]))) << "kind " << k;
            }
        }
        if (c.building) {
            EXPECT_EQ(sumOf(Kind::Building, nullptr), Money::fromValue(typed(c.building)));
        }
        for (const auto &[stair, value] : c.stairs) {
            if (!c.unapportioned.contains(QStringLiteral("Scala 1 ") + QLatin1String(stair))) {
                EXPECT_EQ(sumOf(Kind::Stair, stair), Money::fromValue(typed(value))) << "stair " << stair;
            }
        }
        for (const auto &[stair, value] : c.lifts)
            EXPECT_EQ(sumOf(Kind::Lift, stair), Money::fromValue(typed(value))) << "lift " << stair;

        // Each unit's total: the sum of its six shares, as worked by hand.
        ASSERT_EQ(result.totals.size(), qsizetype(c.totals.size()));
        for (std::size_t i = 0; i < c.totals.size(); ++i) {
            EXPECT_EQ(result.totals.at(i), Money::fromDouble(c.totals.at(i))) << "unit " << i;
            Money six;
            for (const Share &share : result.shares.at(i))
                six += share.value.value_or(Money());
            EXPECT_EQ(result.totals.at(i), six) << "unit " << i;
        }
    }
}

TEST_P(ApportionmentTest, CondominiumWideResidues)
{
    // Equal thousandths share an amount equally, whatever they add up to; a cent left over goes
    // to the first unit, and a unit of 0 thousandths pays nothing and takes no cent.
    struct Case
    {
        std::initializer_list<QVariant> thousandths;
        const char *amount;
        Shares expected;
    } cases[] = {
        { { 100, 100, 100 }, "1.2", { 0.4, 0.4, 0.4 } },
        { { 100, 100, 100 }, "3.9", { 1.3, 1.3, 1.3 } },
        { { 100, 100, 100, 100 }, "5", { 1.25, 1.25, 1.25, 1.25 } },
        { { 500, 500, 500 }, "3", { 1.0, 1.0, 1.0 } },
        { { 100, 100, 100 }, "10", { 3.34, 3.33, 3.33 } }, // 3.333 each: one cent up
        { { 100, 0, 100 }, "10", { 5.0, 0.0, 5.0 } },
        { { 0, 100, 100, 100 }, "10", { 0.0, 3.34, 3.33, 3.33 } },
    };
    const Kind kinds[] = { Kind::General, Kind::Heating, Kind::Porter };
    for (int k = 0; k < 3; ++k) {
        for (const Case &c : cases) {
            QVariant amounts[3];
            amounts[k] = typed(c.amount);
            const Apportionment::Result result = Apportionment::compute(
                wide(units(kinds[k], c.thousandths), amounts[0], amounts[1], amounts[2]));
            EXPECT_EQ(shares(result, kinds[k]), c.expected) << "kind " << k << " amount " << c.amount;
        }
    }
}

TEST_P(ApportionmentTest, TenSharesOfEightyCentsMakeEightEuro)
{
    // Ten units of 87.5 thousandths share 8 € at 0.80 each, added up without drifting.
    QVector<Apportionment::Unit> list
        = units(Kind::General, { 87.5, 87.5, 87.5, 87.5, 87.5, 87.5, 87.5, 87.5, 87.5, 87.5 });
    const Apportionment::Result result = Apportionment::compute(wide(list, 8.0));
    const Shares expected { 0.8, 0.8, 0.8, 0.8, 0.8, 0.8, 0.8, 0.8, 0.8, 0.8 };
    EXPECT_EQ(shares(result, Kind::General), expected);
    Money sum;
    for (const Money &total : result.totals)
        sum += total;
    EXPECT_EQ(sum, Money::whole(8));
}

TEST_P(ApportionmentTest, BuildingSharesAndResidues)
{
    // Rows out of the units' order: each unit finds its building by number (building 12 too).
    Apportionment::Input input = wide({}, QVariant());
    input.units << units(Kind::Building, { 100, 100, 100 }, QStringLiteral("1"))
                << units(Kind::Building, { 1000 }, QStringLiteral("12"))
                << units(Kind::Building, { 500, 500, 500 }, QStringLiteral("2"));
    input.buildings = QVector<Row> { { 12, {}, typed("10"), {} }, { 1, {}, typed("10"), {} },
        { 2, {}, typed("0.02"), {} } };
    const Apportionment::Result result = Apportionment::compute(input);
    // Building 1: 3.333 each, the residue cent to its first unit, not to the next building's.
    // Building 12: 10.00. Building 2: 0.00667 each, rounded to 0.01, one cent too many taken off
    // the first.
    EXPECT_EQ(shares(result, Kind::Building), (Shares { 3.34, 3.33, 3.33, 10.0, 0.0, 0.01, 0.01 }));
}

TEST_P(ApportionmentTest, StairResidues)
{
    const QString A = QStringLiteral("A");
    // Four steps over two units followed by a unit of stair B: one, then three.
    QVector<Apportionment::Unit> list = units(Kind::Stair, { 100, 100 });
    list << units(Kind::Stair, { 100 }, QStringLiteral("1"), QStringLiteral("B"));
    Apportionment::Result result = Apportionment::compute(stairs(list, { { 1, A, typed("5.01"), {} } }));
    // 2.505 each, rounded up to 2.51: the cent too many comes off the first; stair B has no row.
    EXPECT_EQ(shares(result, Kind::Stair), (Shares { 2.50, 2.51, none }));

    // 1.00333 each: the residue cent goes to the first.
    result = Apportionment::compute(
        stairs(units(Kind::Stair, { 500, 500, 500 }), { { 1, A, typed("3.01"), {} } }));
    EXPECT_EQ(shares(result, Kind::Stair), (Shares { 1.01, 1.0, 1.0 }));
    EXPECT_TRUE(result.unapportioned.isEmpty());

    // Thousandths that add up to 0: nobody pays the 1000 €, and it is said.
    result = Apportionment::compute(stairs(units(Kind::Stair, { 0, 0 }), { { 1, A, typed("1000"), {} } }));
    EXPECT_EQ(shares(result, Kind::Stair), (Shares { 0.0, 0.0 }));
    EXPECT_EQ(result.unapportioned, QStringList { QStringLiteral("Scala 1 A") });
    EXPECT_TRUE(result.unapportionedText().startsWith(QStringLiteral("Spese non ripartite: Scala 1 A. ")));

    // The same stair letter in the next building: 0.015 each rounds up to 0.02, and the cent too
    // many comes off building 1's first unit, not off building 2's.
    list = units(Kind::Stair, { 100, 100 });
    list << units(Kind::Stair, { 1000 }, QStringLiteral("2"));
    result = Apportionment::compute(stairs(list, { { 1, A, typed("0.03"), {} }, { 2, A, typed("10"), {} } }));
    EXPECT_EQ(shares(result, Kind::Stair), (Shares { 0.01, 0.02, 10.0 }));
}

TEST_P(ApportionmentTest, LiftOnGroundFloor)
{
    // A unit on floor "T" pays no lift share; the units of the lift that pay share the amount in
    // proportion to their thousandths.
    struct Case
    {
        const char *what;
        std::vector<std::pair<const char *, double>> units; // floor, lift thousandths
        const char *amount;
        Shares expected;
        bool unpaid;
    } cases[] = {
        // 120 € over the 800 thousandths that pay: 30.00, 37.37505 and 52.62495.
        { "one unit on T", { { "T", 200 }, { "1", 200 }, { "2", 249.167 }, { "3", 350.833 } }, "120",
            { 0.0, 30.0, 37.38, 52.62 }, false },
        // 100 € over 800 thousandths that pay: 50 each.
        { "thousandths short of 1000", { { "T", 100 }, { "1", 400 }, { "2", 400 } }, "100",
            { 0.0, 50.0, 50.0 }, false },
        // 100 € over 900: 44.444, 44.444, 11.111; the residue cent to the first that pays.
        { "a cent to the first that pays", { { "T", 100 }, { "1", 400 }, { "2", 400 }, { "3", 100 } }, "100",
            { 0.0, 44.45, 44.44, 11.11 }, false },
        // 120 € over the 750 thousandths that pay: 40 and 80.
        { "two units on T", { { "T", 100 }, { "T", 150 }, { "1", 250 }, { "2", 500 } }, "120",
            { 0.0, 0.0, 40.0, 80.0 }, false },
        // R pays; 500 on T go to R, which pays the whole.
        { "T and R", { { "T", 500 }, { "R", 500 } }, "100", { 0.0, 100.0 }, false },
        // Nobody pays: the amount is apportioned to nobody, and said.
        { "all units on T", { { "T", 500 }, { "T", 500 } }, "120", { 0.0, 0.0 }, true },
        { "all on T, no amount", { { "T", 500 }, { "T", 500 } }, "0", { 0.0, 0.0 }, false },
        // No unit on T weighs: as without it, 100 over 330 each.
        { "T of 0 thousandths", { { "T", 0 }, { "R", 330 }, { "1", 330 }, { "2", 330 } }, "100",
            { 0.0, 33.34, 33.33, 33.33 }, false },
        { "no unit on T", { { "R", 330 }, { "1", 330 }, { "2", 330 } }, "100", { 33.34, 33.33, 33.33 },
            false },
    };
    for (const Case &c : cases) {
        QVector<Apportionment::Unit> list;
        for (const auto &[floor, thousandths] : c.units) {
            Apportionment::Unit u
                = unit(QStringLiteral("1"), QStringLiteral("A"), QString::fromLatin1(floor));
            u.thousandths[Kind::Lift] = thousandths;
            list << u;
        }
        const Apportionment::Result result
            = Apportionment::compute(stairs(list, { { 1, QStringLiteral("A"), typed(c.amount), {} } }, true));
        EXPECT_EQ(shares(result, Kind::Lift), c.expected) << c.what;
        EXPECT_EQ(
            result.unapportioned, c.unpaid ? QStringList { QStringLiteral("Ascensore 1 A") } : QStringList())
            << c.what;
        EXPECT_FALSE(result.refused()) << c.what;
    }

    // The same stair's stair shares know nothing of floors.
    QVector<Apportionment::Unit> list = units(Kind::Stair, { 500, 500 });
    list[0].floor = QStringLiteral("T");
    const Apportionment::Result result
        = Apportionment::compute(stairs(list, { { 1, QStringLiteral("A"), typed("120"), {} } }));
    EXPECT_EQ(shares(result, Kind::Stair), (Shares { 60.0, 60.0 }));
}

TEST_P(ApportionmentTest, EachRunComputesAfresh)
{
    // A heating amount over a heated unit and an unheated one (no heating thousandths): the
    // unheated unit gets an empty share and no step, even with last run's share in its row.
    QVector<Apportionment::Unit> list = units(Kind::Heating, { 500, QVariant() });
    list[1].shares[Kind::Heating] = 12.3;
    // Last run's general share goes too, now that the general amount is empty.
    list[0].shares[Kind::General] = 45.6;
    list[0].thousandths[Kind::General] = 500;
    const Apportionment::Result result = Apportionment::compute(wide(list, QVariant(), typed("100")));
    EXPECT_EQ(shares(result, Kind::Heating), (Shares { 100.0, none }));
    EXPECT_EQ(shares(result, Kind::General), (Shares { none, none }));
    EXPECT_TRUE(result.shares[1][Kind::Heating].written);
}

TEST_P(ApportionmentTest, UnmatchedUnitsKeepTheirShares)
{
    // A unit of stair C (no stair nor lift row) keeps its shares, and they count in its total:
    // 10.5, empty, 3.0, 0, 2.5 and 1.0 make 17.
    Apportionment::Unit u = unit(QStringLiteral("1"), QStringLiteral("C"));
    const QVariant held[] = { 10.5, QVariant(), 3.0, 0.0, 2.5, 1.0 };
    for (int kind = 0; kind < Apportionment::KindCount; ++kind)
        u.shares[kind] = held[kind];
    Apportionment::Input input;
    input.units = { u };
    input.stairs = QVector<Row> { { 1, QStringLiteral("A"), 100.0, {} } };
    input.lifts = QVector<Row> { { 1, QStringLiteral("A"), 100.0, {} } };
    const Apportionment::Result result = Apportionment::compute(input);
    EXPECT_FALSE(result.shares[0][Kind::Stair].written);
    EXPECT_FALSE(result.shares[0][Kind::Lift].written);
    EXPECT_EQ(result.totals.at(0), Money::whole(17));
    EXPECT_EQ(vb::Format(result.totals.at(0).toDouble(), QStringLiteral("########0.000")),
        QStringLiteral("17") + vb::decimalSeparator() + QStringLiteral("000"));
    // The missing condominium-wide and building tables are said.
    EXPECT_EQ(result.notes(), QStringLiteral("Tabelle mancanti: TAB_SPESE3, TAB_SPESE1."));
}

TEST_P(ApportionmentTest, FewerThanThreeWideRows)
{
    QVector<Apportionment::Unit> list = units(Kind::General, { 1000 });
    list[0].shares[Kind::Heating] = 4.0;
    Apportionment::Input input = wide(list, typed("10"), typed("20"));
    input.general->resize(1);
    const Apportionment::Result result = Apportionment::compute(input);
    EXPECT_EQ(shares(result, Kind::General), (Shares { 10.0 }));
    EXPECT_EQ(shares(result, Kind::Heating), (Shares { 4.0 }));
    EXPECT_FALSE(result.shares[0][Kind::Heating].written);
}

TEST_P(ApportionmentTest, ValuesThatAreNotNumbers)
{
    QVector<Apportionment::Unit> list = units(Kind::General, { QStringLiteral("abc"), 1000 });
    list[1].thousandths[Kind::Porter] = QStringLiteral("x");
    Apportionment::Input input = wide(list, typed("10"), QStringLiteral("abc"));
    input.buildings = QVector<Row> { { 1, {}, QStringLiteral("xyz"), {} } };
    const Apportionment::Result result = Apportionment::compute(input);
    EXPECT_EQ(shares(result, Kind::General), (Shares { none, 10.0 }));
    EXPECT_EQ(shares(result, Kind::Heating), (Shares { none, none }));
    EXPECT_EQ(result.notes(),
        QStringLiteral("Importi non numerici: Spese riscaldamento, Palazzina 1; millesimi non numerici: 2."));
}

TEST_P(ApportionmentTest, GroupedAmountText)
{
    // "1.234,56" reads as 1234.56 under the comma and is no number under the point.
    const Apportionment::Result result
        = Apportionment::compute(wide(units(Kind::General, { 1000 }), QStringLiteral("1.234,56")));
    if (GetParam() == u',') {
        EXPECT_EQ(shares(result, Kind::General), (Shares { 1234.56 }));
        EXPECT_TRUE(result.notes().isEmpty());
    } else {
        EXPECT_EQ(shares(result, Kind::General), (Shares { none }));
        EXPECT_EQ(result.notes(), QStringLiteral("Importi non numerici: Spese generali."));
    }
}

TEST_P(ApportionmentTest, NoUnits)
{
    const Apportionment::Result result = Apportionment::compute(wide({}, typed("10")));
    EXPECT_TRUE(result.shares.isEmpty());
    EXPECT_EQ(result.notes(), QStringLiteral("Nessuna unità nella tabella."));
}

TEST_P(ApportionmentTest, ValuesThatCouldOverflowAreRefusedNotWrapped)
{
    // 1e15 of general and of heating expenses over one unit of 650 thousandths each: the two
    // shares of 6.5e14 made a total beyond what Money holds, written as -544.674.407.370.955,00.
    QVector<Apportionment::Unit> list = units(Kind::General, { 650 });
    list[0].thousandths[Kind::Heating] = 650;
    Apportionment::Result result = Apportionment::compute(wide(list, 1e15, 1e15));
    EXPECT_TRUE(result.refused());
    EXPECT_EQ(result.tooLarge,
        (QStringList { QStringLiteral("l'importo di Spese generali supera il limite"),
            QStringLiteral("l'importo di Spese riscaldamento supera il limite") }));
    EXPECT_TRUE(
        result.refusal().startsWith(QStringLiteral("Calcolo non effettuato: l'importo di Spese generali")));
    EXPECT_TRUE(result.refusal().contains(QStringLiteral("correggere i valori indicati e ripetere")));

    // Six amounts of 1.6e14 over a unit of 1000 thousandths in each kind: six shares of 1.6e14.
    Apportionment::Unit u = unit(QStringLiteral("1"), QStringLiteral("A"));
    u.thousandths.fill(1000);
    Apportionment::Input input = wide({ u }, 1.6e14, 1.6e14, 1.6e14);
    input.buildings = QVector<Row> { { 1, {}, 1.6e14, {} } };
    input.stairs = QVector<Row> { { 1, QStringLiteral("A"), 1.6e14, {} } };
    input.lifts = input.stairs;
    result = Apportionment::compute(input);
    EXPECT_EQ(result.tooLarge.size(), 6);
    EXPECT_TRUE(result.tooLarge.contains(QStringLiteral("l'importo di Ascensore 1 A supera il limite")));

    // 1e300, and thousandths of 1e30.
    EXPECT_TRUE(Apportionment::compute(wide(units(Kind::General, { 1000 }), 1e300)).refused());
    result = Apportionment::compute(wide(units(Kind::General, { 1e30, typed("1e30") }), 10.0));
    EXPECT_EQ(result.tooLarge, QStringList { QStringLiteral("valori di millesimi oltre il limite: 2") });

    // At the limits: 1e11 over ten units of a million thousandths is ten shares of 1e10.
    result = Apportionment::compute(
        wide(units(Kind::General, { 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6 }), 1e11));
    EXPECT_FALSE(result.refused());
    EXPECT_EQ(result.totals.at(9), Money::whole(10000000000));

    // Within the limits, thousandths of both signs that nearly cancel out make a share of 1e22.
    result = Apportionment::compute(wide(units(Kind::General, { 1e6, typed("-999999.999") }), 1e11));
    EXPECT_EQ(result.tooLarge, QStringList { QStringLiteral("la quota A dell'unità della riga 1") });

    // A unit no row matches keeps shares of 5e14 and 5e14: its total is 1e15.
    u = unit(QStringLiteral("1"), QStringLiteral("C"));
    u.shares[Kind::Stair] = 5e14;
    u.shares[Kind::Lift] = 5e14;
    result = Apportionment::compute(stairs({ u }, {}));
    EXPECT_EQ(result.tooLarge, QStringList { QStringLiteral("il totale dell'unità della riga 1") });

    // Nine units of a million thousandths on floor T: the one unit that pays pays the whole lift.
    list.clear();
    for (int i = 0; i < 9; ++i) {
        Apportionment::Unit g = unit(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("T"));
        g.thousandths[Kind::Lift] = 1e6;
        list << g;
    }
    list << unit(QStringLiteral("1"), QStringLiteral("A"));
    list.last().thousandths[Kind::Lift] = 1;
    result = Apportionment::compute(stairs(list, { { 1, QStringLiteral("A"), 1e11, {} } }, true));
    EXPECT_FALSE(result.refused());
    EXPECT_EQ(result.shares.at(0)[Kind::Lift].value, Money());
    EXPECT_EQ(result.shares.at(9)[Kind::Lift].value, Money::whole(100000000000));
}

TEST_P(ApportionmentTest, TypedValuesBeyondTheLimitsAreRefused)
{
    struct Case
    {
        const char *typed;
        bool amountRefused;
        bool thousandthsRefused;
    } cases[] = {
        { "100", false, false },
        { "1000000", false, false },
        { "-1000001", false, true },
        { "100000000000", false, true },
        { "-100000000000.5", true, true },
        { "1e15", true, true },
        { "1.6e14", true, true },
        { "1e300", true, true },
        { "1e30", true, true },
        { "abc", false, false }, // not a number: the grid itself refuses it
        { "", false, false },
    };
    for (const Case &c : cases) {
        const QVariant value = typed(c.typed);
        EXPECT_EQ(!Apportionment::amountProblem(value).isEmpty(), c.amountRefused) << c.typed;
        EXPECT_EQ(!Apportionment::thousandthsProblem(value).isEmpty(), c.thousandthsRefused) << c.typed;
    }
    const QString limit
        = GetParam() == u',' ? QStringLiteral("100.000.000.000") : QStringLiteral("100,000,000,000");
    EXPECT_EQ(Apportionment::amountProblem(typed("1e15")),
        QStringLiteral("Importo troppo grande: 1e15. Gli importi non possono superare %1, in più o in meno: "
                       "scrivere un importo minore.")
            .arg(limit));
}

TEST(Money, ReadsRoundsAndAddsExactly)
{
    vb::DecimalSeparatorScope comma(u',');
    EXPECT_EQ(Money::fromValue(QStringLiteral("1.234,56"))->units(), 12345600);
    EXPECT_EQ(Money::fromValue(QStringLiteral("0,00005"))->units(), 1);
    EXPECT_EQ(Money::fromValue(-2.5)->wholePart(), -2);
    EXPECT_FALSE(Money::fromValue(QStringLiteral("abc")));
    EXPECT_FALSE(Money::fromValue(QString()));
    EXPECT_FALSE(Money::fromValue(QVariant()));
    EXPECT_FALSE(Money::fromDouble(1e300));
    // Sums beyond what Money holds throw instead of wrapping round.
    EXPECT_THROW(Money::max() + Money::fromUnits(1), std::overflow_error);
    EXPECT_THROW(-Money::max() - Money::whole(1), std::overflow_error);
    Money big = Money::max();
    EXPECT_THROW(big += Money::fromUnits(1), std::overflow_error);
    EXPECT_EQ(big, Money::max());
    Money sum;
    for (int i = 0; i < 10; ++i)
        sum += *Money::fromDouble(0.1);
    EXPECT_EQ(sum, Money::whole(1));
}

} // namespace
