#include "platform/windowspaths.h"
#include "support/fixtures.h"
#include "support/systemrecorder.h"

#include <QDir>

#include <gtest/gtest.h>

using zav::platform::SystemRecorder;
using zav::platform::WindowsPaths;

TEST(WindowsPaths, FirstInstalledProgramStandsForTheWindowsOne)
{
    SystemRecorder system;
    system.install(QStringLiteral("xcalc"));
    system.install(QStringLiteral("galculator"));
    // galculator comes before xcalc in the calculator's list; the Windows path is matched
    // whatever its case.
    EXPECT_EQ(WindowsPaths::program(QStringLiteral("C:\\WINDOWS\\CALC.EXE")),
        QStringLiteral("/usr/bin/galculator"));
    EXPECT_EQ(WindowsPaths::program(QStringLiteral("c:\\windows\\calc.exe")),
        QStringLiteral("/usr/bin/galculator"));
}

TEST(WindowsPaths, NothingInstalledOrUnknownPathGivesNoProgram)
{
    SystemRecorder system;
    system.install(QStringLiteral("gedit")); // a text editor, not a calculator
    EXPECT_TRUE(WindowsPaths::program(QStringLiteral("C:\\WINDOWS\\CALC.EXE")).isEmpty());
    EXPECT_TRUE(WindowsPaths::program(QStringLiteral("C:\\WINDOWS\\WINHLP32.EXE")).isEmpty());
    EXPECT_TRUE(WindowsPaths::program(QStringLiteral("a:\\")).isEmpty()); // a folder, not a program
}

TEST(WindowsPaths, EveryFixedProgramHasLinuxCandidates)
{
    for (const char *windows : { "C:\\WINDOWS\\CALC.EXE", "C:\\WINDOWS\\DOSPRMPT.PIF",
             "C:\\WINDOWS\\control.EXE", "C:\\WINDOWS\\NOTEPAD.EXE", "C:\\brem\\scrivex.EXE" }) {
        const WindowsPaths::Entry *entry = WindowsPaths::find(QString::fromLatin1(windows));
        ASSERT_NE(entry, nullptr) << windows;
        EXPECT_FALSE(entry->isFolder) << windows;
        EXPECT_FALSE(entry->onLinux.isEmpty()) << windows;
    }
}

TEST(WindowsPaths, FloppyDriveIsTheHomeFolder)
{
    for (const char *drive : { "a:\\", "A:\\" })
        EXPECT_EQ(QDir::cleanPath(WindowsPaths::folder(QString::fromLatin1(drive))),
            QDir::cleanPath(QDir::homePath()));
    EXPECT_TRUE(WindowsPaths::folder(QStringLiteral("C:\\WINDOWS\\CALC.EXE")).isEmpty());
}

TEST(WindowsPaths, HelpFileIsTheManualOfTheProgramFolder)
{
    const zav::test::TempProgramFolder folder;
    EXPECT_EQ(WindowsPaths::document(QStringLiteral("zav.hlp")), folder.file(QStringLiteral("Zav6-Man.pdf")));
    EXPECT_EQ(WindowsPaths::document(QStringLiteral("ZAV.HLP")), folder.file(QStringLiteral("Zav6-Man.pdf")));
    EXPECT_TRUE(WindowsPaths::document(QStringLiteral("altro.hlp")).isEmpty());
}

TEST(WindowsPaths, VariousExpenseDatabaseIsTheProgramFoldersOwn)
{
    const zav::test::TempProgramFolder folder;
    for (const char *windows : { "c:\\zav4\\rip_spese3.mdb", "C:\\ZAV4\\RIP_SPESE3.MDB" })
        EXPECT_EQ(WindowsPaths::document(QString::fromLatin1(windows)),
            folder.file(QStringLiteral("rip_spese3.mdb")))
            << windows;
}
