#include "shellformsfixture.h"

#include "platform/commandbar.h"
#include "shell/about.h"
#include "shell/frm_init.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace zav::test {
namespace {

using platform::FormRegistry;

class MainWindowWiringTest : public ShellFormsTest
{
protected:
    void TearDown() override
    {
        shell::frm_init::setBrowserFactory({});
        ShellFormsTest::TearDown();
    }

    shell::frm_init *openMainWindow()
    {
        auto *window = FormRegistry::form<shell::frm_init>(QStringLiteral("frm_init"));
        window->show();
        return window;
    }
};

// The utility commands answer through the main window's dispatcher, without a project.
TEST_F(MainWindowWiringTest, AboutCommandShowsTheAboutBox)
{
    shell::frm_init *window = openMainWindow();
    window->Bar_main1()->clickTool(QStringLiteral("about"));
    shell::ABOUT *about = window->utilityCommands().about();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(boxes.shown().isEmpty());
    about->close();
}

TEST_F(MainWindowWiringTest, EachWebCommandOpensANewBrowserChildOnTheWebAddress)
{
    QStringList addresses;
    shell::frm_init::setBrowserFactory([&](const QString &address) -> QWidget * {
        addresses << address;
        auto *page = new QLabel(address);
        page->setAttribute(Qt::WA_DeleteOnClose);
        return page;
    });
    shell::frm_init *window = openMainWindow();
    auto *area = window->findChild<QMdiArea *>(QStringLiteral("mdiArea"));
    ASSERT_NE(area, nullptr);

    window->Bar_main1()->clickTool(QStringLiteral("Web"));
    window->Bar_main1()->clickTool(QStringLiteral("Web"));

    EXPECT_EQ(addresses, QStringList({ shell::webAddress(), shell::webAddress() }));
    EXPECT_EQ(area->subWindowList().size(), 2);
}

} // namespace
} // namespace zav::test
