#include "commandrunner.h"
#include "shell/commands/utilitycommands.h"
#include "shell/project/editorfile.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"

#include <QFile>

#include <gtest/gtest.h>

using zav::platform::ScriptedDialogs;
using zav::shell::EditorFile;

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void runEditorCommand(zav::shell::UtilityCommands &commands)
{
    zav::test::runCommand(commands, QStringLiteral("editor"));
}

} // namespace

TEST(EditorFile, PathWithBlanksAndAccentsIsOneQuotedRecord)
{
    zav::test::TempProgramFolder folder;
    const QString program = QStringLiteral("/opt/Elaboratore testi/città/scrivi più.sh");
    ASSERT_TRUE(EditorFile::write(program));
    EXPECT_EQ(contentOf(folder.file(QStringLiteral("editor.cfg"))),
        QByteArray("\"/opt/Elaboratore testi/citt\xc3\xa0/scrivi pi\xc3\xb9.sh\"\r\n"));
    EXPECT_EQ(EditorFile::read(), program);
}

TEST(EditorFile, MissingFileMeansNoWordProcessor)
{
    zav::test::TempProgramFolder folder;
    QFile::remove(folder.file(QStringLiteral("editor.cfg")));
    EXPECT_EQ(EditorFile::read(), std::nullopt);
}

TEST(EditorFile, PathHoldingAQuoteIsNotWritten)
{
    zav::test::TempProgramFolder folder;
    ASSERT_TRUE(EditorFile::write(QStringLiteral("/usr/bin/lowriter")));
    // A quote would end the record early and a later read would give a wrong program.
    EXPECT_FALSE(EditorFile::write(QStringLiteral("/opt/\"nuovo\"/editor")));
    EXPECT_EQ(EditorFile::read(), QStringLiteral("/usr/bin/lowriter"));
}

TEST(EditorFile, CancelledChoiceRecordsTheEarlierOneOrNothing)
{
    zav::test::TempProgramFolder folder;
    const QString path = folder.file(QStringLiteral("editor.cfg"));
    QFile::remove(path);
    ScriptedDialogs dialogs;
    zav::shell::UtilityCommands commands;

    // Cancelled before anything was ever chosen: no file.
    dialogs.answerText(QString());
    runEditorCommand(commands);
    EXPECT_FALSE(QFile::exists(path));

    dialogs.answerText(QStringLiteral("/usr/bin/abiword"));
    runEditorCommand(commands);
    EXPECT_EQ(EditorFile::read(), QStringLiteral("/usr/bin/abiword"));

    // Cancelled after a choice: the box still holds it and it is written again.
    QFile::remove(path);
    dialogs.answerText(QString());
    runEditorCommand(commands);
    EXPECT_EQ(EditorFile::read(), QStringLiteral("/usr/bin/abiword"));
    EXPECT_EQ(dialogs.shown().size(), 3);
    EXPECT_EQ(dialogs.shown().last().kind, ScriptedDialogs::Kind::OpenFile);
}
