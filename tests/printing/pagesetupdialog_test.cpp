#include "printing/pagesetupdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

using zav::platform::PrinterSettings;
using zav::printing::PageSetupDialog;

namespace {

class PageSetupDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PrinterSettings::setPrinterList({ [this] { return printers; }, [this] { return defaultPrinter; } });
    }
    void TearDown() override { PrinterSettings::setPrinterList({}); }

    static QStringList items(const QComboBox *box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts.append(box->itemText(i));
        return texts;
    }

    QStringList printers
        = { QStringLiteral("Ufficio"), QStringLiteral("Laser al secondo piano, stanza delle riunioni") };
    QString defaultPrinter = QStringLiteral("Ufficio");
};

} // namespace

TEST_F(PageSetupDialogTest, ShowsTheCurrentSettingsAndGivesBackTheUsersChoices)
{
    PrinterSettings current;
    current.printerName = QStringLiteral("Ufficio");
    current.orientation = QPageLayout::Portrait;
    current.pageSize = QPageSize(QPageSize::A4);
    current.resolution = 300;
    current.copies = 2;
    PageSetupDialog dialog(current);
    EXPECT_EQ(items(dialog.printerBox), printers);
    EXPECT_EQ(dialog.printerBox->currentText(), QStringLiteral("Ufficio"));
    EXPECT_TRUE(dialog.portraitButton->isChecked());
    EXPECT_EQ(dialog.paperBox->currentData().value<QPageSize>().id(), QPageSize::A4);
    EXPECT_EQ(dialog.qualityBox->currentData().toInt(), 300);
    EXPECT_EQ(dialog.copiesBox->value(), 2);
    EXPECT_EQ(dialog.chosen(), current);

    // The user picks the other printer (its whole long name), landscape A5 in 600 dpi, 4 copies.
    dialog.printerBox->setCurrentIndex(1);
    dialog.landscapeButton->click();
    dialog.paperBox->setCurrentIndex(dialog.paperBox->findText(QPageSize::name(QPageSize::A5)));
    dialog.qualityBox->setCurrentIndex(dialog.qualityBox->findData(600));
    dialog.copiesBox->setValue(4);
    const PrinterSettings chosen = dialog.chosen();
    EXPECT_EQ(chosen.printerName, printers.at(1));
    EXPECT_EQ(chosen.orientation, QPageLayout::Landscape);
    EXPECT_EQ(chosen.pageSize.id(), QPageSize::A5);
    EXPECT_EQ(chosen.resolution, 600);
    EXPECT_EQ(chosen.copies, 4);
}

TEST_F(PageSetupDialogTest, ThePrinterShownWhenTheSettingsNameNoneOrOneNoLongerInstalled)
{
    // The system's default printer stands for "no printer named".
    PrinterSettings current;
    defaultPrinter = printers.at(1);
    EXPECT_EQ(PageSetupDialog(current).printerBox->currentText(), printers.at(1));

    // A printer since removed stays listed, first, and chosen.
    current.printerName = QStringLiteral("Vecchia stampante");
    PageSetupDialog kept(current);
    EXPECT_EQ(items(kept.printerBox), (QStringList { "Vecchia stampante", "Ufficio", printers.at(1) }));
    EXPECT_EQ(kept.chosen().printerName, QStringLiteral("Vecchia stampante"));

    // With no printer installed the box is empty and the name stays as it was.
    printers.clear();
    current.printerName.clear();
    PageSetupDialog none(current);
    EXPECT_FALSE(none.printerBox->isEnabled());
    EXPECT_EQ(none.chosen().printerName, QString());
}

TEST_F(PageSetupDialogTest, SettingsOutsideTheListsAreOfferedAsTheyAre)
{
    PrinterSettings current;
    current.printerName = QStringLiteral("Ufficio");
    current.pageSize = QPageSize(QPageSize::A6);
    current.resolution = 1200;
    current.copies = 1;
    PageSetupDialog dialog(current);
    EXPECT_EQ(dialog.paperBox->currentData().value<QPageSize>().id(), QPageSize::A6);
    EXPECT_EQ(dialog.qualityBox->currentText(), QStringLiteral("1200 dpi"));
    EXPECT_EQ(dialog.chosen(), current);
}
