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
    // A unit on floor "T" pays no lift share; what its thousandths would pay goes to the units of
    // the lift that pay, in proportion to their thousandths; only the rounding residue is spread.
    struct Case
    {
        const char *what;
        std::vector<std::pair<const char *, double>> units; // floor, lift thousandths
        const char *amount;
        Shares expected;
        bool unpaid;
    } cases[] = {
        // 120 € with 200 thousandths on floor T (24 €): 24 € over 800 thousandths that pay.
        // 200: 24 + 6 = 30.0; 249.167: 29.90004 + 7.47501 = 37.4; 350.833: 42.09996 + 10.52499 = 52.6.
        // (Spread as residue, the 24 € made the last owner pay 42.1 + 22 = 64.1.)
        { "one unit on T", { { "T", 200 }, { "1", 200 }, { "2", 249.167 }, { "3", 350.833 } }, "120",
            { 0.0, 30.0, 37.4, 52.6 }, false },
        // 100 € over 900 thousandths: T's 10 € go half each, 40 + 5 = 45.0 each; the 10 € the
        // thousandths leave are the residue: one step to the first, nine to the last.
        { "thousandths short of 1000", { { "T", 100 }, { "1", 400 }, { "2", 400 } }, "100",
            { 0.0, 46.0, 54.0 }, false },
        // Two units on T hold 250 thousandths of 120 €, 30 €: 250 gets 30 + 10, 500 gets 60 + 20.
        { "two units on T", { { "T", 100 }, { "T", 150 }, { "1", 250 }, { "2", 500 } }, "120",
            { 0.0, 0.0, 40.0, 80.0 }, false },
        // R pays; 500 on T go to R, which pays the whole.
        { "T and R", { { "T", 500 }, { "R", 500 } }, "100", { 0.0, 100.0 }, false },
        // Nobody pays: the amount is apportioned to nobody, and said.
        { "all units on T", { { "T", 500 }, { "T", 500 } }, "120", { 0.0, 0.0 }, true },
        { "all on T, no amount", { { "T", 500 }, { "T", 500 } }, "0", { 0.0, 0.0 }, false },
        // No unit on T weighs: as without it, 100 over 330 each is 33.0 and a step to the first.
        { "T of 0 thousandths", { { "T", 0 }, { "R", 330 }, { "1", 330 }, { "2", 330 } }, "100",
            { 0.0, 34.0, 33.0, 33.0 }, false },
        { "no unit on T", { { "R", 330 }, { "1", 330 }, { "2", 330 } }, "100", { 34.0, 33.0, 33.0 }, false },
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
            result.unpaidLifts, c.unpaid ? QStringList { QStringLiteral("Ascensore 1 A") } : QStringList())
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

    // At the limits: 1e11 over a million thousandths is one share of 1e14.
    result = Apportionment::compute(wide(units(Kind::General, { 1e6 }), 1e11));
    EXPECT_FALSE(result.refused());
    EXPECT_EQ(result.totals.at(0), Money::whole(100000000000000));

    // Within the limits, sums can still pass Money: ten shares of 1e14 are 1e15.
    result = Apportionment::compute(
        wide(units(Kind::General, { 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6 }), 1e11));
    EXPECT_EQ(result.tooLarge, QStringList { QStringLiteral("la somma delle quote di Spese generali") });

    // A unit no row matches keeps shares of 5e14 and 5e14: its total is 1e15.
    u = unit(QStringLiteral("1"), QStringLiteral("C"));
    u.shares[Kind::Stair] = 5e14;
    u.shares[Kind::Lift] = 5e14;
    result = Apportionment::compute(stairs({ u }, {}));
    EXPECT_EQ(result.tooLarge, QStringList { QStringLiteral("il totale dell'unità della riga 1") });

    // Nine units of a million thousandths on floor T hand 9e14 of 1e11 to the one unit that pays.
    list.clear();
    for (int i = 0; i < 9; ++i) {
        Apportionment::Unit g = unit(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("T"));
        g.thousandths[Kind::Lift] = 1e6;
        list << g;
    }
    list << unit(QStringLiteral("1"), QStringLiteral("A"));
    list.last().thousandths[Kind::Lift] = 1;
    result = Apportionment::compute(stairs(list, { { 1, QStringLiteral("A"), 1e11, {} } }, true));
    EXPECT_EQ(result.tooLarge, QStringList { QStringLiteral("la quota D dell'unità della riga 10") });
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
