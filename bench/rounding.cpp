// Bringing a thousandths table to 1000 as the user waits for it, on archives on disk: "Arrotonda"
// on the workspace's general view (the project's `MILLESIMI`, its label recounted) and
// "Arr. Millesimi" on the terrace form's thousandths (the terrace archive's `MILLESIMI`, through the
// form). Each table has N rows whose total is short of 1000 by a gap of 0.05, 1, 50 or 500; a fresh
// copy of the archive for each iteration (copy and view set-up not timed). Arguments: rows, gap in
// thousandths.
//
// Through the unit workspace of a project of 1,000 and 10,000 units, shown: the button "Arrotonda"
// on the general view, and "Calc. Mil. Tab." on a user table that holds every unit, both answered as
// the user would, the grid and its total label redrawn.
#include "tables/rounding.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "platform/vb.h"
#include "support/benchproject.h"
#include "support/check.h"
#include "support/generatedproject.h"
#include "support/scripteddialogs.h"
#include "tables/tablecommands.h"
#include "tables/usertablecopy.h"
#include "tables/usertables.h"
#include "terraces/frm_terrazze.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/thousandthsviews.h"
#include "workspace/workspacecommands.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
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

// The workspace on the project at `path` with the user table `table` selected, shown on the tab
// `tab` as the user's click on it shows it.
zav::workspace::frm_ins_coeff *openWorkspace(const QString &path, int tab, const QString &table = QString())
{
    using zav::workspace::frm_ins_coeff;
    zav::platform::vb::setDecimalSeparator(u',');
    VAR_GBL.reset();
    VAR_GBL.progetto_corrente = path;
    zav::workspace::registerForms();
    zav::tables::registerCommands();
    auto *form
        = zav::platform::FormRegistry::form<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
    form->show();
    // The workspace starts with no user table selected: the user selects one on it.
    VAR_GBL.tabella_selezionata = table;
    form->TabStrip1->setCurrentIndex(tab - 1);
    QCoreApplication::processEvents();
    return form;
}

void closeWorkspace()
{
    zav::platform::FormRegistry::unload(QString::fromLatin1(zav::workspace::frm_ins_coeff::FormName));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    VAR_GBL.reset();
}

// "Arrotonda" on the general view of the generated project, whose thousandths were made short of
// 1000 by the gap. Arguments: units, gap in thousandths.
void BM_ArrotondaGeneralView(benchmark::State &state)
{
    const int units = int(state.range(0));
    QTemporaryDir dir;
    const QString filled = dir.filePath(QStringLiteral("filled.cdb"));
    copy(zav::bench::GeneratedProject::of(units).path(), filled);
    {
        Database db = Database::open(filled);
        auto transaction = db.transaction();
        auto update = db.prepare(QStringLiteral("UPDATE MILLESIMI SET MILLESIMI = ? WHERE rowid = ?"));
        const zav::platform::Recordset rows
            = db.query(QStringLiteral("SELECT rowid FROM MILLESIMI ORDER BY rowid"));
        const QList<double> values = shares(rows.recordCount(), state.range(1));
        for (int n = 0; n < rows.recordCount(); ++n)
            update.exec({ values.at(n), rows.value(n, 0) });
        transaction.commit();
    }
    const QString path = dir.filePath(QStringLiteral("BENCH.CDB"));
    copy(filled, path);
    zav::platform::ScriptedDialogs boxes;
    zav::workspace::frm_ins_coeff *form = openWorkspace(path, 4);
    // The short total as the label writes it: "999,95", "999", "950".
    QString shortTotal = QString::number(1000.0 - double(state.range(1)) / 1000.0, 'f', 3);
    while (shortTotal.endsWith(u'0'))
        shortTotal.chop(1);
    if (shortTotal.endsWith(u'.'))
        shortTotal.chop(1);
    shortTotal.replace(u'.', u',');
    for (auto _ : state) {
        state.PauseTiming();
        copy(filled, path);
        zav::workspace::ThousandthsViews::enter(*form, 4);
        QCoreApplication::processEvents();
        ZAV_BENCH_CHECK(
            state, form->Label20->text() == shortTotal, "the view does not show the total short of 1000");
        state.ResumeTiming();
        form->Command1[6]->click();
        QCoreApplication::processEvents();
        ZAV_BENCH_CHECK(state, form->Label20->text() == QStringLiteral("1000") && boxes.shown().isEmpty(),
            "the total was not reached");
    }
    state.counters["rows"] = form->Data1->recordCount();
    closeWorkspace();
}

// "Calc. Mil. Tab." on a user table of every unit of the generated project, copied from the general
// thousandths, whose weights are 1 and 3 by turns: the units share 1000 as 1000 / (2 × units) and
// three times that.
void BM_CalcMilTab(benchmark::State &state)
{
    const int units = int(state.range(0));
    const QString table = QStringLiteral("PESI");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BENCH.CDB"));
    copy(zav::bench::GeneratedProject::of(units).path(), path);
    zav::tables::UserTables::create(path, table);
    zav::tables::UserTableCopy::copy(
        path, zav::tables::UserTableCopy::Source::General, QString(), QString(), table);
    Database::open(path).exec(
        QStringLiteral("UPDATE [PESI] SET INPUT = CASE WHEN rowid % 2 = 1 THEN 1 ELSE 3 END"));
    zav::platform::ScriptedDialogs boxes;
    zav::workspace::frm_ins_coeff *form = openWorkspace(path, 10, table);
    ZAV_BENCH_CHECK(state, form->Data1->recordCount() == units, "the user table does not show every unit");
    for (auto _ : state) {
        state.PauseTiming();
        boxes.clear();
        boxes.answer(zav::platform::MsgResult::Yes);
        boxes.answerText(QStringLiteral("1000"));
        state.ResumeTiming();
        form->Command1[10]->click();
        QCoreApplication::processEvents();
        state.PauseTiming();
        bool shared = form->Data1->recordCount() == units;
        for (int row = 0; shared && row < units; ++row) {
            const double weight = form->Data1->value(row, QStringLiteral("INPUT")).toDouble();
            shared = form->Data1->value(row, QStringLiteral("MILLESIMI")).toDouble()
                == weight * 1000.0 / (2.0 * units);
        }
        ZAV_BENCH_CHECK(state,
            shared && form->Label20->text() == QStringLiteral("1000") && boxes.shown().size() == 2,
            "the thousandths were not computed from the weights");
        state.ResumeTiming();
    }
    state.counters["rows"] = form->Data1->recordCount();
    closeWorkspace();
}

void gaps(benchmark::internal::Benchmark *b)
{
    for (const int rows : { 3, 1000 })
        for (const int gap : { 50, 1000, 50000, 500000 })
            b->Args({ rows, gap });
}

BENCHMARK(BM_Arrotonda)->Apply(gaps)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ArrMillesimi)->Apply(gaps)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ArrotondaGeneralView)
    ->ArgsProduct({ { 1000, 10000 }, { 50, 1000, 50000 } })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_CalcMilTab)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
