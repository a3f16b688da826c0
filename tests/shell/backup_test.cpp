// Backups of projects into one folder: each project's zip is its own, whatever the name.

#include "shell/project/backup.h"

#include "expenses/expensearchive.h"
#include "platform/db.h"
#include "platform/zipfile.h"
#include "support/fixtures.h"
#include "support/killedchild.h"
#include "tables/fulldisk.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <thread>
#include <utility>
#include <vector>

using zav::platform::Database;
using zav::platform::ZipFile;
using zav::shell::backupArchive;
using zav::shell::BackupOutcome;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(content);
}

/** An archive holding one text that tells it apart, in table T. */
void writeArchive(const QString &path, const QString &marker)
{
    if (!QFileInfo::exists(path)) {
        QDir().mkpath(QFileInfo(path).path());
        Database::create(path).exec(QStringLiteral("CREATE TABLE T (A TEXT)"));
    }
    Database db = Database::open(path);
    db.exec(QStringLiteral("DELETE FROM T"));
    db.exec(QStringLiteral("INSERT INTO T (A) VALUES (?)"), { marker });
}

/** The text an archive holds in table T; what is wrong with it when it cannot be read whole. */
QString markerOf(const QString &path)
{
    try {
        Database db = Database::open(path);
        const QString check = db.query(QStringLiteral("PRAGMA integrity_check")).value(0, 0).toString();
        if (check != QLatin1String("ok"))
            return QStringLiteral("danneggiato: ") + check;
        const zav::platform::Recordset rows = db.query(QStringLiteral("SELECT A FROM T"));
        return rows.isEmpty() ? QStringLiteral("vuoto") : rows.value(0, 0).toString();
    } catch (const zav::platform::DbError &error) {
        return QStringLiteral("illeggibile: ") + error.message();
    }
}

/** The text held by the archive stored in a zip under `entry`, read from a copy of it. */
QString markerInZip(const QString &zipPath, const QString &entry)
{
    static QTemporaryDir extracted;
    static int serial = 0;
    const QString copy = extracted.filePath(QStringLiteral("estratto%1").arg(++serial));
    try {
        writeFile(copy, ZipFile::openForReading(zipPath).read(entry));
    } catch (const zav::platform::ZipError &error) {
        return QStringLiteral("zip illeggibile: ") + error.message();
    }
    return markerOf(copy);
}

class Backup : public ::testing::Test
{
protected:
    void SetUp() override { QDir().mkpath(backups()); }

    /** A project archive "VIALE.CDB" in a folder of its own, holding a text that tells it apart. */
    QString project(const QString &folder, const QString &marker = QString())
    {
        const QString path = root.filePath(folder + QStringLiteral("/VIALE.CDB"));
        writeArchive(path, marker.isEmpty() ? folder : marker);
        return path;
    }

    QString backups() const { return root.filePath(QStringLiteral("home")); }
    QString backup(const char *name) const { return backups() + u'/' + QLatin1String(name); }

    /** A zip holding one entry, with the comment given (none when empty). */
    void writeZip(const QString &path, const QString &comment) const
    {
        const QString entry = root.filePath(QStringLiteral("entry.txt"));
        writeFile(entry, "altro");
        ZipFile zip = ZipFile::create(path);
        zip.addFile(QStringLiteral("ALTRO.CDB"), entry);
        zip.setComment(comment);
        zip.commit();
    }

    void expectHolds(const QString &zipPath, const QString &archive) const
    {
        const ZipFile zip = ZipFile::openForReading(zipPath);
        EXPECT_EQ(zip.entries(), QStringList({ QStringLiteral("VIALE.CDB") })) << zipPath.toStdString();
        EXPECT_EQ(markerInZip(zipPath, QStringLiteral("VIALE.CDB")), markerOf(archive))
            << zipPath.toStdString();
        EXPECT_EQ(zip.comment(), QStringLiteral("Zav progetto: ") + archive);
    }

    /** A large archive "vecchio" at `archive`, backed up: the bytes of its zip. */
    QByteArray largeArchiveBackedUp(const QString &archive) const;

    QStringList filesInBackups() const { return QDir(backups()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir root;
};

} // namespace

TEST_F(Backup, TheBackupOfANamesakeInAnotherFolderNeverReplacesTheFirstProjectsZip)
{
    const QString first = project(QStringLiteral("Condominio A"));
    const QString second = project(QStringLiteral("Condominio B"));

    ASSERT_TRUE(backupArchive(first, backups()).succeeded);
    const QByteArray firstZip = bytesOf(backup("VIALE.zip"));

    const BackupOutcome outcome = backupArchive(second, backups());
    ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    EXPECT_EQ(outcome.zipPath, backup("VIALE_2.zip"));
    EXPECT_EQ(bytesOf(backup("VIALE.zip")), firstZip);
    expectHolds(backup("VIALE_2.zip"), second);

    // A second backup of each replaces its own zip only.
    writeArchive(first, QStringLiteral("A, rivisto"));
    writeArchive(second, QStringLiteral("B, rivisto"));
    EXPECT_EQ(backupArchive(first, backups()).zipPath, backup("VIALE.zip"));
    expectHolds(backup("VIALE.zip"), first);
    const QByteArray firstAgain = bytesOf(backup("VIALE.zip"));
    EXPECT_EQ(backupArchive(second, backups()).zipPath, backup("VIALE_2.zip"));
    expectHolds(backup("VIALE_2.zip"), second);
    EXPECT_EQ(bytesOf(backup("VIALE.zip")), firstAgain);
    EXPECT_EQ(filesInBackups(), QStringList({ "VIALE.zip", "VIALE_2.zip" }));
}

TEST_F(Backup, OnlyAnotherExistingProjectsBackupIsPassedOver)
{
    const QString own = project(QStringLiteral("Condominio B"));
    const std::map<QString, QString> projects = {
        { QStringLiteral("%A"), project(QStringLiteral("Condominio A")) },
        { QStringLiteral("%C"), project(QStringLiteral("Condominio C")) },
        { QStringLiteral("%B"), own },
        // The same archive, spelt another way.
        { QStringLiteral("%b"), root.filePath(QStringLiteral("Condominio A/../Condominio B/VIALE.CDB")) },
        { QStringLiteral("%G"), project(QStringLiteral("Condominio G")) },
    };
    ASSERT_TRUE(QFile::remove(projects.at(QStringLiteral("%G")))); // a project deleted since its backup

    const struct
    {
        const char *what;
        std::vector<std::pair<const char *, const char *>> existing; ///< file, comment (null: not a zip)
        const char *written;
        const char *other; ///< the project passed over
    } cases[] = {
        { "no zip", {}, "VIALE.zip", "" },
        { "a zip that records nothing", { { "VIALE.zip", "" } }, "VIALE.zip", "" },
        { "a zip of another program", { { "VIALE.zip", "Archivio creato il 3/4/2020" } }, "VIALE.zip", "" },
        { "a file that is not a zip", { { "VIALE.zip", nullptr } }, "VIALE.zip", "" },
        { "a deleted project's", { { "VIALE.zip", "Zav progetto: %G" } }, "VIALE.zip", "" },
        { "a marker without a path", { { "VIALE.zip", "Zav progetto: " } }, "VIALE.zip", "" },
        { "its own, spelt another way", { { "VIALE.zip", "Zav progetto: %b" } }, "VIALE.zip", "" },
        { "another project's", { { "VIALE.zip", "Zav progetto: %A" } }, "VIALE_2.zip", "%A" },
        { "two other projects'",
            { { "VIALE.zip", "Zav progetto: %A" }, { "VIALE_2.zip", "Zav progetto: %C" } }, "VIALE_3.zip",
            "%A" },
        { "another's, then its own",
            { { "VIALE.zip", "Zav progetto: %A" }, { "VIALE_2.zip", "Zav progetto: %B" } }, "VIALE_2.zip",
            "%A" },
        { "another's, then a free one", { { "VIALE.zip", "Zav progetto: %A" }, { "VIALE_2.zip", "" } },
            "VIALE_2.zip", "%A" },
        { "the project's own", { { "VIALE.zip", "Zav progetto: %B" } }, "VIALE.zip", "" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QDir(backups()).removeRecursively();
        QDir().mkpath(backups());
        std::map<QString, QByteArray> before;
        for (const auto &[name, comment] : c.existing) {
            const QString path = backup(name);
            if (!comment) {
                writeFile(path, "solo testo");
            } else {
                QString text = QString::fromUtf8(comment);
                for (const auto &[key, archive] : projects)
                    text.replace(key, archive);
                writeZip(path, text);
            }
            before[path] = bytesOf(path);
        }

        const BackupOutcome outcome = backupArchive(own, backups());
        ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
        EXPECT_EQ(outcome.zipPath, backup(c.written));
        expectHolds(outcome.zipPath, own);
        const QString other = *c.other ? projects.at(QString::fromUtf8(c.other)) : QString();
        EXPECT_EQ(outcome.otherProject, other);
        EXPECT_EQ(outcome.passedOverZip, other.isEmpty() ? QString() : backup("VIALE.zip"));
        for (const auto &[path, bytes] : before) {
            if (path != outcome.zipPath) {
                EXPECT_EQ(bytesOf(path), bytes) << path.toStdString();
            }
        }
    }
}

TEST_F(Backup, AStoppedWriteOfTheNameApartIsClearedByTheNextBackupOfThatProject)
{
    const QString first = project(QStringLiteral("Condominio A"));
    const QString second = project(QStringLiteral("Condominio B"));
    ASSERT_TRUE(backupArchive(first, backups()).succeeded);
    // What libzip leaves behind when the program is stopped while it writes a zip.
    writeFile(backup("VIALE_2.zip.Ab3dE9"), "resto");
    writeFile(backup("VIALE.zip.Xy12Zq"), "resto");

    EXPECT_EQ(backupArchive(second, backups()).zipPath, backup("VIALE_2.zip"));
    expectHolds(backup("VIALE_2.zip"), second);
    // The other project's name is not this backup's: what a write of it left stays for that project.
    EXPECT_EQ(filesInBackups(), QStringList({ "VIALE.zip", "VIALE.zip.Xy12Zq", "VIALE_2.zip" }));
}

// --- What a backup holds ---------------------------------------------------------------------

namespace {

/** A backup with the program folder of its own, where the expense archives live. */
class ProjectBackup : public Backup
{
protected:
    QString expenseArchive(const QString &name) const
    {
        return program.file(QStringLiteral("ARCHIVI/") + name);
    }

    /** An expense archive holding `marker`, recording `owner` as its project (none when empty). */
    void writeExpenseArchive(const QString &name, const QString &marker, const QString &owner) const
    {
        writeArchive(expenseArchive(name), marker);
        if (!owner.isEmpty()) {
            Database db = Database::open(expenseArchive(name));
            zav::expenses::ExpenseArchive::setOwner(db, owner);
        }
    }

    zav::test::TempProgramFolder program;
};

} // namespace

TEST_F(ProjectBackup, HoldsTheProjectsOwnTerraceAndExpenseArchives)
{
    const QString own = project(QStringLiteral("Condominio B"), QStringLiteral("progetto"));
    const QString other = project(QStringLiteral("Condominio A"));
    const struct
    {
        const char *what;
        bool terraces;
        const char *expensesOwner; ///< "own", "other", "none", or null for no expense archive
        QStringList entries;
    } cases[] = {
        { "the archive alone", false, nullptr, { "VIALE.CDB" } },
        { "with its terrace archive", true, nullptr, { "VIALE.CDB", "VIALE.TER" } },
        { "with its expense archive", false, "own", { "VIALE.CDB", "ARCHIVI/VIALE.TSP" } },
        { "with both", true, "own", { "VIALE.CDB", "VIALE.TER", "ARCHIVI/VIALE.TSP" } },
        // An expense archive that records no project is the one this project opens.
        { "with an expense archive of nobody's", true, "none",
            { "VIALE.CDB", "VIALE.TER", "ARCHIVI/VIALE.TSP" } },
        { "beside another project's expense archive", true, "other", { "VIALE.CDB", "VIALE.TER" } },
    };
    const QString terraces = QFileInfo(own).path() + QStringLiteral("/VIALE.TER");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(terraces);
        QFile::remove(expenseArchive(QStringLiteral("VIALE.TSP")));
        QFile::remove(backup("VIALE.zip"));
        if (c.terraces)
            writeArchive(terraces, QStringLiteral("terrazze"));
        if (c.expensesOwner) {
            const QString owner = QString::fromUtf8(c.expensesOwner);
            writeExpenseArchive(QStringLiteral("VIALE.TSP"), QStringLiteral("spese"),
                owner == QLatin1String("own")         ? own
                    : owner == QLatin1String("other") ? other
                                                      : QString());
        }

        const BackupOutcome outcome = backupArchive(own, backups());
        ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
        const ZipFile zip = ZipFile::openForReading(outcome.zipPath);
        EXPECT_EQ(zip.entries(), c.entries);
        EXPECT_EQ(markerInZip(outcome.zipPath, QStringLiteral("VIALE.CDB")), QStringLiteral("progetto"));
        if (c.terraces) {
            EXPECT_EQ(markerInZip(outcome.zipPath, QStringLiteral("VIALE.TER")), QStringLiteral("terrazze"));
        }
        if (c.entries.contains(QStringLiteral("ARCHIVI/VIALE.TSP"))) {
            EXPECT_EQ(
                markerInZip(outcome.zipPath, QStringLiteral("ARCHIVI/VIALE.TSP")), QStringLiteral("spese"));
        }
    }
}

TEST_F(ProjectBackup, AnExpenseArchiveNamedApartForTheProjectIsHeldUnderItsOwnName)
{
    const QString own = project(QStringLiteral("Condominio B"));
    const QString other = project(QStringLiteral("Condominio A"));
    writeExpenseArchive(QStringLiteral("VIALE.TSP"), QStringLiteral("spese di A"), other);
    writeExpenseArchive(QStringLiteral("VIALE_B.TSP"), QStringLiteral("spese di B"), own);

    const BackupOutcome outcome = backupArchive(own, backups());
    ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    EXPECT_EQ(ZipFile::openForReading(outcome.zipPath).entries(),
        QStringList({ "VIALE.CDB", "ARCHIVI/VIALE_B.TSP" }));
    EXPECT_EQ(
        markerInZip(outcome.zipPath, QStringLiteral("ARCHIVI/VIALE_B.TSP")), QStringLiteral("spese di B"));
}

// --- A backup is a whole copy of the last committed state ------------------------------------

namespace {

/** A connection of its own on an archive, opened through SQLite alone, as another program's. */
class Writer
{
public:
    explicit Writer(const QString &path)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        run("PRAGMA journal_mode = DELETE");
        // A cache of a few pages: a large change spills its pages into the archive before the commit.
        run("PRAGMA cache_size = 5");
    }
    ~Writer() { sqlite3_close(m_db); }
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    int run(const char *sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

    /** Starts a change of every row of table T (1,000 rows of a long text), left uncommitted. */
    void changeEveryRow(const char *marker)
    {
        run("BEGIN");
        const QByteArray sql = "UPDATE T SET A = '" + QByteArray(marker) + "' || substr(A, length(A) - 999)";
        ASSERT_EQ(run(sql.constData()), SQLITE_OK) << sqlite3_errmsg(m_db);
    }

private:
    sqlite3 *m_db = nullptr;
};

/** An archive of 1,000 rows of 1,000 characters each, every row starting with `marker`. */
void writeLargeArchive(const QString &path, const QString &marker)
{
    writeArchive(path, marker);
    Database db = Database::open(path);
    db.exec(QStringLiteral("DELETE FROM T"));
    db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
                           "INSERT INTO T (A) SELECT ? || printf('%.1000c', 'x') FROM n"),
        { marker });
}

/** What the first row of a large archive starts with, or what is wrong with the archive. */
QString largeMarkerOf(const QString &path)
{
    const QString text = markerOf(path);
    return text.startsWith(QLatin1String("danneggiato")) || text.startsWith(QLatin1String("illeggibile"))
        ? text
        : text.section(u'x', 0, 0);
}

QString largeMarkerInZip(const QString &zipPath)
{
    static QTemporaryDir extracted;
    static int serial = 0;
    const QString copy = extracted.filePath(QStringLiteral("grande%1").arg(++serial));
    writeFile(copy, ZipFile::openForReading(zipPath).read(QStringLiteral("VIALE.CDB")));
    return largeMarkerOf(copy);
}

} // namespace

QByteArray Backup::largeArchiveBackedUp(const QString &archive) const
{
    writeLargeArchive(archive, QStringLiteral("vecchio"));
    EXPECT_TRUE(backupArchive(archive, backups()).succeeded);
    return bytesOf(backup("VIALE.zip"));
}

TEST_F(Backup, AnArchiveWithTheJournalOfAStoppedWriteIsBackedUpAsLastCommitted)
{
    // A writer stopped half way through its commit: some of its pages are in the archive, and the
    // journal that undoes them beside it. Made by copying both while a writer holds them.
    const QString source = root.filePath(QStringLiteral("scrittore/VIALE.CDB"));
    writeLargeArchive(source, QStringLiteral("vecchio"));
    const QString archive = root.filePath(QStringLiteral("Condominio/VIALE.CDB"));
    QDir().mkpath(QFileInfo(archive).path());
    {
        Writer writer(source);
        writer.changeEveryRow("nuovo");
        ASSERT_TRUE(QFileInfo::exists(source + QStringLiteral("-journal")));
        ASSERT_TRUE(QFile::copy(source, archive));
        ASSERT_TRUE(QFile::copy(source + QStringLiteral("-journal"), archive + QStringLiteral("-journal")));
        writer.run("ROLLBACK");
    }

    const BackupOutcome outcome = backupArchive(archive, backups());
    ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    EXPECT_EQ(largeMarkerInZip(outcome.zipPath), QStringLiteral("vecchio"));
}

TEST_F(Backup, WhileAnotherConnectionWritesTheBackupHoldsTheLastCommittedState)
{
    const QString archive = root.filePath(QStringLiteral("Condominio/VIALE.CDB"));
    writeLargeArchive(archive, QStringLiteral("vecchio"));

    // A change still in the writer's memory: the backup goes ahead with what is committed.
    {
        Writer writer(archive);
        writer.run("BEGIN");
        ASSERT_EQ(writer.run("UPDATE T SET A = 'nuovo' || substr(A, 8) WHERE rowid = 1"), SQLITE_OK);
        const BackupOutcome outcome = backupArchive(archive, backups());
        ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
        EXPECT_EQ(largeMarkerInZip(outcome.zipPath), QStringLiteral("vecchio"));
        writer.run("COMMIT");
    }

    // A change whose pages are already in the file: the backup waits for the writer to end and
    // holds what is committed then.
    for (const auto &[end, committed] :
        { std::pair { "COMMIT", "nuovo" }, std::pair { "ROLLBACK", "vecchio" } }) {
        SCOPED_TRACE(end);
        writeLargeArchive(archive, QStringLiteral("vecchio"));
        Writer writer(archive);
        writer.changeEveryRow("nuovo");
        std::thread ender([&writer, end = end] {
            std::this_thread::sleep_for(std::chrono::milliseconds(800));
            writer.run(end);
        });
        const BackupOutcome outcome = backupArchive(archive, backups());
        ender.join();
        ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
        EXPECT_EQ(largeMarkerInZip(outcome.zipPath), QString::fromUtf8(committed));
    }
}

TEST_F(Backup, AnArchiveHeldByAWriterBeyondTheWaitKeepsTheEarlierZipAndSaysWhy)
{
    const QString archive = root.filePath(QStringLiteral("Condominio/VIALE.CDB"));
    const QByteArray earlier = largeArchiveBackedUp(archive);

    Writer writer(archive);
    writer.changeEveryRow("nuovo");
    QElapsedTimer timer;
    timer.start();
    const BackupOutcome outcome = backupArchive(archive, backups());
    EXPECT_LT(timer.elapsed(), 8000);
    writer.run("ROLLBACK");

    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.error,
        QStringLiteral(
            "L'archivio %1 non è stato copiato.\nL'archivio è in uso da un'altra operazione: riprovare "
            "fra poco.\ndatabase is locked\nLa copia non è stata fatta: la copia precedente %2 non è "
            "stata modificata.")
            .arg(archive, backup("VIALE.zip")));
    EXPECT_EQ(bytesOf(backup("VIALE.zip")), earlier);
    EXPECT_EQ(filesInBackups(), QStringList({ "VIALE.zip" }));
}

TEST_F(Backup, ADamagedArchiveIsNotZippedAndTheEarlierZipStays)
{
    const QString archive = root.filePath(QStringLiteral("Condominio/VIALE.CDB"));
    const QByteArray earlier = largeArchiveBackedUp(archive);

    // Pages in the middle of the archive overwritten.
    {
        QFile file(archive);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(file.size() / 2);
        file.write(QByteArray(8192, '\x5a'));
    }
    const BackupOutcome outcome = backupArchive(archive, backups());
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.error.startsWith(
        QStringLiteral("L'archivio %1 non è stato copiato.\nL'archivio è danneggiato.").arg(archive)))
        << outcome.error.toStdString();
    EXPECT_EQ(bytesOf(backup("VIALE.zip")), earlier);
}

TEST_F(Backup, OnAFullDiskTheEarlierZipStaysAndTheMessageSaysSo)
{
    const QString archive = project(QStringLiteral("Condominio"), QStringLiteral("vecchio"));
    ASSERT_TRUE(backupArchive(archive, backups()).succeeded);
    const QByteArray earlier = bytesOf(backup("VIALE.zip"));
    writeArchive(archive, QStringLiteral("nuovo"));

    BackupOutcome outcome;
    {
        zav::test::FullDiskScope disk;
        outcome = backupArchive(archive, backups());
    }
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.error,
        QStringLiteral("Il disco è pieno: la copia precedente %1 non è stata modificata. Liberare spazio sul "
                       "disco e riprovare.")
            .arg(backup("VIALE.zip")));
    EXPECT_EQ(bytesOf(backup("VIALE.zip")), earlier);
    EXPECT_EQ(filesInBackups(), QStringList({ "VIALE.zip" }));

    // Without an earlier zip, none is written.
    QFile::remove(backup("VIALE.zip"));
    {
        zav::test::FullDiskScope disk;
        outcome = backupArchive(archive, backups());
    }
    EXPECT_EQ(outcome.error,
        QStringLiteral(
            "Il disco è pieno: nessuna copia è stata scritta. Liberare spazio sul disco e riprovare."));
    EXPECT_TRUE(filesInBackups().isEmpty());
}

// --- The program killed while it backs up ------------------------------------------------------
//
// The test program runs itself as the child: the child test below backs up the archive named in
// the environment, and the parent kills it at a random moment.

namespace {
const char *ChildArchive = "ZAV_BACKUP_ARCHIVE";
const char *ChildFolder = "ZAV_BACKUP_FOLDER";
} // namespace

TEST(BackupChild, BacksUpTheArchiveNamedByTheParent)
{
    if (qEnvironmentVariableIsEmpty(ChildArchive))
        GTEST_SKIP() << "run by BackupKilled";
    std::fputs("pronto\n", stdout);
    std::fflush(stdout);
    const BackupOutcome outcome
        = backupArchive(qEnvironmentVariable(ChildArchive), qEnvironmentVariable(ChildFolder));
    if (outcome.succeeded)
        std::fputs("fatto\n", stdout);
    std::fflush(stdout);
}

TEST_F(Backup, KilledAtAnyMomentTheZipIsTheEarlierOneOrTheNewOneWhole)
{
    const QString archive = root.filePath(QStringLiteral("Condominio/VIALE.CDB"));
    writeLargeArchive(archive, QStringLiteral("vecchio"));
    {
        // Large enough for the backup to take a while.
        Database db = Database::open(archive);
        db.exec(QStringLiteral("INSERT INTO T (A) SELECT A || rowid FROM T"));
        db.exec(QStringLiteral("INSERT INTO T (A) SELECT A || rowid FROM T"));
        db.exec(QStringLiteral("INSERT INTO T (A) SELECT A || rowid FROM T"));
    }
    ASSERT_TRUE(backupArchive(archive, backups()).succeeded);
    const QByteArray earlier = bytesOf(backup("VIALE.zip"));
    {
        Database db = Database::open(archive);
        db.exec(QStringLiteral("UPDATE T SET A = 'nuovo' || substr(A, 8)"));
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(ChildArchive), archive);
    environment.insert(QLatin1String(ChildFolder), backups());
    const auto runChild = [&](qint64 killAfterMs) {
        return zav::test::runChildTest(
            QStringLiteral("BackupChild.BacksUpTheArchiveNamedByTheParent"), environment, killAfterMs);
    };

    // How long the backup takes when let be.
    const auto [finished, took] = runChild(-1);
    ASSERT_TRUE(finished);
    const qint64 span = std::max<qint64>(took, 20);
    EXPECT_EQ(largeMarkerInZip(backup("VIALE.zip")), QStringLiteral("nuovo"));

    int old = 0;
    int made = 0;
    for (int run = 0; run < 20; ++run) {
        SCOPED_TRACE(run);
        writeFile(backup("VIALE.zip"), earlier);
        runChild(qint64(QRandomGenerator::global()->bounded(int(span + span / 5))));
        if (bytesOf(backup("VIALE.zip")) == earlier) {
            ++old;
        } else {
            ++made;
            EXPECT_EQ(largeMarkerInZip(backup("VIALE.zip")), QStringLiteral("nuovo"));
        }
    }
    EXPECT_EQ(old + made, 20);
    std::printf("killed: %d left the earlier zip, %d the new one (the backup takes %lld ms)\n", old, made,
        static_cast<long long>(span));
    // The archive itself is untouched by a backup killed half way.
    EXPECT_EQ(largeMarkerOf(archive), QStringLiteral("nuovo"));
}
