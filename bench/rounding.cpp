// Bringing a thousandths table to 1000 as the user waits for it, on archives on disk: "Arrotonda"
// on the workspace's general view (the project's `MILLESIMI`, its label recounted) and
// "Arr. Millesimi" on the terrace form's thousandths (the terrace archive's `MILLESIMI`, through the
// form). Each table has N rows whose total is short of 1000 by a gap of 0.05, 1, 50 or 500; a fresh
// copy of the archive for each iteration (copy and view set-up not timed). Arguments: rows, gap in
// thousandths.
#include "tables/rounding.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/ui/datasource.h"
#include "support/benchproject.h"
#include "support/check.h"
#include "support/scripteddialogs.h"
#include "terraces/frm_terrazze.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using zav::engine::VAR_GBL;
using zav::platform::Database;

// The rows' shares in thousandths: as even as can be, adding up to 1000 less the gap.
QList<double> shares(int rows, qint64 gap)
{
    const qint64 total = 1000000 - gap;
    QList<double> values;
    for (int n = 0; n < rows; ++n)
        values << double(total / rows + (n < total % rows ? 1 : 0)) / 1000.0;
    return values;
}

void copy(const QString &from, const QString &to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        throw std::runtime_error("cannot copy " + from.toStdString());
    QFile(to).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

void BM_Arrotonda(benchmark::State &state)
{
    const int rows = int(state.range(0));
    QTemporaryDir dir;
    const QString filled = dir.filePath(QStringLiteral("filled.cdb"));
    zav::bench::copyTemplateArchive(filled);
    {
        Database db = Database::open(filled);
        auto transaction = db.transaction();
        int n = 0;
        for (const double share : shares(rows, state.range(1))) {
            db.insert(QStringLiteral("MILLESIMI"),
                { { QStringLiteral("CONDOMINO"), QStringLiteral("Condomino %1").arg(n) },
                    { QStringLiteral("PALAZ"), QStringLiteral("1") },
                    { QStringLiteral("SCALA"), QStringLiteral("A") }, { QStringLiteral("RIGA"), n++ },
                    { QStringLiteral("MILLESIMI"), share } });
        }
        transaction.commit();
    }
    const QString path = dir.filePath(QStringLiteral("run.cdb"));
    for (auto _ : state) {
        state.PauseTiming();
        copy(filled, path);
        zav::platform::DataSource source;
        source.setDatabaseName(path);
        source.setRecordSource(QStringLiteral("MILLESIMI"));
        source.refresh();
        QLabel label(QString::number(1000.0 - double(state.range(1)) / 1000.0, 'f', 3));
        state.ResumeTiming();
        const auto outcome = zav::tables::Rounding::bring(source, label,
            { QStringLiteral("MILLESIMI"), 20, zav::tables::RoundingStep::Zero::Changed,
                zav::tables::RoundingStep::Errors::Stop },
            { 1000, 0 });
        ZAV_BENCH_CHECK(state,
            outcome.end == zav::tables::RoundingOutcome::End::Reached
                && label.text() == QStringLiteral("1000"),
            "the total was not reached");
        state.counters["passes"] = double(outcome.passes);
    }
}

void BM_ArrMillesimi(benchmark::State &state)
{
    const int rows = int(state.range(0));
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("BENCH.CDB"));
    zav::bench::copyTemplateArchive(project);
    const QString filled = dir.filePath(QStringLiteral("filled.TER"));
    copy(QStringLiteral(ZAV_BENCH_PROGRAM_DIR "/TERRAZZE.CLO"), filled);
    {
        Database db = Database::open(filled);
        auto transaction = db.transaction();
        auto share = db.prepare(QStringLiteral("INSERT INTO MILLESIMI VALUES (?,?,?,?,?,?,?,?,?)"));
        int n = 0;
        for (const double value : shares(rows, state.range(1))) {
            share.exec({ QStringLiteral("Condomino %1").arg(n), 1 + n % 4, QStringLiteral("A"),
                QString::number(n % 9), 120.5, value, QStringLiteral("T1"), n + 1,
                QStringLiteral("Lastrici solari") });
            ++n;
        }
        transaction.commit();
    }
    const QString path = dir.filePath(QStringLiteral("BENCH.TER"));
    copy(filled, path);
    zav::platform::ScriptedDialogs boxes;
    VAR_GBL.progetto_corrente = project;
    VAR_GBL.archivio_terrazze = path;
    zav::terraces::frm_terrazze form;
    for (auto _ : state) {
        state.PauseTiming();
        copy(filled, path);
        form.TABELLA_MILLESIMI();
        state.ResumeTiming();
        form.ARR_MIL_TER();
        ZAV_BENCH_CHECK(state, form.Label20->text() == QStringLiteral("1000") && boxes.shown().isEmpty(),
            "the total was not reached");
    }
    VAR_GBL.reset();
}

void gaps(benchmark::internal::Benchmark *b)
{
    for (const int rows : { 3, 1000 })
        for (const int gap : { 50, 1000, 50000, 500000 })
            b->Args({ rows, gap });
}

BENCHMARK(BM_Arrotonda)->Apply(gaps)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ArrMillesimi)->Apply(gaps)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
