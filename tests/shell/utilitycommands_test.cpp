#include "engine/var_gbl.h"
#include "support/cadautomationrecorder.h"
#include "support/scripteddialogs.h"
#include "shell/forms/frm_dati_utente.h"
#include "shell/commands/utilitycommands.h"
#include "support/fixtures.h"

#include <QSet>

#include <gtest/gtest.h>

using zav::shell::UtilityCommands;

namespace {

void run(UtilityCommands &commands, const QString &wanted)
{
    for (const auto &[key, handler] : commands.commands()) {
        if (key == wanted)
            handler();
    }
}

} // namespace

TEST(UtilityCommands, EveryKeyIsListedOnce)
{
    UtilityCommands commands;
    QStringList keys;
    for (const auto &command : commands.commands()) {
        keys.append(command.first);
        EXPECT_TRUE(bool(command.second)) << command.first.toStdString();
    }
    const QStringList expected { QStringLiteral("cadon"), QStringLiteral("tCad"), QStringLiteral("cadoff"),
        QStringLiteral("imp_st"), QStringLiteral("tSetup"), QStringLiteral("editor"),
        QStringLiteral("calcolatrice"), QStringLiteral("prompt"), QStringLiteral("control"),
        QStringLiteral("notepad"), QStringLiteral("wordpad"), QStringLiteral("Web"), QStringLiteral("tHelp"),
        QStringLiteral("utente"), QStringLiteral("about"), QStringLiteral("tInfo") };
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()), QSet<QString>(expected.begin(), expected.end()));
    EXPECT_EQ(keys.size(), expected.size());
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
