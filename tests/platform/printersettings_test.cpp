#include "platform/ui/printersettings.h"

#include <QPrinter>

#include <gtest/gtest.h>

using zav::platform::PrinterSettings;

TEST(PrinterSettings, SettingsAppliedToAPrinterReadBackTheSame)
{
    PrinterSettings settings;
    settings.orientation = QPageLayout::Landscape;
    settings.pageSize = QPageSize(QPageSize::A5);
    settings.resolution = 300;
    settings.copies = 3;

    QPrinter printer;
    settings.applyTo(printer);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_EQ(printer.resolution(), 300);
    EXPECT_EQ(printer.copyCount(), 3);

    const PrinterSettings back = PrinterSettings::fromPrinter(printer);
    EXPECT_EQ(back.orientation, QPageLayout::Landscape);
    EXPECT_EQ(back.pageSize.id(), QPageSize::A5);
    EXPECT_EQ(back.resolution, 300);
    EXPECT_EQ(back.copies, 3);
}
