#include "commandrunner.h"
#include "platform/vb.h"
#include "shell/commands/launcher.h"
#include "shell/commands/utilitycommands.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"
#include "support/systemrecorder.h"

#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

using zav::platform::DocumentLookup;
using zav::platform::MsgButtons;
using zav::platform::MsgIcon;
using zav::platform::ScriptedDialogs;
using zav::platform::SystemRecorder;
using zav::shell::LanciaEseguibileAssociato;

TEST(Launcher, EachLookupFailureHasItsMessageAndNothingStarts)
{
    const QString file = QStringLiteral("/home/studio/Circolari/CIRCxMILLESIMI.pdf");
    const struct
    {
        DocumentLookup lookup;
        QString document;
        QString message;
    } cases[] = {
        { DocumentLookup::OutOfResources, file,
            QStringLiteral("Errore: out of memory or resource in FindExecutable!") },
        { DocumentLookup::FileNotFound, file,
            QStringLiteral(
                "Errore: Il File /home/studio/Circolari/CIRCxMILLESIMI.pdf non e' stato trovato dalla "
                "FindExecutable.") },
        { DocumentLookup::PathNotFound, file,
            QStringLiteral(
                "Errore: Il path specificato nel parametro /home/studio/Circolari/CIRCxMILLESIMI.pdf della "
                "FindExecutable non esiste.") },
        { DocumentLookup::NotExecutable, file,
            QStringLiteral(
                "Errore: Il programma collegato al file /home/studio/Circolari/CIRCxMILLESIMI.pdf non e' un "
                "eseguibile valido.") },
        { DocumentLookup::NoAssociation, file,
            QStringLiteral(
                "Errore: Nessun eseguibile associato al file /home/studio/Circolari/CIRCxMILLESIMI.pdf") },
        { DocumentLookup::Failed, file, QStringLiteral("Errore non definito nella FindExecutable") },
        // The online help's own message, whatever the case of its name.
        { DocumentLookup::NoAssociation, QStringLiteral("/opt/zav/HelpOnline.pdf"),
            QStringLiteral("Errore: Mancata installazione di Acrobat Reader, installare dal Cd Brem.") },
        { DocumentLookup::NoAssociation, QStringLiteral("/opt/zav/helponline.PDF"),
            QStringLiteral("Errore: Mancata installazione di Acrobat Reader, installare dal Cd Brem.") },
        // Only the last fourteen characters count.
        { DocumentLookup::NoAssociation, QStringLiteral("/opt/zav/HELPONLINE.PDF.bak"),
            QStringLiteral("Errore: Nessun eseguibile associato al file /opt/zav/HELPONLINE.PDF.bak") },
    };
    for (const auto &c : cases) {
        ScriptedDialogs dialogs;
        SystemRecorder system;
        system.setLookup(c.document, c.lookup);
        EXPECT_FALSE(LanciaEseguibileAssociato(c.document)) << c.message.toStdString();
        EXPECT_TRUE(system.started().isEmpty());
        ASSERT_EQ(dialogs.shown().size(), 1);
        const ScriptedDialogs::Shown &box = dialogs.shown().first();
        EXPECT_EQ(box.text, c.message);
        EXPECT_EQ(box.icon, MsgIcon::Critical);
        EXPECT_EQ(box.buttons, MsgButtons::Ok);
        EXPECT_EQ(box.title, QStringLiteral("Zav"));
    }
}

TEST(Launcher, FoundDocumentOpensWholeWithBlanks)
{
    ScriptedDialogs dialogs;
    SystemRecorder system;
    const QString document = QStringLiteral("/home/studio/Documenti utente/Circolare per i millesimi.pdf");
    EXPECT_TRUE(LanciaEseguibileAssociato(document));
    ASSERT_EQ(system.started().size(), 1);
    EXPECT_EQ(system.started().first().document, document);
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST(Launcher, DocumentTheDesktopCannotOpenHasNoAssociatedProgram)
{
    ScriptedDialogs dialogs;
    SystemRecorder system;
    system.setOpenSucceeds(false);
    EXPECT_FALSE(LanciaEseguibileAssociato(QStringLiteral("/tmp/manuale.pdf")));
    EXPECT_TRUE(system.started().isEmpty());
    EXPECT_EQ(dialogs.messages(),
        QStringList { QStringLiteral("Errore: Nessun eseguibile associato al file /tmp/manuale.pdf") });
}

// The desktop's opener starts, then ends reporting that nothing opened the document: that is said
// once, when it ends, as a document with no program.
TEST(Launcher, AnOpenerThatGivesUpAfterStartingIsToldOnce)
{
    ScriptedDialogs dialogs;
    SystemRecorder system;
    system.setOpenFailsLater(true);
    EXPECT_TRUE(LanciaEseguibileAssociato(QStringLiteral("/tmp/circolare.pdf")));
    EXPECT_TRUE(dialogs.shown().isEmpty());
    QTest::qWait(20);
    EXPECT_EQ(dialogs.messages(),
        QStringList { QStringLiteral("Errore: Nessun eseguibile associato al file /tmp/circolare.pdf") });
}

TEST(Launcher, ManualCommandOpensTheManualOfTheProgramFolder)
{
    zav::test::TempProgramFolder folder;
    ScriptedDialogs dialogs;
    SystemRecorder system;
    zav::shell::UtilityCommands commands;
    zav::test::runCommand(commands, QStringLiteral("tHelp"));
    ASSERT_EQ(system.lookedUp().size(), 1);
    EXPECT_EQ(system.lookedUp().first(), folder.file(QStringLiteral("Zav6-Man.pdf")));
    ASSERT_EQ(system.started().size(), 1);
    EXPECT_EQ(system.started().first().document, folder.file(QStringLiteral("Zav6-Man.pdf")));
}

TEST(Launcher, LocaleInfoGivesTheSeparatorsInForce)
{
    {
        zav::platform::vb::DecimalSeparatorScope italian(u',');
        EXPECT_EQ(zav::shell::LocaleInfoGet(0x0E), QStringLiteral(","));
        EXPECT_EQ(zav::shell::LocaleInfoGet(0x0F), QStringLiteral("."));
    }
    {
        zav::platform::vb::DecimalSeparatorScope english(u'.');
        EXPECT_EQ(zav::shell::LocaleInfoGet(0x0E), QStringLiteral("."));
    }
    EXPECT_THROW(zav::shell::LocaleInfoGet(0x7FFF), std::invalid_argument);
}
