#include "platform/programfolder.h"
#include "support/scripteddialogs.h"
#include "platform/steps.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zav::platform;

TEST(ScriptedDialogs, RecordsBoxesAndAnswersFromTheQueue)
{
    ScriptedDialogs scripted;
    scripted.answer(MsgResult::Yes);
    scripted.answerText(QStringLiteral("PROVA"));

    EXPECT_EQ(dialogs().msgBox(QStringLiteral("Continuare ?"), MsgButtons::YesNo, MsgIcon::Question,
                  QStringLiteral("!!! Attenzione !!!")),
        MsgResult::Yes);
    EXPECT_EQ(dialogs().inputBox(QStringLiteral("Nome"), QStringLiteral("Titolo"), QStringLiteral("x")),
        std::optional<QString>(QStringLiteral("PROVA")));
    // Nothing left in the queue: a Yes/No question is answered No, an input box is cancelled.
    EXPECT_EQ(dialogs().msgBox(QStringLiteral("Ancora ?"), MsgButtons::YesNo, MsgIcon::Question, QString()),
        MsgResult::No);
    EXPECT_EQ(dialogs().inputBox(QStringLiteral("Altro"), QString(), QString()), std::nullopt);

    ASSERT_EQ(scripted.shown().size(), 4);
    EXPECT_EQ(scripted.shown().at(0).title, QStringLiteral("!!! Attenzione !!!"));
    EXPECT_EQ(scripted.shown().at(0).icon, MsgIcon::Question);
    EXPECT_EQ(scripted.shown().at(1).defaultText, QStringLiteral("x"));
    EXPECT_EQ(
        scripted.messages(), QStringList({ QStringLiteral("Continuare ?"), QStringLiteral("Ancora ?") }));
    EXPECT_EQ(scripted.unanswered(), 2);
}

TEST(ScriptedDialogs, RestoresThePreviousDialogsWhenDone)
{
    Dialogs *before = &dialogs();
    {
        ScriptedDialogs outer;
        {
            ScriptedDialogs inner;
            EXPECT_EQ(&dialogs(), &inner);
        }
        EXPECT_EQ(&dialogs(), &outer);
    }
    EXPECT_EQ(&dialogs(), before);
}

TEST(ProgramFolder, FindsItsFilesWithoutRegardToCase)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("ARCH_MIL.CLO")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QDir(dir.path()).mkdir(QStringLiteral("STAMPE"));

    ProgramFolder::setPath(dir.path());
    EXPECT_EQ(
        ProgramFolder::file(QStringLiteral("arch_mil.clo")), dir.filePath(QStringLiteral("ARCH_MIL.CLO")));
    EXPECT_EQ(ProgramFolder::file(QStringLiteral("stampe")), dir.filePath(QStringLiteral("STAMPE")));
    // A missing file keeps the name as given, so a caller can create it there.
    EXPECT_EQ(ProgramFolder::file(QStringLiteral("zav.cfg")), dir.filePath(QStringLiteral("zav.cfg")));
    ProgramFolder::setPath(QString());
}

TEST(Steps, AFailingStepIsSkippedAndReported)
{
    int done = 0;
    EXPECT_TRUE(tryStep([&] { ++done; }));
    EXPECT_FALSE(tryStep([] { throw std::runtime_error("fails"); }));
    EXPECT_TRUE(tryStep([&] { ++done; }));
    EXPECT_EQ(done, 2);
}
