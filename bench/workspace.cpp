// Time of handing a unit of ten rooms to the unit workspace (binding its rooms, summing its totals,
// showing the form; in an open workspace, storing the totals of the unit shown first) on projects of
// 1,000 and 30,000 units on disk: the hand-over reads the unit's own rooms, so it should not grow
// with the project. Also the time of recomputing and storing the totals of a unit of 200 rooms.

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

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

using zav::engine::VAR_GBL;
using zav::platform::Database;
using zav::platform::FormRegistry;
using zav::workspace::frm_ins_coeff;
using zav::workspace::Unit;
using zav::workspace::UnitKey;

namespace {

constexpr int kRoomsPerUnit = 10;
constexpr int kRoomsOfTheLastUnit = 200;

/**
 * A project of `units` units of ten rooms, the last with 200, in a folder on disk kept for the run.
 * Units are numbered in the order they are written.
 */
class GeneratedProject
{
public:
    explicit GeneratedProject(int units)
        : m_dir(QDir::current().filePath(QStringLiteral("bench_workspace_XXXXXX")))
    {
        m_path = m_dir.filePath(QStringLiteral("BENCH.CDB"));
        zav::bench::copyTemplateArchive(m_path);

        Database db = Database::open(m_path);
        auto transaction = db.transaction();
        db.insert(QStringLiteral("ANA_CONDO"),
            { { QStringLiteral("NOME"), QStringLiteral("Prova") }, { QStringLiteral("NUM_PAL"), 5 },
                { QStringLiteral("RISC_VOL"), true } });
        auto unit = db.prepare(QStringLiteral("INSERT INTO CODIF_PIANI (NUM_PAL, SCALA, SIGLA, PROPRIETARIO, "
                                              "HPIANO, INTERNO) VALUES (?, ?, ?, ?, ?, ?)"));
        auto room
            = db.prepare(QStringLiteral("INSERT INTO ESPRESSIONI (NOME_CONDOMINO, PALAZ, SCALA, "
                                        "INTERNO, DESCRIZIONE, ESPRESSIONE, COEF1, COEF2, H_PIANO, "
                                        "OPT_RISC, SUP_FINESTRA) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < units; ++i) {
            const QString owner = QStringLiteral("Condomino %1").arg(i);
            const int building = 1 + i % 5;
            const int interno = 1 + i / 5;
            unit.exec({ building, QStringLiteral("A"), QString::number(1 + i % 8), owner, 3.0, interno });
            const int rooms = i == units - 1 ? kRoomsOfTheLastUnit : kRoomsPerUnit;
            for (int r = 0; r < rooms; ++r) {
                room.exec({ owner, QString::number(building), QStringLiteral("A"), interno,
                    QStringLiteral("Vano %1").arg(r), QStringLiteral("4.20*3.15+1.5*%1").arg(r % 7 + 1),
                    QStringLiteral("0,95"), QStringLiteral("1,1"), r % 3 == 0 ? QVariant() : QVariant("2,7"),
                    QStringLiteral("S"), QStringLiteral("1.2*1.4") });
            }
            m_units.push_back(Unit { UnitKey { owner, QString::number(building), QStringLiteral("A"),
                                         QString::number(1 + i % 8), QString::number(interno) },
                3.0 });
        }
        transaction.commit();
    }

    const QString &path() const { return m_path; }
    /** The unit written `i`-th. */
    const Unit &unit(int i) const { return m_units.at(size_t(i)); }
    /** The unit of 200 rooms. */
    const Unit &largeUnit() const { return m_units.back(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::vector<Unit> m_units;
};

// One project of each size, made on first use and kept for the run.
GeneratedProject &project(int units)
{
    static std::map<int, std::unique_ptr<GeneratedProject>> generated;
    std::unique_ptr<GeneratedProject> &made = generated[units];
    if (!made)
        made = std::make_unique<GeneratedProject>(units);
    return *made;
}

void openProject(const GeneratedProject &project)
{
    zav::platform::vb::setDecimalSeparator(u',');
    VAR_GBL.reset();
    VAR_GBL.progetto_corrente = project.path();
    zav::workspace::registerForms();
}

void closeWorkspace()
{
    FormRegistry::unload(QString::fromLatin1(frm_ins_coeff::FormName));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The hand-over to a workspace not yet open: the form is created and loaded, binds a unit's ten
// rooms from the middle of the project, sums their totals and shows.
void BM_HandOverToNewWorkspace(benchmark::State &state)
{
    const int units = int(state.range(0));
    GeneratedProject &generated = project(units);
    openProject(generated);
    zav::platform::ScriptedDialogs dialogs;
    const Unit &unit = generated.unit(units / 2);
    for (auto _ : state) {
        frm_ins_coeff *form = frm_ins_coeff::open(unit);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form);
        state.PauseTiming();
        const bool shown = form && form->Data1->recordCount() == kRoomsPerUnit;
        closeWorkspace();
        ZAV_BENCH_CHECK(state, shown, "the unit's rooms are not shown");
        state.ResumeTiming();
    }
    state.counters["units"] = units;
}

BENCHMARK(BM_HandOverToNewWorkspace)->Arg(1000)->Arg(30000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The hand-over to the open workspace, from one unit of ten rooms to another in turn: the unit shown
// has its totals stored, then the other is bound, summed and shown.
void BM_HandOverToOpenWorkspace(benchmark::State &state)
{
    const int units = int(state.range(0));
    GeneratedProject &generated = project(units);
    openProject(generated);
    zav::platform::ScriptedDialogs dialogs;
    const Unit *shown = &generated.unit(units / 2);
    const Unit *other = &generated.unit(units / 2 + 1);
    frm_ins_coeff::open(*shown);
    for (auto _ : state) {
        std::swap(shown, other);
        frm_ins_coeff *form = frm_ins_coeff::open(*shown);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form);
    }
    zav::bench::check(state, dialogs.shown().isEmpty(), "the hand-over reported a failure");
    closeWorkspace();
    state.counters["units"] = units;
}

BENCHMARK(BM_HandOverToOpenWorkspace)->Arg(1000)->Arg(30000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The totals of the open unit: its 200 rooms recomputed (three expressions each), written back
// and its totals stored in one transaction, the grid read again.
void BM_TotMqVol(benchmark::State &state)
{
    GeneratedProject &generated = project(1000);
    openProject(generated);
    zav::platform::ScriptedDialogs dialogs;
    frm_ins_coeff *form = frm_ins_coeff::open(generated.largeUnit());
    for (auto _ : state)
        form->TOT_MQ_VOL();
    zav::bench::check(state, dialogs.shown().isEmpty(), "the totals reported a failure");
    closeWorkspace();
    state.counters["rooms"] = kRoomsOfTheLastUnit;
}

BENCHMARK(BM_TotMqVol)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
