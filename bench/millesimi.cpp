// Times the global thousandths calculation on generated projects of growing size: four buildings
// of three stairs each, units spread over the ground floor, a basement and floors 1 to 10, half of
// the buildings with a lift, all heated, with a porter's lodge.

#include "engine/var_gbl.h"
#include "platform/db.h"
#include "support/benchproject.h"
#include "support/scripteddialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using zav::engine::VAR_GBL;
using zav::platform::Database;

constexpr int buildings = 4;
constexpr int stairsPerBuilding = 3;

QString makeProject(const QTemporaryDir &dir, int units)
{
    const QString path = dir.filePath(QStringLiteral("BENCH%1.cdb").arg(units));
    zav::bench::copyTemplateArchive(path);

    Database db = Database::open(path);
    auto transaction = db.transaction();
    db.insert(QStringLiteral("ANA_CONDO"),
        { { "NUM_PAL", buildings }, { "CHECK_SUP", true }, { "PORTIERATO", true }, { "RISC_VOL", true } });
    for (int b = 1; b <= buildings; ++b) {
        db.insert(QStringLiteral("COMPOS_PAL"),
            { { "NUM_PAL", b }, { "NUM_SCALE", stairsPerBuilding }, { "RISCALDAMENTO", true },
                { "ASCENSORE", b % 2 == 0 } });
    }
    const QStringList floors = { "1S", "T", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10" };
    zav::platform::Statement insert = db.prepare(QStringLiteral(
        "INSERT INTO CODIF_PIANI (NUM_PAL, SCALA, RIGA, SIGLA, PROPRIETARIO, HTERRA, HPIANO, HASCENSORE, "
        "TOT_SUP, TOT_VOL, TOT_VOL_RISC, TOT_RAD_RISC, INTERNO) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < units; ++i) {
        const int building = 1 + i % buildings;
        const QString stair = QString(QChar(u'A' + (i / buildings) % stairsPerBuilding));
        const int f = (i / (buildings * stairsPerBuilding)) % floors.size();
        const double surface = 60.0 + (i * 37) % 90;
        insert.exec({ building, stair, f - 1, floors.at(f), QStringLiteral("Condomino %1").arg(i), 3.0 * f,
            3.0, f < 2 ? 0.0 : 3.0 * (f - 1), surface, surface * 2.7, surface * 2.7, 0.0, i + 1 });
    }
    transaction.commit();
    return path;
}

void calcoloMillesimi(benchmark::State &state)
{
    QTemporaryDir dir;
    const int units = int(state.range(0));
    VAR_GBL.reset();
    VAR_GBL.progetto_corrente = makeProject(dir, units);
    zav::platform::ScriptedDialogs dialogs; // answers the completion message
    for (auto _ : state) {
        VAR_GBL.calcolo_millesimi();
        dialogs.clear();
    }
    state.SetComplexityN(units);
    VAR_GBL.reset();
}

BENCHMARK(calcoloMillesimi)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
