// The recalculation's arithmetic on rooms given in code, without an archive: the host knows the value
// of each expression and records what it is asked and told. Values worked out by hand.

#include "engine/recalculation.h"
#include "platform/vb.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <limits>
#include <map>

using zav::engine::Recalculation;
using zav::engine::RecalculationRoom;
using zav::engine::RoomField;
namespace vb = zav::platform::vb;

namespace {

class ScriptedHost : public Recalculation::Host
{
public:
    std::map<QString, std::optional<double>> values;
    QStringList asked;
    int nonFiniteCount = 0;

    std::optional<double> evaluate(const QString &expression) override
    {
        asked << expression;
        const auto found = values.find(expression);
        return found == values.end() ? std::nullopt : found->second;
    }
    void nonFinite() override { ++nonFiniteCount; }
};

RoomField text(const char *value)
{
    return RoomField(QVariant(QString::fromUtf8(value)));
}

// Three rooms of one unit, heated by volume and by radiant surface, the height in force 0 at start:
//   A: " 2*5 " = 10, coefficients 0.5 and 3 -> 15; height 2.5 -> volume 37.5; radiant "1/3" ->
//      0.333; window "C" left as it is; heated: 10 x 2.5 = 25 and 0.333
//   B: "4" = 4, no coefficient -> 4; no height -> 2.5 carried and written; volume 10; not heated
//   C: "6" = 6 with coefficient "abc" -> no weighted surface, volume left as stored; height "0" ->
//      1, not written; heated: 6 x 1 = 6
// Totals: weighted 15 + 4 = 19; volume 37.5 + 10 = 47.5; heated volume 25 + 6 = 31; radiant 0.333.
TEST(RecalculationArithmetic, RoomsOfAUnitWorkedOutByHand)
{
    const vb::DecimalSeparatorScope separator(u',');
    ScriptedHost host;
    host.values = { { "2*5", 10.0 }, { "1/3", 1.0 / 3.0 }, { "4", 4.0 }, { "6", 6.0 } };
    Recalculation calculation(host, { true, true, false }, 0.0);
    calculation.startUnit();

    RecalculationRoom a;
    a.espressione = QStringLiteral(" 2*5 ");
    a.espresRad = QStringLiteral("1/3");
    a.supFinestra = QStringLiteral("C");
    a.readCoefficient(1, text("0,5"));
    a.readCoefficient(8, text("3"));
    a.heated = true;
    a.hPiano = text("2,5");
    a.mqFinestra = text("1,0");
    calculation.computeRoom(a);
    calculation.addRoom(a);
    EXPECT_EQ(a.mq.value(), QVariant(QStringLiteral("10,0")));
    EXPECT_EQ(a.totCoef.value(), QVariant(QStringLiteral("15,0")));
    EXPECT_EQ(a.hPiano.value(), QVariant(QStringLiteral("2,5")));
    EXPECT_EQ(a.totVol.value(), QVariant(QStringLiteral("37,5")));
    EXPECT_EQ(a.totEspresRad.value(), QVariant(QStringLiteral("0,333")));
    EXPECT_EQ(a.mqFinestra.value(), QVariant(QStringLiteral("1,0")));

    RecalculationRoom b;
    b.espressione = QStringLiteral("4");
    calculation.computeRoom(b);
    calculation.addRoom(b);
    EXPECT_EQ(b.totCoef.value(), QVariant(QStringLiteral("4,0")));
    EXPECT_EQ(b.hPiano.value(), QVariant(QStringLiteral("2,5")));
    EXPECT_EQ(b.totVol.value(), QVariant(QStringLiteral("10,0")));

    RecalculationRoom c;
    c.espressione = QStringLiteral("6");
    c.readCoefficient(2, text("abc"));
    c.heated = true;
    c.hPiano = text("0");
    c.totVol = text("9,0");
    calculation.computeRoom(c);
    calculation.addRoom(c);
    EXPECT_FALSE(c.coefficientsReadable);
    EXPECT_EQ(c.totCoef.value(), QVariant(QString()));
    EXPECT_EQ(c.hPiano.value(), QVariant(QStringLiteral("0")));
    EXPECT_EQ(c.totVol.value(), QVariant(QStringLiteral("9,0")));
    EXPECT_EQ(calculation.heightInForce(), 1.0);

    EXPECT_EQ(host.asked, (QStringList { "2*5", "1/3", "4", "6" }));
    const Recalculation::UnitValues totals = calculation.unitValues();
    EXPECT_EQ(totals.totSup, QVariant(19.0));
    EXPECT_EQ(totals.totVol, QVariant(47.5));
    EXPECT_EQ(totals.totVolRisc, QVariant(31.0));
    EXPECT_EQ(totals.totRadRisc, QVariant(0.333));

    // A new unit starts its sums at 0; the height in force runs on.
    calculation.startUnit();
    EXPECT_EQ(calculation.unitValues().totSup, QVariant(0.0));
    EXPECT_EQ(calculation.heightInForce(), 1.0);
}

// An expression that cannot be evaluated empties its field; a value that is not finite is told to
// the host, each time, and stored as the empty text; an empty expression leaves its field alone.
TEST(RecalculationArithmetic, ValuesThatAreNotNumbers)
{
    const vb::DecimalSeparatorScope separator(u'.');
    ScriptedHost host;
    host.values = { { "1/0", std::numeric_limits<double>::infinity() }, { "2", 2.0 } };
    Recalculation calculation(host, {}, 3.0);
    calculation.startUnit();

    RecalculationRoom room;
    room.espressione = QStringLiteral("1/0");
    room.espresRad = QStringLiteral("SQR(-1)");
    room.supFinestra = QStringLiteral("   ");
    room.totEspresRad = text("5.0");
    room.mqFinestra = text("7.0");
    room.totVol = text("8.0");
    calculation.computeRoom(room);
    calculation.addRoom(room);
    EXPECT_EQ(host.nonFiniteCount, 1);
    EXPECT_EQ(host.asked, (QStringList { "1/0", "SQR(-1)" }));
    EXPECT_EQ(room.mq.value(), QVariant(QString()));
    EXPECT_EQ(room.totCoef.value(), QVariant(QString()));
    EXPECT_EQ(room.totEspresRad.value(), QVariant(QString()));
    EXPECT_EQ(room.mqFinestra.value(), QVariant(QStringLiteral("7.0")));
    EXPECT_EQ(room.totVol.value(), QVariant(QStringLiteral("8.0")));
    EXPECT_EQ(room.hPiano.value(), QVariant(QStringLiteral("3")));

    // A product beyond the range of doubles is not finite either.
    RecalculationRoom huge;
    huge.espressione = QStringLiteral("2");
    huge.readCoefficient(1, text("1e308"));
    huge.readCoefficient(2, text("1e308"));
    calculation.computeRoom(huge);
    calculation.addRoom(huge);
    EXPECT_EQ(host.nonFiniteCount, 2);
    EXPECT_EQ(huge.totCoef.value(), QVariant(QString()));
    EXPECT_EQ(calculation.unitValues().totSup, QVariant(0.0));
}

} // namespace
