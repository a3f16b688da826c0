#include "commandrunner.h"
#include "engine/var_gbl.h"
#include "shell/commands/utilitycommands.h"
#include "shell/forms/frm_dati_utente.h"
#include "support/cadautomationrecorder.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"

#include <gtest/gtest.h>

using zav::shell::UtilityCommands;

namespace {

void run(UtilityCommands &commands, const QString &key)
{
    zav::test::runCommand(commands, key);
}

} // namespace

// The utility keys are commands of the main window's table with a recipe of the shell, and need
// no project.
TEST(UtilityCommands, EveryKeyHasItsRecipeInTheCommandTable)
{
    for (const char *key : { "cadon", "tCad", "cadoff", "imp_st", "tSetup", "editor", "calcolatrice",
             "prompt", "control", "notepad", "wordpad", "Web", "tHelp", "utente", "about", "tInfo" }) {
        const zav::shell::CommandRow *row = zav::shell::CommandTable::find(QString::fromLatin1(key));
        ASSERT_NE(row, nullptr) << key;
        EXPECT_TRUE(bool(row->handler)) << key;
        EXPECT_FALSE(row->project) << key;
    }
}

TEST(UtilityCommands, WebOpensANewBrowserOnTheMakersSiteEachTime)
{
    UtilityCommands commands;
    QStringList opened;
    commands.setBrowserOpener([&](const QString &address) { opened.append(address); });
    run(commands, QStringLiteral("Web"));
    run(commands, QStringLiteral("Web"));
    EXPECT_EQ(opened, (QStringList { zav::shell::webAddress(), zav::shell::webAddress() }));
    EXPECT_TRUE(zav::shell::webAddress().startsWith(QStringLiteral("https://")));
}

TEST(UtilityCommands, CadKeysDriveTheLinkTheMainWindowHolds)
{
    zav::engine::VAR_GBL.reset();
    zav::platform::CadAutomationRecorder cad;
    UtilityCommands commands;
    run(commands, QStringLiteral("tCad"));
    EXPECT_TRUE(commands.cadLink().windowStarted());
    EXPECT_TRUE(zav::engine::VAR_GBL.oggetto_cad);
    run(commands, QStringLiteral("cadon"));
    EXPECT_EQ(cad.objectsMade(), 2);
    run(commands, QStringLiteral("cadoff"));
    EXPECT_FALSE(commands.cadLink().windowStarted());
    EXPECT_TRUE(cad.alive().isEmpty());
}

TEST(UtilityCommands, CadKeysOnLinuxFailQuietly)
{
    zav::engine::VAR_GBL.reset();
    zav::platform::ScriptedDialogs dialogs;
    UtilityCommands commands;
    run(commands, QStringLiteral("cadon"));
    EXPECT_EQ(commands.cadLink().object(), nullptr);
    EXPECT_FALSE(zav::engine::VAR_GBL.oggetto_cad);
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST(UtilityCommands, UserDataIsShownModal)
{
    zav::test::TempProgramFolder folder;
    UtilityCommands commands;
    QString shown;
    commands.setModalRunner([&](QDialog &dialog) {
        if (qobject_cast<zav::shell::frm_dati_utente *>(&dialog))
            shown = dialog.windowTitle();
    });
    run(commands, QStringLiteral("utente"));
    EXPECT_EQ(shown, QStringLiteral("Dati Utente"));
}
