// The global recalculation on small project archives built from the shipped template: stored room
// values and unit totals worked out by hand, its stops, its failures and its progress window.

#include "engine/ui/attesa.h"
#include "engine/ui/attesaprogress.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/progress.h"
#include "platform/vb.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProgressBar>

#include <gtest/gtest.h>

#include <functional>
#include <map>

using zav::engine::VAR_GBL;
using zav::platform::Database;
using zav::platform::MsgButtons;
using zav::platform::MsgIcon;
using zav::platform::MsgResult;
using zav::platform::ScriptedDialogs;
namespace vb = zav::platform::vb;

namespace {

using Fields = QList<std::pair<QString, QVariant>>;

const QString kQuestion = QStringLiteral("Questa operazione potrebbe richiedere alcuni minuti. Continuare ?");
const QString kDone = QStringLiteral("Ricalcolo Globale Terminato");
const QString kOffer = QStringLiteral("Si vuole effettuare il Calcolo Millesimi ?");
const QString kAttention = QStringLiteral("!!! Zav - Attenzione - !!!");
const QString kInformation = QStringLiteral("!!! Zav - Informazioni - !!!");

// A number held as text, written by hand with a point, in the form of the separator in force.
QVariant text(const char *number)
{
    return QString::fromLatin1(number).replace(u'.', vb::decimalSeparator());
}

/** A project archive copied from the template, open as the current project. */
class Project
{
public:
    Project()
        : m_path(m_folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("PROVA.CDB")))
    {
        VAR_GBL.reset();
        VAR_GBL.progetto_corrente = m_path;
    }
    ~Project() { VAR_GBL.reset(); }

    QString path() const { return m_path; }

    void header(bool riscVol, bool riscRad, bool risc50)
    {
        Database::open(m_path).insert(QStringLiteral("ANA_CONDO"),
            { { QStringLiteral("NOME"), QStringLiteral("Condominio di prova") },
                { QStringLiteral("RISC_VOL"), riscVol }, { QStringLiteral("RISC_RAD"), riscRad },
                { QStringLiteral("RISC_50"), risc50 } });
    }

    qint64 unit(const QString &owner, int building, const QString &stair, const QVariant &interno,
        const QVariant &hpiano)
    {
        return Database::open(m_path).insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), building }, { QStringLiteral("SCALA"), stair },
                { QStringLiteral("PROPRIETARIO"), owner }, { QStringLiteral("HPIANO"), hpiano },
                { QStringLiteral("INTERNO"), interno } });
    }

    qint64 room(const QString &owner, const QString &building, const QString &stair, const QVariant &interno,
        const Fields &fields)
    {
        Fields all = { { QStringLiteral("NOME_CONDOMINO"), owner }, { QStringLiteral("PALAZ"), building },
            { QStringLiteral("SCALA"), stair }, { QStringLiteral("INTERNO"), interno } };
        all += fields;
        return Database::open(m_path).insert(QStringLiteral("ESPRESSIONI"), all);
    }

    QVariant value(const QString &table, qint64 rowid, const QString &field) const
    {
        const zav::platform::Recordset rs = Database::open(m_path).query(
            QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(field, table), { rowid });
        return rs.value(0, 0);
    }

private:
    zav::test::TempProgramFolder m_folder;
    QString m_path;
};

// --- A project of three units, each value worked out by hand -----------------------------------
//
// Heating criteria: volume and half-and-half (so heated volumes count twice, radiant surfaces once).
// Height in force at start 0. Rooms in stored order, units interleaved:
//   Rossi 1/A/1:  A1 "4.20*3.15+1.5*2" = 16.23, coef 0.9 and 1.1 -> 16.0677; no height: 0 -> 1
//                     (height left empty); volume 16.068; heated; radiant "2*3" = 6; window "C"
//                 A2 "SQR(16)" = 4, no coef -> 4.0; height 2.5; volume 10.0; not heated; window "00"
//                 A3 "10", coef3 0.5 -> 5.0; no height -> 2.5 written; volume 12.5; heated;
//                     radiant 1.25
//     totals: weighted 16.0677 + 4 + 5 = 25.0677 -> 25.068; volume 16.068 + 10 + 12.5 = 38.568;
//             heated (16.23 x 1 + 10 x 2.5) x 2 = 82.46; radiant 6 + 1.25 = 7.25
//   D'Amico 1/A/2: B1 "3*4" = 12, coef 1.2 -> 14.4; height 0 -> 1 (0 kept); volume 14.4; heated
//                 B2 "1/0": no surface (reported once), weighted surface empty, volume kept; height
//                     1 written
//                 B3 "SQR(-4)": the evaluator's message, no surface; height 3
//     totals: weighted 14.4; volume 14.4; heated 12 x 1 x 2 = 24; radiant 0
//   Bianchi "Casa Sole" 2/Nessuna/1:
//                 C1 "  5 " = 5, coef1 "abc" -> no weighted surface, volume kept; height 3 written;
//                     window "A"; radiant "1/0" -> none, no second report
//                 C2 "2.5*2" = 5, coef 1.1 0.9 1 1 1 1 1 2 -> 9.9; height 3; volume 29.7; heated;
//                     radiant 0.5
//     totals: weighted 9.9; volume 29.7; heated 5 x 3 x 2 = 30; radiant 0.5
//   A room of no unit (Verdi) is left alone.
class RecalculationTest : public ::testing::TestWithParam<QChar>
{
};

TEST_P(RecalculationTest, StoresRoomsAndUnitTotalsWorkedOutByHand)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    Project p;
    p.header(true, false, true);
    const QString rossi = QStringLiteral("Rossi");
    const QString damico = QStringLiteral("D'Amico");
    const QString bianchi = QStringLiteral("Bianchi \"Casa Sole\"");
    const qint64 unitA = p.unit(rossi, 1, QStringLiteral("A"), 1, 3.0);
    const qint64 unitB = p.unit(damico, 1, QStringLiteral("A"), 2, 2.7);
    const qint64 unitC = p.unit(bianchi, 2, QStringLiteral("Nessuna"), 1, 3.0);

    const QString A = QStringLiteral("A");
    const QString N = QStringLiteral("Nessuna");
    const qint64 a1 = p.room(rossi, QStringLiteral("1"), A, 1,
        { { "ESPRESSIONE", "4.20*3.15+1.5*2" }, { "COEF1", text("0.9") }, { "COEF2", text("1.1") },
            { "OPT_RISC", "S" }, { "ESPRES_RAD", "2*3" }, { "SUP_FINESTRA", "C" },
            { "MQ_FINESTRA", text("9.9") } });
    const qint64 b1 = p.room(damico, QStringLiteral("1"), A, 2,
        { { "ESPRESSIONE", "3*4" }, { "COEF1", text("1.2") }, { "H_PIANO", "0" }, { "OPT_RISC", "S" },
            { "ESPRES_RAD", "" }, { "SUP_FINESTRA", "1.2*1.5" } });
    const qint64 other = p.room(QStringLiteral("Verdi"), QStringLiteral("1"), A, 9,
        { { "ESPRESSIONE", "2*2" }, { "MQ", text("1.0") } });
    const qint64 a2 = p.room(rossi, QStringLiteral("1"), A, 1,
        { { "ESPRESSIONE", "SQR(16)" }, { "H_PIANO", text("2.5") }, { "OPT_RISC", "N" },
            { "TOT_ESPRES_RAD", text("1.5") }, { "SUP_FINESTRA", "00" } });
    const qint64 c1 = p.room(bianchi, QStringLiteral("2"), N, 1,
        { { "ESPRESSIONE", "  5 " }, { "COEF1", "abc" }, { "TOT_VOL", text("7.0") }, { "ESPRES_RAD", "1/0" },
            { "TOT_ESPRES_RAD", text("4.0") }, { "SUP_FINESTRA", "A" }, { "MQ_FINESTRA", text("2.0") } });
    const qint64 b2 = p.room(damico, QStringLiteral("1"), A, 2,
        { { "ESPRESSIONE", "1/0" }, { "TOT_COEF", text("99.0") }, { "TOT_VOL", text("50.0") },
            { "OPT_RISC", "S" } });
    const qint64 a3 = p.room(rossi, QStringLiteral("1"), A, 1,
        { { "ESPRESSIONE", "10" }, { "COEF3", text("0.5") }, { "OPT_RISC", "S" }, { "ESPRES_RAD", "1.25" } });
    const qint64 c2 = p.room(bianchi, QStringLiteral("2"), N, 1,
        { { "ESPRESSIONE", "2.5*2" }, { "COEF1", text("1.1") }, { "COEF2", text("0.9") }, { "COEF3", "1" },
            { "COEF4", "1" }, { "COEF5", "1" }, { "COEF6", "1" }, { "COEF7", "1" }, { "COEF8", "2" },
            { "OPT_RISC", "S" }, { "ESPRES_RAD", "0.5" } });
    const qint64 b3 = p.room(damico, QStringLiteral("1"), A, 2,
        { { "ESPRESSIONE", "SQR(-4)" }, { "MQ", text("5.0") }, { "H_PIANO", "3" } });

    ScriptedDialogs dialogs;
    dialogs.answer(MsgResult::Yes);
    dialogs.answer(MsgResult::Ok);
    dialogs.answer(MsgResult::Ok);
    dialogs.answer(MsgResult::Ok);
    dialogs.answer(MsgResult::No);
    VAR_GBL.ricalcolo_globale();

    EXPECT_EQ(dialogs.messages(),
        (QStringList { kQuestion, QStringLiteral("Divisione per zero."),
            QStringLiteral("Chiamata di routine o argomento non validi."), kDone, kOffer }));
    EXPECT_EQ(dialogs.pendingAnswers(), 0);
    EXPECT_EQ(dialogs.unanswered(), 0);

    const QVariant null;
    const QVariant empty = QString();
    const struct
    {
        const char *name;
        qint64 rowid;
        QVariant mq, totCoef, hPiano, totVol, totEspresRad, mqFinestra;
    } rooms[] = {
        { "A1", a1, text("16.23"), text("16.0677"), null, text("16.068"), text("6.0"), text("9.9") },
        { "A2", a2, text("4.0"), text("4.0"), text("2.5"), text("10.0"), text("1.5"), text("0.0") },
        { "A3", a3, text("10.0"), text("5.0"), text("2.5"), text("12.5"), text("1.25"), null },
        { "B1", b1, text("12.0"), text("14.4"), "0", text("14.4"), null, text("1.8") },
        { "B2", b2, empty, empty, "1", text("50.0"), null, null },
        { "B3", b3, empty, empty, "3", null, null, null },
        { "C1", c1, text("5.0"), empty, "3", text("7.0"), empty, text("2.0") },
        { "C2", c2, text("5.0"), text("9.9"), "3", text("29.7"), text("0.5"), null },
        { "other unit", other, text("1.0"), null, null, null, null, null },
    };
    const QString table = QStringLiteral("ESPRESSIONI");
    for (const auto &r : rooms) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(p.value(table, r.rowid, "MQ"), r.mq);
        EXPECT_EQ(p.value(table, r.rowid, "TOT_COEF"), r.totCoef);
        EXPECT_EQ(p.value(table, r.rowid, "H_PIANO"), r.hPiano);
        EXPECT_EQ(p.value(table, r.rowid, "TOT_VOL"), r.totVol);
        EXPECT_EQ(p.value(table, r.rowid, "TOT_ESPRES_RAD"), r.totEspresRad);
        EXPECT_EQ(p.value(table, r.rowid, "MQ_FINESTRA"), r.mqFinestra);
    }

    const struct
    {
        const char *name;
        qint64 rowid;
        double totSup, totVol, totVolRisc, totRadRisc;
    } units[] = {
        { "Rossi", unitA, 25.068, 38.568, 82.46, 7.25 },
        { "D'Amico", unitB, 14.4, 14.4, 24.0, 0.0 },
        { "Bianchi", unitC, 9.9, 29.7, 30.0, 0.5 },
    };
    const QString codif = QStringLiteral("CODIF_PIANI");
    for (const auto &u : units) {
        SCOPED_TRACE(u.name);
        EXPECT_DOUBLE_EQ(p.value(codif, u.rowid, "TOT_SUP").toDouble(), u.totSup);
        EXPECT_NEAR(p.value(codif, u.rowid, "TOT_VOL").toDouble(), u.totVol, 1e-9);
        EXPECT_DOUBLE_EQ(p.value(codif, u.rowid, "TOT_VOL_RISC").toDouble(), u.totVolRisc);
        EXPECT_DOUBLE_EQ(p.value(codif, u.rowid, "TOT_RAD_RISC").toDouble(), u.totRadRisc);
    }
    // The height of the last room stays in force for the next operation.
    EXPECT_EQ(VAR_GBL.altezza_piano, 3.0);
}

INSTANTIATE_TEST_SUITE_P(BothSeparators, RecalculationTest, ::testing::Values(QChar(u','), QChar(u'.')),
    [](const ::testing::TestParamInfo<QChar> &info) {
        return info.param == u',' ? std::string("Comma") : std::string("Point");
    });

// Each heating criterion adds on its own: a heated room of 10 m² at height 2 with a radiant surface
// of 3 adds 20 to the heated volume and 3 to the radiant surface per criterion that asks for it. A
// room marked "s" in lower case is not heated.
TEST(Recalculation, HeatingCriteriaAddEachOnTheirOwn)
{
    const vb::DecimalSeparatorScope separator(u',');
    const struct
    {
        bool riscVol, riscRad, risc50;
        double heatedVolume, radiant;
    } cases[] = {
        { false, false, false, 0.0, 0.0 },
        { true, false, false, 20.0, 0.0 },
        { false, true, false, 0.0, 3.0 },
        { false, false, true, 20.0, 3.0 },
        { true, false, true, 40.0, 3.0 },
        { true, true, true, 40.0, 6.0 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.riscVol << c.riscRad << c.risc50);
        Project p;
        p.header(c.riscVol, c.riscRad, c.risc50);
        const qint64 unit = p.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 1, 3.0);
        const Fields heated
            = { { "ESPRESSIONE", "10" }, { "H_PIANO", "2" }, { "OPT_RISC", "S" }, { "ESPRES_RAD", "3" } };
        p.room(QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("A"), 1, heated);
        p.room(QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("A"), 1,
            { { "ESPRESSIONE", "10" }, { "H_PIANO", "2" }, { "OPT_RISC", "s" }, { "ESPRES_RAD", "3" } });
        ScriptedDialogs dialogs;
        dialogs.answer(MsgResult::Yes);
        VAR_GBL.ricalcolo_globale();

        EXPECT_EQ(p.value(QStringLiteral("CODIF_PIANI"), unit, "TOT_VOL_RISC"), QVariant(c.heatedVolume));
        EXPECT_EQ(p.value(QStringLiteral("CODIF_PIANI"), unit, "TOT_RAD_RISC"), QVariant(c.radiant));
        EXPECT_EQ(p.value(QStringLiteral("CODIF_PIANI"), unit, "TOT_VOL"), QVariant(40.0));
    }
}

// The height in force is not reset at the start: the first room without a height of its own takes
// what the last operation left (here 2.8), not the unit's floor height (3), and it is written in:
// 10 m² at 2.8 gives a volume of 28.
TEST(Recalculation, FirstRoomTakesTheHeightLeftInForce)
{
    const vb::DecimalSeparatorScope separator(u',');
    Project p;
    p.header(false, false, false);
    VAR_GBL.altezza_piano = 2.8;
    const qint64 unit = p.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 1, 3.0);
    const qint64 room = p.room(
        QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("A"), 1, { { "ESPRESSIONE", "10" } });
    ScriptedDialogs dialogs;
    dialogs.answer(MsgResult::Yes);
    VAR_GBL.ricalcolo_globale();

    EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), room, "H_PIANO"), QVariant(QStringLiteral("2,8")));
    EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), room, "TOT_VOL"), QVariant(QStringLiteral("28,0")));
    EXPECT_DOUBLE_EQ(p.value(QStringLiteral("CODIF_PIANI"), unit, "TOT_VOL").toDouble(), 28.0);
    EXPECT_EQ(VAR_GBL.altezza_piano, 2.8);
}

// The radiant sum is kept in single precision and written with its own seven digits, the other sums
// in double: a radiant surface of 12345.678 becomes the single 12345.677734375, whose seven digits
// are 12345.68, and that is what the unit stores, while the same figure as a heated volume (surface
// 12345.678 at height 1) stays 12345.678. The thousandths then carry the stored figure into the
// heating table: under the radiant criterion alone its volume column is the unit's radiant surface.
TEST(Recalculation, RadiantSumIsSinglePrecision)
{
    const vb::DecimalSeparatorScope separator(u',');
    Project p;
    p.header(true, true, false);
    Database::open(p.path()).exec(QStringLiteral("UPDATE ANA_CONDO SET NUM_PAL = 1"));
    Database::open(p.path()).insert(QStringLiteral("COMPOS_PAL"),
        { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("NUM_SCALE"), 1 },
            { QStringLiteral("RISCALDAMENTO"), true } });
    const qint64 unit = p.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 1, 3.0);
    const qint64 room = p.room(QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("A"), 1,
        { { "ESPRESSIONE", "12345.678" }, { "H_PIANO", "1" }, { "OPT_RISC", "S" },
            { "ESPRES_RAD", "12345.678" } });
    ScriptedDialogs dialogs;
    dialogs.answer(MsgResult::Yes);
    VAR_GBL.ricalcolo_globale();

    EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), room, "TOT_ESPRES_RAD"),
        QVariant(QStringLiteral("12345,678")));
    EXPECT_EQ(p.value(QStringLiteral("CODIF_PIANI"), unit, "TOT_RAD_RISC"), QVariant(12345.68));
    EXPECT_EQ(p.value(QStringLiteral("CODIF_PIANI"), unit, "TOT_VOL_RISC"), QVariant(12345.678));
    EXPECT_EQ(p.value(QStringLiteral("CODIF_PIANI"), unit, "TOT_SUP"), QVariant(12345.678));

    Database::open(p.path()).exec(QStringLiteral("UPDATE ANA_CONDO SET RISC_VOL = 0"));
    VAR_GBL.calcolo_millesimi();
    const zav::platform::Recordset heating
        = Database::open(p.path()).query(QStringLiteral("SELECT VOLUME, MILLESIMI FROM MIL_RISC"));
    ASSERT_EQ(heating.recordCount(), 1);
    EXPECT_EQ(heating.value(0, 0).toDouble(), 12345.68);
    EXPECT_EQ(heating.value(0, 1).toDouble(), 1000.0);
}

// Each addition to the radiant sum is rounded to a single: three rooms of 4000.333 give
// 4000.3330078125, then 8000.666015625, then 12000.9990234375, whose seven digits are 12001.00;
// summed in double they would be 12000.999.
TEST(Recalculation, RadiantSumAddsInSinglePrecision)
{
    const vb::DecimalSeparatorScope separator(u'.');
    Project p;
    p.header(false, true, false);
    const qint64 unit = p.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 1, 3.0);
    for (int i = 0; i < 3; ++i) {
        p.room(QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("A"), 1,
            { { "ESPRESSIONE", "1" }, { "OPT_RISC", "S" }, { "ESPRES_RAD", "4000.333" } });
    }
    ScriptedDialogs dialogs;
    dialogs.answer(MsgResult::Yes);
    VAR_GBL.ricalcolo_globale();

    EXPECT_EQ(p.value(QStringLiteral("CODIF_PIANI"), unit, "TOT_RAD_RISC"), QVariant(12001.0));
}

// --- Rooms found by unit --------------------------------------------------------------------------

// Three units, their rooms worked out by hand. The height in force runs on in the order the units
// are recalculated, each unit's rooms in their stored order:
//   Rossi 1/A/1:   "2*5" at 2.5 -> 10, volume 25;  "4" without a height -> 2.5 carried, volume 10
//   Bianchi 1/A/2: "3*3" without a height -> 2.5 carried, volume 22.5;  "6" at 3 -> volume 18
//   Verdi 2/B/1:   "1+1" without a height -> 3 carried, volume 6
// Stored mixed between units (the first room of each unit, then the second ones), the rooms must
// give the same: recalculated in stored order instead, Verdi's room would take 2.5 from Rossi's
// second room.
TEST(Recalculation, MixedStorageGivesTheSameResultsAsOrderedStorage)
{
    const vb::DecimalSeparatorScope separator(u',');
    struct Room
    {
        const char *owner, *building, *stair;
        int interno;
        const char *name, *expression, *height;
    };
    const Room rooms[] = {
        { "Rossi", "1", "A", 1, "R1", "2*5", "2.5" },
        { "Rossi", "1", "A", 1, "R2", "4", nullptr },
        { "Bianchi", "1", "A", 2, "B1", "3*3", nullptr },
        { "Bianchi", "1", "A", 2, "B2", "6", "3" },
        { "Verdi", "2", "B", 1, "V1", "1+1", nullptr },
    };
    const int ordered[] = { 0, 1, 2, 3, 4 };
    const int mixed[] = { 4, 0, 2, 1, 3 }; // Verdi's room first, the others taking turns

    using Results = std::map<QString, QList<QVariant>>;
    const auto recalculate = [&](const int(&order)[5]) {
        Project p;
        p.header(true, false, false);
        p.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 1, 3.0);
        p.unit(QStringLiteral("Bianchi"), 1, QStringLiteral("A"), 2, 3.0);
        p.unit(QStringLiteral("Verdi"), 2, QStringLiteral("B"), 1, 3.0);
        for (const int i : order) {
            const Room &r = rooms[i];
            Fields fields
                = { { "DESCRIZIONE", r.name }, { "ESPRESSIONE", r.expression }, { "OPT_RISC", "S" } };
            if (r.height)
                fields.append({ "H_PIANO", text(r.height) });
            p.room(QString::fromUtf8(r.owner), QString::fromUtf8(r.building), QString::fromUtf8(r.stair),
                r.interno, fields);
        }
        ScriptedDialogs dialogs;
        dialogs.answer(MsgResult::Yes);
        VAR_GBL.ricalcolo_globale();
        EXPECT_EQ(dialogs.messages().value(1), kDone);

        Results results;
        Database db = Database::open(p.path());
        const zav::platform::Recordset roomRows
            = db.query(QStringLiteral("SELECT DESCRIZIONE, MQ, TOT_COEF, H_PIANO, TOT_VOL FROM ESPRESSIONI"));
        for (int row = 0; row < roomRows.recordCount(); ++row) {
            results[roomRows.value(row, 0).toString()] = { roomRows.value(row, 1), roomRows.value(row, 2),
                roomRows.value(row, 3), roomRows.value(row, 4) };
        }
        const zav::platform::Recordset unitRows = db.query(QStringLiteral(
            "SELECT PROPRIETARIO, TOT_SUP, TOT_VOL, TOT_VOL_RISC, TOT_RAD_RISC FROM CODIF_PIANI"));
        for (int row = 0; row < unitRows.recordCount(); ++row) {
            results[unitRows.value(row, 0).toString()] = { unitRows.value(row, 1), unitRows.value(row, 2),
                unitRows.value(row, 3), unitRows.value(row, 4) };
        }
        return results;
    };

    const Results inOrder = recalculate(ordered);
    const Results mixedUp = recalculate(mixed);
    EXPECT_EQ(mixedUp, inOrder);

    const QList<QVariant> verdiRoom = { text("2.0"), text("2.0"), "3", text("6.0") };
    EXPECT_EQ(mixedUp.at("V1"), verdiRoom);
    EXPECT_EQ(mixedUp.at("R2"), (QList<QVariant> { text("4.0"), text("4.0"), text("2.5"), text("10.0") }));
    EXPECT_EQ(mixedUp.at("B1"), (QList<QVariant> { text("9.0"), text("9.0"), text("2.5"), text("22.5") }));
    EXPECT_EQ(mixedUp.at("Rossi"), (QList<QVariant> { 14.0, 35.0, 35.0, 0.0 }));
    EXPECT_EQ(mixedUp.at("Bianchi"), (QList<QVariant> { 15.0, 40.5, 40.5, 0.0 }));
    EXPECT_EQ(mixedUp.at("Verdi"), (QList<QVariant> { 2.0, 6.0, 6.0, 0.0 }));
}

// A room belongs to a unit as the archive compares their keys: owner, building and stair without
// regard to case for the letters A to Z only, the unit number as a number. Rooms of other keys are
// left alone.
TEST(Recalculation, RoomsBelongToAUnitAsTheArchiveComparesKeys)
{
    const vb::DecimalSeparatorScope separator(u',');
    Project p;
    p.header(false, false, false);
    const qint64 unit = p.unit(QStringLiteral("Èva Rossi"), 1, QStringLiteral("A"), 1, 3.0);
    const auto room
        = [&](const char *owner, const char *building, const char *stair, const QVariant &interno) {
              return p.room(QString::fromUtf8(owner), QString::fromUtf8(building), QString::fromUtf8(stair),
                  interno, { { "ESPRESSIONE", "10" }, { "H_PIANO", "1" }, { "MQ", text("1.0") } });
          };
    const struct
    {
        const char *what;
        qint64 rowid;
        bool belongs;
    } cases[] = {
        { "the same key", room("Èva Rossi", "1", "A", 1), true },
        { "letters in another case", room("Èva ROSSI", "1", "a", 1), true },
        { "a unit number written 1.0", room("Èva Rossi", "1", "A", 1.0), true },
        { "an accented letter in another case", room("èva Rossi", "1", "A", 1), false },
        { "building 01", room("Èva Rossi", "01", "A", 1), false },
        { "owner with a blank after it", room("Èva Rossi ", "1", "A", 1), false },
        { "another unit number", room("Èva Rossi", "1", "A", 2), false },
    };
    ScriptedDialogs dialogs;
    dialogs.answer(MsgResult::Yes);
    VAR_GBL.ricalcolo_globale();

    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(
            p.value(QStringLiteral("ESPRESSIONI"), c.rowid, "MQ"), c.belongs ? text("10.0") : text("1.0"));
    }
    EXPECT_EQ(p.value(QStringLiteral("CODIF_PIANI"), unit, "TOT_SUP"), QVariant(30.0));
}

// Two units with one key both have its rooms: each stores their totals.
TEST(Recalculation, UnitsWithOneKeyShareTheirRooms)
{
    const vb::DecimalSeparatorScope separator(u',');
    Project p;
    p.header(false, false, false);
    const qint64 first = p.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 1, 3.0);
    const qint64 second = p.unit(QStringLiteral("ROSSI"), 1, QStringLiteral("A"), 1, 3.0);
    const qint64 room = p.room(QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("A"), 1,
        { { "ESPRESSIONE", "10" }, { "H_PIANO", "2" } });
    ScriptedDialogs dialogs;
    dialogs.answer(MsgResult::Yes);
    VAR_GBL.ricalcolo_globale();

    EXPECT_EQ(dialogs.messages().value(1), kDone);
    for (const qint64 unit : { first, second }) {
        EXPECT_EQ(p.value(QStringLiteral("CODIF_PIANI"), unit, "TOT_SUP"), QVariant(10.0));
        EXPECT_EQ(p.value(QStringLiteral("CODIF_PIANI"), unit, "TOT_VOL"), QVariant(20.0));
    }
    EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), room, "TOT_VOL"), text("20.0"));
}

// --- Stops ---------------------------------------------------------------------------------------

// The second unit stops the run: the first unit's totals stay stored, the second is untouched, and
// neither the closing message nor the offer follows.
TEST(Recalculation, StopsAtAnIncompleteUnit)
{
    const vb::DecimalSeparatorScope separator(u',');
    const struct
    {
        const char *name;
        QVariant hpiano;
        QVariant interno;
        bool withRooms;
        QString message;
    } cases[] = {
        { "floor height empty", QVariant(), 4, true,
            QStringLiteral(
                "I dati del condomino Neri Pal.: 1 Scala: B risultano incompleti. Impossibile continuare.") },
        { "no rooms", 3.0, 4, false,
            QStringLiteral(
                "In inserimento Espr./Coeff./Vol. i dati del condomino Neri Pal.: 1 Scala: B Interno: 4 "
                "risultano incompleti. Impossibile continuare.") },
        { "unit number empty", 3.0, QVariant(), true,
            QStringLiteral(
                "In inserimento Espr./Coeff./Vol. i dati del condomino Neri Pal.: 1 Scala: B Interno:  "
                "risultano incompleti. Impossibile continuare.") },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Project p;
        p.header(false, false, false);
        const qint64 first = p.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 1, 3.0);
        const qint64 second = p.unit(QStringLiteral("Neri"), 1, QStringLiteral("B"), c.interno, c.hpiano);
        p.room(QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("A"), 1,
            { { "ESPRESSIONE", "2*3" }, { "H_PIANO", "3" } });
        const qint64 room = c.withRooms ? p.room(QStringLiteral("Neri"), QStringLiteral("1"),
                                QStringLiteral("B"), c.interno, { { "ESPRESSIONE", "5" }, { "MQ", "1,0" } })
                                        : 0;

        zav::engine::ui::AttesaProgress attesa;
        zav::platform::setProgress(&attesa);
        ScriptedDialogs dialogs;
        dialogs.answer(MsgResult::Yes);
        VAR_GBL.ricalcolo_globale();
        zav::platform::setProgress(nullptr);

        EXPECT_EQ(dialogs.messages(), (QStringList { kQuestion, c.message }));
        ASSERT_EQ(dialogs.shown().size(), 2);
        EXPECT_EQ(dialogs.shown().at(1).title, kAttention);
        EXPECT_EQ(dialogs.shown().at(1).icon, MsgIcon::Information);
        EXPECT_EQ(dialogs.shown().at(1).buttons, MsgButtons::Ok);

        const QString codif = QStringLiteral("CODIF_PIANI");
        EXPECT_EQ(p.value(codif, first, "TOT_SUP"), QVariant(6.0));
        EXPECT_EQ(p.value(codif, first, "TOT_VOL"), QVariant(18.0));
        EXPECT_EQ(p.value(codif, second, "TOT_SUP"), QVariant());
        if (c.withRooms) {
            EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), room, "MQ"), QVariant(QStringLiteral("1,0")));
        }
        // The window is unloaded and the pointer back to normal.
        EXPECT_EQ(attesa.window(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

// Without the project record the run stops at the first room, whose changes are dropped.
TEST(Recalculation, StopsWithoutTheProjectRecord)
{
    const vb::DecimalSeparatorScope separator(u',');
    Project p;
    const qint64 unit = p.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 1, 3.0);
    const qint64 room = p.room(QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("A"), 1,
        { { "ESPRESSIONE", "2*3" }, { "MQ", "1,0" } });
    ScriptedDialogs dialogs;
    dialogs.answer(MsgResult::Yes);
    VAR_GBL.ricalcolo_globale();

    EXPECT_EQ(dialogs.messages(),
        (QStringList {
            kQuestion, QStringLiteral("Composizione palazzina non effettuata.Impossibile proseguire") }));
    EXPECT_EQ(dialogs.shown().at(1).title, kAttention);
    EXPECT_EQ(dialogs.shown().at(1).icon, MsgIcon::Information);
    EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), room, "MQ"), QVariant(QStringLiteral("1,0")));
    EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), room, "TOT_COEF"), QVariant());
    EXPECT_EQ(p.value(QStringLiteral("CODIF_PIANI"), unit, "TOT_SUP"), QVariant());
}

// --- Question, closing message and offer ---------------------------------------------------------

TEST(Recalculation, DeclinedQuestionChangesNothing)
{
    const vb::DecimalSeparatorScope separator(u',');
    Project p;
    p.header(false, false, false);
    p.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 1, 3.0);
    const qint64 room = p.room(QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("A"), 1,
        { { "ESPRESSIONE", "2*3" }, { "MQ", "1,0" } });
    ScriptedDialogs dialogs;
    dialogs.answer(MsgResult::No);
    VAR_GBL.ricalcolo_globale();

    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().at(0).text, kQuestion);
    EXPECT_EQ(dialogs.shown().at(0).title, kAttention);
    EXPECT_EQ(dialogs.shown().at(0).icon, MsgIcon::Information);
    EXPECT_EQ(dialogs.shown().at(0).buttons, MsgButtons::YesNo);
    EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), room, "MQ"), QVariant(QStringLiteral("1,0")));
}

// A project without units ends at once with the closing message, then the offer.
TEST(Recalculation, ProjectWithoutUnitsEndsAtOnce)
{
    const vb::DecimalSeparatorScope separator(u',');
    Project p;
    p.header(false, false, false);
    ScriptedDialogs dialogs;
    dialogs.answer(MsgResult::Yes);
    dialogs.answer(MsgResult::Ok);
    dialogs.answer(MsgResult::No);
    VAR_GBL.ricalcolo_globale();

    EXPECT_EQ(dialogs.messages(), (QStringList { kQuestion, kDone, kOffer }));
    EXPECT_EQ(dialogs.shown().at(1).title, kInformation);
    EXPECT_EQ(dialogs.shown().at(1).icon, MsgIcon::Information);
    EXPECT_EQ(dialogs.shown().at(1).buttons, MsgButtons::Ok);
    EXPECT_EQ(dialogs.shown().at(2).title, kInformation);
    EXPECT_EQ(dialogs.shown().at(2).icon, MsgIcon::Information);
    EXPECT_EQ(dialogs.shown().at(2).buttons, MsgButtons::YesNo);
}

// Yes to the offer runs the thousandths calculation, which reads the totals just stored: on a
// volume base, the general table holds each unit's new volume (10 x 3 and 20 x 3).
TEST(Recalculation, AcceptedOfferCalculatesTheThousandthsFromTheNewTotals)
{
    const vb::DecimalSeparatorScope separator(u',');
    Project p;
    p.header(false, false, false);
    p.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 1, 3.0);
    p.unit(QStringLiteral("Neri"), 1, QStringLiteral("A"), 2, 3.0);
    p.room(QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("A"), 1,
        { { "ESPRESSIONE", "10" }, { "H_PIANO", "3" } });
    p.room(QStringLiteral("Neri"), QStringLiteral("1"), QStringLiteral("A"), 2,
        { { "ESPRESSIONE", "20" }, { "H_PIANO", "3" } });
    ScriptedDialogs dialogs;
    dialogs.answer(MsgResult::Yes);
    dialogs.answer(MsgResult::Ok);
    dialogs.answer(MsgResult::Yes);
    dialogs.answer(MsgResult::Ok);
    VAR_GBL.ricalcolo_globale();

    EXPECT_EQ(dialogs.messages(),
        (QStringList { kQuestion, kDone, kOffer, QStringLiteral("Calcolo Millesimi effettuato") }));
    const zav::platform::Recordset general = Database::open(p.path()).query(
        QStringLiteral("SELECT CONDOMINO, MQ FROM MILLESIMI ORDER BY rowid"));
    ASSERT_EQ(general.recordCount(), 2);
    EXPECT_EQ(general.value(0, 0), QVariant(QStringLiteral("Rossi")));
    EXPECT_EQ(general.value(0, 1).toDouble(), 30.0);
    EXPECT_EQ(general.value(1, 0), QVariant(QStringLiteral("Neri")));
    EXPECT_EQ(general.value(1, 1).toDouble(), 60.0);
}

// An archive that cannot be opened is reported, not followed by the closing message.
TEST(Recalculation, ReportsAnArchiveThatCannotBeOpened)
{
    const vb::DecimalSeparatorScope separator(u',');
    Project p;
    const QString missing = p.path() + QStringLiteral(".manca");
    VAR_GBL.progetto_corrente = missing;
    ScriptedDialogs dialogs;
    dialogs.answer(MsgResult::Yes);
    VAR_GBL.ricalcolo_globale();

    EXPECT_EQ(dialogs.messages(),
        (QStringList { kQuestion,
            QStringLiteral("Impossibile aprire l'archivio del progetto. Ricalcolo non effettuato.") }));
    EXPECT_FALSE(QFile::exists(missing));
}

// A store that fails ends the run: every write of the run is rolled back (the rooms and units done
// before it too), the failure is said with its cause, and no offer follows.
TEST(Recalculation, AStoreThatFailsEndsTheRunWithNothingKept)
{
    const vb::DecimalSeparatorScope separator(u',');
    const struct
    {
        const char *name;
        const char *table; ///< the table whose row refuses to be written
        int refusingRoom; ///< which room refuses (0: every row of the table)
    } cases[] = {
        { "unit rows", "CODIF_PIANI", 0 },
        { "the last room", "ESPRESSIONI", 3 },
        { "the first room", "ESPRESSIONI", 1 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Project p;
        p.header(false, false, false);
        const qint64 first = p.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 1, 3.0);
        const qint64 second = p.unit(QStringLiteral("Neri"), 1, QStringLiteral("A"), 2, 3.0);
        const QList<qint64> rooms {
            p.room(QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("A"), 1,
                { { "ESPRESSIONE", "2*3" }, { "MQ", "1,0" } }),
            p.room(QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("A"), 1,
                { { "ESPRESSIONE", "4" }, { "MQ", "1,0" } }),
            p.room(QStringLiteral("Neri"), QStringLiteral("1"), QStringLiteral("A"), 2,
                { { "ESPRESSIONE", "5" }, { "MQ", "1,0" } }),
        };
        const QString when = c.refusingRoom == 0
            ? QString()
            : QStringLiteral("WHEN old.rowid = %1 ").arg(rooms.at(c.refusingRoom - 1));
        Database::open(p.path()).exec(QStringLiteral("CREATE TRIGGER sola_lettura BEFORE UPDATE ON %1 %2"
                                                     "BEGIN SELECT RAISE(ABORT, 'sola lettura'); END")
                                          .arg(QString::fromLatin1(c.table), when));
        ScriptedDialogs dialogs;
        dialogs.answer(MsgResult::Yes);
        VAR_GBL.ricalcolo_globale();

        ASSERT_EQ(dialogs.messages().size(), 2);
        EXPECT_EQ(dialogs.messages().at(0), kQuestion);
        EXPECT_TRUE(dialogs.messages().at(1).startsWith(
            QStringLiteral("Ricalcolo Globale non eseguito: nessun valore è stato cambiato.\nL'archivio è di "
                           "sola lettura: le modifiche non possono essere salvate.")))
            << dialogs.messages().at(1).toStdString();
        EXPECT_EQ(dialogs.shown().at(1).icon, MsgIcon::Critical);
        EXPECT_EQ(dialogs.shown().at(1).title, kAttention);
        for (const qint64 room : rooms)
            EXPECT_EQ(p.value(QStringLiteral("ESPRESSIONI"), room, "MQ"), QVariant(QStringLiteral("1,0")));
        EXPECT_EQ(p.value(QStringLiteral("CODIF_PIANI"), first, "TOT_SUP"), QVariant());
        EXPECT_EQ(p.value(QStringLiteral("CODIF_PIANI"), second, "TOT_SUP"), QVariant());
    }
}

// --- The progress window -------------------------------------------------------------------------

struct AttesaState
{
    bool loaded = false;
    bool visible = false;
    QString label1, label2, label3, label4, label5;
    bool countersVisible = false;
    int maximum = -1;
    int value = -1;
};

AttesaState stateOf(const zav::engine::ui::AttesaProgress &progress)
{
    AttesaState s;
    const zav::engine::ui::ATTESA *w = progress.window();
    if (!w)
        return s;
    s.loaded = true;
    s.visible = w->isVisible();
    s.label1 = w->Label1->text();
    s.label2 = w->Label2->text();
    s.label3 = w->Label3->text();
    s.label4 = w->Label4->text();
    s.label5 = w->Label5->text();
    s.countersVisible = w->Label3->isVisible() && w->Label4->isVisible() && w->Label5->isVisible();
    s.maximum = w->ProgressBar1->maximum();
    s.value = w->ProgressBar1->value();
    return s;
}

// The window counts units done over the total; the bar starts at 1, moves by one per unit up to its
// maximum and stands full when the run is over.
TEST(Recalculation, ProgressWindowCountsTheUnits)
{
    const vb::DecimalSeparatorScope separator(u',');
    Project p;
    p.header(false, false, false);
    for (int i = 1; i <= 3; ++i) {
        p.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), i, 3.0);
        // The second unit's room makes the evaluator speak, so the window is seen in the middle too.
        p.room(QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("A"), i,
            { { "ESPRESSIONE", i == 2 ? "SQR(-1)" : "2" } });
    }
    zav::engine::ui::AttesaProgress attesa;
    zav::platform::setProgress(&attesa);
    ScriptedDialogs dialogs;
    AttesaState atQuestion, middle, atEnd;
    bool busyInMiddle = false;
    dialogs.onMessage = [&](const QString &message) {
        if (message == kQuestion)
            atQuestion = stateOf(attesa);
        else if (message == kDone)
            atEnd = stateOf(attesa);
        else if (message != kOffer) {
            middle = stateOf(attesa);
            busyInMiddle = QApplication::overrideCursor() != nullptr;
        }
    };
    dialogs.answer(MsgResult::Yes);
    dialogs.answer(MsgResult::Ok);
    dialogs.answer(MsgResult::Ok);
    dialogs.answer(MsgResult::No);
    VAR_GBL.ricalcolo_globale();
    zav::platform::setProgress(nullptr);

    EXPECT_FALSE(atQuestion.loaded);

    EXPECT_TRUE(middle.visible);
    EXPECT_TRUE(busyInMiddle);
    EXPECT_EQ(middle.label1, QStringLiteral("Attendere. Elaborazione in Corso."));
    EXPECT_EQ(middle.label2, QStringLiteral("Ricalcolo Globale Sup. Coeff e Vol."));
    EXPECT_EQ(middle.label3, QStringLiteral("Elaborata U.I. n°:"));
    EXPECT_TRUE(middle.countersVisible);
    EXPECT_EQ(middle.label5, QStringLiteral("1"));
    EXPECT_EQ(middle.label4, QStringLiteral("su 3"));
    EXPECT_EQ(middle.maximum, 3);
    EXPECT_EQ(middle.value, 2);

    EXPECT_TRUE(atEnd.visible);
    EXPECT_EQ(atEnd.label5, QStringLiteral("3"));
    EXPECT_EQ(atEnd.value, 3);

    EXPECT_EQ(attesa.window(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
