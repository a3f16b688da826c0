#include "commandrunner.h"
#include "shell/commands/utilitycommands.h"
#include "shell/forms/about.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

using zav::shell::ABOUT;

TEST(About, ShowsTheProgramsVersionAndSupport)
{
    ABOUT about;
    // The program is version 9.01.0002: each number without its leading zeros.
    EXPECT_EQ(about.lblversion->text(), QStringLiteral("Versione 9.1.2"));
    EXPECT_EQ(about.Label3->text(), QStringLiteral("Assistenza Z.A.V.:"));
    EXPECT_EQ(about.Command2->text(), QStringLiteral("Esci"));
}

TEST(About, IsCentredOnTheScreen)
{
    ABOUT about;
    const QRect screen = about.screen()->geometry();
    EXPECT_NEAR(about.x() - screen.x(), (screen.width() - about.width()) / 2, 1);
    EXPECT_NEAR(about.y() - screen.y(), (screen.height() - about.height()) / 2, 1);
}

TEST(About, CommandShowsOneModelessBoxThatEsciCloses)
{
    zav::shell::UtilityCommands commands;
    zav::test::runCommand(commands, QStringLiteral("about"));
    zav::test::runCommand(commands, QStringLiteral("tInfo"));
    QPointer<ABOUT> about = commands.about();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    int boxes = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        boxes += qobject_cast<ABOUT *>(window) != nullptr;
    EXPECT_EQ(boxes, 1); // "about" then "tInfo" showed the same box
    about->Command2->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());
}
