#include "platform/cadautomation.h"
#include "platform/system.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using zav::platform::DesktopSystem;
using zav::platform::DocumentLookup;

TEST(DesktopSystem, LookUpTellsAMissingFolderFromAMissingFile)
{
    QTemporaryDir dir;
    DesktopSystem system;
    EXPECT_EQ(system.lookUpDocument(dir.filePath(QStringLiteral("non esiste/Manuale.pdf"))),
        DocumentLookup::PathNotFound);
    EXPECT_EQ(system.lookUpDocument(dir.filePath(QStringLiteral("Manuale utente.pdf"))),
        DocumentLookup::FileNotFound);
    EXPECT_EQ(system.lookUpDocument(QString()), DocumentLookup::FileNotFound);
}

TEST(DesktopSystem, FindsAndStartsInstalledProgramsOnly)
{
    DesktopSystem system;
    EXPECT_FALSE(system.findProgram(QStringLiteral("sh")).isEmpty());
    EXPECT_TRUE(system.findProgram(QStringLiteral("zav-programma-inesistente")).isEmpty());
    EXPECT_TRUE(system.findProgram(QString()).isEmpty());
    EXPECT_TRUE(system.startProgram(QStringLiteral("true"), {}));
    EXPECT_FALSE(system.startProgram(QStringLiteral("/non/esiste/programma"), {}));
}

TEST(CadAutomation, NoCadProgramIsRegisteredOnLinux)
{
    EXPECT_THROW(zav::platform::createCadAutomation(QStringLiteral("lumera.ComLumera")),
        zav::platform::AutomationError);
}
