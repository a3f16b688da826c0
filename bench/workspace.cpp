// Time of opening a unit of 200 rooms in the unit workspace (binding its rooms, summing its totals,
// showing the form) and of recomputing and storing its totals, on a project of 1,000 units on disk.

#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "platform/vb.h"
#include "support/scripteddialogs.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/workspacecommands.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

using zav::engine::VAR_GBL;
using zav::platform::Database;
using zav::platform::FormRegistry;
using zav::workspace::frm_ins_coeff;
using zav::workspace::Unit;
using zav::workspace::UnitKey;

namespace {

constexpr int kUnits = 1000;
constexpr int kRoomsPerUnit = 10;
constexpr int kRoomsOfTheUnit = 200;

/** A project of 1,000 units of ten rooms, the last with 200, in a folder on disk kept for the run. */
class GeneratedProject
{
public:
    GeneratedProject()
        : m_dir(QDir::current().filePath(QStringLiteral("bench_workspace_XXXXXX")))
    {
        m_path = m_dir.filePath(QStringLiteral("BENCH.CDB"));
        const QString templateFile
            = QDir(QStringLiteral(ZAV_BENCH_PROGRAM_DIR)).filePath(QStringLiteral("ARCH_MIL.CLO"));
        if (!QFile::copy(templateFile, m_path))
            throw std::runtime_error("cannot copy the template archive");
        QFile(m_path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

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
        for (int i = 0; i < kUnits; ++i) {
            const QString owner = QStringLiteral("Condomino %1").arg(i);
            const int building = 1 + i % 5;
            const int interno = 1 + i / 5;
            unit.exec({ building, QStringLiteral("A"), QString::number(1 + i % 8), owner, 3.0, interno });
            const int rooms = i == kUnits - 1 ? kRoomsOfTheUnit : kRoomsPerUnit;
            for (int r = 0; r < rooms; ++r) {
                room.exec({ owner, QString::number(building), QStringLiteral("A"), interno,
                    QStringLiteral("Vano %1").arg(r), QStringLiteral("4.20*3.15+1.5*%1").arg(r % 7 + 1),
                    QStringLiteral("0,95"), QStringLiteral("1,1"), r % 3 == 0 ? QVariant() : QVariant("2,7"),
                    QStringLiteral("S"), QStringLiteral("1.2*1.4") });
            }
            if (i == kUnits - 1)
                m_unit = Unit { UnitKey { owner, QString::number(building), QStringLiteral("A"),
                                    QString::number(1 + i % 8), QString::number(interno) },
                    3.0 };
        }
        transaction.commit();
    }

    const QString &path() const { return m_path; }
    const Unit &unit() const { return m_unit; }

private:
    QTemporaryDir m_dir;
    QString m_path;
    Unit m_unit;
};

GeneratedProject &project()
{
    static GeneratedProject generated;
    return generated;
}

void openProject()
{
    zav::platform::vb::setDecimalSeparator(u',');
    VAR_GBL.reset();
    VAR_GBL.progetto_corrente = project().path();
    zav::workspace::registerForms();
}

void closeWorkspace()
{
    FormRegistry::unload(QString::fromLatin1(frm_ins_coeff::FormName));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The hand-over to a workspace not yet open: the form is created and loaded, binds the unit's 200
// rooms, sums their totals and shows.
void BM_HandOverToNewWorkspace(benchmark::State &state)
{
    openProject();
    zav::platform::ScriptedDialogs dialogs;
    for (auto _ : state) {
        frm_ins_coeff *form = frm_ins_coeff::open(project().unit());
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form);
        state.PauseTiming();
        if (!form || form->Data1->recordCount() != kRoomsOfTheUnit)
            state.SkipWithError("the unit's rooms are not shown");
        closeWorkspace();
        state.ResumeTiming();
    }
    state.counters["rooms"] = kRoomsOfTheUnit;
}

BENCHMARK(BM_HandOverToNewWorkspace)->Unit(benchmark::kMillisecond)->UseRealTime();

// The hand-over to the open workspace: the unit shown first has its totals stored, then the new one
// is bound, summed and shown (here the same unit again).
void BM_HandOverToOpenWorkspace(benchmark::State &state)
{
    openProject();
    zav::platform::ScriptedDialogs dialogs;
    frm_ins_coeff::open(project().unit());
    for (auto _ : state) {
        frm_ins_coeff *form = frm_ins_coeff::open(project().unit());
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form);
    }
    closeWorkspace();
    state.counters["rooms"] = kRoomsOfTheUnit;
}

BENCHMARK(BM_HandOverToOpenWorkspace)->Unit(benchmark::kMillisecond)->UseRealTime();

// The totals of the open unit: its 200 rooms recomputed (three expressions each), written back
// and its totals stored in one transaction, the grid read again.
void BM_TotMqVol(benchmark::State &state)
{
    openProject();
    zav::platform::ScriptedDialogs dialogs;
    frm_ins_coeff *form = frm_ins_coeff::open(project().unit());
    for (auto _ : state)
        form->TOT_MQ_VOL();
    if (!dialogs.shown().isEmpty())
        state.SkipWithError("the totals reported a failure");
    closeWorkspace();
    state.counters["rooms"] = kRoomsOfTheUnit;
}

BENCHMARK(BM_TotMqVol)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

// Widgets need an application of their own kind, on the offscreen platform unless told otherwise.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
