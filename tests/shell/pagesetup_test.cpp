#include "platform/ui/printersettings.h"
#include "shell/commands/pagesetup.h"

#include <QPrinter>

#include <gtest/gtest.h>

using zav::platform::PrinterSettings;
using zav::shell::PageSetup;

namespace {

class PageSetupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved = PrinterSettings::program();
        PrinterSettings::program().orientation = QPageLayout::Portrait;
        PrinterSettings::program().pageSize = QPageSize(QPageSize::A4);
        PrinterSettings::program().copies = 1;
    }
    void TearDown() override
    {
        PageSetup::setDialogRunner({});
        PrinterSettings::program() = saved;
    }

    PrinterSettings saved;
};

// A dialog in which the user turns the page, picks A5, asks for two copies and wider margins.
bool changeEverything(QPrinter &printer, bool accept)
{
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageSize(QPageSize(QPageSize::A5));
    printer.setCopyCount(2);
    printer.setPageMargins(QMarginsF(30, 30, 30, 30), QPageLayout::Millimeter);
    return accept;
}

} // namespace

TEST_F(PageSetupTest, DialogOpensOnTheProgramsPrinter)
{
    PrinterSettings::program().orientation = QPageLayout::Landscape;
    PrinterSettings::program().copies = 4;
    QPageLayout::Orientation seenOrientation = QPageLayout::Portrait;
    int seenCopies = 0;
    PageSetup::setDialogRunner([&](QPrinter &printer, QWidget *) {
        seenOrientation = printer.pageLayout().orientation();
        seenCopies = printer.copyCount();
        return false;
    });
    PageSetup::run(nullptr);
    EXPECT_EQ(seenOrientation, QPageLayout::Landscape);
    EXPECT_EQ(seenCopies, 4);
}

TEST_F(PageSetupTest, CancelledChangesNothing)
{
    const PrinterSettings before = PrinterSettings::program();
    PageSetup::setDialogRunner([](QPrinter &printer, QWidget *) { return changeEverything(printer, false); });
    EXPECT_FALSE(PageSetup::run(nullptr));
    EXPECT_EQ(PrinterSettings::program(), before);
}

TEST_F(PageSetupTest, AcceptedAppliesOrientationPaperAndCopies)
{
    PageSetup::setDialogRunner([](QPrinter &printer, QWidget *) { return changeEverything(printer, true); });
    EXPECT_TRUE(PageSetup::run(nullptr));
    const PrinterSettings &after = PrinterSettings::program();
    EXPECT_EQ(after.orientation, QPageLayout::Landscape);
    EXPECT_EQ(after.pageSize.id(), QPageSize::A5);
    EXPECT_EQ(after.copies, 2);

    // The next print run's printer gets them; the dialog's margins are not carried over.
    QPrinter next;
    const QMarginsF defaultMargins = next.pageLayout().margins(QPageLayout::Millimeter);
    after.applyTo(next);
    EXPECT_EQ(next.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(next.copyCount(), 2);
    EXPECT_EQ(next.pageLayout().margins(QPageLayout::Millimeter), defaultMargins);
}
