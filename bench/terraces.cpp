// Times the terrace form's bulk work on disk: "Copia" (the rooms of every unit listed for a terrace
// table copied from the project into the terrace archive; the project has twice as many units as the
// table lists, ten rooms each; each run starts from a terrace archive holding only the list),
// "Calcola Millesimi" (the thousandths of a table of N units of ten rooms) and "Ricalcola Totali"
// (every room of a table of N rooms computed and stored, beside its floor). The three are also timed
// through the form, as the user waits for them: the command's handler with its message and the grid
// bound again to what the command leaves to see, the window drawn.

#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/progress.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "platform/vb.h"
#include "support/benchproject.h"
#include "support/check.h"
#include "support/scripteddialogs.h"
#include "terraces/frm_copia_dati.h"
#include "terraces/frm_terrazze.h"
#include "terraces/roomcopy.h"
#include "terraces/terracearchive.h"
#include "terraces/terracesforms.h"
#include "terraces/terracethousandths.h"
#include "terraces/terracetotals.h"
#include "terraces/terraceviews.h"

#include <QApplication>
#include <QFile>
#include <QTabBar>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <functional>
#include <stdexcept>
#include <vector>

namespace {

using zav::engine::VAR_GBL;
using zav::platform::Database;
using zav::platform::FormRegistry;
using zav::terraces::RoomCopy;
namespace TerraceThousandths = zav::terraces::TerraceThousandths;
namespace TerraceTotals = zav::terraces::TerraceTotals;

constexpr int roomsPerUnit = 10;

QString owner(int i)
{
    return i % 5 == 0 ? QStringLiteral("D'Amico \"%1\"").arg(i) : QStringLiteral("Condomino %1").arg(i);
}

/** A project of 2 * listed units of ten rooms each, over four buildings of two stairs. */
QString makeProject(const QTemporaryDir &dir, int listed)
{
    const QString path = dir.filePath(QStringLiteral("BENCH.CDB"));
    zav::bench::copyTemplateArchive(path);
    Database db = Database::open(path);
    auto transaction = db.transaction();
    auto room = db.prepare(
        QStringLiteral("INSERT INTO ESPRESSIONI (NOME_CONDOMINO, DESCRIZIONE, ESPRESSIONE, MQ, PALAZ, COEF1, "
                       "COEF2, COEF3, COEF4, "
                       "COEF5, COEF6, COEF7, COEF8, TOT_COEF, SCALA, H_PIANO, TOT_VOL, INTERNO, PIANO) "
                       "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    // The rooms are stored unit after unit, interleaved with those of the units not listed.
    for (int r = 0; r < roomsPerUnit; ++r) {
        for (int i = 0; i < 2 * listed; ++i) {
            const QString building = QString::number(1 + i % 4);
            const QString stair = (i / 4) % 2 ? QStringLiteral("B") : QStringLiteral("A");
            room.exec({ owner(i), QStringLiteral("Vano %1").arg(r), QStringLiteral("3.5*4.2"),
                QStringLiteral("14,7"), building, QStringLiteral("1"), QStringLiteral("1,05"),
                QStringLiteral("0,95"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("14,3"), stair,
                QStringLiteral("2,7"), QStringLiteral("39,69"), i + 1, QString::number(i % 9) });
        }
    }
    transaction.commit();
    return path;
}

/** The terrace archive listing the even units of the project for table "T1". */
void makeTerraces(const QString &path, int listed)
{
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(ZAV_BENCH_PROGRAM_DIR "/TERRAZZE.CLO"), path))
        throw std::runtime_error("cannot copy the terrace template");
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    Database db = Database::open(path);
    auto transaction = db.transaction();
    auto unit = db.prepare(QStringLiteral("INSERT INTO ELENCO VALUES (?,?,?,?,?,?,?)"));
    for (int k = 0; k < listed; ++k) {
        const int i = 2 * k;
        unit.exec({ owner(i), 1 + i % 4, (i / 4) % 2 ? QStringLiteral("B") : QStringLiteral("A"),
            QString::number(i % 9), i + 1, QStringLiteral("T1"), QStringLiteral("Terrazzi") });
    }
    transaction.commit();
}

/** A terrace archive whose table "T1" holds `rooms` rooms, ten per unit, computed or not. */
QString makeTerraceRooms(const QTemporaryDir &dir, int rooms)
{
    const QString path = dir.filePath(QStringLiteral("ROOMS.TER"));
    makeTerraces(path, 0);
    Database db = Database::open(path);
    auto transaction = db.transaction();
    auto room = db.prepare(
        QStringLiteral("INSERT INTO SUP_COEFF_VOL (CODICE, NOME_CONDOMINO, PALAZ, SCALA, INTERNO, "
                       "DESCRIZ_VANO, ESPRESSIONE, "
                       "MQ, COEFF_PIANO, COEFF_ORIENT, SUP_CONVENZIONALE, H_PIANO, VOLUME, PIANO) "
                       "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (int r = 0; r < rooms; ++r) {
        const int i = r / roomsPerUnit;
        room.exec({ QStringLiteral("T1"), owner(i), 1 + i % 4,
            (i / 4) % 2 ? QStringLiteral("B") : QStringLiteral("A"), i + 1,
            QStringLiteral("Vano %1").arg(r % roomsPerUnit), QStringLiteral("3.5*4.2+%1").arg(r % 7),
            QStringLiteral("14,7"), QStringLiteral("1,05"), QStringLiteral("0,95"),
            QString::number(10 + r % 13) + QStringLiteral(",25"), QStringLiteral("2,7"),
            QString::number(30 + r % 11) + QStringLiteral(",5"), QString::number(i % 9) });
    }
    transaction.commit();
    return path;
}

/** A project of `units` units, as the terrace rooms of makeTerraceRooms() name them. */
QString makeUnits(const QTemporaryDir &dir, int units)
{
    const QString path = dir.filePath(QStringLiteral("UNITS.CDB"));
    zav::bench::copyTemplateArchive(path);
    Database db = Database::open(path);
    auto transaction = db.transaction();
    db.insert(QStringLiteral("ANA_CONDO"), { { QStringLiteral("NUM_PAL"), 4 } });
    auto unit = db.prepare(QStringLiteral(
        "INSERT INTO CODIF_PIANI (PROPRIETARIO, NUM_PAL, SCALA, SIGLA, INTERNO) VALUES (?,?,?,?,?)"));
    for (int i = 0; i < units; ++i)
        unit.exec({ owner(i), 1 + i % 4, (i / 4) % 2 ? QStringLiteral("B") : QStringLiteral("A"),
            QString::number(i % 9), i + 1 });
    transaction.commit();
    return path;
}

/**
 * The archives of a run, with the decimal comma their numbers are written with: for a copy, a project
 * of 2 * N units and where its terrace archive goes; for the thousandths, a terrace table of N units of
 * ten rooms and the project's N units.
 */
struct Archives
{
    enum class For { Copy, Thousandths };

    Archives(For use, int units)
        : project(use == For::Copy ? makeProject(dir, units) : makeUnits(dir, units))
        , terraces(use == For::Copy ? dir.filePath(QStringLiteral("BENCH.TER"))
                                    : makeTerraceRooms(dir, units * roomsPerUnit))
    {
    }

    const zav::platform::vb::DecimalSeparatorScope comma { u',' };
    QTemporaryDir dir;
    const QString project;
    const QString terraces;
};

/** 100, 1,000 and 10,000 units, five times each. */
void unitCounts(benchmark::internal::Benchmark *b)
{
    b->Arg(100)
        ->Arg(1000)
        ->Arg(10000)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->Complexity(benchmark::oN);
}

/** Through the form, as the user waits for it: 1,000 and 10,000 units, five times each. */
void formUnitCounts(benchmark::internal::Benchmark *b)
{
    b->Arg(1000)
        ->Arg(10000)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->UseRealTime()
        ->Complexity(benchmark::oN);
}

/**
 * Times a copy of the rooms of as many listed units as the run's size, each time into a terrace archive
 * made anew: `copy` copies them from the project into the archive and gives how many rooms it copied.
 */
void timeCopies(benchmark::State &state, const std::function<int(const QString &, const QString &)> &copy)
{
    const int listed = int(state.range(0));
    const Archives archives(Archives::For::Copy, listed);
    const QString &terraces = archives.terraces;
    for (auto _ : state) {
        state.PauseTiming();
        makeTerraces(terraces, listed);
        state.ResumeTiming();
        const int rooms = copy(archives.project, terraces);
        ZAV_BENCH_CHECK(state, rooms == listed * roomsPerUnit, "not every room was copied");
    }
    state.SetComplexityN(listed);
}

void copia(benchmark::State &state)
{
    timeCopies(state, [](const QString &project, const QString &terraces) {
        return RoomCopy::run(project, terraces, QStringLiteral("T1")).rooms;
    });
}

BENCHMARK(copia)->Apply(unitCounts);

/**
 * The floor of "Copia": the same rooms appended by one plain INSERT … SELECT from the project attached
 * read only, in one transaction, into the same kind of archive (the listed units are those of an odd
 * unit number), with no search of the list and no order but the project's.
 */
void copiaFloor(benchmark::State &state)
{
    timeCopies(state, [](const QString &project, const QString &terraces) {
        Database db = Database::open(terraces);
        db.exec(QStringLiteral("ATTACH DATABASE ? AS progetto"),
            { QUrl::fromLocalFile(project).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro") });
        auto transaction = db.transaction();
        const int rooms = db.exec(
            QStringLiteral(
                "INSERT INTO main.SUP_COEFF_VOL (CODICE, NOME_CONDOMINO, PALAZ, SCALA, INTERNO, "
                "DESCRIZ_VANO, ESPRESSIONE, MQ, COEFF_PIANO, COEFF_ORIENT, COEFF_ESPOS, COEFF_LUMIN, "
                "COEFF_UTILIZ, COEFF_GLOB, COEFF_LIB1, COEFF_LIB2, SUP_CONVENZIONALE, H_PIANO, VOLUME, "
                "PIANO) "
                "SELECT ?, NOME_CONDOMINO, PALAZ, SCALA, INTERNO, DESCRIZIONE, ESPRESSIONE, MQ, COEF1, "
                "COEF2, COEF3, COEF4, COEF5, COEF6, COEF7, COEF8, TOT_COEF, H_PIANO, TOT_VOL, PIANO "
                "FROM progetto.ESPRESSIONI WHERE INTERNO % 2 = 1"),
            { QStringLiteral("T1") });
        transaction.commit();
        return rooms;
    });
}

BENCHMARK(copiaFloor)->Apply(unitCounts);

/** The terrace form of the open project, loaded, shown and on the table "T1". */
zav::terraces::frm_terrazze *openTerraceForm(const QString &project, const QString &terraces)
{
    VAR_GBL.progetto_corrente = project;
    VAR_GBL.nome_progetto = QStringLiteral("BENCH");
    VAR_GBL.archivio_terrazze = terraces;
    zav::terraces::registerForms();
    auto *form = FormRegistry::form<zav::terraces::frm_terrazze>(zav::terraces::TerraceFormName);
    if (!form)
        throw std::runtime_error("the terrace form did not open");
    form->show();
    form->selectTable(QStringLiteral("T1"), QStringLiteral("Terrazzi"));
    QApplication::processEvents();
    return form;
}

void closeTerraceForm()
{
    for (const QString &name : { zav::terraces::RoomCopyFormName, zav::terraces::TerraceFormName })
        FormRegistry::unload(name);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    VAR_GBL.reset();
}

/** "Copia" of the copy dialog over the terrace form, until the form shows again with its unit list. */
void copiaForm(benchmark::State &state)
{
    const int listed = int(state.range(0));
    const Archives archives(Archives::For::Copy, listed);
    const QString &terraces = archives.terraces;
    makeTerraces(terraces, listed);
    zav::platform::ScriptedDialogs boxes;
    zav::terraces::frm_terrazze *form = openTerraceForm(archives.project, terraces);
    for (auto _ : state) {
        state.PauseTiming();
        makeTerraces(terraces, listed);
        form->showUnitList(zav::terraces::terracearchive::listOfCode(QStringLiteral("T1")));
        auto *dialog = FormRegistry::form<zav::terraces::frm_copia_dati>(zav::terraces::RoomCopyFormName);
        dialog->show();
        QApplication::processEvents();
        boxes.clear();
        state.ResumeTiming();
        dialog->Command1_Click(0);
        form->Form_Activate();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        state.PauseTiming();
        ZAV_BENCH_CHECK(state,
            boxes.messages() == QStringList { QStringLiteral("Copia effettuata") }
                && Database::open(terraces)
                        .query(QStringLiteral("SELECT COUNT(*) FROM SUP_COEFF_VOL"))
                        .value(0, 0)
                    == listed * roomsPerUnit
                && form->Data5->recordCount() == listed,
            "not every room was copied");
        state.ResumeTiming();
    }
    closeTerraceForm();
    state.SetComplexityN(listed);
}

BENCHMARK(copiaForm)->Apply(formUnitCounts);

void calcMilTer(benchmark::State &state)
{
    const int units = int(state.range(0));
    const Archives archives(Archives::For::Thousandths, units);
    for (auto _ : state) {
        const TerraceThousandths::Outcome outcome = TerraceThousandths::calculate(
            archives.terraces, archives.project, QStringLiteral("T1"), QStringLiteral("Terrazzi"));
        ZAV_BENCH_CHECK(state, outcome.rows == units, "not every unit got its thousandths");
    }
    state.SetComplexityN(units);
}

/** "Calcola Millesimi" of the terrace form from its first room view, until the thousandths show. */
void calcMilTerForm(benchmark::State &state)
{
    const int units = int(state.range(0));
    const Archives archives(Archives::For::Thousandths, units);
    zav::platform::ScriptedDialogs boxes;
    zav::terraces::frm_terrazze *form = openTerraceForm(archives.project, archives.terraces);
    const int thousandthsTab = zav::terraces::TerraceViews::thousandths().tab;
    for (auto _ : state) {
        state.PauseTiming();
        form->TabStrip1->setCurrentIndex(0);
        QApplication::processEvents();
        boxes.clear();
        state.ResumeTiming();
        form->Command1_Click(4);
        QApplication::processEvents();
        state.PauseTiming();
        ZAV_BENCH_CHECK(state,
            boxes.messages() == QStringList { QStringLiteral("Calcolo terminato") }
                && form->TabStrip1->currentIndex() == thousandthsTab && form->Data1->recordCount() == units,
            "the thousandths of every unit do not show");
        state.ResumeTiming();
    }
    closeTerraceForm();
    state.SetComplexityN(units);
}

/** "Ricalcola Totali" of the terrace form, with its progress window, until the unit's rooms show again. */
void ricalcTotTerForm(benchmark::State &state)
{
    const int units = int(state.range(0));
    const Archives archives(Archives::For::Thousandths, units);
    zav::engine::VAR_GBL.init_operatori();
    zav::engine::VAR_GBL.init_precedenze();
    zav::platform::ScriptedDialogs boxes;
    zav::terraces::frm_terrazze *form = openTerraceForm(archives.project, archives.terraces);
    for (auto _ : state) {
        state.PauseTiming();
        boxes.clear();
        state.ResumeTiming();
        form->Command1_Click(11);
        QApplication::processEvents();
        state.PauseTiming();
        ZAV_BENCH_CHECK(state, boxes.messages() == QStringList { QStringLiteral("Ricalcolo Terminato") },
            "the rooms were not all recomputed");
        state.ResumeTiming();
    }
    closeTerraceForm();
    state.SetComplexityN(units);
}

void ricalcTotTer(benchmark::State &state)
{
    // The archives' numbers are written with the decimal comma.
    const zav::platform::vb::DecimalSeparatorScope comma(u',');
    QTemporaryDir dir;
    const int rooms = int(state.range(0));
    const QString terraces = makeTerraceRooms(dir, rooms);
    zav::engine::VAR_GBL.init_operatori();
    zav::engine::VAR_GBL.init_precedenze();
    zav::platform::SilentProgress progress;
    for (auto _ : state) {
        const TerraceTotals::TableRecount recount
            = TerraceTotals::recomputeTable(terraces, QStringLiteral("T1"), progress);
        ZAV_BENCH_CHECK(
            state, recount.rooms == rooms && recount.badRooms == 0, "not every room was computed");
    }
    state.SetComplexityN(rooms);
}

/**
 * The floor of "Ricalcola Totali": the same rooms read in one pass over the archive (they are all of
 * its rooms) and the four fields it writes written back as they are, room by room, in one transaction
 * with the same page cache, with no computation.
 */
void ricalcTotTerFloor(benchmark::State &state)
{
    const zav::platform::vb::DecimalSeparatorScope comma(u',');
    QTemporaryDir dir;
    const int rooms = int(state.range(0));
    const QString terraces = makeTerraceRooms(dir, rooms);
    for (auto _ : state) {
        Database db = Database::open(terraces);
        db.setPageCacheLimit(Database::BulkPageCacheKiB);
        auto transaction = db.transaction();
        std::vector<QVariantList> read;
        db.prepare(QStringLiteral("SELECT MQ, SUP_CONVENZIONALE, H_PIANO, VOLUME, rowid FROM SUP_COEFF_VOL "
                                  "NOT INDEXED WHERE CODICE IS ? ORDER BY rowid"))
            .forEach({ QStringLiteral("T1") }, [&](const zav::platform::RowView &row) {
                read.push_back({ row.field(0).toVariant(), row.field(1).toVariant(), row.field(2).toVariant(),
                    row.field(3).toVariant(), row.field(4).toVariant() });
            });
        auto update = db.prepare(QStringLiteral("UPDATE SUP_COEFF_VOL SET MQ = ?, SUP_CONVENZIONALE = ?, "
                                                "H_PIANO = ?, VOLUME = ? WHERE rowid = ?"));
        for (const QVariantList &values : read)
            update.exec(values);
        transaction.commit();
        ZAV_BENCH_CHECK(state, int(read.size()) == rooms, "not every room was written");
    }
    state.SetComplexityN(rooms);
}

BENCHMARK(calcMilTer)->Apply(unitCounts);
BENCHMARK(calcMilTerForm)->Apply(formUnitCounts);
/** 1,000 and 10,000 units of ten rooms, five times each. */
void roomCounts(benchmark::internal::Benchmark *b)
{
    b->Arg(1000 * roomsPerUnit)
        ->Arg(10000 * roomsPerUnit)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->Complexity(benchmark::oN);
}

BENCHMARK(ricalcTotTer)->Apply(roomCounts);
BENCHMARK(ricalcTotTerFloor)->Apply(roomCounts);
BENCHMARK(ricalcTotTerForm)->Apply(formUnitCounts);

} // namespace
