// The global thousandths calculation: general and porter's lodge tables, the stops of the run and
// the building table. Every expected value is worked out by hand in the comment beside its case.

#include "millesimi_test.h"

namespace {

using namespace zav::milltest;

// Three units of unequal value, on the weighted surface or on the volume.
//   surface 100, 200, 300 (total 600): 1000*100/600 = 166.666..  -> cut 166.666
//                                      1000*200/600 = 333.333..  -> 333.333
//                                      1000*300/600 = 500        -> 500
//   volume  100, 200, 400 (total 700): 1000*100/700 = 142.857142 -> 142.857
//                                      1000*200/700 = 285.714285 -> 285.714
//                                      1000*400/700 = 571.428571 -> 571.428 (cut, not 571.429)
TEST_F(MillesimiCalc, GeneralTableOnSurfaceOrVolume)
{
    const struct
    {
        QVariant checkSup;
        std::vector<Num> mq;
        std::vector<Num> shares;
    } cases[] = {
        { true, { 100, 200, 300 }, { 166.666, 333.333, 500 } },
        { false, { 100, 200, 400 }, { 142.857, 285.714, 571.428 } },
        { QVariant(), { 100, 200, 400 }, { 142.857, 285.714, 571.428 } }, // empty: the volume
    };
    for (const QChar separator : { u',', u'.' }) {
        for (const auto &c : cases) {
            SCOPED_TRACE(testing::Message() << "separator " << separator.toLatin1() << " CHECK_SUP "
                                            << c.checkSup.toString().toStdString());
            freshArchive();
            DecimalSeparatorScope scope(separator);
            project({ .numPal = 1, .checkSup = c.checkSup });
            units({ { .owner = "Rossi",
                        .sigla = "T",
                        .hpiano = 2.7,
                        .totSup = 100,
                        .totVol = 100,
                        .interno = 1,
                        .riga = -1 },
                { .owner = "Bianchi",
                    .scala = "B",
                    .sigla = "2",
                    .hpiano = 3.0,
                    .totSup = 200,
                    .totVol = 200,
                    .interno = 4,
                    .riga = 2 },
                { .owner = "Verdi",
                    .numPal = 2,
                    .sigla = "1S",
                    .hpiano = 3.2,
                    .totSup = 300,
                    .totVol = 400,
                    .interno = 9,
                    .riga = -2 } });

            VAR_GBL.calcolo_millesimi();

            expectNumbers(column("MILLESIMI", "MILLESIMI"), c.shares);
            expectNumbers(column("MILLESIMI", "MQ"), c.mq);
            EXPECT_EQ(column("MILLESIMI", "CONDOMINO"), texts({ "Rossi", "Bianchi", "Verdi" }));
            EXPECT_EQ(column("MILLESIMI", "PALAZ"), texts({ "1", "1", "2" }));
            EXPECT_EQ(column("MILLESIMI", "SCALA"), texts({ "A", "B", "A" }));
            EXPECT_EQ(column("MILLESIMI", "PIANO"), texts({ "T", "2", "1S" }));
            expectNumbers(column("MILLESIMI", "INTERNO"), { 1, 4, 9 });
            expectNumbers(column("MILLESIMI", "RIGA"), { -1, 2, -2 });
            expectNumbers(column("MILLESIMI", "NOME_CONDO"), { std::nullopt, std::nullopt, std::nullopt });
            // The room height in force is the floor height of the last unit processed.
            EXPECT_DOUBLE_EQ(VAR_GBL.altezza_piano, 3.2);
            ASSERT_EQ(dialogs.shown().size(), 1);
            EXPECT_EQ(dialogs.shown().at(0).text, QStringLiteral("Calcolo Millesimi effettuato"));
            EXPECT_EQ(dialogs.shown().at(0).title, QStringLiteral("!!! Zav - Informazioni - !!!"));
            EXPECT_EQ(dialogs.shown().at(0).icon, MsgIcon::Information);
        }
    }
}

// A unit without weighted surface is left out with its message, yet its volume stays in the total
// volume: on the volume, A 300 and C 500 of a total of 1000 (B's 200 included) keep 300 and 500,
// and D, with no volume, is left out without a message. On the surface, B's empty surface adds
// nothing: A, C and D share 30 square metres, 1000*10/30 = 333.333.. -> 333.333 each.
TEST_F(MillesimiCalc, UnitWithoutWeightedSurfaceIsLeftOutWithItsMessage)
{
    const struct
    {
        bool bySurface;
        QStringList owners;
        std::vector<Num> shares;
    } cases[] = {
        { false, { "A", "C" }, { 300, 500 } },
        { true, { "A", "C", "D" }, { 333.333, 333.333, 333.333 } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bySurface ? "surface" : "volume");
        freshArchive();
        DecimalSeparatorScope scope(u',');
        project({ .numPal = 2, .checkSup = c.bySurface });
        units({ { .owner = "A", .totSup = 10, .totVol = 300 },
            { .owner = "Bianchi", .numPal = 2, .scala = "B", .totVol = 200, .interno = 7 },
            { .owner = "C", .totSup = 10, .totVol = 500 }, { .owner = "D", .totSup = 10 } });

        VAR_GBL.calcolo_millesimi();

        EXPECT_EQ(column("MILLESIMI", "CONDOMINO"), QVariantList(c.owners.begin(), c.owners.end()));
        expectNumbers(column("MILLESIMI", "MILLESIMI"), c.shares);
        EXPECT_EQ(dialogs.messages(),
            QStringList({ "I Mq. del condomino Bianchi Pal. 2Scala BInterno 7 risultano non corretti o vuoti",
                "Calcolo Millesimi effettuato" }));
        EXPECT_EQ(dialogs.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
        EXPECT_EQ(dialogs.shown().at(0).icon, MsgIcon::Information);
    }
}

// A unit with an empty floor height stops the calculation after its message; the tables keep what
// they held before it started (the rows of an earlier run), not a half-built general table. The
// floor height is tested before the surface; a height of 0 is not empty.
TEST_F(MillesimiCalc, EmptyFloorHeightStopsAndLeavesTheTablesAsTheyWere)
{
    const struct
    {
        const char *name;
        QVariant hpiano;
        QVariant totSup;
    } cases[] = {
        { "null height", QVariant(), 10 },
        { "empty text height", QString(""), 10 },
        { "height and surface both empty", QVariant(), QVariant() },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        freshArchive();
        DecimalSeparatorScope scope(u',');
        project({ .numPal = 1, .portierato = true, .riscVol = true });
        building({ .number = 1, .stairs = 1, .heated = true });
        for (const QString &table : resultTables)
            exec(QStringLiteral("INSERT INTO %1 (CONDOMINO, MILLESIMI) VALUES ('Prima', 1000)").arg(table));
        units({ { .owner = "A", .hpiano = 2.9, .totSup = 10, .totVol = 10, .volRisc = 10 },
            { .owner = "B", .hpiano = 3.1, .totSup = 10, .totVol = 10, .volRisc = 10 },
            { .owner = "Neri", .hpiano = c.hpiano, .totSup = c.totSup, .totVol = 10, .volRisc = 10 },
            { .owner = "D", .hpiano = 3.3, .totSup = 10, .totVol = 10, .volRisc = 10 } });

        VAR_GBL.calcolo_millesimi();

        for (const QString &table : resultTables) {
            EXPECT_EQ(column(table, "CONDOMINO"), texts({ "Prima" })) << table.toStdString();
            expectNumbers(column(table, "MILLESIMI"), { 1000 });
        }
        EXPECT_EQ(dialogs.messages(),
            QStringList(
                { "E' stata trovata l'altezza di piano vuota del condomino Neri. Controllare e ripetere "
                  "l'operazione" }));
        EXPECT_EQ(dialogs.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
        EXPECT_EQ(dialogs.shown().at(0).icon, MsgIcon::Information);
        EXPECT_DOUBLE_EQ(VAR_GBL.altezza_piano, 3.1);
    }

    // A floor height of 0 is a height like any other: 1000*10/20 = 500 each.
    freshArchive();
    DecimalSeparatorScope scope(u',');
    project({ .numPal = 1 });
    units({ { .owner = "A", .hpiano = 0.0, .totSup = 10, .totVol = 10 },
        { .owner = "B", .hpiano = 3.0, .totSup = 10, .totVol = 10 } });
    VAR_GBL.calcolo_millesimi();
    expectNumbers(column("MILLESIMI", "MILLESIMI"), { 500, 500 });
    EXPECT_EQ(dialogs.messages(), QStringList({ "Calcolo Millesimi effettuato" }));
}

// The general running sum, kept as formatted text, ends at 0 when no unit gets any thousandths:
// the calculation then ends silently with the general table alone, under either separator.
//   - no unit at all, or every unit with volume 0: no row;
//   - A has no surface (left out, its 10 stay in the total), B's volume 0.0000001 gives
//     1000*0.0000001/10.0000001*1000 = 0.0099.. -> cut 0: one row with 0;
//   - a last share of 0 after one of 999.999 (999999.5 and 0.5 of 1000000: 999999.5 -> 999.999,
//     0.5 -> 0) reads back the running sum "999,999" / "999.999" and goes on.
TEST_F(MillesimiCalc, ZeroRunningSumEndsTheCalculationSilently)
{
    const struct
    {
        const char *name;
        std::vector<UnitRow> units;
        QStringList owners;
        std::vector<Num> shares;
        bool completes;
    } cases[] = {
        { "no unit", {}, {}, {}, false },
        { "all volumes 0", { { .owner = "A", .totSup = 10, .totVol = 0 }, { .owner = "B", .totSup = 5 } }, {},
            {}, false },
        { "only a share of 0",
            { { .owner = "A", .totVol = 10, .volRisc = 10 },
                { .owner = "B", .totSup = 1, .totVol = 0.0000001, .volRisc = 10 } },
            { "B" }, { 0 }, false },
        { "a share of 0 after others",
            { { .owner = "A", .totSup = 1, .totVol = 999999.5, .volRisc = 10 },
                { .owner = "B", .totSup = 1, .totVol = 0.5, .volRisc = 10 } },
            { "A", "B" }, { 999.999, 0 }, true },
    };
    for (const QChar separator : { u',', u'.' }) {
        for (const auto &c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << ", separator " << separator.toLatin1());
            freshArchive();
            DecimalSeparatorScope scope(separator);
            project({ .numPal = 1, .portierato = true, .riscVol = true });
            building({ .number = 1, .stairs = 1, .heated = true });
            for (const QString &table : resultTables)
                exec(QStringLiteral("INSERT INTO %1 (CONDOMINO) VALUES ('Prima')").arg(table));
            units(c.units);

            VAR_GBL.calcolo_millesimi();

            EXPECT_EQ(column("MILLESIMI", "CONDOMINO"), QVariantList(c.owners.begin(), c.owners.end()));
            expectNumbers(column("MILLESIMI", "MILLESIMI"), c.shares);
            const int otherRows = c.completes ? int(c.owners.size()) : 0;
            for (const char *table : { "MIL_PORTIERATO", "TEMPORANEO", "TEMPORANEO2", "MIL_RISC" })
                EXPECT_EQ(column(table, "CONDOMINO").size(), otherRows) << table;
            EXPECT_EQ(
                dialogs.messages().contains(QStringLiteral("Calcolo Millesimi effettuato")), c.completes);
        }
    }
}

// The porter's lodge table copies the general table row by row when the project has one; a unit
// number that is empty stays empty.
TEST_F(MillesimiCalc, PorterLodgeTableCopiesTheGeneralTable)
{
    for (const QVariant &portierato : { QVariant(true), QVariant(false), QVariant() }) {
        SCOPED_TRACE(portierato.toString().toStdString());
        freshArchive();
        DecimalSeparatorScope scope(u',');
        project({ .numPal = 1, .portierato = portierato });
        units({ { .owner = "Rossi", .sigla = "T", .totSup = 10, .totVol = 100, .interno = 3, .riga = -1 },
            { .owner = "Bianchi", .scala = "B", .sigla = "2", .totSup = 10, .totVol = 300, .riga = 2 } });

        VAR_GBL.calcolo_millesimi();

        if (portierato.toBool()) {
            for (const char *field :
                { "CONDOMINO", "PALAZ", "SCALA", "MQ", "MILLESIMI", "PIANO", "INTERNO", "RIGA" })
                EXPECT_EQ(column("MIL_PORTIERATO", field), column("MILLESIMI", field)) << field;
            // 1000*100/400 = 250 and 1000*300/400 = 750.
            expectNumbers(column("MIL_PORTIERATO", "MILLESIMI"), { 250, 750 });
            expectNumbers(column("MIL_PORTIERATO", "INTERNO"), { 3, std::nullopt });
        } else {
            EXPECT_TRUE(column("MIL_PORTIERATO", "CONDOMINO").isEmpty());
        }
    }
}

// The building table rescales each building's general thousandths to 1000 on their own.
//   volumes in stored order: c1 b2 200, c2 b1 100, c3 b2 200, c4 b1 300, c5 b2 200, c6 b3 1000
//   (total 2000): general c1 100, c2 50, c3 100, c4 150, c5 100, c6 500.
//   building 1 (50 + 150 = 200): c2 50*1000/200 = 250, c4 750;
//   building 2 (300): 100*1000/300 = 333.333.. -> 333.333 each;
//   building 3 (500): c6 500*1000/500 = 1000.
// Rows come building by building, each in the order of the general table. The buildings that
// exist decide, whatever count the header holds: a building without its composition row gets no
// rows, and a gap in the numbers hides none of the buildings after it.
TEST_F(MillesimiCalc, BuildingTableRescalesEachBuildingTo1000)
{
    const struct
    {
        QVariant count;
        std::vector<int> buildings;
        QStringList owners;
        std::vector<Num> shares;
    } cases[] = {
        { 2, { 1, 2 }, { "c2", "c4", "c1", "c3", "c5" }, { 250, 750, 333.333, 333.333, 333.333 } },
        { 3, { 1, 2, 3 }, { "c2", "c4", "c1", "c3", "c5", "c6" },
            { 250, 750, 333.333, 333.333, 333.333, 1000 } },
        { 2, { 1, 3 }, { "c2", "c4", "c6" }, { 250, 750, 1000 } }, // building 2 deleted
        { 1, { 1, 2, 3 }, { "c2", "c4", "c1", "c3", "c5", "c6" },
            { 250, 750, 333.333, 333.333, 333.333, 1000 } }, // a count behind the buildings
        { QVariant(), {}, {}, {} }, // buildings never composed
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message()
            << "count " << c.count.toString().toStdString() << ", " << c.buildings.size() << " buildings");
        freshArchive();
        DecimalSeparatorScope scope(u'.');
        project({ .numPal = c.count });
        for (int number : c.buildings)
            building({ .number = number });
        units({ { .owner = "c1", .numPal = 2, .totSup = 1, .totVol = 200 },
            { .owner = "c2", .numPal = 1, .totSup = 1, .totVol = 100 },
            { .owner = "c3", .numPal = 2, .totSup = 1, .totVol = 200 },
            { .owner = "c4", .numPal = 1, .totSup = 1, .totVol = 300 },
            { .owner = "c5", .numPal = 2, .totSup = 1, .totVol = 200 },
            { .owner = "c6", .numPal = 3, .totSup = 1, .totVol = 1000 } });

        VAR_GBL.calcolo_millesimi();

        expectNumbers(column("MILLESIMI", "MILLESIMI"), { 100, 50, 100, 150, 100, 500 });
        EXPECT_EQ(column("TEMPORANEO", "CONDOMINO"), QVariantList(c.owners.begin(), c.owners.end()));
        expectNumbers(column("TEMPORANEO", "MILLESIMI"), c.shares);
    }
}

// A project archive that cannot be opened is reported, and no success is claimed.
TEST_F(MillesimiCalc, MissingArchiveIsReported)
{
    VAR_GBL.progetto_corrente = folder.file(QStringLiteral("ARCHIVI/NESSUNO.cdb"));
    VAR_GBL.calcolo_millesimi();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown().at(0).text.startsWith(QStringLiteral("Calcolo Millesimi non effettuato.")));
    EXPECT_EQ(dialogs.shown().at(0).icon, MsgIcon::Critical);
}

// A result table the archive lacks cannot be rebuilt: the run is reported as failed, not as done,
// and the tables that do exist keep what they held before it started.
TEST_F(MillesimiCalc, MissingResultTableIsReportedAndNothingChanges)
{
    for (const char *missing : { "MIL_RISC", "TEMPORANEO", "MIL_PORTIERATO" }) {
        SCOPED_TRACE(missing);
        freshArchive();
        DecimalSeparatorScope scope(u',');
        project({ .numPal = 1, .portierato = true, .riscVol = true });
        building({ .number = 1, .stairs = 1, .heated = true });
        units({ { .owner = "A", .totSup = 10, .totVol = 10, .volRisc = 10 },
            { .owner = "B", .totSup = 10, .totVol = 30, .volRisc = 10 } });
        exec(QStringLiteral("INSERT INTO MILLESIMI (CONDOMINO, MILLESIMI) VALUES ('Prima', 1000)"));
        exec(QStringLiteral("DROP TABLE %1").arg(QString::fromLatin1(missing)));

        VAR_GBL.calcolo_millesimi();

        ASSERT_EQ(dialogs.shown().size(), 1);
        EXPECT_TRUE(
            dialogs.shown().at(0).text.startsWith(QStringLiteral("Calcolo Millesimi non effettuato.")));
        EXPECT_EQ(dialogs.shown().at(0).icon, MsgIcon::Critical);
        EXPECT_EQ(column("MILLESIMI", "CONDOMINO"), texts({ "Prima" }));
    }
}

} // namespace
