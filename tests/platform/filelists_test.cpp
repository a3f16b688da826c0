// The drive, folder and file lists that the archive dialogs share, on a temporary folder.

#include "platform/ui/filelists.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zav::platform;

namespace {

class FileListsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir root(dir.path());
        for (const char *folder : { "b", "A", "c.cdb" })
            root.mkdir(QLatin1String(folder));
        for (const char *file : { "uno.CDB", "Due.clo", "tre.gep", "quattro.txt", "cinque.cdb.bak" }) {
            QFile f(root.filePath(QLatin1String(file)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
    }

    static QStringList entries(const QListWidget &list)
    {
        QStringList texts;
        for (int i = 0; i < list.count(); ++i)
            texts << list.item(i)->text();
        return texts;
    }

    QTemporaryDir dir;
};

TEST_F(FileListsTest, TheFolderListShowsTheWayDownThenTheSubfoldersAndMovesOnActivation)
{
    FolderListBox folders;
    QSignalSpy changes(&folders, &FolderListBox::Change);
    folders.setPath(dir.path());
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(folders.Path(), QDir::cleanPath(dir.path()));

    // "/", then one entry per folder down to this one, each indented two blanks more, then the
    // subfolders in name order without regard to case, one step further in.
    const int depth = int(QDir::cleanPath(dir.path()).count(u'/'));
    const QStringList shown = entries(folders);
    ASSERT_EQ(shown.size(), depth + 1 + 3);
    EXPECT_EQ(shown.first(), QStringLiteral("/"));
    EXPECT_EQ(shown.at(depth), QString(depth * 2, u' ') + QDir(dir.path()).dirName());
    const QString sub(2 * (depth + 1), u' ');
    EXPECT_EQ(shown.mid(depth + 1), (QStringList { sub + "A", sub + "b", sub + "c.cdb" }));
    EXPECT_EQ(folders.currentRow(), depth); // the current folder has the cursor

    emit folders.itemActivated(folders.item(depth + 1));
    EXPECT_EQ(folders.Path(), QDir::cleanPath(dir.filePath(QStringLiteral("A"))));
    EXPECT_EQ(changes.count(), 2);
    emit folders.itemActivated(folders.item(depth)); // back up
    EXPECT_EQ(folders.Path(), QDir::cleanPath(dir.path()));

    // The same folder again, or one that is not there, changes nothing.
    folders.setPath(dir.path());
    folders.setPath(dir.filePath(QStringLiteral("manca")));
    EXPECT_EQ(changes.count(), 3);
    EXPECT_EQ(folders.Path(), QDir::cleanPath(dir.path()));
}

TEST_F(FileListsTest, TheFileListTakesSeveralPatternsInAnyCaseAndSelectsNothingAtFirst)
{
    FileListBox files;
    files.setPattern(QStringLiteral("*.gep;*.clo;*.cdb"));
    files.setPath(dir.path());
    EXPECT_EQ(entries(files), (QStringList { "Due.clo", "tre.gep", "uno.CDB" }));
    EXPECT_EQ(files.ListIndex(), -1);
    EXPECT_TRUE(files.FileName().isEmpty());
    files.setListIndex(2);
    EXPECT_EQ(files.FileName(), QStringLiteral("uno.CDB"));
    files.Refresh();
    EXPECT_EQ(files.ListIndex(), -1);
}

TEST_F(FileListsTest, TheDriveListReportsOnlyTheUsersChoice)
{
    EXPECT_EQ(DriveListBox::driveOf(dir.path()), QDir::rootPath());
    EXPECT_EQ(DriveListBox::driveOf(QStringLiteral("relativo/percorso")), QDir::rootPath());
    DriveListBox drives;
    ASSERT_GE(drives.count(), 1);
    QSignalSpy changes(&drives, &DriveListBox::Change);
    drives.setDrive(dir.path());
    EXPECT_EQ(drives.Drive(), QDir::rootPath());
    EXPECT_EQ(changes.count(), 0);
    emit drives.activated(0);
    EXPECT_EQ(changes.count(), 1);
}

} // namespace
