// The apportionment worked by hand: shares of one decimal, residue steps of one currency unit,
// totals. Every case runs under the comma and under the point; amounts are in euro.

#include "expenses/apportionment.h"
#include "platform/vb.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using zav::expenses::Apportionment;
using zav::expenses::Money;
using Kind = Apportionment::Kind;
using Row = Apportionment::AmountRow;
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
    // 100 € over 330, 330 and 330: 33.0 each, residue +1 to the first unit.
    // Over 340 each: 34.0 each, residue -2 taken off the first two.
    for (const QVariant &amount : { QVariant(100.0), typed("100.00") }) {
        Apportionment::Result up = Apportionment::compute(
            stairs(units(Kind::Stair, { 330, 330, 330 }), { { 1, QStringLiteral("A"), amount, {} } }));
        EXPECT_EQ(shares(up, Kind::Stair), (Shares { 34.0, 33.0, 33.0 }));
        Apportionment::Result down = Apportionment::compute(
            stairs(units(Kind::Stair, { 340, 340, 340 }), { { 1, QStringLiteral("A"), amount, {} } }));
        EXPECT_EQ(shares(down, Kind::Stair), (Shares { 33.0, 33.0, 34.0 }));
        EXPECT_EQ(up.totals.at(0), Money::whole(34));
        EXPECT_TRUE(up.notes().isEmpty());
    }
}

TEST_P(ApportionmentTest, CondominiumWideResidues)
{
    // Thousandths of 100 each: a share is a tenth of the amount, rounded to one decimal.
    struct Case
    {
        std::initializer_list<QVariant> thousandths;
        const char *amount;
        Shares expected;
    } cases[] = {
        { { 100, 100, 100 }, "1.2", { 0.1, 0.1, 0.1 } }, // residue 0.9: nothing
        { { 100, 100, 100 }, "3.9", { 1.4, 1.4, 0.4 } }, // 0.4 each, residue 2.7: the first two
        { { 100, 100, 100, 100 }, "5", { 1.5, 1.5, 1.5, 0.5 } }, // residue 3: the first three
        { { 500, 500, 500 }, "3", { 1.5, 1.5, 1.5 } }, // residue -1.5: nothing
        { { 100, 100, 100 }, "10", { 2.0, 2.0, 6.0 } }, // residue 7: the last takes the steps beyond
        { { 100, 0, 100 }, "10", { 2.0, 0.0, 8.0 } }, // residue 8: a unit of 0 thousandths takes no step
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

TEST_P(ApportionmentTest, ResidueOfExactlyOneFromOneDecimalShares)
{
    // Ten shares of 0.7 € (87.5 thousandths of 8 €) make exactly 7: the residue is 1, one step.
    QVector<Apportionment::Unit> list
        = units(Kind::General, { 87.5, 87.5, 87.5, 87.5, 87.5, 87.5, 87.5, 87.5, 87.5, 87.5 });
    const Apportionment::Result result = Apportionment::compute(wide(list, 8.0));
    const Shares expected { 1.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7 };
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
    input.units << units(Kind::Building, { 100, 100 }, QStringLiteral("1"))
                << units(Kind::Building, { 1000 }, QStringLiteral("12"))
                << units(Kind::Building, { 500, 500, 500 }, QStringLiteral("2"));
    input.buildings
        = QVector<Row> { { 12, {}, typed("10"), {} }, { 1, {}, typed("5"), {} }, { 2, {}, typed("3"), {} } };
    const Apportionment::Result result = Apportionment::compute(input);
    // Building 1: 0.5 each, residue 4 stays in the building, its last unit taking three.
    // Building 12: 10.0. Building 2: 1.5 each, residue -1.5 is not spread.
    EXPECT_EQ(shares(result, Kind::Building), (Shares { 1.5, 3.5, 10.0, 1.5, 1.5, 1.5 }));
}

TEST_P(ApportionmentTest, StairResidues)
{
    const QString A = QStringLiteral("A");
    // Four steps over two units followed by a unit of stair B: one, then three.
    QVector<Apportionment::Unit> list = units(Kind::Stair, { 100, 100 });
    list << units(Kind::Stair, { 100 }, QStringLiteral("1"), QStringLiteral("B"));
    Apportionment::Result result = Apportionment::compute(stairs(list, { { 1, A, typed("5"), {} } }));
    EXPECT_EQ(shares(result, Kind::Stair), (Shares { 1.5, 3.5, none }));

    // Residue -1.5: one unit off the first.
    result
        = Apportionment::compute(stairs(units(Kind::Stair, { 500, 500, 500 }), { { 1, A, typed("3"), {} } }));
    EXPECT_EQ(shares(result, Kind::Stair), (Shares { 0.5, 1.5, 1.5 }));

    // Shares that add up to 0 spread nothing, even for 1000 €.
    result = Apportionment::compute(stairs(units(Kind::Stair, { 0, 0 }), { { 1, A, typed("1000"), {} } }));
    EXPECT_EQ(shares(result, Kind::Stair), (Shares { 0.0, 0.0 }));

    // The same stair letter in the next building: the steps stay in building 1.
    list = units(Kind::Stair, { 100 });
    list << units(Kind::Stair, { 1000 }, QStringLiteral("2"));
    result = Apportionment::compute(stairs(list, { { 1, A, typed("5"), {} }, { 2, A, typed("10"), {} } }));
    EXPECT_EQ(shares(result, Kind::Stair), (Shares { 4.5, 10.0 }));
}

TEST_P(ApportionmentTest, LiftOnGroundFloor)
{
    const QString A = QStringLiteral("A");
    QVector<Apportionment::Unit> list = units(Kind::Lift, { 100, 600, 500 });
    list[0].floor = QStringLiteral("T");
    list[1].floor = QStringLiteral("R");
    // T pays nothing whatever its thousandths; R pays 60.0, "1" 50.0; the residue -10 is taken
    // off the units that pay: one off R, nine off the last, none off T.
    Apportionment::Result result = Apportionment::compute(stairs(list, { { 1, A, typed("100"), {} } }, true));
    EXPECT_EQ(shares(result, Kind::Lift), (Shares { 0.0, 59.0, 41.0 }));

    // Residue +50 with T and R at 500 each: all steps go to R.
    list = units(Kind::Lift, { 500, 500 });
    list[0].floor = QStringLiteral("T");
    list[1].floor = QStringLiteral("R");
    result = Apportionment::compute(stairs(list, { { 1, A, typed("100"), {} } }, true));
    EXPECT_EQ(shares(result, Kind::Lift), (Shares { 0.0, 100.0 }));
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
        EXPECT_EQ(shares(result, Kind::General), (Shares { 1234.6 }));
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
    Money sum;
    for (int i = 0; i < 10; ++i)
        sum += *Money::fromDouble(0.1);
    EXPECT_EQ(sum, Money::whole(1));
}

} // namespace
