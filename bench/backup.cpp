// The "Backup" command as the user waits for it: a project archive of N units (eight rooms each)
// compressed into its zip in the backup folder, against the floor of copying the same file as it
// is.

#include "shell/project/backup.h"
#include "platform/db.h"
#include "support/benchproject.h"
#include "support/check.h"
#include "support/comparison.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>

using zav::platform::Database;

namespace {

/** A project archive of `units` units with eight rooms each, made once per size. */
QString project(int units)
{
    static QTemporaryDir dir;
    static std::map<int, QString> made;
    if (const auto found = made.find(units); found != made.end())
        return found->second;
    const QString path = dir.filePath(QStringLiteral("PROVA%1.CDB").arg(units));
    zav::bench::copyTemplateArchive(path);
    Database db = Database::open(path);
    zav::platform::Transaction transaction = db.transaction();
    zav::platform::Statement unit = db.prepare(QStringLiteral(
        "INSERT INTO CODIF_PIANI (NUM_PAL, SCALA, SIGLA, PROPRIETARIO, HPIANO, TOT_SUP, TOT_VOL, INTERNO) "
        "VALUES (?, ?, ?, ?, 2.7, 112.5, 303.75, ?)"));
    zav::platform::Statement room = db.prepare(QStringLiteral(
        "INSERT INTO ESPRESSIONI (NOME_CONDOMINO, DESCRIZIONE, ESPRESSIONE, MQ, PALAZ, COEF1, COEF2, COEF3, "
        "TOT_COEF, SCALA, H_PIANO, TOT_VOL, OPT_RISC, INTERNO, PIANO) "
        "VALUES (?, ?, ?, '14,7', ?, '0,95', '1', '1', '13,965', ?, '2,7', '37,706', 'S', ?, ?)"));
    for (int u = 0; u < units; ++u) {
        const QString owner = QStringLiteral("Condomino %1").arg(u);
        const QString building = QString::number(u % 20 + 1);
        const QString stair = QString(QChar(u'A' + u % 4));
        const QString floor = QString::number(u % 10);
        unit.exec({ building.toInt(), stair, floor, owner, u % 40 + 1 });
        for (int r = 0; r < 8; ++r)
            room.exec({ owner, QStringLiteral("Vano %1").arg(r + 1), QStringLiteral("3.5*4.2+0.3*%1").arg(r),
                building, stair, u % 40 + 1, floor });
    }
    transaction.commit();
    db.close();
    made.emplace(units, path);
    return path;
}

void Backup(benchmark::State &state)
{
    const QString archive = project(int(state.range(0)));
    QTemporaryDir folder;
    QString zip;
    for (auto _ : state) {
        const zav::shell::BackupOutcome outcome = zav::shell::backupArchive(archive, folder.path());
        ZAV_BENCH_CHECK(state, outcome.succeeded, outcome.error.toStdString());
        zip = outcome.zipPath;
    }
    state.counters["archive_MB"] = double(QFileInfo(archive).size()) / 1e6;
    state.counters["zip_MB"] = double(QFileInfo(zip).size()) / 1e6;
}

void FileCopyFloor(benchmark::State &state)
{
    const QString archive = project(int(state.range(0)));
    QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("COPIA.CDB"));
    for (auto _ : state) {
        QFile::remove(copy);
        ZAV_BENCH_CHECK(state, QFile::copy(archive, copy), "cannot copy the archive");
    }
}

} // namespace

BENCHMARK(Backup)->Arg(1000)->Arg(30000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FileCopyFloor)->Arg(1000)->Arg(30000)->Unit(benchmark::kMillisecond)->UseRealTime();

const bool comparedWithFloor = zav::bench::compareWithFloor("Backup", "FileCopyFloor");
