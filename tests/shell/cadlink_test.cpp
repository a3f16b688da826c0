#include "engine/var_gbl.h"
#include "support/cadautomationrecorder.h"
#include "shell/commands/cadlink.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using zav::platform::CadAutomationRecorder;
using zav::shell::CadLink;
using Call = CadAutomationRecorder::Call;

namespace {

class CadLinkTest : public ::testing::Test
{
protected:
    void SetUp() override { zav::engine::VAR_GBL.reset(); }

    // The calls a first "on" makes on its object, in order.
    QList<Call> fullStart(int object) const
    {
        return { { object, QStringLiteral("identificazione"), { CadLink::identificationCode } },
            { object, QStringLiteral("init_Cadform"), { true, 0 } }, { object, QStringLiteral("mostra"), {} },
            { object, QStringLiteral("SET_HANDLE"), { qint32(textBox.winId()) } } };
    }
    QList<Call> identifyOnly(int object) const
    {
        return { { object, QStringLiteral("identificazione"), { CadLink::identificationCode } } };
    }

    // Declared before the link so that the link's objects go first.
    CadAutomationRecorder cad;
    QLineEdit textBox;
    CadLink link { [this] { return &textBox; } };
};

} // namespace

TEST_F(CadLinkTest, FirstOnStartsTheWindowAndHandsItTheTextBox)
{
    link.cadOn();
    EXPECT_EQ(cad.creations(), QStringList { QStringLiteral("lumera.ComLumera") });
    EXPECT_EQ(cad.calls(), fullStart(1));
    EXPECT_TRUE(link.windowStarted());
    EXPECT_TRUE(zav::engine::VAR_GBL.oggetto_cad);
}

TEST_F(CadLinkTest, SecondOnMakesAndIdentifiesAFreshObjectOnly)
{
    link.cadOn();
    cad.clearCalls();
    link.cadOn();
    EXPECT_EQ(cad.calls(), identifyOnly(2));
    EXPECT_EQ(cad.alive(), QList<int> { 2 }); // the first object was released
}

TEST_F(CadLinkTest, OffThenOnStartsTheWindowAgain)
{
    link.cadOn();
    link.cadOff();
    EXPECT_FALSE(link.windowStarted());
    EXPECT_TRUE(cad.alive().isEmpty());
    EXPECT_FALSE(zav::engine::VAR_GBL.oggetto_cad);

    cad.clearCalls();
    link.cadOn();
    EXPECT_EQ(cad.calls(), fullStart(2));
}

TEST_F(CadLinkTest, OffWhenOffChangesNothing)
{
    link.cadOff();
    EXPECT_TRUE(cad.creations().isEmpty());
    EXPECT_TRUE(cad.calls().isEmpty());
    EXPECT_FALSE(link.windowStarted());
    EXPECT_FALSE(zav::engine::VAR_GBL.oggetto_cad);
}

TEST_F(CadLinkTest, CadProgramMissingSkipsEveryCallButTheFlagStaysOn)
{
    cad.setInstalled(false);
    link.cadOn();
    EXPECT_EQ(cad.creations().size(), 1);
    EXPECT_TRUE(cad.calls().isEmpty());
    EXPECT_EQ(link.object(), nullptr);
    EXPECT_FALSE(zav::engine::VAR_GBL.oggetto_cad);
    EXPECT_TRUE(link.windowStarted());

    // Once the program is there, the next "on" only identifies: the window counts as started.
    cad.setInstalled(true);
    link.cadOn();
    EXPECT_EQ(cad.calls(), identifyOnly(1));
}

TEST_F(CadLinkTest, FailedCreationKeepsTheObjectHeldBefore)
{
    link.cadOn();
    cad.setInstalled(false);
    cad.clearCalls();
    link.cadOn();
    EXPECT_EQ(cad.alive(), QList<int> { 1 });
    EXPECT_EQ(cad.calls(), identifyOnly(1));
}

TEST_F(CadLinkTest, FailingCallsAreSkippedAndTheRestGoOn)
{
    cad.failMethod(QStringLiteral("init_Cadform"));
    cad.failMethod(QStringLiteral("mostra"));
    link.cadOn();
    EXPECT_EQ(cad.calls(), fullStart(1)); // every call was still made, in order
}

TEST(CadLink, WithoutTheWorkspaceNoHandleIsHandedOver)
{
    CadAutomationRecorder cad;
    for (const CadLink::TextBoxSource &source :
        { CadLink::TextBoxSource(), CadLink::TextBoxSource([]() -> QWidget * { return nullptr; }) }) {
        cad.clearCalls();
        CadLink link(source);
        link.cadOn();
        QStringList methods;
        for (const Call &call : cad.calls())
            methods.append(call.method);
        EXPECT_EQ(methods,
            (QStringList { QStringLiteral("identificazione"), QStringLiteral("init_Cadform"),
                QStringLiteral("mostra") }));
        EXPECT_TRUE(link.windowStarted());
    }
}
