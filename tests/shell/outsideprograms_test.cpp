#include "commandrunner.h"
#include "shell/commands/utilitycommands.h"
#include "shell/project/editorfile.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"
#include "support/systemrecorder.h"

#include <QFile>

#include <gtest/gtest.h>

using zav::platform::ScriptedDialogs;
using zav::platform::SystemRecorder;

namespace {

void run(const QString &wanted)
{
    zav::shell::UtilityCommands commands;
    zav::test::runCommand(commands, wanted);
}

} // namespace

TEST(OutsidePrograms, EachCommandStartsItsLinuxProgramWithoutArguments)
{
    zav::test::TempProgramFolder folder;
    QFile::remove(folder.file(QStringLiteral("editor.cfg")));
    const struct
    {
        const char *key;
        const char *installed;
        const char *started;
    } cases[] = {
        { "calcolatrice", "galculator", "/usr/bin/galculator" },
        { "prompt", "x-terminal-emulator", "/usr/bin/x-terminal-emulator" },
        { "control", "xfce4-settings-manager", "/usr/bin/xfce4-settings-manager" },
        { "notepad", "mousepad", "/usr/bin/mousepad" },
        { "wordpad", "lowriter", "/usr/bin/lowriter" },
    };
    for (const auto &c : cases) {
        ScriptedDialogs dialogs;
        SystemRecorder system;
        system.install(QString::fromLatin1(c.installed));
        run(QString::fromLatin1(c.key));
        ASSERT_EQ(system.started().size(), 1) << c.key;
        EXPECT_EQ(system.started().first(),
            (SystemRecorder::Started { QString::fromLatin1(c.started), {}, QString() }))
            << c.key;
        EXPECT_TRUE(dialogs.shown().isEmpty());
    }
}

TEST(OutsidePrograms, ProgramNotInstalledIsSkippedWithoutAMessage)
{
    zav::test::TempProgramFolder folder;
    ScriptedDialogs dialogs;
    SystemRecorder system;
    for (const char *key : { "calcolatrice", "prompt", "control", "notepad", "wordpad" })
        run(QString::fromLatin1(key));
    EXPECT_TRUE(system.started().isEmpty());
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST(OutsidePrograms, TextEditorIsTheChosenWordProcessorWhenThereIsOne)
{
    zav::test::TempProgramFolder folder;
    ScriptedDialogs dialogs;
    SystemRecorder system;
    system.install(QStringLiteral("lowriter"));
    const QString chosen = QStringLiteral("/opt/Office libero/bin/scrittore");
    system.install(chosen);
    ASSERT_TRUE(zav::shell::EditorFile::write(chosen));
    run(QStringLiteral("wordpad"));
    ASSERT_EQ(system.started().size(), 1);
    EXPECT_EQ(system.started().first().program, chosen);

    // A chosen program that is gone leaves the place to the table's word processor.
    ASSERT_TRUE(zav::shell::EditorFile::write(QStringLiteral("/opt/rimosso/editor")));
    system.clear();
    run(QStringLiteral("wordpad"));
    ASSERT_EQ(system.started().size(), 1);
    EXPECT_EQ(system.started().first().program, QStringLiteral("/usr/bin/lowriter"));
}
