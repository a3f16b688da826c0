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

namespace {

/** The program's printer "Ufficio" in portrait A4, about to take a page set-up's choice. */
class PageSetupChoice : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PrinterSettings::setPrinterList(
            { [] { return installed; }, [] { return QStringLiteral("Ufficio"); } });
        current.printerName = QStringLiteral("Ufficio");
    }
    void TearDown() override { PrinterSettings::setPrinterList({}); }

    /** The choice of a dialog: another printer name, landscape A5 in 600 dpi, three copies. */
    static PrinterSettings choice(const QString &printer)
    {
        PrinterSettings chosen;
        chosen.printerName = printer;
        chosen.orientation = QPageLayout::Landscape;
        chosen.pageSize = QPageSize(QPageSize::A5);
        chosen.resolution = 600;
        chosen.copies = 3;
        return chosen;
    }

    static inline const QString Long40 = QStringLiteral("Stampante laser a colori del secondo pia"); // 40
    static inline QStringList installed
        = { QStringLiteral("Ufficio"), QStringLiteral("Laser piano terra"), Long40 };
    PrinterSettings current;
};

} // namespace

TEST_F(PageSetupChoice, ThePrinterChangesOnlyToAnInstalledOneOfExactlyThatName)
{
    ASSERT_EQ(Long40.size(), 40);
    const struct
    {
        QString chosen;
        QString result;
    } cases[] = {
        { QStringLiteral("Ufficio"), QStringLiteral("Ufficio") }, // the same printer
        { QStringLiteral("Laser piano terra"), QStringLiteral("Laser piano terra") }, // another one
        { Long40, Long40 }, // a long name is taken whole, not cut at 32 characters
        { Long40.left(32), QStringLiteral("Ufficio") }, // its first 32 characters name no printer
        { QStringLiteral("ufficio "), QStringLiteral("Ufficio") }, // compared character for character
        { QStringLiteral("Plotter"), QStringLiteral("Ufficio") }, // not installed: the printer stays
    };
    for (const auto &c : cases) {
        PrinterSettings settings = current;
        settings.apply(choice(c.chosen));
        EXPECT_EQ(settings.printerName, c.result) << c.chosen.toStdString();
        // The four settings are taken in every case.
        EXPECT_EQ(settings.orientation, QPageLayout::Landscape);
        EXPECT_EQ(settings.pageSize.id(), QPageSize::A5);
        EXPECT_EQ(settings.resolution, 600);
        EXPECT_EQ(settings.copies, 3);
    }
}
