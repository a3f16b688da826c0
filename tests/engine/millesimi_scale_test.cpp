// The stair and lift table: first halves, floor weights, the floor slots with their special floor
// groups, the second halves and the means. Every expected value is worked out by hand beside it.

#include "millesimi_test.h"

namespace {

using namespace zav::milltest;

struct StairRowExpected
{
    const char *owner;
    Num firstHalf, milB, media, ascensore, mediaAsc;
};

class MillesimiStair : public MillesimiCalc
{
protected:
    /** @brief The stair and lift table against the rows expected, in stored order. */
    void expectStairTable(const std::vector<StairRowExpected> &expected)
    {
        QVariantList owners;
        std::vector<Num> firstHalf, milB, media, ascensore, mediaAsc;
        for (const StairRowExpected &e : expected) {
            owners.append(QString::fromUtf8(e.owner));
            firstHalf.push_back(e.firstHalf);
            milB.push_back(e.milB);
            media.push_back(e.media);
            ascensore.push_back(e.ascensore);
            mediaAsc.push_back(e.mediaAsc);
        }
        EXPECT_EQ(column("TEMPORANEO2", "CONDOMINO"), owners);
        {
            SCOPED_TRACE("first half");
            expectNumbers(column("TEMPORANEO2", "MILLESIMI"), firstHalf);
        }
        {
            SCOPED_TRACE("MIL_B");
            expectNumbers(column("TEMPORANEO2", "MIL_B"), milB);
        }
        {
            SCOPED_TRACE("MEDIA");
            expectNumbers(column("TEMPORANEO2", "MEDIA"), media);
        }
        {
            SCOPED_TRACE("ASCENSORE");
            expectNumbers(column("TEMPORANEO2", "ASCENSORE"), ascensore);
        }
        {
            SCOPED_TRACE("MEDIA_ASC");
            expectNumbers(column("TEMPORANEO2", "MEDIA_ASC"), mediaAsc);
        }
    }
};

// One building, one stair, floor heights 3 (floor 1) and 7 (floor 2): W = 10. First halves 500 on
// floor 1 and 250, 250 on floor 2 (volumes 500, 250, 250 of 1000).
//   slot 1: 3/10 of 1000 to floor 1: MIL_B 300, MEDIA (300 + 500)/2 = 400;
//   slot 2: 7/10 of 1000 to floor 2, 350 each by first half: MEDIA (350 + 250)/2 = 300.
// Without a lift the lift columns hold 0. With lift heights 0 and 3 (total 3): floor 1 gets
// ASCENSORE 0 and MEDIA_ASC (0 + 500)/2 = 250; floor 2 3/3*250/500*1000 = 500 each, MEDIA_ASC
// (500 + 250)/2 = 375. A second unit of floor 2 with another height does not count: only the first
// unit of a floor gives its weight.
TEST_F(MillesimiStair, WorkedExampleOfTwoFloors)
{
    const struct
    {
        const char *name;
        bool lift;
        double secondHeight;
        std::vector<StairRowExpected> rows;
    } cases[] = {
        { "no lift", false, 7,
            { { "u1", 500, 300, 400, 0, 0 }, { "u2", 250, 350, 300, 0, 0 }, { "u3", 250, 350, 300, 0, 0 } } },
        { "lift", true, 7,
            { { "u1", 500, 300, 400, 0, 250 }, { "u2", 250, 350, 300, 500, 375 },
                { "u3", 250, 350, 300, 500, 375 } } },
        { "second unit of floor 2 with height 9", true, 9,
            { { "u1", 500, 300, 400, 0, 250 }, { "u2", 250, 350, 300, 500, 375 },
                { "u3", 250, 350, 300, 500, 375 } } },
    };
    for (const QChar separator : { u',', u'.' }) {
        for (const auto &c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << ", separator " << separator.toLatin1());
            freshArchive();
            DecimalSeparatorScope scope(separator);
            project({ .numPal = 1 });
            building({ .number = 1, .stairs = 1, .lift = c.lift });
            units({ { .owner = "u1", .sigla = "1", .hterra = 3, .hascensore = 0, .totSup = 1, .totVol = 500 },
                { .owner = "u2", .sigla = "2", .hterra = 7, .hascensore = 3, .totSup = 1, .totVol = 250 },
                { .owner = "u3",
                    .sigla = "2",
                    .hterra = c.secondHeight,
                    .hascensore = 3,
                    .totSup = 1,
                    .totVol = 250 } });

            VAR_GBL.calcolo_millesimi();

            expectStairTable(c.rows);
        }
    }
}

// Two stairs; stair A has floors 1, 2 (two units), 3 and the ground floor T, with a lift.
//   volumes: b1 (stair B, floor 1) 1000, then stair A 100, 200, 200, 300, 200: total 2000, general
//   500, 50, 100, 100, 150, 100. Stair A sums 500: first halves 100, 200, 200, 300, 200; stair B 1000.
//   Stair A heights: floors 1, 2, 3 -> 1, 2, 3 and T -> 4: W = 10; lift heights 1, 2, 3 and 0: 6.
//   slot 1 (floor 1): 1/10*100/100 -> MIL_B 100, MEDIA 100; lift 1/6*1000 = 166.666.. -> 166.666
//                     (six decimals 166666.667, cut), MEDIA_ASC (166.666 + 100)/2 = 133.333;
//   slot 2 (floor 2, sum 400): 2/10*200/400 -> 100 each, MEDIA 150; lift 2/6*200/400*1000 ->
//                     166.666, MEDIA_ASC 183.333;
//   slot 3 (floor 3): 3/10 -> 300, MEDIA 300; lift 3/6 -> 500, MEDIA_ASC 400;
//   slot 4 (no floor 4): the T group, height 4: 400, MEDIA (400 + 200)/2 = 300; lift height 0:
//                     ASCENSORE 0, MEDIA_ASC 100.
//   Stair B: its only floor takes the whole second half: 1000 everywhere.
// Rows come stair by stair in letter order, whatever the order of the units.
TEST_F(MillesimiStair, StairWithGroundFloorAndLift)
{
    DecimalSeparatorScope scope(u',');
    project({ .numPal = 1 });
    building({ .number = 1, .stairs = 2, .lift = true });
    units({ { .owner = "b1",
                .scala = "B",
                .sigla = "1",
                .hterra = 5,
                .hascensore = 5,
                .totSup = 1,
                .totVol = 1000 },
        { .owner = "a1", .sigla = "1", .hterra = 1, .hascensore = 1, .totSup = 1, .totVol = 100 },
        { .owner = "a2", .sigla = "2", .hterra = 2, .hascensore = 2, .totSup = 1, .totVol = 200 },
        { .owner = "a3", .sigla = "2", .hterra = 2, .hascensore = 2, .totSup = 1, .totVol = 200 },
        { .owner = "a4", .sigla = "3", .hterra = 3, .hascensore = 3, .totSup = 1, .totVol = 300 },
        { .owner = "aT", .sigla = "T", .hterra = 4, .hascensore = 0, .totSup = 1, .totVol = 200 } });

    VAR_GBL.calcolo_millesimi();

    expectNumbers(column("MILLESIMI", "MILLESIMI"), { 500, 50, 100, 100, 150, 100 });
    expectStairTable({ { "a1", 100, 100, 100, 166.666, 133.333 }, { "a2", 200, 100, 150, 166.666, 183.333 },
        { "a3", 200, 100, 150, 166.666, 183.333 }, { "a4", 300, 300, 300, 500, 400 },
        { "aT", 200, 400, 300, 0, 100 }, { "b1", 1000, 1000, 1000, 1000, 1000 } });
}

// Special floor groups take the free slots in the text order of their codes ("1S" before "R"
// before "T"), and a numeric floor hands an already served group back: floors 1, 3 and 5 to 28
// leave slots 2, 4, 29 and 30 free; slot 2 serves 1S, floor 3 makes it pending again, so slot 4
// and slot 29 serve 1S again, slot 30 serves R and T is never served. Codes that are not a floor
// 1 to 30 nor a special code ("31", "S1", "01", "t") are never served and weigh nothing.
//   33 units of volume 10: general 1000*10/330 = 30.303.. -> 30.303; stair sum 33 * 30.303, so each
//   first half is 1/33 of 1000 -> 30.303.
//   Weights (specials first in stored order, all counted by the first reading): T, R, 1S height 2,
//   the 26 numeric floors 1: W = 32. A numeric floor 1/32*1000 = 31.25, MEDIA (31.25 + 30.303)/2 =
//   30.7765 -> 30.777; 1S and R 2/32*1000 = 62.5, MEDIA (62.5 + 30.303)/2 = 46.4015 -> 46.402.
TEST_F(MillesimiStair, SpecialFloorGroupsTakeTheFreeSlots)
{
    DecimalSeparatorScope scope(u',');
    project({ .numPal = 1 });
    building({ .number = 1, .stairs = 1 });
    std::vector<UnitRow> rows = { { .owner = "T", .sigla = "T", .hterra = 2, .totSup = 1, .totVol = 10 },
        { .owner = "R", .sigla = "R", .hterra = 2, .totSup = 1, .totVol = 10 },
        { .owner = "1S", .sigla = "1S", .hterra = 2, .totSup = 1, .totVol = 10 } };
    std::vector<int> floors = { 1, 3 };
    for (int k = 5; k <= 28; ++k)
        floors.push_back(k);
    for (int k : floors)
        rows.push_back({ .owner = QString::number(k),
            .sigla = QString::number(k),
            .hterra = 1,
            .totSup = 1,
            .totVol = 10 });
    for (const char *odd : { "31", "S1", "01", "t" })
        rows.push_back(
            { .owner = QString("odd ") + odd, .sigla = odd, .hterra = 50, .totSup = 1, .totVol = 10 });
    units(rows);

    VAR_GBL.calcolo_millesimi();

    std::vector<StairRowExpected> expected
        = { { "T", 30.303, std::nullopt, std::nullopt, std::nullopt, std::nullopt },
              { "R", 30.303, 62.5, 46.402, 0, 0 }, { "1S", 30.303, 62.5, 46.402, 0, 0 } };
    std::vector<std::string> owners;
    for (int k : floors)
        owners.push_back(std::to_string(k));
    for (const std::string &owner : owners)
        expected.push_back({ owner.c_str(), 30.303, 31.25, 30.777, 0, 0 });
    for (const char *odd : { "odd 31", "odd S1", "odd 01", "odd t" })
        expected.push_back({ odd, 30.303, std::nullopt, std::nullopt, std::nullopt, std::nullopt });
    expectStairTable(expected);
}

// A numeric floor whose first halves add up to 0 lets a pending special group take its slot. The
// group is weighted with that floor's height, and only its rows that sort before the floor's are
// written: "1S" sorts before "3" and is written, "T" after it and never gets a second half.
//   u1 floor 1 height 2 (volume 400), u2 floor 2 height 3 (300), u3 floor 3 height 5 (volume
//   0.0000001: general 1000*0.0000001/1000.0000001*1000 < 1 -> 0, first half 0), u4 the special
//   unit height 1 (300). W = 2 + 3 + 5 + 1 = 11.
//   u1: 2/11*1000 = 181.818.. -> 181.818; u2: 3/11 -> 272.727; u3: 0 in all four fields;
//   1S: 5/11 -> 454.545 (floor 3's height, not its own 1/11 = 90.909); T: empty.
TEST_F(MillesimiStair, ZeroFloorHandsItsSlotToASpecialGroup)
{
    const struct
    {
        const char *code;
        Num specialMilB;
    } cases[] = { { "1S", 454.545 }, { "T", std::nullopt } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code);
        freshArchive();
        DecimalSeparatorScope scope(u'.');
        project({ .numPal = 1 });
        building({ .number = 1, .stairs = 1 });
        units({ { .owner = "u1", .sigla = "1", .hterra = 2, .totSup = 1, .totVol = 400 },
            { .owner = "u2", .sigla = "2", .hterra = 3, .totSup = 1, .totVol = 300 },
            { .owner = "u3", .sigla = "3", .hterra = 5, .totSup = 1, .totVol = 0.0000001 },
            { .owner = "u4", .sigla = c.code, .hterra = 1, .totSup = 1, .totVol = 300 } });

        VAR_GBL.calcolo_millesimi();

        expectNumbers(column("TEMPORANEO2", "MIL_B"), { 181.818, 272.727, 0, c.specialMilB });
        const QVariantList media = column("TEMPORANEO2", "MEDIA");
        const QVariantList lift = column("TEMPORANEO2", "ASCENSORE");
        const QVariantList liftMean = column("TEMPORANEO2", "MEDIA_ASC");
        ASSERT_EQ(media.size(), 4);
        expectNumbers({ column("TEMPORANEO2", "MILLESIMI").at(2), media.at(2), lift.at(2), liftMean.at(2) },
            { 0, 0, 0, 0 });
        EXPECT_EQ(media.at(3).isNull(), !c.specialMilB);
    }
}

// The stair's units are read as the archive compares stair letters, without regard to case, while
// the first half takes only the units whose stair is the letter exactly. And every stair's weight
// scan counts its own special floors, whatever the slots of the stair before it left behind.
//   Five units of volume 100 (general 200 each). Stair A: a1 "T" height 1, a2 floor 1 height 2, and
//   lo on stair "a", floor 2, height 5: lo gets no stair row but weighs in stair A: W = 1 + 2 + 5 =
//   8. First halves a1, a2 200*1000/400 = 500.
//     slot 1 (floor 1): 2/8*500/500*1000 = 250, MEDIA (250 + 500)/2 = 375;
//     slot 2: no stair row of floor 2, so the T group takes it, weighted with the register row of
//     floor 2 (lo's 5): 5/8*1000 = 625, MEDIA (625 + 500)/2 = 562.5.
//   Stair B: b1 "T" height 3, b2 floor 1 height 1: W = 4 (T counted though stair A served it).
//     slot 1: 1/4*1000 = 250, MEDIA 375; slot 2 the T group: 3/4*1000 = 750, MEDIA 625.
TEST_F(MillesimiStair, StairUnitsAreReadWithoutRegardToCaseAndEachStairCountsItsSpecialFloors)
{
    DecimalSeparatorScope scope(u',');
    project({ .numPal = 1 });
    building({ .number = 1, .stairs = 2 });
    units({ { .owner = "a1", .scala = "A", .sigla = "T", .hterra = 1, .totSup = 1, .totVol = 100 },
        { .owner = "a2", .scala = "A", .sigla = "1", .hterra = 2, .totSup = 1, .totVol = 100 },
        { .owner = "lo", .scala = "a", .sigla = "2", .hterra = 5, .totSup = 1, .totVol = 100 },
        { .owner = "b1", .scala = "B", .sigla = "T", .hterra = 3, .totSup = 1, .totVol = 100 },
        { .owner = "b2", .scala = "B", .sigla = "1", .hterra = 1, .totSup = 1, .totVol = 100 } });

    VAR_GBL.calcolo_millesimi();

    expectNumbers(column("MILLESIMI", "MILLESIMI"), { 200, 200, 200, 200, 200 });
    expectStairTable({ { "a1", 500, 625, 562.5, 0, 0 }, { "a2", 500, 250, 375, 0, 0 },
        { "b1", 500, 750, 625, 0, 0 }, { "b2", 500, 250, 375, 0, 0 } });
}

// Buildings take their stairs and lift from the composition row of their own number: with
// building 2 of 3 deleted (rows for buildings 1 and 3, two buildings counted, as "Elimina" leaves
// them), building 3 keeps its two stairs and its lift. A unit on a stair its building does not
// have ("B" of building 1) gets no row.
//   volumes x1 200, x2 100, x3 100, x4 400 (total 800); each stair has one unit, so each first half
//   is 1000, each second half 1000 (height 1 of W = 1) and each mean 1000; building 3's lift gives
//   2/2*1000 = 1000 and MEDIA_ASC 1000; building 1 has no lift: 0 and 0.
TEST_F(MillesimiStair, BuildingsTakeTheCompositionRowOfTheirNumber)
{
    DecimalSeparatorScope scope(u',');
    project({ .numPal = 2 });
    building({ .number = 1, .stairs = 1, .lift = false });
    building({ .number = 3, .stairs = 2, .lift = true });
    units({ { .owner = "x1",
                .numPal = 1,
                .scala = "A",
                .hterra = 1,
                .hascensore = 2,
                .totSup = 1,
                .totVol = 200 },
        { .owner = "x2",
            .numPal = 3,
            .scala = "A",
            .hterra = 1,
            .hascensore = 2,
            .totSup = 1,
            .totVol = 100 },
        { .owner = "x3",
            .numPal = 3,
            .scala = "B",
            .hterra = 1,
            .hascensore = 2,
            .totSup = 1,
            .totVol = 100 },
        { .owner = "x4",
            .numPal = 1,
            .scala = "B",
            .hterra = 1,
            .hascensore = 2,
            .totSup = 1,
            .totVol = 400 } });

    VAR_GBL.calcolo_millesimi();

    expectStairTable({ { "x1", 1000, 1000, 1000, 0, 0 }, { "x2", 1000, 1000, 1000, 1000, 1000 },
        { "x3", 1000, 1000, 1000, 1000, 1000 } });
}

// The lift second half is rounded to six decimals before it is cut to three: lift heights 1 and
// 0.0000000004 give floor 1 1/(1 + 0.0000000004)*1000 = 999.9999996, six decimals 1000.000000,
// cut 1000 (not 999.999); floor 2 0.0000004 -> 0. With first halves 500 and 500 the lift means are
// (1000 + 500)/2 = 750 and (0 + 500)/2 = 250.
TEST_F(MillesimiStair, LiftHalfIsRoundedToSixDecimalsBeforeTheCut)
{
    DecimalSeparatorScope scope(u',');
    project({ .numPal = 1 });
    building({ .number = 1, .stairs = 1, .lift = true });
    units({ { .owner = "u1", .sigla = "1", .hterra = 1, .hascensore = 1, .totSup = 1, .totVol = 500 },
        { .owner = "u2",
            .sigla = "2",
            .hterra = 1,
            .hascensore = 0.0000000004,
            .totSup = 1,
            .totVol = 500 } });

    VAR_GBL.calcolo_millesimi();

    expectNumbers(column("TEMPORANEO2", "ASCENSORE"), { 1000, 0 });
    expectNumbers(column("TEMPORANEO2", "MEDIA_ASC"), { 750, 250 });
}

} // namespace
