// Backups of projects into one folder: each project's zip is its own, whatever the name.

#include "shell/project/backup.h"

#include "platform/zipfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

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

class Backup : public ::testing::Test
{
protected:
    void SetUp() override { QDir().mkpath(backups()); }

    /** A project archive "VIALE.CDB" in a folder of its own, with bytes that tell it apart. */
    QString project(const QString &folder, const QByteArray &content = QByteArray())
    {
        const QString path = root.filePath(folder + QStringLiteral("/VIALE.CDB"));
        writeFile(path, content.isEmpty() ? folder.toUtf8() : content);
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
        EXPECT_EQ(zip.read(QStringLiteral("VIALE.CDB")), bytesOf(archive)) << zipPath.toStdString();
        EXPECT_EQ(zip.comment(), QStringLiteral("Zav progetto: ") + archive);
    }

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
    writeFile(first, "A, rivisto");
    writeFile(second, "B, rivisto");
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
