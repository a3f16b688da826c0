#include "platform/ui/commandbar.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>

namespace zav::platform {
namespace {

using Kind = CommandBar::BandKind;

// A small bar: a menu bar opening one menu, a toolbar group with two child toolbars and a toolbar.
class CommandBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EXPECT_EQ(bar.addBand("Barra", Kind::MenuBar), 0);
        EXPECT_EQ(bar.addBand("Menu", Kind::Menu), 1);
        EXPECT_EQ(bar.addBand("Gruppo", Kind::ToolBarGroup, "Gruppo"), 2);
        bar.addChildBand("Gruppo", "Primo", "Primo");
        bar.addChildBand("Gruppo", "Secondo", "Secondo");
        EXPECT_EQ(bar.addBand("Banda", Kind::ToolBar, "Banda"), 3);

        bar.addMenuTool("Barra", "tFile", "File", "Menu");
        bar.addTool("Menu", "apri", "Apri");
        bar.addTool("Menu", "esci", "Esci");
        bar.addTool("Primo", "tApri", "Apri progetto");
        bar.addTool("Secondo", "esci", "Esci dal programma");
        bar.addTool("Banda", "tFile", "Stampa", "Stampa i dati");
        bar.addListTool("nascosto");
        window.show();
    }

    QMainWindow window;
    CommandBar bar { &window };
};

TEST_F(CommandBarTest, CommandToolsReportTheirKeyAndMenuOpenersNothing)
{
    QSignalSpy clicks(&bar, &CommandBar::toolClick);
    for (QAction *tool : bar.tools("esci"))
        tool->trigger();
    bar.menu("Menu")->menuAction()->trigger(); // the "File" item opens the menu only
    bar.clickTool("tFile"); // the first command tool of the key: "Stampa"
    bar.clickTool("nascosto");
    bar.clickTool("sconosciuto");

    QStringList keys;
    for (const QList<QVariant> &click : clicks)
        keys.append(click.at(0).toString());
    EXPECT_EQ(keys, (QStringList { "esci", "esci", "tFile", "nascosto" }));
    EXPECT_EQ(bar.tools("tFile").size(), 2);
    EXPECT_EQ(bar.toolBar("Banda")->actions().first()->toolTip(), QStringLiteral("Stampa i dati"));
}

TEST_F(CommandBarTest, SwitchingAKeySwitchesEveryToolCarryingIt)
{
    QSignalSpy clicks(&bar, &CommandBar::toolClick);
    bar.setToolEnabled("esci", false);
    EXPECT_FALSE(bar.isToolEnabled("esci"));
    for (QAction *tool : bar.tools("esci"))
        EXPECT_FALSE(tool->isEnabled());
    bar.clickTool("esci");
    bar.tools("esci").last()->trigger();
    EXPECT_EQ(clicks.size(), 0);

    // Switching the key of a menu title makes the menu unusable from the menu bar.
    bar.setToolEnabled("tFile", false);
    EXPECT_FALSE(bar.menu("Menu")->menuAction()->isEnabled());

    bar.setToolEnabled("esci", true);
    bar.clickTool("esci");
    EXPECT_EQ(clicks.size(), 1);
    EXPECT_TRUE(bar.isToolEnabled("apri"));
    EXPECT_FALSE(bar.isToolEnabled("sconosciuto"));
}

TEST_F(CommandBarTest, BandsAreShownAndHiddenByPosition)
{
    EXPECT_EQ(bar.bandCount(), 4);
    EXPECT_EQ(bar.bandPosition("Banda"), 3);
    EXPECT_EQ(bar.bandName(2), QStringLiteral("Gruppo"));

    bar.setBandVisible(3, false);
    EXPECT_FALSE(bar.isBandVisible(3));
    EXPECT_FALSE(bar.toolBar("Banda")->isVisible());
    EXPECT_TRUE(bar.isBandVisible(2));

    // A group hides and shows its child toolbars together.
    bar.setBandVisible(2, false);
    EXPECT_FALSE(bar.isBandVisible(2));
    EXPECT_FALSE(bar.toolBar("Primo")->isVisible());
    EXPECT_FALSE(bar.toolBar("Secondo")->isVisible());
    bar.setBandVisible(2, true);
    bar.setBandVisible(3, true);
    EXPECT_TRUE(bar.toolBar("Primo")->isVisible());
    EXPECT_TRUE(bar.toolBar("Banda")->isVisible());
    EXPECT_TRUE(bar.isBandVisible(3));
}

TEST_F(CommandBarTest, BandsAreHiddenBeforeTheirWindowIsShown)
{
    QMainWindow hidden;
    CommandBar other(&hidden);
    other.addBand("Banda", Kind::ToolBar, "Banda");
    other.addBand("Altra", Kind::ToolBar, "Altra");
    other.setBandVisible(0, false);
    EXPECT_FALSE(other.isBandVisible(0));
    EXPECT_TRUE(other.isBandVisible(1));
    hidden.show();
    EXPECT_FALSE(other.toolBar("Banda")->isVisible());
    EXPECT_TRUE(other.toolBar("Altra")->isVisible());
}

// The user cannot switch a band on or off: the window's menu of its toolbars lists none of them.
TEST_F(CommandBarTest, ToolbarsOfferTheUserNoSwitch)
{
    bar.setBandVisible(3, false);
    const std::unique_ptr<QMenu> offered(window.createPopupMenu());
    if (offered) {
        for (const QAction *action : offered->actions())
            EXPECT_FALSE(action->isVisible()) << action->text().toStdString();
        EXPECT_TRUE(offered->isEmpty());
    }
    for (const char *name : { "Primo", "Secondo", "Banda" })
        EXPECT_FALSE(bar.toolBar(name)->toggleViewAction()->isVisible()) << name;
    EXPECT_FALSE(bar.isBandVisible(3));
}

} // namespace
} // namespace zav::platform
