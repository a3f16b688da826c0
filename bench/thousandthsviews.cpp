// Time of switching the unit workspace to the general view and to the stair view of a project of
// 1,000 and 10,000 units on disk, totals included: the thousandths tables as the calculation writes
// them, read into the grid and totalled row by row; and of F3, the list of every unit opened from
// the workspace.

#include "workspace/thousandthsviews.h"
#include "engine/var_gbl.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "platform/vb.h"
#include "support/check.h"
#include "support/generatedproject.h"
#include "support/scripteddialogs.h"
#include "workspace/frm_elenco.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/unitkey.h"
#include "workspace/workspacecommands.h"

#include <QCoreApplication>
#include <QLabel>

#include <benchmark/benchmark.h>

using zav::engine::VAR_GBL;
using zav::platform::FormRegistry;
using zav::workspace::frm_elenco;
using zav::workspace::frm_ins_coeff;
using zav::workspace::ThousandthsViews;

namespace {

constexpr int kBuildings = zav::bench::GeneratedProject::Buildings;
constexpr int kStairs = zav::bench::GeneratedProject::Stairs;

frm_ins_coeff *openWorkspace(int units)
{
    zav::platform::vb::setDecimalSeparator(u',');
    const QString path = zav::bench::GeneratedProject::of(units).path();
    VAR_GBL.reset();
    VAR_GBL.progetto_corrente = path;
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
    frm_ins_coeff *form = openWorkspace(int(state.range(0)));
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
    switchTo(state, 4, 9, int(state.range(0)));
}

// The stair view: the whole stair table first, then building 1's stairs and its first stair's rows.
void BM_StairView(benchmark::State &state)
{
    switchTo(state, 6, 4, int(state.range(0)) / (kBuildings * kStairs));
}

// F3 from the first unit's rooms: the list of the units of its building, made and filled afresh
// each time.
void BM_UnitList(benchmark::State &state)
{
    zav::platform::ScriptedDialogs dialogs;
    const QString listName = QString::fromLatin1(frm_elenco::FormName);
    openWorkspace(int(state.range(0)));
    frm_ins_coeff *form = frm_ins_coeff::open(
        zav::workspace::Unit { zav::workspace::UnitKey { QStringLiteral("Condomino 0"), QStringLiteral("1"),
                                   QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("1") },
            3.0 });
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        FormRegistry::unload(listName);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
        form->Form_KeyDown(Qt::Key_F3);
        QCoreApplication::processEvents();
        state.PauseTiming();
        auto *list = FormRegistry::form<frm_elenco>(listName);
        rows = list && list->isVisible() ? list->Data1->recordCount() : 0;
        state.ResumeTiming();
    }
    if (rows != state.range(0) / kBuildings)
        state.SkipWithError("the unit list does not show the units of the building");
    state.counters["rows"] = rows;
    FormRegistry::unload(listName);
    closeWorkspace();
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(1000)
        ->Arg(10000)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(15)
        ->ReportAggregatesOnly();
}

BENCHMARK(BM_GeneralView)->Apply(sizes);
BENCHMARK(BM_StairView)->Apply(sizes);
BENCHMARK(BM_UnitList)->Apply(sizes);

} // namespace
