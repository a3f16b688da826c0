// Times the expense apportionment on generated projects of growing size: "Crea Tabella" (a fresh
// expense archive with its unit rows, the five copies of the thousandths and the building and
// stair rows) and "Calcola Spese" (every share, residue and total, read and written on disk).
// Four buildings of three stairs each; the units have all six thousandths but the heating of
// building 4, which is not heated.
//
// The core operations are the floor; the same commands are timed again as the user waits for them,
// through the expense form shown on screen: its button pressed, the handler run whole and the grids
// bound again and painted. F10's totals are timed through the form in the same way.

#include "engine/var_gbl.h"
#include "expenses/apportionment.h"
#include "expenses/expensearchive.h"
#include "expenses/frm_ripart_spese.h"
#include "platform/db.h"
#include "platform/programfolder.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"
#include "support/benchproject.h"
#include "support/check.h"
#include "support/comparison.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace {

using zav::engine::VAR_GBL;
using zav::expenses::Apportionment;
using zav::expenses::ExpenseArchive;
using zav::expenses::frm_ripart_spese;
using zav::platform::Database;
using zav::platform::ScriptedDialogs;

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

/**
 * Amounts in every row of the four amount tables that has units to pay them (every unit has a
 * stair), each raised by `cents`.
 */
void typeAmounts(Database &expenses, int cents = 0)
{
    const QString amount = QStringLiteral("UPDATE %1 SET importo = %2 + ? %3");
    const QString stairs = QStringLiteral("WHERE SCALA <> 'Nessuna'");
    const QVariantList raise = { cents / 100.0 };
    expenses.exec(amount.arg(QStringLiteral("TAB_SPESE3"), QStringLiteral("12345.67"), QString()), raise);
    expenses.exec(amount.arg(QStringLiteral("TAB_SPESE1"), QStringLiteral("2345.6"), QString()), raise);
    expenses.exec(amount.arg(QStringLiteral("TAB_SPESE2"), QStringLiteral("345.67"), stairs), raise);
    expenses.exec(amount.arg(QStringLiteral("TAB_SPESE4"), QStringLiteral("456.78"), stairs), raise);
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
        typeAmounts(expenses);
    }
    for (auto _ : state) {
        Database expenses = Database::open(archive);
        const Apportionment::Result result = Apportionment::run(expenses);
        ZAV_BENCH_CHECK(state, result.totals.size() == units, "the apportionment did not run");
    }
    state.SetComplexityN(units);
    zav::platform::ProgramFolder::setPath(QString());
}

/** A sum in cents of one field over a table's rows, added up by SQLite. */
qint64 centsOf(const QString &archive, const QString &table, const QString &field)
{
    Database db = Database::open(archive);
    return db.query(QStringLiteral("SELECT SUM(ROUND(%1 * 100)) FROM %2").arg(field, table))
        .value(0, 0)
        .toLongLong();
}

/**
 * The expense form shown on a project of N units, the project open as the main window leaves it,
 * with its expense archive made by "Crea Tabella" and, when `amounts`, the amounts typed and
 * apportioned. Message boxes are answered by `boxes` and never wait.
 */
class ShownForm
{
public:
    ShownForm(int units, bool amounts)
    {
        VAR_GBL.reset();
        VAR_GBL.progetto_corrente = makeProject(m_dir, units);
        VAR_GBL.nome_progetto = QStringLiteral("BENCH");
        m_form = std::make_unique<frm_ripart_spese>();
        m_form->show();
        QApplication::processEvents();
        create();
        if (amounts) {
            Database expenses = Database::open(m_form->archivePath());
            typeAmounts(expenses);
            m_form->Command6->click();
            QApplication::processEvents();
        }
        boxes.clear();
    }

    ~ShownForm()
    {
        m_form.reset();
        zav::platform::ProgramFolder::setPath(QString());
        VAR_GBL.reset();
    }

    frm_ripart_spese &form() const { return *m_form; }

    /** "Crea Tabella" answered with the project's name, as the user presses it, and painted. */
    void create()
    {
        boxes.answerText(QStringLiteral("BENCH"));
        m_form->Command1->click();
        QApplication::processEvents();
    }

    /** Whether the grids show the archive of N units, its buildings and its stairs. */
    bool showsArchive(int units) const
    {
        const frm_ripart_spese &f = *m_form;
        return f.archivePath() == ExpenseArchive::pathFor(QStringLiteral("BENCH"))
            && f.Data1->recordCount() == units && f.TDBGrid1->model()->rowCount() == units
            && f.TDBGrid2->model()->rowCount() == buildings
            && f.TDBGrid3->model()->rowCount() == buildings * (stairsPerBuilding + 1)
            && f.TDBGrid5->model()->rowCount() == buildings * (stairsPerBuilding + 1)
            && f.TDBGrid4->model()->rowCount() > 0;
    }

    ScriptedDialogs boxes;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<frm_ripart_spese> m_form;
};

void formCreaTabella(benchmark::State &state)
{
    const int units = int(state.range(0));
    ShownForm shown(units, false);
    for (auto _ : state) {
        shown.create();
        ZAV_BENCH_CHECK(
            state, shown.boxes.messages().isEmpty(), shown.boxes.messages().join(u'\n').toStdString());
        ZAV_BENCH_CHECK(state, shown.showsArchive(units), "the grids do not show the new archive");
    }
    state.SetComplexityN(units);
}

void formCalcolaSpese(benchmark::State &state)
{
    const int units = int(state.range(0));
    ShownForm shown(units, true);
    const QString archive = shown.form().archivePath();
    int run = 0;
    for (auto _ : state) {
        // The amounts change before each run, as they do when the user calculates again.
        state.PauseTiming();
        {
            Database expenses = Database::open(archive);
            typeAmounts(expenses, ++run);
        }
        shown.boxes.clear();
        state.ResumeTiming();
        shown.form().Command6->click();
        QApplication::processEvents();
        ZAV_BENCH_CHECK(state, shown.boxes.messages() == QStringList { QStringLiteral("Calcolo Effettuato") },
            shown.boxes.messages().join(u'\n').toStdString());
        ZAV_BENCH_CHECK(state, shown.showsArchive(units), "the grids do not show the archive");
    }
    // Every amount is apportioned to the cent: the units' totals add up to the amounts.
    qint64 amounts = 0;
    for (const QString &table : ExpenseArchive::tables().mid(1))
        amounts += centsOf(archive, table, QStringLiteral("importo"));
    qint64 shownCents = 0;
    const int total = shown.form().Data1->fieldIndex(QStringLiteral("totale"));
    for (int row = 0; row < shown.form().Data1->recordCount(); ++row)
        shownCents += qRound64(shown.form().Data1->value(row, total).toDouble() * 100);
    ZAV_BENCH_CHECK(state, amounts > 0 && shownCents == amounts, "the grid's totals are not the amounts");
    state.SetComplexityN(units);
}

void formTotals(benchmark::State &state)
{
    const int units = int(state.range(0));
    ShownForm shown(units, true);
    const QString archive = shown.form().archivePath();
    const auto money = [&](const char *field) {
        return zav::platform::vb::Format(
            centsOf(archive, QStringLiteral("TAB_GENERALE"), QString::fromLatin1(field)) / 100.0,
            QStringLiteral("Currency"));
    };
    const QString expected = QStringLiteral("Totale Generale: ") + money("TAB_A")
        + QStringLiteral(" Totale Riscaldamento: ") + money("TAB_E") + QStringLiteral(" Totale Portierato: ")
        + money("TAB_F") + QStringLiteral(" Totale Palazzina: ") + money("TAB_B");
    for (auto _ : state) {
        shown.boxes.clear();
        shown.form().Form_KeyDown(121);
        QApplication::processEvents();
        ZAV_BENCH_CHECK(state, shown.boxes.messages() == QStringList { expected },
            (shown.boxes.messages().join(u'\n') + QStringLiteral(" instead of ") + expected).toStdString());
    }
    state.SetComplexityN(units);
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
BENCHMARK(formCreaTabella)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(formCalcolaSpese)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(formTotals)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

const bool comparedWithFloor = zav::bench::compareWithFloor("formCreaTabella", "creaTabella")
    && zav::bench::compareWithFloor("formCalcolaSpese", "calcolaSpese");

} // namespace
