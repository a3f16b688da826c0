// Throughput of the archive layer on a rooms table of realistic shape: rows written through one
// prepared statement inside one transaction, and every row read back in stored order.

#include "platform/db.h"
#include "support/check.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using zav::platform::Database;
using zav::platform::FieldDef;
using zav::platform::FieldType;

namespace {

const QString kRooms = QStringLiteral("ESPRESSIONI");

// The rooms table: owner, room, expression and surface, building, eight coefficients, weighted surface,
// stair, height, volume, heating flag, radiant expression and surface, window, unit number, floor code.
QList<FieldDef> roomFields()
{
    QList<FieldDef> fields { { QStringLiteral("NOME_CONDOMINO"), FieldType::Text, 150 },
        { QStringLiteral("DESCRIZIONE"), FieldType::Text, 50 },
        { QStringLiteral("ESPRESSIONE"), FieldType::Text, 255 },
        { QStringLiteral("MQ"), FieldType::Text, 20 }, { QStringLiteral("PALAZ"), FieldType::Text, 3 } };
    for (int k = 1; k <= 8; ++k)
        fields.append({ QStringLiteral("COEF%1").arg(k), FieldType::Text, 20 });
    fields.append({ { QStringLiteral("TOT_COEF"), FieldType::Text, 20 },
        { QStringLiteral("SCALA"), FieldType::Text, 10 }, { QStringLiteral("H_PIANO"), FieldType::Text, 20 },
        { QStringLiteral("TOT_VOL"), FieldType::Text, 20 },
        { QStringLiteral("OPT_RISC"), FieldType::Text, 1 },
        { QStringLiteral("ESPRES_RAD"), FieldType::Text, 255 },
        { QStringLiteral("TOT_ESPRES_RAD"), FieldType::Text, 20 },
        { QStringLiteral("SUP_FINESTRA"), FieldType::Text, 50 },
        { QStringLiteral("MQ_FINESTRA"), FieldType::Text, 20 },
        { QStringLiteral("INTERNO"), FieldType::Integer, 0 },
        { QStringLiteral("PIANO"), FieldType::Text, 3 } });
    return fields;
}

// One room of a generated project: eight rooms per unit, units spread over buildings and stairs.
QVariantList roomValues(int row)
{
    const int unit = row / 8;
    const int room = row % 8;
    const QString owner = QStringLiteral("D'Amico \"%1\"").arg(unit);
    const QString building = QString::number(unit % 5 + 1);
    const QString stair = QString(QChar(u'A' + unit % 4));
    QVariantList values { owner, QStringLiteral("Vano %1").arg(room + 1),
        QStringLiteral("3.5*4.2+0.3*%1").arg(room), QStringLiteral("14,7"), building };
    for (int k = 0; k < 8; ++k)
        values << (k == room ? QVariant(QStringLiteral("0,95")) : QVariant());
    values << QStringLiteral("13,965") << stair << QStringLiteral("2,7") << QStringLiteral("37,706")
           << QStringLiteral("S") << QStringLiteral("4*2.1") << QStringLiteral("8,4")
           << QStringLiteral("1.2*1.4") << QStringLiteral("1,68") << unit % 40 + 1
           << QString::number(unit % 10 + 1);
    return values;
}

QString insertSql()
{
    QStringList names;
    QStringList marks;
    for (const FieldDef &field : roomFields()) {
        names << Database::quoteName(field.name);
        marks << QStringLiteral("?");
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(Database::quoteName(kRooms), names.join(u','), marks.join(u','));
}

void writeRooms(Database &db, int rows)
{
    const QString sql = insertSql();
    zav::platform::Transaction transaction = db.transaction();
    zav::platform::Statement insert = db.prepare(sql);
    for (int row = 0; row < rows; ++row)
        insert.exec(roomValues(row));
    transaction.commit();
}

void BM_WriteRooms(benchmark::State &state)
{
    const int rows = int(state.range(0));
    QTemporaryDir dir;
    const QList<FieldDef> fields = roomFields();
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            Database db = Database::create(dir.filePath(QStringLiteral("W%1.CDB").arg(++run)));
            db.createTable(kRooms, fields);
            state.ResumeTiming();
            writeRooms(db, rows);
            state.PauseTiming();
        }
        QFile::remove(dir.filePath(QStringLiteral("W%1.CDB").arg(run)));
        state.ResumeTiming();
    }
    state.counters["rows"]
        = benchmark::Counter(double(rows) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ReadRooms(benchmark::State &state)
{
    const int rows = int(state.range(0));
    QTemporaryDir dir;
    Database db = Database::create(dir.filePath(QStringLiteral("R.CDB")));
    db.createTable(kRooms, roomFields());
    writeRooms(db, rows);
    for (auto _ : state) {
        const zav::platform::Recordset rs = db.table(kRooms);
        ZAV_BENCH_CHECK(state, rs.recordCount() == rows && rs.fieldCount() == 24,
            "wrong number of rows or fields read back");
        benchmark::DoNotOptimize(rs.value(rows - 1, 22));
    }
    state.counters["rows"]
        = benchmark::Counter(double(rows) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// The unit key of a room, as roomValues() builds it: owner, building, stair, unit number.
QVariantList unitKey(int row)
{
    const QVariantList values = roomValues(row);
    return { values.at(0), values.at(4), values.at(14), values.at(22) };
}

// The rooms of each unit in turn through one prepared statement, the look-up a recalculation makes
// once per unit: the key fields and the fields it works from, over an index on the key.
void BM_ReadUnitRooms(benchmark::State &state)
{
    const int rows = int(state.range(0));
    QTemporaryDir dir;
    Database db = Database::create(dir.filePath(QStringLiteral("U.CDB")));
    db.createTable(kRooms, roomFields());
    writeRooms(db, rows);
    db.exec(QStringLiteral("CREATE INDEX CHIAVE ON ESPRESSIONI (NOME_CONDOMINO, PALAZ, SCALA, INTERNO)"));
    QStringList names;
    for (const FieldDef &field : roomFields().mid(0, 19))
        names << Database::quoteName(field.name);
    zav::platform::Statement rooms = db.prepare(QStringLiteral("SELECT rowid, %1 FROM ESPRESSIONI WHERE "
                                                               "NOME_CONDOMINO IS ? AND PALAZ IS ? AND "
                                                               "SCALA IS ? AND INTERNO IS ? ORDER BY rowid")
                                                    .arg(names.join(u',')));
    QList<QVariantList> keys;
    for (int row = 0; row < rows; row += 8)
        keys << unitKey(row);
    for (auto _ : state) {
        int read = 0;
        for (const QVariantList &key : keys)
            read += rooms.read(key).recordCount();
        ZAV_BENCH_CHECK(state, read == rows, "wrong number of rooms read back");
    }
    state.counters["rows"]
        = benchmark::Counter(double(rows) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// Seven values written back to every room by rowid in one transaction, as a recalculation stores its
// results; rolled back so that each run finds the same table.
void BM_UpdateRooms(benchmark::State &state)
{
    const int rows = int(state.range(0));
    QTemporaryDir dir;
    Database db = Database::create(dir.filePath(QStringLiteral("A.CDB")));
    db.createTable(kRooms, roomFields());
    writeRooms(db, rows);
    const zav::platform::Recordset all = db.table(kRooms);
    for (auto _ : state) {
        zav::platform::Transaction transaction = db.transaction();
        zav::platform::Statement update = db.prepare(
            QStringLiteral("UPDATE ESPRESSIONI SET MQ = ?, TOT_COEF = ?, H_PIANO = ?, TOT_VOL = ?, "
                           "TOT_ESPRES_RAD = ?, MQ_FINESTRA = ? WHERE rowid = ?"));
        for (int row = 0; row < rows; ++row) {
            update.exec({ QStringLiteral("14,7"), QStringLiteral("13,965"), QVariant(),
                QStringLiteral("37,706"), QStringLiteral("8,4"), QStringLiteral("1,68"), all.rowidAt(row) });
        }
        transaction.rollback();
    }
    state.counters["rows"]
        = benchmark::Counter(double(rows) * double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_WriteRooms)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadRooms)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadUnitRooms)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UpdateRooms)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
