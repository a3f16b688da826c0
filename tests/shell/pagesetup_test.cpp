#include "platform/report/reportengine.h"
#include "platform/ui/formregistry.h"
#include "platform/ui/printersettings.h"
#include "printing/pagesetupdialog.h"
#include "printing/tableprints.h"
#include "shell/commands/pagesetup.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <tuple>

using zav::platform::PrinterSettings;
using zav::shell::PageSetup;

namespace {

class PageSetupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved = PrinterSettings::program();
        PrinterSettings::setPrinterList({ [] {
                                             return QStringList { "Ufficio", "Laser" };
                                         },
            [] { return QStringLiteral("Ufficio"); } });
        PrinterSettings &settings = PrinterSettings::program();
        settings = PrinterSettings();
        settings.printerName = QStringLiteral("Ufficio");
    }
    void TearDown() override
    {
        PageSetup::setDialogRunner({});
        PrinterSettings::setPrinterList({});
        PrinterSettings::program() = saved;
    }

    /** Answers the real page set-up dialog when it is shown: the choices, then OK or Cancel. */
    static zav::platform::FormRegistry::ModalDriver answerDialog(bool accept)
    {
        return [accept](QWidget *form) {
            auto *dialog = qobject_cast<zav::printing::PageSetupDialog *>(form);
            ASSERT_NE(dialog, nullptr);
            dialog->printerBox->setCurrentIndex(dialog->printerBox->findText(QStringLiteral("Laser")));
            dialog->landscapeButton->click();
            dialog->paperBox->setCurrentIndex(dialog->paperBox->findText(QPageSize::name(QPageSize::A5)));
            dialog->copiesBox->setValue(2);
            dialog->buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        };
    }

    PrinterSettings saved;
};

} // namespace

TEST_F(PageSetupTest, TheDialogWorksOnACopyOfTheProgramsSettings)
{
    PrinterSettings::program().orientation = QPageLayout::Landscape;
    PrinterSettings::program().copies = 4;
    PrinterSettings seen;
    PageSetup::setDialogRunner([&](PrinterSettings &settings, QWidget *) {
        seen = settings;
        settings.copies = 9; // changed in the dialog, then cancelled
        return false;
    });
    EXPECT_FALSE(PageSetup::run(nullptr));
    EXPECT_EQ(seen, PrinterSettings::program());
    EXPECT_EQ(PrinterSettings::program().copies, 4);
}

TEST_F(PageSetupTest, CancelledChangesNothing)
{
    const PrinterSettings before = PrinterSettings::program();
    zav::platform::ModalDriverScope driver(answerDialog(false));
    EXPECT_FALSE(PageSetup::run(nullptr));
    EXPECT_EQ(PrinterSettings::program(), before);
}

TEST_F(PageSetupTest, AcceptedAppliesPrinterOrientationPaperAndCopies)
{
    zav::platform::ModalDriverScope driver(answerDialog(true));
    EXPECT_TRUE(PageSetup::run(nullptr));
    const PrinterSettings &after = PrinterSettings::program();
    EXPECT_EQ(after.printerName, QStringLiteral("Laser"));
    EXPECT_EQ(after.orientation, QPageLayout::Landscape);
    EXPECT_EQ(after.pageSize.id(), QPageSize::A5);
    EXPECT_EQ(after.copies, 2);

    // The next print run's printer gets them.
    QPrinter next;
    after.applyTo(next);
    EXPECT_EQ(next.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(next.pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_EQ(next.copyCount(), 2);
}

TEST_F(PageSetupTest, AReportPrintedAfterTheSetUpHasItsPaperAndOrientation)
{
    zav::test::TempProgramFolder folder;
    zav::platform::ScriptedDialogs boxes;
    // No printer here: each run's output goes to a PDF file, the rest of the set-up stays.
    PrinterSettings::setPrinterList({ [] { return QStringList(); }, [] { return QString(); } });
    PrinterSettings::program().printerName.clear();

    // Prints the window table on the printer and gives the page's width and height in points.
    int run = 0;
    const auto printedPage = [&]() -> std::pair<double, double> {
        const QString pdf = folder.file(QStringLiteral("tabella%1.pdf").arg(++run));
        zav::platform::ReportEngine::setPrinterSetup([&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        });
        zav::platform::ReportControl &control = zav::printing::TablePrints::windowControl();
        const zav::platform::ReportControl before = control;
        control.Destination = zav::platform::ReportDestination::Printer;
        zav::printing::TablePrints::windowTable(folder.file(QStringLiteral("ARCH_MIL.CLO")));
        control = before;
        zav::platform::ReportEngine::setPrinterSetup({});

        QFile file(pdf);
        if (!file.open(QIODevice::ReadOnly))
            return { 0, 0 };
        const QString bytes = QString::fromLatin1(file.readAll());
        const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
        const QRegularExpressionMatch match = box.match(bytes);
        if (!match.hasMatch())
            return { -1, -1 };
        return { match.captured(1).toDouble(), match.captured(2).toDouble() };
    };

    // The dialog turned to landscape A5 and cancelled: the page stays portrait A4, 595 x 842 points.
    {
        zav::platform::ModalDriverScope driver(answerDialog(false));
        EXPECT_FALSE(PageSetup::run(nullptr));
    }
    auto [width, height] = printedPage();
    EXPECT_NEAR(width, 595.0, 0.5);
    EXPECT_NEAR(height, 842.0, 0.5);

    // The same choices accepted: A5 is 420 x 595 points; turned, 595 wide and 420 high.
    {
        zav::platform::ModalDriverScope driver(answerDialog(true));
        EXPECT_TRUE(PageSetup::run(nullptr));
    }
    std::tie(width, height) = printedPage();
    EXPECT_NEAR(width, 595.0, 0.5);
    EXPECT_NEAR(height, 420.0, 0.5);
    EXPECT_TRUE(boxes.shown().isEmpty());
}
