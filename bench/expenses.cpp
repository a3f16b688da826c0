// Times the expense apportionment on generated projects of growing size: "Crea Tabella" (a fresh
// expense archive with its unit rows, the five copies of the thousandths and the building and
// stair rows) and "Calcola Spese" (every share, residue and total, read and written on disk).
// Four buildings of three stairs each; the units have all six thousandths but the heating of
// building 4, which is not heated.

#include "expenses/apportionment.h"
#include "expenses/expensearchive.h"
#include "platform/db.h"
#include "platform/programfolder.h"
#include "support/benchproject.h"
#include "support/check.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using zav::expenses::Apportionment;
using zav::expenses::ExpenseArchive;
using zav::platform::Database;

constexpr int buildings = 4;
constexpr int stairsPerBuilding = 3;

/** A program folder of its own with the expense template and a project of that many units. */
QString makeProject(const QTemporaryDir &dir, int units)
{
    QDir(dir.path()).mkpath(QStringLiteral("ARCHIVI"));
    const QString expenseTemplate = dir.filePath(QStringLiteral("rip_spese2.mdb"));
    QFile::remove(expenseTemplate);
    if (!QFile::copy(QStringLiteral(ZAV_BENCH_PROGRAM_DIR "/rip_spese2.mdb"), expenseTemplate))
        throw std::runtime_error("cannot copy the expense template");
    zav::platform::ProgramFolder::setPath(dir.path());

    const QString path = dir.filePath(QStringLiteral("ARCHIVI/BENCH%1.cdb").arg(units));
    zav::bench::copyTemplateArchive(path);

    Database db = Database::open(path);
    auto transaction = db.transaction();
    db.insert(QStringLiteral("ANA_CONDO"), { { "NUM_PAL", buildings } });
    for (int b = 1; b <= buildings; ++b)
        db.insert(QStringLiteral("COMPOS_PAL"), { { "NUM_PAL", b }, { "NUM_SCALE", stairsPerBuilding } });
    auto unit = db.prepare(QStringLiteral("INSERT INTO CODIF_PIANI (NUM_PAL, SCALA, SIGLA, PROPRIETARIO, "
                                          "INTERNO, DESCRIZIONE) VALUES (?,?,?,?,?,?)"));
    const QString result
        = QStringLiteral("INSERT INTO %1 (CONDOMINO, PALAZ, SCALA, INTERNO, MILLESIMI) VALUES (?,?,?,?,?)");
    auto general = db.prepare(result.arg(QStringLiteral("MILLESIMI")));
    auto building = db.prepare(result.arg(QStringLiteral("TEMPORANEO")));
    auto heating = db.prepare(result.arg(QStringLiteral("MIL_RISC")));
    auto porter = db.prepare(result.arg(QStringLiteral("MIL_PORTIERATO")));
    auto stair = db.prepare(QStringLiteral(
        "INSERT INTO TEMPORANEO2 (CONDOMINO, PALAZ, SCALA, INTERNO, MEDIA, MEDIA_ASC) VALUES (?,?,?,?,?,?)"));
    for (int i = 0; i < units; ++i) {
        const int b = 1 + i % buildings;
        const QString s(QChar(u'A' + (i / buildings) % stairsPerBuilding));
        const QString owner = QStringLiteral("Condomino %1").arg(i);
        const QString floor = i % 7 == 0 ? QStringLiteral("T") : QString::number(1 + i % 9);
        const double share = 1000.0 / units * (0.5 + (i % 3) * 0.5);
        unit.exec({ b, s, floor, owner, i + 1, QStringLiteral("Appartamento") });
        const QVariantList key = { owner, QString::number(b), s, i + 1 };
        general.exec(key + QVariantList { share });
        building.exec(key + QVariantList { share * buildings });
        porter.exec(key + QVariantList { share });
        stair.exec(key + QVariantList { share * buildings * stairsPerBuilding, share * 11.0 });
        if (b != buildings)
            heating.exec(key + QVariantList { share * 1.3 });
    }
    transaction.commit();
    return path;
}

void creaTabella(benchmark::State &state)
{
    QTemporaryDir dir;
    const int units = int(state.range(0));
    const QString project = makeProject(dir, units);
    const QString archive = ExpenseArchive::pathFor(QStringLiteral("BENCH"));
    for (auto _ : state) {
        ExpenseArchive::copyTemplate(archive);
        Database expenses = Database::open(archive);
        Database source = Database::open(project);
        const ExpenseArchive::FillOutcome outcome = ExpenseArchive::fill(expenses, source);
        ZAV_BENCH_CHECK(
            state, outcome.units == units && outcome.failures.isEmpty(), "the archive was not filled");
    }
    state.SetComplexityN(units);
    zav::platform::ProgramFolder::setPath(QString());
}

void calcolaSpese(benchmark::State &state)
{
    QTemporaryDir dir;
    const int units = int(state.range(0));
    const QString project = makeProject(dir, units);
    const QString archive = ExpenseArchive::pathFor(QStringLiteral("BENCH"));
    ExpenseArchive::copyTemplate(archive);
    {
        Database expenses = Database::open(archive);
        Database source = Database::open(project);
        ExpenseArchive::fill(expenses, source);
        expenses.exec(QStringLiteral("UPDATE TAB_SPESE3 SET importo = 12345.67"));
        expenses.exec(QStringLiteral("UPDATE TAB_SPESE1 SET importo = 2345.6"));
        expenses.exec(QStringLiteral("UPDATE TAB_SPESE2 SET importo = 345.67"));
        expenses.exec(QStringLiteral("UPDATE TAB_SPESE4 SET importo = 456.78"));
    }
    for (auto _ : state) {
        Database expenses = Database::open(archive);
        const Apportionment::Result result = Apportionment::run(expenses);
        ZAV_BENCH_CHECK(state, result.totals.size() == units, "the apportionment did not run");
    }
    state.SetComplexityN(units);
    zav::platform::ProgramFolder::setPath(QString());
}

BENCHMARK(creaTabella)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(calcolaSpese)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
