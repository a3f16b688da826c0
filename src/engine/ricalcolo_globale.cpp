// The global recalculation: every room of every unit recomputed (Recalculation does the arithmetic)
// and every unit's totals stored, in one transaction over one connection, with its question, its
// progress window and its messages.

#include "engine/archive.h"
#include "engine/archivevalues.h"
#include "engine/recalculation.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/progress.h"
#include "platform/vb.h"

#include <exception>
#include <stdexcept>

namespace zav::engine {

namespace {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using V = ArchiveValues;

const QString titleAttention = QStringLiteral("!!! Zav - Attenzione - !!!");
const QString titleInformation = QStringLiteral("!!! Zav - Informazioni - !!!");
const QString writeFailed
    = QStringLiteral("Impossibile scrivere nell'archivio del progetto. Ricalcolo Globale non completato.");

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

// The fields of ESPRESSIONI that the recalculation reads, in the order it selects them after the rowid.
namespace roomField {
enum Field {
    ESPRESSIONE,
    MQ,
    COEF1,
    COEF8 = COEF1 + 7,
    TOT_COEF,
    H_PIANO,
    TOT_VOL,
    OPT_RISC,
    ESPRES_RAD,
    TOT_ESPRES_RAD,
    SUP_FINESTRA,
    MQ_FINESTRA,
    Count
};
const QStringList names = { QStringLiteral("ESPRESSIONE"), QStringLiteral("MQ"), QStringLiteral("COEF1"),
    QStringLiteral("COEF2"), QStringLiteral("COEF3"), QStringLiteral("COEF4"), QStringLiteral("COEF5"),
    QStringLiteral("COEF6"), QStringLiteral("COEF7"), QStringLiteral("COEF8"), QStringLiteral("TOT_COEF"),
    QStringLiteral("H_PIANO"), QStringLiteral("TOT_VOL"), QStringLiteral("OPT_RISC"),
    QStringLiteral("ESPRES_RAD"), QStringLiteral("TOT_ESPRES_RAD"), QStringLiteral("SUP_FINESTRA"),
    QStringLiteral("MQ_FINESTRA") };
} // namespace roomField

const QString roomsIndex = QStringLiteral("ZAV_RICALCOLO_STANZE");

// A field of the first row, by position; an empty recordset or a missing field reads as Null.
QVariant firstRowField(const platform::Recordset &rs, int position)
{
    return position < rs.fieldCount() && !rs.isEmpty() ? rs.value(0, position) : QVariant();
}

// A statement that cannot be prepared stays absent: each use of it then fails as a step would.
void prepare(std::optional<platform::Statement> &statement, platform::Database &db, const QString &sql)
{
    try {
        statement.emplace(db.prepare(sql));
    } catch (const std::exception &) {
        statement.reset();
    }
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
    enum class Outcome { Continue, Stopped };

    bool open();
    void prepareRooms();
    void close();
    Outcome recalculateUnit(int row, Recalculation &calculation);
    void advanceProgress();
    void stop(const QString &message);

    VarGbl &m_state;
    platform::Progress &m_progress = platform::progress();
    std::optional<platform::Database> m_db;
    std::optional<platform::Transaction> m_transaction;
    std::optional<platform::Statement> m_rooms;
    std::optional<platform::Statement> m_storeRoom;
    std::optional<platform::Statement> m_storeUnit;
    platform::Recordset m_units;
    bool m_hasProjectRecord = false;
    Recalculation::Heating m_heating;
    bool m_indexCreated = false;
    bool m_writeFailed = false;
    bool m_nonFiniteReported = false;
};

bool GlobalRecalculation::open()
{
    try {
        if (!m_state.progetto_corrente)
            return false;
        m_db.emplace(platform::Database::open(*m_state.progetto_corrente));
        m_units = m_db->table(archive::CODIF_PIANI);
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
    prepareRooms();
    return true;
}

// The rooms of a unit are those of the program's rooms query, looked up once per unit through one
// statement prepared from its shape. An index over the unit key, built inside the run's transaction
// and dropped before it commits, keeps each look-up from reading every room of the project; the
// archive is left as it was.
void GlobalRecalculation::prepareRooms()
{
    const platform::TableQuery shape = archive::roomsQuery(QString(), QVariant(), QString(), QVariant());
    QStringList fields;
    QStringList conditions;
    for (const platform::Condition &condition : shape.where) {
        fields << platform::Database::quoteName(condition.field);
        conditions << fields.last() + QStringLiteral(" IS ?");
    }
    try {
        const platform::Recordset existing
            = m_db->query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND name = ?"),
                { roomsIndex });
        if (existing.isEmpty()) {
            m_db->exec(QStringLiteral("CREATE INDEX ") + roomsIndex + QStringLiteral(" ON ")
                + platform::Database::quoteName(shape.table) + QStringLiteral(" (") + fields.join(u',')
                + QStringLiteral(")"));
            m_indexCreated = true;
        }
    } catch (const std::exception &) {
        // Without the index the look-ups are slower, not different.
    }
    // In stored order, the rowid first.
    prepare(m_rooms, *m_db,
        QStringLiteral("SELECT rowid, ") + roomField::names.join(u',') + QStringLiteral(" FROM ")
            + platform::Database::quoteName(shape.table) + QStringLiteral(" WHERE ")
            + conditions.join(QStringLiteral(" AND ")) + QStringLiteral(" ORDER BY rowid"));
    prepare(m_storeRoom, *m_db,
        QStringLiteral(
            "UPDATE ESPRESSIONI SET MQ = ?, TOT_COEF = ?, H_PIANO = ?, TOT_VOL = ?, TOT_ESPRES_RAD = ?, "
            "MQ_FINESTRA = ? WHERE rowid = ?"));
    prepare(m_storeUnit, *m_db,
        QStringLiteral("UPDATE CODIF_PIANI SET TOT_SUP = ?, TOT_VOL = ?, TOT_VOL_RISC = ?, TOT_RAD_RISC = ? "
                       "WHERE rowid = ?"));
}

// Closing the connection commits what was stored; a commit that fails loses the run's writes.
void GlobalRecalculation::close()
{
    m_rooms.reset();
    m_storeRoom.reset();
    m_storeUnit.reset();
    if (m_db && m_transaction) {
        try {
            if (m_indexCreated)
                m_db->exec(QStringLiteral("DROP INDEX ") + roomsIndex);
            m_transaction->commit();
        } catch (const std::exception &) {
            m_writeFailed = true;
        }
    }
    m_transaction.reset();
    m_db.reset();
}

void GlobalRecalculation::stop(const QString &message)
{
    platform::dialogs().msgBox(message, MsgButtons::Ok, MsgIcon::Information, titleAttention);
    close();
    if (m_writeFailed)
        platform::dialogs().msgBox(writeFailed, MsgButtons::Ok, MsgIcon::Critical, titleAttention);
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
            MsgButtons::YesNo, MsgIcon::Information, titleAttention)
        != MsgResult::Yes)
        return;

    m_progress.setBusy(true);
    if (!open()) {
        platform::dialogs().msgBox(
            QStringLiteral("Impossibile aprire l'archivio del progetto. Ricalcolo non effettuato."),
            MsgButtons::Ok, MsgIcon::Critical, titleAttention);
        m_progress.setBusy(false);
        return;
    }

    const int unitCount = m_units.recordCount();
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
    for (int row = 0; row < unitCount; ++row) {
        const Outcome outcome = recalculateUnit(row, calculation);
        m_state.altezza_piano = calculation.heightInForce();
        if (outcome == Outcome::Stopped)
            return;
        advanceProgress();
    }

    close();
    if (m_writeFailed)
        platform::dialogs().msgBox(writeFailed, MsgButtons::Ok, MsgIcon::Critical, titleAttention);
    else
        platform::dialogs().msgBox(QStringLiteral("Ricalcolo Globale Terminato"), MsgButtons::Ok,
            MsgIcon::Information, titleInformation);
    m_progress.setCountersVisible(false);
    m_progress.close();
    m_progress.setBusy(false);
    if (m_writeFailed)
        return;

    if (platform::dialogs().msgBox(QStringLiteral("Si vuole effettuare il Calcolo Millesimi ?"),
            MsgButtons::YesNo, MsgIcon::Information, titleInformation)
        == MsgResult::Yes) {
        m_progress.setBusy(true);
        m_state.calcolo_millesimi();
        m_progress.setBusy(false);
    }
}

void GlobalRecalculation::advanceProgress()
{
    // The bar wraps to 1 when it reaches its maximum, then moves on by one.
    if (m_progress.value() == m_progress.maximum())
        m_progress.setValue(1);
    m_progress.setValue(m_progress.value() + 1);
    m_progress.setDone(QString::number(m_progress.done().toInt() + 1));
}

GlobalRecalculation::Outcome GlobalRecalculation::recalculateUnit(int row, Recalculation &calculation)
{
    const auto unitValue = [this, row](int position) {
        return position < m_units.fieldCount() ? m_units.value(row, position) : QVariant();
    };
    const QVariant owner = unitValue(unitField::PROPRIETARIO);
    const QVariant building = unitValue(unitField::NUM_PAL);
    const QVariant stair = unitValue(unitField::SCALA);
    const QVariant interno = unitValue(unitField::INTERNO);

    if (V::isEmpty(unitValue(unitField::HPIANO))) {
        stop(QStringLiteral("I dati del condomino ") + V::text(owner) + QStringLiteral(" Pal.: ")
            + V::text(building) + QStringLiteral(" Scala: ") + V::text(stair)
            + QStringLiteral(" risultano incompleti. Impossibile continuare."));
        return Outcome::Stopped;
    }

    // The rooms of the unit, by its key. An empty unit number makes the key unusable.
    platform::Recordset rooms;
    bool selected = false;
    if (m_rooms && !V::isEmpty(interno)) {
        try {
            QVariantList key;
            for (const platform::Condition &condition :
                archive::roomsQuery(V::text(owner), building, V::text(stair), interno).where)
                key << condition.value;
            rooms = m_rooms->read(key);
            selected = true;
        } catch (const std::exception &) {
        }
    }
    if (!selected || rooms.isEmpty()) {
        stop(QStringLiteral("In inserimento Espr./Coeff./Vol. i dati del condomino ") + V::text(owner)
            + QStringLiteral(" Pal.: ") + V::text(building) + QStringLiteral(" Scala: ") + V::text(stair)
            + QStringLiteral(" Interno: ") + V::text(interno)
            + QStringLiteral(" risultano incompleti. Impossibile continuare."));
        return Outcome::Stopped;
    }

    calculation.startUnit();
    for (int i = 0; i < rooms.recordCount(); ++i) {
        const QVector<QVariant> &fields = rooms.row(i);
        if (fields.size() != roomField::Count + 1)
            continue;
        const qint64 rowid = fields.at(0).toLongLong();
        const auto field = [&fields](int position) -> const QVariant & { return fields.at(position + 1); };

        RecalculationRoom room;
        room.espressione = field(roomField::ESPRESSIONE).toString();
        room.espresRad = field(roomField::ESPRES_RAD).toString();
        room.supFinestra = field(roomField::SUP_FINESTRA).toString();
        for (int k = 1; k <= 8; ++k)
            room.readCoefficient(k, field(roomField::COEF1 + k - 1));
        room.readHeating(field(roomField::OPT_RISC));
        room.mq = RoomField(field(roomField::MQ));
        room.totCoef = RoomField(field(roomField::TOT_COEF));
        room.hPiano = RoomField(field(roomField::H_PIANO));
        room.totVol = RoomField(field(roomField::TOT_VOL));
        room.totEspresRad = RoomField(field(roomField::TOT_ESPRES_RAD));
        room.mqFinestra = RoomField(field(roomField::MQ_FINESTRA));

        calculation.computeRoom(room);
        // The project record is checked before each room is added: without it the run stops at the
        // first room, whose changes are dropped.
        if (!m_hasProjectRecord) {
            stop(QStringLiteral("Composizione palazzina non effettuata.Impossibile proseguire"));
            return Outcome::Stopped;
        }
        calculation.addRoom(room);

        try {
            if (!m_storeRoom)
                throw std::runtime_error("no statement");
            m_storeRoom->exec({ room.mq.value(), room.totCoef.value(), room.hPiano.value(),
                room.totVol.value(), room.totEspresRad.value(), room.mqFinestra.value(), rowid });
        } catch (const std::exception &) {
            m_writeFailed = true;
        }
    }

    const Recalculation::UnitValues totals = calculation.unitValues();
    try {
        if (!m_storeUnit)
            throw std::runtime_error("no statement");
        m_storeUnit->exec(
            { totals.totSup, totals.totVol, totals.totVolRisc, totals.totRadRisc, m_units.rowidAt(row) });
    } catch (const std::exception &) {
        m_writeFailed = true;
    }
    return Outcome::Continue;
}

} // namespace

void VarGbl::ricalcolo_globale()
{
    GlobalRecalculation(*this).run();
}

} // namespace zav::engine
