// Times the terrace prints to RTF, on disk, as "Stampa" of the terrace form runs them: the
// thousandths of a table of N units ("MIL_TER.GST", one file), and the rooms of every unit of its
// list ("Tutti", "T_SUP_TER.GST", one file per unit) with ten rooms each. The rooms are stored room
// after room across the units, as copies and edits leave them.

#include "terraces/terraceprints.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/programfolder.h"
#include "platform/ui/datasource.h"
#include "support/check.h"
#include "support/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using zav::engine::VAR_GBL;
using zav::platform::Database;
using zav::terraces::TerracePrints;

constexpr int roomsPerUnit = 10;

void copy(const QString &from, const QString &to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        throw std::runtime_error("cannot copy " + from.toStdString());
    QFile(to).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

/** A program folder with the two definitions and "ARCHIVI" holding a terrace archive of N units. */
QString makeFolder(const QTemporaryDir &dir, int units)
{
    QDir(dir.path()).mkpath(QStringLiteral("STAMPE"));
    QDir(dir.path()).mkpath(QStringLiteral("ARCHIVI"));
    for (const QString &name : { TerracePrints::ThousandthsDefinition, TerracePrints::RoomsDefinition })
        copy(QStringLiteral(ZAV_BENCH_PROGRAM_DIR "/STAMPE/") + name,
            dir.filePath(QStringLiteral("STAMPE/") + name));
    const QString path = dir.filePath(QStringLiteral("ARCHIVI/BENCH.TER"));
    copy(QStringLiteral(ZAV_BENCH_PROGRAM_DIR "/TERRAZZE.CLO"), path);

    Database db = Database::open(path);
    auto transaction = db.transaction();
    db.insert(QStringLiteral("CODICE"), { { "CODICE", "T1" }, { "DESCRIZIONE", "Lastrici solari" } });
    auto listed = db.prepare(QStringLiteral("INSERT INTO ELENCO VALUES (?,?,?,?,?,?,?)"));
    auto share = db.prepare(QStringLiteral("INSERT INTO MILLESIMI VALUES (?,?,?,?,?,?,?,?,?)"));
    const auto owner = [](int i) { return QStringLiteral("Condomino %1").arg(i); };
    const auto stair = [](int i) { return (i / 4) % 2 ? QStringLiteral("B") : QStringLiteral("A"); };
    for (int i = 0; i < units; ++i) {
        listed.exec({ owner(i), 1 + i % 4, stair(i), QString::number(i % 9), i + 1, QStringLiteral("T1"),
            QStringLiteral("Lastrici solari") });
        share.exec({ owner(i), 1 + i % 4, stair(i), QString::number(i % 9), 120.5, 1000.0 / units,
            QStringLiteral("T1"), i + 1, QStringLiteral("Lastrici solari") });
    }
    auto room = db.prepare(
        QStringLiteral("INSERT INTO SUP_COEFF_VOL VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (int r = 0; r < roomsPerUnit; ++r) {
        for (int i = 0; i < units; ++i) {
            room.exec({ QStringLiteral("T1"), owner(i), 1 + i % 4, stair(i), i + 1,
                QStringLiteral("Terrazzo %1").arg(r), QStringLiteral("3.5*4.2"), QStringLiteral("14,7"),
                QStringLiteral("1"), QStringLiteral("1,05"), QStringLiteral("0,95"), QStringLiteral("1"),
                QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                QStringLiteral("14,663"), QStringLiteral("2,7"), QStringLiteral("39,69"),
                QString::number(i % 9) });
        }
    }
    transaction.commit();
    return path;
}

/** Runs "Stampa" with "File RTF" and these ticks over a table of N units. */
void print(benchmark::State &state, bool thousandths, bool all)
{
    QTemporaryDir dir;
    const int units = int(state.range(0));
    VAR_GBL.reset();
    VAR_GBL.archivio_terrazze = makeFolder(dir, units);
    VAR_GBL.nome_progetto = QStringLiteral("BENCH");
    zav::platform::ProgramFolder::setPath(dir.path());
    zav::platform::ScriptedDialogs boxes;
    zav::platform::DataSource list;
    list.setDatabaseName(VAR_GBL.archivio_terrazze);
    list.setRecordSource(QStringLiteral("ELENCO"));
    list.refresh();
    TerracePrints prints;
    for (auto _ : state) {
        prints.Command2_Click(
            { false, false, true, thousandths, !thousandths, all }, QStringLiteral("T1"), list);
        // The files written are told in one message, the one file by its name and many by their
        // count; anything else is a failure.
        const QStringList said = boxes.messages();
        const bool whole = said.size() == 1
            && said.constFirst().startsWith(thousandths
                    ? QStringLiteral("Il file è stato chiamato: BENMILTER.RTF ")
                    : QStringLiteral("Sono stati scritti %1 file ").arg(units));
        boxes.clear();
        if (!zav::bench::check(state, whole, said.join(u'\n').toStdString()))
            break;
    }
    const int files = int(QDir(dir.filePath(QStringLiteral("ARCHIVI")))
                              .entryList({ QStringLiteral("*.RTF") }, QDir::Files)
                              .size());
    zav::bench::check(state, files == (thousandths ? 1 : units), "not every file was written");
    state.SetComplexityN(units);
    zav::platform::ProgramFolder::setPath(QString());
}

void thousandthsToRtf(benchmark::State &state)
{
    print(state, true, false);
}

void everyUnitToRtf(benchmark::State &state)
{
    print(state, false, true);
}

BENCHMARK(thousandthsToRtf)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(3000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->Complexity(benchmark::oN);
BENCHMARK(everyUnitToRtf)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->Complexity(benchmark::oN);

} // namespace
