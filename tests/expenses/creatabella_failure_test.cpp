// "Crea Tabella" when things go wrong: a disk that fills up while the new archive is written, an
// archive another connection holds, and the program killed at any moment. The archive there before
// is kept whole, or the new one is there whole; never an empty or half-written one.

#include "expenses/frm_ripart_spese.h"
#include "expensesfixture.h"
#include "platform/programfolder.h"
#include "platform/ui/datagrid.h"
#include "support/fullfiledisk.h"
#include "support/killedchild.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <sqlite3.h>

#include <atomic>
#include <cstring>

namespace zav::test {
namespace {

using expenses::ExpenseArchive;
using expenses::frm_ripart_spese;
using platform::Database;

// --- A disk that fills up -------------------------------------------------------------------
//
// A file system of the SQLite library's own: every file is the real one, but writes to the files
// whose names hold a marker fail as on a full disk once a budget of writes is spent.

struct FaultFile
{
    sqlite3_file base;
    sqlite3_file *real;
    bool faulty;
};

sqlite3_vfs *realVfs = nullptr;
std::atomic<int> writesLeft { -1 }; // -1: no fault
const char *faultMarker = ".nuovo-";

FaultFile *asFault(sqlite3_file *file)
{
    return reinterpret_cast<FaultFile *>(file);
}

int faultClose(sqlite3_file *f)
{
    return asFault(f)->real->pMethods->xClose(asFault(f)->real);
}
int faultRead(sqlite3_file *f, void *buffer, int amount, sqlite3_int64 offset)
{
    return asFault(f)->real->pMethods->xRead(asFault(f)->real, buffer, amount, offset);
}
int faultWrite(sqlite3_file *f, const void *buffer, int amount, sqlite3_int64 offset)
{
    if (asFault(f)->faulty && writesLeft.load() >= 0 && writesLeft.fetch_sub(1) <= 0)
        return SQLITE_FULL;
    return asFault(f)->real->pMethods->xWrite(asFault(f)->real, buffer, amount, offset);
}
int faultTruncate(sqlite3_file *f, sqlite3_int64 size)
{
    return asFault(f)->real->pMethods->xTruncate(asFault(f)->real, size);
}
int faultSync(sqlite3_file *f, int flags)
{
    return asFault(f)->real->pMethods->xSync(asFault(f)->real, flags);
}
int faultFileSize(sqlite3_file *f, sqlite3_int64 *size)
{
    return asFault(f)->real->pMethods->xFileSize(asFault(f)->real, size);
}
int faultLock(sqlite3_file *f, int lock)
{
    return asFault(f)->real->pMethods->xLock(asFault(f)->real, lock);
}
int faultUnlock(sqlite3_file *f, int lock)
{
    return asFault(f)->real->pMethods->xUnlock(asFault(f)->real, lock);
}
int faultCheckReservedLock(sqlite3_file *f, int *out)
{
    return asFault(f)->real->pMethods->xCheckReservedLock(asFault(f)->real, out);
}
int faultFileControl(sqlite3_file *f, int op, void *arg)
{
    return asFault(f)->real->pMethods->xFileControl(asFault(f)->real, op, arg);
}
int faultSectorSize(sqlite3_file *f)
{
    return asFault(f)->real->pMethods->xSectorSize(asFault(f)->real);
}
int faultDeviceCharacteristics(sqlite3_file *f)
{
    return asFault(f)->real->pMethods->xDeviceCharacteristics(asFault(f)->real);
}

// Version 1 of the file methods: no shared memory, which the rollback journal does not use.
const sqlite3_io_methods faultMethods = { 1, faultClose, faultRead, faultWrite, faultTruncate, faultSync,
    faultFileSize, faultLock, faultUnlock, faultCheckReservedLock, faultFileControl, faultSectorSize,
    faultDeviceCharacteristics, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr };

int faultOpen(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    FaultFile *f = asFault(file);
    f->real = reinterpret_cast<sqlite3_file *>(f + 1);
    f->faulty = name && std::strstr(name, faultMarker) != nullptr;
    const int rc = realVfs->xOpen(realVfs, name, f->real, flags, outFlags);
    f->base.pMethods = rc == SQLITE_OK ? &faultMethods : nullptr;
    return rc;
}

/** While alive, SQLite writes through the faulty file system by default. */
class FullDisk
{
public:
    FullDisk()
    {
        // Kept for the whole run: a connection may be closed only after the disk is "emptied".
        static sqlite3_vfs vfs {};
        m_vfs = &vfs;
        realVfs = sqlite3_vfs_find(nullptr);
        vfs = *realVfs;
        vfs.iVersion = 1;
        vfs.szOsFile = int(sizeof(FaultFile)) + realVfs->szOsFile;
        vfs.zName = "zav-disco-pieno";
        vfs.pNext = nullptr;
        vfs.xOpen = faultOpen;
        sqlite3_vfs_register(&vfs, 1);
    }
    ~FullDisk()
    {
        writesLeft = -1;
        sqlite3_vfs_unregister(m_vfs);
    }
    /** Writes to the new archive fail after this many. */
    void failAfter(int writes) { writesLeft = writes; }

private:
    sqlite3_vfs *m_vfs = nullptr;
};

class CreaTabellaFailure : public ExpensesTest
{
protected:
    frm_ripart_spese *form() { return qobject_cast<frm_ripart_spese *>(expenses::spese()); }

    void create(frm_ripart_spese *f, const QString &name)
    {
        boxes.answerText(name);
        f->Command1_Click();
    }

    /** The project's archive made, with an amount typed into the building table. */
    QString archiveWithAmount()
    {
        fillProject();
        frm_ripart_spese *f = form();
        create(f, QStringLiteral("CONDO1"));
        const QString path = f->archivePath();
        Database d = Database::open(path);
        d.exec(QStringLiteral("UPDATE TAB_SPESE1 SET importo = 1234.5 WHERE PALAZZINA = 1"));
        boxes.clear();
        return path;
    }

    static QVariant amountOfBuilding1(const QString &path)
    {
        Database d = Database::open(path);
        const platform::Recordset rows
            = d.query(QStringLiteral("SELECT importo FROM TAB_SPESE1 WHERE PALAZZINA = 1"));
        return rows.isEmpty() ? QVariant() : rows.value(0, 0);
    }

    QStringList leftovers() const
    {
        return QDir(folder.file(QStringLiteral("ARCHIVI")))
            .entryList({ QStringLiteral("*.nuovo-*") }, QDir::Files | QDir::Hidden);
    }
};

TEST_F(CreaTabellaFailure, ADiskThatFillsUpKeepsTheOldArchiveAndItsAmounts)
{
    const QString path = archiveWithAmount();
    frm_ripart_spese *f = form();
    // The disk fills at once, then part way through the new archive.
    for (int writes : { 0, 1, 2, 4 }) {
        SCOPED_TRACE(writes);
        boxes.clear();
        {
            FullDisk disk;
            disk.failAfter(writes);
            create(f, QStringLiteral("CONDO1"));
        }
        ASSERT_EQ(boxes.messages().size(), 1);
        EXPECT_EQ(boxes.messages().at(0),
            QStringLiteral("Tabella non creata. Il disco è pieno: nessun archivio è stato cambiato. Liberare "
                           "spazio sul disco e riprovare."));
        EXPECT_FALSE(boxes.messages().at(0).contains(QStringLiteral("Alcuni dati")));
        // The old archive, whole, with its amount; the form shows it again.
        EXPECT_EQ(amountOfBuilding1(path), QVariant(1234.5));
        EXPECT_EQ(column(path, QStringLiteral("TAB_GENERALE"), QStringLiteral("nome_condomino")).size(), 4);
        EXPECT_EQ(f->archivePath(), path);
        EXPECT_EQ(f->TDBGrid1->model()->rowCount(), 4);
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(u' ').toStdString();
    }

    // The disk full for the copy of the template itself, made before the archive is filled.
    boxes.clear();
    {
        FullFileDisk disk;
        create(f, QStringLiteral("CONDO1"));
    }
    EXPECT_EQ(boxes.messages(),
        QStringList {
            QStringLiteral("Tabella non creata. Il disco è pieno: nessun archivio è stato cambiato. "
                           "Liberare spazio sul disco e riprovare.") });
    EXPECT_EQ(amountOfBuilding1(path), QVariant(1234.5));
    EXPECT_EQ(f->archivePath(), path);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(u' ').toStdString();

    // Space again: the new archive replaces the old one.
    boxes.clear();
    create(f, QStringLiteral("CONDO1"));
    EXPECT_TRUE(boxes.messages().isEmpty()) << boxes.messages().join(u'\n').toStdString();
    EXPECT_FALSE(amountOfBuilding1(path).isValid() && !amountOfBuilding1(path).isNull());
}

TEST_F(CreaTabellaFailure, AnArchiveInUseIsLeftAsItIs)
{
    const QString path = archiveWithAmount();
    frm_ripart_spese *f = form();
    {
        // Another operation reads the archive and holds it.
        Database other = Database::open(path);
        other.exec(QStringLiteral("BEGIN"));
        other.query(QStringLiteral("SELECT count(*) FROM TAB_GENERALE"));
        create(f, QStringLiteral("CONDO1"));
        other.exec(QStringLiteral("ROLLBACK"));
    }
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral(
            "Tabella non creata. L'archivio è in uso da un'altra operazione: riprovare fra poco.") });
    EXPECT_EQ(amountOfBuilding1(path), QVariant(1234.5));
    EXPECT_EQ(f->archivePath(), path);
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(CreaTabellaFailure, AnArchiveHeldForWritingIsAnsweredAfterOneShortWait)
{
    const QString path = archiveWithAmount();
    frm_ripart_spese *f = form();
    QElapsedTimer timer;
    {
        // Another operation writes the archive and holds it for the whole command.
        Database other = Database::open(path);
        other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
        timer.start();
        create(f, QStringLiteral("CONDO1"));
        other.exec(QStringLiteral("ROLLBACK"));
    }
    // Every command waits the same few seconds for a lock before it answers.
    EXPECT_LT(timer.elapsed(), 8000);
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral(
            "Tabella non creata. L'archivio è in uso da un'altra operazione: riprovare fra poco.") });
    EXPECT_EQ(amountOfBuilding1(path), QVariant(1234.5));
    EXPECT_EQ(f->archivePath(), path);
    EXPECT_EQ(f->TDBGrid1->model()->rowCount(), 4);
    EXPECT_TRUE(leftovers().isEmpty());
}

// --- The program killed -------------------------------------------------------------------
//
// The test program runs itself as the child: the child test below makes the archive when the
// environment names one, and the parent kills it at a random moment.

const char *ChildFolder = "ZAV_CREA_TABELLA_FOLDER";
const char *ChildProject = "ZAV_CREA_TABELLA_PROJECT";
const char *ChildTarget = "ZAV_CREA_TABELLA_TARGET";

TEST(CreaTabellaChild, MakesTheArchiveNamedByTheParent)
{
    if (qEnvironmentVariableIsEmpty(ChildTarget))
        GTEST_SKIP() << "run by CreaTabellaFailure.KilledAtAnyMomentTheArchiveIsTheOldOneOrTheNewOneWhole";
    platform::ProgramFolder::setPath(qEnvironmentVariable(ChildFolder));
    std::fputs("pronto\n", stdout);
    std::fflush(stdout);
    ExpenseArchive::create(qEnvironmentVariable(ChildTarget), qEnvironmentVariable(ChildProject));
    std::fputs("fatto\n", stdout);
    std::fflush(stdout);
}

TEST_F(CreaTabellaFailure, KilledAtAnyMomentTheArchiveIsTheOldOneOrTheNewOneWhole)
{
    // A project large enough for the work to take a while.
    constexpr int Units = 3000;
    buildings(1, { { 1, 1 } });
    {
        Database d = Database::open(project);
        platform::Transaction transaction = d.transaction();
        platform::Statement insert
            = d.prepare(QStringLiteral("INSERT INTO CODIF_PIANI (NUM_PAL, SCALA, SIGLA, PROPRIETARIO, "
                                       "INTERNO) VALUES (1, 'A', 'T', ?, ?)"));
        for (int i = 1; i <= Units; ++i)
            insert.exec({ QStringLiteral("Condomino %1").arg(i), i });
        transaction.commit();
    }
    // The old archive: made from a copy of the project of two units, with an amount typed.
    const QString small = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("PICCOLO.cdb"));
    {
        Database d = Database::open(small);
        d.exec(
            QStringLiteral("INSERT INTO CODIF_PIANI (NUM_PAL, PROPRIETARIO, INTERNO) VALUES (1, 'Uno', 1)"));
        d.exec(
            QStringLiteral("INSERT INTO CODIF_PIANI (NUM_PAL, PROPRIETARIO, INTERNO) VALUES (1, 'Due', 2)"));
        d.exec(QStringLiteral("INSERT INTO ANA_CONDO (NOME, NUM_PAL) VALUES ('x', 1)"));
    }
    const QString target = ExpenseArchive::pathFor(QStringLiteral("CONDO1"));
    ExpenseArchive::create(target, small);
    {
        Database d = Database::open(target);
        d.exec(QStringLiteral("UPDATE TAB_SPESE1 SET importo = 99"));
    }
    QFile oldFile(target);
    ASSERT_TRUE(oldFile.open(QIODevice::ReadOnly));
    const QByteArray oldBytes = oldFile.readAll();
    oldFile.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(ChildFolder), folder.path());
    environment.insert(QLatin1String(ChildProject), project);
    environment.insert(QLatin1String(ChildTarget), target);
    const auto runChild = [&](qint64 killAfterMs) {
        return runChildTest(
            QStringLiteral("CreaTabellaChild.MakesTheArchiveNamedByTheParent"), environment, killAfterMs);
    };

    // How long the work takes when let be.
    const auto [finished, took] = runChild(-1);
    ASSERT_TRUE(finished);
    const qint64 span = std::max<qint64>(took, 20);

    int old = 0;
    int made = 0;
    for (int run = 0; run < 30; ++run) {
        SCOPED_TRACE(run);
        {
            QFile restore(target);
            ASSERT_TRUE(restore.open(QIODevice::WriteOnly | QIODevice::Truncate));
            restore.write(oldBytes);
        }
        runChild(qint64(QRandomGenerator::global()->bounded(int(span + span / 5))));

        Database d = Database::open(target);
        EXPECT_EQ(
            d.query(QStringLiteral("PRAGMA integrity_check")).value(0, 0).toString(), QStringLiteral("ok"));
        const int units = d.query(QStringLiteral("SELECT count(*) FROM TAB_GENERALE")).value(0, 0).toInt();
        const QVariant amount = d.query(QStringLiteral("SELECT importo FROM TAB_SPESE1")).value(0, 0);
        if (units == 2) {
            ++old;
            EXPECT_EQ(amount.toDouble(), 99.0);
        } else {
            ++made;
            EXPECT_EQ(units, Units);
            EXPECT_TRUE(amount.isNull());
            EXPECT_EQ(ExpenseArchive::ownership(target, project).claim, ExpenseArchive::Claim::Own);
        }
    }
    EXPECT_EQ(old + made, 30);
    std::printf("killed: %d left the old archive, %d the new one (the work takes %lld ms)\n", old, made,
        static_cast<long long>(span));

    // What the killed runs left beside the archive goes at the next run.
    ExpenseArchive::create(target, project);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(u' ').toStdString();
}

} // namespace
} // namespace zav::test
