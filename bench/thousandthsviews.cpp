// Time of switching the unit workspace to the general view and to the stair view of a project of
// 1,000 units on disk, totals included: the thousandths tables as the calculation writes them,
// read into the grid and totalled row by row.

#include "workspace/thousandthsviews.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "platform/vb.h"
#include "support/benchproject.h"
#include "support/check.h"
#include "support/scripteddialogs.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/workspacecommands.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using zav::engine::VAR_GBL;
using zav::platform::Database;
using zav::platform::FormRegistry;
using zav::workspace::frm_ins_coeff;
using zav::workspace::ThousandthsViews;

namespace {

constexpr int kUnits = 1000;
constexpr int kBuildings = 5;
constexpr int kStairs = 4;

/** 1,000 units in five buildings of four stairs, their thousandths calculated, on disk. */
class GeneratedProject
{
public:
    GeneratedProject()
        : m_dir(QDir::current().filePath(QStringLiteral("bench_thousandthsviews_XXXXXX")))
    {
        m_path = m_dir.filePath(QStringLiteral("BENCH.CDB"));
        zav::bench::copyTemplateArchive(m_path);
        {
            Database db = Database::open(m_path);
            auto transaction = db.transaction();
            db.insert(QStringLiteral("ANA_CONDO"),
                { { QStringLiteral("NOME"), QStringLiteral("Prova") },
                    { QStringLiteral("NUM_PAL"), kBuildings }, { QStringLiteral("RISC_VOL"), true } });
            for (int b = 1; b <= kBuildings; ++b)
                db.insert(QStringLiteral("COMPOS_PAL"),
                    { { QStringLiteral("NUM_PAL"), b }, { QStringLiteral("NUM_SCALE"), kStairs },
                        { QStringLiteral("RISCALDAMENTO"), true }, { QStringLiteral("ASCENSORE"), true } });
            auto unit = db.prepare(QStringLiteral(
                "INSERT INTO CODIF_PIANI (NUM_PAL, SCALA, SIGLA, PROPRIETARIO, HPIANO, HTERRA, HASCENSORE, "
                "TOT_SUP, TOT_VOL, TOT_VOL_RISC, INTERNO, RIGA) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                "?)"));
            for (int i = 0; i < kUnits; ++i) {
                const int floor = 1 + i % 10;
                unit.exec({ 1 + i % kBuildings, QString(QChar(u'A' + (i / kBuildings) % kStairs)),
                    QString::number(floor), QStringLiteral("Condomino %1").arg(i), 3.0, 3.0 * floor,
                    3.0 * floor, 80.0 + i % 17, 240.0 + i % 23, 200.0 + i % 19,
                    1 + i / (kBuildings * kStairs), floor });
            }
            transaction.commit();
        }
        zav::platform::ScriptedDialogs dialogs;
        VAR_GBL.reset();
        VAR_GBL.progetto_corrente = m_path;
        VAR_GBL.calcolo_millesimi();
    }

    const QString &path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

GeneratedProject &project()
{
    static GeneratedProject generated;
    return generated;
}

frm_ins_coeff *openWorkspace()
{
    zav::platform::vb::setDecimalSeparator(u',');
    project();
    VAR_GBL.reset();
    VAR_GBL.progetto_corrente = project().path();
    zav::workspace::registerForms();
    return FormRegistry::form<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
}

void closeWorkspace()
{
    FormRegistry::unload(QString::fromLatin1(frm_ins_coeff::FormName));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Each iteration comes from the other view, as a user switching tabs does.
void switchTo(benchmark::State &state, int tab, int from, int expectedRows)
{
    zav::platform::ScriptedDialogs dialogs;
    frm_ins_coeff *form = openWorkspace();
    for (auto _ : state) {
        state.PauseTiming();
        ThousandthsViews::enter(*form, from);
        state.ResumeTiming();
        ThousandthsViews::enter(*form, tab);
        QCoreApplication::processEvents();
    }
    zav::bench::check(state,
        form->Data1->recordCount() == expectedRows && form->Label20->text() != QLatin1String("0"),
        "the view does not show its rows and total");
    state.counters["rows"] = form->Data1->recordCount();
    closeWorkspace();
}

void BM_GeneralView(benchmark::State &state)
{
    switchTo(state, 4, 9, kUnits);
}

// The stair view: the whole stair table first, then building 1's stairs and its first stair's rows.
void BM_StairView(benchmark::State &state)
{
    switchTo(state, 6, 4, kUnits / (kBuildings * kStairs));
}

BENCHMARK(BM_GeneralView)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly();
BENCHMARK(BM_StairView)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly();

} // namespace
