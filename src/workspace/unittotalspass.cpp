#include "workspace/unittotalspass.h"

#include "engine/archive.h"
#include "engine/archivevalues.h"
#include "engine/var_gbl.h"
#include "platform/dialogs.h"

#include <exception>

namespace zav::workspace {

using engine::ArchiveValues;
using platform::Database;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

const QString kAttention = QStringLiteral("!!! Zav - Attenzione - !!!");

// Field positions of ANA_CONDO.
constexpr int RISC_VOL = 10;
constexpr int RISC_RAD = 11;
constexpr int RISC_50 = 16;

bool flagAt(const platform::Recordset &rs, int position)
{
    return position < rs.fieldCount() && ArchiveValues::isTrue(rs.value(0, position));
}

} // namespace

UnitTotalsPass::UnitTotalsPass(Database &db, const UnitKey &key)
    : m_db(db)
    , m_key(key)
{
}

UnitTotalsPass::Outcome UnitTotalsPass::run(const Options &options)
{
    // The rooms, in stored order, with the fields the totals work on.
    const platform::TableQuery rooms = m_key.rooms();
    QStringList conditions;
    QVariantList values;
    for (const platform::Condition &condition : rooms.where) {
        conditions << Database::quoteName(condition.field) + QStringLiteral(" IS ?");
        values << condition.value;
    }
    const platform::Recordset read
        = m_db.query(QStringLiteral("SELECT rowid, ") + RoomCells::fieldNames().join(u',')
                + QStringLiteral(" FROM ") + Database::quoteName(rooms.table) + QStringLiteral(" WHERE ")
                + conditions.join(QStringLiteral(" AND ")) + QStringLiteral(" ORDER BY rowid"),
            values);
    QVector<RoomCells> cells;
    cells.reserve(read.recordCount());
    for (int r = 0; r < read.recordCount(); ++r) {
        QVector<QVariant> row = read.row(r);
        const qint64 rowid = row.takeFirst().toLongLong();
        cells.append(RoomCells::fromValues(rowid, row));
    }

    UnitTotals::Input input;
    input.floorHeight = options.floorHeight;
    input.radiantShown = options.radiantShown;
    const platform::Recordset header = m_db.table(engine::archive::ANA_CONDO);
    if (!header.isEmpty())
        input.heating = HeatingCriterion { flagAt(header, RISC_VOL), flagAt(header, RISC_RAD),
            flagAt(header, RISC_50) };

    const UnitTotals::Evaluator evaluate = options.evaluate
        ? options.evaluate
        : UnitTotals::Evaluator([](const QString &text) { return engine::VAR_GBL.valuta_espressione(text); });
    m_result = UnitTotals::compute(cells, input, evaluate);

    // The rooms that changed go back to the archive.
    if (!m_result.rooms.isEmpty()) {
        platform::Statement write = m_db.prepare(QStringLiteral("UPDATE ESPRESSIONI SET ")
            + RoomCells::fieldNames().join(QStringLiteral(" = ?, "))
            + QStringLiteral(" = ? WHERE rowid = ?"));
        for (int i = 0; i < m_result.rooms.size(); ++i) {
            const RoomCells &room = m_result.rooms.at(i);
            if (room == cells.at(i))
                continue;
            QVariantList fields = room.values();
            fields << room.rowid;
            write.exec(fields);
        }
    }
    if (m_result.stoppedWithoutHeader)
        return Outcome::NoHeader;

    const platform::Recordset unit = m_db.select(m_key.unitRow());
    if (unit.isEmpty())
        return Outcome::NoUnitRow;
    const std::array<QVariant, 4> totals = m_result.storedTotals();
    m_db.update(engine::archive::CODIF_PIANI, unit.rowidAt(0),
        { { QStringLiteral("TOT_SUP"), totals[0] }, { QStringLiteral("TOT_VOL"), totals[1] },
            { QStringLiteral("TOT_VOL_RISC"), totals[2] }, { QStringLiteral("TOT_RAD_RISC"), totals[3] } });
    return Outcome::Stored;
}

std::optional<UnitTotals::Result> UnitTotalsPass::store(
    const QString &archive, const UnitKey &key, const Options &options)
{
    std::optional<UnitTotals::Result> result;
    Outcome outcome = Outcome::Stored;
    QString failure;
    try {
        Database db = Database::open(archive);
        platform::Transaction transaction = db.transaction();
        UnitTotalsPass pass(db, key);
        outcome = pass.run(options);
        transaction.commit();
        db.close();
        result = pass.result();
    } catch (const platform::DbError &error) {
        failure = error.message();
    } catch (const std::exception &error) {
        failure = QString::fromLocal8Bit(error.what());
    }

    if (!failure.isNull()) {
        platform::dialogs().msgBox(QStringLiteral("Impossibile memorizzare i totali del condomino ")
                + key.description() + QStringLiteral(".\n") + failure,
            MsgButtons::Ok, MsgIcon::Critical, kAttention);
        return std::nullopt;
    }
    if (result->nonFinite)
        platform::dialogs().msgBox(
            QStringLiteral("Divisione per zero."), MsgButtons::Ok, MsgIcon::None, platform::programTitle());
    switch (outcome) {
    case Outcome::NoHeader:
        platform::dialogs().msgBox(
            QStringLiteral("Composizione palazzina non effettuata.Impossibile proseguire"), MsgButtons::Ok,
            MsgIcon::Information, kAttention);
        break;
    case Outcome::NoUnitRow:
        platform::dialogs().msgBox(QStringLiteral("Totali non memorizzati: il condomino ") + key.description()
                + QStringLiteral(" non risulta in Codifica Piani."),
            MsgButtons::Ok, MsgIcon::Information, kAttention);
        break;
    case Outcome::Stored:
        break;
    }
    return result;
}

} // namespace zav::workspace
