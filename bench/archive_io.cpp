// Throughput of the archive layer on a rooms table of realistic shape: rows written through one
// prepared statement inside one transaction, and every row read back in stored order.

#include "platform/db.h"

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
        if (rs.recordCount() != rows || rs.fieldCount() != 24) {
            state.SkipWithError("wrong number of rows or fields read back");
            break;
        }
        benchmark::DoNotOptimize(rs.value(rows - 1, 22));
    }
    state.counters["rows"]
        = benchmark::Counter(double(rows) * double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_WriteRooms)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadRooms)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
