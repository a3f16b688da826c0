// The global recalculation: every room of every unit recomputed (Recalculation does the arithmetic)
// and every unit's totals stored, in one transaction over one connection, with its question, its
// progress window and its messages. A write that fails ends the run and rolls every write back.

#include "engine/archive.h"
#include "engine/archivevalues.h"
#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "engine/recalculation.h"
#include "engine/roomtable.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/progress.h"
#include "platform/vb.h"

#include <QStringList>

#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

namespace zav::engine {

namespace {

using platform::FieldView;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using platform::StorageClass;
using V = ArchiveValues;

// What the user is told when a write fails: nothing of the run was kept, and why.
QString writeFailedText(const QString &failure)
{
    return QStringLiteral("Ricalcolo Globale non eseguito: nessun valore è stato cambiato.\n") + failure;
}

// Field positions of CODIF_PIANI.
namespace unitField {
constexpr int NUM_PAL = 1;
constexpr int SCALA = 2;
constexpr int PROPRIETARIO = 7;
constexpr int HPIANO = 9;
constexpr int INTERNO = 15;
} // namespace unitField

// Field positions of ANA_CONDO.
namespace projectField {
constexpr int RISC_VOL = 10;
constexpr int RISC_RAD = 11;
constexpr int RISC_50 = 16;
} // namespace projectField

// --- The run -----------------------------------------------------------------------------------

/** A unit of CODIF_PIANI as the recalculation reads it. */
struct Unit
{
    qint64 rowid = 0;
    QVariant owner, building, stair, interno;
    bool heightEmpty = true;
};

// A statement that cannot be prepared stays absent, with the archive's reason: its first use then
// fails as a write would.
void prepare(std::optional<platform::Statement> &statement, QString &failure, platform::Database &db,
    const QString &sql)
{
    try {
        statement.emplace(db.prepare(sql));
    } catch (const platform::DbError &error) {
        statement.reset();
        failure = databaseFailureText(error);
    } catch (const std::exception &) {
        statement.reset();
        failure = databaseFailureText(QString());
    }
}

// The reason of a write that failed, as the user reads it.
QString failureOf(const std::exception &error)
{
    if (const auto *dbError = dynamic_cast<const platform::DbError *>(&error))
        return databaseFailureText(*dbError);
    return databaseFailureText(QString());
}

// A field of the first row, by position; an empty recordset or a missing field reads as Null.
QVariant firstRowField(const platform::Recordset &rs, int position)
{
    return position < rs.fieldCount() && !rs.isEmpty() ? rs.value(0, position) : QVariant();
}

/** One run of the global recalculation: its connection, its statements and what it has met so far. */
class GlobalRecalculation : public Recalculation::Host
{
public:
    explicit GlobalRecalculation(VarGbl &state)
        : m_state(state)
    {
    }

    void run();

    std::optional<double> evaluate(const QString &expression) override
    {
        return m_state.valuta_espressione(expression);
    }
    void nonFinite() override;

private:
    enum class Outcome { Continue, Stopped, Failed };

    bool open();
    void close();
    QVariantList unitKey(const Unit &unit) const;
    Outcome recalculateUnit(const Unit &unit, Recalculation &calculation);
    void storeRooms();
    void advanceProgress();
    void stop(const QString &message);
    void writeFailed(const QString &failure);
    void fail();

    VarGbl &m_state;
    platform::Progress &m_progress = platform::progress();
    std::optional<platform::Database> m_db;
    std::optional<platform::Transaction> m_transaction;
    std::optional<platform::Statement> m_storeRoom;
    std::optional<platform::Statement> m_storeUnit;
    QString m_storeRoomUnprepared; ///< why m_storeRoom could not be prepared
    QString m_storeUnitUnprepared;
    std::vector<Unit> m_units;
    RoomTable m_rooms;
    bool m_roomsRead = false;
    RecalculationRoom m_room; ///< the room being recalculated, its texts reused room after room
    bool m_hasProjectRecord = false;
    Recalculation::Heating m_heating;
    std::optional<QString> m_writeFailure; ///< why the first failed write failed; the run then ends
    bool m_nonFiniteReported = false;
};

bool GlobalRecalculation::open()
{
    try {
        if (!m_state.progetto_corrente)
            return false;
        m_db.emplace(platform::Database::open(*m_state.progetto_corrente));
        // Every room is rewritten: room for all of them, so that none is written out twice.
        m_db->setPageCacheLimit(platform::Database::BulkPageCacheKiB);
        // The units in stored order, by field position; a field the table lacks reads as Null.
        platform::Statement units
            = m_db->prepare(QStringLiteral("SELECT rowid, * FROM CODIF_PIANI ORDER BY rowid"));
        units.forEach({}, [this](const platform::RowView &row) {
            const auto field = [&row](int position) {
                return position + 1 < row.fieldCount() ? row.field(position + 1) : FieldView();
            };
            Unit unit;
            unit.rowid = row.field(0).integer;
            unit.owner = field(unitField::PROPRIETARIO).toVariant();
            unit.building = field(unitField::NUM_PAL).toVariant();
            unit.stair = field(unitField::SCALA).toVariant();
            unit.interno = field(unitField::INTERNO).toVariant();
            const FieldView height = field(unitField::HPIANO);
            unit.heightEmpty
                = height.isNull() || (height.storage == StorageClass::Text && height.bytes.isEmpty());
            m_units.push_back(std::move(unit));
        });
        const platform::Recordset project = m_db->table(archive::ANA_CONDO);
        m_hasProjectRecord = !project.isEmpty();
        m_heating.byVolume = V::isTrue(firstRowField(project, projectField::RISC_VOL));
        m_heating.byRadiant = V::isTrue(firstRowField(project, projectField::RISC_RAD));
        m_heating.byHalf = V::isTrue(firstRowField(project, projectField::RISC_50));
        m_transaction.emplace(m_db->transaction());
    } catch (const std::exception &) {
        m_transaction.reset();
        m_db.reset();
        return false;
    }

    // Every room once, in stored order. Rooms that cannot be read leave every unit without rooms,
    // which stops the run at the first unit.
    try {
        m_rooms.read(*m_db);
        m_roomsRead = true;
    } catch (const std::exception &) {
        m_roomsRead = false;
    }
    prepare(m_storeRoom, m_storeRoomUnprepared, *m_db,
        QStringLiteral(
            "UPDATE ESPRESSIONI SET MQ = ?, TOT_COEF = ?, H_PIANO = ?, TOT_VOL = ?, TOT_ESPRES_RAD = ?, "
            "MQ_FINESTRA = ? WHERE rowid = ?"));
    prepare(m_storeUnit, m_storeUnitUnprepared, *m_db,
        QStringLiteral("UPDATE CODIF_PIANI SET TOT_SUP = ?, TOT_VOL = ?, TOT_VOL_RISC = ?, TOT_RAD_RISC = ? "
                       "WHERE rowid = ?"));
    return true;
}

// The values the rooms query binds for a unit.
QVariantList GlobalRecalculation::unitKey(const Unit &unit) const
{
    QVariantList key;
    for (const platform::Condition &condition :
        archive::roomsQuery(V::text(unit.owner), unit.building, V::text(unit.stair), unit.interno).where)
        key << condition.value;
    return key;
}

// Closing the connection commits what was stored, unless a write failed: then the transaction is
// rolled back and the archive holds none of the run's writes. A commit that fails keeps none either.
void GlobalRecalculation::close()
{
    if (m_db && m_transaction && !m_writeFailure)
        storeRooms();
    m_storeRoom.reset();
    m_storeUnit.reset();
    if (m_db && m_transaction && !m_writeFailure) {
        try {
            m_transaction->commit();
        } catch (const std::exception &error) {
            writeFailed(failureOf(error));
        }
    }
    m_transaction.reset();
    m_db.reset();
}

void GlobalRecalculation::writeFailed(const QString &failure)
{
    if (!m_writeFailure)
        m_writeFailure = failure;
}

void GlobalRecalculation::stop(const QString &message)
{
    platform::dialogs().msgBox(message, MsgButtons::Ok, MsgIcon::Information, MessageTitle::ZavWarning);
    close();
    // The run is over: the bar stands full under the closing message.
    m_progress.setValue(m_progress.maximum());
    if (m_writeFailure)
        platform::dialogs().msgBox(
            writeFailedText(*m_writeFailure), MsgButtons::Ok, MsgIcon::Critical, MessageTitle::ZavWarning);
    m_progress.close();
    m_progress.setBusy(false);
}

// A write failed: the run ends at once, with every write rolled back, and says why.
void GlobalRecalculation::fail()
{
    close();
    m_progress.setValue(m_progress.maximum());
    platform::dialogs().msgBox(writeFailedText(m_writeFailure.value_or(databaseFailureText(QString()))),
        MsgButtons::Ok, MsgIcon::Critical, MessageTitle::ZavWarning);
    m_progress.setCountersVisible(false);
    m_progress.close();
    m_progress.setBusy(false);
}

// The first value of a run that is not a finite number is reported; the others are stored as quietly.
void GlobalRecalculation::nonFinite()
{
    if (m_nonFiniteReported)
        return;
    m_nonFiniteReported = true;
    platform::dialogs().msgBox(
        QStringLiteral("Divisione per zero."), MsgButtons::Ok, MsgIcon::None, platform::programTitle());
}

void GlobalRecalculation::run()
{
    m_state.init_operatori();
    m_state.init_precedenze();

    if (platform::dialogs().msgBox(
            QStringLiteral("Questa operazione potrebbe richiedere alcuni minuti. Continuare ?"),
            MsgButtons::YesNo, MsgIcon::Information, MessageTitle::ZavWarning)
        != MsgResult::Yes)
        return;

    m_progress.setBusy(true);
    if (!open()) {
        platform::dialogs().msgBox(
            QStringLiteral("Impossibile aprire l'archivio del progetto. Ricalcolo non effettuato."),
            MsgButtons::Ok, MsgIcon::Critical, MessageTitle::ZavWarning);
        m_progress.setBusy(false);
        return;
    }

    const int unitCount = int(m_units.size());
    m_progress.setMaximum(unitCount);
    m_progress.setTotal(QStringLiteral("su ") + QString::number(unitCount));
    m_progress.show();
    m_progress.setCountersVisible(true);
    m_progress.setDone(QStringLiteral("0"));
    m_progress.refresh();
    m_progress.setValue(1);
    m_progress.setTask(QStringLiteral("Ricalcolo Globale Sup. Coeff e Vol."));

    // The height in force is shared: it runs on from the last operation and is left to the next.
    Recalculation calculation(*this, m_heating, m_state.altezza_piano);
    for (const Unit &unit : m_units) {
        const Outcome outcome = recalculateUnit(unit, calculation);
        m_state.altezza_piano = calculation.heightInForce();
        if (outcome == Outcome::Stopped)
            return;
        if (outcome == Outcome::Failed) {
            fail();
            return;
        }
        advanceProgress();
    }

    close();
    if (m_writeFailure) {
        fail();
        return;
    }
    // The run is over: the bar stands full under the closing message.
    m_progress.setValue(m_progress.maximum());
    platform::dialogs().msgBox(QStringLiteral("Ricalcolo Globale Terminato"), MsgButtons::Ok,
        MsgIcon::Information, MessageTitle::ZavInformation);
    m_progress.setCountersVisible(false);
    m_progress.close();
    m_progress.setBusy(false);

    if (platform::dialogs().msgBox(QStringLiteral("Si vuole effettuare il Calcolo Millesimi ?"),
            MsgButtons::YesNo, MsgIcon::Information, MessageTitle::ZavInformation)
        == MsgResult::Yes) {
        m_progress.setBusy(true);
        m_state.calcolo_millesimi();
        m_progress.setBusy(false);
    }
}

void GlobalRecalculation::advanceProgress()
{
    // The bar moves on by one per unit and stops at its maximum.
    m_progress.setValue(std::min(m_progress.value() + 1, m_progress.maximum()));
    m_progress.setDone(QString::number(m_progress.done().toInt() + 1));
}

GlobalRecalculation::Outcome GlobalRecalculation::recalculateUnit(
    const Unit &unit, Recalculation &calculation)
{
    if (unit.heightEmpty) {
        stop(QStringLiteral("I dati del condomino ") + V::text(unit.owner) + QStringLiteral(" Pal.: ")
            + V::text(unit.building) + QStringLiteral(" Scala: ") + V::text(unit.stair)
            + QStringLiteral(" risultano incompleti. Impossibile continuare."));
        return Outcome::Stopped;
    }

    // The rooms of the unit, by its key. An empty unit number makes the key unusable.
    quint32 room = RoomTable::none;
    if (m_roomsRead && !V::isEmpty(unit.interno))
        room = m_rooms.firstRoom(unitKey(unit));
    if (room == RoomTable::none) {
        stop(QStringLiteral("In inserimento Espr./Coeff./Vol. i dati del condomino ") + V::text(unit.owner)
            + QStringLiteral(" Pal.: ") + V::text(unit.building) + QStringLiteral(" Scala: ")
            + V::text(unit.stair) + QStringLiteral(" Interno: ") + V::text(unit.interno)
            + QStringLiteral(" risultano incompleti. Impossibile continuare."));
        return Outcome::Stopped;
    }

    calculation.startUnit();
    for (; room != RoomTable::none; room = m_rooms.next(room)) {
        m_rooms.load(room, m_room);
        calculation.computeRoom(m_room);
        // The project record is checked before each room is added: without it the run stops at the
        // first room, whose changes are dropped.
        if (!m_hasProjectRecord) {
            stop(QStringLiteral("Composizione palazzina non effettuata.Impossibile proseguire"));
            return Outcome::Stopped;
        }
        calculation.addRoom(m_room);
        // Stored at the end of the run; a unit sharing the key finds the room as this one left it.
        m_rooms.setNewValues(room, m_room);
    }

    const Recalculation::UnitValues totals = calculation.unitValues();
    if (!m_storeUnit) {
        writeFailed(m_storeUnitUnprepared);
        return Outcome::Failed;
    }
    try {
        m_storeUnit->exec({ totals.totSup, totals.totVol, totals.totVolRisc, totals.totRadRisc, unit.rowid });
    } catch (const std::exception &error) {
        writeFailed(failureOf(error));
        return Outcome::Failed;
    }
    return Outcome::Continue;
}

// The rooms are stored at the end of the run in stored order, whatever the order of the units, so
// that rooms stored mixed between units cost what rooms in unit order cost; the run is one
// transaction, so nobody sees the difference. The first store that fails ends the storing, and the
// run is rolled back.
void GlobalRecalculation::storeRooms()
{
    m_rooms.takeNewValues([this](qint64 rowid, const RoomTable::NewValues &values) {
        if (m_writeFailure)
            return;
        if (!m_storeRoom) {
            writeFailed(m_storeRoomUnprepared);
            return;
        }
        try {
            platform::Statement &store = *m_storeRoom;
            for (int i = 0; i < RoomTable::newValueCount; ++i)
                store.bind(i + 1, values[size_t(i)]);
            store.bindInteger(RoomTable::newValueCount + 1, rowid);
            store.run();
        } catch (const std::exception &error) {
            writeFailed(failureOf(error));
        }
    });
}

} // namespace

void VarGbl::ricalcolo_globale()
{
    GlobalRecalculation(*this).run();
}

} // namespace zav::engine
