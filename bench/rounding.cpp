// "Arrotonda" on the general thousandths view as the user waits for it: a 1,000-row table at
// 999.000 brought to 1000 (1,000 steps of 0.001), read from and written to an archive on disk, the
// total label recounted. A fresh copy of the archive for each iteration (copy not timed).
#include "tables/rounding.h"
#include "platform/db.h"
#include "platform/ui/datasource.h"
#include "support/benchproject.h"

#include <QLabel>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using zav::platform::Database;

void BM_ArrGlobaliThousandSteps(benchmark::State &state)
{
    const int rows = int(state.range(0));
    QTemporaryDir dir;
    const QString filled = dir.filePath(QStringLiteral("filled.cdb"));
    zav::bench::copyTemplateArchive(filled);
    {
        Database db = Database::open(filled);
        auto transaction = db.transaction();
        // Every share 0.999: the column adds up to 999.000 on 1,000 rows.
        for (int n = 0; n < rows; ++n) {
            db.insert(QStringLiteral("MILLESIMI"),
                { { QStringLiteral("CONDOMINO"), QStringLiteral("Condomino %1").arg(n) },
                    { QStringLiteral("PALAZ"), QStringLiteral("1") },
                    { QStringLiteral("SCALA"), QStringLiteral("A") }, { QStringLiteral("RIGA"), n },
                    { QStringLiteral("MILLESIMI"), 0.999 } });
        }
        transaction.commit();
    }
    const QString path = dir.filePath(QStringLiteral("run.cdb"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        QFile::copy(filled, path);
        zav::platform::DataSource source;
        source.setDatabaseName(path);
        source.setRecordSource(QStringLiteral("MILLESIMI"));
        source.refresh();
        QLabel label(QStringLiteral("999"));
        state.ResumeTiming();
        const auto outcome = zav::tables::Rounding::bring(source, label,
            { QStringLiteral("MILLESIMI"), 20, zav::tables::RoundingStep::Zero::Changed,
                zav::tables::RoundingStep::Errors::Stop },
            { 1000, 0 });
        if (outcome.end != zav::tables::RoundingOutcome::End::Reached
            || label.text() != QStringLiteral("1000")) {
            state.SkipWithError("the total was not reached");
            return;
        }
        state.counters["passes"] = outcome.passes;
    }
}
BENCHMARK(BM_ArrGlobaliThousandSteps)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
