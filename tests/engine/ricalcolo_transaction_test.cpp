// "Ricalcolo Globale" is one transaction: killed at any point of the run, the project's rooms and
// unit totals are all as they were or all recalculated; a full disk changes nothing and says so.
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/vb.h"
#include "support/fixtures.h"
#include "support/killruns.h"
#include "support/scripteddialogs.h"
#include "tables/fulldisk.h"

#include <QFile>

#include <gtest/gtest.h>

namespace zav::test {
namespace {

using engine::VAR_GBL;
using platform::Database;
using platform::MsgResult;
using platform::ScriptedDialogs;
namespace vb = platform::vb;

constexpr const char *ChildArchive = "ZAV_RECALCULATION_CHILD_ARCHIVE";

// A project of this many units, each with two rooms "2*3" and "4" stored as "1,0" with no
// weighted surface, at height 3. Recalculated, the rooms hold 6,0 and 4,0 and each unit the weighted
// surface 10 and the volume 30.
void makeProject(const QString &path, int units)
{
    Database db = Database::open(path);
    platform::Transaction transaction = db.transaction();
    db.insert(QStringLiteral("ANA_CONDO"), { { QStringLiteral("NOME"), QStringLiteral("Prova") } });
    platform::Statement unit = db.prepare(
        QStringLiteral("INSERT INTO CODIF_PIANI (NUM_PAL, SCALA, PROPRIETARIO, HPIANO, INTERNO) VALUES (1, "
                       "'A', ?, 3, ?)"));
    platform::Statement room = db.prepare(
        QStringLiteral("INSERT INTO ESPRESSIONI (NOME_CONDOMINO, PALAZ, SCALA, INTERNO, ESPRESSIONE, MQ, "
                       "H_PIANO) VALUES (?, '1', 'A', ?, ?, '1,0', '3')"));
    for (int n = 1; n <= units; ++n) {
        const QString owner = QStringLiteral("U%1").arg(n);
        unit.exec({ owner, n });
        room.exec({ owner, n, QStringLiteral("2*3") });
        room.exec({ owner, n, QStringLiteral("4") });
    }
    transaction.commit();
}

// What the archive holds: how many rooms are as they were and how many recalculated, the same for
// the units, and the integrity check's answer.
struct State
{
    int oldRooms = 0;
    int newRooms = 0;
    int oldUnits = 0;
    int newUnits = 0;
    QString integrity;
};

State stateOf(const QString &path)
{
    Database db = Database::open(path);
    State state;
    state.integrity = db.query(QStringLiteral("PRAGMA integrity_check")).value(0, 0).toString();
    const auto count
        = [&db](const char *sql) { return db.query(QString::fromLatin1(sql)).value(0, 0).toInt(); };
    state.oldRooms = count("SELECT COUNT(*) FROM ESPRESSIONI WHERE MQ = '1,0' AND TOT_COEF IS NULL");
    state.newRooms = count("SELECT COUNT(*) FROM ESPRESSIONI WHERE (MQ = '6,0' AND TOT_COEF = '6,0') OR "
                           "(MQ = '4,0' AND TOT_COEF = '4,0')");
    state.oldUnits = count("SELECT COUNT(*) FROM CODIF_PIANI WHERE TOT_SUP IS NULL AND TOT_VOL IS NULL");
    state.newUnits = count("SELECT COUNT(*) FROM CODIF_PIANI WHERE TOT_SUP = 10 AND TOT_VOL = 30");
    return state;
}

// The run on an archive, answered Yes to its question, OK to its closing message and No to the offer.
QStringList recalculate(const QString &path)
{
    VAR_GBL.reset();
    VAR_GBL.progetto_corrente = path;
    ScriptedDialogs dialogs;
    dialogs.answer(MsgResult::Yes);
    dialogs.answer(MsgResult::Ok);
    dialogs.answer(MsgResult::No);
    VAR_GBL.ricalcolo_globale();
    VAR_GBL.reset();
    return dialogs.messages();
}

// The child run by the kill test: recalculates the archive its parent names, and says when it starts.
TEST(RecalculationChild, RecalculatesTheArchiveItIsGiven)
{
    const QString path = qEnvironmentVariable(ChildArchive);
    if (path.isEmpty())
        GTEST_SKIP() << "run by RecalculationKill with an archive to recalculate";
    const vb::DecimalSeparatorScope separator(u',');
    sayCommandStarts();
    const QStringList messages = recalculate(path);
    EXPECT_TRUE(messages.contains(QStringLiteral("Ricalcolo Globale Terminato")))
        << messages.join(u'|').toStdString();
}

// 30 runs, each killed at a random point from its start to a little past its end.
TEST(RecalculationKill, AKilledRunLeavesTheProjectAllOldOrAllNew)
{
    constexpr int units = 6000;
    TempProgramFolder folder;
    const QString fixture = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("FIXTURE.CDB"));
    makeProject(fixture, units);
    killAtRandomPoints(QStringLiteral("RecalculationChild.RecalculatesTheArchiveItIsGiven"), ChildArchive,
        fixture, folder.file(QStringLiteral("PROVA.CDB")), [](const QString &path) {
            const State state = stateOf(path);
            if (state.oldRooms == 2 * units && state.oldUnits == units)
                return Left::AsItWas;
            if (state.newRooms == 2 * units && state.newUnits == units)
                return Left::Done;
            return Left::Neither;
        });
}

// A full disk when the run writes: nothing changes, the message says the disk is full and nothing
// was changed, and no thousandths calculation is offered.
TEST(RecalculationFullDisk, NothingChangesAndTheDiskIsSaidToBeFull)
{
    const vb::DecimalSeparatorScope separator(u',');
    TempProgramFolder folder;
    const QString path = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("PROVA.CDB"));
    makeProject(path, 3);
    QStringList messages;
    {
        const FullDiskScope full;
        messages = recalculate(path);
    }
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages.at(1).startsWith(QStringLiteral(
        "Ricalcolo Globale non eseguito: nessun valore è stato cambiato.\nIl disco è pieno: le "
        "modifiche non possono essere salvate. Liberare spazio sul disco e riprovare.")))
        << messages.at(1).toStdString();
    const State state = stateOf(path);
    EXPECT_EQ(state.integrity, QStringLiteral("ok"));
    EXPECT_EQ(state.oldRooms, 6);
    EXPECT_EQ(state.oldUnits, 3);

    // With room on the disk again the same run recalculates every room and unit.
    messages = recalculate(path);
    EXPECT_TRUE(messages.contains(QStringLiteral("Ricalcolo Globale Terminato")));
    const State after = stateOf(path);
    EXPECT_EQ(after.newRooms, 6);
    EXPECT_EQ(after.newUnits, 3);
}

} // namespace
} // namespace zav::test
