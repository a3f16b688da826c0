#include "engine/millesimi.h"

#include "engine/archive.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/vb.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace zav::engine {

namespace vb = platform::vb;
using platform::Database;
using platform::Recordset;
using V = ArchiveValues;

namespace {

// Field position by name, -1 when the table lacks it (its value then reads as empty).
int fieldAt(const Recordset &rs, const QString &name)
{
    return rs.hasField(name) ? rs.fieldIndex(name) : -1;
}

QVariant valueAt(const Recordset &rs, int row, int position)
{
    return position < 0 ? QVariant() : rs.value(row, position);
}

} // namespace

QVariant Millesimi::Row::amountValue() const
{
    switch (amount) {
    case Amount::None:
        return QVariant();
    case Amount::Surface:
        return unit->totSupRaw;
    case Amount::Volume:
        return QVariant(unit->totVol.value_or(0.0));
    case Amount::HeatedVolume:
        return unit->totVolRisc;
    case Amount::RadiantSurface:
        return unit->totRadRisc;
    }
    return QVariant();
}

Millesimi::Millesimi(Database &db)
    : m_db(db)
{
}

Millesimi::Outcome Millesimi::run()
{
    readInputs();
    clearTables();

    if (!generalTable())
        return Outcome::StoppedFloorHeight;
    writeGeneral();
    if (runningSumIsZero())
        return Outcome::StoppedZeroSum;

    porterTable();
    buildingTable();
    stairFirstHalf();
    stairSlots();
    heatingTable();
    writeOthers();
    return Outcome::Completed;
}

void Millesimi::readInputs()
{
    // The project record: its first row; a project without one reads as all fields empty.
    const Recordset ana = m_db.table(archive::ANA_CONDO);
    if (!ana.isEmpty()) {
        m_checkSup = valueAt(ana, 0, fieldAt(ana, QStringLiteral("CHECK_SUP")));
        m_riscVol = valueAt(ana, 0, fieldAt(ana, QStringLiteral("RISC_VOL")));
        m_riscRad = valueAt(ana, 0, fieldAt(ana, QStringLiteral("RISC_RAD")));
        m_porterFlag = valueAt(ana, 0, fieldAt(ana, QStringLiteral("PORTIERATO")));
        m_risc50 = valueAt(ana, 0, fieldAt(ana, QStringLiteral("RISC_50")));
    }

    // Units in stored order, read row by row: only the fields used are kept.
    const QStringList fields = m_db.fields(archive::CODIF_PIANI);
    const auto position = [&fields](const char *name) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (fields.at(i).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return int(i);
        }
        return -1;
    };
    const int fNumPal = position("NUM_PAL");
    const int fScala = position("SCALA");
    const int fRiga = position("RIGA");
    const int fSigla = position("SIGLA");
    const int fProprietario = position("PROPRIETARIO");
    const int fHterra = position("HTERRA");
    const int fHpiano = position("HPIANO");
    const int fHascensore = position("HASCENSORE");
    const int fTotSup = position("TOT_SUP");
    const int fTotVol = position("TOT_VOL");
    const int fVolRisc = position("TOT_VOL_RISC");
    const int fRadRisc = position("TOT_RAD_RISC");
    const int fInterno = position("INTERNO");
    platform::Statement units = m_db.prepare(QStringLiteral("SELECT * FROM CODIF_PIANI ORDER BY rowid"));
    units.forEach({}, [&](const platform::RowView &row) {
        const auto valueAt = [&row](int position) {
            return position < 0 || position >= row.fieldCount() ? QVariant()
                                                                : row.field(position).toVariant();
        };
        Unit u;
        u.numPal = valueAt(fNumPal);
        u.scala = valueAt(fScala);
        u.riga = valueAt(fRiga);
        u.sigla = valueAt(fSigla);
        u.proprietario = valueAt(fProprietario);
        u.hpiano = valueAt(fHpiano);
        u.interno = valueAt(fInterno);
        u.totSupRaw = valueAt(fTotSup);
        u.totVolRisc = valueAt(fVolRisc);
        u.totRadRisc = valueAt(fRadRisc);
        u.palaz = V::isEmpty(u.numPal) ? QVariant() : QVariant(V::text(u.numPal));
        u.building = V::wholeNumber(u.numPal);
        u.floorSlot = V::floorSlot(u.sigla);
        u.special = V::specialIndex(u.sigla);
        u.hterra = V::number(valueAt(fHterra));
        u.hascensore = V::number(valueAt(fHascensore));
        u.totSup = V::number(u.totSupRaw);
        u.totVol = V::number(valueAt(fTotVol));
        u.volRisc = V::number(u.totVolRisc);
        u.radRisc = V::number(u.totRadRisc);
        m_units.append(std::move(u));
    });

    // Buildings in building number order (empty numbers first, ties in stored order).
    const Recordset cps = m_db.table(archive::COMPOS_PAL);
    const int bNumPal = fieldAt(cps, QStringLiteral("NUM_PAL"));
    const int bNumScale = fieldAt(cps, QStringLiteral("NUM_SCALE"));
    const int bRisc = fieldAt(cps, QStringLiteral("RISCALDAMENTO"));
    const int bAsc = fieldAt(cps, QStringLiteral("ASCENSORE"));
    std::vector<std::pair<Num, Building>> buildings;
    for (int r = 0; r < cps.recordCount(); ++r) {
        const QVariant numPal = valueAt(cps, r, bNumPal);
        Building b;
        b.numPal = V::wholeNumber(numPal);
        b.numScale = valueAt(cps, r, bNumScale);
        b.riscaldamento = valueAt(cps, r, bRisc);
        b.ascensore = valueAt(cps, r, bAsc);
        buildings.emplace_back(V::number(numPal), std::move(b));
    }
    std::stable_sort(buildings.begin(), buildings.end(), [](const auto &a, const auto &b) {
        if (!a.first || !b.first)
            return !a.first && b.first;
        return *a.first < *b.first;
    });
    for (auto &entry : buildings)
        m_buildings.push_back(std::move(entry.second));
}

const Millesimi::Building *Millesimi::building(qint64 number) const
{
    for (const Building &b : m_buildings) {
        if (b.numPal && *b.numPal == number)
            return &b;
    }
    return nullptr;
}

void Millesimi::clearTables()
{
    // A result table that cannot be emptied cannot be rebuilt either: the error ends the run, which
    // is then rolled back and reported rather than half done and announced as done.
    for (const char *table : { "MILLESIMI", "TEMPORANEO", "TEMPORANEO2", "MIL_RISC", "MIL_PORTIERATO" })
        m_db.clear(QString::fromLatin1(table));
}

bool Millesimi::generalTable()
{
    // Totals over every unit, including the units the checks below leave out.
    double totalVolume = 0.0;
    double totalSurface = 0.0;
    for (const Unit &u : m_units) {
        totalVolume += u.totVol.value_or(0.0);
        totalSurface += u.totSup.value_or(0.0);
    }
    const bool bySurface = V::isTrue(m_checkSup);

    m_runningSum.clear();
    m_generale.reserve(m_units.size());
    for (const Unit &u : m_units) {
        if (V::isEmpty(u.hpiano)) {
            m_stopOwner = V::text(u.proprietario);
            return false;
        }
        if (const Num h = V::number(u.hpiano))
            VAR_GBL.altezza_piano = *h;

        if (!u.totSup) {
            platform::dialogs().msgBox(QStringLiteral("I Mq. del condomino ") + V::text(u.proprietario)
                    + QStringLiteral(" Pal. ") + V::text(u.numPal) + QStringLiteral("Scala ")
                    + V::text(u.scala) + QStringLiteral("Interno ") + V::text(u.interno)
                    + QStringLiteral(" risultano non corretti o vuoti"),
                platform::MsgButtons::Ok, platform::MsgIcon::Information, MessageTitle::ZavWarning);
            continue;
        }
        const double volume = u.totVol.value_or(0.0);
        const double surface = *u.totSup;
        const double value = bySurface ? surface : volume;
        const double total = bySurface ? totalSurface : totalVolume;
        if (value == 0.0)
            continue;

        // Cut, not rounded, to three decimals, in this order of operations.
        Num share;
        const double scaled = ((1000.0 * value) / total) * 1000.0;
        if (std::isfinite(scaled))
            share = vb::Int(scaled) / 1000.0;

        // The running sum is kept as formatted text and read back before each addition. A share
        // that cannot be computed (a total of zero) adds nothing.
        if (share) {
            const double previous = m_runningSum.isEmpty() ? 0.0 : vb::CDbl(m_runningSum).value_or(0.0);
            m_runningSum = vb::Format(previous + *share, QStringLiteral("####0.0##"));
        }

        Row row;
        row.unit = &u;
        row.amount = bySurface ? Row::Amount::Surface : Row::Amount::Volume;
        row.millesimi = share;
        m_generale.append(row);
    }
    return true;
}

bool Millesimi::runningSumIsZero() const
{
    return m_runningSum.isEmpty() || vb::CDbl(m_runningSum).value_or(0.0) == 0.0;
}

void Millesimi::porterTable()
{
    if (!V::isTrue(m_porterFlag))
        return;
    m_portierato = m_generale;
    for (Row &row : m_portierato) {
        row.internoNull = V::isEmpty(row.unit->interno);
    }
}

void Millesimi::writeTable(const QString &table, const QVector<Row> &rows, const QList<Column> &columns)
{
    if (rows.isEmpty())
        return;
    // Only the fields the table has are written: a missing field is passed over, the rest of the
    // row still stored. A table that cannot be read or written at all ends the run (see clearTables).
    const QStringList present = m_db.fields(table);
    QList<Column> used;
    QStringList names;
    QStringList marks;
    for (const Column &column : columns) {
        if (present.contains(column.first, Qt::CaseInsensitive)) {
            used.append(column);
            names.append(Database::quoteName(column.first));
            marks.append(QStringLiteral("?"));
        }
    }
    if (used.isEmpty())
        return;
    platform::Statement insert
        = m_db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(Database::quoteName(table), names.join(u','), marks.join(u',')));
    QVariantList values;
    values.reserve(used.size());
    for (const Row &row : rows) {
        values.clear();
        for (const Column &column : used)
            values.append(column.second(row));
        try {
            insert.exec(values);
        } catch (const platform::DbError &) {
            // A row that cannot be stored is skipped; the rows written so far stay.
        }
    }
}

QList<Millesimi::Column> Millesimi::generalColumns()
{
    return {
        { QStringLiteral("CONDOMINO"), [](const Row &r) { return r.condomino(); } },
        { QStringLiteral("PALAZ"), [](const Row &r) { return r.palaz(); } },
        { QStringLiteral("SCALA"), [](const Row &r) { return r.scala(); } },
        { QStringLiteral("MQ"), [](const Row &r) { return r.amountValue(); } },
        { QStringLiteral("MILLESIMI"), [](const Row &r) { return V::field(r.millesimi); } },
        { QStringLiteral("PIANO"), [](const Row &r) { return r.piano(); } },
        { QStringLiteral("INTERNO"), [](const Row &r) { return r.interno(); } },
        { QStringLiteral("RIGA"), [](const Row &r) { return r.riga(); } },
    };
}

void Millesimi::writeGeneral()
{
    writeTable(archive::MILLESIMI, m_generale, generalColumns());
}

void Millesimi::writeOthers()
{
    const QList<Column> general = generalColumns();
    writeTable(archive::MIL_PORTIERATO, m_portierato, general);
    writeTable(archive::TEMPORANEO, m_palazzine, general);

    QList<Column> stair = general;
    stair.append({ QStringLiteral("MIL_B"), [](const Row &r) { return V::field(r.milB); } });
    stair.append({ QStringLiteral("MEDIA"), [](const Row &r) { return V::field(r.media); } });
    stair.append({ QStringLiteral("ASCENSORE"), [](const Row &r) { return V::field(r.ascensore); } });
    stair.append({ QStringLiteral("MEDIA_ASC"), [](const Row &r) { return V::field(r.mediaAsc); } });
    writeTable(archive::TEMPORANEO2, m_scale, stair);

    const QList<Column> heating = {
        { QStringLiteral("CONDOMINO"), [](const Row &r) { return r.condomino(); } },
        { QStringLiteral("PALAZ"), [](const Row &r) { return r.palaz(); } },
        { QStringLiteral("SCALA"), [](const Row &r) { return r.scala(); } },
        { QStringLiteral("PIANO"), [](const Row &r) { return r.piano(); } },
        { QStringLiteral("VOLUME"), [](const Row &r) { return r.amountValue(); } },
        { QStringLiteral("MILLESIMI"), [](const Row &r) { return V::field(r.millesimi); } },
        { QStringLiteral("INTERNO"), [](const Row &r) { return r.interno(); } },
        { QStringLiteral("RIGA"), [](const Row &r) { return r.riga(); } },
    };
    writeTable(archive::MIL_RISC, m_riscaldamento, heating);
}

void VarGbl::calcolo_millesimi()
{
    if (!progetto_corrente)
        return;

    Millesimi::Outcome outcome = Millesimi::Outcome::Completed;
    QString stopOwner;
    QString failure;
    try {
        Database db = Database::open(*progetto_corrente);
        // The five tables are rewritten whole: room for their pages, so that none is written twice.
        db.setPageCacheLimit(Database::BulkPageCacheKiB);
        platform::Transaction transaction = db.transaction();
        Millesimi calculation(db);
        outcome = calculation.run();
        if (outcome == Millesimi::Outcome::StoppedFloorHeight) {
            // A stop leaves every table as it was before the calculation.
            transaction.rollback();
            stopOwner = calculation.stopOwner();
        } else {
            transaction.commit();
        }
        db.close();
    } catch (const platform::DbError &error) {
        failure = error.message();
    } catch (const std::exception &error) {
        failure = QString::fromLocal8Bit(error.what());
    }

    if (!failure.isNull()) {
        platform::dialogs().msgBox(QStringLiteral("Calcolo Millesimi non effettuato.\n") + failure,
            platform::MsgButtons::Ok, platform::MsgIcon::Critical, MessageTitle::ZavWarning);
        return;
    }
    switch (outcome) {
    case Millesimi::Outcome::StoppedFloorHeight:
        platform::dialogs().msgBox(QStringLiteral("E' stata trovata l'altezza di piano vuota del condomino ")
                + stopOwner + QStringLiteral(". Controllare e ripetere l'operazione"),
            platform::MsgButtons::Ok, platform::MsgIcon::Information, MessageTitle::ZavWarning);
        break;
    case Millesimi::Outcome::StoppedZeroSum:
        break;
    case Millesimi::Outcome::Completed:
        platform::dialogs().msgBox(QStringLiteral("Calcolo Millesimi effettuato"), platform::MsgButtons::Ok,
            platform::MsgIcon::Information, MessageTitle::ZavInformation);
        break;
    }
}

} // namespace zav::engine
