// Time of the global recalculation on generated projects of N units with ten rooms each (three
// expressions per room), to show how the cost grows with the size of the project.

#include "engine/var_gbl.h"
#include "platform/db.h"
#include "support/scripteddialogs.h"
#include "platform/vb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <stdexcept>

using zav::engine::VAR_GBL;
using zav::platform::Database;
using zav::platform::MsgResult;

namespace {

constexpr int kRoomsPerUnit = 10;

/** A project archive of N units, each with ten rooms, copied from the template and kept for the run. */
class GeneratedProject
{
public:
    explicit GeneratedProject(int units)
    {
        m_path = m_dir.filePath(QStringLiteral("BENCH%1.CDB").arg(units));
        const QString templateFile
            = QDir(QStringLiteral(ZAV_BENCH_PROGRAM_DIR)).filePath(QStringLiteral("ARCH_MIL.CLO"));
        if (!QFile::copy(templateFile, m_path))
            throw std::runtime_error("cannot copy the template archive");
        QFile(m_path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

        Database db = Database::open(m_path);
        auto transaction = db.transaction();
        db.insert(QStringLiteral("ANA_CONDO"),
            { { QStringLiteral("NOME"), QStringLiteral("Prova") }, { QStringLiteral("RISC_VOL"), true } });
        auto unit = db.prepare(QStringLiteral("INSERT INTO CODIF_PIANI (NUM_PAL, SCALA, PROPRIETARIO, "
                                              "HPIANO, INTERNO) VALUES (?, ?, ?, ?, ?)"));
        auto room = db.prepare(QStringLiteral("INSERT INTO ESPRESSIONI (NOME_CONDOMINO, PALAZ, SCALA, "
                                              "INTERNO, DESCRIZIONE, ESPRESSIONE, COEF1, "
                                              "COEF2, H_PIANO, OPT_RISC, ESPRES_RAD, SUP_FINESTRA) VALUES "
                                              "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < units; ++i) {
            const QString owner = QStringLiteral("Condomino %1").arg(i);
            const int building = 1 + i % 5;
            const int interno = 1 + i / 5;
            unit.exec({ building, QStringLiteral("A"), owner, 3.0, interno });
            for (int r = 0; r < kRoomsPerUnit; ++r) {
                room.exec({ owner, QString::number(building), QStringLiteral("A"), interno,
                    QStringLiteral("Vano %1").arg(r), QStringLiteral("4.20*3.15+1.5*%1").arg(r + 1),
                    QStringLiteral("0,95"), QStringLiteral("1,1"), r % 3 == 0 ? QVariant() : QVariant("2,7"),
                    QStringLiteral("S"), QStringLiteral("1.5*2"), QStringLiteral("1.2*1.4") });
            }
        }
        transaction.commit();
    }

    const QString &path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

GeneratedProject &project(int units)
{
    static std::map<int, std::unique_ptr<GeneratedProject>> projects;
    auto &p = projects[units];
    if (!p)
        p = std::make_unique<GeneratedProject>(units);
    return *p;
}

void BM_RicalcoloGlobale(benchmark::State &state)
{
    const int units = int(state.range(0));
    zav::platform::vb::setDecimalSeparator(u',');
    VAR_GBL.reset();
    VAR_GBL.progetto_corrente = project(units).path();
    zav::platform::ScriptedDialogs dialogs;
    for (auto _ : state) {
        // Yes to the question, OK to the closing message, No to the offer of the thousandths.
        dialogs.clear();
        dialogs.answer(MsgResult::Yes);
        dialogs.answer(MsgResult::Ok);
        dialogs.answer(MsgResult::No);
        VAR_GBL.ricalcolo_globale();
    }
    if (dialogs.messages().value(1) != QStringLiteral("Ricalcolo Globale Terminato"))
        state.SkipWithError("the recalculation did not end normally");
    state.SetComplexityN(units);
    state.counters["rooms"] = double(units) * kRoomsPerUnit;
}

BENCHMARK(BM_RicalcoloGlobale)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// One evaluation of a room surface expression, the unit of work the recalculation repeats.
void BM_ValutaEspressione(benchmark::State &state)
{
    zav::platform::vb::setDecimalSeparator(u',');
    VAR_GBL.reset();
    VAR_GBL.init_operatori();
    VAR_GBL.init_precedenze();
    const QString expression = QStringLiteral("4.20*3.15+1.5*2");
    for (auto _ : state)
        benchmark::DoNotOptimize(VAR_GBL.valuta_espressione(expression));
}

BENCHMARK(BM_ValutaEspressione);

} // namespace
