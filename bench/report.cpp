// Times the general thousandths table of a generated project through the report engine: its
// export to RTF, the opening of its preview window until its first page shows, and until every
// page is painted in it, at 100, 1,000 and 10,000 units (the export at 30,000 too).

#include "platform/db.h"
#include "platform/report/reportcall.h"
#include "platform/report/reportengine.h"
#include "platform/report/reportpreview.h"
#include "platform/vb.h"
#include "support/benchproject.h"
#include "support/check.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using zav::platform::Database;
namespace ReportDestination = zav::platform::ReportDestination;
using zav::platform::ReportEngine;
using zav::platform::ReportPreview;
using zav::platform::ReportProperties;

/** A project archive with its header and a general table of `units` rows adding up to 1000. */
QString makeProject(const QTemporaryDir &dir, int units)
{
    const QString path = dir.filePath(QStringLiteral("BENCH%1.cdb").arg(units));
    zav::bench::copyTemplateArchive(path);

    Database db = Database::open(path);
    auto transaction = db.transaction();
    db.insert(QStringLiteral("ANA_CONDO"),
        { { "NOME", QStringLiteral("Condominio di prova") }, { "INDIRIZZO", QStringLiteral("Via Roma 1") },
            { "CITTA", QStringLiteral("Forlì") }, { "NUM_PAL", 4 } });
    const QStringList floors = { "1S", "T", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10" };
    zav::platform::Statement insert
        = db.prepare(QStringLiteral("INSERT INTO MILLESIMI (CONDOMINO, PALAZ, SCALA, MQ, MILLESIMI, PIANO, "
                                    "INTERNO, RIGA) VALUES (?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < units; ++i) {
        const int f = (i / 12) % floors.size();
        insert.exec({ QStringLiteral("Condomino %1").arg(i), QString::number(1 + i % 4),
            QString(QChar(u'A' + (i / 4) % 3)), 60.0 + (i * 37) % 90, 1000.0 / units, floors.at(f), i + 1,
            f - 1 });
    }
    transaction.commit();
    return path;
}

ReportProperties generalTable(const QString &archive)
{
    ReportProperties report;
    report.ReportFileName = QStringLiteral(ZAV_BENCH_PROGRAM_DIR "/STAMPE/MIL_GLOB.GST");
    report.DataFiles.at(0) = archive;
    report.DataFiles.at(7) = archive;
    report.previewTitle = QStringLiteral("Z.A.V. (Anteprima di Stampa)");
    return report;
}

void exportGeneralTableToRtf(benchmark::State &state)
{
    const zav::platform::vb::DecimalSeparatorScope comma(u',');
    QTemporaryDir dir;
    const int units = int(state.range(0));
    ReportProperties report = generalTable(makeProject(dir, units));
    report.Destination = ReportDestination::File;
    report.PrintFileType = zav::platform::RtfFileType;
    report.PrintFileName = dir.filePath(QStringLiteral("BENGBL.RTF"));
    ReportEngine engine;
    for (auto _ : state) {
        ZAV_BENCH_CHECK(state, engine.run(report).ok, "the export failed");
    }
    state.SetComplexityN(units);
}

// Until the preview window shows its first page, or (allPages) until every page is painted in it.
void openPreview(benchmark::State &state, bool allPages)
{
    const zav::platform::vb::DecimalSeparatorScope comma(u',');
    QTemporaryDir dir;
    const int units = int(state.range(0));
    ReportProperties report = generalTable(makeProject(dir, units));
    report.Destination = ReportDestination::Window;
    ReportEngine engine;
    int pages = 0;
    for (auto _ : state) {
        const bool ok = engine.run(report).ok;
        if (ok && allPages)
            QCoreApplication::processEvents();
        state.PauseTiming();
        for (ReportPreview *preview : ReportPreview::openPreviews()) {
            pages = preview->pageCount();
            delete preview;
        }
        ZAV_BENCH_CHECK(state, ok, "the preview failed");
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
    state.SetComplexityN(units);
}

void openGeneralTablePreview(benchmark::State &state)
{
    openPreview(state, false);
}

void paintGeneralTablePreview(benchmark::State &state)
{
    openPreview(state, true);
}

BENCHMARK(exportGeneralTableToRtf)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(openGeneralTablePreview)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(paintGeneralTablePreview)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
