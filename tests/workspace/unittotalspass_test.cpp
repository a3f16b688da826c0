// The per-unit totals on a project archive: rooms written back, totals stored in the unit's row in
// one transaction, the messages of each outcome, and agreement with the global recalculation.

#include "engine/var_gbl.h"
#include "workspace/unittotalspass.h"
#include "workspacefixture.h"

#include <gtest/gtest.h>

using zav::platform::MsgResult;
using zav::test::num;
using zav::test::Project;
using zav::workspace::UnitKey;
using zav::workspace::UnitTotalsPass;
namespace vb = zav::platform::vb;

namespace {

const QString kOwner = QStringLiteral("D'Amico \"Nino\"");
const QString kAttention = QStringLiteral("!!! Zav - Attenzione - !!!");

UnitKey key(const QString &owner = kOwner)
{
    return UnitKey { owner, QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("2"),
        QStringLiteral("3") };
}

/**
 * The same three rooms in any project, each value worked out by hand:
 *   R1 "4.20*3.15+1.5*2" = 16.23, coefficients 0.9 and 1.1: 16.0677; height 3: volume 48.203; heated;
 *      window 1.2*1.4 = 1.68; radiant 2*3 = 6
 *   R2 "SQR(16)" = 4; height 2.7: volume 10.8; not heated
 *   R3 "10", coefficient 0.5: 5.0; no height: 2.7 carried and written, volume 13.5; heated; radiant 1.25
 * Totals: weighted 16.068, 20.068, 25.068 (and 25.0677 summed once is 25.068 too); volume 72.503;
 * heated volume 16.23 x 3 + 10 x 2.7 = 75.69; radiant 7.25.
 */
struct ThreeRooms
{
    qint64 unit;
    qint64 r1, r2, r3;

    static ThreeRooms in(Project &p, bool withRowZero = true)
    {
        ThreeRooms rooms;
        p.header(false, false, true);
        rooms.unit = withRowZero ? p.unit(kOwner, 1, QStringLiteral("A"), QStringLiteral("2"), 3, 3.0) : -1;
        rooms.r1 = p.room(kOwner, 1, QStringLiteral("A"), 3,
            { { QStringLiteral("ESPRESSIONE"), QStringLiteral("4.20*3.15+1.5*2") },
                { QStringLiteral("COEF1"), num("0.9") }, { QStringLiteral("COEF2"), num("1.1") },
                { QStringLiteral("H_PIANO"), QStringLiteral("3") },
                { QStringLiteral("OPT_RISC"), QStringLiteral("S") },
                { QStringLiteral("SUP_FINESTRA"), QStringLiteral("1.2*1.4") },
                { QStringLiteral("ESPRES_RAD"), QStringLiteral("2*3") },
                { QStringLiteral("TOT_ESPRES_RAD"), QStringLiteral("0") } });
        rooms.r2 = p.room(kOwner, 1, QStringLiteral("A"), 3,
            { { QStringLiteral("ESPRESSIONE"), QStringLiteral("SQR(16)") },
                { QStringLiteral("H_PIANO"), num("2.7") },
                { QStringLiteral("SUP_FINESTRA"), QStringLiteral("C") } });
        rooms.r3 = p.room(kOwner, 1, QStringLiteral("A"), 3,
            { { QStringLiteral("ESPRESSIONE"), QStringLiteral("10") },
                { QStringLiteral("COEF3"), num("0.5") }, { QStringLiteral("OPT_RISC"), QStringLiteral("S") },
                { QStringLiteral("ESPRES_RAD"), QStringLiteral("1.25") },
                { QStringLiteral("TOT_ESPRES_RAD"), QStringLiteral("0") },
                { QStringLiteral("SUP_FINESTRA"), QStringLiteral("0") } });
        // A room of another owner with the same building, stair and number is not the unit's.
        p.room(QStringLiteral("D'Amico"), 1, QStringLiteral("A"), 3,
            { { QStringLiteral("ESPRESSIONE"), QStringLiteral("100") } });
        return rooms;
    }
};

class UnitTotalsPassTest : public ::testing::TestWithParam<QChar>
{
protected:
    UnitTotalsPass::Options options(bool radiantShown = true)
    {
        UnitTotalsPass::Options o;
        o.floorHeight = 3.0;
        o.radiantShown = radiantShown;
        return o;
    }

    // The global recalculation of the open project, confirmed, without the thousandths after it.
    void recalculateAll()
    {
        boxes.answer(MsgResult::Yes);
        boxes.answer(MsgResult::Ok);
        boxes.answer(MsgResult::No);
        zav::engine::VAR_GBL.ricalcolo_globale();
    }

    zav::platform::ScriptedDialogs boxes;
};

TEST_P(UnitTotalsPassTest, StoresRoomsAndTotalsOfTheUnitOnly)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    Project p;
    const ThreeRooms rooms = ThreeRooms::in(p);
    const auto result = UnitTotalsPass::store(p.path(), key(), options());
    ASSERT_TRUE(result);
    EXPECT_TRUE(boxes.shown().isEmpty());

    EXPECT_EQ(p.totals(rooms.unit), QVariantList({ 25.068, 72.503, 75.69, 7.25 }));
    EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), rooms.r1, QStringLiteral("TOT_COEF")), num("16.0677"));
    EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), rooms.r1, QStringLiteral("MQ_FINESTRA")), num("1.68"));
    EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), rooms.r1, QStringLiteral("TOT_ESPRES_RAD")), num("6.0"));
    EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), rooms.r3, QStringLiteral("H_PIANO")), num("2.7"));
    EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), rooms.r3, QStringLiteral("TOT_VOL")), num("13.5"));
    EXPECT_EQ(result->totSupConv, num("25.068"));
    EXPECT_EQ(result->totMq, num("30.23"));
    EXPECT_EQ(result->totSupRad, num("7.25"));
    EXPECT_EQ(result->lastHeight, 2.7);
}

TEST_P(UnitTotalsPassTest, UnitWithoutRoomsStoresZeroTotals)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    Project p;
    p.header(true, false, false);
    const qint64 unit = p.unit(kOwner, 1, QStringLiteral("A"), QStringLiteral("2"), 3, 3.0);
    zav::platform::Database::open(p.path()).update(QStringLiteral("CODIF_PIANI"), unit,
        { { QStringLiteral("TOT_SUP"), 12.0 }, { QStringLiteral("TOT_VOL"), 36.0 } });
    const auto result = UnitTotalsPass::store(p.path(), key(), options());
    ASSERT_TRUE(result);
    EXPECT_EQ(result->totSupConv, QStringLiteral("0"));
    EXPECT_EQ(p.totals(unit), QVariantList({ 0.0, 0.0, 0.0, 0.0 }));
}

TEST_P(UnitTotalsPassTest, UnitRowNotFoundIsSaidAndTheRoomsAreStillWritten)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    Project p;
    const ThreeRooms rooms = ThreeRooms::in(p, false);
    const auto result = UnitTotalsPass::store(p.path(), key(), options());
    ASSERT_TRUE(result);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral(
            "Totali non memorizzati: il condomino D'Amico \"Nino\" Pal.: 1 Scala: A Piano: 2 Interno: 3 "
            "non risulta in Codifica Piani."));
    EXPECT_EQ(boxes.shown().at(0).title, kAttention);
    EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), rooms.r2, QStringLiteral("MQ")), num("4.0"));
}

TEST_P(UnitTotalsPassTest, ProjectWithoutHeaderStopsAfterTheFirstRoomAndStoresNothing)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    Project p;
    const ThreeRooms rooms = ThreeRooms::in(p);
    zav::platform::Database::open(p.path()).clear(QStringLiteral("ANA_CONDO"));
    const auto result = UnitTotalsPass::store(p.path(), key(), options());
    ASSERT_TRUE(result);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("Composizione palazzina non effettuata.Impossibile proseguire"));
    EXPECT_EQ(boxes.shown().at(0).title, kAttention);
    EXPECT_EQ(boxes.shown().at(0).icon, zav::platform::MsgIcon::Information);
    EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), rooms.r1, QStringLiteral("MQ")), num("16.23"));
    EXPECT_FALSE(p.value(QStringLiteral("ESPRESSIONI"), rooms.r2, QStringLiteral("MQ")).isValid());
    EXPECT_EQ(p.totals(rooms.unit), QVariantList({ QVariant(), QVariant(), QVariant(), QVariant() }));
}

// Another connection holding the write lock makes the pass wait, then give up (one run: the wait is
// the archive layer's busy timeout).
TEST(UnitTotalsPassFailure, ArchiveThatCannotBeWrittenIsReported)
{
    zav::platform::ScriptedDialogs boxes;
    Project p;
    const ThreeRooms rooms = ThreeRooms::in(p);
    zav::platform::Database other = zav::platform::Database::open(p.path());
    other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    UnitTotalsPass::Options options;
    options.floorHeight = 3.0;
    const auto result = UnitTotalsPass::store(p.path(), key(), options);
    other.exec(QStringLiteral("ROLLBACK"));
    EXPECT_FALSE(result);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().at(0).text.startsWith(
        QStringLiteral("Impossibile memorizzare i totali del condomino")));
    EXPECT_EQ(p.totals(rooms.unit), QVariantList({ QVariant(), QVariant(), QVariant(), QVariant() }));
    EXPECT_FALSE(p.value(QStringLiteral("ESPRESSIONI"), rooms.r1, QStringLiteral("MQ")).isValid());
}

// The global recalculation and the workspace give one answer for the same rooms...
TEST_P(UnitTotalsPassTest, AgreesWithTheGlobalRecalculation)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    QVariantList global;
    QVariantList globalRooms;
    const QStringList fields = { QStringLiteral("MQ"), QStringLiteral("TOT_COEF"), QStringLiteral("H_PIANO"),
        QStringLiteral("TOT_VOL"), QStringLiteral("TOT_ESPRES_RAD"), QStringLiteral("MQ_FINESTRA") };
    {
        Project p;
        const ThreeRooms rooms = ThreeRooms::in(p);
        recalculateAll();
        global = p.totals(rooms.unit);
        for (const qint64 room : { rooms.r1, rooms.r2, rooms.r3 })
            for (const QString &field : fields)
                globalRooms << p.value(QStringLiteral("ESPRESSIONI"), room, field);
    }
    Project p;
    const ThreeRooms rooms = ThreeRooms::in(p);
    ASSERT_TRUE(UnitTotalsPass::store(p.path(), key(), options()));
    EXPECT_EQ(global, QVariantList({ 25.068, 72.503, 75.69, 7.25 }));
    EXPECT_EQ(p.totals(rooms.unit), global);
    QVariantList workspaceRooms;
    for (const qint64 room : { rooms.r1, rooms.r2, rooms.r3 })
        for (const QString &field : fields)
            workspaceRooms << p.value(QStringLiteral("ESPRESSIONI"), room, field);
    EXPECT_EQ(workspaceRooms, globalRooms);
}

// Every room field and the unit's totals agree on rooms with heights 0, empty and "abc", coefficients
// that are not numbers, heated rooms and others (criterion "50%": both heating sums), worked by hand:
//   R1 "4*2.5" = 10 x 0.5 = 5; height 0: 1, kept "0"; volume 5; heated; radiant 2*1.5 = 3
//   R2 "6"; no height: 1 written; volume 6; not heated; window code
//   R3 "8", COEF2 "abc": no weighted surface; height "abc": 1 written; stored volume 30 kept; heated
//   R4 "2*3" = 6 x 1.5 = 9; height 2.5: volume 22.5; heated; radiant 4.25
//   R5 "5"; no height: 2.5 written; volume 12.5; heated
// Weighted 25; volume 5 + 6 + 22.5 + 12.5 = 46; heated volume 10 + 8 + 15 + 12.5 = 45.5; radiant 7.25.
TEST_P(UnitTotalsPassTest, AgreesWithTheGlobalRecalculationRoomByRoom)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const QString espressione = QStringLiteral("ESPRESSIONE");
    const QString height = QStringLiteral("H_PIANO");
    const QString window = QStringLiteral("SUP_FINESTRA");
    const QString heated = QStringLiteral("OPT_RISC");
    const auto build = [&](Project &p) {
        p.header(false, false, true);
        const qint64 unit = p.unit(kOwner, 1, QStringLiteral("A"), QStringLiteral("2"), 3, 3.0);
        const QString a = QStringLiteral("A");
        p.room(kOwner, 1, a, 3,
            { { espressione, QStringLiteral("4*2.5") }, { QStringLiteral("COEF1"), num("0.5") },
                { height, QStringLiteral("0") }, { heated, QStringLiteral("S") },
                { QStringLiteral("ESPRES_RAD"), QStringLiteral("2*1.5") },
                { QStringLiteral("TOT_ESPRES_RAD"), QStringLiteral("0") },
                { window, QStringLiteral("1.5*2") } });
        p.room(kOwner, 1, a, 3, { { espressione, QStringLiteral("6") }, { window, QStringLiteral("C1") } });
        p.room(kOwner, 1, a, 3,
            { { espressione, QStringLiteral("8") }, { QStringLiteral("COEF2"), QStringLiteral("abc") },
                { height, QStringLiteral("abc") }, { QStringLiteral("TOT_VOL"), num("30.0") },
                { heated, QStringLiteral("S") }, { window, QStringLiteral("2") } });
        p.room(kOwner, 1, a, 3,
            { { espressione, QStringLiteral("2*3") }, { QStringLiteral("COEF1"), num("1.5") },
                { height, num("2.5") }, { heated, QStringLiteral("S") },
                { QStringLiteral("ESPRES_RAD"), QStringLiteral("4.25") },
                { QStringLiteral("TOT_ESPRES_RAD"), num("1.0") }, { window, QStringLiteral("A") } });
        p.room(kOwner, 1, a, 3,
            { { espressione, QStringLiteral("5") }, { heated, QStringLiteral("S") },
                { window, QStringLiteral("0") } });
        return unit;
    };
    const auto rooms = [](const Project &p) {
        const zav::platform::Recordset rs = zav::platform::Database::open(p.path()).query(
            QStringLiteral("SELECT * FROM ESPRESSIONI ORDER BY rowid"));
        QList<QVariantList> rows;
        for (int r = 0; r < rs.recordCount(); ++r)
            rows << rs.row(r);
        return rows;
    };

    QVariantList globalTotals;
    QList<QVariantList> globalRooms;
    {
        Project p;
        const qint64 unit = build(p);
        recalculateAll();
        globalTotals = p.totals(unit);
        globalRooms = rooms(p);
    }
    Project p;
    const qint64 unit = build(p);
    ASSERT_TRUE(UnitTotalsPass::store(p.path(), key(), options()));
    EXPECT_EQ(globalTotals, QVariantList({ 25.0, 46.0, 45.5, 7.25 }));
    EXPECT_EQ(p.totals(unit), globalTotals);
    const QList<QVariantList> workspaceRooms = rooms(p);
    ASSERT_EQ(workspaceRooms.size(), globalRooms.size());
    for (qsizetype r = 0; r < workspaceRooms.size(); ++r)
        EXPECT_EQ(workspaceRooms.at(r), globalRooms.at(r)) << "room " << r + 1;

    // A few cells by hand: the height after a 0 and after "abc", the volume kept.
    const auto cell = [&](int room, const char *field) {
        const int position = zav::platform::Database::open(p.path())
                                 .fields(QStringLiteral("ESPRESSIONI"))
                                 .indexOf(QString::fromLatin1(field));
        return workspaceRooms.at(room).at(position);
    };
    EXPECT_EQ(cell(0, "H_PIANO"), QVariant(QStringLiteral("0")));
    EXPECT_EQ(cell(1, "H_PIANO"), QVariant(QStringLiteral("1")));
    EXPECT_EQ(cell(2, "H_PIANO"), QVariant(QStringLiteral("1")));
    EXPECT_EQ(cell(2, "TOT_VOL"), QVariant(num("30.0")));
    EXPECT_EQ(cell(2, "TOT_COEF"), QVariant(QString()));
    EXPECT_EQ(cell(4, "H_PIANO"), QVariant(num("2.5")));
}

// ...except for the weighted total: the workspace rounds it at every room, the recalculation once.
// Two rooms of 0.0625: 0.063 then 0.126 in the workspace, 0.125 in the recalculation.
TEST_P(UnitTotalsPassTest, WeightedTotalDiffersFromTheGlobalRecalculationByTheRunningRounding)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const auto build = [](Project &p) {
        p.header(true, false, false);
        const qint64 unit = p.unit(kOwner, 1, QStringLiteral("A"), QStringLiteral("2"), 3, 3.0);
        for (int i = 0; i < 2; ++i)
            p.room(kOwner, 1, QStringLiteral("A"), 3,
                { { QStringLiteral("ESPRESSIONE"), QStringLiteral("1") },
                    { QStringLiteral("COEF1"), num("0.0625") },
                    { QStringLiteral("H_PIANO"), QStringLiteral("3") } });
        return unit;
    };
    QVariantList global;
    {
        Project p;
        const qint64 unit = build(p);
        recalculateAll();
        global = p.totals(unit);
    }
    Project p;
    const qint64 unit = build(p);
    ASSERT_TRUE(UnitTotalsPass::store(p.path(), key(), options(false)));
    EXPECT_EQ(global.at(0), QVariant(0.125));
    EXPECT_EQ(p.totals(unit).at(0), QVariant(0.126));
    EXPECT_EQ(p.totals(unit).mid(1), global.mid(1));
}

INSTANTIATE_TEST_SUITE_P(Separators, UnitTotalsPassTest, ::testing::Values(QChar(u','), QChar(u'.')),
    [](const ::testing::TestParamInfo<QChar> &info) { return info.param == u',' ? "comma" : "point"; });

} // namespace
