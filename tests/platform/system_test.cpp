#include "platform/cadautomation.h"
#include "platform/system.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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

// xdg-open starts even where it has no way to open a document, and says so only by its exit code:
// the caller is told then, and only then.
TEST(DesktopSystem, AnOpenerEndingInFailureIsToldAfterwards)
{
    QTemporaryDir bin;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
    QTemporaryDir dir;
    const QString document = dir.filePath(QStringLiteral("Manuale utente.pdf"));
    QFile(document).open(QIODevice::WriteOnly);

    for (const auto &[exitCode, told] : { std::pair { 3, true }, { 0, false } }) {
        SCOPED_TRACE(exitCode);
        QFile opener(bin.filePath(QStringLiteral("xdg-open")));
        opener.remove();
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write(QStringLiteral("#!/bin/sh\n[ \"$1\" = \"%1\" ] || exit 9\necho \"xdg-open: no method "
                                    "available for opening '$1'\" >&2\nexit %2\n")
                         .arg(document)
                         .arg(exitCode)
                         .toUtf8());
        opener.close();
        opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner);

        DesktopSystem system;
        bool failed = false;
        EXPECT_TRUE(system.openDocument(document, [&] { failed = true; }));
        EXPECT_FALSE(failed);
        // The opener has ended, and been told of, once no process of it is left.
        const QDeadlineTimer deadline(5000);
        while (!QCoreApplication::instance()->findChildren<QProcess *>().isEmpty() && !deadline.hasExpired())
            QTest::qWait(10);
        QTest::qWait(10);
        EXPECT_TRUE(QCoreApplication::instance()->findChildren<QProcess *>().isEmpty());
        EXPECT_EQ(failed, told);
    }
    qputenv("PATH", path);
}

TEST(CadAutomation, NoCadProgramIsRegisteredOnLinux)
{
    EXPECT_THROW(zav::platform::createCadAutomation(QStringLiteral("lumera.ComLumera")),
        zav::platform::AutomationError);
}
