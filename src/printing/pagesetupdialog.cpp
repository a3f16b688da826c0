#include "printing/pagesetupdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zav::printing {

using platform::PrinterSettings;

namespace {

template<typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

PageSetupDialog::PageSetupDialog(const PrinterSettings &current, QWidget *parent)
    : QDialog(parent)
    , m_current(current)
{
    setObjectName(QStringLiteral("PageSetupDialog"));
    setWindowTitle(QStringLiteral("Imposta stampante"));

    // The installed printers, by their whole names; a printer of the settings that is no longer
    // installed stays listed, so that keeping it is a choice too.
    printerBox = named(new QComboBox(this), "printerBox");
    QStringList printers = PrinterSettings::installedPrinters();
    if (!current.printerName.isEmpty() && !printers.contains(current.printerName))
        printers.prepend(current.printerName);
    printerBox->addItems(printers);
    const QString shown
        = current.printerName.isEmpty() ? PrinterSettings::defaultPrinter() : current.printerName;
    printerBox->setCurrentIndex(printers.isEmpty() ? -1 : qMax(0, printers.indexOf(shown)));
    printerBox->setEnabled(!printers.isEmpty());
    if (printers.isEmpty())
        printerBox->setPlaceholderText(QStringLiteral("Nessuna stampante installata"));

    portraitButton = named(new QRadioButton(QStringLiteral("Verticale"), this), "portraitButton");
    landscapeButton = named(new QRadioButton(QStringLiteral("Orizzontale"), this), "landscapeButton");
    (current.orientation == QPageLayout::Landscape ? landscapeButton : portraitButton)->setChecked(true);

    paperBox = named(new QComboBox(this), "paperBox");
    for (QPageSize::PageSizeId id : { QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::B5,
             QPageSize::Letter, QPageSize::Legal, QPageSize::Executive })
        paperBox->addItem(QPageSize::name(id), QVariant::fromValue(QPageSize(id)));
    int paper = -1;
    for (int i = 0; i < paperBox->count(); ++i) {
        if (paperBox->itemData(i).value<QPageSize>().isEquivalentTo(current.pageSize))
            paper = i;
    }
    if (paper < 0) {
        paperBox->addItem(current.pageSize.name(), QVariant::fromValue(current.pageSize));
        paper = paperBox->count() - 1;
    }
    paperBox->setCurrentIndex(paper);

    qualityBox = named(new QComboBox(this), "qualityBox");
    qualityBox->addItem(QStringLiteral("Predefinita della stampante"), 0);
    qualityBox->addItem(QStringLiteral("Bozza (150 dpi)"), 150);
    qualityBox->addItem(QStringLiteral("Normale (300 dpi)"), 300);
    qualityBox->addItem(QStringLiteral("Alta (600 dpi)"), 600);
    int quality = qualityBox->findData(current.resolution);
    if (quality < 0) {
        qualityBox->addItem(QStringLiteral("%1 dpi").arg(current.resolution), current.resolution);
        quality = qualityBox->count() - 1;
    }
    qualityBox->setCurrentIndex(quality);

    copiesBox = named(new QSpinBox(this), "copiesBox");
    copiesBox->setRange(1, 999);
    copiesBox->setValue(qMax(1, current.copies));

    buttons = named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this), "buttons");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *orientation = new QHBoxLayout;
    orientation->addWidget(portraitButton);
    orientation->addWidget(landscapeButton);
    orientation->addStretch();
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Stampante:"), printerBox);
    form->addRow(QStringLiteral("Orientamento:"), orientation);
    form->addRow(QStringLiteral("Formato carta:"), paperBox);
    form->addRow(QStringLiteral("Qualità di stampa:"), qualityBox);
    form->addRow(QStringLiteral("Copie:"), copiesBox);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

PrinterSettings PageSetupDialog::chosen() const
{
    PrinterSettings settings = m_current;
    if (printerBox->currentIndex() >= 0)
        settings.printerName = printerBox->currentText();
    settings.orientation = landscapeButton->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    settings.pageSize = paperBox->currentData().value<QPageSize>();
    settings.resolution = qualityBox->currentData().toInt();
    settings.copies = copiesBox->value();
    return settings;
}

} // namespace zav::printing
